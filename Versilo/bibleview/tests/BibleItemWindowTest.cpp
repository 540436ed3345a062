// The item server over the KJV sample bible in a real text window of VoView.dll: the book
// and chapter lists, Genesis 1, Psalm 119 and John 3 drawn, measured heights against what
// is drawn, screenshots, copy data, and the references of items.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>
#include "KjvWindowFixture.h"

namespace {

// Keeps what the server offers, by format.
class RecordingSource : public ISimpleDataSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetData(UINT format, const void* data, int bytes, FORMATETC*) override {
        order.push_back(format);
        formats[format].assign(static_cast<const char*>(data), static_cast<size_t>(bytes));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CacheGlobal(UINT, HGLOBAL memory, FORMATETC*) override {
        GlobalFree(memory);
        return E_NOTIMPL;
    }
    std::map<UINT, std::string> formats;
    std::vector<UINT> order;
};

long HtmlField(const std::string& doc, const char* name) {
    const size_t at = doc.find(name);
    return at == std::string::npos ? -1 : std::strtol(doc.c_str() + at + std::string(name).size(), nullptr, 10);
}

class BibleItemWindowTest : public KjvWindowTest {
protected:
    // Measures item at width, then draws it on white into a taller bitmap: the drawn
    // layout's height must be the measured one, and nothing may be inked below it.
    void ExpectDrawnAsMeasured(int item, int width) {
        HDC screen = GetDC(nullptr);
        MemoryDc dc(CreateCompatibleDC(screen));
        ReleaseDC(nullptr, screen);
        SelectedObject font(dc.Get(), settings_.GetFont());
        int units = 0, height = 0;
        pane_.MeasureItem(dc.Get(), item, width, &units, &height);
        ASSERT_EQ(1, units);
        ASSERT_GT(height, 0);
        const int slack = 60;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -(height + slack);
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        BitmapHandle bitmap(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectedObject selected(dc.Get(), bitmap.Get());
        RECT all = {0, 0, width, height + slack};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkColor(dc.Get(), RGB(255, 255, 255));
        SetTextColor(dc.Get(), RGB(0, 0, 0));
        const int state[2] = {-1, 0};
        RECT rect = {0, 0, width, height};
        const int drawn = pane_.LayoutVerseItem(dc.Get(), item, rect, state, nullptr, nullptr, nullptr);
        EXPECT_EQ(height, drawn) << "item " << item << " at " << width;
        GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        int lowest = -1;
        for (int y = 0; y < height + slack; ++y)
            for (int x = 0; x < width; ++x)
                if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) lowest = y;
        EXPECT_GE(lowest, 0) << "item " << item << " drew nothing";
        EXPECT_LT(lowest, height) << "item " << item << " at " << width << " inks below its height";
    }

};

TEST_F(BibleItemWindowTest, BookAndChapterLists) {
    pane_.SetBook(-1);
    Show(kClientW);
    EXPECT_EQ(kItemsBooks, pane_.GetItemKind());
    EXPECT_EQ(66, pane_.GetItemCount());
    char name[64];
    pane_.GetItemText(0, name, sizeof name, nullptr);
    EXPECT_STRNE("", name);
    Screenshot("bible-items-books.bmp");

    pane_.SetBook(kBookPsalms);
    EXPECT_EQ(kItemsChapters, pane_.GetItemKind());
    EXPECT_EQ(150, pane_.GetItemCount());
    const Capture c = Screenshot("bible-items-chapters.bmp");
    EXPECT_GT(c.width, 0);
    int number = 0;
    char text[64];
    pane_.GetItemText(22, text, sizeof text, &number);
    EXPECT_EQ(23, number);
}

TEST_F(BibleItemWindowTest, GenesisOneAndPsalm119AreDrawnAsMeasured) {
    Show(kClientW);
    pane_.SetBook(kBookGenesis);
    pane_.SetChapter(0);
    EXPECT_EQ(1533, pane_.GetItemCount());
    for (int width : {kClientW, 260})
        for (int v = 0; v < pane_.VersesIn(0); ++v) ExpectDrawnAsMeasured(pane_.ChapterItem(0) + v, width);
    Screenshot("bible-items-genesis-1.bmp");

    pane_.SetBook(kBookPsalms);
    pane_.SetChapter(118);
    EXPECT_EQ(176, pane_.VersesIn(118));
    for (int width : {kClientW, 200})
        for (int v = 0; v < pane_.VersesIn(118); ++v) ExpectDrawnAsMeasured(pane_.ChapterItem(118) + v, width);
    // The window stands at Psalm 119:1 and its items have the heights the server measures.
    EXPECT_EQ(pane_.ChapterItem(118), SendMessageA(window_, TWM_GETTOPINDEX, 0, 0));
    Screenshot("bible-items-psalm-119.bmp");
}

TEST_F(BibleItemWindowTest, JohnThreeInOneColumnAtTwoWidths) {
    pane_.SetBook(kBookJohn);
    Show(kClientW);
    pane_.SetChapter(2);
    EXPECT_EQ(0, pane_.GetColumnWidth());
    Screenshot("bible-items-john-3-wide.bmp");
    DestroyWindow(window_);
    window_ = nullptr;

    // Narrow enough that every verse wraps.
    const int narrow = 150;
    Show(narrow);
    pane_.SetChapter(2);
    HDC screen = GetDC(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    SelectedObject font(dc.Get(), settings_.GetFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.Get(), &tm);
    for (int v = 1; v < pane_.VersesIn(2); ++v) {
        int units = 0, height = 0;
        pane_.MeasureItem(dc.Get(), pane_.ChapterItem(2) + v, narrow, &units, &height);
        EXPECT_GE(height, 2 * tm.tmHeight) << "John 3:" << v + 1 << " wraps";
        ExpectDrawnAsMeasured(pane_.ChapterItem(2) + v, narrow);
    }
    Screenshot("bible-items-john-3-narrow.bmp");
}

TEST_F(BibleItemWindowTest, CopiesOfVersesAndTheirReferences) {
    pane_.SetBook(kBookJohn);
    Show(kClientW);
    pane_.SetChapter(2);
    const int first = pane_.ChapterItem(2) + 15;  // John 3:16
    SendMessageA(window_, TWM_SELECTRANGE, static_cast<WPARAM>(first), first + 2);
    SendMessageA(window_, TWM_SETCARET, static_cast<WPARAM>(first + 1), 0);
    RecordingSource source;
    ASSERT_TRUE(pane_.FillSelectionData(&source));
    const UINT html = RegisterClipboardFormatA("HTML Format");
    ASSERT_EQ(3u, source.order.size());
    EXPECT_EQ(static_cast<UINT>(CF_TEXT), source.order[0]);
    EXPECT_EQ(pane_.GetReferenceFormat(), source.order[1]);
    EXPECT_EQ(html, source.order[2]);

    const std::string text = source.formats[CF_TEXT];
    EXPECT_EQ(0u, text.find("16 \xB6 For God so loved the world")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\n17 For God sent not his Son")) << text;
    EXPECT_EQ('\0', text.back());
    EXPECT_NE(std::string::npos, text.find("\r\nJoh 3:16f\r\n\r\n")) << text;

    const std::string doc = source.formats[html];
    EXPECT_EQ(static_cast<long>(doc.size()) - 1, HtmlField(doc, "EndHTML:"));
    const long endFragment = HtmlField(doc, "EndFragment:");
    EXPECT_EQ(0u, doc.compare(static_cast<size_t>(endFragment), 7, "</BODY>"));
    EXPECT_EQ(0u, doc.compare(109, 8, "<i><sup>"));

    const std::string record = source.formats[pane_.GetReferenceFormat()];
    ASSERT_EQ(20u, record.size());
    int ref = 0;
    memcpy(&ref, record.data(), 4);
    EXPECT_EQ(pane_.MakeRangeRef(first, first + 2), ref);
    EXPECT_NE(0, ref);

    // A cross-reference shown after John 1:23 (the sample library has one there) is dragged
    // as its reference.
    ASSERT_NE(nullptr, pane_.GetRefLib());
    const int linked = pane_.ChapterItem(0) + 22;
    EXPECT_EQ(0, pane_.GetLinkRef(first, 0));
    const int link = pane_.GetLinkRef(linked, 0);
    EXPECT_NE(0, link);
    RecordingSource part;
    EXPECT_TRUE(pane_.FillPartData(&part, linked, kPartFirstReference + kPartUnreachable));
    int dragged = 0;
    memcpy(&dragged, part.formats[pane_.GetReferenceFormat()].data(), 4);
    EXPECT_EQ(link, dragged);
    EXPECT_FALSE(pane_.FillPartData(&part, linked, kPartCommentaryMarker));
    EXPECT_FALSE(pane_.FillPartData(&part, linked, kPartFirstReference + 1));
}

TEST_F(BibleItemWindowTest, ReferencesOfItemsAreCheckedAndSelectionsReachItemZero) {
    pane_.SetBook(kBookJohn);
    Show(kClientW);
    pane_.SetChapter(0);
    const int count = pane_.GetItemCount();
    EXPECT_EQ(0, pane_.MakeRangeRef(-1, 2));
    EXPECT_EQ(0, pane_.MakeRangeRef(count, count + 1));
    EXPECT_EQ(0, pane_.MakeItemRef(count));
    EXPECT_NE(0, pane_.MakeItemRef(count - 1));
    EXPECT_EQ(pane_.MakeRangeRef(count - 2, count), pane_.MakeRangeRef(count - 2, count + 5));
    // A selection from item 0 with the caret inside it covers item 0.
    SendMessageA(window_, TWM_SELECTRANGE, 0, 3);
    SendMessageA(window_, TWM_SETCARET, 1, 0);
    EXPECT_EQ(pane_.MakeRangeRef(0, 3), pane_.GetSelectionRef());
    // A caret outside the selection stands alone.
    SendMessageA(window_, TWM_SETCARET, 5, 0);
    EXPECT_EQ(pane_.MakeItemRef(5), pane_.GetSelectionRef());
    // Without a bible there is nothing to refer to.
    pane_.DropBible();
    EXPECT_EQ(0, pane_.GetSelectionRef());
    EXPECT_EQ(0, pane_.MakeRangeRef(0, 1));
    EXPECT_EQ(0, pane_.GetItemCount());
    char text[16];
    pane_.GetItemText(0, text, sizeof text, nullptr);
    EXPECT_STREQ("Error", text);
}

TEST_F(BibleItemWindowTest, PartsThatCanBeDragged) {
    pane_.SetBook(kBookJohn);
    pane_.SetChapter(2);
    EXPECT_EQ(0, pane_.CanDragPart(0, kPartCommentaryMarker));
    EXPECT_EQ(0, pane_.CanDragPart(0, 5));
    EXPECT_EQ(1, pane_.CanDragPart(0, 10003));
    EXPECT_EQ(1, pane_.CanDragPart(0, 30003));
    settings_.SetMultiColumn(true);
    settings_.SetColumnWidth(200);
    settings_.SetMarginWidth(12);
    EXPECT_EQ(224, pane_.GetColumnWidth());
    VoPaneContext context;
    context.SetViewSettings(&settings_);
    EXPECT_EQ(10, context.GetMargin(40));  // a margin of 12 on a 40-pixel column
    EXPECT_EQ(12, context.GetMargin(1000));
}

}  // namespace
