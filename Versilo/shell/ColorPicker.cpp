// RyColorPicker: the sample field, the drop-down button and the grid they open.
#include "ColorPicker.h"
#include "ColorGrid.h"
#include "RyMessageMap.h"

namespace {

constexpr int kButtonWidth = 16;
constexpr int kTextCapacityOfSample = 33;  // the static's text: at most 32 characters

}  // namespace

bool RyColorPicker::BtnClass::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_KEYDOWN || wParam != VK_F4) return false;
    SendNotify(0);
    result = 0;
    return true;
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
    LOGFONTA glyph = {};
    if (!dialogFont || !::GetObjectA(dialogFont, sizeof(glyph), &glyph))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(glyph), &glyph);
    glyph.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(glyph.lfFaceName, "VisualUI", LF_FACESIZE);
    glyphFont_.Reset(::CreateFontIndirectA(&glyph));

    RECT client = {};
    ::GetClientRect(hwnd_, &client);
    const int split = client.right > kButtonWidth ? client.right - kButtonWidth : 0;
    char text[kTextCapacityOfSample] = {};
    ::GetWindowTextA(hwnd_, text, sizeof(text));
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(ry::GetLongPtr(hwnd_, GWLP_HINSTANCE));
    const HWND sample = ry::MakeWindow(0, "Static", text, WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_CENTER, 0, 0, split,
                                       client.bottom, hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kSampleId)),
                                       module, nullptr);
    const HWND button = ry::MakeWindow(0, "Button", "H", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE | BS_CHECKBOX,
                                       split, 0, client.right - split, client.bottom, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), module, nullptr);
    if (!sample || !button || !button_.Attach(button)) {
        if (sample) ::DestroyWindow(sample);
        if (button) ::DestroyWindow(button);
        return false;
    }
    ry::Send(sample, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    ry::Send(button, WM_SETFONT, reinterpret_cast<WPARAM>(glyphFont_.Get()), FALSE);
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

void RyColorPicker::OnDestroy() {
    if (popup_ && ::IsWindow(popup_)) ::DestroyWindow(popup_);
    popup_ = nullptr;
    button_.Detach();
}
