// The screen's resolution and the menu font.
#include "ScreenMetrics.h"

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

FontHandle CreateMenuFont() {
    LOGFONTA font = {};
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font)) return FontHandle();
    font.lfHeight = MulDiv(font.lfHeight, 5, 4);
    return FontHandle(CreateFontIndirectA(&font));
}
