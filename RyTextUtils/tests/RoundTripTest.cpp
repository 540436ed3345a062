// The writer and the reader together: whatever bytes the texts hold, the table rebuilds
// them exactly, also when the vocabulary overflows the token numbers.
#include <gtest/gtest.h>
#include <random>
#include "TextTabHelpers.h"

namespace {

std::vector<std::string> VariedCorpus() {
    std::vector<std::string> t = {
        "", " ", "   ", "In the beginning God created the heaven and the earth.",
        "and the LORD God formed man", "McDonald and MacLeod met O'Neill's co-op.", "lORD gOD", "\xC6RLIG \xE6rlig \xC6rlig",
        "\xFEorn is lower case, \xDE upper", "\xFF and \x9F", "stra\xDF" "e STRASSE", "1:1 3.14 2,5% 1905-1906",
        "Tabs\tinside\tand a trailing tab\t", "ends with a blank ", "ends with two  ", "  leading blanks",
        "<w lemma=\"strong:H7225\">beginning</w> <transChange type=\"added\">was</transChange>",
        "'tis -foo- rock'n'roll --x-- 'quoted' \"double\" \x93" "curly\x94 \x91single\x92",
        "one\r\ntwo\nthree\r", "a", "A", "I", "i", "\xE5", "\xC5", "word,word;word:word!word?word",
        "multiple     blanks     between", "\xAB" "Guds rike\xBB, sa han.", "(parenthesised) [bracketed] {braced}",
        std::string(200, 'x') + " and " + std::string(130, 'Y'), std::string(100, ' ') + "after a long gap",
        "before a long gap" + std::string(100, '.') + "end", std::string("nul\0inside", 10), std::string("\0", 1),
        "\x01\x02\x03 code bytes \x1F\x7F\x80\x81", "LORD, LORD, LORD.", "Ende.", "HERRENS herrens Herrens HeRrEnS",
    };
    std::mt19937 rng(31415);
    const char* words[] = {"the", "LORD", "God", "and", "McDonald", "\xC6gir", "s\xF8nn", "co-op", "it's", "123", "x1y2"};
    for (int i = 0; i < 1500; ++i) {  // word salad with random spacing and punctuation
        std::string s;
        int n = rng() % 20;
        for (int k = 0; k < n; ++k) {
            std::string w = words[rng() % 11];
            switch (rng() % 4) {
            case 0: for (char& c : w) c = static_cast<char>(toupper(static_cast<unsigned char>(c))); break;
            case 1: w[0] = static_cast<char>(toupper(static_cast<unsigned char>(w[0]))); break;
            default: break;
            }
            s += w;
            const char* gaps[] = {" ", " ", ", ", ". ", "  ", "", "-", "'", " \t", ";", " (", ")"};
            s += gaps[rng() % 12];
        }
        t.push_back(s);
    }
    for (int i = 0; i < 1500; ++i) {  // random bytes
        std::string s(rng() % 120, '\0');
        for (char& c : s) c = static_cast<char>(rng() % 4 ? 32 + rng() % 224 : rng() % 32);
        t.push_back(s);
    }
    return t;
}

class RoundTripTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Loaded()); }
    void ExpectRoundTrip(const std::vector<std::string>& texts) {
        ComPtr<IRyTextTab> tab;
        ASSERT_EQ(S_OK, LoadTable(server, BuildTable(texts), &tab));
        long n = 0;
        ASSERT_EQ(S_OK, tab->get_TextCount(&n));
        ASSERT_EQ(static_cast<long>(texts.size()), n);
        for (size_t i = 0; i < texts.size(); ++i)
            ASSERT_EQ(texts[i], ReadText(tab.Get(), static_cast<long>(i))) << "text " << i;
    }
    ComScope com;
    RyServer server;
};

TEST_F(RoundTripTest, AnyBytesReadBackExactly) { ExpectRoundTrip(VariedCorpus()); }

TEST_F(RoundTripTest, NoTextsAndOneEmptyText) {
    ExpectRoundTrip({});
    ExpectRoundTrip({""});
}

TEST_F(RoundTripTest, VocabularyBeyondTheTokenNumbersIsWrittenLiterally) {
    // 70,000 distinct words: more than the 65,280 token numbers hold.
    std::vector<std::string> texts;
    std::string t;
    for (int i = 0; i < 70000; ++i) {
        char w[16];
        wsprintfA(w, "w%d%c", i, 'a' + i % 26);
        t += w;
        t += i % 10 == 9 ? ". " : " ";
        if (i % 100 == 99) {
            texts.push_back(t);
            t.clear();
        }
    }
    ExpectRoundTrip(texts);
}

TEST_F(RoundTripTest, PackToolWritesFilesTheServerLoads) {
    TempDir dir;
    const std::string input = dir.File("verses.txt"), table = dir.File("kjv.tab"), words = dir.File("kjv.words");
    ASSERT_TRUE(WriteWholeFile(input, "1\t1\t1\tIn the beginning God created the heaven and the earth.\r\n"
                                      "1\t1\t2\tAnd the earth was without form, and void.\n"));
    std::string cmd = "\"" VERSILO_BINARY_DIR "/tools/rytextpack.exe\" --field 4 --record \"KJV test\" --words \"" +
                      words + "\" \"" + input + "\" \"" + table + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    ASSERT_EQ(0u, code);
    EXPECT_EQ("00008KJV test", ReadWholeFile(table).substr(0, 13));

    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, server.CreateTextTab(tab.Put()));
    ComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, tab->QueryInterface(IID_IPersistFile, file.PutVoid()));
    std::wstring wide(table.begin(), table.end());
    ASSERT_EQ(S_OK, file->Load(wide.c_str(), 0));
    EXPECT_EQ("In the beginning God created the heaven and the earth.", ReadText(tab.Get(), 0));
    EXPECT_EQ("And the earth was without form, and void.", ReadText(tab.Get(), 1));

    // The word list alone loads as a dictionary file, and equals the table's own.
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyDictionary, IID_IClassFactory, factory.PutVoid()));
    ComPtr<IPersistFile> dictFile;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPersistFile, dictFile.PutVoid()));
    std::wstring wwords(words.begin(), words.end());
    ASSERT_EQ(S_OK, dictFile->Load(wwords.c_str(), 0));
    ComPtr<IRyDictionary> dict, own;
    ASSERT_EQ(S_OK, dictFile->QueryInterface(IID_IRyDictionary, dict.PutVoid()));
    ASSERT_EQ(S_OK, tab->get_Dictionary(own.Put()));
    long a = 0, b = 0;
    dict->get_WordCount(&a);
    own->get_WordCount(&b);
    EXPECT_EQ(b, a);
    EXPECT_EQ(12, a);  // and beginning created earth form god heaven in the void was without
    long idx = -1;
    EXPECT_EQ(S_OK, dict->Find(const_cast<LPSTR>("GOD"), &idx));
}

}  // namespace
