#include "ImageListIcons.h"

int AddIconImage(HIMAGELIST list, HICON icon) {
    if (!list || !icon) return -1;
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info)) return -1;
    // A monochrome icon has no colour bitmap: the list draws it the slow way.
    const int index = info.hbmColor ? ImageList_Add(list, info.hbmColor, info.hbmMask) : ImageList_AddIcon(list, icon);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return index;
}
