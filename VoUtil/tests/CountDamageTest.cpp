// Counts that a file's own data contradicts, through VoUtil.dll as the programs call it:
// every format written by the project's own writers, then one count in it raised past what
// its data holds. Each such file is refused with a clear error and is not changed; and the
// statistics of a bible or a reference library that count more verses than the file holds
// texts or entries for are refused in both bible formats.
#include <gtest/gtest.h>
#include <functional>
#include <shlwapi.h>
#include "BibleWriter.h"
#include "LexiconPackage.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "RefDataWriters.h"
#include "TestStreams.h"
#include "UserLexTestSupport.h"
#include "VoUtil.h"

using namespace lextest;

namespace {

const wchar_t kNames[] = L"Names";
const wchar_t kList[] = L"LexiconListStream";

// The bytes of a file with a 32-bit value written over offset.
void PutInt32(const std::string& path, size_t offset, INT32 value) {
    ASSERT_TRUE(WriteWholeFile(path, WithValueAt<INT32>(ReadWholeFile(path), offset, value)));
}

// The offset of the bytes a statistics object saves, inside a file.
size_t StatBlockIn(const std::string& file, IBibleStat* stat) {
    ComPtr<IStream> saved = MemoryStream();
    EXPECT_EQ(S_OK, stat->Save(saved.Get()));
    size_t at = file.find(StreamBytes(saved.Get()));
    EXPECT_NE(std::string::npos, at) << "the statistics are not in the file";
    return at;
}

// The size field of the block whose marker lies at offset.
size_t BlockSize(const std::string& file, size_t offset) {
    INT32 size = 0;
    memcpy(&size, &file[offset + 2], 4);
    return static_cast<size_t>(size);
}

// Where a chapter's verse count lies in a file holding a statistics block: after the
// marker, the 40 fixed bytes, the book identifiers and chapter counts.
size_t VerseCountAt(const std::string& file, IBibleStat* stat, int book, int chapter) {
    return StatBlockIn(file, stat) + 2 + 40 + 5 * stat->GetBookCount() + stat->RefToChapterIndex(book, chapter);
}

class CountDamage : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_EQ(S_OK, BuildProtestantStat(stat_.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat_.Get(), lang_.Put()));
        ASSERT_EQ(S_OK, stat_.As(IID_IBibleHandles, &handles_));
    }
    void TearDown() override { CoUninitialize(); }

    int Ref(int book, int chapter, int verse) {
        int r = 0;
        EXPECT_EQ(S_OK, handles_->MakeRef(&r, book, chapter, verse));
        return r;
    }
    // A bible of the 66 books with a text for every verse, in either format.
    void WriteBible(BibleFormat format, const std::string& path) {
        BibleWriter w(lang_.Get());
        for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, "Vers " + std::to_string(v) + ".");
        w.SetSectionTitle(3, "Tittel");
        w.SetNames("Testbibel", "TB");
        std::string error;
        ASSERT_TRUE(w.WriteFile(format, path, &error)) << error;
    }

    TempDir dir_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleLangStat> lang_;
    ComPtr<IBibleHandles> handles_;
};

HRESULT OpenOld(const std::string& path) {
    ComPtr<IBible> b;
    HRESULT hr = OpenBibleFile(path.c_str(), b.Put());
    EXPECT_EQ(FAILED(hr), !b);
    return hr;
}

HRESULT OpenNew(const std::string& path) {
    ComPtr<INewBible> b;
    HRESULT hr = OpenNewBibleFile(path.c_str(), b.Put());
    EXPECT_EQ(FAILED(hr), !b);
    return hr;
}

HRESULT OpenRefLib(const std::string& path) {
    ComPtr<IBibleRefLib> l;
    HRESULT hr = OpenBibleRefLibFile(path.c_str(), l.Put());
    EXPECT_EQ(FAILED(hr), !l);
    return hr;
}

// A lexicon that opens, and whose text opens too.
HRESULT OpenLexicon(const std::string& path) {
    ComPtr<IVoLexicon> lex;
    HRESULT hr = OpenVoLexFile(path.c_str(), lex.Put());
    EXPECT_EQ(FAILED(hr), !lex);
    if (SUCCEEDED(hr) && SUCCEEDED(hr = lex->OpenText())) lex->CloseText();
    return hr;
}

TEST_F(CountDamage, CountsPastTheirDataAreRefusedAndTheFileStays) {
    struct Row {
        const char* format;
        const char* file;
        std::function<void(const std::string&)> make, damage;
        std::function<HRESULT(const std::string&)> open;
        HRESULT expected;
    };
    auto container = [](BOOL sparse) {
        return [sparse](const std::string& path) {
            ComPtr<ICreateIndexedData> w;
            ASSERT_EQ(S_OK, CreateIndexedDataFile(path.c_str(), sparse, 300, w.Put()));
            for (int i = 0; i < 300; i += 7) {
                int written = 0;
                ASSERT_EQ(S_OK, w->Write("abc", 3, &written));
                ASSERT_EQ(S_OK, w->EndEntry(i));
            }
            ASSERT_EQ(S_OK, w->Finish());
        };
    };
    auto openContainer = [](const std::string& path) {
        ComPtr<IIndexedData> d;
        return OpenIndexedDataFile(path.c_str(), d.Put());
    };
    auto openLangStat = [](const std::string& path) {
        ComPtr<IStream> s;
        HRESULT hr = SHCreateStreamOnFileA(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, s.Put());
        ComPtr<IBibleLangStat> l;
        return FAILED(hr) ? hr : OpenLangStat(s.Get(), l.Put());
    };
    const Row rows[] = {
        {"indexed data: entry count", "data.vid", container(FALSE), [](const std::string& p) { PutInt32(p, 1 + 4, 5000); },
         openContainer, E_UNEXPECTED},
        {"sparse indexed data: index size", "sparse.vid", container(TRUE),
         [](const std::string& p) {
             // Two bytes more than the tables: the logical indices after them are read askew.
             INT32 tables = 0;
             memcpy(&tables, &ReadWholeFile(p)[1 + 16], 4);
             PutInt32(p, 1 + 16, tables + 2);
         },
         openContainer, E_UNEXPECTED},
        {"statistics: book count", "kv.vos", [&](const std::string& p) { ASSERT_EQ(S_OK, WriteBibleStatFile(p.c_str(), stat_.Get())); },
         [](const std::string& p) { PutInt32(p, 2 + 36, 67); },
         [](const std::string& p) { ComPtr<IBibleStat> s; return OpenBibleStatFile(p.c_str(), s.Put()); },
         E_INVALIDARG},
        {"language statistics: book names", "lang.bin",
         [&](const std::string& p) {
             ComPtr<IStream> s;
             ASSERT_EQ(S_OK, SHCreateStreamOnFileA(p.c_str(), STGM_CREATE | STGM_WRITE, s.Put()));
             ASSERT_EQ(S_OK, lang_->SaveWithLanguage(s.Get()));
         },
         [&](const std::string& p) {
             // The language block follows the statistics block: its marker, size, GUID,
             // alias count, then the count of book names.
             std::string b = ReadWholeFile(p);
             const size_t language = StatBlockIn(b, stat_.Get()) + 2 + BlockSize(b, StatBlockIn(b, stat_.Get()));
             b[language + 2 + 4 + 16 + 1] = 127;
             ASSERT_TRUE(WriteWholeFile(p, b));
         },
         openLangStat, E_INVALIDARG},
        {"old bible: verse texts", "old.bib", [&](const std::string& p) { WriteBible(BibleFormat::kOld, p); },
         [](const std::string& p) { PutInt32(p, 1 + 4, 40000); }, OpenOld, E_UNEXPECTED},
        {"new bible: section titles", "new.vrsb", [&](const std::string& p) { WriteBible(BibleFormat::kNew, p); },
         [](const std::string& p) {
             // The titles container follows the text table: its form byte, then the header.
             std::string b = ReadWholeFile(p);
             size_t at = b.find(std::string("\xFE\xFF\x14\x00", 4));
             ASSERT_NE(std::string::npos, at);
             PutInt32(p, at + 4, 40000);
         },
         OpenNew, E_UNEXPECTED},
        {"reference library: verses of its statistics", "refs.brf",
         [&](const std::string& p) {
             ASSERT_EQ(S_OK, WriteRefLibFile(p.c_str(), stat_.Get(), {{Ref(0, 0, 1)}, {Ref(42, 2, 15)}}));
         },
         [&](const std::string& p) {
             std::string b = ReadWholeFile(p);
             b[VerseCountAt(b, stat_.Get(), 65, 21)] += 2;  // Revelation 22 counts 23 verses
             ASSERT_TRUE(WriteWholeFile(p, b));
         },
         OpenRefLib, E_UNEXPECTED},
        {"reference list: item count", "manna.vrsm",
         [&](const std::string& p) {
             std::vector<int> items;
             for (int v = 0; v < 325; ++v) items.push_back(Ref(18, 118, v % 176));
             ASSERT_EQ(S_OK, WriteRefListFile(p.c_str(), stat_.Get(), items, 8));
         },
         [](const std::string& p) { PutInt32(p, ReadWholeFile(p).size() - 4, 0x7FFFFFFF); },
         [](const std::string& p) { ComPtr<IRefList> l; return OpenRefListFile(p.c_str(), l.Put()); },
         E_UNEXPECTED},
        {"packaged lexicon: text rows", "ordbok.vrsl",
         [&](const std::string& p) {
             LexiconPackage pack(lang_.Get());
             pack.AddArticle(PackKey::Text("Abraham"), "Far til mange");
             pack.AddArticle(PackKey::Text("Isak"), "S\xF8nn");
             PackResult result;
             std::string error;
             ASSERT_TRUE(pack.Write(Wide(p), &result, &error)) << error;
         },
         [](const std::string& p) {
             // The row count stands just before the two 16-bit index words.
             std::string names = StreamOf(p, kNames);
             RewriteStream(p, kNames, WithValueAt<INT32>(names, names.size() - 4 - 4, 3));
         },
         OpenLexicon, E_FAIL},
        {"notes file: entry count", "notes.vrsn",
         [&](const std::string& p) {
             ComPtr<IVoLexicon> lex;
             ASSERT_EQ(S_OK, CreateOldVoLexFile(p.c_str(), lang_.Get(), "Notater", lex.Put()));
             AddEntry(lex.Get(), "Abraham", "Far til mange");
             AddEntry(lex.Get(), "Isak");
             ASSERT_EQ(S_OK, SaveLex(lex.Get()));
         },
         [](const std::string& p) {
             std::string list = StreamOf(p, kList);
             list[1] = 0x3F;  // 63 keys
             RewriteStream(p, kList, list);
         },
         OpenLexicon, E_FAIL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        const std::string path = dir_.File(row.file);
        row.make(path);
        ASSERT_EQ(S_OK, row.open(path)) << "the file as written";
        row.damage(path);
        const std::string damaged = ReadWholeFile(path);
        EXPECT_EQ(row.expected, row.open(path));
        EXPECT_TRUE(damaged == ReadWholeFile(path));
    }
}

// The statistics inside a bible made by the project's writer, one chapter's verse count
// raised: the later verses would show other verses' texts, so the file is refused.
TEST_F(CountDamage, StatisticsCountingMoreVersesThanTheTextsAreRefused) {
    const struct { const char* what; int book, chapter, count; } cases[] = {
        {"Psalm 117 with 4 verses", 18, 116, 4},
        {"Genesis 1 with 63 verses", 0, 0, 63},
    };
    for (BibleFormat format : {BibleFormat::kOld, BibleFormat::kNew}) {
        const std::string path = dir_.File(format == BibleFormat::kNew ? "bibel.vrsb" : "bibel.bib");
        WriteBible(format, path);
        const std::string good = ReadWholeFile(path);
        auto open = format == BibleFormat::kNew ? OpenNew : OpenOld;
        ASSERT_EQ(S_OK, open(path));
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (format == BibleFormat::kNew ? ", new format" : ", old format"));
            std::string bytes = good;
            bytes[VerseCountAt(bytes, stat_.Get(), c.book, c.chapter)] = static_cast<char>(c.count);
            ASSERT_TRUE(WriteWholeFile(path, bytes));
            EXPECT_EQ(E_UNEXPECTED, open(path));
            EXPECT_TRUE(bytes == ReadWholeFile(path));
        }
    }
    // The same for a reference library's statistics.
    const std::string lib = dir_.File("refs.brf");
    ASSERT_EQ(S_OK, WriteRefLibFile(lib.c_str(), stat_.Get(), {{Ref(0, 0, 1)}}));
    ASSERT_EQ(S_OK, OpenRefLib(lib));
    std::string bytes = ReadWholeFile(lib);
    bytes[VerseCountAt(bytes, stat_.Get(), 0, 0)] = 63;
    ASSERT_TRUE(WriteWholeFile(lib, bytes));
    EXPECT_EQ(E_UNEXPECTED, OpenRefLib(lib));
    EXPECT_TRUE(bytes == ReadWholeFile(lib));
}

// What valid files rely on: statistics of fewer books than the canon, and empty texts.
TEST_F(CountDamage, FewerBooksAndEmptyTextsStillOpen) {
    ComPtr<IBibleStat> gospels;
    ComPtr<IBibleLangStat> lang;
    {
        ComPtr<IBibleStatBuilder> builder;
        GUID id = {0x5A1B2C3D, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
        ASSERT_EQ(S_OK, CreateBibleStat(&id, &id, 2, builder.Put()));
        const int mark[] = {45, 28, 35, 44, 20, 56, 37, 39, 38, 62, 33, 37, 37, 72, 47, 20};
        const int john[] = {51, 25, 36, 54, 47, 71, 53, 59, 41, 42, 57, 50, 38, 31, 27, 33, 26, 40, 42, 31, 25};
        ASSERT_EQ(S_OK, builder->AddBook(41, 16, mark));
        ASSERT_EQ(S_OK, builder->AddBook(43, 21, john));
        ASSERT_EQ(S_OK, builder.As(IID_IBibleStat, &gospels));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(gospels.Get(), lang.Put()));
    }
    for (BibleFormat format : {BibleFormat::kOld, BibleFormat::kNew}) {
        SCOPED_TRACE(format == BibleFormat::kNew ? "new format" : "old format");
        BibleWriter w(lang.Get());
        for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, v % 3 ? "Tekst" : "");
        w.SetNames("Evangelier", "EV");
        const std::string path = dir_.File(format == BibleFormat::kNew ? "ev.vrsb" : "ev.bib");
        std::string error;
        ASSERT_TRUE(w.WriteFile(format, path, &error)) << error;
        EXPECT_EQ(S_OK, format == BibleFormat::kNew ? OpenNew(path) : OpenOld(path));
    }
}

}  // namespace
