// The King James text (31,102 verses from the build's corpus): the writer round-trips every
// verse, and the query mix answers exactly what a plain scan of the decoded verses finds.
// The corpus is build/data/kjv/verses.txt (the importer's output) or VERSILO_KJV_CORPUS.
#include <gtest/gtest.h>
#include <cstdlib>
#include "QueryReference.h"
#include "TextLines.h"
#include "TextTabHelpers.h"

namespace {

std::string CorpusPath() {
    const char* env = getenv("VERSILO_KJV_CORPUS");
    return env && *env ? env : VERSILO_BINARY_DIR "/data/kjv/verses.txt";
}

TEST(Kjv, RoundTripAndQueryMixMatchAPlainScan) {
    if (GetFileAttributesA(CorpusPath().c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no KJV corpus at " << CorpusPath() << " (made by the kjv_corpus target)";
    std::vector<std::string> verses;
    std::string error;
    ASSERT_TRUE(ReadTextLines(CorpusPath(), 4, &verses, &error)) << error;
    ASSERT_EQ(31102u, verses.size());
    ComScope com;
    RyServer server;
    ASSERT_TRUE(server.Loaded());
    const std::string table = BuildTable(verses);
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, LoadTable(server, table, &tab));
    size_t plain = 0;
    std::vector<PlainScan> scans;
    scans.reserve(verses.size());
    for (size_t i = 0; i < verses.size(); ++i) {
        ASSERT_EQ(verses[i], ReadText(tab.Get(), static_cast<long>(i))) << "verse " << i;
        plain += verses[i].size() + 1;
        scans.emplace_back(verses[i]);
    }
    std::cout << "plain " << plain << " bytes, table " << table.size() << " bytes\n";

    struct Case { const char* query; RefQuery ref; };
    const Case cases[] = {
        {"the", RW("the")},
        {"Methuselah", RW("methuselah")},
        {"faith & works", RAnd({RW("faith"), RW("works")})},
        {"Moses / Aaron", ROr({RW("moses"), RW("aaron")})},
        {"living water", RPhrase({RW("living"), RW("water")})},
        {"the son of", RPhrase({RW("the"), RW("son"), RW("of")})},
        {"faith*", RP("faith")},
        {"(David / Solomon) king", RPhrase({ROr({RW("david"), RW("solomon")}), RW("king")})},
        {"LORD & (spirit / ghost)", RAnd({RW("lord"), ROr({RW("spirit"), RW("ghost")})})},
        {"of the", RPhrase({RW("of"), RW("the")})},
        {"the LORD God", RPhrase({RW("the"), RW("lord"), RW("god")})},
    };
    for (const Case& c : cases) {
        std::vector<long> expect;
        for (size_t i = 0; i < scans.size(); ++i)
            if (scans[i].Matches(c.ref)) expect.push_back(static_cast<long>(i));
        EXPECT_FALSE(expect.empty()) << c.query;
        EXPECT_EQ(expect, FindTexts(tab.Get(), c.query)) << c.query;
    }
}

}  // namespace
