// The virtual combo box on real windows under Xvfb, over a provider of 100,000 titles:
// selection at the edges, the search for typed text, the notifications and their order,
// Enter and Escape, the mouse loop's auto-scroll on an injected clock, presses outside the
// list, the text drop, the list's end with the combo, and a screenshot of it dropped down.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "VirtualCombo.h"
#include "WindowCapture.h"

namespace {

constexpr UINT kComboId = 1001;
constexpr UINT kButtonId = 3001;
constexpr int kTitles = 100000;
constexpr DWORD kDropCopy = 1;  // the OLE drop effect "copy"

std::string Title(int i) {
    char text[32];
    wsprintfA(text, "Tittel %06d", i);
    return text;
}

// Titles "Tittel 000000" ... in their sorted order.
class TitleProvider : public IVirtualListItemProvider {
public:
    explicit TitleProvider(int count) : count_(count) {}
    virtual ~TitleProvider() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IVirtualListItemProvider)) return E_NOINTERFACE;
        *out = static_cast<IVirtualListItemProvider*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetItem(int index, RyVirtualListItem* item) override {
        if (index < 0 || index >= count_) return E_INVALIDARG;
        if (item->mask & kRyItemText) lstrcpynA(item->text, Title(index).c_str(), item->textMax);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindItem(const char* text, int* index, BYTE* exact) override {
        int low = 0, high = count_;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (std::strcmp(Title(mid).c_str(), text) < 0) low = mid + 1;
            else high = mid;
        }
        *index = low;
        *exact = low < count_ && Title(low) == text;
        return S_OK;
    }

private:
    volatile LONG refs_ = 1;
    int count_;
};

// What the parent receives.
std::vector<UINT> g_codes;      // notification codes of the combo
std::vector<UINT> g_commands;   // ids of other commands
std::vector<LPARAM> g_senders;  // their lParam

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == kComboId) {
            g_codes.push_back(HIWORD(wParam));
        } else {
            g_commands.push_back(wParam);
            g_senders.push_back(lParam);
        }
        return 0;
    }
    if (message == DM_GETDEFID) return MAKELONG(IDOK, DC_HASDEFID);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class VirtualComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VirtualComboTestParent";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, wc.lpszClassName, "Kommentarer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 360,
                                  420, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, parent_);
        button_ = CreateWindowExA(0, "BUTTON", "Knapp", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 250, 10, 80, 24, parent_,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), wc.hInstance, nullptr);
        RECT rc = {10, 10, 230, 34};
        ASSERT_NE(nullptr, combo_.Create(parent_, rc, kComboId));
        provider_ = new TitleProvider(kTitles);
        combo_.SetProvider(provider_, kTitles);
        provider_->Release();  // the combo holds it
        SetFocus(combo_.Edit().Handle());
        Pump();
        Clear();
    }
    void TearDown() override {
        if (combo_.IsWindow()) DestroyWindow(combo_.Handle());
        if (parent_) DestroyWindow(parent_);
        combo_.List().SetClock(nullptr);
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    static void Clear() {
        g_codes.clear();
        g_commands.clear();
        g_senders.clear();
    }
    void Key(UINT key) { combo_.Edit().Send(WM_KEYDOWN, key, 1); }
    void Char(char c) { combo_.Edit().Send(WM_CHAR, static_cast<BYTE>(c), 1); }
    std::string Text() {
        char text[300] = {};
        combo_.GetText(text, sizeof text);
        return text;
    }

    HWND parent_ = nullptr;
    HWND button_ = nullptr;
    RyVirtualCombo combo_;
    TitleProvider* provider_ = nullptr;
};

TEST_F(VirtualComboTest, SetCurSelAtTheEdgesOfTheList) {
    ASSERT_EQ(7, combo_.SetCurSel(7));
    const struct { int index; int answer; int current; std::string text; } cases[] = {
        {-2, -1, 7, Title(7)},
        {kTitles, -1, 7, Title(7)},
        {kTitles - 1, kTitles - 1, kTitles - 1, Title(kTitles - 1)},
        {-1, -1, -1, ""},
        {0, 0, 0, Title(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(c.answer, combo_.SetCurSel(c.index));
        EXPECT_EQ(c.current, combo_.GetCurSel());
        EXPECT_EQ(c.text, Text());
        EXPECT_EQ(static_cast<int>(c.text.size()), combo_.GetTextLength());
    }
    // While the list is open the index becomes the row put back as the list closes.
    Key(VK_F4);
    ASSERT_TRUE(combo_.IsDroppedDown());
    Key(VK_DOWN);
    Clear();
    EXPECT_EQ(kTitles - 1, combo_.SetCurSel(kTitles - 1));
    EXPECT_FALSE(combo_.IsDroppedDown());
    EXPECT_EQ(kTitles - 1, combo_.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{CBN_EDITCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}), g_codes);
}

TEST_F(VirtualComboTest, TypedTextFindsItsRowAndTextPastTheLastSelectsTheLastRow) {
    for (char c : std::string("Tittel 04")) Char(c);
    EXPECT_TRUE(combo_.IsDroppedDown());  // typing opened it
    EXPECT_EQ(40000, combo_.GetCurSel());
    EXPECT_FALSE(combo_.IsExactMatch());
    ASSERT_GE(g_codes.size(), 2u);
    EXPECT_EQ(static_cast<UINT>(CBN_DROPDOWN), g_codes[0]);  // the first character opens the list...
    EXPECT_EQ(static_cast<UINT>(CBN_EDITCHANGE), g_codes[1]);  // ...and then reports the change
    for (char c : std::string("2123")) Char(c);
    EXPECT_EQ(42123, combo_.GetCurSel());
    EXPECT_TRUE(combo_.IsExactMatch());

    combo_.Edit().Send(EM_SETSEL, 0, -1);
    Char('Z');  // sorts after every title
    EXPECT_EQ(kTitles - 1, combo_.GetCurSel());
    EXPECT_FALSE(combo_.IsExactMatch());
    EXPECT_EQ(kTitles - combo_.List().TopIndex(), 15);  // the last row shows at the bottom
    EXPECT_EQ("Z", Text());  // the typed text stays while the list is open
}

TEST_F(VirtualComboTest, KeysAndTheOrderOfTheNotifications) {
    ASSERT_EQ(5, combo_.SetCurSel(5));
    Clear();
    Key(VK_F4);
    EXPECT_EQ((std::vector<UINT>{CBN_DROPDOWN}), g_codes);
    EXPECT_EQ(5, combo_.GetCurSel());
    for (int i = 0; i < 3; ++i) Key(VK_DOWN);
    EXPECT_EQ(8, combo_.GetCurSel());
    EXPECT_EQ(Title(8), Text());
    Key(VK_NEXT);
    EXPECT_EQ(8 + 14, combo_.GetCurSel());  // a page is the rows less one
    Clear();
    Char(VK_ESCAPE);  // puts back the row of the opening
    EXPECT_FALSE(combo_.IsDroppedDown());
    EXPECT_EQ(5, combo_.GetCurSel());
    EXPECT_EQ(Title(5), Text());
    EXPECT_EQ((std::vector<UINT>{CBN_EDITCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}), g_codes);

    Key(VK_UP);  // opens a closed list
    EXPECT_TRUE(combo_.IsDroppedDown());
    Key(VK_END);  // not forwarded by the edit: the edit's own key
    Key(VK_UP);
    Clear();
    Char(VK_RETURN);
    EXPECT_FALSE(combo_.IsDroppedDown());
    EXPECT_EQ(4, combo_.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{CBN_EDITCHANGE, CBN_SELENDOK, CBN_CLOSEUP}), g_codes);
    EXPECT_TRUE(g_commands.empty());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(VirtualComboTest, EnterAndEscapeOnAClosedListActAsInADialog) {
    Char(VK_RETURN);
    Char(VK_ESCAPE);
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(IDOK, BN_CLICKED), g_commands[0]);
    EXPECT_EQ(MAKEWPARAM(IDCANCEL, 1), g_commands[1]);
    EXPECT_EQ(reinterpret_cast<LPARAM>(parent_), g_senders[1]);  // no cancel button: the parent
    EXPECT_TRUE(g_codes.empty());
    // The edit-selection messages reach the edit.
    combo_.Send(CB_SETEDITSEL, 0, MAKELPARAM(0, 3));
    Char('a');
    DWORD start = 0, end = 0;
    combo_.Send(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(1u, start);
    EXPECT_EQ(1u, end);
}

TEST_F(VirtualComboTest, AnEmptyListNeitherOpensNorKeepsText) {
    ASSERT_EQ(3, combo_.SetCurSel(3));
    combo_.SetProvider(nullptr, 0);
    EXPECT_EQ("", Text());
    Clear();
    Key(VK_F4);
    Key(VK_DOWN);
    EXPECT_FALSE(combo_.IsDroppedDown());
    EXPECT_TRUE(g_codes.empty());
    EXPECT_EQ(-1, combo_.SetCurSel(0));
}

// The auto-scroll's clock: one millisecond per look, recording when the top row changes.
RyVirtualComboList* g_list = nullptr;
DWORD g_now = 0;
DWORD g_start = 0;
DWORD g_release = 0;
HWND g_listWindow = nullptr;
LPARAM g_releasePoint = 0;
std::vector<std::pair<DWORD, int>> g_tops;

DWORD WINAPI FakeClock() {
    const DWORD now = g_now++;
    if (!g_start) g_start = now;
    const int top = g_list->TopIndex();
    if (g_tops.empty() || g_tops.back().second != top) g_tops.emplace_back(now - g_start, top);
    // The release, and once more much later should the first one be lost.
    if (now - g_start == g_release || now - g_start == g_release + 5000) PostMessageA(g_listWindow, WM_LBUTTONUP, 0, g_releasePoint);
    return now;
}

TEST_F(VirtualComboTest, HoldingTheMouseBelowTheListScrollsAfterAQuarterSecondThenEvery41Ms) {
    Key(VK_F4);
    ASSERT_TRUE(combo_.IsDroppedDown());
    RyVirtualComboList& list = combo_.List();
    RECT client;
    GetClientRect(list.Handle(), &client);
    const int rowHeight = list.ItemHeight();
    ASSERT_EQ(15 * rowHeight, client.bottom);
    // The real pointer waits where the posted moves say it is: below the list.
    POINT below = {5, client.bottom + 30};
    POINT screen = below;
    ClientToScreen(list.Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    Sleep(50);
    Pump();  // the system's own move to there, before the loop starts

    g_list = &list;
    g_now = 1000;
    g_start = 0;
    g_release = 400;
    g_listWindow = list.Handle();
    g_releasePoint = MAKELPARAM(below.x, below.y);
    g_tops.clear();
    list.SetClock(&FakeClock);
    Clear();
    PostMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2 * rowHeight + 1));
    PostMessageA(list.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(below.x, below.y));
    Pump();

    // The move below scrolls one row at once (the system may add a move of its own to the
    // same point); then nothing until 251 ms, then a row at a time, each more than 40 ms
    // after the last.
    std::vector<std::pair<DWORD, int>> timed;
    int afterMoves = 0;
    for (const auto& t : g_tops) {
        if (t.first < 10) afterMoves = t.second;
        else timed.push_back(t);
    }
    EXPECT_GE(afterMoves, 1);
    ASSERT_GE(timed.size(), 4u);
    EXPECT_GE(timed[0].first, 251u);
    EXPECT_LE(timed[0].first, 253u);
    EXPECT_EQ(afterMoves + 1, timed[0].second);
    for (size_t i = 1; i < timed.size(); ++i) {
        EXPECT_EQ(timed[i - 1].second + 1, timed[i].second);
        EXPECT_EQ(41u, timed[i].first - timed[i - 1].first);
    }
    // Released outside the list: the row first pressed again, accepted.
    EXPECT_FALSE(combo_.IsDroppedDown());
    EXPECT_EQ(2, combo_.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{CBN_EDITCHANGE, CBN_SELENDOK, CBN_CLOSEUP}), g_codes);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(VirtualComboTest, APressOutsideTheListClicksOnlyAnEnabledButtonOfThisThread) {
    RECT buttonRect;
    GetWindowRect(button_, &buttonRect);
    const POINT centre = {(buttonRect.left + buttonRect.right) / 2, (buttonRect.top + buttonRect.bottom) / 2};
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        EnableWindow(button_, enabled);
        Key(VK_F4);
        ASSERT_TRUE(combo_.IsDroppedDown());
        ASSERT_EQ(combo_.List().Handle(), GetCapture());
        Clear();
        POINT point = centre;
        ScreenToClient(combo_.List().Handle(), &point);
        combo_.List().Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        EXPECT_FALSE(combo_.IsDroppedDown());
        EXPECT_EQ(nullptr, GetCapture());
        if (enabled) {
            ASSERT_EQ(1u, g_commands.size());
            EXPECT_EQ(MAKEWPARAM(kButtonId, BN_CLICKED), g_commands[0]);
            EXPECT_EQ(reinterpret_cast<LPARAM>(button_), g_senders[0]);
        } else {
            EXPECT_TRUE(g_commands.empty());
        }
        EXPECT_EQ((std::vector<UINT>{CBN_EDITCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}), g_codes);
    }
    // A press on the desktop (no button) only cancels.
    Key(VK_F4);
    Clear();
    combo_.List().Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5000, -5000));
    EXPECT_FALSE(combo_.IsDroppedDown());
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(VirtualComboTest, ATextDropOfFewerThanFortyCharactersIsTaken) {
    const std::string fits(39, 'x'), tooLong(40, 'y');
    EXPECT_FALSE(combo_.Edit().DragEnter(tooLong.c_str(), kDropCopy, 0, 0));
    EXPECT_FALSE(combo_.Edit().Drop(tooLong.c_str(), kDropCopy, 0, 0));
    EXPECT_NE(tooLong, Text());
    ASSERT_TRUE(combo_.Edit().DragEnter(fits.c_str(), kDropCopy, 0, 0));
    EXPECT_TRUE(combo_.Edit().DragOver(fits.c_str(), kDropCopy, 0, 0));
    Clear();
    EXPECT_TRUE(combo_.Edit().Drop(fits.c_str(), kDropCopy, 0, 0));
    EXPECT_EQ(fits, Text());
    EXPECT_EQ(kTitles - 1, combo_.GetCurSel());  // "xxx..." sorts after every title
    EXPECT_EQ((std::vector<UINT>{CBN_DROPDOWN, CBN_EDITCHANGE}), g_codes);
    Char(VK_ESCAPE);
}

TEST_F(VirtualComboTest, TheListGoesWithTheCombo) {
    const HWND list = combo_.List().Handle();
    ASSERT_TRUE(IsWindow(list));
    EXPECT_EQ(GetDesktopWindow(), GetAncestor(list, GA_PARENT));
    DestroyWindow(combo_.Handle());
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(VirtualComboTest, ScreenshotDroppedDown) {
    ASSERT_EQ(41990, combo_.SetCurSel(41990));
    Key(VK_F4);
    Key(VK_DOWN);
    ASSERT_TRUE(combo_.IsDroppedDown());
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(combo_.List().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    GdiFlush();

    // The current row is painted in the highlight colour.
    const Capture list = Capture::Of(combo_.List().Handle());
    const int row = combo_.GetCurSel() - combo_.List().TopIndex();
    ASSERT_GE(row, 0);
    const int y = row * combo_.List().ItemHeight() + combo_.List().ItemHeight() / 2;
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), list.At(list.width - 40, y));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), list.At(list.width - 40, (row == 0 ? 2 : 0) * combo_.List().ItemHeight() + 2));

    // The frame window and the list below the combo, as the screen shows them.
    RECT frame, drop;
    GetWindowRect(parent_, &frame);
    GetWindowRect(combo_.List().Handle(), &drop);
    const Capture screen = Capture::Of(GetDesktopWindow());
    Capture shot;
    shot.width = frame.right - frame.left;
    shot.height = std::max(frame.bottom, drop.bottom) - frame.top;
    shot.pixels.resize(static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height));
    for (int yy = 0; yy < shot.height; ++yy)
        for (int xx = 0; xx < shot.width; ++xx)
            shot.pixels[static_cast<size_t>(yy * shot.width + xx)] =
                screen.pixels[static_cast<size_t>((frame.top + yy) * screen.width + frame.left + xx)];
    EXPECT_TRUE(shot.SaveArtifact("virtual-combo-dropped-down.bmp"));
    Char(VK_ESCAPE);
}

}  // namespace
