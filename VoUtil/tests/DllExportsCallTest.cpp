// The exports called through VoUtil.dll itself, as the programs bind them: a container
// written and read back, and the Norwegian statistics built, saved, reopened and used.
#include <gtest/gtest.h>
#include "VoUtil.h"
#include "NorwegianNames.h"
#include "TestFiles.h"

namespace {

TEST(VoUtilDll, IndexedDataThroughTheDll) {
    TempDir dir;
    std::string path = dir.File("data.idx");
    {
        ComPtr<ICreateIndexedData> w;
        ASSERT_EQ(S_OK, CreateIndexedDataFile(path.c_str(), TRUE, 2, w.Put()));
        ASSERT_EQ(S_OK, w->Write("abc", 3, nullptr));
        ASSERT_EQ(S_OK, w->EndEntry(500));
    }
    ComPtr<IIndexedData> r;
    ASSERT_EQ(S_OK, OpenIndexedDataFile(path.c_str(), r.Put()));
    int count = 0;
    ASSERT_EQ(S_OK, r->GetCount(&count));
    EXPECT_EQ(501, count);
    char buf[3];
    ASSERT_EQ(S_OK, r->ReadEntry(500, 0, buf, 3));
    EXPECT_EQ("abc", std::string(buf, 3));
}

TEST(VoUtilDll, StatisticsAndLanguageThroughTheDll) {
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, BuildProtestantStat(stat.Put()));
    ComPtr<IBibleLangStat> built;
    ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat.Get(), built.Put()));
    ComPtr<IStream> s = MemoryStream();
    ASSERT_EQ(S_OK, built->SaveWithLanguage(s.Get()));
    ComPtr<IStream> copy = MemoryStream(StreamBytes(s.Get()));
    ComPtr<IBibleLangStat> lang;
    ASSERT_EQ(S_OK, OpenLangStat(copy.Get(), lang.Put()));
    ComPtr<IBibleStat> found;
    ASSERT_EQ(S_OK, FindBibleStat(&kProtestantIdentity, found.Put()));
    EXPECT_EQ(31102, found->GetVerseCount());

    std::string text = "Joh 3:16-18";
    char* cursor = &text[0];
    int h = 0;
    ASSERT_EQ(S_OK, lang->ParseRef(&cursor, &h, nullptr));
    char buf[kFormatRefBufferSize];
    ASSERT_EQ(S_OK, lang->FormatRef(buf, h, 0, 0, 0, TRUE));
    EXPECT_STREQ("Joh 3:16-18.", buf);
}

}  // namespace
