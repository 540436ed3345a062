// Icons added to an image list as their colour and mask bitmaps.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Adds icon to list from its colour and mask bitmaps in one ImageList_Add; the image is the
// one ImageList_AddIcon would make. ImageList_AddIcon draws the icon into the list, which
// under Wine costs some milliseconds an icon, and the commentary pane makes its buttons'
// images before the first paint. The index of the new image, or -1.
int AddIconImage(HIMAGELIST list, HICON icon);
