// The docked panes on real windows under Xvfb, in a test frame that plays the main frame's
// part (it answers the pane's width request and lays the pane out when the width changed):
// the sizing edge by its pixels, the drag of the edge through the splitter tracking driven
// by posted mouse messages, and the multi-translation pane over the KJV sample and a
// bible of the sample variant numbering (psalm titles as verses, Joel 2:28-32 as Joel 3),
// which VoUtil.dll beside the test converts through the sample tables; with a screenshot.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BibleWriter.h"
#include "DataDirectories.h"
#include "Handles.h"
#include "MultiWnd.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "SampleProgramFolder.h"
#include "SampleVersifications.h"
#include "ScratchRegistry.h"
#include "TestFiles.h"
#include "WindowCapture.h"

namespace {

constexpr int kFrameWidth = 700, kFrameHeight = 420;

// The main frame's part: the pane docked at the right, its largest width on request.
class TestFrame {
public:
    TestFrame() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        wc.lpszClassName = "VoDockedTestFrame";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("VoDockedTestFrame", "Versilo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                             kFrameWidth, kFrameHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestFrame() { DestroyWindow(hwnd); }

    // Docks a pane of the given width at the right of the client area.
    void Dock(HWND pane, int width) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        MoveWindow(pane, rc.right - width, 0, width, rc.bottom, TRUE);
    }
    static RECT PaneRect(HWND pane) {
        RECT rc;
        GetWindowRect(pane, &rc);
        MapWindowPoints(nullptr, GetParent(pane), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    HWND hwnd = nullptr;
    LRESULT maxWidth = 300;   // the answer to the width request
    int requests = 0;
    std::vector<int> reportedWidths;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == WM_NOTIFY) {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->code == kDockedAskMaxWidth) {
                ++self->requests;
                return self->maxWidth;
            }
            if (hdr->code == kDockedWidthChanged) {
                const RECT rc = PaneRect(hdr->hwndFrom);
                self->reportedWidths.push_back(rc.right - rc.left);
                return 0;
            }
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(y)); }

// A pane made of the docked base alone.
class PlainPane : public VoDockedWnd<PlainPane> {
public:
    static void GetWindowClass(ry::WindowClass& wc) {
        wc.lpszClassName = "VoDockedTestPane";
        wc.hInstance = GetModuleHandleA(nullptr);
    }
};

class DockedPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame.hwnd);
        ASSERT_TRUE(pane.Create(frame.hwnd, RECT{0, 0, 10, 10}, 4000));
        frame.Dock(pane.Handle(), 200);
        UpdateWindow(frame.hwnd);
        Pump();
    }
    void TearDown() override { DestroyWindow(pane.Handle()); }

    // Presses the edge at pane x, moves to frame x and releases there (or presses a key).
    void Drag(int paneX, std::vector<int> frameXs, bool cancel = false) {
        const int y = 100;
        for (size_t i = 0; i < frameXs.size(); ++i) PostMessageA(frame.hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(frameXs[i], y));
        if (cancel) PostMessageA(frame.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        else PostMessageA(frame.hwnd, WM_LBUTTONUP, 0, At(frameXs.back(), y));
        SendMessageA(pane.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(paneX, y));
    }
    int PaneLeft() const { return TestFrame::PaneRect(pane.Handle()).left; }
    int PaneWidth() const {
        const RECT rc = TestFrame::PaneRect(pane.Handle());
        return rc.right - rc.left;
    }

    TestFrame frame;
    PlainPane pane;
};

}  // namespace

TEST_F(DockedPaneTest, TheEdgeShowsHighlightFaceAndShadowColumns) {
    const Capture shot = Capture::Of(pane.Handle());
    const int y = shot.height / 2;
    EXPECT_EQ(GetSysColor(COLOR_3DHIGHLIGHT), shot.At(0, y));
    for (int x = 1; x <= 4; ++x) EXPECT_EQ(GetSysColor(COLOR_3DFACE), shot.At(x, y)) << x;
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), shot.At(5, y));
    // The face-coloured frame's rectangles along the top and the right.
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), shot.At(50, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), shot.At(shot.width - 2, y));
    const RECT inner = pane.GetInnerRect();
    EXPECT_EQ(kDockedEdgeWidth, inner.left);
    EXPECT_EQ(shot.width, inner.right);
}

TEST_F(DockedPaneTest, DraggingTheEdgeResizesBetweenTheLimitsAndReports) {
    const int right = PaneLeft() + PaneWidth();
    // Pressed at pane x 3 (frame x left + 3), moved 60 pixels left: 60 wider.
    int left = PaneLeft();
    Drag(3, {left + 3 - 30, left + 3 - 60});
    EXPECT_EQ(260, PaneWidth());
    EXPECT_EQ(right, PaneLeft() + PaneWidth());
    EXPECT_EQ(std::vector<int>{260}, frame.reportedWidths);
    EXPECT_EQ(1, frame.requests);

    // Far past the frame's largest width: the frame's answer; far right: 50 pixels.
    left = PaneLeft();
    Drag(2, {left - 400});
    EXPECT_EQ(300, PaneWidth());
    left = PaneLeft();
    Drag(2, {left + 1000});
    EXPECT_EQ(kDockedMinWidth, PaneWidth());

    // A key cancels; a press right of the edge drags nothing.
    left = PaneLeft();
    Drag(1, {left - 100}, true);
    EXPECT_EQ(kDockedMinWidth, PaneWidth());
    const size_t reports = frame.reportedWidths.size();
    SendMessageA(pane.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(kDockedEdgeWidth, 50));
    EXPECT_EQ(reports, frame.reportedWidths.size());
    EXPECT_EQ(4, frame.requests);
    Pump();
}

TEST_F(DockedPaneTest, AFrameAnsweringBelowTheSmallestWidthStillLeavesFiftyPixels) {
    for (LRESULT answer : {LRESULT(0), LRESULT(20), LRESULT(-5)}) {
        frame.maxWidth = answer;
        frame.Dock(pane.Handle(), 120);
        const int left = PaneLeft();
        Drag(2, {left - 200});
        EXPECT_EQ(kDockedMinWidth, PaneWidth()) << answer;
        frame.Dock(pane.Handle(), 120);
        Drag(2, {PaneLeft() + 200});
        EXPECT_EQ(kDockedMinWidth, PaneWidth()) << answer;
    }
    Pump();
}

// The multi-translation pane in a program folder of its own: VoUtil.dll beside the test
// with the sample tables in its "Bibles", "Versilo.ini" naming scratch\Bibles with the KJV
// sample and "VAR" of the variant numbering, whose verses read "VAR book.chapter.verse".
class MultiPaneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(PrepareSampleProgramFolder());
        EmptyFolder(Bibles());
        ASSERT_TRUE(CopyFileA(WinePath(VERSILO_KJV_BIBLE).c_str(), (Bibles() + "KJV.vrsb").c_str(), FALSE));
        ComPtr<IBibleStat> variant;
        ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
        ComPtr<IBibleLangStat> lang;
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(variant.Get(), lang.Put()));
        BibleWriter w(lang.Get());
        for (int v = 0; v < w.VerseCount(); ++v) {
            int b = 0, c = 0, vv = 0;
            variant->VerseIndexToRef(v, &b, &c, &vv);
            w.SetVerse(v, "VAR " + std::to_string(b + 1) + "." + std::to_string(c + 1) + "." + std::to_string(vv + 1));
        }
        w.SetNames("Testbibel i variant nummerering", "VAR");
        std::string error;
        ASSERT_TRUE(w.WriteFile(BibleFormat::kNew, Bibles() + "variant.vrsb", &error)) << error;
    }
    static std::string Bibles() {
        char dir[kDirectoryCapacity];
        return GetBiblesDirectory(dir);
    }

    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        list.reset(new VoBibleInfoList);
        ASSERT_EQ(2, list->GetCount());
        kjv = list->FindByShortName("KJV");
        var = list->FindByShortName("VAR");
        ASSERT_NE(list->End(), kjv);
        ASSERT_NE(list->End(), var);
    }
    std::string Text(bool showSource, int source, int book, int chapter, int verse) {
        std::string text = "(unchanged)";
        BuildMultiTranslationText(*list, showSource, source, book, chapter, verse, &text);
        return text;
    }

    ScratchRegistry registry;
    std::unique_ptr<VoBibleInfoList> list;
    int kjv = -1, var = -1;
};

TEST_F(MultiPaneTest, ATranslationShowsItsOwnReferenceOnlyWhereItsNumberingDiffers) {
    // John 3:16: the same place in both numberings.
    EXPECT_EQ("VAR:  VAR 43.3.16\r\n", Text(false, kjv, 42, 2, 15));
    // Psalm 51:3 is the variant's 51:5 (two title verses before); Joel 2:28 its Joel 3:1.
    EXPECT_EQ("VAR Sal 51:5:  VAR 19.51.5\r\n", Text(false, kjv, 18, 50, 2));
    EXPECT_EQ("VAR Joel 3:1:  VAR 29.3.1\r\n", Text(false, kjv, 28, 1, 27));
    // And back: the KJV's own reference after its name (its verses begin with a paragraph sign).
    EXPECT_EQ(0u, Text(false, var, 28, 2, 0).find("KJV Joel 2:28:  \xB6 And it shall come to pass afterward"));
    // With the active bible shown, both blocks in the user's order, a blank line between.
    const std::string both = Text(true, kjv, 42, 2, 15);
    EXPECT_EQ(0u, both.find("KJV:  \xB6 For God so loved the world"));
    EXPECT_NE(std::string::npos, both.find(".\r\n\r\nVAR:  VAR 43.3.16\r\n"));
    // A source that can't be used leaves the text; a verse the source lacks too.
    EXPECT_EQ("(unchanged)", Text(false, 7, 0, 0, 0));
    EXPECT_EQ("(unchanged)", Text(false, kjv, 0, 0, 200));
}

TEST_F(MultiPaneTest, ThePaneFollowsTheVerseAndShowsItInEveryTranslation) {
    TestFrame frame;
    ASSERT_TRUE(frame.hwnd);
    VoMultiWnd pane(list.get());
    ASSERT_TRUE(pane.Create(frame.hwnd, RECT{0, 0, 10, 10}, kMultiWndId));
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(pane.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    frame.Dock(pane.Handle(), 320);
    auto text = [&] {
        char buffer[8192] = {};
        GetWindowTextA(pane.TextBox(), buffer, sizeof buffer);
        return std::string(buffer);
    };
    EXPECT_EQ("Det er ikke valgt et vers i bibelvinduet.", text());
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageA(pane.TextBox(), WM_GETFONT, 0, 0)));
    RECT box;
    GetWindowRect(pane.TextBox(), &box);
    MapWindowPoints(nullptr, pane.Handle(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(kDockedEdgeWidth, box.left);
    EXPECT_EQ(2, box.top);
    EXPECT_EQ(318, box.right);

    // Any negative value changes nothing; the only other translation is the source: empty.
    pane.SetVerse(kjv, 18, -1, 0);
    EXPECT_EQ("Det er ikke valgt et vers i bibelvinduet.", text());
    pane.SetVerse(var, 18, 50, 4);
    EXPECT_EQ(0u, text().find("KJV Sal 51:3:  "));
    pane.SetShowActiveBible(true);
    EXPECT_EQ(0u, text().find("KJV Sal 51:3:  "));  // the flag waits for the next verse
    pane.SetVerse(kjv, 18, 50, 2);
    EXPECT_EQ(0u, text().find("KJV:  For I acknowledge my transgressions"));
    EXPECT_NE(std::string::npos, text().find("\r\n\r\nVAR Sal 51:5:  VAR 19.51.5"));

    UpdateWindow(frame.hwnd);
    Pump();
    EXPECT_TRUE(Capture::Of(pane.Handle()).SaveArtifact("multi-translation-pane.bmp"));

    // The variant's Romans 14:24 (the KJV's 16:25) has no counterpart: with the flag off
    // nothing is left to show, and the box becomes empty.
    pane.SetShowActiveBible(false);
    pane.SetVerse(var, 44, 13, 23);
    EXPECT_EQ("", text());
    DestroyWindow(pane.Handle());
}

// At a narrow width the box's lines end at words: by the pixel positions of the characters
// the box shows, every word stands whole on one line unless it alone is wider than the box,
// and a line ends at a blank only where the next word would not have fitted. A copy gives
// the verse texts without the box's line breaks.
TEST_F(MultiPaneTest, ANarrowPaneBreaksItsLinesAtWordsAndCopiesWithoutThem) {
    TestFrame frame;
    ASSERT_TRUE(frame.hwnd);
    VoMultiWnd pane(list.get());
    ASSERT_TRUE(pane.Create(frame.hwnd, RECT{0, 0, 10, 10}, kMultiWndId));
    // The bible view's font, which the main frame gives the pane.
    FontHandle font(CreateFontA(-21, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman"));
    SendMessageA(pane.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    frame.Dock(pane.Handle(), 300);
    pane.SetShowActiveBible(true);
    pane.SetVerse(kjv, 42, 2, 15);  // John 3:16 in the KJV and the variant
    const std::string text = Text(true, kjv, 42, 2, 15);
    ASSERT_NE(std::string::npos, text.find("everlasting"));
    const HWND box = pane.TextBox();
    WindowDc dc(box);
    SelectedObject selected(dc.Get(), font.Get());
    auto widthOf = [&](const std::string& s) {
        SIZE size = {};
        GetTextExtentPoint32A(dc.Get(), s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    auto isWordChar = [](char c) { return c != ' ' && c != '\r' && c != '\n'; };

    for (int width = 100; width <= 160; width += 2) {
        frame.Dock(pane.Handle(), width);
        RECT format = {};
        SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const int room = format.right - format.left;
        char buffer[8192] = {};
        GetWindowTextA(box, buffer, sizeof buffer);
        const std::string shown = buffer;
        // Where each character of the text is shown: a soft line break stands for the blank
        // it replaces, or comes between two characters of a word too wide for a line.
        std::vector<int> at(text.size() + 1, static_cast<int>(shown.size()));
        size_t j = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (shown.compare(j, 3, "\r\r\n") == 0) {
                if (text[i] != ' ') j += 3;
                else {
                    at[i] = static_cast<int>(j);
                    j += 3;
                    continue;
                }
            }
            ASSERT_LT(j, shown.size()) << width;
            ASSERT_EQ(text[i], shown[j]) << width << ": the box shows another text at " << i;
            at[i] = static_cast<int>(j++);
        }
        auto pointOf = [&](size_t i) {
            const LRESULT p = SendMessageA(box, EM_POSFROMCHAR, static_cast<WPARAM>(at[i]), 0);
            return POINT{static_cast<short>(LOWORD(p)), static_cast<short>(HIWORD(p))};
        };
        for (size_t start = 0; start < text.size();) {
            if (!isWordChar(text[start])) {
                ++start;
                continue;
            }
            size_t end = start;
            while (end < text.size() && isWordChar(text[end])) ++end;
            const std::string word = text.substr(start, end - start);
            if (pointOf(start).y != pointOf(end - 1).y) {
                EXPECT_GT(widthOf(word), room) << width << ": \"" << word << "\" is broken inside";
            }
            // A word after a blank on the next line: together they would not have fitted.
            if (start > 0 && text[start - 1] == ' ' && pointOf(start - 1).y != pointOf(start).y) {
                const POINT lineEnd = pointOf(start - 1);
                EXPECT_GT(lineEnd.x - format.left + widthOf(" " + word), room)
                    << width << ": \"" << word << "\" would have fitted on the line before";
            }
            start = end;
        }
        if (width == 120) {
            UpdateWindow(frame.hwnd);
            Pump();
            EXPECT_TRUE(Capture::Of(pane.Handle()).SaveArtifact("multi-translation-pane-narrow.bmp"));
            SendMessageA(box, EM_SETSEL, 0, -1);
            SendMessageA(box, WM_COPY, 0, 0);
            ASSERT_TRUE(OpenClipboard(nullptr));
            const HANDLE data = GetClipboardData(CF_TEXT);
            const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
            if (data) GlobalUnlock(data);
            CloseClipboard();
            EXPECT_EQ(text, copied);
        }
    }
    DestroyWindow(pane.Handle());
}
