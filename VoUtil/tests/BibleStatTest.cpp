// Statistics and reference handles over the 66-book Protestant numbering: positions, the
// lookups, ranges, comparison, the packed form, saving and sharing by identity, the
// builder's rules and readers given damaged blocks.
#include <gtest/gtest.h>
#include <climits>
#include <vector>
#include "VoUtil.h"
#include "Unknown.h"
#include "ProtestantCanon.h"
#include "TestFiles.h"
#include "TestStreams.h"

namespace {

constexpr int kGenesis = 0, kExodus = 1, kPsalms = 18, kJude = 64;
constexpr int kFirstChapterPos = 68, kFirstVersePos = 1257;
constexpr int kPositionEnd = kFirstVersePos + kProtestantVerseCount;

int Single(int p) { return static_cast<int>(0xFFFF0000u | p); }
int Counted(int p, int length) { return p | 0x8000 | (length << 16); }

class BibleStatTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, BuildProtestantStat(stat.Put()));
        ASSERT_EQ(S_OK, stat.As(IID_IBibleHandles, &handles));
    }
    int Ref(int b, int c, int v) {
        int h = 0;
        EXPECT_EQ(S_OK, handles->MakeRef(&h, b, c, v)) << b << " " << c << " " << v;
        return h;
    }
    std::string SavedBlock() {
        ComPtr<IStream> s = MemoryStream();
        EXPECT_EQ(S_OK, stat->Save(s.Get()));
        return StreamBytes(s.Get());
    }
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
};

TEST_F(BibleStatTest, CountsAndLookups) {
    EXPECT_EQ(66, stat->GetBookCount());
    EXPECT_EQ(1189, stat->GetChapterCount());
    EXPECT_EQ(31102, stat->GetVerseCount());
    EXPECT_EQ(1, stat->GetBookId(0));
    EXPECT_EQ(66, stat->GetBookId(65));
    EXPECT_EQ(150, stat->GetChaptersInBook(kPsalms));
    EXPECT_EQ(1533, stat->GetVersesInBook(kGenesis));
    EXPECT_EQ(404, stat->GetVersesInBook(65));  // the last book ends at V
    EXPECT_EQ(176, stat->GetVersesInChapter(kPsalms, 118));
    EXPECT_EQ(176, stat->GetVersesInChapter(-1, stat->RefToChapterIndex(kPsalms, 118)));
    EXPECT_EQ(25, stat->GetVersesInChapter(kJude, 0));
    GUID g;
    EXPECT_EQ(S_OK, stat->GetGuid(&g, FALSE));
    EXPECT_TRUE(IsEqualGUID(kProtestantIdentity, g));
    EXPECT_EQ(S_OK, stat->GetGuid(&g, TRUE));
    EXPECT_TRUE(IsEqualGUID(kProtestantVersification, g));

    // Indices out of range: counts of nothing, no identifier, -1 for a linear index.
    EXPECT_EQ(-1, stat->GetBookId(-1));
    EXPECT_EQ(-1, stat->GetBookId(66));
    EXPECT_EQ(0, stat->GetChaptersInBook(-1));
    EXPECT_EQ(0, stat->GetVersesInBook(-5));
    EXPECT_EQ(0, stat->GetVersesInChapter(kGenesis, 50));
    EXPECT_EQ(0, stat->GetVersesInChapter(-1, 1189));
    EXPECT_EQ(0, stat->GetVersesInChapter(-2, 0));
    EXPECT_EQ(-1, stat->RefToChapterIndex(66, 0));
    EXPECT_EQ(-1, stat->RefToChapterIndex(kGenesis, 50));
    EXPECT_EQ(-1, stat->RefToVerseIndex(kGenesis, 0, 31));
    EXPECT_EQ(-1, stat->RefToVerseIndex(-1, 0, 0));
    int b = 7, c = 7, v = 7;
    EXPECT_EQ(0, stat->VerseIndexToRef(31102, &b, &c, &v));
    EXPECT_EQ(0, stat->VerseIndexToRef(-1, &b, &c, &v));
    EXPECT_EQ(0, stat->ChapterIndexToRef(1189, &b, &c));
    EXPECT_EQ(7, b + c - 7);  // nothing written
    EXPECT_EQ(0, stat->ChapterIndexToRef(1188, &b, &c));
    EXPECT_EQ(65, b);
    EXPECT_EQ(21, c);
}

TEST_F(BibleStatTest, EveryVerseAndChapterMapsBothWays) {
    int linear = 0;
    for (int b = 0; b < 66; ++b) {
        for (int c = 0; c < stat->GetChaptersInBook(b); ++c) {
            for (int v = 0; v < stat->GetVersesInChapter(b, c); ++v, ++linear) {
                ASSERT_EQ(linear, stat->RefToVerseIndex(b, c, v));
                int rb = -1, rc = -1, rv = -1;
                ASSERT_EQ(1, stat->VerseIndexToRef(linear, &rb, &rc, &rv));
                ASSERT_EQ(b, rb);
                ASSERT_EQ(c, rc);
                ASSERT_EQ(v, rv);
            }
        }
    }
    EXPECT_EQ(31102, linear);
    // Every position splits into indices that make it again.
    for (int p = 1; p < kPositionEnd; ++p) {
        int b, c, v, h = 0;
        ASSERT_EQ(S_OK, handles->RefToIndices(Single(p), &b, &c, &v)) << p;
        ASSERT_EQ(S_OK, handles->MakeRef(&h, b, c, v)) << p;
        ASSERT_EQ(Single(p), h);
    }
}

TEST_F(BibleStatTest, MakeRefPositions) {
    struct Case { int b, c, v; int handle; HRESULT hr; } cases[] = {
        {-1, -1, -1, Single(1), S_OK},
        {0, -1, -1, Single(2), S_OK},
        {65, -1, -1, Single(67), S_OK},
        {0, 0, -1, Single(kFirstChapterPos), S_OK},
        {0, 0, 0, Single(kFirstVersePos), S_OK},
        {65, 21, 20, Single(kPositionEnd - 1), S_OK},
        {-1, -1, 31, Single(kFirstVersePos + 31), S_OK},   // a linear verse
        {5, -1, 31, Single(kFirstVersePos + 31), S_OK},    // the book does not count
        {-1, 50, -1, Single(kFirstChapterPos + 50), S_OK}, // a linear chapter: Exodus 1
        {-1, 50, 2, Single(kFirstVersePos + 1533 + 2), S_OK},
        {0, 0, 31, Single(0), E_INVALIDARG},               // past the chapter's end
        {0, 50, -1, Single(0), E_INVALIDARG},
        {66, -1, -1, Single(0), E_INVALIDARG},
        {-2, -1, -1, Single(0), E_INVALIDARG},
        {-1, -1, 31102, Single(0), E_INVALIDARG},
        {-1, 1189, -1, Single(0), E_INVALIDARG},
        {0, -1, -2, Single(0), E_INVALIDARG},
    };
    for (const Case& k : cases) {
        int h = 7;
        EXPECT_EQ(k.hr, handles->MakeRef(&h, k.b, k.c, k.v)) << k.b << " " << k.c << " " << k.v;
        EXPECT_EQ(k.handle, h) << k.b << " " << k.c << " " << k.v;
    }
    EXPECT_EQ(E_POINTER, handles->MakeRef(nullptr, 0, 0, 0));
}

TEST_F(BibleStatTest, KindsAndIndices) {
    struct Case { int handle; HRESULT kind; int b, c, v; } cases[] = {
        {Single(1), kRefKindBible, -1, -1, -1},
        {Single(2), kRefKindBook, 0, -1, -1},
        {Single(kFirstChapterPos + 50), kRefKindChapter, kExodus, 0, -1},
        {Single(kFirstVersePos + 1533), kRefKindVerse, kExodus, 0, 0},
        {Single(kPositionEnd - 1), kRefKindVerse, 65, 21, 20},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(k.kind, handles->GetRefKind(k.handle));
        int b, c, v;
        EXPECT_EQ(S_OK, handles->RefToIndices(k.handle, &b, &c, &v));
        EXPECT_EQ(k.b, b);
        EXPECT_EQ(k.c, c);
        EXPECT_EQ(k.v, v);
        EXPECT_EQ(1, handles->IsSingleRef(k.handle));
        EXPECT_EQ(E_INVALIDARG, handles->HasRangeLength(k.handle));
    }
    for (int bad : {0, Single(0), Single(kPositionEnd), 0x7FFF, Counted(0, 3)}) {
        int b;
        EXPECT_EQ(E_INVALIDARG, handles->GetRefKind(bad));
        EXPECT_EQ(E_INVALIDARG, handles->RefToIndices(bad, &b, &b, &b));
        EXPECT_EQ(E_INVALIDARG, handles->IsSingleRef(bad));
    }
}

TEST_F(BibleStatTest, Ranges) {
    // Genesis 1:1 to 1:3: three verses.
    int h = Ref(0, 0, 0);
    EXPECT_EQ(S_OK, handles->ExtendRef(&h, 0, 0, 2));
    EXPECT_EQ(Counted(kFirstVersePos, 3), h);
    EXPECT_EQ(0, handles->IsSingleRef(h));
    EXPECT_EQ(1, handles->HasRangeLength(h));
    int b, c, v;
    EXPECT_EQ(S_OK, handles->RangeEndToIndices(h, &b, &c, &v));
    EXPECT_EQ(2, v);
    EXPECT_EQ(E_INVALIDARG, handles->ExtendRef(&h, 0, 0, 5));  // already a range

    // A single verse extended to itself is a counted range of one.
    h = Ref(0, 0, 0);
    EXPECT_EQ(S_OK, handles->ExtendRef(&h, 0, 0, 0));
    EXPECT_EQ(Counted(kFirstVersePos, 1), h);

    // Chapter 1 to verse 2:5: the start becomes Genesis 1:1; 31 + 5 verses.
    h = Ref(0, 0, -1);
    EXPECT_EQ(S_OK, handles->ExtendRef(&h, 0, 1, 4));
    EXPECT_EQ(Counted(kFirstVersePos, 36), h);

    // Verse to a book: the end becomes the book's last verse.
    h = Ref(0, 0, 0);
    EXPECT_EQ(S_OK, handles->ExtendRef(&h, kExodus, -1, -1));
    EXPECT_EQ(Counted(kFirstVersePos, 1533 + 1213), h);

    // An end before the start leaves the handle.
    h = Ref(0, 1, 0);
    EXPECT_EQ(S_OK, handles->ExtendRef(&h, 0, 0, 5));
    EXPECT_EQ(Ref(0, 1, 0), h);

    // Longer than 4,095 positions: refused, unchanged.
    h = Ref(0, 0, 0);
    EXPECT_EQ(E_INVALIDARG, handles->ExtendRef(&h, 4, -1, -1));
    EXPECT_EQ(Ref(0, 0, 0), h);
    EXPECT_EQ(E_INVALIDARG, handles->ExtendRef(&h, 0, 0, 31));

    // The open range of a verse.
    h = Ref(kJude, 0, 4);
    EXPECT_EQ(S_OK, handles->MakeFollowingRef(&h));
    EXPECT_EQ((Ref(kJude, 0, 4) & 0xFFFF) | 0x8000, h);
    EXPECT_EQ(0, static_cast<unsigned>(h) >> 16);
    EXPECT_EQ(0, handles->HasRangeLength(h));
    EXPECT_EQ(E_INVALIDARG, handles->RangeEndToIndices(h, &b, &c, &v));
    EXPECT_EQ(S_OK, handles->RefToIndices(h, &b, &c, &v));
    EXPECT_EQ(4, v);
    EXPECT_EQ(E_INVALIDARG, handles->MakeFollowingRef(&h));
    int chapter = Ref(0, 0, -1);
    EXPECT_EQ(E_INVALIDARG, handles->MakeFollowingRef(&chapter));

    // A counted range whose end runs past the last position.
    EXPECT_EQ(E_INVALIDARG, handles->RangeEndToIndices(Counted(kPositionEnd - 1, 2), &b, &c, &v));
    // or into the next kind (the last book's range of 2 ends on a chapter position).
    EXPECT_EQ(E_INVALIDARG, handles->RangeEndToIndices(Counted(67, 2), &b, &c, &v));
}

TEST_F(BibleStatTest, SetRefLevel) {
    struct Case { int handle, kind; int result; HRESULT hr; } cases[] = {
        {Single(kFirstVersePos + 40), 2, Single(kFirstChapterPos + 1), S_OK},   // Gen 2:10 -> Gen 2
        {Single(kFirstVersePos + 40), 1, Single(2), S_OK},
        {Single(kFirstVersePos + 40), 0, Single(1), S_OK},
        {Single(kFirstVersePos + 40), 3, Single(kFirstVersePos + 40), S_OK},
        {Single(2 + kJude), 3, Counted(kFirstVersePos + 31102 - 404 - 25, 25), S_OK},  // Jude: 25 verses
        {Single(1), 1, Counted(2, 66), S_OK},
        {Single(2), 2, Counted(kFirstChapterPos, 50), S_OK},
        {Counted(2, 2), 2, Counted(kFirstChapterPos, 90), S_OK},                 // Gen-Exod: 90 chapters
        {Single(1), 3, Single(1), E_INVALIDARG},                                 // 31,102 verses
        {Single(1), 4, Single(1), E_INVALIDARG},
        {Single(1), -1, Single(1), E_INVALIDARG},
        {Single(0), 1, Single(0), E_INVALIDARG},
    };
    for (const Case& k : cases) {
        int h = k.handle;
        EXPECT_EQ(k.hr, handles->SetRefLevel(&h, k.kind)) << std::hex << k.handle << " " << k.kind;
        EXPECT_EQ(k.result, h) << std::hex << k.handle << " " << k.kind;
    }
    // An open range taken to a coarser kind is the position that holds its start.
    int open = Ref(0, 1, 3);
    ASSERT_EQ(S_OK, handles->MakeFollowingRef(&open));
    EXPECT_EQ(S_OK, handles->SetRefLevel(&open, 2));
    EXPECT_EQ(Ref(0, 1, -1), open);
}

TEST_F(BibleStatTest, CompareRefs) {
    const int v1 = Ref(0, 0, 0), v3 = Ref(0, 0, 2), v5 = Ref(0, 0, 4);
    int r13 = v1, r35 = v3, r15 = v1;
    handles->ExtendRef(&r13, 0, 0, 2);
    handles->ExtendRef(&r35, 0, 0, 4);
    handles->ExtendRef(&r15, 0, 0, 4);
    int open3 = v3;
    handles->MakeFollowingRef(&open3);
    struct Case { int a, b; HRESULT r; } cases[] = {
        {v1, v1, kRefEqual},
        {r13, r13, kRefEqual},
        {open3, v3, kRefEqual},          // an open range spans its start only
        {v3, r15, kRefInside},
        {r15, v3, kRefContains},
        {r13, r35, kRefOverlaps},
        {v1, v5, kRefAfter},
        {v1, v1 + 0, kRefEqual},
        {v5, v1, kRefBefore},
        {r13, v5, kRefAfter},
        {Ref(0, 0, -1), v3, kRefOtherKind},  // a chapter and a verse inside it
        {Ref(0, -1, -1), Ref(1, -1, -1), kRefAfter},
        {0, v1, E_INVALIDARG},
        {v1, Single(kPositionEnd), E_INVALIDARG},
    };
    for (const Case& k : cases) EXPECT_EQ(k.r, handles->CompareRefs(k.a, k.b)) << std::hex << k.a << " " << k.b;
}

TEST_F(BibleStatTest, PackedForm) {
    struct Case { int handle; std::string bytes; } cases[] = {
        {Single(0x0102), std::string("\x01\x02", 2)},
        {Counted(0x0102, 200), std::string("\x81\x02\xC8\x01", 4)},
        {Counted(0x0102, 5), std::string("\x81\x02\x05", 3)},
        {0x0102 | 0x8000, std::string("\x81\x02\x00", 3)},  // open range: high word 0
        {Counted(0x7000, 4095), std::string("\xF0\x00\xFF\x1F", 4)},
    };
    for (const Case& k : cases) {
        char buf[8] = {};
        char* cursor = buf;
        unsigned remaining = sizeof buf;
        ASSERT_EQ(S_OK, handles->WriteRef(k.handle, &cursor, &remaining));
        EXPECT_EQ(k.bytes, std::string(buf, cursor - buf));
        EXPECT_EQ(sizeof buf - k.bytes.size(), remaining);

        // Measuring only: a null cursor takes the count.
        char* none = nullptr;
        unsigned measure = 100;
        EXPECT_EQ(S_OK, handles->WriteRef(k.handle, &none, &measure));
        EXPECT_EQ(100 - k.bytes.size(), measure);

        // Too little room: refused, nothing moved.
        cursor = buf;
        unsigned tight = static_cast<unsigned>(k.bytes.size()) - 1;
        EXPECT_EQ(E_INVALIDARG, handles->WriteRef(k.handle, &cursor, &tight));
        EXPECT_EQ(buf, cursor);

        std::string data = k.bytes + "tail";
        char* read = &data[0];
        unsigned left = static_cast<unsigned>(data.size());
        int h = 0;
        ASSERT_EQ(S_OK, handles->ReadRef(&h, &read, &left));
        EXPECT_EQ(k.handle, h);
        EXPECT_EQ(4u, left);
        ASSERT_EQ(S_OK, handles->ReadRefFromStream(&h, MemoryStream(k.bytes).Get()));
        EXPECT_EQ(k.handle, h);

        // Every cut of the form is refused without reading past it.
        for (size_t len = 0; len < k.bytes.size(); ++len) {
            std::string cut = k.bytes.substr(0, len);
            char* p = cut.empty() ? buf : &cut[0];
            unsigned n = static_cast<unsigned>(len);
            h = 7;
            EXPECT_EQ(E_INVALIDARG, handles->ReadRef(&h, &p, &n));
            EXPECT_EQ(0, h);
            EXPECT_EQ(static_cast<unsigned>(len), n);
            EXPECT_EQ(E_INVALIDARG, handles->ReadRefFromStream(&h, MemoryStream(cut).Get()));
        }
    }
    int h = 0;
    char* cursor = nullptr;
    unsigned remaining = 8;
    EXPECT_EQ(E_INVALIDARG, handles->WriteRef(0, &cursor, &remaining));
    // A high word that never ends, or one wider than 16 bits.
    std::string endless("\x81\x02\xFF\xFF\xFF\xFF", 6), wide("\x81\x02\xFF\xFF\x7F", 5);
    for (std::string* s : {&endless, &wide}) {
        char* p = &(*s)[0];
        unsigned n = static_cast<unsigned>(s->size());
        EXPECT_EQ(E_INVALIDARG, handles->ReadRef(&h, &p, &n));
        EXPECT_EQ(E_INVALIDARG, handles->ReadRefFromStream(&h, MemoryStream(*s).Get()));
    }
}

TEST_F(BibleStatTest, SavedBlockLayout) {
    std::string block = SavedBlock();
    ASSERT_EQ(2u + 40 + 5 * 66 + 1189, block.size());
    EXPECT_EQ('\xFE', block[0]);
    EXPECT_EQ('\xFF', block[1]);
    INT32 size = 0, n = 0, id = 0;
    memcpy(&size, &block[2], 4);
    memcpy(&n, &block[38], 4);
    memcpy(&id, &block[42 + 4 * 65], 4);
    EXPECT_EQ(40 + 5 * 66 + 1189, size);
    EXPECT_EQ(66, n);
    EXPECT_EQ(66, id);
    EXPECT_EQ(50, static_cast<BYTE>(block[42 + 4 * 66]));        // Genesis: 50 chapters
    EXPECT_EQ(31, static_cast<BYTE>(block[42 + 5 * 66]));        // Genesis 1: 31 verses
    EXPECT_EQ(21, static_cast<BYTE>(block[block.size() - 1]));   // Revelation 22: 21 verses
}

TEST_F(BibleStatTest, OpenedStatisticsAreSharedByIdentity) {
    const std::string block = SavedBlock();
    LONG before = CUnknown::LiveObjects();
    ComPtr<IBibleStat> found;
    EXPECT_EQ(S_FALSE, FindBibleStat(&kProtestantIdentity, found.Put()));  // a built one is not listed
    EXPECT_FALSE(found);
    EXPECT_EQ(E_POINTER, FindBibleStat(&kProtestantIdentity, nullptr));

    ComPtr<IBibleStat> a, b;
    ASSERT_EQ(S_OK, OpenBibleStat(MemoryStream(block).Get(), a.Put()));
    ASSERT_EQ(S_OK, OpenBibleStatStream(MemoryStream(block).Get(), b.Put()));
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(before + 1, CUnknown::LiveObjects());
    ASSERT_EQ(S_OK, FindBibleStat(&kProtestantIdentity, found.Put()));
    EXPECT_EQ(a.Get(), found.Get());
    EXPECT_NE(stat.Get(), a.Get());
    found.Reset();
    b.Reset();

    // The read copy equals the built one, and saves the same bytes.
    EXPECT_EQ(31102, a->GetVerseCount());
    ComPtr<IStream> again = MemoryStream();
    ASSERT_EQ(S_OK, a->Save(again.Get()));
    EXPECT_EQ(block, StreamBytes(again.Get()));
    // The one reference left is this holder's.
    EXPECT_EQ(0u, a.Detach()->Release());
    EXPECT_EQ(before, CUnknown::LiveObjects());
    EXPECT_EQ(S_FALSE, FindBibleStat(&kProtestantIdentity, found.Put()));

    // Files: two opens of one file give one object; another identity another object.
    TempDir dir;
    std::string path = dir.File("kv61.vos");
    ASSERT_TRUE(WriteWholeFile(path, block));
    ComPtr<IBibleStat> f1, f2, other;
    ASSERT_EQ(S_OK, OpenBibleStatFile(path.c_str(), f1.Put()));
    ASSERT_EQ(S_OK, OpenBibleStatFile(path.c_str(), f2.Put()));
    EXPECT_EQ(f1.Get(), f2.Get());
    GUID otherId = kProtestantIdentity;
    otherId.Data1 ^= 1;
    ASSERT_EQ(S_OK, OpenBibleStat(MemoryStream(WithValueAt(block, 6, otherId)).Get(), other.Put()));
    EXPECT_NE(f1.Get(), other.Get());
    EXPECT_EQ(before + 2, CUnknown::LiveObjects());
    ComPtr<IBibleHandles> h1, h2;
    ASSERT_EQ(S_OK, f1.As(IID_IBibleHandles, &h1));
    ASSERT_EQ(S_OK, h1.As(IID_IBibleHandles, &h2));
    f1.Reset();
    f2.Reset();
    other.Reset();
    h1.Reset();
    EXPECT_EQ(0u, h2.Detach()->Release());  // the last reference, through the handles part
    EXPECT_EQ(before, CUnknown::LiveObjects());

    IBibleStat* none = reinterpret_cast<IBibleStat*>(1);
    EXPECT_EQ(E_INVALIDARG, OpenBibleStatFile(dir.File("missing.vos").c_str(), &none));
    EXPECT_EQ(nullptr, none);
}

TEST(BibleStatBuilder, AnswersOnlyAsABuilderUntilComplete) {
    LONG before = CUnknown::LiveObjects();
    const GUID id = {1, 2, 3, {4}}, vers = {5, 6, 7, {8}};
    ComPtr<IBibleStatBuilder> builder;
    ASSERT_EQ(S_OK, CreateBibleStat(&id, &vers, 2, builder.Put()));
    ComPtr<IBibleStat> asStat;
    ComPtr<IBibleHandles> asHandles;
    EXPECT_EQ(E_NOINTERFACE, builder.As(IID_IBibleStat, &asStat));
    EXPECT_EQ(E_NOINTERFACE, builder.As(IID_IBibleHandles, &asHandles));
    const int three[] = {3, 4, 5}, bad0[] = {3, 0}, bad256[] = {256};
    EXPECT_EQ(E_INVALIDARG, builder->AddBook(10, 0, three));
    EXPECT_EQ(E_INVALIDARG, builder->AddBook(10, 256, three));
    EXPECT_EQ(E_INVALIDARG, builder->AddBook(10, 2, bad0));
    EXPECT_EQ(E_INVALIDARG, builder->AddBook(10, 1, bad256));
    EXPECT_EQ(E_POINTER, builder->AddBook(10, 1, nullptr));
    EXPECT_EQ(S_OK, builder->AddBook(10, 3, three));
    EXPECT_EQ(E_NOINTERFACE, builder.As(IID_IBibleStat, &asStat));
    EXPECT_EQ(S_OK, builder->AddBook(20, 1, three));
    EXPECT_EQ(E_UNEXPECTED, builder->AddBook(30, 1, three));
    ASSERT_EQ(S_OK, builder.As(IID_IBibleStat, &asStat));
    EXPECT_EQ(2, asStat->GetBookCount());
    EXPECT_EQ(4, asStat->GetChapterCount());
    EXPECT_EQ(15, asStat->GetVerseCount());
    EXPECT_EQ(20, asStat->GetBookId(1));
    ASSERT_EQ(S_OK, asStat.As(IID_IBibleHandles, &asHandles));
    int h = 0;
    EXPECT_EQ(S_OK, asHandles->MakeRef(&h, 1, 0, 2));
    EXPECT_EQ(Single(2 + 2 + 4 + 12 + 2), h);

    // Positions past 15 bits: 255 chapters of 255 verses do not fit.
    ComPtr<IBibleStatBuilder> big;
    ASSERT_EQ(S_OK, CreateBibleStat(&id, &vers, 1, big.Put()));
    std::vector<int> full(255, 255);
    EXPECT_EQ(E_INVALIDARG, big->AddBook(1, 255, full.data()));
    std::vector<int> fits(255, 127);  // 1 + 2 + 255 + 32,385 = 32,643 positions
    EXPECT_EQ(S_OK, big->AddBook(1, 255, fits.data()));

    IBibleStatBuilder* none = reinterpret_cast<IBibleStatBuilder*>(1);
    EXPECT_EQ(E_INVALIDARG, CreateBibleStat(&id, &vers, 0, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(E_INVALIDARG, CreateBibleStat(nullptr, &vers, 1, &none));
    builder.Reset();
    asStat.Reset();
    asHandles.Reset();
    big.Reset();
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

constexpr int kComputed = INT_MIN;

// A block of books with the given chapter and verse counts; the size field and the book
// count as given, or computed from the counts.
std::string Block(const std::vector<BYTE>& chapters, const std::vector<BYTE>& verses, int size = kComputed,
                  int n = kComputed) {
    std::string b("\xFE\xFF", 2);
    INT32 sz = size != kComputed ? size : static_cast<INT32>(40 + 5 * chapters.size() + verses.size());
    b.append(reinterpret_cast<const char*>(&sz), 4);
    b.append(32, 'g');
    INT32 count = n != kComputed ? n : static_cast<INT32>(chapters.size());
    b.append(reinterpret_cast<const char*>(&count), 4);
    for (size_t i = 0; i < chapters.size(); ++i) {
        INT32 id = static_cast<INT32>(i + 1);
        b.append(reinterpret_cast<const char*>(&id), 4);
    }
    b.append(chapters.begin(), chapters.end());
    b.append(verses.begin(), verses.end());
    return b;
}

TEST(BibleStatBadInput, DamagedBlocksAreRefused) {
    LONG before = CUnknown::LiveObjects();
    ASSERT_EQ(S_OK, OpenBibleStat(MemoryStream(Block({2, 1}, {3, 4, 5})).Get(), ComPtr<IBibleStat>().Put()));
    struct Case { const char* what; std::string bytes; } cases[] = {
        {"size below the fixed part", Block({2, 1}, {3, 4, 5}, 39)},
        {"size short of the books", Block({2, 1}, {3, 4, 5}, 40 + 5 * 2 - 1)},
        {"size one chapter short", Block({2, 1}, {3, 4, 5}, 40 + 10 + 2)},
        {"size one chapter long", Block({2, 1}, {3, 4, 5, 6}, 40 + 10 + 4)},
        {"size past the stream", Block({2, 1}, {3, 4, 5}, 1000)},
        {"size huge", Block({2, 1}, {3, 4, 5}, 0x7FFFFFFF)},
        {"size negative", Block({2, 1}, {3, 4, 5}, -8)},
        {"no books", Block({}, {}, 40, 0)},
        {"negative book count", Block({2, 1}, {3, 4, 5}, kComputed, -3)},
        {"book count past the size", Block({2, 1}, {3, 4, 5}, kComputed, 100)},
        {"a book without chapters", Block({0, 3}, {3, 4, 5})},
        {"a chapter without verses", Block({2, 1}, {3, 0, 5})},
        {"positions past 15 bits", Block({255}, std::vector<BYTE>(255, 255))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IBibleStat* s = reinterpret_cast<IBibleStat*>(1);
        EXPECT_EQ(E_INVALIDARG, OpenBibleStat(MemoryStream(c.bytes).Get(), &s));
        EXPECT_EQ(nullptr, s);
    }
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

TEST(BibleStatBadInput, TruncatedAndRandomlyDamagedCopies) {
    LONG before = CUnknown::LiveObjects();
    ComPtr<IBibleStat> built;
    ASSERT_EQ(S_OK, BuildProtestantStat(built.Put()));
    ComPtr<IStream> s = MemoryStream();
    ASSERT_EQ(S_OK, built->Save(s.Get()));
    const std::string good = StreamBytes(s.Get());
    built.Reset();
    for (size_t len = 0; len < good.size(); ++len) {
        ComPtr<IBibleStat> r;
        ASSERT_EQ(E_INVALIDARG, OpenBibleStat(MemoryStream(good.substr(0, len)).Get(), r.Put())) << len;
    }
    // Damage anywhere: refused, or a numbering whose every position splits and makes again.
    TestRandom rnd(77);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = good;
        bytes[2 + rnd.Below(static_cast<unsigned>(bytes.size() - 2))] ^= static_cast<char>(1 + rnd.Below(255));
        ComPtr<IBibleStat> r;
        HRESULT hr = OpenBibleStat(MemoryStream(bytes).Get(), r.Put());
        if (FAILED(hr)) {
            ASSERT_EQ(E_INVALIDARG, hr);
            continue;
        }
        ComPtr<IBibleHandles> h;
        ASSERT_EQ(S_OK, r.As(IID_IBibleHandles, &h));
        const int end = r->GetBookCount() + 2 + r->GetChapterCount() + r->GetVerseCount();
        ASSERT_LE(end, 32768);
        for (int p = 1; p < end; p += 7) {
            int b, c, v, made = 0;
            ASSERT_EQ(S_OK, h->RefToIndices(Single(p), &b, &c, &v));
            ASSERT_EQ(S_OK, h->MakeRef(&made, b, c, v));
            ASSERT_EQ(Single(p), made);
        }
    }
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

}  // namespace
