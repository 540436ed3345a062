// The marking store against the real registry of the build's Wine prefix (a scratch
// HKEY_CURRENT_USER) and real ".vrsv" files: saving, loading, refusing what it cannot use,
// and never losing saved markings.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "MarkingsFixture.h"

namespace {

constexpr int kVerses = kProtestantVerseCount;   // 31,102
constexpr UINT kBytes = (kVerses + 31) / 32 * 4;  // 3,888

std::string Le32(UINT32 v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

// A ".vrsv" file: version, N, then the data bytes as given (which may disagree with N).
std::string Vrsv(UINT32 version, UINT32 n, const std::string& data) { return Le32(version) + Le32(n) + data; }

// Data of words words, each 0 but the bits listed.
std::string Words(size_t words, std::initializer_list<int> verses) {
    std::string data(words * 4, '\0');
    for (int v : verses) data[static_cast<size_t>(v / 8)] |= static_cast<char>(1 << (v % 8));
    return data;
}

std::string StoredGreen(ScratchRegistry& registry) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!registry.GetRaw("Green", &type, &data)) return "(missing)";
    if (type != REG_BINARY) return "(type " + std::to_string(type) + ")";
    return std::string(data.begin(), data.end());
}

using MarkedVersesTest = MarkingsTest;

TEST_F(MarkedVersesTest, SaveAndLoadRoundTripThroughTheRegistry) {
    SinkLog sink;
    {
        VoKv61MarkedVerses store;
        ASSERT_EQ(S_OK, store.Load(&sink));
        EXPECT_TRUE(store.HasNumbering());
        EXPECT_EQ(kVerses, store.GetVerseCount());
        EXPECT_TRUE(store.IsVisible());
        EXPECT_TRUE(store.IsEmpty());
        store.SetMarked(0, true);
        store.SetMarked(kVerses - 1, true);
        store.SetMarked(kVerses - 1, true);  // no change, no notification
        store.SetMarked(kVerses, true);      // no verse
        store.SetMarked(-1, true);
        store.SetVisible(false);
        EXPECT_EQ(2, sink.changed);
        EXPECT_EQ(1, sink.visibility);
        EXPECT_EQ(S_OK, store.Save());
        EXPECT_FALSE(store.IsDirty());
        EXPECT_EQ(S_FALSE, store.Save());
    }
    std::string green = StoredGreen(registry);
    ASSERT_EQ(kBytes, green.size());
    EXPECT_EQ(Words(kBytes / 4, {0, kVerses - 1}), green);
    DWORD type = 0;
    std::vector<BYTE> visible;
    ASSERT_TRUE(registry.GetRaw("GreenIsVisible", &type, &visible));
    EXPECT_EQ(std::string(4, '\0'), std::string(visible.begin(), visible.end()));

    VoKv61MarkedVerses again;
    ASSERT_EQ(S_OK, again.Load(nullptr));
    EXPECT_EQ((std::set<int>{0, kVerses - 1}), MarkedIn(again.GetBits()));
    EXPECT_FALSE(again.IsVisible());
    EXPECT_FALSE(again.IsDirty());
}

TEST_F(MarkedVersesTest, LoadTakesOnlyUsableValuesAndAnUnchangedStoreWritesNothing) {
    std::string full = Words(kBytes / 4, {5});
    full.replace(kBytes - 4, 4, Le32(0xFFFFFFFFu));  // the last 30 verses and two padding bits
    std::set<int> lastWord = {5};
    for (int v = kVerses - 30; v < kVerses; ++v) lastWord.insert(v);
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        std::set<int> marked;
    };
    const Case cases[] = {
        {"shorter: the rest stays unmarked", REG_BINARY, Words(1, {4, 31}), {4, 31}},
        {"a partial word", REG_BINARY, std::string("\0\0\0\0\x02", 5), {33}},
        {"padding bits are no verses", REG_BINARY, full, lastWord},
        {"longer than the numbering", REG_BINARY, full + Le32(1), {}},
        {"another type", REG_DWORD, Le32(1), {}},
    };
    for (const Case& c : cases) {
        registry.SetRaw("Green", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        {
            VoKv61MarkedVerses store;
            ASSERT_EQ(S_OK, store.Load(nullptr)) << c.what;
            EXPECT_EQ(c.marked, MarkedIn(store.GetBits())) << c.what;
            EXPECT_EQ(-1, store.GetBits().FindNext(kVerses - 1)) << c.what;
            // Whatever the store holds, without a change nothing is written back.
            RegDeleteValueA(registry.AppKey(), "Green");
        }
        EXPECT_EQ("(missing)", StoredGreen(registry)) << c.what;
    }
}

TEST_F(MarkedVersesTest, AFailedSaveStaysDirtyAndTheNextSaveWrites) {
    VoKv61MarkedVerses store;
    ASSERT_EQ(S_OK, store.Load(nullptr));
    store.SetMarked(12, true);
    // The registry key under the settings disappears: nothing can be written.
    RegDeleteTreeA(registry.Root(), nullptr);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(registry.Root(), ""));
    EXPECT_TRUE(FAILED(store.Save()));
    EXPECT_TRUE(store.IsDirty());

    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ScratchRegistry fresh;
    ASSERT_TRUE(fresh.Ready());
    EXPECT_EQ(S_OK, store.Save());
    EXPECT_FALSE(store.IsDirty());
    EXPECT_EQ(Words(kBytes / 4, {12}), StoredGreen(fresh));
}

TEST_F(MarkedVersesTest, WithoutTheReferenceNumberingTheSavedMarkingsStay) {
    const std::string saved = Words(2, {3, 40});
    registry.SetRaw("Green", REG_BINARY, saved.data(), static_cast<DWORD>(saved.size()));
    ASSERT_TRUE(DeleteFileA(ReferenceFile().c_str()));
    TempDir dir;
    SinkLog sink;
    {
        VoKv61MarkedVerses store;
        EXPECT_TRUE(FAILED(store.Load(&sink)));
        EXPECT_FALSE(store.HasNumbering());
        EXPECT_EQ(0, store.GetVerseCount());
        EXPECT_FALSE(store.IsMarked(3)) << "the registry is not read";
        store.SetMarked(3, true);
        EXPECT_FALSE(store.IsMarked(3));
        EXPECT_EQ(0, sink.changed);
        // Commands still run: clearing and importing an empty file make the store dirty.
        store.ClearAll();
        ASSERT_TRUE(WriteWholeFile(dir.File("empty.vrsv"), Vrsv(1, 0, "")));
        EXPECT_TRUE(store.Import(dir.File("empty.vrsv").c_str(), false));
        ASSERT_TRUE(WriteWholeFile(dir.File("one.vrsv"), Vrsv(1, 4, Words(1, {3}))));
        EXPECT_FALSE(store.Import(dir.File("one.vrsv").c_str(), true));
        EXPECT_TRUE(store.Export(dir.File("out.vrsv").c_str()));
        EXPECT_EQ(Vrsv(1, 0, ""), ReadWholeFile(dir.File("out.vrsv")));
        EXPECT_TRUE(store.IsDirty());
        EXPECT_EQ(S_OK, store.Save());
    }
    EXPECT_EQ(saved, StoredGreen(registry));
}

TEST_F(MarkedVersesTest, TwoStoresEachSaveOnlyWhatTheyChanged) {
    // Two main windows: each loads the markings once and saves them when it closes, in
    // either order. Stored before: verses 1, 2 and 3.
    TempDir dir;
    const std::string five = dir.File("five.vrsv");
    ASSERT_TRUE(WriteWholeFile(five, Vrsv(1, 4, Words(1, {5}))));
    using Change = void (*)(VoKv61MarkedVerses&, const std::string& file);
    struct Case {
        const char* what;
        Change first, second;
        std::set<int> stored;
    };
    const Case cases[] = {
        {"each marks and unmarks verses of its own",
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(10, true); s.SetMarked(1, false); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(20, true); s.SetMarked(2, false); },
         {3, 10, 20}},
        {"both mark the same verse", [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(30, true); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(30, true); }, {1, 2, 3, 30}},
        {"a verse unmarked by one and left by the other",
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(3, false); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(40, true); }, {1, 2, 40}},
        {"a verse changed and changed back is no change",
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(2, false); s.SetMarked(2, true); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(2, false); }, {1, 3}},
        {"clearing every marking clears what was loaded",
         [](VoKv61MarkedVerses& s, const std::string&) { s.ClearAll(); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(20, true); }, {20}},
        {"an import that replaces",
         [](VoKv61MarkedVerses& s, const std::string& file) { s.Import(file.c_str(), false); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(20, true); }, {5, 20}},
        {"an import that merges",
         [](VoKv61MarkedVerses& s, const std::string& file) { s.Import(file.c_str(), true); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(1, false); }, {2, 3, 5}},
        {"markings only hidden", [](VoKv61MarkedVerses& s, const std::string&) { s.SetVisible(false); },
         [](VoKv61MarkedVerses& s, const std::string&) { s.SetMarked(20, true); }, {1, 2, 3, 20}},
    };
    const std::string before = Words(kBytes / 4, {1, 2, 3});
    for (const Case& c : cases) {
        for (const bool firstSavesFirst : {true, false}) {
            const std::string what = std::string(c.what) + (firstSavesFirst ? ", first saves first" : ", second saves first");
            registry.SetRaw("Green", REG_BINARY, before.data(), static_cast<DWORD>(before.size()));
            {
                VoKv61MarkedVerses first, second;
                ASSERT_EQ(S_OK, first.Load(nullptr));
                ASSERT_EQ(S_OK, second.Load(nullptr));
                c.first(first, five);
                c.second(second, five);
                EXPECT_EQ(S_OK, (firstSavesFirst ? first : second).Save()) << what;
                EXPECT_EQ(S_OK, (firstSavesFirst ? second : first).Save()) << what;
            }
            VoKv61MarkedVerses after;
            ASSERT_EQ(S_OK, after.Load(nullptr));
            EXPECT_EQ(c.stored, MarkedIn(after.GetBits())) << what;
        }
    }

    // A store that saves twice takes its changes from its last save, and keeps its own bits.
    registry.SetRaw("Green", REG_BINARY, before.data(), static_cast<DWORD>(before.size()));
    VoKv61MarkedVerses first, second;
    ASSERT_EQ(S_OK, first.Load(nullptr));
    ASSERT_EQ(S_OK, second.Load(nullptr));
    first.SetMarked(10, true);
    EXPECT_EQ(S_OK, first.Save());
    second.SetMarked(20, true);
    EXPECT_EQ(S_OK, second.Save());
    first.SetMarked(10, false);
    EXPECT_EQ(S_OK, first.Save());
    EXPECT_EQ((std::set<int>{1, 2, 3}), MarkedIn(first.GetBits()));
    EXPECT_EQ(Words(kBytes / 4, {1, 2, 3, 20}), StoredGreen(registry));
}

TEST_F(MarkedVersesTest, ImportIsAllOrNothing) {
    const std::string wholeWithLast = Words(kBytes / 4, {kVerses - 1});
    std::string padded = Words(kBytes / 4, {});
    padded.replace(kBytes - 4, 4, Le32(0xC0000000u));  // padding bits only
    struct Case {
        const char* what;
        std::string file;
        bool merge;
        bool ok;
        std::set<int> after;  // the store held 7 and 100 before
    };
    const Case cases[] = {
        {"merge of a file that marks 5", Vrsv(1, 4, Words(1, {5})), true, true, {5, 7, 100}},
        {"replace by a shorter file", Vrsv(1, 4, Words(1, {5})), false, true, {5}},
        {"replace by the whole set", Vrsv(1, kBytes, wholeWithLast), false, true, {kVerses - 1}},
        {"replace by an empty file", Vrsv(1, 0, ""), false, true, {}},
        {"a partial last word", Vrsv(1, 5, std::string("\0\0\0\0\x02", 5)), true, true, {7, 33, 100}},
        {"padding bits are dropped", Vrsv(1, kBytes, padded), false, true, {}},
        {"version 2", Vrsv(2, 4, Words(1, {5})), true, false, {7, 100}},
        {"version 0", Vrsv(0, 4, Words(1, {5})), false, false, {7, 100}},
        {"N past the store", Vrsv(1, kBytes + 4, Words(kBytes / 4 + 1, {5})), false, false, {7, 100}},
        {"N past its data", Vrsv(1, 8, Words(1, {5})), false, false, {7, 100}},
        {"header cut short", Le32(1), false, false, {7, 100}},
        {"empty file", "", false, false, {7, 100}},
    };
    TempDir dir;
    const std::string path = dir.File("case.vrsv");
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteWholeFile(path, c.file));
        SinkLog sink;
        VoKv61MarkedVerses store;
        ASSERT_EQ(S_OK, store.Load(&sink));
        store.SetMarked(7, true);
        store.SetMarked(100, true);
        store.Save();
        ASSERT_FALSE(store.IsDirty());
        sink.changed = 0;
        EXPECT_EQ(c.ok, store.Import(path.c_str(), c.merge)) << c.what;
        EXPECT_EQ(c.after, MarkedIn(store.GetBits())) << c.what;
        EXPECT_EQ(c.ok, store.IsDirty()) << c.what;
        EXPECT_EQ(c.ok ? 1 : 0, sink.changed) << c.what;
    }
    VoKv61MarkedVerses store;
    ASSERT_EQ(S_OK, store.Load(nullptr));
    EXPECT_FALSE(store.Import(dir.File("missing.vrsv").c_str(), false));
    EXPECT_FALSE(store.IsDirty());
}

TEST_F(MarkedVersesTest, ExportWritesVersionLengthAndEveryWord) {
    TempDir dir;
    VoKv61MarkedVerses store;
    ASSERT_EQ(S_OK, store.Load(nullptr));
    const std::string path = dir.File("marks.vrsv");
    ASSERT_TRUE(store.Export(path.c_str()));
    const std::string empty = ReadWholeFile(path);
    EXPECT_EQ(std::string("\x01\0\0\0\x30\x0F\0\0", 8), empty.substr(0, 8)) << "version 1, N = 3,888";
    EXPECT_EQ(Vrsv(1, kBytes, Words(kBytes / 4, {})), empty);

    // A new export replaces the old file whole, and reads back into another store.
    store.SetMarked(9, true);
    store.SetMarked(kVerses - 1, true);
    ASSERT_TRUE(store.Export(path.c_str()));
    EXPECT_EQ(Vrsv(1, kBytes, Words(kBytes / 4, {9, kVerses - 1})), ReadWholeFile(path));
    VoKv61MarkedVerses other;
    ASSERT_EQ(S_OK, other.Load(nullptr));
    ASSERT_TRUE(other.Import(path.c_str(), false));
    EXPECT_EQ((std::set<int>{9, kVerses - 1}), MarkedIn(other.GetBits()));

    // No folder: false, and nothing is left behind.
    EXPECT_FALSE(store.Export(dir.File("gone\\marks.vrsv").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("gone").c_str()));
    // A file that cannot be replaced keeps what it held, and no scratch file stays.
    const std::string kept = dir.File("kept.vrsv");
    ASSERT_TRUE(WriteWholeFile(kept, "earlier export"));
    {
        // Open elsewhere, without sharing.
        FileHandle open(CreateFileA(kept.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(open);
        EXPECT_FALSE(store.Export(kept.c_str()));
    }
    EXPECT_EQ("earlier export", ReadWholeFile(kept));
    int files = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(dir.File("*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    EXPECT_EQ(2, files) << "marks.vrsv and kept.vrsv";
}

}  // namespace
