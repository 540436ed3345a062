// The colour grid popup and its toolbar.
#include "ColorGrid.h"
#include <commctrl.h>
#include "MessageText.h"
#include "RyMessageMap.h"

namespace {

const COLORREF kGridColors[kGridColorCount] = {
    0x000000, 0x003599, 0x003333, 0x003300, 0x663300, 0x800000, 0x993333, 0x333333,
    0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,
    0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x969696,
    0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0,
    0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF,
};

constexpr int kSquare = 12;       // pixels of one colour square
constexpr int kColumns = 8;
constexpr int kRows = 5;
constexpr int kButtonSize = 15;
constexpr UINT kChosenCloseDelay = 250;  // ms the chosen square stays visible
constexpr UINT kKeyCloseDelay = 10;

}  // namespace

COLORREF GridColor(int i) {
    return kGridColors[i];
}

int FindGridColor(COLORREF c) {
    for (int i = 0; i < kGridColorCount; ++i)
        if (kGridColors[i] == c) return i;
    return -1;
}

bool RyFocusedToolBar::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_KILLFOCUS) return false;
    result = DefaultProc(hwnd, message, wParam, lParam);
    SendNotify(kToolBarFocusLost);
    return true;
}

void RyColorGridPopupWnd::GetWindowClass(ry::WindowClass& wc) {
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "RyColorGridPopup";
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
}

HWND RyColorGridPopupWnd::Create() {
    RECT owner = {};
    ::GetWindowRect(owner_, &owner);
    RyCreateParams p;
    p.parent = owner_;
    p.x = owner.left;
    p.y = owner.bottom;
    p.cx = 70;
    p.cy = 50;
    return RyWindowImpl::Create(p);
}

bool RyColorGridPopupWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result) {
    using Self = RyColorGridPopupWnd;
    static const RyMessageEntry<Self> map[] = {
        {WM_CREATE, RyOnCreate<&Self::OnCreate>},
        {WM_SIZE, RyOnSize<&Self::OnSize>},
        {WM_NCPAINT, RyMsg<&Self::OnNcPaint>},
        {WM_NOTIFY, RyOnNotify<&Self::OnToolBarNotify>},
        RyCommandRange<Self>(kFirstGridCommand, kFirstGridCommand + kGridColorCount - 1,
                             RyOnCommand<&Self::OnChoose>),
        {WM_TIMER, RyOnTimer<&Self::OnTimer>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool RyColorGridPopupWnd::MakeSquares() {
    WindowDc windowDc(hwnd_);
    MemoryDc memory(::CreateCompatibleDC(windowDc.Get()));
    squares_.Reset(::CreateCompatibleBitmap(windowDc.Get(), kSquare * kGridColorCount, kSquare));
    if (!memory || !squares_) return false;
    SelectedObject selected(memory.Get(), squares_.Get());
    for (int i = 0; i < kGridColorCount; ++i) {
        BrushHandle brush(::CreateSolidBrush(kGridColors[i]));
        RECT square = {kSquare * i, 0, kSquare * (i + 1), kSquare};
        ::FillRect(memory.Get(), &square, brush.Get());
    }
    return true;
}

int RyColorGridPopupWnd::OnCreate(const ry::CreateStruct&) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    if (!MakeSquares()) return -1;
    const HWND bar = ry::MakeWindow(0, TOOLBARCLASSNAMEA, "",
                                    WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE, 0, -1, 152, 90,
                                    hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kToolBarId)),
                                    ::GetModuleHandleA(nullptr), nullptr);
    if (!bar || !toolBar_.Attach(bar)) return -1;
    toolBar_.Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    toolBar_.Send(TB_SETBITMAPSIZE, 0, MAKELONG(kSquare, kSquare));
    TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(squares_.Get())};
    toolBar_.Send(TB_ADDBITMAP, kGridColorCount, reinterpret_cast<LPARAM>(&bitmap));
    toolBar_.Send(TB_SETBUTTONSIZE, 0, MAKELONG(kButtonSize, kButtonSize));
    TBBUTTON buttons[kGridColorCount] = {};
    for (int i = 0; i < kGridColorCount; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = static_cast<int>(kFirstGridCommand) + i;
        buttons[i].fsState = TBSTATE_ENABLED | (kGridColors[i] == current_ ? TBSTATE_CHECKED : 0);
        buttons[i].fsStyle = BTNS_CHECKGROUP | BTNS_AUTOSIZE;
    }
    toolBar_.Send(TB_ADDBUTTONSA, kGridColorCount, reinterpret_cast<LPARAM>(buttons));
    return 0;
}

SIZE RyColorGridPopupWnd::MeasureSize() const {
    const DWORD buttonSize = static_cast<DWORD>(toolBar_.Send(TB_GETBUTTONSIZE));
    const int w = LOWORD(buttonSize), h = HIWORD(buttonSize);
    RECT bar = {}, first = {};
    ::GetWindowRect(toolBar_.Handle(), &bar);
    toolBar_.Send(TB_GETRECT, kFirstGridCommand, reinterpret_cast<LPARAM>(&first));
    // TB_GETRECT answers in the toolbar's client coordinates.
    ::MapWindowPoints(toolBar_.Handle(), nullptr, reinterpret_cast<POINT*>(&first), 2);
    const int dx = first.left - bar.left, dy = first.top - bar.top;
    return {kColumns * w + 2 * dx + 2, kRows * h + 2 * dy + 2};
}

void RyColorGridPopupWnd::OnSize(UINT, int cx, int cy) {
    if (toolBar_.IsWindow()) ::MoveWindow(toolBar_.Handle(), 0, -1, cx, cy, TRUE);
}

LRESULT RyColorGridPopupWnd::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefaultProc(hwnd_, WM_NCPAINT, wParam, lParam);
    RECT frame = {};
    ::GetWindowRect(hwnd_, &frame);
    // The screen's DC: the border is drawn where the window stands.
    const HDC screen = ::GetWindowDC(nullptr);
    if (!screen) return result;
    {
        PenHandle grey(::CreatePen(PS_SOLID, 1, 0xC0C0C0));
        SelectedObject pen(screen, grey.Get());
        SelectedObject brush(screen, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(screen, frame.left, frame.top, frame.right, frame.bottom);
        SelectedObject white(screen, ::GetStockObject(WHITE_PEN));
        ::MoveToEx(screen, frame.left, frame.top, nullptr);
        ::LineTo(screen, frame.right, frame.top);
    }
    ::ReleaseDC(nullptr, screen);
    return result;
}

LRESULT RyColorGridPopupWnd::OnToolBarNotify(NMHDR& hdr) {
    switch (hdr.code) {
    case kToolBarFocusLost:
        ::SetTimer(hwnd_, kCloseTimer, 0, nullptr);
        return 0;
    case NM_KEYDOWN: {
        const auto& key = reinterpret_cast<const NMKEY&>(hdr);
        if (key.nVKey == VK_ESCAPE || key.nVKey == VK_F4) {
            ::SetTimer(hwnd_, kCloseTimer, kKeyCloseDelay, nullptr);
        } else if (key.nVKey == VK_DOWN || key.nVKey == VK_UP) {
            // A row is 8 squares: 7 here, and 1 more by the toolbar's own step to the next
            // (or previous) button, which still follows since the answer is 0.
            const int hot = static_cast<int>(toolBar_.Send(TB_GETHOTITEM));
            const int moved = key.nVKey == VK_DOWN ? (hot + 7) % kGridColorCount : (hot + 33) % kGridColorCount;
            toolBar_.Send(TB_SETHOTITEM, static_cast<WPARAM>(moved));
        }
        return 0;
    }
    case TTN_GETDISPINFOA: {
        auto& info = reinterpret_cast<NMTTDISPINFOA&>(hdr);
        if (hdr.idFrom >= kFirstGridCommand && hdr.idFrom < kFirstGridCommand + kGridColorCount) {
            const UINT name = kFirstGridColorName + static_cast<UINT>(hdr.idFrom - kFirstGridCommand);
            info.szText[0] = '\0';  // empty unless the name loads
            ::LoadStringA(GetResourceModule(), name, info.szText, sizeof(info.szText));
            info.lpszText = info.szText;
            info.hinst = nullptr;
        }
        return 0;
    }
    default:
        return 0;
    }
}

void RyColorGridPopupWnd::OnChoose(UINT id, UINT, HWND) {
    toolBar_.Invalidate(true);
    if (!toolBar_.Send(TB_ISBUTTONCHECKED, id)) toolBar_.Send(TB_CHECKBUTTON, id, TRUE);
    current_ = kGridColors[id - kFirstGridCommand];
    ::SetTimer(hwnd_, kCloseTimer, kChosenCloseDelay, nullptr);
    NMCOLORGRID chosen = {{hwnd_, ControlId(), kColorGridChosen}, current_};
    if (::IsWindow(owner_)) ry::Send(owner_, WM_NOTIFY, chosen.hdr.idFrom, reinterpret_cast<LPARAM>(&chosen));
}

void RyColorGridPopupWnd::OnTimer(UINT_PTR) {
    ::KillTimer(hwnd_, kCloseTimer);
    ::DestroyWindow(hwnd_);
}

void RyColorGridPopupWnd::OnDestroy() {
    if (toolBar_.IsWindow()) ::DestroyWindow(toolBar_.Handle());
    NMHDR closing = {hwnd_, ControlId(), kColorGridClosing};
    if (::IsWindow(owner_)) ry::Send(owner_, WM_NOTIFY, closing.idFrom, reinterpret_cast<LPARAM>(&closing));
}
