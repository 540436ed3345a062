// Language statistics with the Norwegian names over the 66-book numbering: names and book
// look-up, the reference formatter and parser (a table of cases and a round trip over
// every book, chapter, verse and range), sharing, and damaged blocks and typed text.
#include <gtest/gtest.h>
#include <vector>
#include "VoUtil.h"
#include "Unknown.h"
#include "PosStreamOnFile.h"
#include "NorwegianNames.h"
#include "TestFiles.h"
#include "TestStreams.h"

namespace {

constexpr int kGen = 0, kExod = 1, kJohn = 42, kJude = 64, kRev = 65;

// The Norwegian statistics, built, saved to a file with their numbering, and read back.
class LangStatTest : public ::testing::Test {
protected:
    void SetUp() override {
        ComPtr<IBibleStat> stat;
        ASSERT_EQ(S_OK, BuildProtestantStat(stat.Put()));
        ComPtr<IBibleLangStat> built;
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat.Get(), built.Put()));
        path = dir.File("norsk.vos");
        {
            ComPtr<IStream> file;
            ASSERT_EQ(S_OK, CPosStreamOnFile::Create(path.c_str(), file.Put()));
            ASSERT_EQ(S_OK, built->SaveWithLanguage(file.Get()));
        }
        ComPtr<IStream> file;
        ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), file.Put()));
        ASSERT_EQ(S_OK, OpenLangStat(file.Get(), lang.Put()));
        ASSERT_NE(built.Get(), lang.Get());
        ComPtr<IBibleStat> inner;
        ASSERT_EQ(S_OK, lang->GetBibleStat(inner.Put()));
        ASSERT_EQ(S_OK, inner.As(IID_IBibleHandles, &handles));
    }
    int Ref(int b, int c, int v) {
        int h = 0;
        EXPECT_EQ(S_OK, handles->MakeRef(&h, b, c, v));
        return h;
    }
    int Range(int b, int c, int v, int eb, int ec, int ev) {
        int h = Ref(b, c, v);
        EXPECT_EQ(S_OK, handles->ExtendRef(&h, eb, ec, ev));
        return h;
    }
    int Open(int b, int c, int v) {
        int h = Ref(b, c, v);
        EXPECT_EQ(S_OK, handles->MakeFollowingRef(&h));
        return h;
    }
    std::string Format(int h, int prev = 0, int prevRange = 0, int next = 0, BOOL terminate = FALSE) {
        char buf[kFormatRefBufferSize];
        HRESULT hr = lang->FormatRef(buf, h, prev, prevRange, next, terminate);
        return hr == S_OK ? std::string(buf) : "error " + std::to_string(hr);
    }
    // Parses the whole text as one reference; answers the handle, 0 on failure.
    HRESULT Parse(const std::string& text, int* handle, int* context = nullptr, size_t* consumed = nullptr) {
        std::string copy = text;
        char* cursor = &copy[0];
        HRESULT hr = lang->ParseRef(&cursor, handle, context);
        if (consumed) *consumed = static_cast<size_t>(cursor - &copy[0]);
        return hr;
    }

    TempDir dir;
    std::string path;
    ComPtr<IBibleLangStat> lang;
    ComPtr<IBibleHandles> handles;
};

TEST_F(LangStatTest, NamesAliasesAndBookLookUp) {
    char buf[64];
    EXPECT_EQ(S_OK, lang->GetBookName(buf, kJohn));
    EXPECT_STREQ("Joh", buf);
    EXPECT_EQ(S_OK, lang->GetBookName(buf, kRev));
    EXPECT_STREQ("\xC5p", buf);
    EXPECT_EQ(S_OK, lang->GetBookName(buf, -1));
    EXPECT_STREQ("Norsk", buf);
    EXPECT_EQ(S_OK, lang->GetBookAbbreviation(buf, kGen));
    EXPECT_STREQ("F\xF8rste Mosebok", buf);
    EXPECT_EQ(E_INVALIDARG, lang->GetBookName(buf, 66));
    EXPECT_EQ(E_INVALIDARG, lang->GetBookName(buf, -2));
    EXPECT_EQ(E_INVALIDARG, lang->GetBookAbbreviation(buf, -1));

    EXPECT_EQ(3, lang->GetAliasCount());
    EXPECT_EQ(S_OK, lang->GetAlias(buf, 1));
    EXPECT_STREQ("Det nye testamente", buf);
    int first = 0, second = 0;
    EXPECT_EQ(S_OK, lang->GetAliasTarget(1, &first, &second));
    EXPECT_EQ(39, first);
    EXPECT_EQ(65, second);
    EXPECT_EQ(E_INVALIDARG, lang->GetAlias(buf, 3));
    EXPECT_EQ(E_INVALIDARG, lang->GetAliasTarget(-1, &first, &second));
    GUID g;
    EXPECT_EQ(S_OK, lang->GetLanguageGuid(&g));
    EXPECT_TRUE(IsEqualGUID(kNorwegianLanguage, g));

    struct Case { const char* text; HRESULT hr; int book; } cases[] = {
        {"Joh", S_OK, kJohn},
        {"JOH", S_OK, kJohn},
        {"1 joh", S_OK, 61},
        {"\xE5p", S_OK, kRev},            // case folding of the Norwegian letters
        {"Fil", S_OK, 49},                // equal, though "Filem" also begins so
        {"Jo", S_FALSE, 5},               // Jos, Job, Joel, Jona, Joh: the lowest
        {"Johannes", S_FALSE, -1},
        {"xyz", S_FALSE, -1},
    };
    for (const Case& c : cases) {
        int book = 7;
        EXPECT_EQ(c.hr, lang->FindBook(c.text, &book)) << c.text;
        EXPECT_EQ(c.book, book) << c.text;
    }
}

TEST_F(LangStatTest, IsTheBiblesStatistics) {
    ComPtr<IBibleStat> asStat;
    ASSERT_EQ(S_OK, lang.As(IID_IBibleStat, &asStat));
    EXPECT_EQ(static_cast<IBibleStat*>(lang.Get()), asStat.Get());
    EXPECT_EQ(31102, asStat->GetVerseCount());
    EXPECT_EQ(21, asStat->GetChaptersInBook(kJohn));
    EXPECT_EQ(25, asStat->GetVersesInChapter(kJude, 0));
    ComPtr<IBibleHandles> none;
    EXPECT_EQ(E_NOINTERFACE, lang.As(IID_IBibleHandles, &none));

    // GetBibleStat hands out one reference of its own.
    IBibleStat* inner = nullptr;
    ASSERT_EQ(S_OK, lang->GetBibleStat(&inner));
    ULONG refs = inner->AddRef();
    EXPECT_EQ(refs - 1, inner->Release());
    EXPECT_EQ(refs - 2, inner->Release());
}

TEST_F(LangStatTest, FormatCases) {
    const int john316 = Ref(kJohn, 2, 15);
    struct Case { const char* what; int h, prev, prevRange, next; BOOL term; const char* text; } cases[] = {
        {"no context", john316, 0, 0, 0, FALSE, "Joh 3:16"},
        {"after a verse of the chapter", john316, Ref(kJohn, 2, 0), 0, 0, FALSE, "v. 16"},
        {"after a range's end", john316, 0, Ref(kJohn, 2, 13), 0, FALSE, "16"},
        {"next verse", Range(kJohn, 2, 15, kJohn, 2, 16), 0, 0, 0, FALSE, "Joh 3:16f"},
        {"verses", Range(kJohn, 2, 15, kJohn, 2, 17), 0, 0, 0, FALSE, "Joh 3:16-18"},
        {"across chapters", Range(kJohn, 2, 15, kJohn, 3, 1), 0, 0, 0, FALSE, "Joh 3:16-4:2"},
        {"open", Open(kJohn, 2, 15), 0, 0, 0, FALSE, "Joh 3:16ff"},
        {"one-chapter book", Ref(kJude, 0, 4), 0, 0, 0, FALSE, "Jud 5"},
        {"chapters", Range(kGen, 0, -1, kGen, 2, -1), 0, 0, 0, FALSE, "1 Mos 1-3"},
        {"books", Range(kGen, -1, -1, 4, -1, -1), 0, 0, 0, FALSE, "1 Mos-5 Mos"},
        {"a book", Ref(kJohn, -1, -1), 0, 0, 0, FALSE, "Joh"},
        {"a chapter", Ref(kJohn, 2, -1), 0, 0, 0, FALSE, "Joh 3"},
        {"the whole bible", Ref(-1, -1, -1), 0, 0, 0, FALSE, "Norsk"},
        {"last verse", Ref(kRev, 21, 20), 0, 0, 0, FALSE, "\xC5p 22:21"},
        {"into another book", Range(kJude, 0, 24, kRev, 0, 0), 0, 0, 0, FALSE, "Jud 25-\xC5p 1:1"},
        {"into a one-chapter book", Range(63, 0, 13, kJude, 0, 0), 0, 0, 0, FALSE, "3 Joh 14-Jud 1"},
        {"within a one-chapter book", Range(kJude, 0, 2, kJude, 0, 4), 0, 0, 0, FALSE, "Jud 3-5"},
        {"a one-chapter book's verse after another", Ref(kJude, 0, 4), Ref(kJude, 0, 2), 0, 0, FALSE, "v. 5"},
        {"after a range in a chapter", Ref(kJohn, 2, 19), Range(kJohn, 2, 15, kJohn, 2, 17), 0, 0, FALSE, "v. 20"},
        {"after a range in a book", Ref(kJohn, 4, 0), Range(kJohn, 2, 0, kJohn, 3, 1), 0, 0, FALSE, "5:1"},
        {"after an open range", Ref(kJohn, 2, 19), Open(kJohn, 2, 15), 0, 0, FALSE, "v. 20"},
        {"after another book", john316, Ref(kGen, 2, 15), 0, 0, FALSE, "Joh 3:16"},
        {"then a later verse", john316, 0, 0, Ref(kJohn, 2, 17), TRUE, "Joh 3:16,"},
        {"then another chapter", john316, 0, 0, Ref(kJohn, 3, 0), TRUE, "Joh 3:16."},
        {"then an earlier verse", john316, 0, 0, Ref(kJohn, 2, 3), TRUE, "Joh 3:16."},
        {"then nothing", john316, 0, 0, 0, TRUE, "Joh 3:16."},
        {"a range then a verse after its end", Range(kJohn, 2, 15, kJohn, 2, 17), 0, 0, Ref(kJohn, 2, 19), TRUE,
         "Joh 3:16-18,"},
        {"a chapter then a verse", Ref(kJohn, 2, -1), 0, 0, Ref(kJohn, 2, 3), TRUE, "Joh 3."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, Format(c.h, c.prev, c.prevRange, c.next, c.term)) << c.what;

    char buf[kFormatRefBufferSize];
    EXPECT_EQ(E_INVALIDARG, lang->FormatRef(buf, 0, 0, 0, 0, FALSE));
    EXPECT_EQ(E_INVALIDARG, lang->FormatRef(buf, 0xFFFF7FFF, 0, 0, 0, FALSE));
    EXPECT_EQ(E_POINTER, lang->FormatRef(nullptr, john316, 0, 0, 0, FALSE));
}

TEST_F(LangStatTest, ParseCases) {
    struct Case { const char* text; HRESULT hr; int handle; } cases[] = {
        {"Joh 3:16", S_OK, Ref(kJohn, 2, 15)},
        {"  joh  3 : 16  ", S_OK, Ref(kJohn, 2, 15)},
        {"Joh 3:16f", S_OK, Range(kJohn, 2, 15, kJohn, 2, 16)},
        {"Joh 3:16-18", S_OK, Range(kJohn, 2, 15, kJohn, 2, 17)},
        {"Joh 3:16-4:2", S_OK, Range(kJohn, 2, 15, kJohn, 3, 1)},
        {"Joh 3:16ff", S_OK, Open(kJohn, 2, 15)},
        {"Jud 5", S_OK, Ref(kJude, 0, 4)},
        {"Jud 1:5", S_OK, Ref(kJude, 0, 4)},
        {"1 Mos 1-3", S_OK, Range(kGen, 0, -1, kGen, 2, -1)},
        {"1 Mos", S_OK, Ref(kGen, -1, -1)},
        {"2 mos 40", S_OK, Ref(kExod, 39, -1)},
        {"1 Mos-5 Mos", S_OK, Range(kGen, -1, -1, 4, -1, -1)},
        {"\xE5p 22:21", S_OK, Ref(kRev, 21, 20)},
        {"Sal 119:176", S_OK, Ref(18, 118, 175)},
        {"Joh 3-4:2", S_OK, Range(kJohn, 2, 0, kJohn, 3, 1)},
        {"Joh 3:16.", S_OK, Ref(kJohn, 2, 15)},
        {"Joh v. 3", E_INVALIDARG, 0},     // a verse needs a chapter
        {"Joh 3ff", E_INVALIDARG, 0},
        {"Joh 3f", E_INVALIDARG, 0},
        {"3:16", E_INVALIDARG, 0},
        {"Joh 3:", E_INVALIDARG, 0},
        {"Joh 0:1", E_INVALIDARG, 0},
        {"Joh 3:0", E_INVALIDARG, 0},
        {"Joh 3:99", E_INVALIDARG, 0},
        {"Joh 22", E_INVALIDARG, 0},
        {"Jud 26", E_INVALIDARG, 0},
        {"Joh 3:36f", E_INVALIDARG, 0},    // no verse after the chapter's last
        {"Joh 3, 4", E_INVALIDARG, 0},     // "," only after a verse
        {"Joh 3:16 x", E_INVALIDARG, 0},
        {"Johannes 3:16", E_INVALIDARG, 0},
        {"Joh 3:1000", E_INVALIDARG, 0},   // 100, then 0: two numbers
        {"", S_FALSE, 0},
        {" \t\r\n ", S_FALSE, 0},
    };
    for (const Case& c : cases) {
        int h = 7;
        size_t consumed = 99;
        EXPECT_EQ(c.hr, Parse(c.text, &h, nullptr, &consumed)) << c.text;
        EXPECT_EQ(c.handle, h) << c.text;
        if (FAILED(c.hr) || c.hr == S_FALSE) EXPECT_EQ(0u, consumed) << c.text;  // the cursor stays
        else EXPECT_EQ(strlen(c.text), consumed) << c.text;
    }
}

TEST_F(LangStatTest, ParseCarriesItsContext) {
    // 'Joh 3:16, 18. 4:1': the context handle passed back makes 18 a verse of chapter 3 and,
    // after the ".", 4 a chapter.
    std::string text = "Joh 3:16, 18. 4:1";
    char* cursor = &text[0];
    int h = 0, context = 0;
    ASSERT_EQ(S_OK, lang->ParseRef(&cursor, &h, &context));
    EXPECT_EQ(Ref(kJohn, 2, 15), h);
    EXPECT_STREQ(" 18. 4:1", cursor);
    ASSERT_EQ(S_OK, lang->ParseRef(&cursor, &h, &context));
    EXPECT_EQ(Ref(kJohn, 2, 17), h);
    EXPECT_EQ(Ref(kJohn, 2, -1), context);  // the "." took the verse out of the context
    ASSERT_EQ(S_OK, lang->ParseRef(&cursor, &h, &context));
    EXPECT_EQ(Ref(kJohn, 3, 0), h);
    EXPECT_EQ(S_FALSE, lang->ParseRef(&cursor, &h, &context));
    EXPECT_EQ(0, h);

    struct Case { int context; const char* text; int handle; } cases[] = {
        {Ref(kJohn, 2, 0), "16", Ref(kJohn, 2, 15)},             // a verse context: a verse
        {Ref(kJohn, 2, 0), "v. 16", Ref(kJohn, 2, 15)},
        {Ref(kJohn, 2, -1), "16", Ref(kJohn, 15, -1)},           // a chapter context: a chapter
        {Ref(kJohn, 2, -1), "v. 16", Ref(kJohn, 2, 15)},
        {Ref(kJohn, 2, 0), "4:1", Ref(kJohn, 3, 0)},
        {Ref(kJohn, 2, 0), "16-18", Range(kJohn, 2, 15, kJohn, 2, 17)},
        {Ref(kJude, 0, 2), "5", Ref(kJude, 0, 4)},
        {Range(kJohn, 2, 15, kJohn, 2, 17), "20", Ref(kJohn, 19, -1)},  // the range's common part: chapter 3
        {Ref(kJohn, 2, 0), "Rom 8", Ref(44, 7, -1)},              // a book starts afresh
    };
    for (const Case& c : cases) {
        int ctx = c.context;
        EXPECT_EQ(S_OK, Parse(c.text, &h, &ctx)) << c.text;
        EXPECT_EQ(c.handle, h) << c.text;
    }
    // A failure leaves the context too.
    int ctx = Ref(kJohn, 2, 0);
    EXPECT_EQ(E_INVALIDARG, Parse("99", &h, &ctx));
    EXPECT_EQ(Ref(kJohn, 2, 0), ctx);
    EXPECT_EQ(E_INVALIDARG, Parse("16", &h, nullptr));  // no context: no book
    EXPECT_EQ(E_POINTER, lang->ParseRef(nullptr, &h, nullptr));
}

// FormatRef then ParseRef gives back the handle, for every book, chapter and verse and for
// ranges of every kind. A one-chapter book's chapter prints as the book ("Jud") and reads
// back as the book, so those chapters are checked to give the book.
TEST_F(LangStatTest, FormatThenParseRoundTripsEverything) {
    int checked = 0;
    auto roundTrip = [&](int h, int expected) {
        std::string text = Format(h);
        int parsed = 0;
        size_t consumed = 0;
        ASSERT_EQ(S_OK, Parse(text, &parsed, nullptr, &consumed)) << text;
        ASSERT_EQ(expected, parsed) << text;
        ASSERT_EQ(text.size(), consumed) << text;
        ++checked;
    };
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, lang->GetBibleStat(stat.Put()));
    for (int b = 0; b < 66; ++b) {
        const int chapters = stat->GetChaptersInBook(b);
        roundTrip(Ref(b, -1, -1), Ref(b, -1, -1));
        if (b + 1 < 66) roundTrip(Range(b, -1, -1, b + 1, -1, -1), Range(b, -1, -1, b + 1, -1, -1));
        roundTrip(Range(b, -1, -1, b, -1, -1), Range(b, -1, -1, b, -1, -1));
        for (int c = 0; c < chapters; ++c) {
            const int verses = stat->GetVersesInChapter(b, c);
            if (chapters == 1) roundTrip(Ref(b, c, -1), Ref(b, -1, -1));
            else roundTrip(Ref(b, c, -1), Ref(b, c, -1));
            if (c + 1 < chapters) roundTrip(Range(b, c, -1, b, c + 1, -1), Range(b, c, -1, b, c + 1, -1));
            roundTrip(Range(b, c, 0, b, c, verses - 1), Range(b, c, 0, b, c, verses - 1));
            for (int v = 0; v < verses; ++v) {
                roundTrip(Ref(b, c, v), Ref(b, c, v));
                roundTrip(Open(b, c, v), Open(b, c, v));
                if (v + 1 < verses) roundTrip(Range(b, c, v, b, c, v + 1), Range(b, c, v, b, c, v + 1));
            }
            // Across the chapter's end, into the next chapter or book.
            int nb = b, nc = c + 1;
            if (nc == chapters) nb = b + 1, nc = 0;
            if (nb < 66) roundTrip(Range(b, c, verses - 1, nb, nc, 0), Range(b, c, verses - 1, nb, nc, 0));
        }
        if (chapters > 1) roundTrip(Range(b, 0, -1, b, chapters - 1, -1), Range(b, 0, -1, b, chapters - 1, -1));
    }
    roundTrip(Range(kJohn, 2, 15, kJohn, 2, 15), Range(kJohn, 2, 15, kJohn, 2, 15));  // a counted range of one
    EXPECT_GT(checked, 3 * 31102);
}

TEST_F(LangStatTest, SharedByLanguageOverOneNumbering) {
    ComPtr<IStream> file;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), file.Put()));
    LONG before = CUnknown::LiveObjects();
    ComPtr<IBibleLangStat> again;
    ASSERT_EQ(S_OK, OpenLangStat(file.Get(), again.Put()));
    EXPECT_EQ(lang.Get(), again.Get());
    EXPECT_EQ(before, CUnknown::LiveObjects());

    // The same language over another numbering is another object: its counts differ.
    const std::string bytes = ReadWholeFile(path);
    GUID otherId = kProtestantIdentity;
    otherId.Data1 ^= 0x10;
    ComPtr<IBibleLangStat> other;
    ASSERT_EQ(S_OK, OpenLangStat(MemoryStream(WithValueAt(bytes, 6, otherId)).Get(), other.Put()));
    EXPECT_NE(lang.Get(), other.Get());
    EXPECT_EQ(before + 2, CUnknown::LiveObjects());  // a statistics object and its language
    other.Reset();
    again.Reset();
    EXPECT_EQ(before, CUnknown::LiveObjects());

    // Once released, the object leaves the list: a new open makes a new one.
    IBibleLangStat* raw = lang.Detach();
    handles.Reset();
    EXPECT_EQ(0u, raw->Release());
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), file.Put()));
    ASSERT_EQ(S_OK, OpenLangStat(file.Get(), lang.Put()));
    char buf[64];
    EXPECT_EQ(S_OK, lang->GetBookName(buf, kJohn));
    EXPECT_STREQ("Joh", buf);

    IBibleLangStat* none = reinterpret_cast<IBibleLangStat*>(1);
    EXPECT_EQ(E_INVALIDARG, OpenLangStatOnBibleStat(MemoryStream("").Get(), nullptr, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(E_INVALIDARG, CreateLangStat(nullptr, nullptr, &none));
}

// A source with one name longer than the buffers and counts of the caller's choosing.
class TestSource : public ILangStatSource {
public:
    int names = 2, aliases = 1, aliasFirst = 0, aliasSecond = 1;
    std::string longName = std::string(200, 'L');
    int STDMETHODCALLTYPE GetNameCount() override { return names; }
    HRESULT STDMETHODCALLTYPE GetName(char* buf, int index) override {
        lstrcpynA(buf, index == -1 ? "Test" : index == 0 ? longName.c_str() : "B", kLangSourceBufferSize);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSecondName(char* buf, int) override {
        lstrcpyA(buf, "second");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unused() override {
        ADD_FAILURE() << "the fourth operation is not called";
        return E_NOTIMPL;
    }
    int STDMETHODCALLTYPE GetAliasCount() override { return aliases; }
    HRESULT STDMETHODCALLTYPE GetAlias(char* buf, int) override {
        lstrcpyA(buf, "alias");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAliasValues(int, int* first, int* second) override {
        *first = aliasFirst;
        *second = aliasSecond;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) override {
        *out = GUID{9, 9, 9, {9}};
        return S_OK;
    }
};

TEST_F(LangStatTest, BuiltFromASource) {
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, lang->GetBibleStat(stat.Put()));
    TestSource source;
    ComPtr<IBibleLangStat> built;
    ASSERT_EQ(S_OK, CreateLangStat(stat.Get(), &source, built.Put()));
    // Names are handed out cut to 63 characters.
    char buf[80];
    memset(buf, '#', sizeof buf);
    EXPECT_EQ(S_OK, built->GetBookName(buf, 0));
    EXPECT_EQ(std::string(63, 'L'), buf);
    EXPECT_EQ('#', buf[64]);
    // The block holds what the source gave, the long name whole: marker, fixed part, one
    // pair, "Test", "alias", the long name, "second", "B", "second", each with its zero.
    ComPtr<IStream> s = MemoryStream();
    ASSERT_EQ(S_OK, built->SaveLanguage(s.Get()));
    const std::string block = StreamBytes(s.Get());
    EXPECT_EQ(2u + 22 + 2 + 5 + 6 + 201 + 7 + 2 + 7, block.size());
    EXPECT_NE(std::string::npos, block.find(source.longName + '\0'));
    INT32 size = 0;
    memcpy(&size, &block[2], 4);
    EXPECT_EQ(static_cast<INT32>(block.size() - 2), size);

    // Counts and alias values outside the block's bytes are refused.
    struct Case { int names, aliases, first, second; } bad[] = {
        {128, 0, 0, 0}, {-1, 0, 0, 0}, {1, 128, 0, 0}, {1, 1, -129, 0}, {1, 1, 128, 0}, {1, 1, 0, 256}, {1, 1, 0, -1}};
    for (const Case& c : bad) {
        TestSource t;
        t.names = c.names, t.aliases = c.aliases, t.aliasFirst = c.first, t.aliasSecond = c.second;
        IBibleLangStat* none = reinterpret_cast<IBibleLangStat*>(1);
        EXPECT_EQ(E_INVALIDARG, CreateLangStat(stat.Get(), &t, &none));
        EXPECT_EQ(nullptr, none);
    }
    TestSource negative;
    negative.aliasFirst = -5;
    ASSERT_EQ(S_OK, CreateLangStat(stat.Get(), &negative, built.Put()));
    int first = 0, second = 0;
    EXPECT_EQ(S_OK, built->GetAliasTarget(0, &first, &second));
    EXPECT_EQ(-5, first);
    EXPECT_EQ(1, second);
}

TEST_F(LangStatTest, DamagedLanguageBlocksAreRefused) {
    ComPtr<IStream> s = MemoryStream();
    ASSERT_EQ(S_OK, lang->SaveLanguage(s.Get()));
    const std::string good = StreamBytes(s.Get());
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, lang->GetBibleStat(stat.Put()));
    LONG before = CUnknown::LiveObjects();
    auto refused = [&](const std::string& bytes) {
        IBibleLangStat* r = reinterpret_cast<IBibleLangStat*>(1);
        HRESULT hr = OpenLangStatOnBibleStat(MemoryStream(bytes).Get(), stat.Get(), &r);
        EXPECT_EQ(nullptr, r);
        return hr;
    };
    for (size_t len = 0; len < good.size(); ++len) ASSERT_EQ(E_INVALIDARG, refused(good.substr(0, len))) << len;
    INT32 size = 0;
    memcpy(&size, &good[2], 4);
    std::string unterminated = good;
    unterminated.back() = 'x';
    std::string cases[] = {
        WithValueAt<INT32>(good, 2, size - 1),                    // the last string loses its zero
        WithValueAt<INT32>(good, 2, size + 1) + "x",              // a byte after the strings
        WithValueAt<INT32>(good, 2, 0x7FFFFFFF),
        WithValueAt<INT32>(good, 2, -1),
        WithValueAt<INT32>(good, 2, 10),
        WithValueAt<BYTE>(good, 22, 127),                          // more aliases than held
        WithValueAt<BYTE>(good, 23, 127),                          // more books than held
        WithValueAt<BYTE>(good, 22, 0x80),                         // negative counts
        WithValueAt<BYTE>(good, 23, 0xFF),
        WithValueAt<BYTE>(good, 23, 65),                           // one book fewer: bytes left over
        unterminated,
    };
    for (const std::string& bytes : cases) EXPECT_EQ(E_INVALIDARG, refused(bytes));
    // Random damage: refused, or every name and every book's reference can be read.
    TestRandom rnd(99);
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        bytes[2 + rnd.Below(static_cast<unsigned>(bytes.size() - 2))] ^= static_cast<char>(1 + rnd.Below(255));
        ComPtr<IBibleLangStat> r;
        if (FAILED(OpenLangStatOnBibleStat(MemoryStream(bytes).Get(), stat.Get(), r.Put()))) continue;
        char buf[kFormatRefBufferSize];
        for (int b = -1; b < 66; ++b) {
            HRESULT hr = r->GetBookName(buf, b);
            ASSERT_TRUE(hr == S_OK || hr == E_INVALIDARG);
            ASSERT_LE(strlen(buf), 63u);
            if (b >= 0) {
                HRESULT f = r->FormatRef(buf, Ref(b, 0, 0), 0, 0, 0, TRUE);
                ASSERT_TRUE(f == S_OK || f == E_INVALIDARG);
            }
        }
    }
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

TEST_F(LangStatTest, AnyTypedTextIsSafe) {
    std::vector<std::string> texts = {
        std::string(1000, '7'),
        "Joh " + std::string(1000, '1'),
        "Joh 3:" + std::string(1000, '9'),
        std::string(40, 'a') + " 3:16",
        "Joh 3:16, " + std::string(500, ','),
        std::string(300, ' ') + "Joh 3:16",
    };
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
    texts.push_back(high);
    texts.push_back(high + high + high);
    // Random texts made of pieces of references and stray bytes.
    const char* pieces[] = {"Joh", " ", "3", ":", "16", ",", ".", "-", "f", "ff", "v.", "1 Mos", "Jud", "\xC5p",
                            "99", "0", "\xFF", "\x80", "\t", "x", "1", "5"};
    TestRandom rnd(3);
    for (int i = 0; i < 3000; ++i) {
        std::string t;
        for (unsigned k = rnd.Below(12); k; --k) t += pieces[rnd.Below(sizeof pieces / sizeof *pieces)];
        texts.push_back(t);
    }
    for (const std::string& t : texts) {
        std::string copy = t;
        char* const begin = &copy[0];
        char* cursor = begin;
        int h = 0, context = 0;
        // Each success moves the cursor forward within the text; a failure leaves it.
        for (int steps = 0; steps <= static_cast<int>(t.size()); ++steps) {
            char* was = cursor;
            HRESULT hr = lang->ParseRef(&cursor, &h, &context);
            if (hr != S_OK) {
                ASSERT_EQ(was, cursor);
                ASSERT_EQ(0, h);
                break;
            }
            ASSERT_GT(cursor, was);
            ASSERT_LE(cursor, begin + t.size());
            char buf[kFormatRefBufferSize];
            ASSERT_EQ(S_OK, lang->FormatRef(buf, h, 0, 0, 0, TRUE));
        }
    }
}

}  // namespace
