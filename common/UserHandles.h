// Holders for the user-interface handles a window owns: icons, menus, accelerator tables
// and image lists. Icons and cursors that LoadIcon/LoadCursor share from a module need no
// holder; those made by LoadImage without LR_SHARED, CreateIconIndirect or ImageList_GetIcon do.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "Handles.h"

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct CursorTraits {
    static HCURSOR Invalid() { return nullptr; }
    static void Close(HCURSOR h) { ::DestroyCursor(h); }
};
// A menu that no window owns (a popup loaded for TrackPopupMenu, a menu bar not yet set);
// a window's own menu bar is destroyed with the window.
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
// A table made by CreateAcceleratorTable; LoadAccelerators' tables are freed with their module.
struct AcceleratorTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL h) { ::DestroyAcceleratorTable(h); }
};
struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};

using IconHandle = UniqueHandle<HICON, IconTraits>;
using CursorHandle = UniqueHandle<HCURSOR, CursorTraits>;
using MenuHandle = UniqueHandle<HMENU, MenuTraits>;
using AcceleratorTable = UniqueHandle<HACCEL, AcceleratorTraits>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageListTraits>;
