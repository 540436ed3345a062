// IRyTextTab on hand-made tables: code bytes, rebuilding with blanks and case, short
// buffers, file loading with the leading record, and damaged tables.
#include <gtest/gtest.h>
#include <random>
#include "TextTabHelpers.h"

namespace {

class TextTabTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Loaded()); }
    ComScope com;
    RyServer server;
};

// Words 'begynnelsen', 'gud', 'i' and the phrase ' skapte ' (mode 0): W + P = 4, so B = 1
// and codes 1-254 are one-byte codes.
TableParts Genesis() {
    TableParts t;
    t.phrases = {" skapte "};
    t.modes = {0};
    t.oneByte.assign(254, 0);
    t.oneByte[0] = 0;  // code 1: the phrase
    t.oneByte[1] = 1;  // code 2: begynnelsen
    t.oneByte[2] = 2;  // code 3: gud
    t.oneByte[3] = 3;  // code 4: i
    t.streams = {
        "\x04\x02\x01\x03",                                // I begynnelsen skapte gud
        std::string("\x00\x03\xFF\x02\xA7" "7\x01\x03", 8),  // two-byte 'i', a literal run, the phrase
        "\x04\x01",                                        // a last phrase loses its trailing blank
        "",
    };
    return t;
}
const std::string kGenesisWords = StreamBuilder::WordList({"begynnelsen", "gud", "i"});

TEST_F(TextTabTest, RebuildsTextsWithBlanksAndCase) {
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, LoadTable(server, Genesis().Bytes(kGenesisWords), &tab));
    long n = 0;
    EXPECT_EQ(S_OK, tab->get_TextCount(&n));
    EXPECT_EQ(4, n);
    EXPECT_EQ("I begynnelsen skapte gud", ReadText(tab.Get(), 0));
    long len = 0;
    EXPECT_EQ(S_OK, tab->get_TextLength(0, &len));
    EXPECT_EQ(25, len);
    EXPECT_EQ("I \xA7" "7 skapte gud", ReadText(tab.Get(), 1));
    EXPECT_EQ("I skapte", ReadText(tab.Get(), 2));
    EXPECT_EQ("", ReadText(tab.Get(), 3));
    EXPECT_EQ(S_OK, tab->get_TextLength(3, &len));
    EXPECT_EQ(1, len);

    // Text 1 codes 'i' with two bytes although it has a one-byte code: searches still see it.
    using V = std::vector<long>;
    EXPECT_EQ((V{0, 1, 2}), FindTexts(tab.Get(), "i"));
    EXPECT_EQ((V{0, 1}), FindTexts(tab.Get(), "gud"));
    EXPECT_EQ((V{0}), FindTexts(tab.Get(), "i begynnelsen"));
    EXPECT_EQ((V{0, 1, 2}), FindTexts(tab.Get(), "i*"));
}

TEST_F(TextTabTest, ShortBufferKeepsWholeTokens) {
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, LoadTable(server, Genesis().Bytes(kGenesisWords), &tab));
    char buf[64];
    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(S_OK, tab->get_Text(0, 25, buf));
    EXPECT_STREQ("I begynnelsen skapte gud", buf);
    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(S_FALSE, tab->get_Text(0, 24, buf));  // one byte short: the last token goes
    EXPECT_STREQ("I begynnelsen skapte ", buf);
    EXPECT_EQ('x', buf[23]);
    EXPECT_EQ(S_FALSE, tab->get_Text(0, 2, buf));
    EXPECT_STREQ("I", buf);
    EXPECT_EQ(S_FALSE, tab->get_Text(0, 1, buf));
    EXPECT_STREQ("", buf);

    long len = 0;
    EXPECT_EQ(E_INVALIDARG, tab->get_TextLength(4, &len));
    EXPECT_EQ(E_INVALIDARG, tab->get_TextLength(-1, &len));
    EXPECT_EQ(E_POINTER, tab->get_TextLength(0, nullptr));
    EXPECT_EQ(E_INVALIDARG, tab->get_Text(4, 64, buf));
    EXPECT_EQ(E_INVALIDARG, tab->get_Text(0, 0, buf));
    EXPECT_EQ(E_INVALIDARG, tab->get_Text(0, -5, buf));
    EXPECT_EQ(E_POINTER, tab->get_Text(0, 64, nullptr));
    EXPECT_EQ(E_POINTER, tab->get_TextCount(nullptr));

    ComPtr<IRyDictionary> dict;
    ASSERT_EQ(S_OK, tab->get_Dictionary(dict.Put()));
    EXPECT_EQ(2u, RefCount(dict.Get()));
    long words = 0;
    EXPECT_EQ(S_OK, dict->get_WordCount(&words));
    EXPECT_EQ(3, words);
    EXPECT_EQ(E_POINTER, tab->get_Dictionary(nullptr));
}

TEST_F(TextTabTest, OneByteCodesStartAtB) {
    // 990 words and 10 phrases: W + P = 1000, B = 4. Bytes 0-3 lead two-byte codes, 4-254
    // are one-byte codes (here words 0-250), 255 starts a literal run.
    std::vector<std::string> words;
    for (int i = 0; i < 990; ++i) {
        char w[8];
        wsprintfA(w, "w%03d", i);
        words.push_back(w);
    }
    TableParts t;
    t.phrases = {"", ", ", ". ", "; ", ": ", "! ", "? ", " - ", " (", ") "};
    t.modes.assign(10, 0);
    for (unsigned k = 0; k < 251; ++k) t.oneByte.push_back(10 + k);
    t.streams = {std::string("\x04\x03\xE7\xFE\x00\x01\x00\x0A\xFF\x01#", 11)};
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, LoadTable(server, t.Bytes(StreamBuilder::WordList(words)), &tab));
    EXPECT_EQ("W000 w989 w250, w000 #", ReadText(tab.Get(), 0));
    EXPECT_EQ((std::vector<long>{0}), FindTexts(tab.Get(), "w989"));
    EXPECT_EQ((std::vector<long>{0}), FindTexts(tab.Get(), "w250 w000"));
}

TEST_F(TextTabTest, FileLoadSkipsTheLeadingRecordAndStreamLoadDoesNot) {
    const std::string table = Genesis().Bytes(kGenesisWords);
    TempDir dir;
    const std::string path = dir.File("genesis.tab");
    ASSERT_TRUE(WriteWholeFile(path, "00011Versilo 1.0" + table));
    std::wstring wide(path.begin(), path.end());

    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, server.CreateTextTab(tab.Put()));
    ComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, tab->QueryInterface(IID_IPersistFile, file.PutVoid()));
    ASSERT_EQ(S_OK, file->Load(wide.c_str(), 0));
    EXPECT_EQ("I begynnelsen skapte gud", ReadText(tab.Get(), 0));
    LPOLESTR cur = nullptr;
    ASSERT_EQ(S_OK, file->GetCurFile(&cur));
    EXPECT_STREQ(wide.c_str(), cur);
    CoTaskMemFree(cur);

    // Through a stream the same bytes are not a table.
    ComPtr<IRyTextTab> other;
    EXPECT_TRUE(FAILED(LoadTable(server, "00011Versilo 1.0" + table, &other)));
    // A record that is not five digits, or longer than the file.
    for (const std::string& bad : {std::string("0001xVersilo 1.0") + table, std::string("99999Versilo")}) {
        ASSERT_TRUE(WriteWholeFile(path, bad));
        ComPtr<IRyTextTab> t2;
        ASSERT_EQ(S_OK, server.CreateTextTab(t2.Put()));
        ComPtr<IPersistFile> f2;
        ASSERT_EQ(S_OK, t2->QueryInterface(IID_IPersistFile, f2.PutVoid()));
        EXPECT_EQ(E_FAIL, f2->Load(wide.c_str(), 0));
        long n = 0;
        EXPECT_EQ(E_FAIL, t2->get_TextCount(&n));
    }
}

TEST_F(TextTabTest, EmptyObjectAnswersEFail) {
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, server.CreateTextTab(tab.Put()));
    long n = 0;
    char buf[8];
    EXPECT_EQ(E_FAIL, tab->get_TextCount(&n));
    EXPECT_EQ(E_FAIL, tab->get_TextLength(0, &n));
    EXPECT_EQ(E_FAIL, tab->get_Text(0, 8, buf));
    ComPtr<IRyDictionary> dict;
    EXPECT_EQ(E_FAIL, tab->get_Dictionary(dict.Put()));
    HRESULT hr = S_OK;
    FindTexts(tab.Get(), "lys", 0, -1, &hr);
    EXPECT_EQ(E_FAIL, hr);
}

TEST_F(TextTabTest, DamagedTablesFailToLoad) {
    struct Case { const char* what; TableParts parts; };
    std::vector<Case> cases;
    auto add = [&](const char* what, auto change) {
        TableParts t = Genesis();
        change(t);
        cases.push_back({what, t});
    };
    add("one-byte code outside the vocabulary", [](TableParts& t) { t.oneByte[7] = 4; });
    add("stream ends inside a two-byte code", [](TableParts& t) { t.streams[0] = std::string("\x04\x00", 2); });
    add("two-byte code outside the vocabulary", [](TableParts& t) { t.streams[0] = std::string("\x00\x04", 2); });
    add("literal run longer than the stream", [](TableParts& t) { t.streams[0] = "\x04\xFF\x05" "ab"; });
    add("literal length cut short", [](TableParts& t) { t.streams[0] = "\x04\xFF\x85"; });
    add("case mode above 3", [](TableParts& t) { t.modes[0] = 4; });
    add("fewer phrases than announced", [](TableParts& t) { t.phrases.push_back("x"); t.modes.push_back(0); t.oneByte.pop_back(); });
    for (const Case& c : cases) {
        ComPtr<IRyTextTab> tab;
        EXPECT_EQ(E_FAIL, LoadTable(server, c.parts.Bytes(kGenesisWords), &tab)) << c.what;
    }
    // Every truncation of a good table.
    std::string good = Genesis().Bytes(kGenesisWords);
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, LoadTable(server, good, &tab));
    for (size_t cut = 0; cut < good.size(); ++cut) {
        ComPtr<IRyTextTab> t;
        EXPECT_EQ(E_FAIL, LoadTable(server, good.substr(0, cut), &t)) << cut;
    }
}

TEST_F(TextTabTest, CorruptedTablesNeverReadOutOfBounds) {
    // Single-byte changes of a writer-made table: each either fails to load or loads into a
    // table whose every text and query answers cleanly.
    std::vector<std::string> texts = {"I begynnelsen skapte Gud himmelen og jorden.", "Og jorden var \xF8" "de og tom,",
                                      "og det var m\xF8rke over dypet.", "Gud sa: Det bli lys! Og det ble lys.",
                                      "LORD McDonald 1905\t<b>x</b>  "};
    const std::string good = BuildTable(texts);
    std::mt19937 rng(99);
    int loaded = 0;
    for (int k = 0; k < 1500; ++k) {
        std::string bad = good;
        size_t at = rng() % bad.size();
        bad[at] = static_cast<char>(bad[at] ^ (1 + rng() % 255));
        ComPtr<IRyTextTab> tab;
        HRESULT hr = LoadTable(server, bad, &tab);
        if (FAILED(hr)) continue;
        ++loaded;
        long n = 0;
        ASSERT_EQ(S_OK, tab->get_TextCount(&n));
        for (long i = 0; i < n; ++i) {
            long len = 0;
            ASSERT_EQ(S_OK, tab->get_TextLength(i, &len));
            std::string buf(static_cast<size_t>(len) + 8, '\x7F');
            ASSERT_EQ(S_OK, tab->get_Text(i, len, &buf[0]));
            ASSERT_EQ(0, buf[static_cast<size_t>(len - 1)]);
            ASSERT_EQ('\x7F', buf[static_cast<size_t>(len)]);  // nothing past the buffer
        }
        for (const char* q : {"lys", "gud & jorden", "det ble lys", "m*"}) FindTexts(tab.Get(), q);
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
