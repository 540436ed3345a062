// The sample bible the build makes, Bibles/KJV.vrsb: every verse reads back as the
// importer wrote it, the psalm titles and Psalm 119's headings are section titles, the
// colophons verse notes, and the names and description are those of the build. Skipped
// when the importer's output is missing (no KJV module on the machine).
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "TextUtilsBinding.h"
#include "NorwegianNames.h"
#include "ComPtr.h"
#include <cstring>
#include <cstdio>

namespace {

std::string BuildFile(const char* relative) {
    char folder[MAX_PATH];
    if (!GetOwnModuleFolder(folder, MAX_PATH)) return std::string();
    return std::string(folder) + relative;  // the tests folder lies in the build folder
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class KjvBibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = BuildFile("..\\bin\\Bibles\\KJV.vrsb");
        corpus = BuildFile("..\\data\\kjv\\verses.txt");
        if (!FileExists(path) || !FileExists(corpus)) GTEST_SKIP() << "no KJV sample bible in the build";
        ASSERT_EQ(S_OK, OpenNewBibleFile(path.c_str(), bible.Put()));
    }
    std::string path, corpus;
    ComPtr<INewBible> bible;
};

TEST_F(KjvBibleTest, EveryVerseReadsBackAsImported) {
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, bible->GetBibleStat(stat.Put()));
    ASSERT_EQ(31102, stat->GetVerseCount());
    std::ifstream in(corpus, std::ios::binary);
    std::string line;
    int lines = 0, differ = 0;
    std::vector<char> buf(4096);
    while (std::getline(in, line)) {
        int b = 0, c = 0, v = 0, used = 0;
        ASSERT_EQ(3, sscanf(line.c_str(), "%d\t%d\t%d\t%n", &b, &c, &v, &used)) << line;
        ASSERT_EQ(S_OK, bible->GetVerseText(b - 1, c - 1, v - 1, TRUE, buf.data(), static_cast<int>(buf.size())));
        if (line.compare(static_cast<size_t>(used), std::string::npos, buf.data()) != 0 && ++differ <= 5)
            ADD_FAILURE() << b << " " << c << ":" << v << "\n  imported: " << line.substr(used)
                          << "\n  read:     " << buf.data();
        ++lines;
    }
    EXPECT_EQ(31102, lines);
    EXPECT_EQ(0, differ);
}

TEST_F(KjvBibleTest, TitlesNotesNamesAndDescription) {
    constexpr int kPsalms = 18, kRomans = 44;
    char buf[512];
    EXPECT_EQ(S_OK, bible->GetSectionTitle(kPsalms, 2, 0, buf, sizeof buf));
    EXPECT_STREQ("A Psalm of David, when he fled from Absalom his son.", buf);
    EXPECT_EQ(S_OK, bible->GetSectionTitle(kPsalms, 118, 8, buf, sizeof buf));
    EXPECT_STREQ("BETH.", buf);
    EXPECT_EQ(S_FALSE, bible->HasSectionTitle(kPsalms, 118, 1));
    EXPECT_EQ(S_OK, bible->GetChapterSummary(kPsalms, 2, buf, sizeof buf));
    EXPECT_STREQ("A Psalm of David, when he fled from Absalom his son.", buf);
    // Sections are added while more than 32 bytes remain.
    EXPECT_EQ(S_OK, bible->GetChapterSummary(kPsalms, 118, buf, 64));
    EXPECT_STREQ("ALEPH, 1-8. BETH, 9-16. GIMEL, 17-24. ", buf);
    EXPECT_EQ(S_OK, bible->HasSectionTitles());
    EXPECT_EQ(S_OK, bible->GetVerseNote(kRomans, 15, 26, buf, sizeof buf));
    EXPECT_STREQ("Written to the Romans from Corinthus, and sent by Phebe servant of the church at Cenchrea.", buf);

    EXPECT_EQ(S_OK, bible->GetBibleName(FALSE, buf, sizeof buf));
    EXPECT_STREQ("KJV", buf);
    EXPECT_EQ(S_OK, bible->GetDescription(buf, sizeof buf));
    EXPECT_NE(nullptr, strstr(buf, "public domain"));
    ComPtr<IBibleLangStat> lang;
    ASSERT_EQ(S_OK, bible->GetLangStat(lang.Put()));
    GUID language;
    lang->GetLanguageGuid(&language);
    EXPECT_TRUE(IsEqualGUID(kNorwegianLanguage, language));
    EXPECT_EQ(S_OK, lang->GetBookName(buf, 0));
    EXPECT_STREQ("1 Mos", buf);
    EXPECT_EQ(S_OK, bible->ReadInfoFile(buf, sizeof buf));
    EXPECT_NE(nullptr, strstr(buf, "public domain"));
}

}  // namespace
