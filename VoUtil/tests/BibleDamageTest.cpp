// Damaged bible files: cut at every byte, a leading record that lies, containers and
// trailer fields that disagree with the statistics, names and descriptions too long for
// their fields, and bytes flipped in a few hundred places. Every open either fails with
// an error and leaves no object behind, or gives a bible whose every text reads safely.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "Unknown.h"
#include "PackedIO.h"
#include "ByteStream.h"
#include "BibleFixture.h"
#include "TestFiles.h"
#include "TestStreams.h"

namespace {

class BibleDamageTest : public ::testing::TestWithParam<BibleFormat> {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        {
            BibleWriter w = SmallBible();
            w.SetSectionTitle(0, "Begynnelsen.");
            w.SetSectionTitle(5, ".Neste", true);
            w.SetVerseNote(2, "Merknad");
            w.SetChapterText(1, "Kapittel");
            std::string error;
            ASSERT_TRUE(w.Build(GetParam(), &good, &error)) << error;
        }
        path = dir.File("skadet.vrsb");
        live = CUnknown::LiveObjects();
    }
    void TearDown() override { CoUninitialize(); }

    // Opens bytes as the format's file; when the open succeeds, reads every text.
    HRESULT OpenBytes(const std::string& bytes) {
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        ComPtr<IBible> bible;
        HRESULT hr = OpenAnyBible(GetParam(), path, bible.Put());
        if (FAILED(hr)) {
            EXPECT_FALSE(bible);
        } else {
            ReadEverything(bible.Get());
        }
        bible.Reset();
        EXPECT_EQ(live, CUnknown::LiveObjects());
        return hr;
    }
    static void ReadEverything(IBible* bible) {
        ComPtr<IBibleStat> stat;
        ASSERT_EQ(S_OK, bible->GetBibleStat(stat.Put()));
        char buf[512];
        for (int b = 0; b < stat->GetBookCount(); ++b) {
            bible->LoadBook(b);
            for (int c = 0; c < stat->GetChaptersInBook(b); ++c) {
                bible->LoadChapter(b, c);
                bible->GetChapterSummary(b, c, buf, sizeof buf);
                for (int v = 0; v < stat->GetVersesInChapter(b, c); ++v) {
                    bible->GetVerseText(b, c, v, FALSE, buf, sizeof buf);
                    bible->GetVerseNote(b, c, v, buf, sizeof buf);
                    bible->GetSectionTitle(b, c, v, buf, sizeof buf);
                    int bb = b, cc = c, vv = v;
                    bible->GetSectionEnd(&bb, &cc, &vv);
                }
                bible->UnloadChapter(b, c);
            }
            bible->UnloadBook(b);
        }
        bible->GetDescription(buf, sizeof buf);
    }

    TempDir dir;
    std::string good, path;
    LONG live = 0;
};

TEST_P(BibleDamageTest, TheGoodFileOpens) {
    EXPECT_EQ(S_OK, OpenBytes(good));
}

TEST_P(BibleDamageTest, CutAtEveryByteFails) {
    // The new format's display value is optional: a cut that drops only it still opens.
    const size_t optional = GetParam() == BibleFormat::kNew ? 1 : 0;
    for (size_t n = 0; n + optional < good.size(); ++n) {
        HRESULT hr = OpenBytes(good.substr(0, n));
        EXPECT_TRUE(FAILED(hr)) << "cut at " << n << " of " << good.size();
    }
}

TEST_P(BibleDamageTest, FlippedBytesNeverCrash) {
    TestRandom random(GetParam() == BibleFormat::kNew ? 4711 : 1729);
    int opened = 0, refused = 0;
    for (int i = 0; i < 300; ++i) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random.Below(3));
        for (int f = 0; f < flips; ++f) {
            size_t at = random.Below(static_cast<unsigned>(bytes.size()));
            bytes[at] = static_cast<char>(bytes[at] ^ static_cast<char>(1u << random.Below(8)));
        }
        if (random.Below(4) == 0) bytes.resize(random.Below(static_cast<unsigned>(bytes.size())));
        (SUCCEEDED(OpenBytes(bytes)) ? opened : refused)++;
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(300, opened + refused);
}

INSTANTIATE_TEST_SUITE_P(Formats, BibleDamageTest, ::testing::Values(BibleFormat::kOld, BibleFormat::kNew),
                         [](const ::testing::TestParamInfo<BibleFormat>& i) { return FormatName(i.param); });

// ---- Crafted files ---------------------------------------------------------------------

class CraftedBibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        live = CUnknown::LiveObjects();
    }
    void TearDown() override {
        EXPECT_EQ(live, CUnknown::LiveObjects());
        CoUninitialize();
    }
    HRESULT OpenOld(const std::string& bytes) {
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        ComPtr<IBible> b;
        HRESULT hr = OpenBibleFile(path.c_str(), b.Put());
        EXPECT_EQ(FAILED(hr), !b);
        return hr;
    }
    HRESULT OpenNew(const std::string& bytes) {
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        ComPtr<INewBible> b;
        HRESULT hr = OpenNewBibleFile(path.c_str(), b.Put());
        EXPECT_EQ(FAILED(hr), !b);
        return hr;
    }
    // An old-format file over the small numbering with the given entry counts of its
    // four containers and trailer fields.
    static std::string OldFile(int verses, int titles, int notes, int chapters, const std::string& longName = "L",
                               const std::string& shortName = "S", const std::string& description = "D") {
        ComPtr<IStream> s = ComPtr<IStream>::Attach(ByteStream::Create());
        ComPtr<IStream> next(s.Get());
        for (int count : {verses, titles, notes, chapters}) {
            ComPtr<ICreateIndexedData> w;
            EXPECT_EQ(S_OK, CreateIndexedDataOnStream(next.Get(), FALSE, count, w.Put()));
            if (count > 0) {
                EXPECT_EQ(S_OK, w->EndEntry(count - 1));
            }
            EXPECT_EQ(S_OK, w->GetTrailingStream(next.Put()));
        }
        EXPECT_EQ(S_OK, WriteCountedString(next.Get(), longName.data(), static_cast<unsigned>(longName.size())));
        EXPECT_EQ(S_OK, WriteCountedString(next.Get(), shortName.data(), static_cast<unsigned>(shortName.size())));
        EXPECT_EQ(S_OK, SmallLangStat()->SaveWithLanguage(next.Get()));
        EXPECT_EQ(S_OK,
                  WriteCountedString(next.Get(), description.data(), static_cast<unsigned>(description.size())));
        return static_cast<ByteStream*>(s.Get())->Bytes();
    }

    TempDir dir;
    std::string path = dir.File("laget.bib");
    LONG live = 0;
};

TEST_F(CraftedBibleTest, ContainersThatDisagreeWithTheStatisticsAreRefused) {
    // The small numbering has 18 verses in 6 chapters.
    EXPECT_EQ(S_OK, OpenOld(OldFile(18, 18, 18, 6)));
    EXPECT_EQ(S_OK, OpenOld(OldFile(18, 0, 3, 0)));  // fewer titles and notes: the rest are empty
    EXPECT_EQ(E_UNEXPECTED, OpenOld(OldFile(10, 0, 0, 0)));  // a text for each verse, or none fits
    EXPECT_EQ(E_UNEXPECTED, OpenOld(OldFile(19, 0, 0, 0)));
    EXPECT_EQ(E_UNEXPECTED, OpenOld(OldFile(18, 19, 0, 0)));
    EXPECT_EQ(E_UNEXPECTED, OpenOld(OldFile(18, 0, 19, 0)));
    EXPECT_EQ(E_UNEXPECTED, OpenOld(OldFile(18, 0, 0, 7)));
}

TEST_F(CraftedBibleTest, NamesAndDescriptionsLongerThanTheirFieldsAreRefused) {
    EXPECT_EQ(S_OK, OpenOld(OldFile(18, 0, 0, 0, std::string(63, 'l'), std::string(15, 's'),
                                    std::string(4095, 'd'))));
    EXPECT_EQ(E_INVALIDARG, OpenOld(OldFile(18, 0, 0, 0, std::string(64, 'l'))));
    EXPECT_EQ(E_INVALIDARG, OpenOld(OldFile(18, 0, 0, 0, "L", std::string(16, 's'))));
    EXPECT_EQ(E_INVALIDARG, OpenOld(OldFile(18, 0, 0, 0, "L", "S", std::string(4096, 'd'))));

    // The writer refuses what the reader would refuse.
    BibleWriter w = SmallBible();
    std::string bytes, error;
    w.SetNames(std::string(64, 'l'), "S");
    EXPECT_FALSE(w.Build(BibleFormat::kNew, &bytes, &error));
    w.SetNames("L", std::string(16, 's'));
    EXPECT_FALSE(w.Build(BibleFormat::kOld, &bytes, &error));
    w.SetNames("L", "S");
    w.SetDescription(std::string(4096, 'd'));
    EXPECT_FALSE(w.Build(BibleFormat::kNew, &bytes, &error));
}

TEST_F(CraftedBibleTest, LeadingRecordsThatLieAreRefused) {
    std::string good, error;
    ASSERT_TRUE(SmallBible().Build(BibleFormat::kNew, &good, &error)) << error;
    ASSERT_EQ(S_OK, OpenNew(good));
    const unsigned length = static_cast<unsigned>(std::stoul(good.substr(0, 5)));
    const std::string body = good.substr(5 + length);
    EXPECT_EQ(E_FAIL, OpenNew("00x15" + good.substr(5)));           // not digits
    EXPECT_EQ(E_FAIL, OpenNew("-0015" + good.substr(5)));
    EXPECT_EQ(E_FAIL, OpenNew("99999" + good.substr(5)));           // more than the file holds
    EXPECT_EQ(E_FAIL, OpenNew(good.substr(0, 3)));                   // short digits
    EXPECT_EQ(S_OK, OpenNew("00000" + body));                        // an empty record
    EXPECT_EQ(S_OK, OpenNew("00003abc" + body));
    EXPECT_TRUE(FAILED(OpenNew("00004abc" + body)));                 // one byte of the table eaten
}

TEST_F(CraftedBibleTest, TextTableWithMoreTextsThanVersesIsRefused) {
    // The verse texts of a 40-verse numbering before the trailer of the 18-verse one.
    BibleWriter small = SmallBible();
    std::string bigBytes, smallBytes, error;
    {
        // A numbering of one book with 40 verses in two chapters.
        GUID id = kSmallIdentity;
        id.Data1 ^= 1;
        ComPtr<IBibleLangStat> lang = LangStatOver(id, {{20, 20}});
        BibleWriter w(lang.Get());
        for (int v = 0; v < 40; ++v) w.SetVerse(v, "Tekst");
        ASSERT_TRUE(w.Build(BibleFormat::kNew, &bigBytes, &error)) << error;
    }
    ASSERT_TRUE(small.Build(BibleFormat::kNew, &smallBytes, &error)) << error;
    // Both files share the leading record; the table ends at the first container's form
    // byte, just before its header's magic and size.
    auto tableEnd = [](const std::string& b) {
        size_t at = b.find(std::string("\xFE\xFF\x14\x00", 4));
        return at == std::string::npos ? at : at - 1;
    };
    size_t bigEnd = tableEnd(bigBytes), smallEnd = tableEnd(smallBytes);
    ASSERT_NE(std::string::npos, bigEnd);
    ASSERT_NE(std::string::npos, smallEnd);
    EXPECT_EQ(E_UNEXPECTED, OpenNew(bigBytes.substr(0, bigEnd) + smallBytes.substr(smallEnd)));
    EXPECT_EQ(S_OK, OpenNew(smallBytes));
}

}  // namespace
