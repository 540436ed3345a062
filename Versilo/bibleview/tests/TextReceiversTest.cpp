// The receivers of copied verses: plain text, and "HTML Format" documents whose header is
// parsed back and whose offsets must point where they say.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include "TextReceivers.h"

namespace {

// Runs the pieces through a counting and then a writing receiver, as a copy does.
std::string PlainOf(const std::function<void(AVoTextReceiver*)>& pieces) {
    VoPlainTextReceiver counting;
    pieces(&counting);
    std::vector<char> buffer(static_cast<size_t>(counting.GetLength()) + 1, '#');
    VoPlainTextReceiver writing(buffer.data(), static_cast<int>(buffer.size()));
    pieces(&writing);
    EXPECT_TRUE(writing.IsComplete());
    EXPECT_EQ(counting.GetLength(), writing.GetLength());
    return std::string(buffer.data());
}

std::string HtmlOf(const std::function<void(AVoTextReceiver*)>& pieces) {
    VoHtmlTextReceiver counting;
    pieces(&counting);
    EXPECT_TRUE(counting.Finish());
    std::vector<char> buffer(static_cast<size_t>(counting.GetLength()) + 1, '#');
    VoHtmlTextReceiver writing(buffer.data(), static_cast<int>(buffer.size()));
    pieces(&writing);
    EXPECT_TRUE(writing.Finish());
    EXPECT_EQ(counting.GetLength(), writing.GetLength());
    return std::string(buffer.data());
}

// The header's fields, read back as a clipboard reader does.
struct HtmlHeader {
    long startHtml = -1, endHtml = -1, startFragment = -1, endFragment = -1;
};

long Field(const std::string& doc, const char* name) {
    const size_t at = doc.find(name);
    if (at == std::string::npos) return -1;
    return std::strtol(doc.c_str() + at + std::string(name).size(), nullptr, 10);
}

HtmlHeader Parse(const std::string& doc) {
    return {Field(doc, "StartHTML:"), Field(doc, "EndHTML:"), Field(doc, "StartFragment:"), Field(doc, "EndFragment:")};
}

// The fragment a reader of the document takes out of it.
std::string Fragment(const std::string& doc) {
    const HtmlHeader h = Parse(doc);
    return doc.substr(static_cast<size_t>(h.startFragment), static_cast<size_t>(h.endFragment - h.startFragment));
}

void TwoVerses(AVoTextReceiver* r) {
    r->AddVerseNumber(16);
    r->AddText("For God so loved the world");
    r->AddNewLine();
    r->AddVerseNumber(17);
    r->AddText("For God sent not his Son");
    r->AddNewLine();
    r->AddHeading("Joh 3,16-17");
    r->AddLineBreak();
}

TEST(TextReceiversTest, PlainTextOfTwoVersesWithTheReferenceAfter) {
    EXPECT_EQ("16 For God so loved the world\r\n17 For God sent not his Son\r\nJoh 3,16-17\r\n\r\n", PlainOf(TwoVerses));
}

TEST(TextReceiversTest, HtmlOfTwoVersesAndItsOffsets) {
    const std::string doc = HtmlOf(TwoVerses);
    const HtmlHeader h = Parse(doc);
    EXPECT_EQ(95, h.startHtml);
    EXPECT_EQ(109, h.startFragment);
    EXPECT_EQ(static_cast<long>(doc.size()), h.endHtml);
    EXPECT_EQ(0u, doc.compare(static_cast<size_t>(h.startHtml), 6, "<HTML>"));
    EXPECT_EQ(0u, doc.compare(static_cast<size_t>(h.endFragment), 7, "</BODY>"));
    EXPECT_EQ("<i><sup>16&nbsp;</sup></i>For God so loved the world\n<i><sup>17&nbsp;</sup></i>For God sent not his Son\n"
              "<b>Joh 3,16-17</b><br>\n<br>\n",
              Fragment(doc));
    EXPECT_EQ("</BODY>\n</HTML>\n", doc.substr(doc.size() - 16));
}

TEST(TextReceiversTest, EmptyCopies) {
    EXPECT_EQ("", PlainOf([](AVoTextReceiver*) {}));
    const std::string doc = HtmlOf([](AVoTextReceiver*) {});
    EXPECT_EQ(125u, doc.size());
    EXPECT_EQ(125, Parse(doc).endHtml);
    EXPECT_EQ(109, Parse(doc).endFragment);
    EXPECT_EQ("", Fragment(doc));
}

TEST(TextReceiversTest, EscapingAndEntities) {
    struct Case {
        const char* text;
        const char* plain;
        const char* html;
    };
    const Case cases[] = {
        {"a<b & c>d", "a<b & c>d", "a&lt;b &amp; c&gt;d"},
        {"tab\there\r\n", "tab\there\r\n", "tab here  "},
        {"\xE6\xF8\xE5 \xC6\xD8\xC5", "\xE6\xF8\xE5 \xC6\xD8\xC5", "&aelig;&oslash;&aring; &AElig;&Oslash;&Aring;"},
        {"\x80\x85\x93q\x94\x96\x97\x99", "\x80\x85\x93q\x94\x96\x97\x99",
         "&euro;&hellip;&ldquo;q&rdquo;&ndash;&mdash;&trade;"},
        {"\xB6 x\xA0y\xFF", "\xB6 x\xA0y\xFF", "&para; x&nbsp;y&yuml;"},
        {"\x81\x8D\x8E\x8F\x90\x9D\x9E", "\x81\x8D\x8E\x8F\x90\x9D\x9E", "??"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.plain, PlainOf([&](AVoTextReceiver* r) { r->AddText(c.text); }));
        EXPECT_EQ(c.html, Fragment(HtmlOf([&](AVoTextReceiver* r) { r->AddText(c.text); })));
    }
    // Every byte of 128-255 has its written form: an entity, nothing, or "?".
    for (int b = 128; b < 256; ++b) {
        const std::string e = HtmlEntityOf(static_cast<unsigned char>(b));
        EXPECT_TRUE(e.empty() || e == "?" || (e.front() == '&' && e.back() == ';' && e.size() > 3)) << b;
    }
}

TEST(TextReceiversTest, HeadingsAndNumbersOfBothKinds) {
    auto pieces = [](AVoTextReceiver* r) {
        r->AddHeading("1 Mos 1,1 <x>");
        r->AddVerseNumber(4294967295u);
        r->AddText("T");
    };
    EXPECT_EQ("1 Mos 1,1 <x>\r\n4294967295 T", PlainOf(pieces));
    EXPECT_EQ("<b>1 Mos 1,1 &lt;x&gt;</b><br>\n<i><sup>4294967295&nbsp;</sup></i>T", Fragment(HtmlOf(pieces)));
}

TEST(TextReceiversTest, AWritingRunNeverWritesPastItsBuffer) {
    // A writing run given less room than the counting run found stops at the piece that
    // does not fit, keeps its buffer terminated and says it is incomplete.
    std::vector<char> buffer(12, '#');
    buffer.push_back('!');  // a guard byte past the capacity
    VoPlainTextReceiver plain(buffer.data(), 12);
    plain.AddText("0123456789");
    plain.AddText("abcdef");
    EXPECT_FALSE(plain.IsComplete());
    EXPECT_EQ(16, plain.GetLength());
    EXPECT_STREQ("0123456789", buffer.data());
    EXPECT_EQ('!', buffer[12]);

    std::vector<char> html(200, '#');
    html.push_back('!');
    VoHtmlTextReceiver small(html.data(), 200);
    small.AddText(std::string(100, 'x').c_str());
    EXPECT_FALSE(small.Finish());
    EXPECT_EQ('!', html[200]);
    EXPECT_EQ(Field(std::string(html.data()), "EndHTML:"), 0) << "no offsets are written into an incomplete document";

    // No buffer room at all.
    char none[1] = {'#'};
    VoPlainTextReceiver zero(none, 0);
    zero.AddText("x");
    EXPECT_FALSE(zero.IsComplete());
    EXPECT_EQ('#', none[0]);
}

TEST(TextReceiversTest, ADocumentTooLongForItsOffsetsIsRefused) {
    const std::string big(999999 - kHtmlHeaderLength - 16, 'x');  // exactly the largest document
    VoHtmlTextReceiver fits;
    fits.AddText(big.c_str());
    EXPECT_TRUE(fits.Finish());
    EXPECT_EQ(999999, fits.GetLength());

    std::vector<char> buffer(1000000);
    VoHtmlTextReceiver writing(buffer.data(), static_cast<int>(buffer.size()));
    writing.AddText(big.c_str());
    EXPECT_TRUE(writing.Finish());
    EXPECT_EQ(999999, Parse(buffer.data()).endHtml);
    EXPECT_EQ(999999 - 16, Parse(buffer.data()).endFragment);

    VoHtmlTextReceiver tooLong;
    tooLong.AddText(big.c_str());
    tooLong.AddText("y");
    EXPECT_FALSE(tooLong.Finish());
}

}  // namespace
