// Reference libraries and reference lists: written by the project's writers, opened and
// read back, converted into other numberings, bounded reads, damaged files, and the
// library built from the WEB's cross-references.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "BibleRefLib.h"
#include "RefList.h"
#include "VersificationConverter.h"
#include "SampleVersifications.h"
#include "ProtestantCanon.h"
#include "VoUtil.h"
#include "TestFiles.h"
#include "TestStreams.h"

namespace {

class RefLib : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, WriteSampleBiblesFolder(dir.Path()));
        ASSERT_EQ(S_OK, BuildProtestantStat(common.Put()));
        ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
        ASSERT_EQ(S_OK, common.As(IID_IBibleHandles, &ch));
        ASSERT_EQ(S_OK, variant.As(IID_IBibleHandles, &vh));
    }
    static int Ref(IBibleHandles* h, int b, int c, int v, int eb = -2, int ec = 0, int ev = 0) {
        int handle = 0;
        h->MakeRef(&handle, b, c, v);
        if (eb != -2) h->ExtendRef(&handle, eb, ec, ev);
        return handle;
    }
    int Linear(int b, int c, int v) { return common->RefToVerseIndex(b, c, v); }
    ComPtr<IBibleRefLib> Open(const std::string& path) {
        ComPtr<IBibleRefLib> lib;
        EXPECT_EQ(S_OK, OpenBibleRefLib(path.c_str(), &converter, lib.Put()));
        return lib;
    }
    std::vector<int> Refs(IBibleRefLib* lib, IBibleStat* bible, int b, int c, int v, HRESULT expected,
                          int max = 128) {
        std::vector<int> out(max > 0 ? max : 1, -1);
        unsigned count = 99;
        EXPECT_EQ(expected, lib->GetVerseRefs(bible, b, c, v, out.data(), max, &count));
        out.resize(count);
        return out;
    }

    TempDir dir;
    CVersificationConverter converter{dir.Path() + "\\"};
    ComPtr<IBibleStat> common, variant;
    ComPtr<IBibleHandles> ch, vh;
};

TEST_F(RefLib, ReferencesOfAVerseInTheLibrarysOwnAndAnotherNumbering) {
    std::vector<std::vector<int>> refs(common->GetVerseCount());
    const int john1 = Ref(ch.Get(), 42, 0, 0), heb11 = Ref(ch.Get(), 57, 10, 2);
    const int acts2 = Ref(ch.Get(), 43, 1, 16, 43, 1, 20);
    const int joel228 = Ref(ch.Get(), 28, 1, 27, 28, 1, 31), rom1625 = Ref(ch.Get(), 44, 15, 24);
    const int matt1114 = Ref(ch.Get(), 39, 10, 13);
    refs[Linear(0, 0, 0)] = {john1, heb11};
    refs[Linear(28, 1, 27)] = {acts2};                  // Joel 2:28
    refs[Linear(43, 1, 16)] = {joel228, rom1625};       // Acts 2:17
    refs[Linear(38, 3, 4)] = {matt1114};                // Mal 4:5
    const std::string path = dir.File("kjv.xref.brf");
    ASSERT_EQ(S_OK, WriteRefLibFile(path.c_str(), common.Get(), refs));
    ComPtr<IBibleRefLib> lib = Open(path);
    ASSERT_TRUE(lib);

    EXPECT_EQ(std::vector<int>({john1, heb11}), Refs(lib.Get(), common.Get(), 0, 0, 0, S_OK));
    EXPECT_EQ(std::vector<int>(), Refs(lib.Get(), common.Get(), 0, 0, 1, S_FALSE));
    EXPECT_EQ(std::vector<int>({john1}), Refs(lib.Get(), common.Get(), 0, 0, 0, S_OK, 1));
    EXPECT_EQ(std::vector<int>(), Refs(lib.Get(), common.Get(), 0, 0, 0, S_OK, 0));
    EXPECT_EQ(std::vector<int>(), Refs(lib.Get(), common.Get(), 0, 0, 31, E_UNEXPECTED)) << "Genesis 1 has 31 verses";

    // Asked in the variant's numbering: the verse is found through the table and the
    // references come back converted; one without a counterpart is left out.
    // Handles are positions of their numbering: the variant's Acts 2:17-21 is another value.
    EXPECT_EQ(std::vector<int>({Ref(vh.Get(), 43, 1, 16, 43, 1, 20)}),
              Refs(lib.Get(), variant.Get(), 28, 2, 0, S_OK));  // variant Joel 3:1
    EXPECT_EQ(std::vector<int>({Ref(vh.Get(), 28, 2, 0, 28, 2, 4)}), Refs(lib.Get(), variant.Get(), 43, 1, 16, S_OK));
    EXPECT_EQ(std::vector<int>({Ref(vh.Get(), 39, 10, 13)}),
              Refs(lib.Get(), variant.Get(), 38, 2, 22, S_OK));  // variant Mal 3:23
    EXPECT_NE(matt1114, Ref(vh.Get(), 39, 10, 13));
    EXPECT_EQ(std::vector<int>(), Refs(lib.Get(), variant.Get(), 44, 13, 23, S_FALSE));       // no counterpart

    char name[64], path2[MAX_PATH];
    EXPECT_EQ(S_OK, lib->GetName(name, sizeof name));
    EXPECT_STREQ("kjv", name);
    EXPECT_EQ(S_OK, lib->GetFilePath(path2, sizeof path2));
    EXPECT_EQ(path, path2);
    EXPECT_EQ(S_OK, lib->GetName(name, 3));
    EXPECT_STREQ("kj", name);
}

TEST_F(RefLib, CompatibilityAndPinning) {
    const std::string path = dir.File("a-library-name-of-more-than-31-characters.brf");
    ASSERT_EQ(S_OK, WriteRefLibFile(path.c_str(), common.Get(), {}));
    ComPtr<IBibleRefLib> lib = Open(path);
    ASSERT_TRUE(lib);
    char name[64];
    lib->GetName(name, sizeof name);
    EXPECT_STREQ("a-library-name-of-more-than-31-", name);

    ComPtr<IBibleStatBuilder> builder;
    const GUID other = {0x777, 0, 0, {7}};
    ASSERT_EQ(S_OK, CreateBibleStat(&other, &other, 1, builder.Put()));
    const int verses[] = {3};
    ASSERT_EQ(S_OK, builder->AddBook(1, 1, verses));
    ComPtr<IBibleStat> stranger;
    ASSERT_EQ(S_OK, builder->QueryInterface(IID_IBibleStat, stranger.PutVoid()));

    EXPECT_EQ(S_OK, lib->IsCompatible(common.Get()));
    EXPECT_EQ(S_OK, lib->IsCompatible(variant.Get()));
    EXPECT_EQ(S_FALSE, lib->IsCompatible(stranger.Get()));
    int out[4];
    unsigned count = 7;
    EXPECT_EQ(E_INVALIDARG, lib->GetVerseRefs(stranger.Get(), 0, 0, 0, out, 4, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(E_INVALIDARG, lib->LoadRefs(stranger.Get(), 0, 0));
    for (int book : {-1, 28}) {
        for (int chapter : {-1, 2}) {
            if (book == -1 && chapter != -1) continue;
            EXPECT_EQ(S_OK, lib->LoadRefs(variant.Get(), book, chapter));
            EXPECT_EQ(S_OK, lib->UnloadRefs(variant.Get(), book, chapter));
        }
    }
    EXPECT_EQ(E_INVALIDARG, lib->LoadRefs(common.Get(), 70, 0));
}

TEST_F(RefLib, AtMostEightVersesAndWholeReferencesInTheBuffer) {
    // A numbering whose Psalm 119:1 is the common Psalm 119:1-10 (a block of 1 against 10).
    const GUID chunkyId = {0x888, 0, 0, {8}}, chunkyVers = {0x889, 0, 0, {8}};
    ComPtr<IBibleStatBuilder> builder;
    ASSERT_EQ(S_OK, CreateBibleStat(&chunkyId, &chunkyVers, kProtestantBookCount, builder.Put()));
    for (int b = 0; b < kProtestantBookCount; ++b) {
        const CanonBook& book = ProtestantBook(b);
        std::vector<int> verses(book.verses, book.verses + book.chapters);
        if (b == kPsalmsBook) verses[118] -= 9;
        ASSERT_EQ(S_OK, builder->AddBook(book.id, book.chapters, verses.data()));
    }
    ComPtr<IBibleStat> chunky;
    ASSERT_EQ(S_OK, builder->QueryInterface(IID_IBibleStat, chunky.PutVoid()));
    ConversionBook psalms = {ProtestantBook(kPsalmsBook).id, {MakeRow(118, false, 0, 0, 0, {{0, 1, 10}})}};
    ASSERT_EQ(S_OK, WriteConversionTableFile(dir.File("chunky.brt").c_str(), chunkyVers, kProtestantVersification,
                                             kSampleRowsPerKey, {psalms}, false));

    std::vector<std::vector<int>> refs(common->GetVerseCount());
    std::vector<int> expected;
    for (int v = 0; v < 10; ++v) {
        refs[Linear(kPsalmsBook, 118, v)] = {Ref(ch.Get(), v, 0, 0)};
        if (v < 8) expected.push_back(Ref(ch.Get(), v, 0, 0));
    }
    // Psalm 1:1: one two-byte reference, then 600 of four bytes (ranges of 200 verses).
    std::vector<int>& big = refs[Linear(kPsalmsBook, 0, 0)];
    big.push_back(Ref(ch.Get(), 1, 0, 0));
    for (int i = 0; i < 600; ++i) big.push_back(Ref(ch.Get(), 0, 0, i % 10, 0, 9, 0));
    const std::string path = dir.File("many.brf");
    ASSERT_EQ(S_OK, WriteRefLibFile(path.c_str(), common.Get(), refs));
    ComPtr<IBibleRefLib> lib = Open(path);
    ASSERT_TRUE(lib);

    EXPECT_EQ(expected, Refs(lib.Get(), chunky.Get(), kPsalmsBook, 118, 0, S_OK));
    const std::vector<int> got = Refs(lib.Get(), common.Get(), kPsalmsBook, 0, 0, S_OK, 1000);
    ASSERT_EQ(512u, got.size()) << "2 + 511 * 4 bytes fit in 2,048";
    EXPECT_EQ(std::vector<int>(big.begin(), big.begin() + 512), got);
}

TEST_F(RefLib, DamagedLibrariesAreRefused) {
    const std::string path = dir.File("lib.brf");
    ASSERT_EQ(S_OK, WriteRefLibFile(path.c_str(), common.Get(), {{Ref(ch.Get(), 1, 0, 0)}}));
    const std::string good = ReadWholeFile(path);
    ComPtr<IBibleRefLib> lib;
    for (size_t cut : {size_t(0), size_t(10), good.size() / 2, good.size() - 1}) {
        SCOPED_TRACE(cut);
        ASSERT_TRUE(WriteWholeFile(path, good.substr(0, cut)));
        EXPECT_TRUE(FAILED(OpenBibleRefLib(path.c_str(), &converter, lib.Put())));
        EXPECT_FALSE(lib);
    }
    EXPECT_EQ(E_INVALIDARG, OpenBibleRefLibFile(dir.File("missing.brf").c_str(), lib.Put()));
}

TEST_F(RefLib, BitFlippedFilesAnswerOrFailWithoutCrashing) {
    std::vector<std::vector<int>> refs(common->GetVerseCount());
    for (int v = 0; v < 40; ++v) refs[v] = {Ref(ch.Get(), 1, 0, v % 20), Ref(ch.Get(), 2, 0, 0, 2, 1, 3)};
    const std::string libPath = dir.File("f.brf"), listPath = dir.File("f.vrsm");
    ASSERT_EQ(S_OK, WriteRefLibFile(libPath.c_str(), common.Get(), refs));
    ASSERT_EQ(S_OK, WriteRefListFile(listPath.c_str(), common.Get(), refs[0], 1));
    const std::string lib = ReadWholeFile(libPath), list = ReadWholeFile(listPath);
    TestRandom random(7);
    for (int round = 0; round < 150; ++round) {
        std::string bytes = lib, listBytes = list;
        for (int k = 0; k < 4; ++k) {
            bytes[random.Below(static_cast<unsigned>(bytes.size()))] ^= static_cast<char>(1 << random.Below(8));
            listBytes[random.Below(static_cast<unsigned>(listBytes.size()))] ^= static_cast<char>(1 << random.Below(8));
        }
        const std::string p1 = dir.File("x" + std::to_string(round) + ".brf");
        const std::string p2 = dir.File("x" + std::to_string(round) + ".vrsm");
        ASSERT_TRUE(WriteWholeFile(p1, bytes));
        ASSERT_TRUE(WriteWholeFile(p2, listBytes));
        ComPtr<IBibleRefLib> l;
        if (SUCCEEDED(OpenBibleRefLib(p1.c_str(), &converter, l.Put()))) {
            int out[16];
            unsigned count = 0;
            for (int v = 0; v < 31; ++v) {
                l->GetVerseRefs(common.Get(), 0, 0, v, out, 16, &count);
                ASSERT_LE(count, 16u);
            }
            l->LoadRefs(common.Get(), 0, -1);
            l->UnloadRefs(common.Get(), 0, -1);
        }
        ComPtr<IRefList> r;
        if (SUCCEEDED(OpenRefListFile(p2.c_str(), r.Put()))) {
            int n = 0, h = 0;
            r->GetCount(&n);
            for (int i = 0; i < 4; ++i) r->GetRef(i, &h);
        }
    }
}

class RefListFile : public RefLib {};

TEST_F(RefListFile, ItemsInOrderAndOutOfRange) {
    std::vector<int> items;
    for (int i = 0; i < 10; ++i) items.push_back(i % 3 ? Ref(ch.Get(), i, 0, i) : Ref(ch.Get(), i, 0, 0, i, 0, 3));
    const std::string path = dir.File("manna.vrsm");
    ASSERT_EQ(S_OK, WriteRefListFile(path.c_str(), common.Get(), items, 4));
    ComPtr<IRefList> list;
    ASSERT_EQ(S_OK, OpenRefListFile(path.c_str(), list.Put()));
    int count = 0;
    EXPECT_EQ(S_OK, list->GetCount(&count));
    EXPECT_EQ(10, count);
    for (int i : {0, 1, 5, 4, 9, 3, 8}) {
        int h = 0;
        EXPECT_EQ(S_OK, list->GetRef(i, &h));
        EXPECT_EQ(items[i], h) << i;
    }
    int h = 5;
    EXPECT_EQ(E_INVALIDARG, list->GetRef(10, &h));
    EXPECT_EQ(0, h);
    EXPECT_EQ(E_INVALIDARG, list->GetRef(-1, &h));
    EXPECT_EQ(E_POINTER, list->GetRef(0, nullptr));
    ComPtr<IBibleStat> stat;
    EXPECT_EQ(S_OK, list->GetBibleStat(stat.Put()));
    GUID id = {};
    stat->GetGuid(&id, FALSE);
    EXPECT_TRUE(IsEqualGUID(kProtestantIdentity, id));
    EXPECT_EQ(E_POINTER, OpenRefListFile(path.c_str(), nullptr));
}

TEST_F(RefListFile, DamagedListsGiveTheirErrors) {
    const std::string path = dir.File("list.vrsm");
    ASSERT_EQ(S_OK, WriteRefListFile(path.c_str(), common.Get(), {Ref(ch.Get(), 0, 0, 0)}, 4));
    const std::string good = ReadWholeFile(path);
    ComPtr<IRefList> list;
    ASSERT_TRUE(WriteWholeFile(path, good.substr(0, good.size() - 3)));
    EXPECT_EQ(E_UNEXPECTED, OpenRefListFile(path.c_str(), list.Put()));
    ASSERT_TRUE(WriteWholeFile(path, WithValueAt<INT16>(good, good.size() - 8, -3)));
    EXPECT_EQ(E_UNEXPECTED, OpenRefListFile(path.c_str(), list.Put()));
    ASSERT_TRUE(WriteWholeFile(path, WithValueAt<WORD>(good, good.size() - 6, 0)));
    EXPECT_EQ(E_UNEXPECTED, OpenRefListFile(path.c_str(), list.Put()));

    // A count of one over no entry at all, and over an empty first entry: more items than
    // the list holds.
    list.Reset();
    ASSERT_EQ(S_OK, WriteRefListFile(path.c_str(), common.Get(), {}, 4));
    ASSERT_TRUE(WriteWholeFile(path, WithValueAt<INT32>(ReadWholeFile(path), ReadWholeFile(path).size() - 4, 1)));
    EXPECT_EQ(E_UNEXPECTED, OpenRefListFile(path.c_str(), list.Put()));
    ASSERT_EQ(S_OK, WriteRefListFile(path.c_str(), common.Get(), {Ref(ch.Get(), 0, 0, 0)}, 4));
    const std::string one = ReadWholeFile(path);
    // The container's one entry made empty: its second offset (form byte, header, two bytes
    // of data, one block base, the first offset) brought back to the start.
    ASSERT_TRUE(WriteWholeFile(path, WithValueAt<WORD>(one, 1 + 20 + 2 + 4 + 2, 0)));
    EXPECT_EQ(E_UNEXPECTED, OpenRefListFile(path.c_str(), list.Put()));
    int h = 0;

    // An entry longer than 256 bytes.
    list.Reset();
    std::vector<int> long70(70, Ref(ch.Get(), 0, 0, 0, 0, 9, 0));
    ASSERT_EQ(E_INVALIDARG, WriteRefListFile(path.c_str(), common.Get(), long70, 70));
    ASSERT_EQ(S_OK, WriteRefListFile(path.c_str(), common.Get(), long70, 70, false));
    ASSERT_EQ(S_OK, OpenRefListFile(path.c_str(), list.Put()));
    EXPECT_EQ(E_UNEXPECTED, list->GetRef(0, &h));
}

// The library the build makes from the WEB's cross-reference notes (data/reflibs/WEB.brf),
// checked against the notes it was made from and against a few known references.
TEST(WebRefLib, AnswersTheNotesItWasMadeFrom) {
    const std::string data = std::string(VERSILO_BINARY_DIR) + "/data/";
    ComPtr<IBibleRefLib> lib;
    ASSERT_EQ(S_OK, OpenBibleRefLibFile((data + "reflibs/WEB.brf").c_str(), lib.Put()));
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> h;
    ASSERT_EQ(S_OK, BuildProtestantStat(stat.Put()));
    ASSERT_EQ(S_OK, stat.As(IID_IBibleHandles, &h));
    char name[32];
    lib->GetName(name, sizeof name);
    EXPECT_STREQ("WEB", name);

    auto refs = [&](int b, int c, int v) {
        int out[128];
        unsigned count = 0;
        EXPECT_EQ(S_OK, lib->GetVerseRefs(stat.Get(), b - 1, c - 1, v - 1, out, 128, &count));
        return std::vector<int>(out, out + count);
    };
    auto verse = [&](int b, int c, int v) {
        int r = 0;
        h->MakeRef(&r, b - 1, c - 1, v - 1);
        return r;
    };
    EXPECT_EQ(std::vector<int>({verse(23, 7, 14)}), refs(40, 1, 23));  // Matthew 1:23: Isaiah 7:14
    EXPECT_EQ(std::vector<int>({verse(33, 5, 2)}), refs(40, 2, 6));    // Matthew 2:6: Micah 5:2
    EXPECT_EQ(std::vector<int>({verse(2, 30, 12)}), refs(12, 12, 4));  // 2 Kings 12:4: Exodus 30:12

    // Every note: its verse answers its targets, in order.
    std::ifstream in(data + "web/xrefs.txt");
    ASSERT_TRUE(in);
    std::string line;
    std::vector<std::vector<int>> expected(stat->GetVerseCount());
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        int b = 0, c = 0, v = 0;
        fields >> b >> c >> v;
        std::string target;
        while (fields >> target) {
            int handle = 0;
            ASSERT_EQ(S_OK, ParseNormalisedRef(h.Get(), target.c_str(), &handle)) << line;
            expected[stat->RefToVerseIndex(b - 1, c - 1, v - 1)].push_back(handle);
        }
    }
    int notes = 0;
    for (int i = 0; i < stat->GetVerseCount(); ++i) {
        int b, c, v;
        stat->VerseIndexToRef(i, &b, &c, &v);
        int out[128];
        unsigned count = 0;
        const HRESULT hr = lib->GetVerseRefs(stat.Get(), b, c, v, out, 128, &count);
        ASSERT_EQ(expected[i].empty() ? S_FALSE : S_OK, hr) << i;
        ASSERT_EQ(expected[i], std::vector<int>(out, out + count)) << i;
        notes += expected[i].empty() ? 0 : 1;
    }
    EXPECT_GT(notes, 300);
}

}  // namespace
