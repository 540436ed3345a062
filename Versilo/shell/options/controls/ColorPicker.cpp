// RyColorPicker: the sample field, the drop-down button and the grid they open.
#include "ColorPicker.h"
#include <algorithm>
#include "ColorGrid.h"
#include "RyMessageMap.h"

namespace {

constexpr int kButtonWidth = 16;
constexpr int kTextCapacityOfSample = 33;  // the static's text: at most 32 characters

// Fills a down-pointing triangle centred in rc, one row of pixels at a time: rows of
// 2 half + 1, 2 half - 1, ... 1 pixels.
void FillDownArrow(HDC dc, const RECT& rc, int half, int colorIndex) {
    const int centre = (rc.left + rc.right - 1) / 2;
    const int top = (rc.top + rc.bottom - (half + 1)) / 2;
    for (int row = 0; row <= half; ++row) {
        const RECT line = {centre - half + row, top + row, centre + half - row + 1, top + row + 1};
        ::FillRect(dc, &line, ::GetSysColorBrush(colorIndex));
    }
}

}  // namespace

bool RyColorPicker::BtnClass::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                   LRESULT& result) {
    using Self = BtnClass;
    static const RyMessageEntry<Self> map[] = {
        {WM_KEYDOWN, RyMsgMaybe<&Self::OnKeyDown>},
        {BM_SETCHECK, RyMsg<&Self::OnSetCheck>},
        {BM_GETCHECK, RyMsg<&Self::OnGetCheck>},
        {WM_LBUTTONDBLCLK, RyMsg<&Self::OnDoubleClick>},
        {kRyReflectBase + WM_DRAWITEM, RyOnDrawItem<&Self::OnDrawItem>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

LRESULT RyColorPicker::BtnClass::OnKeyDown(WPARAM key, LPARAM, bool& handled) {
    handled = key == VK_F4;
    if (handled) SendNotify(0);
    return 0;
}

// An owner-drawn button keeps no checked state of its own.
LRESULT RyColorPicker::BtnClass::OnSetCheck(WPARAM state, LPARAM) {
    const bool checked = state == BST_CHECKED;
    if (checked != checked_) {
        checked_ = checked;
        ::InvalidateRect(hwnd_, nullptr, FALSE);
    }
    return 0;
}

LRESULT RyColorPicker::BtnClass::OnGetCheck(WPARAM, LPARAM) {
    return checked_ ? BST_CHECKED : BST_UNCHECKED;
}

// An owner-drawn button turns a quick second click into BN_DOUBLECLICKED without a press;
// here it stays a press and a click, as on any push button.
LRESULT RyColorPicker::BtnClass::OnDoubleClick(WPARAM keys, LPARAM point) {
    return DefaultProc(hwnd_, WM_LBUTTONDOWN, keys, point);
}

// A push button's frame, pushed while pressed or checked, with a down arrow: black, or
// engraved grey when disabled. The focus rectangle runs just inside the frame, clear of
// the arrow on a button this narrow.
void RyColorPicker::BtnClass::OnDrawItem(UINT, const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool pushed = checked_ || (item.itemState & ODS_SELECTED);
    ::DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    RECT arrow = item.rcItem;
    if (pushed) ::OffsetRect(&arrow, 1, 1);
    const int half = (std::max)(2, static_cast<int>((arrow.right - arrow.left - 4) / 4));
    if (item.itemState & ODS_DISABLED) {
        RECT engraved = arrow;
        ::OffsetRect(&engraved, 1, 1);
        FillDownArrow(dc, engraved, half, COLOR_3DHILIGHT);
        FillDownArrow(dc, arrow, half, COLOR_GRAYTEXT);
    } else {
        FillDownArrow(dc, arrow, half, COLOR_BTNTEXT);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -2, -2);
        ::DrawFocusRect(dc, &focus);
    }
}

RyColorPicker::RyColorPicker(COLORREF* color) : color_(color), lastClose_(::GetTickCount() - 10000) {}

RyColorPicker::~RyColorPicker() {
    if (popup_ && ::IsWindow(popup_)) ::DestroyWindow(popup_);
    popup_ = nullptr;
}

bool RyColorPicker::SubclassWindow(HWND staticControl) {
    if (!Attach(staticControl)) return false;
    if (MakeChildren()) return true;
    Detach();
    return false;
}

bool RyColorPicker::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = RyColorPicker;
    static const RyMessageEntry<Self> map[] = {
        {WM_CREATE, RyOnCreate<&Self::OnCreate>},
        {WM_CTLCOLORSTATIC, RyOnCtlColor<&Self::OnCtlColorStatic>},
        RyCommandCode<Self>(kButtonId, BN_CLICKED, RyOnCommand<&Self::OnButtonClicked>),
        {WM_NOTIFY, RyOnNotify<&Self::OnNotify>},
        {WM_DRAWITEM, RyReflectToChild<Self>},
        {WM_ENABLE, RyMsgMaybe<&Self::OnEnable>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int RyColorPicker::OnCreate(const ry::CreateStruct& cs) {
    const LRESULT made = DefaultProc(hwnd_, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (made == -1) return -1;
    return MakeChildren() ? 0 : -1;
}

bool RyColorPicker::MakeChildren() {
    ry::SetLongPtr(hwnd_, GWL_EXSTYLE, ry::GetLongPtr(hwnd_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    HFONT dialogFont = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    if (!dialogFont) dialogFont = reinterpret_cast<HFONT>(ry::Send(::GetParent(hwnd_), WM_GETFONT, 0, 0));

    RECT client = {};
    ::GetClientRect(hwnd_, &client);
    const int split = client.right > kButtonWidth ? client.right - kButtonWidth : 0;
    char text[kTextCapacityOfSample] = {};
    ::GetWindowTextA(hwnd_, text, sizeof(text));
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(ry::GetLongPtr(hwnd_, GWLP_HINSTANCE));
    const HWND sample = ry::MakeWindow(0, "Static", text, WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_CENTER, 0, 0, split,
                                       client.bottom, hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kSampleId)),
                                       module, nullptr);
    const HWND button = ry::MakeWindow(0, "Button", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                       split, 0, client.right - split, client.bottom, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), module, nullptr);
    if (!sample || !button || !button_.Attach(button)) {
        if (sample) ::DestroyWindow(sample);
        if (button) ::DestroyWindow(button);
        return false;
    }
    ry::Send(sample, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    ::SetWindowTextA(hwnd_, "");
    return true;
}

HBRUSH RyColorPicker::OnCtlColorStatic(HDC dc, HWND control) {
    ::SetTextColor(dc, color_ ? *color_ : 0);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return control == Item(kSampleId) ? ::GetSysColorBrush(COLOR_WINDOW) : nullptr;
}

void RyColorPicker::OnButtonClicked(UINT, UINT, HWND) {
    // Unsigned difference: right across the wrap of the tick count.
    if (::GetTickCount() - lastClose_ < kReopenGuard) return;
    OpenGrid();
}

bool RyColorPicker::OpenGrid() {
    if (popup_ || !IsWindow()) return false;
    auto* grid = new RyColorGridPopupWnd(hwnd_, color_ ? *color_ : 0);
    const HWND made = grid->Create();
    if (!made) {
        delete grid;
        return false;
    }
    popup_ = made;  // from here the grid belongs to its window
    const SIZE size = grid->MeasureSize();
    RECT picker = {};
    ::GetWindowRect(hwnd_, &picker);
    ::MoveWindow(made, picker.left, picker.bottom, size.cx, size.cy, TRUE);
    ::ShowWindow(made, SW_SHOW);
    ::SetFocus(grid->ToolBar());
    // The grid may have closed already (the focus went elsewhere at once).
    if (popup_) button_.Send(BM_SETCHECK, BST_CHECKED);
    return true;
}

LRESULT RyColorPicker::OnNotify(NMHDR& hdr) {
    if (hdr.idFrom == kButtonId && hdr.code == 0 && hdr.hwndFrom == button_.Handle()) {
        OpenGrid();
    } else if (popup_ && hdr.hwndFrom == popup_ && hdr.code == kColorGridChosen) {
        if (color_) *color_ = reinterpret_cast<const NMCOLORGRID&>(hdr).color;
        if (const HWND sample = Item(kSampleId)) ::InvalidateRect(sample, nullptr, TRUE);
    } else if (popup_ && hdr.hwndFrom == popup_ && hdr.code == kColorGridClosing) {
        lastClose_ = ::GetTickCount();
        popup_ = nullptr;
        button_.Send(BM_SETCHECK, BST_UNCHECKED);
    }
    return 0;
}

// The static's own handling follows.
LRESULT RyColorPicker::OnEnable(WPARAM enabled, LPARAM, bool& handled) {
    for (const UINT id : {kSampleId, kButtonId})
        if (const HWND child = Item(id)) ::EnableWindow(child, enabled ? TRUE : FALSE);
    handled = false;
    return 0;
}

void RyColorPicker::OnDestroy() {
    if (popup_ && ::IsWindow(popup_)) ::DestroyWindow(popup_);
    popup_ = nullptr;
    button_.Detach();
}
