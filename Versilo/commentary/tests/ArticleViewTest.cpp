// The article view on real windows under Xvfb. Wine here has no browser engine, so the
// view's real document is the plain text view: the default page, an article with its
// title strip (its characters, not the page's entities), links followed by a double click,
// headings and scrolling in lines, the load reported to the host, lines wrapped at words at
// every width, and screenshots. A stand-in document shows what the view does with a live
// page (loads that fail, heading tables, scrolling, the font) and creation that fails
// without a document. The wrap itself is checked on a table of texts and widths.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ArticleHtml.h"
#include "ComModule.h"
#include "Handles.h"
#include "LexTextWnd.h"
#include "OleHandles.h"
#include "SoftWrap.h"
#include "WindowCapture.h"

namespace {

class RecordingHost : public AVoLexTextWndHost {
public:
    void GetReferenceText(const char*, char* buffer, int size) override { lstrcpynA(buffer, "verset", size); }
    void GoToBibleReference(const char* reference) override { calls.push_back(std::string("go:") + reference); }
    void OpenLexiconReference(const char* title) override { calls.push_back(std::string("lex:") + title); }
    void OnPageLoaded() override { calls.push_back("loaded"); }
    std::vector<std::string> calls;
};

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeFrame() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.lpszClassName = "VoArticleTestFrame";
    RegisterClassA(&wc);
    return CreateWindowA("VoArticleTestFrame", "Versilo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 480,
                         360, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

// The box's position of a position of the text it shows with soft line breaks.
int ShownIndex(const std::string& shown, int position) {
    int i = 0;
    for (int n = 0; n < position && i < static_cast<int>(shown.size()); ++n)
        i += shown.compare(static_cast<size_t>(i), 3, kSoftLineBreak) == 0 ? 3 : 1;
    return i;
}

// A live page as a test sees it: what was loaded, headings it was told of, scrolling.
struct FakePage {
    std::vector<std::string> loads;
    bool failLoads = false;
    std::string face;
    int pixels = 0;
    std::vector<std::string> headings;
    std::vector<int> scrolledTo;
    long top = 0, height = 900, client = 300;
};
FakePage* g_page = nullptr;

class FakeDocument : public AVoArticleDocument {
public:
    explicit FakeDocument(HWND parent, UINT id) {
        window_ = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }
    ~FakeDocument() override { DestroyWindow(window_); }
    HWND Window() const override { return window_; }
    HRESULT Load(const std::string& html) override {
        if (g_page->failLoads) return E_OUTOFMEMORY;
        g_page->loads.push_back(html);
        return S_OK;
    }
    bool RunsPageScript() const override { return true; }
    void SetBodyFont(const char* face, int pixels) override {
        g_page->face = face;
        g_page->pixels = pixels;
    }
    int CollectHeadingReferences(char (*texts)[kHeadingTextSize], VoPageElement* elements) override {
        int n = 0;
        for (const std::string& h : g_page->headings) {
            lstrcpynA(texts[n], h.c_str(), kHeadingTextSize);
            elements[n].position = n * 10;
            ++n;
        }
        return n;
    }
    void ScrollElementIntoView(const VoPageElement& e) override { g_page->scrolledTo.push_back(e.position); }
    bool GetScrollState(long* top, long* height, long* client) override {
        *top = g_page->top;
        *height = g_page->height;
        *client = g_page->client;
        return *client >= *height;
    }
    void SetScrollTop(long top) override { g_page->top = top; }

private:
    HWND window_;
};

std::unique_ptr<AVoArticleDocument> MakeFake(HWND parent, UINT id, IDispatch*, AVoLexTextWndHost**) {
    return std::unique_ptr<AVoArticleDocument>(new FakeDocument(parent, id));
}
std::unique_ptr<AVoArticleDocument> MakeNothing(HWND, UINT, IDispatch*, AVoLexTextWndHost**) { return nullptr; }

class ArticleViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitHtmlHostModule(GetModuleHandleA(nullptr)); }
    void SetUp() override {
        frame = MakeFrame();
        ASSERT_TRUE(frame);
    }
    void TearDown() override { DestroyWindow(frame); }
    HWND Create(VoLexTextWnd& view) {
        RECT rc;
        GetClientRect(frame, &rc);
        const HWND hwnd = view.Create(frame, rc, kLexTextWndId);
        if (hwnd) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        return hwnd;
    }

    HWND frame = nullptr;
};

const char kArticleBody[] =
    "<H1><a href=\"bible:Sal%2023,1\">Sal 23,1</a></H1>\r\n"
    "<p>Herren er min hyrde, meg fattes intet. Se ogs\xE5 <a href=\"bible:Joh%2010,11\">Joh 10,11</a>"
    " og <a href=\"lexicon:Hyrde\">Hyrde</a>.</p>\r\n"
    "<H1><a href=\"bible:Sal%2023,2\">Sal 23,2</a></H1>\r\n<p>Han lar meg ligge i gr\xF8nne enger.</p>\r\n";

}  // namespace

TEST_F(ArticleViewTest, WithoutABrowserThePlainViewShowsTheDefaultPageAndArticles) {
    // The browser control cannot be made here (the runner disables Wine's engine).
    ASSERT_EQ(nullptr, CreateBrowserDocument(frame, 1, nullptr).get());
    VoLexTextWnd view;
    ASSERT_TRUE(Create(view));
    ASSERT_TRUE(view.GetDocument());
    const HWND box = view.GetDocument()->Window();
    char cls[16] = {};
    GetClassNameA(box, cls, sizeof cls);
    EXPECT_STREQ("Edit", cls);
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ("Tittel ikke valgt", view.GetTitle());
    EXPECT_EQ("Tittel\r\nDu m\xE5 velge en tittel for \xE5 vise noe her.", WindowText(box));

    RecordingHost host;
    view.SetHost(&host);
    view.ShowArticle("<title>Salme 23</title>\r\n", kArticleBody);
    EXPECT_EQ("Salme 23", view.GetTitle());
    const std::string shown = WindowText(box);
    const std::string text = RemoveSoftLineBreaks(shown);
    EXPECT_EQ(0u, text.find("Sal 23,1\r\nHerren er min hyrde, meg fattes intet. Se ogs\xE5 Joh 10,11 og Hyrde.\r\n"));
    // The title strip above the text, the text below it.
    ASSERT_GT(view.GetTitleHeight(), 0);
    RECT rc;
    GetWindowRect(box, &rc);
    MapWindowPoints(nullptr, view.Handle(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(view.GetTitleHeight(), rc.top);

    // Headings and scrolling in lines of the text.
    char texts[kHeadingTableSize][kHeadingTextSize];
    VoPageElement elements[kHeadingTableSize];
    ASSERT_EQ(2, view.CollectHeadingReferences(texts, elements));
    EXPECT_STREQ("Sal 23,1", texts[0]);
    EXPECT_STREQ("Sal 23,2", texts[1]);
    EXPECT_EQ(static_cast<int>(text.find("Sal 23,2")), elements[1].position);
    long top = -1, height = -1, client = -1;
    view.GetScrollState(&top, &height, &client);
    EXPECT_EQ(0, top);

    // A double click on a link's word follows it; on plain words nothing happens.
    auto doubleClickAt = [&](const char* word) {
        const int at = ShownIndex(shown, static_cast<int>(text.find(word)) + 1);
        const LRESULT pos = SendMessageA(box, EM_POSFROMCHAR, static_cast<WPARAM>(at), 0);
        SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(LOWORD(pos) + 1, HIWORD(pos) + 2));
        SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(LOWORD(pos) + 1, HIWORD(pos) + 2));
    };
    doubleClickAt("Joh 10");
    doubleClickAt("Hyrde.");
    doubleClickAt("fattes");
    EXPECT_EQ((std::vector<std::string>{"go:Joh 10,11", "lex:Hyrde"}), host.calls);

    // The plain view has no page script to say the article has loaded: it tells the host
    // itself once the messages before are handled, once for the newest page only.
    Pump();
    EXPECT_EQ((std::vector<std::string>{"go:Joh 10,11", "lex:Hyrde", "loaded"}), host.calls);
    host.calls.clear();
    view.ShowArticle("<title>Salme 1</title>\r\n", "<p>Salig er den</p>");
    view.ShowArticle("<title>Salme 23</title>\r\n", kArticleBody);
    Pump();
    EXPECT_EQ(std::vector<std::string>{"loaded"}, host.calls);
    view.ShowArticle("<title>Salme 1</title>\r\n", "<p>Salig er den</p>");
    view.LoadPage("<html><body><p>en side, ikke en artikkel</p></body></html>");
    Pump();
    EXPECT_EQ(std::vector<std::string>{"loaded"}, host.calls);
    view.ShowArticle("<title>Salme 23</title>\r\n", kArticleBody);

    UpdateWindow(frame);
    Pump();
    const Capture shot = Capture::Of(frame);
    EXPECT_TRUE(shot.SaveArtifact("article-view-plain.bmp"));
    // The strip is painted in the face colour.
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), shot.At(shot.width - 3, 1));
}

TEST_F(ArticleViewTest, ScriptMessagesReachTheHostThroughTheViewsHostObject) {
    VoLexTextWnd view(&MakeFake);
    FakePage page;
    g_page = &page;
    ASSERT_TRUE(Create(view));
    RecordingHost host;
    view.SetHost(&host);
    Bstr text(L"Joh 3,16");
    VARIANT result;
    ASSERT_EQ(S_OK, view.GetHostObject()->CustomMessage(101, text.Get(), &result));
    ASSERT_EQ(S_OK, view.GetHostObject()->CustomMessage(10, text.Get(), &result));
    EXPECT_EQ((std::vector<std::string>{"go:Joh 3,16", "loaded"}), host.calls);

    // The verse tip opens a popup owned by the view and closes with code 201.
    Bstr tipText(L"Joh 3,16\nFor s\u00e5 h\u00f8yt har Gud elsket verden");
    ASSERT_EQ(S_OK, view.GetHostObject()->CustomMessage(200, tipText.Get(), &result));
    const HWND tip = view.GetTipWindow();
    ASSERT_TRUE(tip);
    EXPECT_EQ(GetAncestor(view.Handle(), GA_ROOT), GetWindow(tip, GW_OWNER));  // a popup's owner is top-level
    ASSERT_EQ(S_OK, view.GetHostObject()->CustomMessage(201, nullptr, &result));
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(nullptr, view.GetTipWindow());

    // After the window is gone the host object no longer reaches the view.
    ComPtr<CVoHtmlHost> kept(view.GetHostObject());
    DestroyWindow(view.Handle());
    EXPECT_EQ(E_UNEXPECTED, kept->CustomMessage(10, text.Get(), &result));
    g_page = nullptr;
}

TEST_F(ArticleViewTest, ALivePageGetsTheFontAndTheViewAsksItForHeadingsAndScrolling) {
    FakePage page;
    g_page = &page;
    page.headings = {"Joh 3,16", "Joh 3,17"};
    {
        VoLexTextWnd view(&MakeFake);
        const LONG locks = ComModule::Current().LockCount();
        ASSERT_TRUE(Create(view));
        EXPECT_EQ(locks + 1, ComModule::Current().LockCount());  // held for the window's life
        ASSERT_EQ(1u, page.loads.size());  // the default page
        EXPECT_EQ(0u, page.loads[0].find("<html>"));

        LOGFONTA lf = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        EXPECT_EQ(lf.lfFaceName, page.face);
        EXPECT_EQ(FontPixelSize(lf.lfHeight), page.pixels);
        EXPECT_EQ(MakeBodyRule(lf.lfFaceName, lf.lfHeight), view.GetBodyRule());
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)),
                  SendMessageA(view.Handle(), WM_GETFONT, 0, 0));

        // The article page carries the body rule; a page without a title has no strip.
        view.ShowArticle(nullptr, "<p>uten tittel</p>");
        ASSERT_EQ(2u, page.loads.size());
        EXPECT_NE(std::string::npos, page.loads[1].find(view.GetBodyRule() + "   body"));
        EXPECT_EQ(0, view.GetTitleHeight());
        RECT rc;
        GetWindowRect(view.GetDocument()->Window(), &rc);
        MapWindowPoints(nullptr, view.Handle(), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(0, rc.top);

        // A title longer than three lines: three line heights and 2 pixels.
        std::string longTitle = "<title>";
        for (int i = 0; i < 60; ++i) longTitle += "Lang tittel ";
        view.ShowArticle((longTitle + "</title>").c_str(), "<p>x</p>");
        WindowDc dc(view.Handle());
        LOGFONTA bold = lf;
        bold.lfWeight = FW_BOLD;
        FontHandle boldFont(CreateFontIndirectA(&bold));
        SelectedObject selected(dc.Get(), boldFont.Get());
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc.Get(), &tm);
        EXPECT_EQ(3 * (tm.tmHeight + tm.tmExternalLeading) + 2, view.GetTitleHeight());

        // A page that fails to load leaves the title as it was.
        page.failLoads = true;
        const int strip = view.GetTitleHeight();
        view.LoadPage("<title>Ny</title><p>ny</p>");
        EXPECT_EQ(strip, view.GetTitleHeight());
        EXPECT_EQ(0u, view.GetTitle().find("Lang tittel"));
        page.failLoads = false;

        char texts[kHeadingTableSize][kHeadingTextSize];
        VoPageElement elements[kHeadingTableSize];
        ASSERT_EQ(2, view.CollectHeadingReferences(texts, elements));
        EXPECT_STREQ("Joh 3,17", texts[1]);
        view.ScrollElementIntoView(elements[1]);
        EXPECT_EQ(std::vector<int>{10}, page.scrolledTo);
        long top = 0, height = 0, client = 0;
        EXPECT_FALSE(view.GetScrollState(&top, &height, &client));
        EXPECT_EQ(900, height);
        view.SetScrollTop(250);
        EXPECT_EQ(250, page.top);
        // The window's lock ends with it, and so does the host object the view made.
        DestroyWindow(view.Handle());
        EXPECT_EQ(locks - 1, ComModule::Current().LockCount());
    }
    g_page = nullptr;
}

TEST_F(ArticleViewTest, WithoutAnyDocumentTheViewIsNotCreated) {
    VoLexTextWnd view(&MakeNothing);
    EXPECT_EQ(nullptr, Create(view));
}

namespace {

// The page's position after the box's first count characters: a soft line break stands for
// the blank it replaced, or for nothing where it cuts a word.
size_t PagePosition(const std::string& shown, size_t count, const std::string& page) {
    size_t j = 0;
    for (size_t i = 0; i < count && i < shown.size();) {
        if (shown.compare(i, 3, kSoftLineBreak) == 0) {
            if (j < page.size() && page[j] == ' ') ++j;
            i += 3;
        } else {
            ++i;
            ++j;
        }
    }
    return j;
}

// True when the box shows the page's text, soft line breaks aside.
bool ShowsPage(const std::string& shown, const std::string& page) {
    std::string rebuilt;
    for (size_t i = 0; i < shown.size();) {
        if (shown.compare(i, 3, kSoftLineBreak) == 0) {
            if (rebuilt.size() < page.size() && page[rebuilt.size()] == ' ') rebuilt += ' ';
            i += 3;
        } else {
            rebuilt += shown[i++];
        }
    }
    return rebuilt == page;
}

// A box of width characters of one unit each.
VoSoftWrappedText WrapAt(const std::string& text, int width) {
    return SoftWrapText(text, [width](const char*, int length) { return length < width ? length : width; });
}

}  // namespace

TEST(SoftWrapTest, LinesBreakAtTheLastBlankThatFitsAndInsideOnlyAWordTooWideAlone) {
    const struct {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"aaa bbb ccc", 20, "aaa bbb ccc"},
        {"aaa bbb ccc", 7, "aaa bbb\r\r\nccc"},
        {"aaa bbb ccc", 8, "aaa bbb\r\r\nccc"},                      // the blank after a full line
        {"aaa bbb ccc", 6, "aaa\r\r\nbbb\r\r\nccc"},
        {"- (Literally, the Hebrew", 15, "- (Literally,\r\r\nthe Hebrew"},  // never "t" / "he"
        {"Ostentatiously used", 14, "Ostentatiously\r\r\nused"},     // a word as wide as the box
        {"abcdefghij xy", 4, "abcd\r\r\nefgh\r\r\nij\r\r\nxy"},     // only a word too wide is cut
        {"aa bb\r\ncc dd\neeee", 3, "aa\r\r\nbb\r\ncc\r\r\ndd\neee\r\r\ne"},  // the text's own line ends
        {"\r\n\r\nx  y", 2, "\r\n\r\nx \r\r\ny"},                  // empty lines; a run of blanks
        {"", 5, ""},
    };
    for (const auto& c : cases) {
        const VoSoftWrappedText w = WrapAt(c.text, c.width);
        EXPECT_EQ(c.shown, w.shown) << c.text << " at " << c.width;
        // Every character of the text is shown where the map says, and back.
        const std::string text = c.text;
        ASSERT_EQ(text.size() + 1, w.shownAt.size());
        ASSERT_EQ(w.shown.size() + 1, w.textAt.size());
        for (size_t i = 0; i < text.size(); ++i) {
            const char shownChar = w.shown[static_cast<size_t>(w.shownAt[i])];
            EXPECT_TRUE(shownChar == text[i] || (text[i] == ' ' && shownChar == '\r')) << c.text << " " << i;
            EXPECT_EQ(static_cast<int>(i), w.textAt[static_cast<size_t>(w.shownAt[i])]) << c.text << " " << i;
        }
    }
    // A first character wider than the box still goes on a line of its own.
    EXPECT_EQ("a\r\r\nb\r\r\nc", SoftWrapText("abc", [](const char*, int) { return 0; }).shown);
    EXPECT_EQ("aaa bbb ccc", RemoveSoftLineBreaks(WrapAt("aaa bbb ccc", 3).shown));
}

TEST_F(ArticleViewTest, ThePlainViewWrapsAtWordsAndCutsOnlyAWordWiderThanTheView) {
    VoLexTextWnd view;
    ASSERT_TRUE(Create(view));
    FontHandle font(CreateFontA(-21, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman"));
    SendMessageA(view.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // Nave's article RABBI as the pane renders it, and a word too long for any line here.
    std::string head, body;
    ASSERT_TRUE(RenderArticle("- (Literally, the Hebrew word means \x93my great one.\x94)\r\n"
                              "- The title of a Jewish teacher <Matt 23,7>\r\n"
                              "- Ostentatiously used by the Pharisees <Matt 23,7>\r\n"
                              "- Used in addressing John the Baptist; the Pneumonoultramicroscopicsilicovolcanoconiosis",
                              nullptr, 0, &head, &body));
    view.ShowArticle(head.c_str(), body.c_str());
    const std::string page = PageToPlainText(BuildArticlePage(VoPageResources(), head.c_str(), body.c_str(), "").c_str()).text;
    const HWND box = view.GetDocument()->Window();
    WindowDc dc(box);
    SelectedObject selected(dc.Get(), font.Get());
    auto widthOf = [&](const std::string& s) {
        SIZE size = {};
        GetTextExtentPoint32A(dc.Get(), s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    auto isWordChar = [](char c) { return c != ' ' && c != '\r' && c != '\n'; };

    for (int width = 100; width <= 340; width += 4) {
        MoveWindow(view.Handle(), 0, 0, width, 300, TRUE);
        RECT format = {};
        SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const int room = format.right - format.left;
        const std::string shown = WindowText(box);
        ASSERT_TRUE(ShowsPage(shown, page)) << width << ": " << shown;
        // Each line as the reader sees it, in positions of the page's text.
        const int lines = static_cast<int>(SendMessageA(box, EM_GETLINECOUNT, 0, 0));
        for (int line = 0; line + 1 < lines; ++line) {
            const int start = static_cast<int>(SendMessageA(box, EM_LINEINDEX, line, 0));
            const int end = start + static_cast<int>(SendMessageA(box, EM_LINELENGTH, start, 0));
            const size_t from = PagePosition(shown, static_cast<size_t>(start), page);
            const size_t after = PagePosition(shown, static_cast<size_t>(end), page);
            if (after >= page.size() || page[after] == '\r') continue;  // the page's own line end
            const std::string text = page.substr(from, after - from);
            if (page[after] != ' ' && isWordChar(page[after - 1])) {
                // Cut inside a word: only one wider than the view alone.
                size_t wordStart = after, wordEnd = after;
                while (wordStart > 0 && isWordChar(page[wordStart - 1])) --wordStart;
                while (wordEnd < page.size() && isWordChar(page[wordEnd])) ++wordEnd;
                EXPECT_GT(widthOf(page.substr(wordStart, wordEnd - wordStart)), room)
                    << width << ": [" << text << "] cuts its word";
            } else {
                // Broken at a blank: the next word would not have fitted on the line.
                size_t wordEnd = after + 1;
                while (wordEnd < page.size() && isWordChar(page[wordEnd])) ++wordEnd;
                EXPECT_GT(widthOf(page.substr(from, wordEnd - from)), room)
                    << width << ": [" << text << "] leaves room for the next word";
            }
        }
        if (width == 200) {
            UpdateWindow(frame);
            Pump();
            EXPECT_TRUE(Capture::Of(frame).SaveArtifact("article-view-wrapped.bmp"));
            // A copy of the whole text is the page's text, without the view's line breaks.
            SendMessageA(box, EM_SETSEL, 0, -1);
            SendMessageA(box, WM_COPY, 0, 0);
            ASSERT_TRUE(OpenClipboard(nullptr));
            const HANDLE data = GetClipboardData(CF_TEXT);
            const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
            if (data) GlobalUnlock(data);
            CloseClipboard();
            EXPECT_EQ(page, copied);
        }
    }
}

TEST_F(ArticleViewTest, TheTitleStripShowsTheTitlesCharactersNotItsEntities) {
    VoLexTextWnd view;
    ASSERT_TRUE(Create(view));
    // The title line as a reader types it; the page writes it escaped.
    std::string head, body;
    ASSERT_TRUE(RenderArticle(">>Abraham & Sara <i>og</i> Isak\r\nSe 1Mos 21.", nullptr, 0, &head, &body));
    ASSERT_NE(std::string::npos, head.find("&amp;"));
    view.ShowArticle(head.c_str(), body.c_str());
    EXPECT_EQ("Abraham & Sara <i>og</i> Isak", view.GetTitle());
    UpdateWindow(frame);
    Pump();

    // The strip's pixels against the title drawn as the strip draws it.
    const Capture shot = Capture::Of(view.Handle());
    const int height = view.GetTitleHeight();
    ASSERT_GT(height, 0);
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    FontHandle bold(CreateFontIndirectA(&lf));
    WindowDc screen(view.Handle());
    MemoryDc memory(CreateCompatibleDC(screen.Get()));
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), shot.width, height));
    SelectedObject pickBitmap(memory.Get(), bitmap.Get());
    RECT rc = {0, 0, shot.width, height};
    FillRect(memory.Get(), &rc, GetSysColorBrush(COLOR_3DFACE));
    SelectedObject pickFont(memory.Get(), bold.Get());
    SetBkMode(memory.Get(), TRANSPARENT);
    SetTextColor(memory.Get(), GetSysColor(COLOR_BTNTEXT));
    rc.bottom -= 2;
    DrawTextA(memory.Get(), "Abraham & Sara <i>og</i> Isak", -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) != GetPixel(memory.Get(), x, y)) ++differing;
    EXPECT_EQ(0, differing);
    EXPECT_TRUE(shot.SaveArtifact("article-view-title.bmp"));
}
