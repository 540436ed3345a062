// The text painter: the fonts made from a display font, their metrics as the fonts really
// selected measure them, the shared painter's renewal, and the runs of verse texts.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "Handles.h"
#include "LexProxy.h"
#include "TextPainter.h"

namespace {

HFONT MakeDisplayFont(const char* face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

LOGFONTA LogFontOf(HFONT font) {
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}


TEXTMETRICA MetricsOf(HFONT font) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.Get(), font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.Get(), &tm);
    return tm;
}

int WidthIn(HFONT font, const char* text) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.Get(), font);
    SIZE size = {};
    GetTextExtentPoint32A(dc.Get(), text, static_cast<int>(std::strlen(text)), &size);
    return size.cx;
}

// A finder that knows some words.
class WordFinder : public AVoLexiconBase {
public:
    explicit WordFinder(std::vector<std::string> words) : words_(std::move(words)) {}
    ArticleHandle FindArticleForKey(const char* key) override {
        asked.push_back(key);
        for (const std::string& w : words_)
            if (w == key) return 7;
        return kNoArticle;
    }
    std::vector<std::string> asked;

private:
    std::vector<std::string> words_;
};

constexpr COLORREF kPlain = 1, kKey = 2, kStar = 3, kBracket = 4;

struct TextRun {
    std::string text;
    COLORREF colour;
    bool operator==(const TextRun& o) const { return text == o.text && colour == o.colour; }
};
std::ostream& operator<<(std::ostream& os, const TextRun& r) { return os << "{\"" << r.text << "\", " << r.colour << "}"; }

std::vector<TextRun> Split(AVoTextPainter* painter, const char* text, AVoLexiconBase* finder = nullptr,
                       std::vector<int> ranges = {}, int maxRuns = 1024) {
    std::vector<int> lengths(static_cast<size_t>(maxRuns));
    std::vector<COLORREF> colours(static_cast<size_t>(maxRuns));
    const int n = painter->SplitIntoRuns(text, finder, kPlain, kKey, kStar, kBracket, ranges.data(),
                                         static_cast<int>(ranges.size() / 2), lengths.data(), colours.data(), maxRuns);
    std::vector<TextRun> runs;
    const char* p = text;
    for (int i = 0; i < n; ++i) {
        runs.push_back({std::string(p, static_cast<size_t>(lengths[static_cast<size_t>(i)])),
                        colours[static_cast<size_t>(i)]});
        p += lengths[static_cast<size_t>(i)];
    }
    EXPECT_EQ(std::strlen(text), static_cast<size_t>(p - text)) << "the runs cover the text";
    return runs;
}

class TextPainterTest : public testing::Test {
protected:
    void SetUp() override {
        font_.Reset(MakeDisplayFont("Times New Roman", -19));
        ASSERT_TRUE(font_);
        painter_ = GetTextPainter(font_.Get());
        ASSERT_NE(nullptr, painter_);
    }
    FontHandle font_;
    AVoTextPainter* painter_ = nullptr;
};

TEST_F(TextPainterTest, TheWindowsFacesAreTheMetricCompatibleLiberationFonts) {
    // The prefix maps the Windows names to the Liberation fonts: the same widths and heights.
    const char* pangram = "The quick brown fox jumps over the lazy dog; \xE6\xF8\xE5 \xB6 1234567890";
    const char* const faces[][2] = {
        {"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"}, {"Courier New", "Liberation Mono"}};
    for (const auto& face : faces) {
        FontHandle windows(MakeDisplayFont(face[0], -19));
        FontHandle liberation(MakeDisplayFont(face[1], -19));
        EXPECT_EQ(WidthIn(liberation.Get(), pangram), WidthIn(windows.Get(), pangram)) << face[0];
        EXPECT_EQ(MetricsOf(liberation.Get()).tmHeight, MetricsOf(windows.Get()).tmHeight) << face[0];
    }
    FontHandle fallback(MakeDisplayFont("DejaVu Sans", -19));
    EXPECT_NE(WidthIn(fallback.Get(), pangram), WidthIn(font_.Get(), pangram)) << "the comparison tells fonts apart";
}

TEST_F(TextPainterTest, FontsAreScaledCopiesOfTheDisplayFont) {
    struct Case {
        HFONT font;
        LONG height, weight;
        BYTE italic, underline, quality;
    };
    const Case cases[] = {
        {painter_->GetItalicFont(), -19, FW_NORMAL, 1, 0, CLEARTYPE_QUALITY},
        {painter_->GetEmphasisFont(false), -19, FW_NORMAL, 1, 0, CLEARTYPE_QUALITY},
        {painter_->GetEmphasisFont(true), -19, 600, 0, 0, CLEARTYPE_QUALITY},
        {painter_->GetLinkFont(), -14, FW_NORMAL, 0, 1, 0},
        {painter_->GetSmallFont(false), -14, FW_NORMAL, 0, 0, 0},
        {painter_->GetSmallFont(true), -14, FW_BOLD, 0, 0, 0},
        {painter_->GetLargeFont(), -43, FW_NORMAL, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ASSERT_NE(nullptr, c.font);
        const LOGFONTA lf = LogFontOf(c.font);
        EXPECT_EQ(c.height, lf.lfHeight);
        EXPECT_EQ(c.weight, lf.lfWeight);
        EXPECT_EQ(c.italic, lf.lfItalic);
        EXPECT_EQ(c.underline, lf.lfUnderline);
        EXPECT_EQ(c.quality, lf.lfQuality);
        EXPECT_STREQ("Times New Roman", lf.lfFaceName);
    }
}

TEST_F(TextPainterTest, MetricsComeFromTheFontsAsSelected) {
    const TEXTMETRICA display = MetricsOf(font_.Get());
    EXPECT_EQ(display.tmHeight, painter_->GetLineHeight());
    EXPECT_EQ(display.tmDescent, painter_->GetDescent());
    EXPECT_EQ(WidthIn(painter_->GetSmallFont(false), "234") + 2, painter_->GetVerseNumberWidth());
    EXPECT_EQ(MetricsOf(painter_->GetSmallFont(false)).tmAscent, painter_->GetSmallAscent());
    EXPECT_EQ(MetricsOf(painter_->GetLargeFont()).tmAscent, painter_->GetLargeAscent());
    EXPECT_EQ(WidthIn(painter_->GetLinkFont(), " "), painter_->GetLinkBlankWidth());
    EXPECT_EQ(MetricsOf(painter_->GetLinkFont()).tmHeight, painter_->GetLinkLineHeight());
    // A 19-pixel serif font: the metrics are of that size, not of some fallback.
    EXPECT_GE(painter_->GetLineHeight(), 19);
    EXPECT_LT(painter_->GetLineHeight(), 26);
    EXPECT_GT(painter_->GetLargeAscent(), 2 * painter_->GetSmallAscent());
}

TEST_F(TextPainterTest, AnotherDisplayFontGivesANewPainterThatFollowsIt) {
    FontHandle bigger(MakeDisplayFont("Times New Roman", -30));
    AVoTextPainter* second = GetTextPainter(bigger.Get());
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(MetricsOf(bigger.Get()).tmHeight, second->GetLineHeight());
    EXPECT_EQ(-23, LogFontOf(second->GetSmallFont(false)).lfHeight);
    // The same font again keeps the painter.
    EXPECT_EQ(second, GetTextPainter(bigger.Get()));
    // A font deleted and another made in its place (the handle value may come back) still
    // gives a painter of the new font.
    bigger.Reset();
    FontHandle replaced(MakeDisplayFont("Times New Roman", -12));
    AVoTextPainter* third = GetTextPainter(replaced.Get());
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(MetricsOf(replaced.Get()).tmHeight, third->GetLineHeight());
    EXPECT_EQ(-9, LogFontOf(third->GetSmallFont(true)).lfHeight);
}

TEST_F(TextPainterTest, SplitsTextIntoWordsStarsAndPlainRuns) {
    struct Case {
        const char* text;
        std::vector<TextRun> runs;
    };
    const Case cases[] = {
        {"don't well-known", {{"don't ", kPlain}, {"well-known", kPlain}}},
        {"3:16 For", {{"3", kPlain}, {":", kPlain}, {"16 ", kPlain}, {"For", kPlain}}},
        {"**word", {{"**", kStar}, {"word", kPlain}}},
        {"end.* next", {{"end", kPlain}, {".", kPlain}, {"* ", kStar}, {"next", kPlain}}},
        {"  (lead) x", {{"  (", kPlain}, {"lead", kPlain}, {") ", kPlain}, {"x", kPlain}}},
        {"", {}},
        {"-'", {{"-'", kPlain}}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.runs, Split(painter_, c.text)) << c.text;
}

TEST_F(TextPainterTest, KeyWordsAreThoseTheFinderKnows) {
    WordFinder finder({"God", "light"});
    EXPECT_EQ((std::vector<TextRun>{{"And ", kPlain}, {"God ", kKey}, {"said", kPlain}, {", ", kPlain}, {"Let ", kPlain},
                                {"there ", kPlain}, {"be ", kPlain}, {"light", kKey}, {".", kPlain}}),
              Split(painter_, "And God said, Let there be light.", &finder));
    // Only words are asked for, each as a terminated copy.
    EXPECT_EQ((std::vector<std::string>{"And", "God", "said", "Let", "there", "be", "light"}), finder.asked);
    // A run longer than the copy is asked for cut, without harm.
    std::string longWord(400, 'a');
    finder.asked.clear();
    EXPECT_EQ(1u, Split(painter_, longWord.c_str(), &finder).size());
    ASSERT_EQ(1u, finder.asked.size());
    EXPECT_EQ(263u, finder.asked[0].size());
}

TEST_F(TextPainterTest, RunsStartingInsideARangeAreBracketed) {
    // "a b c d" with "b c" bracketed (offsets 2 to 5).
    EXPECT_EQ((std::vector<TextRun>{{"a ", kPlain}, {"b ", kBracket}, {"c ", kBracket}, {"d", kPlain}}),
              Split(painter_, "a b c d", nullptr, {2, 5}));
    // Two ranges; the first ends where the next run begins.
    EXPECT_EQ((std::vector<TextRun>{{"x", kBracket}, {". ", kPlain}, {"y ", kPlain}, {"z", kBracket}}),
              Split(painter_, "x. y z", nullptr, {0, 1, 5, 6}));
}

TEST_F(TextPainterTest, TheLastRunTakesTheRestInThePlainColour) {
    WordFinder finder({"c", "d"});
    EXPECT_EQ((std::vector<TextRun>{{"a ", kPlain}, {"b ", kPlain}, {"c d **", kPlain}}),
              Split(painter_, "a b c d **", &finder, {}, 3));
    EXPECT_EQ((std::vector<TextRun>{{"a b", kPlain}}), Split(painter_, "a b", nullptr, {}, 1));
}

TEST_F(TextPainterTest, TruncatesToTheFirstWordOrStarRow) {
    struct Case {
        const char* text;
        const char* cut;
    };
    const Case cases[] = {
        {"word's end", "word's"}, {"***note", "***"}, {"  blank", ""}, {"", ""}, {"well-known, yes", "well-known"},
    };
    for (const Case& c : cases) {
        char buffer[64];
        lstrcpynA(buffer, c.text, sizeof buffer);
        char* end = painter_->TruncateToFirstWord(buffer);
        EXPECT_STREQ(c.cut, buffer);
        EXPECT_EQ(buffer + std::strlen(c.cut), end);
    }
}

}  // namespace
