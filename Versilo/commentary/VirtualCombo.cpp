// RyVirtualCombo: the edit field, the button, the drop-down list's opening and closing,
// the search for the typed text and the keys.
//
// SetCurSel: while the list is open, an index from -1 to count-1 becomes the row to put
// back and the list closes as cancelled; while it is closed, an index from -1 to count-1
// becomes current and the edit shows its text. Other indices change nothing.
#include "VirtualCombo.h"
#include <algorithm>
#include <cstring>

namespace {

const char kComboClass[] = "RyVirtualCombo";
constexpr int kFrame = 1;       // the frame around the control
constexpr int kEditInset = 3;   // the frame and 2 pixels of margin around the edit
constexpr int kMaxSearchText = 256;

// The visual-styles functions, present only when the system has them.
using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
constexpr int kThemeDropButton = 1;
constexpr int kThemeDisabled = 4;

}  // namespace

RyVirtualCombo::RyVirtualCombo() : themeLibrary_(LoadLibraryA("UxTheme.dll")), edit_(*this), list_(*this) {}

RyVirtualCombo::~RyVirtualCombo() {
    if (list_.IsWindow()) DestroyWindow(list_.Handle());
}

void RyVirtualCombo::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = kComboClass;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
}

bool RyVirtualCombo::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<RyVirtualCombo> map[] = {
        {WM_CREATE, RyOnCreate<&RyVirtualCombo::OnCreate>},
        {WM_DESTROY, RyOnVoid<&RyVirtualCombo::OnDestroy>},
        {WM_SIZE, RyOnSize<&RyVirtualCombo::OnSize>},
        {WM_PAINT, RyOnVoid<&RyVirtualCombo::OnPaint>},
        {WM_SETFOCUS, RyOnFocus<&RyVirtualCombo::OnSetFocus>},
        {WM_SETFONT, RyOnSetFont<&RyVirtualCombo::OnSetFont>},
        {WM_GETFONT, RyMsg<&RyVirtualCombo::OnGetFont>},
        {WM_LBUTTONDOWN, RyOnMouse<&RyVirtualCombo::OnLButtonDown>},
        {WM_LBUTTONDBLCLK, RyOnMouse<&RyVirtualCombo::OnLButtonDown>},
        {WM_MOUSEMOVE, RyOnMouse<&RyVirtualCombo::OnMouseMove>},
        {WM_MOUSELEAVE, RyMsg<&RyVirtualCombo::OnMouseLeave>},
        {WM_KEYDOWN, RyOnKey<&RyVirtualCombo::OnKeyDown>},
        {WM_CHAR, RyOnKey<&RyVirtualCombo::OnChar>},
        {CB_GETEDITSEL, RyMsg<&RyVirtualCombo::OnGetEditSel>},
        {CB_SETEDITSEL, RyMsg<&RyVirtualCombo::OnSetEditSel>},
        {CB_LIMITTEXT, RyMsg<&RyVirtualCombo::OnLimitText>},
        RyCommandCode<RyVirtualCombo>(RyComboEdit::kControlId, EN_CHANGE, RyOnCommand<&RyVirtualCombo::OnEditChange>),
        RyCommandCode<RyVirtualCombo>(RyComboEdit::kControlId, EN_KILLFOCUS,
                                      RyOnCommand<&RyVirtualCombo::OnEditKillFocus>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int RyVirtualCombo::OnCreate(const ry::CreateStruct&) {
    if (themeLibrary_) {
        auto open = GetProc<OpenThemeDataFn>(themeLibrary_.Get(), "OpenThemeData");
        if (open) theme_ = open(hwnd_, L"COMBOBOX");
    }
    HWND edit = ry::MakeWindow(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_WANTRETURN, 0, 0, 0, 0,
                               hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(RyComboEdit::kControlId)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!edit || !edit_.Attach(edit)) return -1;
    if (!list_.CreateList()) return -1;
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    edit_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    list_.SetFont(font);
    return 0;
}

// The list is a child of the desktop: it goes with the combo, not with the combo's parent.
void RyVirtualCombo::OnDestroy() {
    if (list_.IsWindow()) DestroyWindow(list_.Handle());
    if (theme_ && themeLibrary_) {
        auto close = GetProc<CloseThemeDataFn>(themeLibrary_.Get(), "CloseThemeData");
        if (close) close(theme_);
    }
    theme_ = nullptr;
}

RECT RyVirtualCombo::ButtonRect() const {
    RECT rc = {};
    if (IsWindow()) GetClientRect(hwnd_, &rc);
    InflateRect(&rc, -kFrame, -kFrame);
    rc.left = std::max(rc.left, rc.right - GetSystemMetrics(SM_CXVSCROLL));
    return rc;
}

void RyVirtualCombo::OnSize(UINT, int cx, int cy) {
    const int right = cx - GetSystemMetrics(SM_CXVSCROLL) - kEditInset;
    MoveWindow(edit_.Handle(), kEditInset, kEditInset, std::max(right - kEditInset, 0),
               std::max(cy - 2 * kEditInset, 0), TRUE);
}

void RyVirtualCombo::OnPaint() {
    PaintDc paint(hwnd_);
    if (!paint.Get()) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const RECT button = ButtonRect();
    const bool empty = list_.Count() == 0;
    auto draw = theme_ ? GetProc<DrawThemeBackgroundFn>(themeLibrary_.Get(), "DrawThemeBackground") : nullptr;
    if (draw) {
        draw(theme_, paint.Get(), 0, 1, &client, nullptr);
        draw(theme_, paint.Get(), kThemeDropButton, empty ? kThemeDisabled : buttonState_, &button, nullptr);
        return;
    }
    RECT rc = button;
    UINT state = DFCS_SCROLLDOWN;
    if (empty) state |= DFCS_INACTIVE;
    else if (buttonState_ == kButtonPressed) state |= DFCS_PUSHED | DFCS_FLAT;
    DrawFrameControl(paint.Get(), &rc, DFC_SCROLL, state);
}

void RyVirtualCombo::OnSetFont(HFONT font, bool redraw) {
    edit_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    list_.SetFont(font);
}

void RyVirtualCombo::SetButtonState(int state) {
    if (buttonState_ == state) return;
    buttonState_ = state;
    InvalidateRect(ButtonRect());
}

void RyVirtualCombo::OnMouseMove(UINT, POINT point) {
    if (buttonState_ == kButtonPressed) return;
    const RECT button = ButtonRect();
    if (PtInRect(&button, point)) {
        if (buttonState_ != kButtonHot) {
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
        }
        SetButtonState(kButtonHot);
    } else {
        SetButtonState(kButtonNormal);
    }
}

LRESULT RyVirtualCombo::OnMouseLeave(WPARAM, LPARAM) {
    if (buttonState_ == kButtonHot) SetButtonState(kButtonNormal);
    return 0;
}

void RyVirtualCombo::OnLButtonDown(UINT, POINT point) {
    if (GetFocus() != edit_.Handle()) ::SetFocus(edit_.Handle());
    const RECT button = ButtonRect();
    if (!PtInRect(&button, point)) return;
    if (IsDroppedDown()) {
        CloseList(true);
        return;
    }
    OpenList(false);
    if (IsDroppedDown()) TrackButton();
}

// The button held down after opening: the pressed look follows the pointer; moving into
// the list hands the mouse to the list, whose own loop then picks the row.
void RyVirtualCombo::TrackButton() {
    KeepAlive alive(*this);
    SetButtonState(kButtonPressed);
    SetCapture(hwnd_);
    const RECT button = ButtonRect();
    while (IsWindow() && IsDroppedDown() && GetCapture() == hwnd_) {
        MSG msg;
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hwnd_) {
            POINT point = RyPointFrom(msg.lParam);
            SetButtonState(PtInRect(&button, point) ? kButtonPressed : kButtonNormal);
            POINT screen = point;
            ClientToScreen(hwnd_, &screen);
            if (WindowFromPoint(screen) == list_.Handle()) {
                ScreenToClient(list_.Handle(), &screen);
                SetButtonState(kButtonNormal);
                // The list's press handling runs its drag loop and closes the list.
                list_.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(screen.x, screen.y));
                break;
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            SetCapture(list_.Handle());
            break;
        }
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_RBUTTONUP ||
            msg.message == WM_RBUTTONDBLCLK)
            continue;
        TranslateMessage(&msg);
        ry::DispatchMsg(&msg);
    }
    SetButtonState(kButtonNormal);
}

bool RyVirtualCombo::IsDroppedDown() const { return list_.IsWindow() && IsWindowVisible(list_.Handle()); }

void RyVirtualCombo::SetProvider(IVirtualListItemProvider* provider, int count) {
    list_.SetProvider(provider, count);
    if (count <= 0) SetEditText("", true);
    Invalidate();
}

void RyVirtualCombo::SetItemCount(int count) {
    const bool wasEmpty = list_.Count() == 0;
    list_.SetCount(count);
    if (wasEmpty != (list_.Count() == 0)) Invalidate();
}

int RyVirtualCombo::SetCurSel(int index) {
    if (index < -1 || index >= list_.Count()) return -1;
    if (IsDroppedDown()) {
        savedIndex_ = index;
        CloseList(false);
    } else {
        list_.SetCurrent(index);
        ShowCurrentText();
    }
    return list_.Current() == index ? index : -1;
}

int RyVirtualCombo::GetText(char* buffer, int size) const {
    if (!buffer || size <= 0) return 0;
    return GetWindowTextA(edit_.Handle(), buffer, size);
}

int RyVirtualCombo::GetTextLength() const { return GetWindowTextLengthA(edit_.Handle()); }

void RyVirtualCombo::Notify(UINT code) {
    HWND parent = GetParent(hwnd_);
    if (parent)
        ry::Send(parent, WM_COMMAND, MAKEWPARAM(ControlId(), code), reinterpret_cast<LPARAM>(hwnd_));
}

bool RyVirtualCombo::FindEditText(int* row) const {
    const int count = list_.Count();
    if (count <= 0 || !list_.Provider()) {
        *row = count > 0 ? 0 : -1;
        return false;
    }
    char text[kMaxSearchText] = {};
    GetText(text, sizeof text);
    int index = 0;
    BYTE exact = 0;
    if (FAILED(list_.Provider()->FindItem(text, &index, &exact))) {
        index = 0;
        exact = 0;
    }
    if (index >= count) {
        index = count - 1;
        exact = 0;
    }
    *row = std::max(index, 0);
    return exact != 0;
}

void RyVirtualCombo::SearchEditText() {
    int row = -1;
    exact_ = FindEditText(&row);
    list_.SetCurrent(row);
}

void RyVirtualCombo::OpenList(bool withCapture) {
    if (IsDroppedDown() || list_.Count() == 0) return;
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    SetWindowPos(list_.Handle(), HWND_TOPMOST, rc.left, rc.bottom, rc.right - rc.left, list_.WindowHeightFor(),
                 SWP_NOACTIVATE);
    list_.Relayout();
    ShowWindow(list_.Handle(), SW_SHOWNA);
    SearchEditText();
    savedIndex_ = list_.Current();
    Notify(CBN_DROPDOWN);
    if (withCapture && IsDroppedDown()) {
        SetCapture(list_.Handle());
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    }
}

void RyVirtualCombo::CloseList(bool accepted) {
    if (!IsDroppedDown()) return;
    KeepAlive alive(*this);
    ShowWindow(list_.Handle(), SW_HIDE);
    if (!accepted) list_.SetCurrent(savedIndex_);
    ShowCurrentText();
    Notify(accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
    Notify(CBN_CLOSEUP);
    if (GetCapture() == list_.Handle()) ReleaseCapture();
}

void RyVirtualCombo::ShowCurrentText() {
    char text[RyVirtualComboList::kTextBufferSize];
    list_.GetRowText(list_.Current(), text);
    SetEditText(text, true);
}

void RyVirtualCombo::SetEditText(const char* text, bool programmatic) {
    settingText_ = true;
    SetWindowTextA(edit_.Handle(), text ? text : "");
    settingText_ = false;
    EditTextChanged(programmatic);
}

// A change the user made in the edit (typing, pasting); the combo's own changes are
// reported by SetEditText.
void RyVirtualCombo::OnEditChange(UINT, UINT, HWND) {
    if (settingText_) return;
    EditTextChanged(false);
}

// An open list moves to the text's row, a closed one opens unless the combo set the text
// itself. The exact-match flag follows the text either way: the parent reads it on the
// notification, also for a row chosen with SetCurSel or put back by a cancel.
void RyVirtualCombo::EditTextChanged(bool programmatic) {
    if (IsDroppedDown()) SearchEditText();
    else if (!programmatic) OpenList(true);
    if (!IsDroppedDown()) {
        int row = -1;
        exact_ = FindEditText(&row);
    }
    Notify(CBN_EDITCHANGE);
}

void RyVirtualCombo::OnEditKillFocus(UINT, UINT, HWND) {
    if (IsDroppedDown()) CloseList(false);
}

void RyVirtualCombo::OnKeyDown(UINT key, UINT, UINT) {
    HWND parent = GetParent(hwnd_);
    if (key == VK_TAB) {
        if (parent) ry::Send(parent, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) < 0) ? 1 : 0, 0);
        return;
    }
    if (key == VK_F4) {
        if (IsDroppedDown()) CloseList(true);
        else OpenList(true);
        return;
    }
    if (!IsDroppedDown()) {
        if (key != VK_UP && key != VK_DOWN) return;
        OpenList(true);
        if (!IsDroppedDown()) return;  // an empty list does not open
    } else if (!list_.HandleKey(key)) {
        return;
    }
    ShowCurrentText();
}

void RyVirtualCombo::OnChar(UINT key, UINT, UINT) {
    HWND parent = GetParent(hwnd_);
    if (key == VK_RETURN) {
        if (IsDroppedDown()) {
            CloseList(true);
        } else if (parent) {
            const LRESULT def = ry::Send(parent, DM_GETDEFID, 0, 0);
            if (HIWORD(def) == DC_HASDEFID) {
                const UINT id = LOWORD(def);
                ry::Send(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(parent, static_cast<int>(id))));
            }
        }
        return;
    }
    if (key == VK_ESCAPE) {
        if (IsDroppedDown()) {
            CloseList(false);
        } else if (parent) {
            HWND cancel = GetDlgItem(parent, IDCANCEL);
            ry::Send(parent, WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), reinterpret_cast<LPARAM>(cancel ? cancel : parent));
        }
    }
}

LRESULT RyVirtualCombo::OnGetEditSel(WPARAM wParam, LPARAM lParam) { return edit_.Send(EM_GETSEL, wParam, lParam); }

LRESULT RyVirtualCombo::OnSetEditSel(WPARAM, LPARAM lParam) {
    return edit_.Send(EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))), HIWORD(lParam));
}

LRESULT RyVirtualCombo::OnLimitText(WPARAM wParam, LPARAM) { return edit_.Send(EM_LIMITTEXT, wParam, 0); }
