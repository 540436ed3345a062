// An article's stored text to its HTML head and body, through both stages, with the
// language statistics of the KJV sample bible: one table of texts and their exact HTML. In
// every row the counting pass answers the length the writing pass writes.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "ArticleFixture.h"
#include "ArticleHtml.h"

namespace {

struct Rendered {
    bool ok = false;
    std::string head, body;
};

// Both stages as the pane runs them, checking the two passes against each other.
Rendered Render(const std::string& text, IBibleLangStat* langStat, int context = 0) {
    Rendered r;
    std::vector<char> lines(text.begin(), text.end());
    lines.push_back('\0');
    std::string split;
    r.ok = SplitArticleText(lines.data(), &r.head, &split);
    const int length = BuildArticleLinks(nullptr, 0, split.c_str(), langStat, context);
    EXPECT_GE(length, 0);
    std::vector<char> out(static_cast<size_t>(length) + 1 + 16, '#');
    EXPECT_EQ(length, BuildArticleLinks(out.data(), length + 1, split.c_str(), langStat, context));
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(out.data())) << "the counting pass and the written text";
    EXPECT_EQ('#', out[static_cast<size_t>(length) + 1]) << "nothing written past the buffer";
    r.body = out.data();
    return r;
}

struct Row {
    const char* what;
    std::string text;
    std::string head;
    std::string body;
};

std::string P(const std::string& inner) { return "<p>" + inner + "</p>\r\n"; }
std::string H(const std::string& inner) { return "<h1>" + inner + "</h1>\r\n"; }
std::string Bible(const std::string& target, const std::string& text, bool heading = false) {
    return "<a href=\"bible:" + target + (heading ? "\" NAME=\"anchor1" : "") + "\">" + text + "</a>";
}
std::string Lexicon(const std::string& title) { return "<a href=\"lexicon:" + title + "\">" + title + "</a>"; }

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(ArticleHtml, StoredTextBecomesExactHeadAndBody) {
    IBibleLangStat* kjv = KjvLangStat();
    ASSERT_TRUE(kjv);
    const std::string longBlanks = "<Joh" + std::string(1200, ' ') + "3:16>";
    const Row rows[] = {
        {"the example", ">>Abraham\r\n>Abrahams kall <1 Mos 12:1-3>\r\nSe {Sara}.", "<title>Abraham</title>\r\n",
         H("Abrahams kall " + Bible("1 Mos 12:1-3", "1&nbsp;Mos&nbsp;12:1-3", true)) + P("Se " + Lexicon("Sara") + ".")},
        {"\">>\" alone", ">>", "<title></title>\r\n", ""},
        {"\">>\" on line 2", "Tekst\r\n>>Overskrift", "", P("Tekst") + H("Overskrift")},
        {"\">\" headings", ">En\r\n>>>To", "", H("En") + H("To")},
        {"typed brackets", "Se [note] og [Joh 3:16]", "", P("Se &#91;note&#93; og &#91;Joh 3:16&#93;")},
        {"a range", "<Sal 23:1-4>", "", P(Bible("Sal 23:1-4", "Sal&nbsp;23:1-4"))},
        {"a list: the comma after the link, the next verse in its context", "Les <Joh 3:16, 18>!", "",
         P("Les " + Bible("Joh 3:16", "Joh&nbsp;3:16") + ", " + Bible("Joh 3:18", "18") + "!")},
        {"a full stop after the reference", "<Joh 3:16.> Slutt", "", P(Bible("Joh 3:16", "Joh&nbsp;3:16") + ". Slutt")},
        {"blanks inside the marks", "< Joh 3:16 >", "", P(" " + Bible("Joh 3:16", "Joh&nbsp;3:16&nbsp;"))},
        {"the same reference in a heading carries the anchor", ">Om <Joh 3:16>\r\nOm <Joh 3:16>", "",
         H("Om " + Bible("Joh 3:16", "Joh&nbsp;3:16", true)) + P("Om " + Bible("Joh 3:16", "Joh&nbsp;3:16"))},
        {"an unclosed '<'", "Se <Joh 3:16 her", "", P("Se [Joh 3:16 her")},
        {"an unclosed '{'", "Se {Sara her\r\n}", "", P("Se {Sara her") + P("}")},
        {"a reference that does not parse", "Se <ingen henvisning> her", "", P("Se ingen henvisning her")},
        {"a list that stops parsing", "<Joh 3:16, og mer>", "", P(Bible("Joh 3:16", "Joh&nbsp;3:16") + ", og mer")},
        {"CR, LF, CR LF and lone CR", "a\nb\rc\r\nd\r\r\ne", "", P("a") + P("b") + P("c") + P("d") + P("") + P("e")},
        {"an empty line", "a\r\n\r\nb\r\n", "", P("a") + P("") + P("b")},
        {"an empty text", "", "", ""},
        {"markup in the title is inert", ">>x</title><script>alert(1)</script> & co",
         "<title>x&lt;/title&gt;&lt;script&gt;alert(1)&lt;/script&gt; &amp; co</title>\r\n", ""},
        {"markup in the body is inert", "<script>alert(1)</script><img src=x onerror=alert(1)>", "",
         P("scriptalert(1)/scriptimg src=x onerror=alert(1)")},
        {"a quote cannot leave a link target", "{a\" onmouseover=\"alert(1)}", "",
         P("<a href=\"lexicon:a&quot; onmouseover=&quot;alert(1)\">a\" onmouseover=\"alert(1)</a>")},
        {"a link text is cut at 1,024 bytes, at a whole blank", longBlanks, "",
         P("<a href=\"bible:Joh 3:16\">Joh" + Repeat("&nbsp;", 170) + "</a>")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Rendered r = Render(row.text, kjv);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(row.head, r.head);
        EXPECT_EQ(row.body, r.body);
    }
}

TEST(ArticleHtml, ABareVerseBelongsToTheGivenContext) {
    IBibleLangStat* kjv = KjvLangStat();
    ASSERT_TRUE(kjv);
    char text[] = "Joh 3:15";
    char* cursor = text;
    int context = 0;
    ASSERT_EQ(S_OK, kjv->ParseRef(&cursor, &context, nullptr));
    EXPECT_EQ(P(Bible("Joh 3:16", "16")), Render("<16>", kjv, context).body);
    EXPECT_EQ(P("16"), Render("<16>", kjv, 0).body) << "without a context a bare number is no reference";
}

TEST(ArticleHtml, WithoutLanguageStatisticsNoReferenceIsALink) {
    EXPECT_EQ(P("Joh 3:16 og " + Lexicon("Sara")), Render("<Joh 3:16> og {Sara}", nullptr).body);
    EXPECT_EQ(0, BuildArticleLinks(nullptr, 0, nullptr, nullptr, 0));
}

TEST(ArticleHtml, AShortBufferGetsTheCountButOnlyWhatFits) {
    char out[8];
    std::memset(out, '#', sizeof out);
    const int length = BuildArticleLinks(out, 6, "<p>Se {Sara}</p>", nullptr, 0);
    EXPECT_EQ(static_cast<int>(std::strlen("<p>Se <a href=\"lexicon:Sara\">Sara</a></p>")), length);
    EXPECT_STREQ("<p>Se", out);
    EXPECT_EQ('#', out[6]);
}

TEST(ArticleHtml, TheTitleIsReadBackDecodedAndCut) {
    char title[64];
    ReadArticleTitle("<title>x&lt;/title&gt; &amp; co</title>\r\n", title, sizeof title);
    EXPECT_STREQ("x</title> & co", title);
    ReadArticleTitle("<title>Abraham</title>\r\n", title, 4);
    EXPECT_STREQ("Abr", title);
    ReadArticleTitle("", title, sizeof title);
    EXPECT_STREQ("", title);
    std::string head, body;
    ASSERT_TRUE(RenderArticle(">>a<b>&c\r\ntekst", KjvLangStat(), 0, &head, &body));
    ReadArticleTitle(head.c_str(), title, sizeof title);
    EXPECT_STREQ("a<b>&c", title) << "what the reader typed";
    EXPECT_EQ(P("tekst"), body);
}

}  // namespace
