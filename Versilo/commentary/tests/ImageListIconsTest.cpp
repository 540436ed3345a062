// Icons added to an image list from their bitmaps (AddIconImage) draw exactly as the ones
// ImageList_AddIcon adds: the commentary pane's eighteen button icons of the program's
// resources, and a monochrome icon, drawn over two backgrounds.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <cstring>
#include <vector>
#include "Handles.h"
#include "ImageListIcons.h"

namespace {

constexpr UINT kFirstButtonIcon = 4030;
constexpr int kButtonIcons = 18;

// The pixels of image index of list drawn at 16 x 16 over background.
std::vector<DWORD> Drawn(HIMAGELIST list, int index, COLORREF background) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all = {0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + 256);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return pixels;
}

// Adds icon both ways and expects the same pixels over white and over a dark colour.
void ExpectSameImage(HICON icon, const char* what) {
    HIMAGELIST drawn = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    HIMAGELIST added = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    ASSERT_EQ(0, ImageList_AddIcon(drawn, icon)) << what;
    ASSERT_EQ(0, AddIconImage(added, icon)) << what;
    for (COLORREF background : {RGB(255, 255, 255), RGB(40, 60, 90)})
        EXPECT_EQ(Drawn(drawn, 0, background), Drawn(added, 0, background)) << what;
    ImageList_Destroy(drawn);
    ImageList_Destroy(added);
}

TEST(ImageListIconsTest, PaneButtonIconsDrawAsImageListAddIconDrawsThem) {
    for (int k = 0; k < kButtonIcons; ++k) {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFirstButtonIcon + k), IMAGE_ICON, 16, 16, 0));
        ASSERT_NE(nullptr, icon) << "icon " << kFirstButtonIcon + k;
        char what[32];
        wsprintfA(what, "icon %u", kFirstButtonIcon + k);
        ExpectSameImage(icon, what);
        DestroyIcon(icon);
    }
}

TEST(ImageListIconsTest, MonochromeIconAndBadArguments) {
    BYTE andMask[32], xorMask[32];
    for (int row = 0; row < 16; ++row) {
        andMask[2 * row] = andMask[2 * row + 1] = row < 8 ? 0x00 : 0xFF;  // lower half transparent
        xorMask[2 * row] = 0xF0;
        xorMask[2 * row + 1] = 0x0F;
    }
    HICON icon = CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 1, andMask, xorMask);
    ASSERT_NE(nullptr, icon);
    ExpectSameImage(icon, "monochrome icon");
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    EXPECT_EQ(-1, AddIconImage(list, nullptr));
    EXPECT_EQ(-1, AddIconImage(nullptr, icon));
    EXPECT_EQ(0, ImageList_GetImageCount(list));
    ImageList_Destroy(list);
    DestroyIcon(icon);
}

}  // namespace
