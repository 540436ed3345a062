// The screen's resolution, the menu font and the centring of dialogs.
#include "ScreenMetrics.h"
#include <algorithm>

int GetScreenLogPixelsY() {
    static int cached = 0;
    if (!cached) {
        HDC screen = GetDC(nullptr);
        cached = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        if (cached <= 0) cached = 96;
    }
    return cached;
}

LONG MenuFontHeight(LONG guiFontHeight) {
    // Integer arithmetic, cut toward zero: -11 gives -13 (MulDiv would round to -14).
    return guiFontHeight * 5 / 4;
}

FontHandle CreateMenuFont() {
    LOGFONTA font = {};
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font)) return FontHandle();
    font.lfHeight = MenuFontHeight(font.lfHeight);
    return FontHandle(CreateFontIndirectA(&font));
}

void CenterDialog(HWND dialog) {
    RECT box, area;
    if (!::GetWindowRect(dialog, &box)) return;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT around = area;
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &around);
    const LONG width = box.right - box.left, height = box.bottom - box.top;
    LONG x = around.left + (around.right - around.left - width) / 2;
    LONG y = around.top + (around.bottom - around.top - height) / 2;
    x = (std::max)(area.left, (std::min)(x, area.right - width));
    y = (std::max)(area.top, (std::min)(y, area.bottom - height));
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
