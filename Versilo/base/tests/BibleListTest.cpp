// Building the installed-bible list: what a fresh registry key gets, what cached names and
// settings spare, damaged and unlisted files, sorting, and the captions of positions.
#include <vector>
#include "BibleInfoList.h"
#include "BibleListFixture.h"

namespace {

class BibleListTest : public BibleListTestBase {};

std::vector<std::string> ShortNames(const VoBibleInfoList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetAt(i).GetShortName());
    return names;
}

}  // namespace

TEST_F(BibleListTest, AFreshKeyOpensEachBibleAndCachesItsNamesAndSettings) {
    WriteBible("alfa.vrsb", "ALFA", "Alfa-bibelen", 10, true);
    WriteBible("beta.vrsb", "Beta", "Beta-bibelen", 11, false);  // no section titles
    VoBibleInfoList list;
    ASSERT_EQ(2, list.GetCount());
    const VoBibleInfo& alfa = list.GetAt(0);
    EXPECT_STREQ("alfa.vrsb", alfa.GetFileName());
    EXPECT_STREQ("Alfa-bibelen", alfa.GetName());
    EXPECT_EQ(10u, alfa.GetSettings());
    EXPECT_TRUE(alfa.HasHeaders());
    EXPECT_EQ(10, StoredDword("alfa", "Settings"));
    EXPECT_EQ(1, StoredDword("alfa", "HasHeaders"));
    EXPECT_EQ("ALFA", StoredString("bibles\\alfa", "ShortName"));
    EXPECT_EQ("Alfa-bibelen", StoredString("bibles\\alfa", "LongName"));
    // Without section titles headings are never shown, though the stored bit says so.
    const VoBibleInfo& beta = list.GetAt(1);
    EXPECT_FALSE(beta.HasHeaders());
    EXPECT_FALSE(beta.TestFlagBit0());
    EXPECT_TRUE(beta.TestFlagBit1());
    EXPECT_EQ(11, StoredDword("beta", "Settings"));
    EXPECT_EQ(0, StoredDword("beta", "HasHeaders"));
}

TEST_F(BibleListTest, StoredSettingsDecideWhetherTheBibleIsOpened) {
    // Display value 10 (marker 8); every case but the current layout with names stored
    // opens the file, whose names are "Fil" and "Filens navn".
    const struct {
        const char* what;
        DWORD stored;
        bool namesStored;
        DWORD settings;
        const char* shortName;
    } cases[] = {
        {"current layout", 9, true, 9, "Lagret"},
        {"current layout, names missing", 9, false, 9, "Fil"},
        {"marker 4: bits 0-1 kept", 5, true, 9, "Lagret"},
        {"marker 16: bits 0-3 kept", 0x13, true, 3, "Lagret"},
        {"nothing set", 0, true, 10, "Lagret"},
        {"marker 1", 1, true, 10, "Lagret"},
    };
    for (const auto& c : cases) {
        SetUp();
        WriteBible("fil.vrsb", "Fil", "Filens navn", 10, true);
        if (c.namesStored) StoreCached("fil", c.stored, "Lagret", "Lagret navn", 1);
        else StoreCached("fil", c.stored, nullptr, nullptr, 1);
        VoBibleInfoList list;
        ASSERT_EQ(1, list.GetCount()) << c.what;
        EXPECT_EQ(c.settings, list.GetAt(0).GetSettings()) << c.what;
        EXPECT_STREQ(c.shortName, list.GetAt(0).GetShortName()) << c.what;
        EXPECT_EQ(c.settings, StoredDword("fil", "Settings")) << c.what;
    }
}

TEST_F(BibleListTest, CachedNamesKeepADamagedBibleListed) {
    WriteDamaged("skadet.vrsb");
    StoreCached("skadet", 9, "SKADET", "Skadet bibel", 0);
    WriteDamaged("ukjent.vrsb");  // nothing cached: no name, not listed
    WriteBible("god.vrsb", "GOD", "God bibel");
    VoBibleInfoList list;
    ASSERT_EQ(2, list.GetCount());
    EXPECT_STREQ("GOD", list.GetAt(0).GetShortName());
    VoBibleInfo& damaged = list.GetAt(1);
    EXPECT_STREQ("SKADET", damaged.GetShortName());
    EXPECT_STREQ("Skadet bibel", damaged.GetName());
    // Headings are cleared in the record only: the stored 9 stays.
    EXPECT_EQ(8u, damaged.GetSettings());
    EXPECT_EQ(9, StoredDword("skadet", "Settings"));
    // It says so when opened, on every try.
    EXPECT_EQ(nullptr, damaged.GetBible());
    EXPECT_EQ(nullptr, damaged.GetBible());
    char caption[64];
    EXPECT_FALSE(list.FormatPosition(1, 0, 0, true, caption, sizeof(caption)));
    EXPECT_STREQ("", caption);
    IBible* good = list.GetAt(0).GetBible();
    ASSERT_NE(nullptr, good);
    IBible* again = list.GetAt(0).GetBible();
    EXPECT_EQ(good, again);
    again->Release();
    good->Release();
}

TEST_F(BibleListTest, SortsByShortNameIgnoringCaseAndKeepsScanOrderForTies) {
    WriteBible("b1.vrsb", "kjv");
    WriteBible("b2.vrsb", "Beta");
    WriteBible("b3.vrsb", "KJV");
    WriteBible("b4.vrsb", "alfa");
    WriteBible("b5.vrsb", "Kjv");
    WriteBible("Bibel \xE6\xF8\xE5.vrsb", "\xC6\xD8\xC5", "\xC6rlig \xF8ye \xE5r");
    WriteBible(std::string(26, 'n') + ".vrsb", "Lang");  // 31 characters: listed
    WriteBible(std::string(27, 'n') + ".vrsb", "Lengre");  // 32: never listed
    VoBibleInfoList list;
    ASSERT_EQ(7, list.GetCount());
    std::vector<std::string> names = ShortNames(list);
    EXPECT_EQ("alfa", names[0]);
    EXPECT_EQ("Beta", names[1]);
    EXPECT_EQ("Lang", names[5]);
    EXPECT_EQ("\xC6\xD8\xC5", names[6]);
    // The three "KJV" in the order the directory listed their files.
    char scanned[16][kListedNameSize];
    int count = ScanDirectory(Bibles().c_str(), "vrsb", scanned, 16);
    std::vector<std::string> kjvFiles;
    for (int i = 0; i < count; ++i) {
        std::string f = scanned[i];
        if (f == "b1.vrsb" || f == "b3.vrsb" || f == "b5.vrsb") kjvFiles.push_back(f);
    }
    ASSERT_EQ(3u, kjvFiles.size());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(kjvFiles[static_cast<size_t>(i)], list.GetAt(2 + i).GetFileName());
    // The names with æ, ø and å have their own key.
    EXPECT_EQ("\xC6rlig \xF8ye \xE5r", StoredString("bibles\\Bibel \xE6\xF8\xE5", "LongName"));
}

TEST_F(BibleListTest, AnUnknownNameFindsTheEnd) {
    {
        VoBibleInfoList empty;
        EXPECT_EQ(0, empty.GetCount());
        EXPECT_EQ(empty.End(), empty.FindByShortName("KJV"));
        EXPECT_EQ(empty.End(), empty.FindDefaultBible());
    }
    WriteBible("b.vrsb", "Bet");
    WriteBible("d.vrsb", "Dal");
    VoBibleInfoList list;
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ(0, list.FindByShortName("BET"));
    EXPECT_EQ(1, list.FindByShortName("dal"));
    // Before, between and after the installed names, and prefixes of them.
    for (const char* unknown : {"Alf", "Cim", "Eks", "", "Be", "Bett"})
        EXPECT_EQ(list.End(), list.FindByShortName(unknown)) << unknown;
    EXPECT_EQ(list.End(), list.FindByShortName(nullptr));
}

TEST_F(BibleListTest, TheDefaultBibleIsTheOneNamedOrTheFirstThatOpens) {
    WriteDamaged("a.vrsb");
    StoreCached("a", 9, "Alf", "Skadet", 1);
    WriteBible("b.vrsb", "Bet");
    {
        VoBibleInfoList list;
        // No "KV61/04BM": the first bible that opens, past the damaged one.
        EXPECT_EQ(1, list.FindDefaultBible());
    }
    WriteBible("kv.vrsb", "KV61/04BM", "Norsk bibel");
    {
        VoBibleInfoList list;
        ASSERT_EQ(3, list.GetCount());
        EXPECT_EQ(2, list.FindDefaultBible());
    }
    DeleteFileA((Bibles() + "b.vrsb").c_str());
    WriteDamaged("kv.vrsb");
    VoBibleInfoList none;
    ASSERT_EQ(2, none.GetCount());
    EXPECT_EQ(none.End(), none.FindDefaultBible());
}

TEST_F(BibleListTest, CaptionsOfPositionsOnTheKjv) {
    if (!CopyFromBuild(VERSILO_KJV_BIBLE, Bibles() + "KJV.vrsb")) GTEST_SKIP() << "no KJV sample bible";
    VoBibleInfoList list;
    ASSERT_EQ(1, list.GetCount());
    const struct {
        int book, chapter;
        bool withName;
        const char* caption;
    } cases[] = {
        {-1, -1, false, "bokoversikt for King James Version (1769)"},
        {-1, -1, true, "bokoversikt for King James Version (1769)"},
        {0, -1, false, "kapitteloversikt for F\xF8rste Mosebok"},
        {42, -1, true, "KJV kapitteloversikt for Johannes"},
        {0, 0, false, "1 Mos 1"},
        {18, 118, true, "KJV Sal 119"},
    };
    for (const auto& c : cases) {
        char caption[128];
        EXPECT_TRUE(list.FormatPosition(0, c.book, c.chapter, c.withName, caption, sizeof(caption)));
        EXPECT_STREQ(c.caption, caption) << c.book << "/" << c.chapter;
    }
    // Every size: terminated, never past the buffer; the name only when it fits with room.
    for (int size = 1; size <= 16; ++size) {
        char buffer[32];
        memset(buffer, '#', sizeof(buffer));
        list.FormatPosition(0, 18, 118, true, buffer, size);
        EXPECT_EQ('#', buffer[size]) << size;
        ASSERT_NE(nullptr, memchr(buffer, 0, static_cast<size_t>(size))) << size;
        std::string got = buffer;
        std::string expected = size > 4 ? std::string("KJV Sal 119").substr(0, static_cast<size_t>(size) - 1)
                                        : std::string("Sal 119").substr(0, static_cast<size_t>(size) - 1);
        EXPECT_EQ(expected, got) << size;
    }
    char buffer[8] = "x";
    EXPECT_FALSE(list.FormatPosition(1, -1, -1, false, buffer, sizeof(buffer)));
    EXPECT_FALSE(list.FormatPosition(0, 99, 0, false, buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
}
