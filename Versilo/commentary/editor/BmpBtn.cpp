// VoBmpBtn: the superclassed button and its painting.
#include "BmpBtn.h"
#include "Handles.h"
#include "RyMessageMap.h"

namespace {
// The system button's own procedure, taken when the class is registered.
WNDPROC g_buttonProc = nullptr;
}

void VoBmpBtn::GetWindowClass(ry::WindowClass& wc) {
    ry::ClassInfo(nullptr, "BUTTON", &wc);
    g_buttonProc = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
    wc.style &= ~CS_GLOBALCLASS;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
}

LRESULT VoBmpBtn::DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_buttonProc ? ry::CallProc(g_buttonProc, hwnd, message, wParam, lParam)
                        : ry::DefProc(hwnd, message, wParam, lParam);
}

bool VoBmpBtn::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<VoBmpBtn> map[] = {
        {WM_PAINT, RyOnVoid<&VoBmpBtn::OnPaint>},
        {WM_SETFOCUS, &VoBmpBtn::RepaintAfter},
        {WM_KILLFOCUS, &VoBmpBtn::RepaintAfter},
        {BM_SETSTATE, &VoBmpBtn::RepaintAfter},
        {WM_ENABLE, &VoBmpBtn::RepaintAfter},
        {WM_UPDATEUISTATE, &VoBmpBtn::RepaintAfter},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoBmpBtn::RepaintAfter(VoBmpBtn& button, const RyMessage& m, LRESULT& result) {
    result = button.DefaultProc(m.hwnd, m.message, m.wParam, m.lParam);
    button.Invalidate(false);
    return true;
}

void VoBmpBtn::OnPaint() {
    PaintDc dc(hwnd_);
    if (!dc.Get()) return;
    // The button draws its usual face into the paint DC first.
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    RECT client = {};
    ::GetClientRect(hwnd_, &client);
    if (images_) {
        int width = 0, height = 0;
        ImageList_GetIconSize(images_, &width, &height);
        const int image = index_ + (::IsWindowEnabled(hwnd_) ? 0 : 1);
        ImageList_Draw(images_, image, dc.Get(), (client.right - width) / 2, (client.bottom - height) / 2,
                       ILD_TRANSPARENT);
    }
    if (::GetFocus() == hwnd_) {
        ::InflateRect(&client, -2, -2);
        ::DrawFocusRect(dc.Get(), &client);
    }
}
