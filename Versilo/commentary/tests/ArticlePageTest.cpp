// The article view's pages as pure functions over the program's own page resources: the
// resources themselves, the order of an article page, the body rule and font sizes, page
// titles, heading references and the plain text of a page with its links.
#include <gtest/gtest.h>
#include <string>
#include "ArticlePage.h"

namespace {

VoPageResources ProgramResources() {
    VoPageResources r;
    r.Load(GetModuleHandleA(nullptr));
    return r;
}

}  // namespace

TEST(ArticlePageTest, TheProgramCarriesThePageResources) {
    const VoPageResources r = ProgramResources();
    ASSERT_TRUE(r.hasStyleSheet && r.hasScript && r.hasDefaultPage);
    EXPECT_NE(std::string::npos, r.styleSheet.find(".biblink"));
    EXPECT_NE(std::string::npos, r.styleSheet.find("#C00000"));
    EXPECT_NE(std::string::npos, r.script.find("VO_SHOW_TIP = 200"));
    EXPECT_NE(std::string::npos, r.script.find("window.external.CustomMessage(val, txt)"));
    EXPECT_EQ("Tittel ikke valgt", FindPageTitle(r.defaultPage.c_str()));
    EXPECT_NE(std::string::npos, r.defaultPage.find("Du m\xE5 velge en tittel for \xE5 vise noe her."));
    EXPECT_EQ(std::string::npos, r.defaultPage.find("CustomMessage(10"));  // only traces

    std::string missing = "x";
    EXPECT_FALSE(LoadPageResource(GetModuleHandleA(nullptr), 149, &missing));
    EXPECT_TRUE(missing.empty());
}

TEST(ArticlePageTest, AnArticlePageHasItsPartsInOrderAndTheBodyRuleBeforeTheStyleSheet) {
    VoPageResources r;
    r.script = "SCRIPT\r\n";
    r.styleSheet = "SHEET\r\n";
    const std::string rule = MakeBodyRule("Arial", -14);
    EXPECT_EQ("<html>\r\n<head>\r\n<title>T</title>\r\n</head>\r\n<script LANGUAGE=\"javascript\">\r\nSCRIPT\r\n"
              "</script>\r\n<style>\r\n" + rule + "SHEET\r\n</style>\r\n<body>\r\n<p>B</p>\r\n"
              "<DIV ID=\"reftip\" CLASS=\"reftip\" STYLE=\"position:absolute;visibility:hidden;overflow:visible;\">"
              "</DIV>\r\n</body>\r\n</html>\r\n",
              BuildArticlePage(r, "<title>T</title>\r\n", "<p>B</p>\r\n", rule));
    // Without a head, a body rule or resources the page is still whole.
    const std::string bare = BuildArticlePage(VoPageResources(), nullptr, "<p>B</p>", std::string());
    EXPECT_EQ(0u, bare.find("<html>\r\n<head>\r\n</head>\r\n<script"));
    EXPECT_NE(std::string::npos, bare.find("<style>\r\n</style>\r\n<body>\r\n<p>B</p><DIV"));
}

TEST(ArticlePageTest, TheBodyRuleQuotesFacesWithBlanksAndSizesFromTheFontHeight) {
    const struct {
        const char* face;
        LONG height;
        const char* rule;
    } cases[] = {
        {"Tahoma", 20, "   body\r\n   {\r\n      font-family: Tahoma;\r\n      font-size: 16px;\r\n   }\r\n"},
        {"Tahoma", -20, "   body\r\n   {\r\n      font-family: Tahoma;\r\n      font-size: 20px;\r\n   }\r\n"},
        {"Times New Roman", -13,
         "   body\r\n   {\r\n      font-family: \"Times New Roman\";\r\n      font-size: 13px;\r\n   }\r\n"},
        {"Arial", 0, "   body\r\n   {\r\n      font-family: Arial;\r\n      font-size: 0px;\r\n   }\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.rule, MakeBodyRule(c.face, c.height)) << c.face << " " << c.height;
    EXPECT_EQ(16, FontPixelSize(20));
    EXPECT_EQ(20, FontPixelSize(-20));
    EXPECT_EQ(15, FontPixelSize(19));  // integer division: 76 / 5
}

TEST(ArticlePageTest, TitlesAreFoundCaseBlindAndCut) {
    EXPECT_EQ("Joh 3", FindPageTitle("<html><HEAD><TITLE lang=no>Joh 3</TiTlE></head>"));
    EXPECT_EQ("", FindPageTitle("<html><body><p>ingen tittel</p></body></html>"));
    EXPECT_EQ("", FindPageTitle("<title>uten slutt"));
    EXPECT_EQ("", FindPageTitle(nullptr));
    EXPECT_EQ("a\r\nb\r\n", FindPageTitle("<title>a\r\nb\r\n</title>"));
    EXPECT_EQ(std::string(255, 'x'), FindPageTitle(("<title>" + std::string(400, 'x') + "</title>").c_str()));
}

TEST(ArticlePageTest, HeadingReferencesTakeShortBibleLinksWithRealBlanks) {
    char ref[32];
    ASSERT_TRUE(HeadingReference("BIBLE:Joh%203,16", ref, sizeof ref));
    EXPECT_STREQ("Joh 3,16", ref);
    EXPECT_TRUE(HeadingReference(("bible:" + std::string(31, 'a')).c_str(), ref, sizeof ref));
    EXPECT_FALSE(HeadingReference(("bible:" + std::string(32, 'a')).c_str(), ref, sizeof ref));
    EXPECT_FALSE(HeadingReference("lexicon:H430", ref, sizeof ref));
    EXPECT_FALSE(HeadingReference(nullptr, ref, sizeof ref));
}

TEST(ArticlePageTest, PlainTextKeepsTheWordsLinksAndHeadingsOfTheBody) {
    const VoPlainPage page = PageToPlainText(
        "<html><head><title>Tittel</title><script>var x = '<p>';</script><style>p {}</style></head>\r\n"
        "<body>\r\n<H1><a href=\"bible:Joh%203,16\">Joh 3,16</a></H1>\r\n"
        "<p>For s&aring; h&oslash;yt   har\r\nGud <a href='lexicon:Kj%E6rlighet'>elsket</a> verden.</p>"
        "<h1><b>Uten</b> <a href=\"bible:Rom 5,8\">lenke</a> f\xF8rst</h1><p>A &amp; B&lt;br&gt;<br>ny linje &#229;</p>"
        "</body></html>");
    // A heading after text stands after a blank line.
    EXPECT_EQ("Joh 3,16\r\nFor s\xE5 h\xF8yt har Gud elsket verden.\r\n\r\nUten lenke f\xF8rst\r\nA & B<br>\r\nny linje \xE5",
              page.text);
    ASSERT_EQ(3u, page.links.size());
    EXPECT_EQ("bible:Joh%203,16", page.links[0].target);
    EXPECT_EQ("Joh 3,16", page.text.substr(page.links[0].begin, page.links[0].end - page.links[0].begin));
    EXPECT_EQ("elsket", page.text.substr(page.links[1].begin, page.links[1].end - page.links[1].begin));
    EXPECT_EQ("lenke", page.text.substr(page.links[2].begin, page.links[2].end - page.links[2].begin));
    // Only an anchor that is the heading's first element is a heading.
    ASSERT_EQ(1u, page.headings.size());
    EXPECT_EQ(page.links[0].begin, page.headings[0].begin);

    bool bible = false;
    std::string target;
    ASSERT_TRUE(SplitLinkTarget(page.links[1].target, &bible, &target));
    EXPECT_FALSE(bible);
    EXPECT_EQ("Kj%E6rlighet", target);
    ASSERT_TRUE(SplitLinkTarget("Bible:Rom%205,8", &bible, &target));
    EXPECT_TRUE(bible);
    EXPECT_EQ("Rom 5,8", target);
    EXPECT_FALSE(SplitLinkTarget("http://example.org", &bible, &target));
    EXPECT_FALSE(SplitLinkTarget("bible:", &bible, &target));
}

TEST(ArticlePageTest, DamagedMarkupEndsThePlainTextWithoutHarm) {
    EXPECT_EQ("tekst", PageToPlainText("<body>tekst<a href=").text);
    EXPECT_EQ("", PageToPlainText("<body><script>aldri slutt").text);
    EXPECT_EQ("a & b &bogus;", PageToPlainText("a &amp; b &bogus;").text);
    EXPECT_TRUE(PageToPlainText(nullptr).text.empty());
}
