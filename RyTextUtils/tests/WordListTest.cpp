// IRyDictionary: loading the word-list stream, decoding words, look-ups, and damaged streams.
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <set>
#include "Collation.h"
#include "StreamBuilder.h"
#include "WordListFormat.h"
#include "WordListWriter.h"

namespace {

class WordListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Loaded()); }
    HRESULT Load(const std::string& bytes, ComPtr<IRyDictionary>* out) {
        return LoadFromBytes(server, CLSID_RyDictionary, bytes, out, IID_IRyDictionary);
    }
    ComPtr<IRyDictionary> MustLoad(const std::string& bytes) {
        ComPtr<IRyDictionary> d;
        EXPECT_EQ(S_OK, Load(bytes, &d));
        return d;
    }
    static std::string Word(IRyDictionary* d, long i) {
        char buf[kWordBufferSize] = {};
        EXPECT_EQ(S_OK, d->get_Word(i, buf)) << i;
        return buf;
    }
    ComScope com;
    RyServer server;
};

TEST_F(WordListTest, PrefixCodeBorrowsThePreviousWord) {
    // 'abbeden' stored as the code for u = 0 (the previous word, nothing removed) and 'en'.
    auto d = MustLoad(StreamBuilder::WordList({"abbed", std::string(1, CodeByte(0)) + "en"}));
    ASSERT_TRUE(d);
    long n = 0;
    EXPECT_EQ(S_OK, d->get_WordCount(&n));
    EXPECT_EQ(2, n);
    EXPECT_EQ("abbed", Word(d.Get(), 0));
    EXPECT_EQ("abbeden", Word(d.Get(), 1));
    long idx = -5;
    EXPECT_EQ(S_OK, d->Find(const_cast<LPSTR>("ABBEDEN"), &idx));
    EXPECT_EQ(1, idx);
}

TEST_F(WordListTest, PackedLengthsEndingsAndPrefixesDecode) {
    // 0xC6 gives the lengths 4, 3, 2 and 0x8A gives 4, 3.
    StreamBuilder b;
    b.U8(7).Raw("StdLang").U8(0).U32(5).Block("\xC6\x8A").Block("abcdabdacacdeacf");
    auto d = MustLoad(b.Bytes());
    ASSERT_TRUE(d);
    const char* expect[] = {"abcd", "abd", "ac", "acde", "acf"};
    for (long i = 0; i < 5; ++i) EXPECT_EQ(expect[i], Word(d.Get(), i));

    // Endings "ene" (number 0) and "en" (number 1); a prefix that removes two characters.
    StreamBuilder e;
    std::string recs[] = {std::string("gutt") + CodeByte(1),        // gutten
                          std::string("gutt") + CodeByte(0),        // guttene
                          std::string(1, CodeByte(0)) + "s",        // guttene + s
                          std::string(1, CodeByte(8 * 1 + 2)) + "r"};  // guttene - "ne" + r
    std::string lengths, data;
    for (const std::string& r : recs) {
        lengths.push_back(static_cast<char>(r.size()));
        data += r;
    }
    e.U8(7).Raw("StdLang").U8(3).U8(1).U8(1).Raw("eneen").U32(4).Block(lengths).Block(data);
    d = MustLoad(e.Bytes());
    ASSERT_TRUE(d);
    EXPECT_EQ("gutten", Word(d.Get(), 0));
    EXPECT_EQ("guttene", Word(d.Get(), 1));
    EXPECT_EQ("guttenes", Word(d.Get(), 2));
    EXPECT_EQ("gutter", Word(d.Get(), 3));
}

TEST_F(WordListTest, LookUpsAndTheirCodes) {
    auto d = MustLoad(StreamBuilder::WordList({"abbed", std::string(1, CodeByte(0)) + "en", "lys", "m\xF8rke", "x"}));
    ASSERT_TRUE(d);
    long idx = 7, b = 7, e = 7;
    EXPECT_EQ(S_FALSE, d->Find(const_cast<LPSTR>("abc"), &idx));
    EXPECT_EQ(-1, idx);
    EXPECT_EQ(S_OK, d->Find(const_cast<LPSTR>("M\xD8RKE"), &idx));
    EXPECT_EQ(3, idx);
    EXPECT_EQ(S_FALSE, d->Find(const_cast<LPSTR>("zz"), &idx));
    EXPECT_EQ(-1, idx);

    EXPECT_EQ(S_OK, d->FindPrefix(const_cast<LPSTR>("abb"), &b, &e));
    EXPECT_EQ(0, b);
    EXPECT_EQ(2, e);
    EXPECT_EQ(S_OK, d->FindPrefix(const_cast<LPSTR>("\xE1" "bbede"), &b, &e));  // accents are ignored
    EXPECT_EQ(1, b);
    EXPECT_EQ(2, e);
    // 'abbed' sorts below 'ább' (accent) yet begins with it: the run starts at 'abbed'.
    EXPECT_EQ(S_OK, d->FindPrefix(const_cast<LPSTR>("\xE1" "bb"), &b, &e));
    EXPECT_EQ(0, b);
    EXPECT_EQ(2, e);
    EXPECT_EQ(S_FALSE, d->FindPrefix(const_cast<LPSTR>("n"), &b, &e));  // empty run inside the list
    EXPECT_EQ(4, b);
    EXPECT_EQ(4, e);
    EXPECT_EQ(S_FALSE, d->FindPrefix(const_cast<LPSTR>("xyz"), &b, &e));  // past the last word
    EXPECT_EQ(-1, b);
    EXPECT_EQ(-1, e);

    char buf[kWordBufferSize];
    EXPECT_EQ(E_INVALIDARG, d->get_Word(5, buf));
    EXPECT_EQ(E_INVALIDARG, d->get_Word(-1, buf));
    EXPECT_EQ(E_POINTER, d->get_Word(0, nullptr));
    EXPECT_EQ(E_INVALIDARG, d->Find(nullptr, &idx));
    EXPECT_EQ(E_INVALIDARG, d->Find(const_cast<LPSTR>(""), &idx));
    EXPECT_EQ(E_POINTER, d->Find(const_cast<LPSTR>("a"), nullptr));
    EXPECT_EQ(E_INVALIDARG, d->FindPrefix(const_cast<LPSTR>(""), &b, &e));
    EXPECT_EQ(E_POINTER, d->FindPrefix(const_cast<LPSTR>("a"), nullptr, &e));
    EXPECT_EQ(E_POINTER, d->get_WordCount(nullptr));

    ComPtr<IRyLanguage> lang;
    ASSERT_EQ(S_OK, d->get_Language(lang.Put()));
    EXPECT_EQ(2u, RefCount(lang.Get()));  // ours and the list's
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, lang->get_LanguageName(&name));
    EXPECT_STREQ(L"StdLang", name);
    SysFreeString(name);
    EXPECT_EQ(E_POINTER, d->get_Language(nullptr));

    // Loaded once; a second load leaves the list as it is.
    ComPtr<IPersistStream> persist;
    ASSERT_EQ(S_OK, d->QueryInterface(IID_IPersistStream, persist.PutVoid()));
    ComPtr<IStream> again = MemoryStream(StreamBuilder::WordList({"q"}));
    EXPECT_EQ(E_UNEXPECTED, persist->Load(again.Get()));
    EXPECT_EQ("lys", Word(d.Get(), 2));
}

TEST_F(WordListTest, EmptyObjectAnswersBeforeLoading) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyDictionary, IID_IClassFactory, factory.PutVoid()));
    ComPtr<IRyDictionary> d;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IRyDictionary, d.PutVoid()));
    long n = 5, idx = 5, b = 5, e = 5;
    EXPECT_EQ(S_OK, d->get_WordCount(&n));
    EXPECT_EQ(0, n);
    char buf[kWordBufferSize];
    EXPECT_EQ(E_INVALIDARG, d->get_Word(0, buf));
    ComPtr<IRyLanguage> lang;
    EXPECT_EQ(E_FAIL, d->get_Language(lang.Put()));
    EXPECT_EQ(S_FALSE, d->Find(const_cast<LPSTR>("a"), &idx));
    EXPECT_EQ(-1, idx);
    EXPECT_EQ(S_FALSE, d->FindPrefix(const_cast<LPSTR>("a"), &b, &e));
    EXPECT_EQ(-1, b);
}

TEST_F(WordListTest, DamagedStreamsFailToLoad) {
    const std::string P0(1, CodeByte(0));
    std::string longWord(kMaxWordBytes, 'a');
    StreamBuilder tooManyEndings, threeLengthsForTwo, fourForThree, dataMismatch, noName, longName, unknown;
    tooManyEndings.U8(7).Raw("StdLang").U8(2).U8(132);
    threeLengthsForTwo.U8(7).Raw("StdLang").U8(0).U32(2).Block("\xC6").Block("abcdabdac");
    fourForThree.U8(7).Raw("StdLang").U8(0).U32(4).Block("\xC6").Block("abcdabdac");
    dataMismatch.U8(7).Raw("StdLang").U8(0).U32(1).Block("\x03").Block("abcd");
    noName.U8(0);
    longName.U8(50).Raw(std::string(50, 'x'));
    struct Case { const char* what; std::string bytes; HRESULT expect; };
    const Case cases[] = {
        {"prefix code in word 0", StreamBuilder::WordList({P0 + "ab"}), E_FAIL},
        {"prefix before word 0", StreamBuilder::WordList({"ab", std::string(1, CodeByte(8)) + "c"}), E_FAIL},
        {"prefix to a prefixed word", StreamBuilder::WordList({"ab", P0 + "c", P0 + "d"}), E_FAIL},
        {"removes more than the word", StreamBuilder::WordList({"ab", std::string(1, CodeByte(3)) + "c"}), E_FAIL},
        {"ending beyond the endings", StreamBuilder::WordList({"ab" + P0}), E_FAIL},
        {"more endings than unused bytes", tooManyEndings.Bytes(), E_FAIL},
        {"three lengths for two words", threeLengthsForTwo.Bytes(), E_FAIL},
        {"three lengths for four words", fourForThree.Bytes(), E_FAIL},
        {"record bytes differ from lengths", dataMismatch.Bytes(), E_FAIL},
        {"a word over 127 bytes", StreamBuilder::WordList({longWord, P0 + "x"}), E_FAIL},
        {"a zero byte in a word", StreamBuilder::WordList({std::string("a\0b", 3)}), E_FAIL},
        {"empty language name", noName.Bytes(), E_FAIL},
        {"language name over 49 bytes", longName.Bytes(), E_FAIL},
        {"unknown language", StreamBuilder().U8(7).Raw("Klingon").Bytes(), CO_E_CLASSSTRING},
    };
    for (const Case& c : cases) {
        ComPtr<IRyDictionary> d;
        EXPECT_EQ(c.expect, Load(c.bytes, &d)) << c.what;
        EXPECT_FALSE(d) << c.what;
    }
    // The longest word that loads is exactly 127 bytes.
    auto d = MustLoad(StreamBuilder::WordList({longWord}));
    ASSERT_TRUE(d);
    EXPECT_EQ(longWord, Word(d.Get(), 0));
}

TEST_F(WordListTest, EveryTruncationFails) {
    std::vector<std::string> words = {"abbed", "abbeden", "guds", "gudsrike", "herren", "herrens", "lys", "m\xF8rke"};
    std::string stream, error;
    ASSERT_TRUE(WriteWordList(words, &stream, &error)) << error;
    ASSERT_TRUE(MustLoad(stream));
    for (size_t cut = 0; cut < stream.size(); ++cut) {
        ComPtr<IRyDictionary> d;
        EXPECT_EQ(E_FAIL, Load(stream.substr(0, cut), &d)) << cut;
    }
}

TEST_F(WordListTest, WriterRoundTripsAndLookUpsMatchAPlainScan) {
    // Words with shared beginnings and endings, accents, case variants that compare equal,
    // apostrophes and hyphens, digits, and 127-byte words.
    std::mt19937 rng(7);
    const std::string letters = std::string("abdegiklmnorstu") + "\xE6\xF8\xE5\xE9" + "'-";
    std::set<std::string> unique = {"abbed", "abbeden", "co-op", "coop", "McDonald", "mcdonald", "Guds", "guds",
                                    "1905", std::string(127, 'z'), std::string(126, 'z') + "y"};
    const char* stems[] = {"herre", "gud", "rike", "lys", "s\xF8nn", "fader", "\xE5nd"};
    const char* endings[] = {"", "n", "ne", "ns", "nes", "r", "rne", "lig", "ligste", "ene"};
    for (const char* s : stems)
        for (const char* e : endings) unique.insert(std::string(s) + e);
    while (unique.size() < 3000) {
        std::string w(1, "abdegiklmnorstu"[rng() % 15]);
        size_t n = 1 + rng() % 9;
        for (size_t i = 0; i < n; ++i) w.push_back(letters[rng() % letters.size()]);
        while (w.back() == '\'' || w.back() == '-') w.pop_back();
        unique.insert(w);
    }
    std::vector<std::string> words(unique.begin(), unique.end());
    SortWords(&words);
    std::string stream, error;
    ASSERT_TRUE(WriteWordList(words, &stream, &error)) << error;
    auto d = MustLoad(stream);
    ASSERT_TRUE(d);
    long n = 0;
    d->get_WordCount(&n);
    ASSERT_EQ(static_cast<long>(words.size()), n);
    for (long i = 0; i < n; ++i) ASSERT_EQ(words[static_cast<size_t>(i)], Word(d.Get(), i)) << i;

    const Collation& c = Collation::Std();
    for (size_t i = 0; i < words.size(); i += 7) {
        long idx = -1;
        ASSERT_EQ(S_OK, d->Find(const_cast<LPSTR>(words[i].c_str()), &idx));
        // The first of the words equal to it.
        size_t first = i;
        while (first > 0 && c.Compare(words[first - 1].c_str(), words[i].c_str()) == 0) --first;
        EXPECT_EQ(static_cast<long>(first), idx) << words[i];
    }
    const char* prefixes[] = {"herre", "gud", "G", "\xE5", "s\xF8", "co", "co-o", "r\xEDk", "z", "mcd", "1", "\xE6\xF8"};
    for (const char* p : prefixes) {
        long b = -1, e = -1;
        HRESULT hr = d->FindPrefix(const_cast<LPSTR>(p), &b, &e);
        std::vector<long> expect;
        for (size_t i = 0; i < words.size(); ++i)
            if (c.IsPrefixedBy(words[i].c_str(), p)) expect.push_back(static_cast<long>(i));
        if (expect.empty()) {
            EXPECT_EQ(S_FALSE, hr) << p;
            EXPECT_EQ(b, e) << p;
        } else {
            EXPECT_EQ(S_OK, hr) << p;
            EXPECT_EQ(expect.front(), b) << p;
            EXPECT_EQ(expect.back() + 1, e) << p;
            EXPECT_EQ(static_cast<long>(expect.size()), e - b) << p;  // one unbroken run
        }
    }
}

}  // namespace
