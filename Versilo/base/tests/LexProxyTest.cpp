// VoLexProxy passes its one-or-all flag and "from the first article" to the pane, and the
// pane's answer back unchanged.
#include <gtest/gtest.h>
#include <string>
#include "LexProxy.h"

namespace {

class RecordingLexicon : public AVoLexicon {
public:
    ArticleHandle FindArticleForKey(bool all, const char* key, ArticleHandle after) override {
        ++calls;
        this->all = all;
        this->key = key ? key : "(null)";
        this->after = after;
        return answer;
    }
    ArticleHandle FindArticleForVerse(bool all, IBibleStat* source, int verse, bool exactOnly,
                                      ArticleHandle after) override {
        ++calls;
        this->all = all;
        this->source = source;
        this->verse = verse;
        this->exactOnly = exactOnly;
        this->after = after;
        return answer;
    }
    void ShowArticle(ArticleHandle, int, IBibleStat*) override {}
    bool IsIndexLocked() override { return false; }
    void GetArticleTitle(ArticleHandle, bool, char* buffer, int size) override {
        if (size > 0) buffer[0] = '\0';
    }

    int calls = 0;
    bool all = false, exactOnly = false;
    std::string key;
    IBibleStat* source = nullptr;
    int verse = 0;
    ArticleHandle after = -7;
    ArticleHandle answer = 0;
};

}  // namespace

TEST(LexProxyTest, PassesTheFlagAndAsksForTheFirstArticle) {
    const struct {
        int flag;
        bool expected;
    } cases[] = {{0, false}, {1, true}, {2, true}, {-1, true}};
    for (const auto& c : cases) {
        RecordingLexicon pane;
        pane.answer = MakeArticleHandle(2, 5);
        VoLexProxy proxy(&pane, c.flag);
        EXPECT_EQ(c.expected ? 1 : 0, proxy.GetAllCommentaries());

        EXPECT_EQ(pane.answer, proxy.FindArticleForKey("Abraham"));
        EXPECT_EQ(c.expected, pane.all) << c.flag;
        EXPECT_EQ("Abraham", pane.key);
        EXPECT_EQ(kNoArticle, pane.after);

        pane.after = -7;
        auto* stat = reinterpret_cast<IBibleStat*>(0x1234);
        EXPECT_EQ(pane.answer, proxy.FindArticleForVerse(stat, 0x1A2B, true));
        EXPECT_EQ(c.expected, pane.all);
        EXPECT_EQ(stat, pane.source);
        EXPECT_EQ(0x1A2B, pane.verse);
        EXPECT_TRUE(pane.exactOnly);
        EXPECT_EQ(kNoArticle, pane.after);
        EXPECT_EQ(2, pane.calls);
    }
}

TEST(LexProxyTest, WithoutAPaneFindsNothing) {
    VoLexProxy proxy(nullptr, 1);
    EXPECT_EQ(kNoArticle, proxy.FindArticleForKey("x"));
    EXPECT_EQ(kNoArticle, proxy.FindArticleForVerse(nullptr, 1, false));
}
