// VoPopupTextWnd and ShowPopupText.
#include "PopupText.h"
#include <cstring>
#include <new>
#include "RyMessageMap.h"

namespace {

// The heading band's colour: the info background, twice as far from white, not darker
// than 128 in any channel.
BYTE Tint(BYTE channel) {
    const int value = 255 - 2 * (255 - channel);
    return static_cast<BYTE>(value < 128 ? 128 : value);
}

constexpr UINT kBodyFormat = DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

VoPopupTextWnd::VoPopupTextWnd(HFONT baseFont, const char* heading, const char* body)
    : baseFont_(baseFont ? baseFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
    // An owner without a font of its own gets the default GUI font, in both texts.
    LOGFONTA lf = {};
    if (GetObjectA(baseFont_, sizeof lf, &lf) == sizeof lf) {
        lf.lfWeight = 600;
        headingFont_.Reset(CreateFontIndirectA(&lf));
    }
    if (heading) lstrcpynA(heading_, heading, sizeof heading_);
    const size_t length = body ? std::strlen(body) : 0;
    body_.reset(new (std::nothrow) char[length + 1]);
    if (body_) {
        if (length) std::memcpy(body_.get(), body, length);
        body_[length] = '\0';
    }
}

void VoPopupTextWnd::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = "VersiloPopupText";
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.style = CS_SAVEBITS;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
}

bool VoPopupTextWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoPopupTextWnd;
    static const RyMessageEntry<Self> map[] = {
        {WM_CREATE, RyMsg<&Self::OnCreate>},
        {WM_TIMER, RyOnTimer<&Self::OnTimer>},
        {WM_PAINT, RyOnVoid<&Self::OnPaint>},
        {WM_PRINTCLIENT, RyMsg<&Self::OnPrintClient>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

LRESULT VoPopupTextWnd::OnCreate(WPARAM, LPARAM) {
    if (!SetTimer(Handle(), kRevealTimer, kRevealDelay, nullptr)) Reveal();
    return 0;
}

void VoPopupTextWnd::OnTimer(UINT_PTR id) {
    if (id != kRevealTimer) return;
    KillTimer(Handle(), kRevealTimer);
    Reveal();
}

void VoPopupTextWnd::Reveal() {
    if (!AnimateWindow(Handle(), 300, AW_BLEND)) ShowWindow(Handle(), SW_SHOWNA);
}

void VoPopupTextWnd::OnPaint() {
    PaintDc dc(Handle());
    if (dc.Get()) Paint(dc.Get());
}

LRESULT VoPopupTextWnd::OnPrintClient(WPARAM wParam, LPARAM) {
    if (wParam) Paint(reinterpret_cast<HDC>(wParam));
    return 0;
}

int VoPopupTextWnd::BandHeight(HDC dc) {
    SelectedObject font(dc, HeadingFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight * 5 / 4;
}

int VoPopupTextWnd::Measure(HDC dc, int* width) {
    const int band = BandHeight(dc);
    {
        SelectedObject font(dc, HeadingFont());
        RECT rc = {0, 0, *width - 2 * kTextMargin, 0};
        DrawTextA(dc, heading_, -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        if (*width < rc.right + 2 * kTextMargin) *width = rc.right + 2 * kTextMargin;
    }
    SelectedObject font(dc, baseFont_);
    RECT rc = {0, 0, *width - 2 * kTextMargin, 10000};
    const int bodyHeight = body_ ? DrawTextA(dc, body_.get(), -1, &rc, DT_CALCRECT | kBodyFormat) : 0;
    if (*width < rc.right) *width = rc.right;
    return band + bodyHeight + 2 * kTextMargin;
}

SIZE VoPopupTextWnd::GetSize(HDC dc) {
    int width = 100;
    int height = Measure(dc, &width);
    while (height > width * 3 / 4) {
        width += 20;
        height = Measure(dc, &width);
    }
    return {width + 2, height + 2};
}

void VoPopupTextWnd::Paint(HDC dc) {
    const COLORREF back = GetSysColor(COLOR_INFOBK);
    const COLORREF tint = RGB(Tint(GetRValue(back)), Tint(GetGValue(back)), Tint(GetBValue(back)));
    BrushHandle backBrush(CreateSolidBrush(back));
    BrushHandle tintBrush(CreateSolidBrush(tint));
    RECT client;
    GetClientRect(Handle(), &client);
    SavedDcState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));

    RECT band = client;
    band.bottom = band.top + BandHeight(dc);
    FillRect(dc, &band, tintBrush.Get());
    RECT text = band;
    InflateRect(&text, -kTextMargin, 0);
    SelectObject(dc, HeadingFont());
    DrawTextA(dc, heading_, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

    RECT body = client;
    body.top = band.bottom;
    FillRect(dc, &body, backBrush.Get());
    body.top += kTextMargin;
    InflateRect(&body, -kTextMargin, 0);
    SelectObject(dc, baseFont_);
    if (body_) DrawTextA(dc, body_.get(), -1, &body, kBodyFormat);
}

RECT PlacePopup(const RECT& desktop, const RECT& anchor, POINT point, SIZE size) {
    RECT r;
    int height = size.cy;
    const int below = desktop.bottom - anchor.bottom;
    const int above = anchor.top - desktop.top;
    if (height <= below) {
        r.top = anchor.bottom;
    } else if (height <= above) {
        r.top = anchor.top - height;
    } else if (above >= below) {
        height = above;
        r.top = anchor.top - height;
    } else {
        height = below;
        r.top = anchor.bottom;
    }
    r.bottom = r.top + height;
    r.left = point.x;
    if (r.left + size.cx > desktop.right) {
        r.left = desktop.right - size.cx;
        if (r.left < desktop.left) r.left = desktop.left;
    }
    r.right = r.left + size.cx;
    return r;
}

HWND ShowPopupText(HWND owner, const RECT* anchor, POINT point, const char* heading, const char* body) {
    if (!owner || !anchor) return nullptr;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0));
    std::unique_ptr<VoPopupTextWnd> popup(new (std::nothrow) VoPopupTextWnd(font, heading, body));
    if (!popup) return nullptr;
    SIZE size;
    {
        MemoryDc dc(CreateCompatibleDC(nullptr));
        if (!dc) return nullptr;
        size = popup->GetSize(dc.Get());
    }
    RECT screenAnchor = *anchor;
    MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&screenAnchor), 2);
    ClientToScreen(owner, &point);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const RECT r = PlacePopup(desktop, screenAnchor, point, size);
    RyCreateParams p;
    p.parent = owner;
    p.x = r.left;
    p.y = r.top;
    p.cx = r.right - r.left;
    p.cy = r.bottom - r.top;
    HWND hwnd = popup->Create(p);
    if (!hwnd) return nullptr;  // the object is still ours: it goes with the holder
    popup.release();            // now the window's
    return hwnd;
}
