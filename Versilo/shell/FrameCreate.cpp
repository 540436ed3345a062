// VoMainWnd's WM_CREATE: the menu's check-mark images, the toolbar with its selectors and
// search-hit box, the numbered menus, the status bar, the start position and the host.
#include "MainFrame.h"
#include <utility>
#include "DataDirectories.h"
#include "FrameIds.h"
#include "FrameStart.h"
#include "MessageText.h"
#include "Registry.h"

using namespace frame_id;

namespace {

constexpr DWORD kToolbarStyle = 0x50804900;   // child, visible, border, tool tips, flat, drop target
constexpr DWORD kComboStyle = 0x50210003;     // child, visible, vertical scroll bar, tab stop, drop-down list
constexpr DWORD kSpinStyle = 0x50000004;      // child, visible, aligned right of its buddy
constexpr DWORD kEtchedLineStyle = 0x50000011;  // child, visible, etched vertical line
constexpr int kComboTop = 3;
constexpr int kDropDownBottom = 80;
constexpr int kGap = 5;

// The widths of the toolbar's boxes from the frame font's digits.
struct SelectorWidths {
    int translation, book, chapter, hits;
};

SelectorWidths MeasureSelectors(HWND window, HFONT font) {
    int d = 21;
    if (HDC dc = ::GetDC(window)) {
        const HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
        SIZE size;
        if (::GetTextExtentPoint32A(dc, "123", 3, &size)) d = size.cx;
        ::SelectObject(dc, old);
        ::ReleaseDC(window, dc);
    }
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    const int base = ::GetSystemMetrics(SM_CXVSCROLL) + 4 * edge;
    const int a = ::GetSystemMetrics(SM_CXVSCROLL) * 3 / 5;
    return {base + d * 10 / 3 + 5, base + a + edge + d * 7 / 3 + 5, base + a + edge + d + 5, base + d * 11 / 3 + 5};
}

HWND MakeChild(HWND parent, const char* cls, DWORD style, int x, int y, int cx, int cy, UINT id) {
    return ::CreateWindowExA(0, cls, "", style, x, y, cx, cy, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetResourceModule(), nullptr);
}

TBBUTTON Button(int image, UINT command, BYTE state, BYTE style) {
    TBBUTTON b = {};
    b.iBitmap = image;
    b.idCommand = static_cast<int>(command);
    b.fsState = state;
    b.fsStyle = style;
    return b;
}

// A toolbar button's rectangle in the toolbar's client coordinates, where its child
// controls are placed.
RECT ButtonRect(HWND toolbar, int index) {
    RECT r = {};
    ry::Send(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// The number label of a numbered menu item: an accelerator digit for the first eight.
void NumberLabel(int n, char* buffer) {
    wsprintfA(buffer, n < 9 ? "&%i: " : "%i: ", n);
}

}  // namespace

int VoMainWnd::OnCreate(const ry::CreateStruct& cs) {
    const char* commandLine = static_cast<const char*>(cs.lpCreateParams);
    const HMENU menu = ::GetMenu(hwnd_);
    const int checkWidth = ::GetSystemMetrics(SM_CXMENUCHECK), checkHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    backCheck_.Reset(static_cast<HBITMAP>(
        ::LoadImageA(GetResourceModule(), MAKEINTRESOURCEA(kBackCheckBitmap), IMAGE_BITMAP, checkWidth, checkHeight, 0)));
    forwardCheck_.Reset(static_cast<HBITMAP>(::LoadImageA(GetResourceModule(), MAKEINTRESOURCEA(kForwardCheckBitmap),
                                                          IMAGE_BITMAP, checkWidth, checkHeight, 0)));
    ::SetMenuItemBitmaps(menu, kBack, MF_BYCOMMAND, backCheck_.Get(), backCheck_.Get());
    ::SetMenuItemBitmaps(menu, kForward, MF_BYCOMMAND, forwardCheck_.Get(), forwardCheck_.Get());

    if (!referenceFormat_) return -1;
    if (!CreateToolbar() || !CreateSelectors() || !CreateHitsCombo()) return -1;
    MarkStartStep("toolbar and selectors made");
    FillTranslationMenu();
    FillLibraryMenu();
    status_ = MakeChild(hwnd_, STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, kStatusBar);

    VoBiblePosition start;
    const bool hasStart = ChooseStartPosition(commandLine, &start);
    if (!startStat_) {
        // Without a bible's numbering the commentary pane has nothing to look up.
        lexicon_.open = false;
        CheckCommand(kLexiconPaneToggle, kCommandInToolbar, false);
        EnableCommand(kLexiconPaneToggle, kCommandInToolbar, false);
    }
    CreatePanes();
    MarkStartStep("commentary and translations panes made");

    RECT client;
    ::GetClientRect(hwnd_, &client);
    if (!host_->CreateTextWindow(hwnd_, &client, kHostWindow, hasStart ? &start : nullptr)) return -1;

    MarkStartStep("text window made");
    UpdateSelectionCommands();
    CheckCommand(kShowMarks, kCommandInMenu, MarkingsShown());
    UpdateMarkFileCommands();
    EnableManualCommand();
    return 0;
}

bool VoMainWnd::CreateToolbar() {
    const SelectorWidths w = MeasureSelectors(hwnd_, frameFont_.Get());
    // The selectors are its children, over its separators: it paints around them.
    toolbar_ = ::CreateWindowExA(WS_EX_CONTROLPARENT, TOOLBARCLASSNAMEA, "",
                                 kToolbarStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kToolbar)), GetResourceModule(),
                                 nullptr);
    if (!toolbar_ || !toolbarRelay_.Attach(toolbar_)) return false;
    ry::Send(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ry::Send(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    ry::Send(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
    ry::Send(toolbar_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_.Get()));
    ry::Send(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages_.Get()));
    const BYTE closeState = host_->GetBook() >= 0 ? TBSTATE_ENABLED : 0;
    const TBBUTTON buttons[] = {
        Button(0, 0, TBSTATE_ENABLED, BTNS_SEP),
        Button(1, kNewPane, TBSTATE_ENABLED, BTNS_GROUP),
        Button(2, kCopy, TBSTATE_ENABLED, BTNS_BUTTON),
        Button(w.translation + w.book + w.chapter + 29, 0, TBSTATE_ENABLED, BTNS_SEP),
        Button(3, kBack, TBSTATE_ENABLED, BTNS_BUTTON),
        Button(4, kForward, 0, BTNS_BUTTON),
        Button(5, kCloseLevel, closeState, BTNS_BUTTON),
        Button(12, 0, TBSTATE_ENABLED, BTNS_SEP),
        Button(6, kSearch, TBSTATE_ENABLED, BTNS_BUTTON),
        Button(w.hits + 12, 0, TBSTATE_ENABLED, BTNS_SEP),
        Button(9, kMarkSelection, TBSTATE_ENABLED, BTNS_CHECK),
        Button(8, kMultiPaneToggle, TBSTATE_ENABLED, BTNS_CHECK),
        Button(7, kLexiconPaneToggle, TBSTATE_ENABLED, BTNS_CHECK),
    };
    ry::Send(toolbar_, TB_ADDBUTTONSA, sizeof buttons / sizeof buttons[0], reinterpret_cast<LPARAM>(buttons));
    ry::Send(toolbar_, TB_CHECKBUTTON, kLexiconPaneToggle, MAKELPARAM(lexicon_.open, 0));
    ry::Send(toolbar_, TB_CHECKBUTTON, kMultiPaneToggle, MAKELPARAM(multi_.open, 0));
    ry::Send(toolbar_, TB_AUTOSIZE, 0, 0);
    return true;
}

bool VoMainWnd::CreateSelectors() {
    const SelectorWidths w = MeasureSelectors(hwnd_, frameFont_.Get());
    const RECT r = ButtonRect(toolbar_, 3);
    const int dropHeight = kDropDownBottom - kComboTop;
    if (!MakeChild(toolbar_, "STATIC", kEtchedLineStyle, r.left + 5, r.top + 2, 2, r.bottom - r.top - 2, 0xFFFF))
        return false;

    int x = r.left + 12;
    const HWND translations = MakeChild(toolbar_, "COMBOBOX", kComboStyle, x, kComboTop, w.translation, dropHeight,
                                        kTranslationCombo);
    x += w.translation + kGap;
    const HWND books = MakeChild(toolbar_, "COMBOBOX", kComboStyle, x, kComboTop, w.book, dropHeight, kBookCombo);
    const HWND bookSpin = books ? MakeChild(toolbar_, UPDOWN_CLASSA, kSpinStyle, 0, 0, 0, 0, kBookSpin) : nullptr;
    x += w.book + kGap;
    const HWND chapters = MakeChild(toolbar_, "COMBOBOX", kComboStyle, x, kComboTop, w.chapter, dropHeight,
                                    kChapterCombo);
    const HWND chapterSpin = chapters ? MakeChild(toolbar_, UPDOWN_CLASSA, kSpinStyle, 0, 0, 0, 0, kChapterSpin)
                                      : nullptr;
    if (!translations || !books || !bookSpin || !chapters || !chapterSpin) return false;

    // The spinners step through whole lists themselves (UDN_DELTAPOS); their range only
    // makes "up" mean the next entry instead of the default 100..0 ("up" = -1).
    for (const auto& [spin, buddy] : {std::pair<HWND, HWND>{bookSpin, books}, {chapterSpin, chapters}}) {
        ry::Send(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
        ry::Send(spin, UDM_SETRANGE32, 0, 0x7FFF);
    }
    for (HWND combo : {translations, books, chapters})
        ry::Send(combo, WM_SETFONT, reinterpret_cast<WPARAM>(frameFont_.Get()), FALSE);
    FillTranslationBox();
    ::EnableWindow(books, host_->GetBibleIndex() >= 0);
    ::EnableWindow(chapters, host_->GetBook() >= 0);
    return true;
}

bool VoMainWnd::CreateHitsCombo() {
    const RECT r7 = ButtonRect(toolbar_, 7);
    if (!MakeChild(toolbar_, "STATIC", kEtchedLineStyle, r7.left + 5, r7.top + 2, 2, r7.bottom - r7.top - 2, 0xFFFF))
        return false;
    const RECT r9 = ButtonRect(toolbar_, 9);
    const HWND hits = MakeChild(toolbar_, "COMBOBOX", kComboStyle, r9.left, kComboTop, r9.right - 12 - r9.left,
                                kDropDownBottom - kComboTop, kHitsCombo);
    if (hits) ry::Send(hits, WM_SETFONT, reinterpret_cast<WPARAM>(frameFont_.Get()), FALSE);
    return MakeChild(toolbar_, "STATIC", kEtchedLineStyle, r9.right - 7, r9.top + 2, 2, r9.bottom - r9.top - 2,
                     0xFFFF) != nullptr;
}

void VoMainWnd::FillTranslationMenu() {
    const HMENU popup = FindPopupOf(kFirstTranslation);
    if (!popup) return;
    ::DeleteMenu(popup, kFirstTranslation, MF_BYCOMMAND);
    // The command range holds the first 90 bibles; the selector box lists them all.
    const int count = bibles_.GetCount() < kMaxTranslationItems ? bibles_.GetCount() : kMaxTranslationItems;
    for (int i = 0; i < count; ++i) {
        char label[16 + kBibleLongNameSize];
        NumberLabel(i + 1, label);
        lstrcpynA(label + lstrlenA(label), bibles_.GetAt(i).GetName(), kBibleLongNameSize);
        ::AppendMenuA(popup, MF_STRING, kFirstTranslation + static_cast<UINT>(i), label);
    }
    RadioCheckTranslation(host_->GetBibleIndex());
}

void VoMainWnd::FillLibraryMenu() {
    const HMENU popup = FindPopupOf(kNoLibrary);
    if (!popup) return;
    const int count = refLibs_.GetCount() < kMaxLibraryItems ? refLibs_.GetCount() : kMaxLibraryItems;
    int current = 0;
    char name[kListedNameSize] = "";
    if (refLib_ && FAILED(refLib_->GetName(name, sizeof name))) name[0] = '\0';
    for (int i = 0; i < count; ++i) {
        char label[16 + kListedNameSize];
        NumberLabel(i + 1, label);
        lstrcpynA(label + lstrlenA(label), refLibs_.GetAt(i).title, kListedNameSize);
        ::AppendMenuA(popup, MF_STRING, kFirstLibrary + static_cast<UINT>(i), label);
        if (refLib_ && lstrcmpiA(refLibs_.GetAt(i).title, name) == 0) current = i + 1;
    }
    RadioCheckLibrary(current);
}

bool VoMainWnd::ChooseStartPosition(const char* commandLine, VoBiblePosition* start) {
    bool found = commandLine && *commandLine && ParseOpenRequest(commandLine, start);
    if (!found) {
        RegKey key;
        char lastBible[256] = "";
        LONG values[7] = {};
        static const char* const names[7] = {"LastBook", "LastChapter", "LastVerse", "LastTop",
                                             "LastFocus", "LastBeginSel", "LastEndSel"};
        bool all = OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS &&
                   ReadRegString(key.Get(), "LastBible", lastBible, sizeof lastBible);
        for (int i = 0; all && i < 7; ++i) all = ReadRegInt(key.Get(), names[i], &values[i]);
        for (int i = bibles_.GetCount() - 1; all && i >= 0; --i) {
            if (lstrcmpiA(bibles_.GetAt(i).GetShortName(), lastBible) != 0) continue;
            ComPtr<IBible> bible = ComPtr<IBible>::Attach(bibles_.GetAt(i).GetBible());
            if (bible) {
                int* fields[7] = {&start->book, &start->chapter, &start->verse, &start->topItem,
                                  &start->caretItem, &start->selectionBegin, &start->selectionEnd};
                start->bibleIndex = i;
                for (int f = 0; f < 7; ++f) *fields[f] = static_cast<int>(values[f]);
                found = true;
            }
            break;
        }
    }
    const int index = found ? start->bibleIndex : bibles_.FindDefaultBible();
    if (index >= 0 && index < bibles_.GetCount()) {
        ComPtr<IBible> bible = ComPtr<IBible>::Attach(bibles_.GetAt(index).GetBible());
        if (bible) bible->GetBibleStat(startStat_.Put());
    }
    return found;
}

void VoMainWnd::CreatePanes() {
    // Provisional places: the next WM_SIZE lays the panes out. A pane whose window cannot be
    // made takes no room and its command stays grey.
    RECT client;
    ::GetClientRect(hwnd_, &client);
    struct Pane {
        HWND window;
        VoDockedPaneState& state;
        UINT command;
    } panes[] = {
        {lexWnd_.Create(hwnd_, client, kLexiconPane), lexicon_, kLexiconPaneToggle},
        {multiWnd_.Create(hwnd_, client, kMultiPane), multi_, kMultiPaneToggle},
    };
    for (Pane& pane : panes) {
        if (!pane.window) {
            pane.state.open = false;
            EnableCommand(pane.command, kCommandInToolbar | kCommandInMenu, false);
        } else {
            if (!pane.state.open) ::ShowWindow(pane.window, SW_HIDE);
            ry::Send(pane.window, WM_SETFONT, reinterpret_cast<WPARAM>(settings_.GetFont()), FALSE);
        }
        CheckCommand(pane.command, kCommandInToolbar | kCommandInMenu, pane.state.open);
    }
}

void VoMainWnd::EnableManualCommand() {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    bool present = length > 3 && length < MAX_PATH;
    if (present) {
        lstrcpyA(path + length - 3, "pdf");
        RegKey key;
        HKEY raw = nullptr;
        present = IsExistingFile(path) && ::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".pdf", 0, KEY_READ, &raw) == ERROR_SUCCESS;
        key.Reset(raw);
    }
    EnableCommand(kManual, kCommandInMenu, present);
}
