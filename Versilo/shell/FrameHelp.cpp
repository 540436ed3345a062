// VoMainWnd's help texts: the status help of the highlighted menu item while a menu is open
// (polled by a 50 ms timer, as the menu tells nothing about popups it only hovers) and the
// toolbar's tool tips. Most texts are the string of the command's id; some depend on where
// the active pane is.
#include "MainFrame.h"
#include "BibleObjects.h"
#include "FrameIds.h"
#include "MessageText.h"
#include "VoUtil.h"

using namespace frame_id;

namespace {

// The highlighted item of a menu: its position, or -1.
int HighlightedItem(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// The first command of a popup that is not a popup itself, or 0.
UINT FirstCommandOf(HMENU popup) {
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (::GetSubMenu(popup, i)) continue;
        const UINT id = ::GetMenuItemID(popup, i);
        if (id != 0 && id != 0xFFFFFFFFu) return id;
    }
    return 0;
}

// The data and state of a menu item by command.
bool MenuItemData(HMENU menu, UINT id, ULONG_PTR* data, UINT* state) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA | MIIM_STATE;
    if (!::GetMenuItemInfoA(menu, id, FALSE, &item)) return false;
    *data = item.dwItemData;
    *state = item.fState;
    return true;
}

}  // namespace

void VoMainWnd::GetCommandHelp(UINT id, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    buffer[0] = '\0';
    if (GetDynamicHelp(id, buffer, size)) return;
    char text[kTextCapacity];
    lstrcpynA(buffer, LoadResString(text, GetStaticHelpId(id)), size);
}

bool VoMainWnd::GetDynamicHelp(UINT id, char* buffer, int size) {
    char text[kTextCapacity];
    if ((id == kBack || id == kForward) && host_->CanNavigate(id == kBack)) {
        char step[kTextCapacity] = "";
        host_->GetNavigationText(id == kBack, step, sizeof step);
        FormatResString(text, id == kBack ? kIdsBackTo : kIdsForwardTo, step);
    } else if (id >= kFirstLibrary && id <= kLastLibrary) {
        const int i = static_cast<int>(id - kFirstLibrary);
        if (i >= refLibs_.GetCount()) return false;
        FormatResString(text, kIdsLibraryHelp, refLibs_.GetAt(i).title);
    } else if (id >= kFirstReference && id <= kLastReference) {
        ULONG_PTR data = 0;
        UINT state = 0;
        const bool found = IsWindow() && MenuItemData(::GetMenu(hwnd_), id, &data, &state);
        if (found && id == kFirstReference && (state & MFS_GRAYED)) return false;  // the placeholder
        char reference[kFormatRefBufferSize] = "";
        VoBibleObjects* objects = host_->GetBibleObjects();
        if (!found || !objects || !objects->GetLangStat() ||
            FAILED(objects->GetLangStat()->FormatRef(reference, static_cast<int>(data), 0, 0, 0, FALSE))) {
            text[0] = '\0';
        } else {
            FormatResString(text, kIdsGoToReference, reference);
        }
    } else if (id >= kFirstTranslation && id <= kLastTranslation) {
        const int i = static_cast<int>(id - kFirstTranslation);
        if (i >= bibles_.GetCount()) return false;
        ComPtr<IBible> target = ComPtr<IBible>::Attach(bibles_.GetAt(i).GetBible());
        ComPtr<IBibleStat> targetStat;
        if (target) target->GetBibleStat(targetStat.Put());
        VoBibleObjects* objects = host_->GetBibleObjects();
        bool converts = false;
        if (objects && objects->GetStat() && targetStat) {
            int book = host_->GetBook(), chapter = host_->GetChapter(), verse = host_->GetVerse();
            converts = SUCCEEDED(CanConvert(objects->GetStat(), targetStat.Get())) &&
                       SUCCEEDED(ConvertBibleIndices(objects->GetStat(), targetStat.Get(), &book, &chapter, &verse));
        }
        FormatResString(text, converts ? kIdsShowInTranslation : kIdsSwitchTranslation, bibles_.GetAt(i).GetName());
    } else {
        return false;
    }
    lstrcpynA(buffer, text, size);
    return true;
}

UINT VoMainWnd::GetStaticHelpId(UINT id) {
    switch (id) {
    case kCloseLevel:
        if (host_->GetChapter() >= 0) return kIdsCloseChapter;
        return host_->GetBook() >= 0 ? kIdsCloseBook : kIdsNoBook;
    case kBack:
        return kIdsBackNone;
    case kForward:
        return kIdsForwardNone;
    case kFirstReference: {
        ULONG_PTR reason = 0;
        UINT state = 0;
        if (IsWindow() && MenuItemData(::GetMenu(hwnd_), id, &reason, &state) && (state & MFS_GRAYED) && reason >= 1 &&
            reason <= 3)
            return kIdsNoLibraryHelp + static_cast<UINT>(reason) - 1;
        return id;
    }
    default:
        return id;
    }
}

UINT VoMainWnd::MenuHelpId() {
    HMENU menu = ::GetMenu(hwnd_);
    UINT id = 0;
    while (menu) {
        const int item = HighlightedItem(menu);
        if (item < 0) break;
        const HMENU popup = ::GetSubMenu(menu, item);
        if (!popup) return ::GetMenuItemID(menu, item);
        // A popup that is only hovered: the help of its group.
        id = FirstCommandOf(popup) / 100 * 100;
        menu = popup;
    }
    return id;
}

LRESULT VoMainWnd::OnEnterMenuLoop(WPARAM isTrackPopup, LPARAM) {
    if (!isTrackPopup && ::SetTimer(hwnd_, kMenuHelpTimer, kMenuHelpInterval, nullptr)) inMenuLoop_ = true;
    return 0;
}

LRESULT VoMainWnd::OnExitMenuLoop(WPARAM, LPARAM) {
    if (!inMenuLoop_) return 0;
    ::KillTimer(hwnd_, kMenuHelpTimer);
    inMenuLoop_ = false;
    SetStatusText("");
    return 0;
}

void VoMainWnd::OnTimer(UINT_PTR id) {
    if (id != kMenuHelpTimer || !status_) return;
    char text[kTextCapacity] = "";
    const UINT command = MenuHelpId();
    if (command) GetCommandHelp(command, text, sizeof text);
    char shown[kTextCapacity] = "";
    const LRESULT length = ry::Send(status_, SB_GETTEXTLENGTHA, 0, 0);
    if (LOWORD(length) < sizeof shown) ry::Send(status_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(shown));
    if (lstrcmpA(shown, text) != 0) SetStatusText(text);
}

LRESULT VoMainWnd::OnToolTip(NMHDR& header) {
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    const UINT id = static_cast<UINT>(header.idFrom);
    if (GetDynamicHelp(id, info.szText, sizeof info.szText)) {
        info.lpszText = info.szText;
        return 0;
    }
    info.hinst = GetResourceModule();
    info.lpszText = MAKEINTRESOURCEA(GetStaticHelpId(id));
    return 0;
}
