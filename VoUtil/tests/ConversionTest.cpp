// Conversion between numberings on the sample pair (the common numbering and a variant
// with psalm titles as verses, Joel 3 split off, Malachi 4 folded and Romans 16:25-27 moved),
// the two-step route through the reference versification, handles through ConvertRef, the
// loading of a folder, and damaged tables.
#include <gtest/gtest.h>
#include "VersificationConverter.h"
#include "ConversionTable.h"
#include "SampleVersifications.h"
#include "ProtestantCanon.h"
#include "VoUtil.h"
#include "TestFiles.h"
#include "TestStreams.h"

namespace {

struct Position {
    int book, chapter, verse, verseEnd;
};

class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, WriteSampleBiblesFolder(dir.Path()));
        ASSERT_EQ(S_OK, BuildProtestantStat(common.Put()));
        ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
        ASSERT_EQ(S_OK, BuildFoldedMalachiStat(folded.Put()));
    }
    // Converts (book, chapter, verse) and answers the result with the position.
    HRESULT Convert(CVersificationConverter& c, IBibleStat* from, IBibleStat* to, Position* p) {
        return c.ConvertBibleIndex(from, to, &p->book, &p->chapter, &p->verse, &p->verseEnd);
    }
    int Verse(IBibleStat* stat, int b, int c, int v) {
        ComPtr<IBibleHandles> h;
        stat->QueryInterface(IID_IBibleHandles, h.PutVoid());
        int handle = 0;
        h->MakeRef(&handle, b, c, v);
        return handle;
    }
    int Range(IBibleStat* stat, int b, int c, int v, int eb, int ec, int ev) {
        ComPtr<IBibleHandles> h;
        stat->QueryInterface(IID_IBibleHandles, h.PutVoid());
        int handle = 0;
        h->MakeRef(&handle, b, c, v);
        h->ExtendRef(&handle, eb, ec, ev);
        return handle;
    }

    TempDir dir;
    CVersificationConverter converter{dir.Path() + "\\"};
    ComPtr<IBibleStat> common, variant, folded;
};

struct MapCase {
    const char* what;
    bool toVariant;  // common -> variant, else variant -> common
    Position from;
    HRESULT hr;
    Position to;
};

// Zero-based book, chapter, verse; kPsalmsBook 18, kJoelBook 28, kMalachiBook 38, kRomansBook 44.
const MapCase kMapCases[] = {
    {"no row: one to one", true, {0, 0, 0, 0}, S_OK, {0, 0, 0, 0}},
    {"Ps 3:1 after the title verse", true, {18, 2, 0, 0}, S_OK, {18, 2, 1, 1}},
    {"Ps 3:8", true, {18, 2, 7, 0}, S_OK, {18, 2, 8, 8}},
    {"Ps 51:1 to the block 51:1-3", true, {18, 50, 0, 0}, S_OK, {18, 50, 0, 2}},
    {"Ps 51:2 after the block", true, {18, 50, 1, 0}, S_OK, {18, 50, 3, 3}},
    {"Ps 51:19", true, {18, 50, 18, 0}, S_OK, {18, 50, 20, 20}},
    {"Joel 2:27 stays", true, {28, 1, 26, 0}, S_OK, {28, 1, 26, 26}},
    {"Joel 2:28 steps to the next row", true, {28, 1, 27, 0}, S_OK, {28, 2, 0, 0}},
    {"Joel 2:32", true, {28, 1, 31, 0}, S_OK, {28, 2, 4, 4}},
    {"Joel 3:1 by the other side's shift", true, {28, 2, 0, 0}, S_OK, {28, 3, 0, 0}},
    {"Joel 3:21", true, {28, 2, 20, 0}, S_OK, {28, 3, 20, 20}},
    {"whole chapter: unchanged", true, {28, 2, -1, 0}, S_OK, {28, 2, -1, -1}},
    {"Mal 3:18 stays", true, {38, 2, 17, 0}, S_OK, {38, 2, 17, 17}},
    {"Mal 4:1 steps back a row", true, {38, 3, 0, 0}, S_OK, {38, 2, 18, 18}},
    {"Mal 4:6", true, {38, 3, 5, 0}, S_OK, {38, 2, 23, 23}},
    {"Rom 16:24", true, {44, 15, 23, 0}, S_OK, {44, 15, 23, 23}},
    {"Rom 16:25 has no counterpart", true, {44, 15, 24, 0}, S_FALSE, {44, 15, 24, 24}},
    {"variant Ps 3:1 (title) keeps its number", false, {18, 2, 0, 0}, S_OK, {18, 2, 0, 0}},
    {"variant Ps 3:2", false, {18, 2, 1, 0}, S_OK, {18, 2, 0, 0}},
    {"variant Ps 3:9", false, {18, 2, 8, 0}, S_OK, {18, 2, 7, 7}},
    {"variant Ps 51:1 of the larger block", false, {18, 50, 0, 0}, S_OK, {18, 50, 0, 0}},
    {"variant Ps 51:3 of the larger block", false, {18, 50, 2, 0}, S_OK, {18, 50, 0, 0}},
    {"variant Ps 51:4", false, {18, 50, 3, 0}, S_OK, {18, 50, 1, 1}},
    {"variant Joel 2:27", false, {28, 1, 26, 0}, S_OK, {28, 1, 26, 26}},
    {"variant Joel 3:1 steps back a row", false, {28, 2, 0, 0}, S_OK, {28, 1, 27, 27}},
    {"variant Joel 3:5", false, {28, 2, 4, 0}, S_OK, {28, 1, 31, 31}},
    {"variant Joel 4:1 steps back a row", false, {28, 3, 0, 0}, S_OK, {28, 2, 0, 0}},
    {"variant Joel 4:21", false, {28, 3, 20, 0}, S_OK, {28, 2, 20, 20}},
    {"variant Mal 3:18", false, {38, 2, 17, 0}, S_OK, {38, 2, 17, 17}},
    {"variant Mal 3:19 steps to the next row", false, {38, 2, 18, 0}, S_OK, {38, 3, 0, 0}},
    {"variant Mal 3:24", false, {38, 2, 23, 0}, S_OK, {38, 3, 5, 5}},
    {"variant Rom 14:24 has no counterpart", false, {44, 13, 23, 0}, S_FALSE, {44, 13, 23, 23}},
    {"variant Rom 16:24", false, {44, 15, 23, 0}, S_OK, {44, 15, 23, 23}},
};

TEST_F(Conversion, EveryMappingRuleBothWays) {
    for (const MapCase& c : kMapCases) {
        SCOPED_TRACE(c.what);
        Position p = c.from;
        IBibleStat* from = c.toVariant ? common.Get() : variant.Get();
        IBibleStat* to = c.toVariant ? variant.Get() : common.Get();
        EXPECT_EQ(c.hr, Convert(converter, from, to, &p));
        EXPECT_EQ(c.to.book, p.book);
        EXPECT_EQ(c.to.chapter, p.chapter);
        EXPECT_EQ(c.to.verse, p.verse);
        EXPECT_EQ(c.to.verseEnd, p.verseEnd);
    }
}

TEST_F(Conversion, TwoStepsThroughTheReferenceVersification) {
    // The variant and the folded-Malachi numbering have no table between them; both have one
    // to the common numbering, which is "kv61.vos". The folded table is stored byte-reversed.
    EXPECT_EQ(S_OK, converter.CanConvert(variant.Get(), folded.Get()));
    Position p = {kMalachiBook, 2, 19, 0};  // variant Mal 3:20 = common Mal 4:2
    EXPECT_EQ(S_OK, Convert(converter, variant.Get(), folded.Get(), &p));
    EXPECT_EQ(kMalachiBook, p.book);
    EXPECT_EQ(2, p.chapter);
    EXPECT_EQ(19, p.verse);
    p = {kJoelBook, 2, 0, 0};  // variant Joel 3:1 = common (and folded) Joel 2:28
    EXPECT_EQ(S_OK, Convert(converter, variant.Get(), folded.Get(), &p));
    EXPECT_EQ(1, p.chapter);
    EXPECT_EQ(27, p.verse);
    p = {kPsalmsBook, 50, 0, 0};  // the second step makes the verse a range
    EXPECT_EQ(S_OK, Convert(converter, folded.Get(), variant.Get(), &p));
    EXPECT_EQ(0, p.verse);
    EXPECT_EQ(2, p.verseEnd);
    p = {kMalachiBook, 2, 18, 0};  // the reversed table read directly: folded Mal 3:19 = Mal 4:1
    EXPECT_EQ(S_OK, Convert(converter, folded.Get(), common.Get(), &p));
    EXPECT_EQ(3, p.chapter);
    EXPECT_EQ(0, p.verse);
    EXPECT_EQ(2u, converter.TableCount());
    EXPECT_TRUE(converter.HasReference());
}

TEST_F(Conversion, WithoutTheReferenceThereIsNoSecondStep) {
    DeleteFileA(dir.File("kv61.vos").c_str());
    CVersificationConverter bare(dir.Path() + "\\");
    EXPECT_EQ(S_FALSE, bare.CanConvert(variant.Get(), folded.Get()));
    Position p = {kMalachiBook, 2, 19, 0};
    EXPECT_EQ(E_INVALIDARG, Convert(bare, variant.Get(), folded.Get(), &p));
    EXPECT_EQ(E_INVALIDARG, bare.ConvertBibleIndices(variant.Get(), folded.Get(), &p.book, &p.chapter, &p.verse));
    int out = -1;
    EXPECT_EQ(E_INVALIDARG, bare.ConvertRef(variant.Get(), folded.Get(), Verse(variant.Get(), 0, 0, 0), &out));
    EXPECT_EQ(0, out);
    // The whole bible converts between any two numberings.
    EXPECT_EQ(S_OK, bare.ConvertRef(variant.Get(), folded.Get(), 0xFFFF0001, &out));
    EXPECT_EQ(static_cast<int>(0xFFFF0001), out);
}

TEST_F(Conversion, SameVersificationGoesByBookIdentifier) {
    // A numbering of the same versification with only the New Testament.
    ComPtr<IBibleStatBuilder> builder;
    const GUID nt = {0x1234, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
    ASSERT_EQ(S_OK, CreateBibleStat(&nt, &kProtestantVersification, 27, builder.Put()));
    for (int b = 39; b < kProtestantBookCount; ++b) {
        const CanonBook& book = ProtestantBook(b);
        std::vector<int> verses(book.verses, book.verses + book.chapters);
        ASSERT_EQ(S_OK, builder->AddBook(book.id, book.chapters, verses.data()));
    }
    ComPtr<IBibleStat> newTestament;
    ASSERT_EQ(S_OK, builder->QueryInterface(IID_IBibleStat, newTestament.PutVoid()));

    Position p = {42, 2, 15, 0};  // John 3:16
    EXPECT_EQ(S_OK, Convert(converter, common.Get(), newTestament.Get(), &p));
    EXPECT_EQ(3, p.book);
    EXPECT_EQ(2, p.chapter);
    EXPECT_EQ(15, p.verse);
    p = {0, 0, 0, 0};
    EXPECT_EQ(S_FALSE, Convert(converter, common.Get(), newTestament.Get(), &p));
    EXPECT_EQ(0, p.book);
    int out = -1;
    EXPECT_EQ(S_FALSE, converter.ConvertRef(common.Get(), newTestament.Get(), Verse(common.Get(), 0, 0, 0), &out));
    EXPECT_EQ(0, out);
    // The same identity changes nothing.
    p = {kJoelBook, 2, 0, 0};
    EXPECT_EQ(S_OK, Convert(converter, variant.Get(), variant.Get(), &p));
    EXPECT_EQ(2, p.chapter);
    EXPECT_EQ(0u, converter.TableCount()) << "equal versifications need no tables";
    // ConvertBibleIndices: a missing book of the same versification is S_FALSE; between
    // versifications a verse with no counterpart is S_OK with the position unchanged.
    int b = 0, c = 0, v = 0;
    EXPECT_EQ(S_FALSE, converter.ConvertBibleIndices(common.Get(), newTestament.Get(), &b, &c, &v));
    EXPECT_EQ(0, b);
    b = kRomansBook, c = 13, v = 23;
    EXPECT_EQ(S_OK, converter.ConvertBibleIndices(variant.Get(), common.Get(), &b, &c, &v));
    EXPECT_EQ(13, c);
    EXPECT_EQ(23, v);
}

TEST_F(Conversion, HandlesThroughConvertRef) {
    struct RefCase {
        const char* what;
        int from, expected;
        HRESULT hr;
    };
    IBibleStat* c = common.Get();
    IBibleStat* v = variant.Get();
    ComPtr<IBibleHandles> ch, vh;
    ASSERT_EQ(S_OK, common.As(IID_IBibleHandles, &ch));
    ASSERT_EQ(S_OK, variant.As(IID_IBibleHandles, &vh));
    int openCommon = Verse(c, kJoelBook, 1, 29), openVariant = Verse(v, kJoelBook, 2, 2);
    ch->MakeFollowingRef(&openCommon);
    vh->MakeFollowingRef(&openVariant);
    const RefCase cases[] = {
        {"a verse", Verse(c, 0, 0, 0), Verse(v, 0, 0, 0), S_OK},
        {"a verse that becomes a range", Verse(c, kPsalmsBook, 50, 0), Range(v, kPsalmsBook, 50, 0, kPsalmsBook, 50, 2),
         S_OK},
        {"Joel 2:28-32", Range(c, kJoelBook, 1, 27, kJoelBook, 1, 31), Range(v, kJoelBook, 2, 0, kJoelBook, 2, 4), S_OK},
        {"Joel 2:27-28 over the chapter's end", Range(c, kJoelBook, 1, 26, kJoelBook, 1, 27),
         Range(v, kJoelBook, 1, 26, kJoelBook, 2, 0), S_OK},
        {"Mal 3:17-4:2", Range(c, kMalachiBook, 2, 16, kMalachiBook, 3, 1),
         Range(v, kMalachiBook, 2, 16, kMalachiBook, 2, 19), S_OK},
        {"an open range", openCommon, openVariant, S_OK},
        {"a chapter", Verse(c, kJoelBook, 2, -1), Verse(v, kJoelBook, 2, -1), S_OK},
        {"no counterpart", Verse(c, kRomansBook, 15, 24), 0, S_FALSE},
        {"the whole bible", static_cast<int>(0xFFFF0001), static_cast<int>(0xFFFF0001), S_OK},
    };
    for (const RefCase& rc : cases) {
        SCOPED_TRACE(rc.what);
        int out = -1;
        EXPECT_EQ(rc.hr, converter.ConvertRef(c, v, rc.from, &out));
        EXPECT_EQ(rc.expected, out);
    }
    int out = -1;
    EXPECT_EQ(E_INVALIDARG, converter.ConvertRef(c, v, 0, &out));
    EXPECT_EQ(0, out);
    EXPECT_EQ(E_POINTER, converter.ConvertRef(c, nullptr, Verse(c, 0, 0, 0), &out));
    EXPECT_EQ(E_POINTER, converter.CanConvert(c, nullptr));
}

TEST_F(Conversion, LoadsOnceAndLooksAgainOnlyWhileTheFolderIsEmpty) {
    TempDir empty;
    CVersificationConverter late(empty.Path() + "\\");
    EXPECT_EQ(S_FALSE, late.CanConvert(common.Get(), variant.Get()));
    // Nothing was found, so the next conversion looks again.
    ASSERT_EQ(S_OK, WriteConversionTableFile(empty.File("variant.brt").c_str(), kProtestantVersification,
                                             kVariantVersification, kSampleRowsPerKey, VariantTableBooks(), false));
    EXPECT_EQ(S_OK, late.CanConvert(common.Get(), variant.Get()));
    // Once something was loaded, files added later are not read.
    CopyFileA(dir.File("kv61.vos").c_str(), empty.File("kv61.vos").c_str(), FALSE);
    CopyFileA(dir.File("malachi.brt").c_str(), empty.File("malachi.brt").c_str(), FALSE);
    EXPECT_EQ(S_FALSE, late.CanConvert(variant.Get(), folded.Get()));
    EXPECT_EQ(1u, late.TableCount());
}

TEST_F(Conversion, ASecondTableForThePairIsDiscarded) {
    // "variant2.brt" maps nothing; "variant.brt" comes first and is kept.
    ASSERT_EQ(S_OK, WriteConversionTableFile(dir.File("variant2.brt").c_str(), kVariantVersification,
                                             kProtestantVersification, kSampleRowsPerKey, {}, false));
    ASSERT_EQ(S_OK, WriteWholeFile(dir.File("notes.brtx"), "not a table") ? S_OK : E_FAIL);
    CVersificationConverter c(dir.Path() + "\\");
    Position p = {kJoelBook, 2, 0, 0};
    EXPECT_EQ(S_OK, Convert(c, common.Get(), variant.Get(), &p));
    EXPECT_EQ(3, p.chapter);
    EXPECT_EQ(2u, c.TableCount());
}

// A one-book numbering of its own versification.
ComPtr<IBibleStat> OneBook(const GUID& id, std::vector<int> verses) {
    ComPtr<IBibleStatBuilder> builder;
    ComPtr<IBibleStat> stat;
    EXPECT_EQ(S_OK, CreateBibleStat(&id, &id, 1, builder.Put()));
    EXPECT_EQ(S_OK, builder->AddBook(1, static_cast<int>(verses.size()), verses.data()));
    EXPECT_EQ(S_OK, builder->QueryInterface(IID_IBibleStat, stat.PutVoid()));
    return stat;
}

TEST(ConversionRows, AVersePastTheRowsCountGoesOnAfterTheNextRowsShift) {
    // Side A's chapter 1 has a fourth verse that the row (3 verses each side) does not count:
    // it goes to the next row's chapter, after the 2 verses that row's B shift holds back.
    TempDir dir;
    const GUID x = {0xA1, 0, 0, {1}}, y = {0xB2, 0, 0, {2}};
    ComPtr<IBibleStat> from = OneBook(x, {4, 5}), to = OneBook(y, {3, 7});
    ConversionBook book = {1, {MakeRow(0, false, 0, 3, 3), MakeRow(1, true, 2, 5, 5)}};
    ASSERT_EQ(S_OK, WriteConversionTableFile(dir.File("xy.brt").c_str(), x, y, 2, {book}, false));
    CVersificationConverter c(dir.Path() + "\\");
    int b = 0, ch = 0, v = 3, e = 0;
    EXPECT_EQ(S_OK, c.ConvertBibleIndex(from.Get(), to.Get(), &b, &ch, &v, &e));
    EXPECT_EQ(1, ch);
    EXPECT_EQ(2, v);
    EXPECT_EQ(2, e);
    b = 0, ch = 0, v = 2;
    EXPECT_EQ(S_OK, c.ConvertBibleIndex(from.Get(), to.Get(), &b, &ch, &v, &e));
    EXPECT_EQ(0, ch);
    EXPECT_EQ(2, v);
    EXPECT_EQ(E_POINTER, c.ConvertBibleIndex(from.Get(), to.Get(), &b, &ch, &v, nullptr));
    b = 5;
    EXPECT_EQ(E_INVALIDARG, c.ConvertBibleIndex(from.Get(), to.Get(), &b, &ch, &v, &e)) << "no such book";
}

// A good table's bytes, and damaged copies of them.
std::string VariantTableBytes(std::vector<ConversionBook> books = VariantTableBooks()) {
    ComPtr<IStream> s = MemoryStream();
    EXPECT_EQ(S_OK, WriteConversionTable(s.Get(), kProtestantVersification, kVariantVersification, kSampleRowsPerKey,
                                         books, false));
    return StreamBytes(s.Get());
}

HRESULT LoadTable(const std::string& bytes, CConversionTable* table) {
    ComPtr<IStream> s = MemoryStream(bytes);
    return table->Load(s.Get());
}

TEST(ConversionTableFile, DamagedTablesAreRefused) {
    const std::string good = VariantTableBytes();
    const size_t keys = VariantTableBooks().size();
    const size_t trailer = good.size() - (2 + 2 + 2 + 2 + 32 + 4 * keys);
    CConversionTable ok;
    ASSERT_EQ(S_OK, LoadTable(good, &ok));

    std::vector<ConversionBook> odd = VariantTableBooks();
    odd[2].rows[0].extra = {7};  // a pair that runs past its row
    std::vector<ConversionBook> wideShift = VariantTableBooks();
    wideShift[2].rows[1].shift = 7;  // Malachi 4 has 6 verses on the shifted side
    std::vector<ConversionBook> firstRowShift = VariantTableBooks();
    firstRowShift[1].rows.insert(firstRowShift[1].rows.begin(), MakeRow(0, true, 1, 20, 20));
    std::vector<ConversionBook> lonelyShift = VariantTableBooks();
    lonelyShift[2].rows.erase(lonelyShift[2].rows.begin());  // Mal 4's shift without a row before
    std::vector<ConversionBook> shortRow = VariantTableBooks();
    shortRow[0].rows[0].pairs.clear();
    shortRow[0].rows[0].extra = {};

    struct Damage {
        const char* what;
        std::string bytes;
    };
    const Damage damages[] = {
        {"wrong mark", WithValueAt<WORD>(good, trailer, 0xFFFF)},
        {"second word not 0", WithValueAt<WORD>(good, trailer + 2, 1)},
        {"short key table", good.substr(0, good.size() - 2)},
        {"more keys than stored", WithValueAt<WORD>(good, trailer + 4, 9)},
        {"keys out of order", WithValueAt<DWORD>(good, good.size() - 4, 1)},
        {"equal keys", WithValueAt<DWORD>(good, good.size() - 4, 39)},
        {"pair past its row", VariantTableBytes(odd)},
        {"shift past the side's verses", VariantTableBytes(wideShift)},
        {"shift in a book's first row", VariantTableBytes(firstRowShift)},
        {"shift with no row before", VariantTableBytes(lonelyShift)},
        {"cut inside the container", good.substr(0, 40)},
        {"empty", std::string()},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        CConversionTable table;
        const HRESULT hr = LoadTable(d.bytes, &table);
        EXPECT_TRUE(hr == E_UNEXPECTED || hr == E_INVALIDARG) << std::hex << hr;
    }
    // A header-only row (no pairs) is a row, not damage.
    CConversionTable headerOnly;
    EXPECT_EQ(S_OK, LoadTable(VariantTableBytes(shortRow), &headerOnly));
}

TEST(ConversionTableFile, ReversedByteOrderReadsTheSame) {
    ComPtr<IStream> own = MemoryStream(), reversed = MemoryStream();
    ASSERT_EQ(S_OK, WriteConversionTable(own.Get(), kProtestantVersification, kVariantVersification,
                                         kSampleRowsPerKey, VariantTableBooks(), false));
    ASSERT_EQ(S_OK, WriteConversionTable(reversed.Get(), kProtestantVersification, kVariantVersification,
                                         kSampleRowsPerKey, VariantTableBooks(), true));
    const std::string ownBytes = StreamBytes(own.Get()), reversedBytes = StreamBytes(reversed.Get());
    ASSERT_NE(ownBytes, reversedBytes);
    CConversionTable a, b;
    ASSERT_EQ(S_OK, LoadTable(ownBytes, &a));
    ASSERT_EQ(S_OK, LoadTable(reversedBytes, &b));
    EXPECT_TRUE(b.Serves(kVariantVersification, kProtestantVersification));
    for (const MapCase& c : kMapCases) {
        SCOPED_TRACE(c.what);
        const GUID& from = c.toVariant ? kProtestantVersification : kVariantVersification;
        const int bookId = ProtestantBook(c.from.book).id;
        ChapterVerse pa, pb;
        pa.chapter = pb.chapter = c.from.chapter;
        pa.verse = pb.verse = c.from.verse;
        EXPECT_EQ(a.Map(from, bookId, &pa), b.Map(from, bookId, &pb));
        EXPECT_EQ(pa.chapter, pb.chapter);
        EXPECT_EQ(pa.verse, pb.verse);
        EXPECT_EQ(pa.verseEnd, pb.verseEnd);
    }
}

TEST(ConversionTableFile, BitFlipsNeverGiveAPositionOutsideTheTarget) {
    TempDir dir;
    const std::string good = VariantTableBytes();
    ComPtr<IBibleStat> common, variant;
    ASSERT_EQ(S_OK, BuildProtestantStat(common.Put()));
    ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
    TestRandom random(99);
    for (int round = 0; round < 60; ++round) {
        std::string bytes = good;
        for (int k = 0; k < 3; ++k) bytes[random.Below(static_cast<unsigned>(bytes.size()))] ^= static_cast<char>(1 << random.Below(8));
        TempDir folder;
        ASSERT_TRUE(WriteWholeFile(folder.File("t.brt"), bytes));
        // With the reference there, a refused table is not looked for on every conversion.
        ASSERT_EQ(S_OK, WriteBibleStatFile(folder.File("kv61.vos").c_str(), common.Get()));
        CVersificationConverter c(folder.Path() + "\\");
        for (int book : {kPsalmsBook, kJoelBook, kMalachiBook, kRomansBook}) {
            for (int ch = 0; ch < variant->GetChaptersInBook(book) && ch < 60; ++ch) {
                for (int v = 0; v < variant->GetVersesInChapter(book, ch); ++v) {
                    int b = book, cc = ch, vv = v, e = v;
                    if (c.ConvertBibleIndex(variant.Get(), common.Get(), &b, &cc, &vv, &e) != S_OK) continue;
                    ASSERT_GE(common->RefToVerseIndex(b, cc, vv), 0) << round;
                    ASSERT_GE(e, vv);
                    ASSERT_LT(e, common->GetVersesInChapter(b, cc));
                }
            }
        }
    }
}

}  // namespace
