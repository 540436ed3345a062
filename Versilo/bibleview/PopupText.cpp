#include "PopupText.h"
#include <string>
#include "Handles.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"

namespace {

constexpr UINT_PTR kRevealTimer = 100;
constexpr UINT kRevealDelay = 150;

class VoPopupTextWnd : public RyWindowImpl<VoPopupTextWnd, RyWindowTraits<WS_POPUP | WS_BORDER>> {
public:
    VoPopupTextWnd(HFONT baseFont, const char* heading, const char* body)
        : baseFont_(baseFont), heading_(heading ? heading : ""), body_(body ? body : "") {
        LOGFONTA lf = {};
        if (!baseFont_ || !GetObjectA(baseFont_, sizeof lf, &lf))
            GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfWeight = 600;
        headingFont_.Reset(CreateFontIndirectA(&lf));
        if (heading_.size() > 255) heading_.resize(255);
    }
    static void GetWindowClass(ry::WindowClass& wc) {
        wc.lpszClassName = "VoPopupTextWnd";
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.style = CS_SAVEBITS;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        switch (message) {
        case WM_CREATE:
            if (!SetTimer(hwnd, kRevealTimer, kRevealDelay, nullptr)) Reveal();
            result = 0;
            return true;
        case WM_TIMER:
            if (wParam != kRevealTimer) return false;
            KillTimer(hwnd, kRevealTimer);
            Reveal();
            result = 0;
            return true;
        case WM_PAINT: {
            PaintDc dc(hwnd);
            if (dc.Get()) Paint(dc.Get());
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            result = 0;
            return true;
        default:
            return false;
        }
    }
    void OnFinalMessage(HWND) override { delete this; }

    // The height of the popup's text at width (which grows to the widest line).
    int Measure(HDC dc, int* width) const {
        SelectedObject heading(dc, HeadingFont());
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        const int band = tm.tmHeight * 5 / 4;
        RECT rc = {0, 0, *width - 10, 0};
        DrawTextA(dc, heading_.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        if (*width < rc.right + 10) *width = rc.right + 10;
        SelectedObject base(dc, BaseFont());
        RECT body = {0, 0, *width - 10, 10000};
        DrawTextA(dc, body_.c_str(), -1, &body, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        if (*width < body.right) *width = body.right;
        return band + (body.bottom - body.top) + 10;
    }

private:
    HFONT HeadingFont() const { return headingFont_ ? headingFont_.Get() : BaseFont(); }
    HFONT BaseFont() const { return baseFont_ ? baseFont_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

    void Reveal() {
        if (!AnimateWindow(Handle(), 300, AW_BLEND)) ShowWindow(Handle(), SW_SHOWNA);
    }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(Handle(), &client);
        const COLORREF c = GetSysColor(COLOR_INFOBK);
        auto tint = [](int channel) { return channel * 2 - 255 < 128 ? 128 : channel * 2 - 255; };
        BrushHandle back(CreateSolidBrush(c));
        BrushHandle band(CreateSolidBrush(RGB(tint(GetRValue(c)), tint(GetGValue(c)), tint(GetBValue(c)))));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SelectedObject heading(dc, HeadingFont());
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        RECT top = {client.left, client.top, client.right, client.top + tm.tmHeight * 5 / 4};
        FillRect(dc, &top, band.Get());
        RECT headingRect = {top.left + 5, top.top, top.right - 5, top.bottom};
        DrawTextA(dc, heading_.c_str(), -1, &headingRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        RECT rest = {client.left, top.bottom, client.right, client.bottom};
        FillRect(dc, &rest, back.Get());
        SelectedObject base(dc, BaseFont());
        RECT body = {client.left + 5, top.bottom + 5, client.right - 5, client.bottom};
        DrawTextA(dc, body_.c_str(), -1, &body, DT_WORDBREAK | DT_NOPREFIX);
    }

    HFONT baseFont_;
    FontHandle headingFont_;
    std::string heading_;
    std::string body_;
};

}  // namespace

HWND ShowPopupText(HWND owner, const RECT* anchor, POINT point, const char* heading, const char* body) {
    if (!owner || !anchor) return nullptr;
    auto* popup = new VoPopupTextWnd(reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0)), heading, body);
    int width = 100, height = 0;
    {
        MemoryDc dc(CreateCompatibleDC(nullptr));
        height = popup->Measure(dc.Get(), &width);
        while (height > width * 3 / 4) {
            width += 20;
            height = popup->Measure(dc.Get(), &width);
        }
    }
    width += 2;
    height += 2;
    RECT a = *anchor;
    MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&a), 2);
    ClientToScreen(owner, &point);
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    int top;
    if (a.bottom + height <= desk.bottom) {
        top = a.bottom;
    } else if (a.top - height >= desk.top) {
        top = a.top - height;
    } else if (desk.bottom - a.bottom > a.top - desk.top) {
        top = a.bottom;
        height = desk.bottom - a.bottom;
    } else {
        height = a.top - desk.top;
        top = desk.top;
    }
    int left = point.x;
    if (left + width > desk.right) left = desk.right - width < desk.left ? desk.left : desk.right - width;
    RyCreateParams p;
    p.parent = owner;
    p.x = left;
    p.y = top;
    p.cx = width;
    p.cy = height;
    const HWND hwnd = popup->Create(p);
    if (!hwnd) delete popup;
    return hwnd;
}
