// Packaged lexicons through VoUtil.dll: files made by the packager with the real language
// statistics of the 66-book numbering and RyTxtUtl.dll's collation and text tables; their
// damaged forms; and the sample lexicons of the program folder, every article read.
#include <gtest/gtest.h>
#include <functional>
#include "LexiconPackage.h"
#include "LexiconSource.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "RyTextUtilsApi.h"
#include "UserLexTestSupport.h"
#include "VoUtil.h"

using namespace lextest;

namespace {

DWORD Int32At(const std::string& b, size_t at) {
    DWORD v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<BYTE>(b[at + i]);
    return v;
}
void SetInt32At(std::string& b, size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Offsets in the "Names" stream of the small lexicon: a one-byte name length, "StdLang",
// the three counts, the pool size and the pool.
constexpr size_t kTextCountAt = 8, kRefCountAt = 12, kPoolSizeAt = 20, kPoolAt = 24;

class ZipLex : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, BuildProtestantStat(stat_.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat_.Get(), langStat_.Put()));
        ASSERT_EQ(S_OK, stat_.As(IID_IBibleHandles, &handles_));
        path_ = dir_.File("Ordbok.vrsl");
    }
    int Ref(int book, int chapter, int verse) {
        int r = 0;
        EXPECT_EQ(S_OK, handles_->MakeRef(&r, book, chapter, verse));
        return r;
    }
    // Entries in key order: Abraham, Abram (listed alias), H0001 (unlisted alias of zebra),
    // Isak ("@Isak"), zebra, Joh 3:16, 24 December without a year.
    void PackSmall(const std::string& path) {
        LexiconPackage pack(langStat_.Get());
        pack.AddArticle(PackKey::Text("zebra"), "Stripete dyr");
        pack.AddArticle(PackKey::Text("Abraham"), "Far til mange, se <1 Mos 12,1>");
        pack.AddArticle(PackKey::Reference(Ref(42, 2, 15)), "Gud elsket verden");
        pack.AddArticle(PackKey::Date(24 | 12 << 8), "Julaften");
        pack.AddArticle(PackKey::Text("@Isak"), "S\xF8nn av {Abraham}");
        pack.AddAlias(PackKey::Text("Abram"), PackKey::Text("Abraham"), true);
        pack.AddAlias(PackKey::Text("H0001"), PackKey::Text("zebra"), false);
        PackResult result;
        std::string error;
        ASSERT_TRUE(pack.Write(Wide(path), &result, &error)) << error;
        EXPECT_EQ(5u, result.articles);
        EXPECT_EQ(7u, result.entries);
        EXPECT_FALSE(result.wideIndexWords);
    }
    // A copy of the small lexicon with one stream changed (or removed).
    std::string Damaged(const wchar_t* stream, const std::function<void(std::string&)>& change, bool remove = false) {
        std::string path = dir_.File("Skadet" + std::to_string(++damaged_) + ".vrsl");
        PackSmall(path);
        std::string bytes = StreamOf(path, stream);
        if (change) change(bytes);
        RewriteStream(path, stream, bytes, remove);
        return path;
    }

    TempDir dir_;
    std::string path_;
    int damaged_ = 0;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleLangStat> langStat_;
    ComPtr<IBibleHandles> handles_;
};

TEST_F(ZipLex, ListsEveryKindWithAliasesAndReadsThroughCountedOpenText) {
    PackSmall(path_);
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path_.c_str(), lex.Put()));
    char name[64];
    ASSERT_EQ(S_OK, lex->GetName(name));
    EXPECT_STREQ("Ordbok", name);
    int type = 0;
    EXPECT_EQ(S_OK, lex->GetLexiconType(&type));
    EXPECT_EQ(1, type);

    // Before OpenText nothing reads.
    VARIANT_BOOL open = VARIANT_TRUE;
    EXPECT_EQ(S_OK, lex->IsTextOpen(&open));
    EXPECT_EQ(VARIANT_FALSE, open);
    char buf[64];
    int length = 0;
    EXPECT_EQ(E_FAIL, lex->GetEntryText(1, buf, sizeof buf));
    EXPECT_EQ(E_FAIL, lex->GetEntryTextLength(1, &length));
    EXPECT_EQ(E_UNEXPECTED, lex->CloseText());

    ASSERT_EQ(S_OK, lex->OpenText());
    ASSERT_EQ(S_OK, lex->OpenText());
    ASSERT_EQ(S_OK, lex->CloseText());
    EXPECT_EQ(S_OK, lex->IsTextOpen(&open));
    EXPECT_EQ(VARIANT_TRUE, open);
    // Abram opens Abraham's article; H0001 is not listed.
    const std::vector<EntryView> expected = {
        {1, "Abraham", 1, "Far til mange, se <1 Mos 12,1>"},
        {1, "Abram", 1, "Far til mange, se <1 Mos 12,1>"},
        {1, "Isak", 4, "S\xF8nn av {Abraham}"},
        {1, "zebra", 5, "Stripete dyr"},
        {2, "Joh 3:16", 6, "Gud elsket verden"},
        {3, "24. desember", 7, "Julaften"},
    };
    EXPECT_EQ(expected, Entries(lex.Get()));
    int count = 0;
    EXPECT_EQ(S_OK, lex->GetEntryCountOfKind(1, &count));
    EXPECT_EQ(5, count);

    int id = 0;
    EXPECT_EQ(S_OK, lex->FindEntryByKey("H0001", &id));
    EXPECT_EQ(5, id);
    EXPECT_EQ(S_OK, lex->FindEntryByKey("Isak", &id));
    EXPECT_EQ(4, id);  // "@Isak" compares without its at sign
    EXPECT_EQ(S_OK, lex->FindEntryForReference(Ref(42, 2, 15), TRUE, &id));
    EXPECT_EQ(6, id);
    int position = -1;
    VARIANT_BOOL exact = VARIANT_FALSE;
    EXPECT_EQ(S_OK, lex->FindEntry("abram", &position, &exact));
    EXPECT_EQ(1, position);
    EXPECT_EQ(S_FALSE, lex->FindEntry("Abrahams", &position, &exact));
    EXPECT_EQ(1, position);

    // Aliases and ids outside the list have no text; a short buffer is cut.
    for (int bad : {0, 2, 3, 8, -1}) {
        EXPECT_EQ(E_INVALIDARG, lex->GetEntryText(bad, buf, sizeof buf)) << bad;
        EXPECT_EQ(E_INVALIDARG, lex->GetEntryTextLength(bad, &length)) << bad;
    }
    EXPECT_EQ(E_POINTER, lex->GetEntryText(1, nullptr, 10));
    EXPECT_EQ(E_POINTER, lex->GetEntryTextLength(1, nullptr));
    EXPECT_EQ(S_OK, lex->GetEntryTextLength(5, &length));
    EXPECT_EQ(13, length);
    EXPECT_EQ(S_OK, lex->GetEntryText(5, buf, 13));
    EXPECT_EQ(S_FALSE, lex->GetEntryText(5, buf, 12));
    EXPECT_STREQ("Stripete", buf);

    // The text table does not hold the lexicon.
    EXPECT_EQ(2u, lex.Get()->AddRef());
    EXPECT_EQ(1u, lex.Get()->Release());
    ASSERT_EQ(S_OK, lex->CloseText());
    EXPECT_EQ(E_UNEXPECTED, lex->CloseText());
    EXPECT_EQ(E_FAIL, lex->GetEntryText(1, buf, sizeof buf));
    ASSERT_EQ(S_OK, lex->OpenText());
    EXPECT_EQ("Julaften", EntryText(lex.Get(), 7));
}

TEST_F(ZipLex, RefusesEveryChangeAndAnswersAsProtected) {
    PackSmall(path_);
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path_.c_str(), lex.Put()));
    ASSERT_EQ(S_OK, lex->OpenText());
    ExpectReadOnly(lex.Get());
    int v = 0;
    EXPECT_EQ(S_OK, lex->GetAccess(&v));
    EXPECT_EQ(3, v);
    EXPECT_EQ(S_OK, lex->GetProtection(&v));
    EXPECT_EQ(3, v);
    EXPECT_EQ(S_OK, lex->Unlock("anything"));
    EXPECT_EQ(E_ACCESSDENIED, lex->SetProtection(0));
    EXPECT_EQ(E_ACCESSDENIED, lex->SetPassword("", "x"));
    EXPECT_EQ(S_OK, lex->GetAccess(&v));
    EXPECT_EQ(3, v);

    ComPtr<IPersistStorage> persist;
    ASSERT_EQ(S_OK, lex->QueryInterface(IID_IPersistStorage, persist.PutVoid()));
    CLSID clsid = {};
    EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_VoZipLex, clsid));
    EXPECT_EQ(E_NOTIMPL, persist->InitNew(nullptr));
    EXPECT_EQ(E_NOTIMPL, persist->Save(nullptr, TRUE));
    EXPECT_EQ(E_NOTIMPL, persist->SaveCompleted(nullptr));
    EXPECT_EQ(E_NOTIMPL, persist->HandsOffStorage());
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    EXPECT_EQ("Stripete dyr", EntryText(lex.Get(), 5));
}

// Index words are 16 bits up to 16384 entries and 32 bits above: the index count stands
// right before the words, so the stream's size shows their width.
TEST_F(ZipLex, IndexWordsGrowTo32BitsAbove16384Entries) {
    for (int entries : {16384, 16385}) {
        SCOPED_TRACE(entries);
        const std::string path = dir_.File("Stor" + std::to_string(entries) + ".vrsl");
        LexiconPackage pack(langStat_.Get());
        pack.AddArticle(PackKey::Text("a"), "Den f\xF8rste");
        pack.AddArticle(PackKey::Text("zz"), "Den siste");
        char title[16];
        for (int i = 2; i < entries; ++i) {
            snprintf(title, sizeof title, "b%05d", i);
            pack.AddAlias(PackKey::Text(title), PackKey::Text(i % 2 ? "a" : "zz"), i % 3 == 0);
        }
        PackResult result;
        std::string error;
        ASSERT_TRUE(pack.Write(Wide(path), &result, &error)) << error;
        const bool wide = entries > 16384;
        EXPECT_EQ(wide, result.wideIndexWords);
        const std::string names = StreamOf(path, L"Names");
        const size_t words = static_cast<size_t>(entries) * (wide ? 4 : 2);
        ASSERT_GT(names.size(), words + 4);
        EXPECT_EQ(2u, Int32At(names, names.size() - words - 4));

        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, OpenVoLexFile(path.c_str(), lex.Put()));
        ASSERT_EQ(S_OK, lex->OpenText());
        int count = 0, listed = 0;
        for (int i = 2; i < entries; ++i) listed += i % 3 == 0;
        EXPECT_EQ(S_OK, lex->GetEntryCount(&count));
        EXPECT_EQ(2 + listed, count);
        int id = 0;
        // The last entry is the article "zz"; the aliases name it by its entry number.
        EXPECT_EQ(S_OK, lex->FindEntryByKey("b00002", &id));
        EXPECT_EQ(entries, id);
        EXPECT_EQ("Den siste", EntryText(lex.Get(), id));
        EXPECT_EQ(S_OK, lex->FindEntryByKey("b00003", &id));
        EXPECT_EQ(1, id);
        EXPECT_EQ(S_OK, lex->GetEntryId(count - 1, &id));
        EXPECT_EQ(entries, id);
    }
}

TEST_F(ZipLex, DamagedStreamsFailTheLoad) {
    struct Case {
        const char* what;
        const wchar_t* stream;
        std::function<void(std::string&)> change;
        bool remove;
        HRESULT expected;
    };
    const Case cases[] = {
        {"no Names", L"Names", nullptr, true, STG_E_FILENOTFOUND},
        {"no Stat", L"Stat", nullptr, true, STG_E_FILENOTFOUND},
        {"empty Stat", L"Stat", [](std::string& b) { b.clear(); }, false, E_INVALIDARG},
        {"Stat cut", L"Stat", [](std::string& b) { b.resize(b.size() / 2); }, false, E_INVALIDARG},
        {"a collation nobody has", L"Names", [](std::string& b) { b.replace(1, 7, "NoSuchL"); }, false, CO_E_CLASSSTRING},
        {"empty Names", L"Names", [](std::string& b) { b.clear(); }, false, E_FAIL},
        {"more titles than the pool holds", L"Names", [](std::string& b) { SetInt32At(b, kTextCountAt, 1000); }, false, E_FAIL},
        {"negative reference count", L"Names", [](std::string& b) { SetInt32At(b, kRefCountAt, 0xFFFFFFFF); }, false, E_FAIL},
        {"count past the words", L"Names", [](std::string& b) { SetInt32At(b, kTextCountAt, 6); }, false, E_FAIL},
        {"pool larger than the stream", L"Names", [](std::string& b) { SetInt32At(b, kPoolSizeAt, 0x7FFFFFFF); }, false, E_FAIL},
        {"last title without its zero", L"Names",
         [](std::string& b) { b[kPoolAt + Int32At(b, kPoolSizeAt) - 1] = 'x'; }, false, E_FAIL},
        {"titles without any zero", L"Names",
         [](std::string& b) {
             for (DWORD i = 0; i < Int32At(b, kPoolSizeAt); ++i) {
                 if (!b[kPoolAt + i]) b[kPoolAt + i] = 'x';
             }
         },
         false, E_FAIL},
        {"an empty title", L"Names", [](std::string& b) { b[kPoolAt] = '\0'; }, false, E_FAIL},
        {"titles out of order", L"Names", [](std::string& b) { b[kPoolAt] = 'z'; }, false, E_FAIL},
        {"language name cut", L"Names", [](std::string& b) { b[0] = 0; }, false, E_FAIL},
        {"alias outside the list", L"Names", [](std::string& b) { b[b.size() - 14 + 2] = 60 << 2 | 1; }, false, E_FAIL},
        {"index flags 3", L"Names", [](std::string& b) { b[b.size() - 14] |= 3; }, false, E_FAIL},
        {"alias loop", L"Names", [](std::string& b) { b[b.size() - 14 + 2] = 1 << 2 | 1; }, false, E_FAIL},
    };
    for (const Case& c : cases) {
        std::string path = Damaged(c.stream, c.change, c.remove);
        const std::string before = ReadWholeFile(path);
        ComPtr<IVoLexicon> lex;
        EXPECT_EQ(c.expected, OpenVoLexFile(path.c_str(), lex.Put())) << c.what;
        EXPECT_EQ(nullptr, lex.Get()) << c.what;
        EXPECT_EQ(before, ReadWholeFile(path)) << c.what;
    }
}

TEST_F(ZipLex, EveryCutOfTheNamesStreamFails) {
    PackSmall(path_);
    const std::string names = StreamOf(path_, L"Names");
    for (size_t n = 0; n < names.size(); ++n) {
        RewriteStream(path_, L"Names", names.substr(0, n));
        ComPtr<IVoLexicon> lex;
        EXPECT_EQ(E_FAIL, OpenVoLexFile(path_.c_str(), lex.Put())) << n;
    }
}

// Bit flips anywhere in "Names": the load fails, or what loads reads without a crash.
TEST_F(ZipLex, BitFlipsInNamesNeverCrash) {
    PackSmall(path_);
    const std::string names = StreamOf(path_, L"Names");
    int loaded = 0;
    for (size_t bit = 0; bit < names.size() * 8; bit += 3) {
        std::string b = names;
        b[bit / 8] = static_cast<char>(b[bit / 8] ^ (1 << (bit % 8)));
        RewriteStream(path_, L"Names", b);
        ComPtr<IVoLexicon> lex;
        if (FAILED(OpenVoLexFile(path_.c_str(), lex.Put()))) continue;
        // A row count that no longer matches the text table is found when the text opens.
        HRESULT text = lex->OpenText();
        if (FAILED(text)) {
            EXPECT_EQ(E_FAIL, text);
            continue;
        }
        ++loaded;
        int count = 0;
        lex->GetEntryCount(&count);
        for (int p = 0; p < count; ++p) {
            int id = 0;
            char buf[64];
            if (SUCCEEDED(lex->GetEntryId(p, &id))) lex->GetEntryText(id, buf, sizeof buf);
            lex->GetEntryTitle(p, buf, sizeof buf);
        }
    }
    EXPECT_GT(loaded, 0);
}

TEST_F(ZipLex, DamagedTextFailsOpenTextButNotTheLoad) {
    struct Case {
        const char* what;
        std::function<void(std::string&)> change;
        bool remove;
        HRESULT expected;
    };
    const Case cases[] = {
        {"no Text", nullptr, true, STG_E_FILENOTFOUND},
        {"empty", [](std::string& b) { b.clear(); }, false, E_FAIL},
        {"record length not digits", [](std::string& b) { b[2] = 'x'; }, false, E_FAIL},
        {"record longer than the stream", [](std::string& b) { b.replace(0, 5, "99999"); }, false, E_FAIL},
        {"table cut", [](std::string& b) { b.resize(b.size() - 3); }, false, E_FAIL},
        {"only the record", [](std::string& b) { b.resize(5 + std::stoi(b.substr(0, 5))); }, false, E_FAIL},
    };
    for (const Case& c : cases) {
        std::string path = Damaged(L"Text", c.change, c.remove);
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, OpenVoLexFile(path.c_str(), lex.Put())) << c.what;
        EXPECT_EQ(c.expected, lex->OpenText()) << c.what;
        EXPECT_EQ(c.expected, lex->OpenText()) << c.what;  // nothing was kept: tried again
        VARIANT_BOOL open = VARIANT_TRUE;
        EXPECT_EQ(S_OK, lex->IsTextOpen(&open));
        EXPECT_EQ(VARIANT_FALSE, open) << c.what;
        char buf[16];
        EXPECT_EQ(E_FAIL, lex->GetEntryText(1, buf, sizeof buf)) << c.what;
        EXPECT_EQ(E_UNEXPECTED, lex->CloseText()) << c.what;
    }
}

// An article whose index word names a row past the rows the entry list counts is refused
// when the lexicon opens, and the file stays as it was.
TEST_F(ZipLex, ArticleRowPastTheRowCountIsRefused) {
    std::string path = Damaged(L"Names", [](std::string& b) { b[b.size() - 14] = 50 << 2; });
    const std::string before = ReadWholeFile(path);
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(E_FAIL, OpenVoLexFile(path.c_str(), lex.Put()));
    EXPECT_FALSE(lex);
    EXPECT_EQ(before, ReadWholeFile(path));
}

// A lexicon that another program holds open for writing is read from a copy in the
// temporary folder, which goes when the lexicon is released; a file that is no compound
// file is refused.
TEST_F(ZipLex, OpensAHeldFileFromACopyAndRefusesOtherFiles) {
    PackSmall(path_);
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    const std::string copy = std::string(temp) + "Ordbok.vrsl";
    {
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, OpenVoLexFile(path_.c_str(), lex.Put()));
        ASSERT_EQ(S_OK, lex->OpenText());
        EXPECT_EQ("Julaften", EntryText(lex.Get(), 7));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));
    CloseHandle(held);

    const std::string text = dir_.File("tekst.vrsl");
    ASSERT_TRUE(WriteWholeFile(text, std::string(4096, 'x')));
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(STG_E_FILEALREADYEXISTS, OpenVoLexFile(text.c_str(), lex.Put()));
    EXPECT_EQ(STG_E_FILENOTFOUND, OpenVoLexFile(dir_.File("ingen.vrsl").c_str(), lex.Put()));
    EXPECT_EQ(nullptr, lex.Get());
}

// ---- The packager ----

// The importers' markup in, the article text's markup out: links only to titles of the
// lexicon, references in the Norwegian notation, escaped marks as characters that the
// article text shows as they are.
TEST_F(ZipLex, SourceMarkupBecomesArticleMarkup) {
    auto isTitle = [](const std::string& t) { return t == "H24" || t == "SARAH"; };
    struct Case {
        const char* source;
        const char* article;
    };
    const Case cases[] = {
        {"From the same as {H24}; a plant", "From the same as {H24}; a plant"},
        {"see {H9999} and {SARAH}", "see H9999 and {SARAH}"},
        {"\\{chief\\} (fore-) father (\\{[-less]\\})", "[chief] (fore-) father ([[-less]])"},
        {"\\<not a reference\\> \\\\ \\$", "\x8Bnot a reference\x9B \\ $"},
        {"<1.12.1>", "<1 Mos 12:1>"},
        {"Lineage of <2.6.16-2.6.20>; <6.21.4>,<6.21.10>", "Lineage of <2 Mos 6:16-20>; <Jos 21:4>,<Jos 21:10>"},
        {"<19.23>", "<Sal 23>"},
        {"<13.6.50-13.7.3>", "<1 Kr\xF8n 6:50-7:3>"},
        {"<4.17-4.18>", "<4 Mos 17-18>"},
        {"<43.3.16-43.3>", "43.3.16-43.3"},  // a verse to a chapter is no range
        {"<1.51.1> <67.1.1> <0.1.1> <1.1> <Jude.5.14>", "1.51.1 67.1.1 0.1.1 <1 Mos 1> Jude.5.14"},
        {"an open { and < alone", "an open [ and \x8B alone"},
        {"a lone } and >", "a lone ] and \x9B"},
        {"trailing \\", "trailing \\"},
        {"", ""},
    };
    for (const Case& c : cases) {
        MarkupCounts counts;
        EXPECT_EQ(c.article, ConvertArticleLine(c.source, langStat_.Get(), isTitle, &counts)) << c.source;
    }
    MarkupCounts counts;
    ConvertArticleLine("{H24} {nothing} <1.1.1> <1.99.1>", langStat_.Get(), isTitle, &counts);
    EXPECT_EQ(1u, counts.links);
    EXPECT_EQ(1u, counts.plainLinks);
    EXPECT_EQ(1u, counts.references);
    EXPECT_EQ(1u, counts.plainReferences);
}

TEST_F(ZipLex, SourceRecordsReadWithTheirAliases) {
    const std::string path = dir_.File("source.txt");
    ASSERT_TRUE(WriteWholeFile(path, "$$$00001\r\n$$=H1\n$$=H0001\nfather\n$$=not an alias\n\n$$$00002\n$$$EMPTY\n"));
    std::vector<SourceRecord> records;
    std::string error;
    ASSERT_TRUE(ReadLexiconSource(path, &records, &error)) << error;
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ("00001", records[0].key);
    EXPECT_EQ((std::vector<std::string>{"H1", "H0001"}), records[0].aliases);
    EXPECT_EQ((std::vector<std::string>{"father", "$$=not an alias", ""}), records[0].lines);
    EXPECT_EQ("00002", records[1].key);
    EXPECT_TRUE(records[1].lines.empty());

    ASSERT_TRUE(WriteWholeFile(path, "stray line\n$$$A\n"));
    EXPECT_FALSE(ReadLexiconSource(path, &records, &error));
    EXPECT_NE(std::string::npos, error.find(":1:")) << error;
    EXPECT_FALSE(ReadLexiconSource(dir_.File("none.txt"), &records, &error));
}

// Titles the reader could not serve are refused before anything is written; an alias that
// repeats a title of its own article is left out.
TEST_F(ZipLex, PackagerRefusesTitlesTheReaderCouldNotServe) {
    struct Case {
        const char* what;
        std::function<void(LexiconPackage&)> fill;
    };
    const Case cases[] = {
        {"one title, two articles", [](LexiconPackage& p) {
             p.AddArticle(PackKey::Text("Abraham"), "a");
             p.AddArticle(PackKey::Text("abraham"), "b");
         }},
        {"an alias that is another article's title", [](LexiconPackage& p) {
             p.AddArticle(PackKey::Text("Abraham"), "a");
             p.AddArticle(PackKey::Text("Isak"), "b");
             p.AddAlias(PackKey::Text("Isak"), PackKey::Text("Abraham"), true);
         }},
        {"an alias of no article", [](LexiconPackage& p) {
             p.AddArticle(PackKey::Text("Abraham"), "a");
             p.AddAlias(PackKey::Text("Abram"), PackKey::Text("Sara"), true);
         }},
        {"an empty title", [](LexiconPackage& p) { p.AddArticle(PackKey::Text(""), "a"); }},
        {"an at sign alone", [](LexiconPackage& p) { p.AddArticle(PackKey::Text("@"), "a"); }},
        {"a title of 256 bytes", [](LexiconPackage& p) { p.AddArticle(PackKey::Text(std::string(256, 'a')), "a"); }},
        {"no reference", [](LexiconPackage& p) { p.AddArticle(PackKey::Reference(0), "a"); }},
        {"30 February", [](LexiconPackage& p) { p.AddArticle(PackKey::Date(30 | 2 << 8), "a"); }},
        {"29 February 2023", [](LexiconPackage& p) { p.AddArticle(PackKey::Date(29 | 2 << 8 | 2023 << 16), "a"); }},
    };
    for (const Case& c : cases) {
        LexiconPackage pack(langStat_.Get());
        c.fill(pack);
        PackResult result;
        std::string error;
        EXPECT_FALSE(pack.Write(Wide(path_), &result, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str())) << c.what;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path_ + ".new").c_str())) << c.what;
    }

    LexiconPackage pack(langStat_.Get());
    pack.AddArticle(PackKey::Text("01234"), "tall");
    pack.AddArticle(PackKey::Date(29 | 2 << 8), "skudd\xE5rsdag");
    pack.AddAlias(PackKey::Text("H1234"), PackKey::Text("01234"), false);
    pack.AddAlias(PackKey::Text("H1234"), PackKey::Text("01234"), true);
    pack.AddAlias(PackKey::Text("01234"), PackKey::Text("01234"), true);
    PackResult result;
    std::string error;
    ASSERT_TRUE(pack.Write(Wide(path_), &result, &error)) << error;
    EXPECT_EQ(3u, result.entries);
    EXPECT_EQ(2u, result.duplicateAliases);
    EXPECT_EQ(1u, result.listedAliases);
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path_.c_str(), lex.Put()));
    ASSERT_EQ(S_OK, lex->OpenText());
    EXPECT_EQ((std::vector<std::string>{"01234", "H1234", "29. februar"}), Titles(lex.Get()));
}

// ---- The sample lexicons of the program folder ----

struct Sample {
    const char* file;
    int articles;
    int entries;
    bool wide;
};

class SampleLexicons : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleLexicons, OpenWithEveryArticleReadableAndEveryLinkFound) {
    const Sample& s = GetParam();
    const std::string path = std::string(VERSILO_BINARY_DIR) + "/bin/Lexicons/" + s.file;
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path.c_str(), lex.Put()));
    ASSERT_EQ(S_OK, lex->OpenText());
    int texts = 0;
    ASSERT_EQ(S_OK, lex->GetEntryCountOfKind(1, &texts));
    EXPECT_EQ(s.entries, texts);
    const std::string names = StreamOf(path, L"Names");
    const size_t words = static_cast<size_t>(s.entries) * (s.wide ? 4 : 2);
    ASSERT_GT(names.size(), words + 4);
    EXPECT_EQ(static_cast<DWORD>(s.articles), Int32At(names, names.size() - words - 4));

    ComPtr<IBibleLangStat> refs;
    ASSERT_EQ(S_OK, lex->GetLangStat(refs.Put()));
    int articles = 0, links = 0, references = 0;
    std::vector<char> buf;
    for (int id = 1; id <= s.entries; ++id) {
        int length = 0;
        HRESULT hr = lex->GetEntryTextLength(id, &length);
        if (hr == E_INVALIDARG) continue;  // an alias
        ASSERT_EQ(S_OK, hr) << id;
        ++articles;
        buf.assign(length, 'x');
        ASSERT_EQ(S_OK, lex->GetEntryText(id, buf.data(), length)) << id;
        ASSERT_EQ(strlen(buf.data()) + 1, static_cast<size_t>(length)) << id;
        // Links name entries; references parse whole in the lexicon's own notation.
        for (const char* p = buf.data(); (p = strpbrk(p, "{<")) != nullptr; ++p) {
            const char* close = strchr(p, *p == '{' ? '}' : '>');
            ASSERT_NE(nullptr, close) << buf.data();
            std::string inner(p + 1, close);
            if (*p == '{') {
                int position = 0;
                EXPECT_EQ(S_OK, lex->FindEntry(inner.c_str(), &position, nullptr)) << inner;
                ++links;
            } else {
                std::vector<char> text(inner.begin(), inner.end());
                text.push_back('\0');
                char* cursor = text.data();
                int handle = 0;
                EXPECT_EQ(S_OK, refs->ParseRef(&cursor, &handle, nullptr)) << inner;
                EXPECT_EQ('\0', *cursor) << inner;
                ++references;
            }
            p = close;
        }
    }
    EXPECT_EQ(s.articles, articles);
    EXPECT_GT(links, 0);
    int count = 0;
    ASSERT_EQ(S_OK, lex->GetEntryCount(&count));
    for (int p = 0; p < count; p += 97) {
        int id = 0;
        ASSERT_EQ(S_OK, lex->GetEntryId(p, &id));
        EXPECT_NE("<no text>", EntryText(lex.Get(), id));
    }
    if (std::string(s.file).find("Nave") != std::string::npos) {
        EXPECT_GT(references, 70000);
    }
    EXPECT_EQ(S_OK, lex->CloseText());
}

INSTANTIATE_TEST_SUITE_P(ProgramFolder, SampleLexicons,
                         ::testing::Values(Sample{"Strong's Hebrew Dictionary.vrsl", 8674, 18347, true},
                                           Sample{"Strong's Greek Dictionary.vrsl", 5624, 12247, false},
                                           Sample{"Nave's Topical Bible.vrsl", 5320, 5320, false}));

TEST(SampleStrongs, EveryFormOfANumberOpensOneArticle) {
    const std::string path = std::string(VERSILO_BINARY_DIR) + "/bin/Lexicons/Strong's Hebrew Dictionary.vrsl";
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path.c_str(), lex.Put()));
    ASSERT_EQ(S_OK, lex->OpenText());
    int key = 0, listed = 0, unlisted = 0, position = 0, id = 0;
    EXPECT_EQ(S_OK, lex->FindEntryByKey("00001", &key));
    EXPECT_EQ(S_OK, lex->FindEntryByKey("H1", &listed));
    EXPECT_EQ(S_OK, lex->FindEntryByKey("H0001", &unlisted));
    EXPECT_NE(0, key);
    EXPECT_EQ(key, listed);
    EXPECT_EQ(key, unlisted);
    EXPECT_NE(std::string::npos, EntryText(lex.Get(), key).find("father"));
    // The listed form finds its own position, whose id is the article.
    ASSERT_EQ(S_OK, lex->FindEntry("H1", &position, nullptr));
    ASSERT_EQ(S_OK, lex->GetEntryId(position, &id));
    EXPECT_EQ(key, id);
    char title[32];
    ASSERT_EQ(S_OK, lex->GetEntryTitle(position, title, sizeof title));
    EXPECT_STREQ("H1", title);
}

}  // namespace
