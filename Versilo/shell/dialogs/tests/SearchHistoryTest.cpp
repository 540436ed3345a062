// The search history in a scratch registry: what is read from stored values of every
// kind, and what is written back.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ScratchRegistry.h"
#include "SearchHistory.h"

namespace {

using Queries = std::vector<std::string>;

class SearchHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(registry.Ready()); }
    HKEY LanguageKey() {
        HKEY key = nullptr;
        RegCreateKeyExA(registry.AppKey(), "Search\\StdLang", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        held.Reset(key);
        return key;
    }
    ScratchRegistry registry;
    RegKey held;
};

TEST_F(SearchHistoryTest, ReadsAtMostTenTextsAndSkipsWhatIsNotOne) {
    struct Value { const char* name; DWORD type; std::string data; };
    struct Case { const char* what; DWORD count; std::vector<Value> values; Queries expect; };
    const std::string tooLong(128, 'x');
    const std::vector<Value> twelve = {{"0", REG_SZ, "a"}, {"1", REG_SZ, "b"}, {"2", REG_SZ, "c"}, {"3", REG_SZ, "d"},
                                       {"4", REG_SZ, "e"}, {"5", REG_SZ, "f"}, {"6", REG_SZ, "g"}, {"7", REG_SZ, "h"},
                                       {"8", REG_SZ, "i"}, {"9", REG_SZ, "j"}, {"10", REG_SZ, "k"}, {"11", REG_SZ, "l"}};
    const Case cases[] = {
        {"two", 2, {{"0", REG_SZ, "guds rike"}, {"1", REG_SZ, "lys"}}, {"guds rike", "lys"}},
        {"count below the values", 1, {{"0", REG_SZ, "guds rike"}, {"1", REG_SZ, "lys"}}, {"guds rike"}},
        {"count zero", 0, {{"0", REG_SZ, "lys"}}, {}},
        {"a hole", 3, {{"0", REG_SZ, "a"}, {"2", REG_SZ, "c"}}, {"a", "c"}},
        {"a number and a long text", 3, {{"0", REG_DWORD, "1234"}, {"1", REG_SZ, tooLong}, {"2", REG_SZ, "z"}}, {"z"}},
        {"count of all ones", 0xFFFFFFFFu, twelve, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {"count of twelve", 12, twelve, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {"127 bytes", 1, {{"0", REG_SZ, std::string(127, 'y')}}, {std::string(127, 'y')}},
    };
    for (const Case& c : cases) {
        RegDeleteTreeA(registry.AppKey(), "Search");
        HKEY key = LanguageKey();
        RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.count), sizeof c.count);
        for (const Value& v : c.values)
            RegSetValueExA(key, v.name, 0, v.type, reinterpret_cast<const BYTE*>(v.data.c_str()),
                           static_cast<DWORD>(v.type == REG_SZ ? v.data.size() + 1 : 4));
        held.Reset();
        EXPECT_EQ(c.expect, ReadSearchHistory("StdLang")) << c.what;
    }
    RegDeleteTreeA(registry.AppKey(), "Search");
    EXPECT_EQ(Queries{}, ReadSearchHistory("StdLang"));  // no key at all
}

TEST_F(SearchHistoryTest, WritesTheFirstTenPerLanguage) {
    Queries queries;
    for (int i = 0; i < 12; ++i) queries.push_back("q" + std::to_string(i));
    ASSERT_TRUE(WriteSearchHistory("StdLang", queries));
    EXPECT_EQ(Queries(queries.begin(), queries.begin() + 10), ReadSearchHistory("StdLang"));
    EXPECT_EQ(Queries{}, ReadSearchHistory("Annet"));
    ASSERT_TRUE(WriteSearchHistory("StdLang", {"kun en"}));
    EXPECT_EQ(Queries{"kun en"}, ReadSearchHistory("StdLang"));
    DWORD count = 0, size = sizeof count;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(registry.AppKey(), "Search\\StdLang", "Count", RRF_RT_REG_DWORD, nullptr,
                                          &count, &size));
    EXPECT_EQ(1u, count);
}

TEST_F(SearchHistoryTest, ALanguageNameMustNameOneKey) {
    std::string key;
    EXPECT_TRUE(SearchHistoryKey("StdLang", &key));
    EXPECT_EQ("Search\\StdLang", key);
    EXPECT_FALSE(SearchHistoryKey("", &key));
    EXPECT_FALSE(SearchHistoryKey("a\\b", &key));
    EXPECT_FALSE(WriteSearchHistory("", {"lys"}));
    EXPECT_EQ(Queries{}, ReadSearchHistory("a\\b"));
}

}  // namespace
