#include "LexWnd.h"
#include "ImageListIcons.h"
#include <commctrl.h>
#include "DropTarget.h"
#include "LexItemProvider.h"
#include "LexTitlesDlg.h"
#include "Registry.h"
#include <string>
#include <vector>

namespace {

constexpr int kInnerLeft = 10;
constexpr int kMargin = 4;
constexpr int kRowGap = 5;
constexpr int kChooserDropHeight = 150;
constexpr UINT kFirstButtonIcon = 4030;
constexpr int kIconPairs = 9;
constexpr UINT kTitleImagesBitmap = 145;
constexpr UINT kChooserImagesBitmap = 158;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr char kDefaultLexicon[] = "Tavles Bibelleksikon";

// The buttons in the order of their ids, with their first images.
constexpr int kFirstImage[kLexButtonCount] = {6, 0, 14, 8, 10, 12, 2};

// Row of each button and the buttons per row.
constexpr int kRowOf[kLexButtonCount] = {0, 0, 1, 1, 1, 1, 2};
constexpr int kPerRow[3] = {2, 4, 1};

HIMAGELIST LoadStrip(UINT id, int cx, UINT flags) {
    HIMAGELIST list = ImageList_Create(cx, 16, flags | ILC_MASK, 4, 0);
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (list && strip) ImageList_AddMasked(list, strip, kMaskColour);
    if (strip) DeleteObject(strip);
    return list;
}

}  // namespace

VoLexWnd::VoLexWnd(AVoLexWndHost* host, HFONT controlFont, AReferenceReader* reader)
    : host_(host), controlFont_(controlFont), reader_(reader) {
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS)
        ReadRegBool(key.Get(), "LexIdxLocked", &indexLocked_);
    BuildImageLists();
    for (int i = 0; i < kLexButtonCount; ++i) buttons_[i].SetImage(buttonImages_.Get(), kFirstImage[i]);
    buttons_[0].SetImage(buttonImages_.Get(), indexLocked_ ? 4 : 6);
    VoLexItemProvider::Create(nullptr, provider_.Put());
    view_.SetHost(this);
    VoDropTarget::Create(this, &edit_, true, reader_, editDrop_.Put());
    VoDropTarget::Create(this, &titles_.Edit(), false, reader_, titleDrop_.Put());
}

VoLexWnd::~VoLexWnd() = default;

void VoLexWnd::BuildImageLists() {
    // Image 2k is icon 4030 + k (enabled), image 2k + 1 icon 4039 + k (disabled).
    buttonImages_.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2 * kIconPairs, 0));
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int k = 0; k < kIconPairs && buttonImages_; ++k) {
        for (UINT id : {kFirstButtonIcon + k, kFirstButtonIcon + kIconPairs + k}) {
            IconHandle icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)));
            AddIconImage(buttonImages_.Get(), icon.Get());
        }
    }
    titleImages_.Reset(LoadStrip(kTitleImagesBitmap, 20, ILC_COLOR24));
    chooserImages_.Reset(LoadStrip(kChooserImagesBitmap, 16, ILC_COLOR24));
}

void VoLexWnd::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = "VoLexWnd";
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

bool VoLexWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<VoLexWnd> map[] = {
        {WM_CREATE, RyOnCreate<&VoLexWnd::OnCreate>},
        {WM_PAINT, RyOnVoid<&VoLexWnd::OnPaint>},
        {WM_SIZE, RyOnSize<&VoLexWnd::OnSize>},
        {WM_GETFONT, RyMsg<&VoLexWnd::OnGetFont>},
        {WM_SETFONT, RyOnSetFont<&VoLexWnd::OnSetFont>},
        {WM_DESTROY, RyOnVoid<&VoLexWnd::OnDestroy>},
        {WM_ENDSESSION, RyMsg<&VoLexWnd::OnEndSession>},
        {WM_DRAWITEM, RyMsg<&VoLexWnd::OnDrawItem>},
        {WM_COMMAND, RyOnCommand<&VoLexWnd::OnCommand>},
        {VoLexEditWnd::kFollowLinkMessage, RyMsg<&VoLexWnd::OnFollowLink>},
        {kLexSelectRemembered, RyMsg<&VoLexWnd::OnSelectRemembered>},
        RyChain<VoLexWnd>(RyChainBase<VoDockedWnd<VoLexWnd>, VoLexWnd>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int VoLexWnd::OnCreate(const ry::CreateStruct&) {
    RECT inner = GetInnerRect();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const int chooserRight = inner.right - kMargin - 2 * buttonSize_;
    chooser_ = ry::MakeWindow(0, WC_COMBOBOXEXA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT,
                              kInnerLeft, kMargin, chooserRight - kInnerLeft, kChooserDropHeight, Handle(),
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLexChooserId)), instance, nullptr);
    if (!chooser_) return -1;
    ::SendMessageA(chooser_, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(chooserImages_.Get()));
    if (controlFont_) ::SendMessageA(chooser_, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont_), FALSE);
    FillChooser();
    RECT rc;
    ::GetWindowRect(chooser_, &rc);
    buttonSize_ = rc.bottom - rc.top;
    if (!CreateButtons(inner)) return -1;

    const int h = buttonSize_;
    const int row3 = kMargin + 2 * (h + kRowGap);
    editRowHeight_ = h + kRowGap;
    RECT titleRect = {kInnerLeft, row3, inner.right - kMargin - h, row3 + h};
    if (!titles_.Create(Handle(), titleRect, kLexTitleBoxId)) return -1;
    if (controlFont_) ::SendMessageA(titles_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(controlFont_), FALSE);
    titles_.SetImageList(titleImages_.Get());
    titles_.SetProvider(provider_.Get(), 0);
    if (titleDrop_) ::RegisterDragDrop(titles_.Edit().Handle(), titleDrop_.Get());

    const RECT body = {kInnerLeft, row3 + h + kMargin, inner.right - kMargin, row3 + 2 * h + kMargin};
    HWND edit = ry::MakeWindow(WS_EX_CLIENTEDGE, "EDIT", "",
                               WS_CHILD | WS_VSCROLL | WS_DISABLED | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                                   ES_WANTRETURN,
                               body.left, body.top, body.right - body.left, body.bottom - body.top, Handle(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLexEditId)), instance, nullptr);
    if (!edit || !edit_.Attach(edit)) return -1;
    ::SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    if (editDrop_) ::RegisterDragDrop(edit, editDrop_.Get());
    if (!view_.Create(Handle(), body, kLexViewId)) return -1;

    char name[256] = {};
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS)
        ReadRegString(key.Get(), "ActiveLexicon", name, sizeof name);
    if (!name[0]) lstrcpynA(name, kDefaultLexicon, sizeof name);
    for (int i = 0; i < list_.GetCount(); ++i) {
        if (lstrcmpA(list_.GetAt(i).GetName(), name) == 0) {
            if (SelectChooserItemFor(i))
                rememberedPending_ = ::PostMessageA(Handle(), kLexSelectRemembered, 0, 0) != FALSE;
            break;
        }
    }
    return 0;
}

bool VoLexWnd::CreateButtons(const RECT& inner) {
    const int h = buttonSize_;
    int placed[3] = {};
    for (int i = 0; i < kLexButtonCount; ++i) {
        const int row = kRowOf[i];
        const int top = kMargin + row * (h + kRowGap);
        const int left = (row == 1 ? kInnerLeft : inner.right - kMargin - kPerRow[row] * h) + placed[row]++ * h;
        const RECT rc = {left, top, left + h, top + h};
        const DWORD style = BS_FLAT | (i == 0 ? 0 : WS_DISABLED);
        if (!buttons_[i].Create(Handle(), rc, kLexLockId + i, style)) return false;
    }
    return true;
}

void VoLexWnd::OnSize(UINT, int cx, int cy) {
    if (!chooser_) return;
    const int h = buttonSize_;
    RECT rc;
    ::GetWindowRect(chooser_, &rc);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
    ::SetWindowPos(chooser_, nullptr, 0, 0, cx - kMargin - 2 * h - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int placed[3] = {};
    for (int i = 0; i < kLexButtonCount; ++i) {
        const int row = kRowOf[i];
        if (row == 1) continue;
        ::GetWindowRect(buttons_[i].Handle(), &rc);
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
        ::SetWindowPos(buttons_[i].Handle(), nullptr, cx - kMargin - kPerRow[row] * h + placed[row]++ * h, rc.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::GetWindowRect(titles_.Handle(), &rc);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
    ::SetWindowPos(titles_.Handle(), nullptr, 0, 0, cx - kMargin - h - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(edit_.Handle(), &rc);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
    const int width = cx - kMargin - rc.left;
    const int height = cy - kMargin - rc.top;
    ::SetWindowPos(edit_.Handle(), nullptr, rc.left, rc.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(view_.Handle(), nullptr, rc.left, rc.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void VoLexWnd::OnPaint() {
    PaintDc dc(Handle());
    RECT inner = GetInnerRect();
    FillRect(dc.Get(), &inner, GetSysColorBrush(COLOR_BTNFACE));
    RECT client;
    ::GetClientRect(Handle(), &client);
    VoDockedEdge::PaintFrame(dc.Get(), client);
}

void VoLexWnd::OnSetFont(HFONT font, bool redraw) {
    font_ = font;
    if (edit_.Handle()) ::SendMessageA(edit_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (view_.Handle()) ::SendMessageA(view_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (redraw) ::InvalidateRect(Handle(), nullptr, TRUE);
}

bool VoLexWnd::SaveBeforeClosing() {
    const bool saved = SaveAll();
    list_.SaveAll();
    SaveSettings();
    return saved;
}

void VoLexWnd::OnDestroy() {
    if (edit_.Handle()) ::RevokeDragDrop(edit_.Handle());
    if (titles_.Edit().Handle()) ::RevokeDragDrop(titles_.Edit().Handle());
    SaveBeforeClosing();
}

LRESULT VoLexWnd::OnEndSession(WPARAM ending, LPARAM) {
    // The session ends without WM_DESTROY: what was typed is saved now.
    if (ending) SaveBeforeClosing();
    return 0;
}

void VoLexWnd::SaveSettings() {
    RegKey key;
    if (CreateUserAppKey(key, nullptr, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    const VoLexiconItem* item = CurrentItem();
    // Destroyed before the remembered commentary was opened (its main window was never
    // wholly made), the pane shows none: the remembered name stays.
    if (item || !rememberedPending_) WriteRegString(key.Get(), "ActiveLexicon", item ? item->GetName() : "");
    WriteRegBool(key.Get(), "LexIdxLocked", indexLocked_);
}

void VoLexWnd::OnCommand(UINT id, UINT code, HWND) {
    const bool click = code == BN_CLICKED;
    switch (id) {
    case kCmdLexTitles:
        RunTitlesDialog();
        break;
    case kLexChooserId:
        if (code != CBN_SELENDOK) break;
        if (PushHistory())
            SelectChooserCommentary(-1);
        else
            SelectChooserItemFor(list_.GetCurrent());
        break;
    case kLexTitleBoxId:
        if (code == CBN_EDITCHANGE) UpdateTitleButtons();
        if (code == CBN_SELENDOK) {
            if (PushHistory())
                ShowSelectedEntry();
            else
                titles_.SetCurSel(shown_);
        }
        break;
    case kLexEditId:
        if (code == EN_CHANGE) textChanged_ = true;
        break;
    case kLexLockId:
        if (click) OnToggleLock();
        break;
    case kLexHomeId:
        if (click) OnHome();
        break;
    case kLexEditModeId:
        if (click) OnEditButton();
        break;
    case kLexNewId:
        if (click) OnNewEntry();
        break;
    case kLexDeleteId:
        if (click) OnDeleteEntry();
        break;
    case kLexRenameId:
        if (click) OnRenameEntry();
        break;
    case kLexBackId:
        if (click) OnBack();
        break;
    default:
        break;
    }
}

void VoLexWnd::OnToggleLock() {
    indexLocked_ = !indexLocked_;
    SetButtonImage(kLexLockId, indexLocked_ ? 4 : 6);
    host_->RedrawBibleWindow();
}

void VoLexWnd::OnHome() {
    // The home entry's title is the commentary's name, the chooser item's text.
    const VoLexiconItem* item = CurrentItem();
    if (!Current() || !item) return;
    const ArticleHandle home = FindArticleForKey(false, item->GetName(), kNoArticle);
    if (home != kNoArticle) ShowArticle(home, 0, nullptr);
}

LRESULT VoLexWnd::OnFollowLink(WPARAM bible, LPARAM text) {
    const char* link = reinterpret_cast<const char*>(text);
    if (!link) return 0;
    if (bible)
        GoToBibleReference(link);
    else
        OpenLexiconReference(link);
    return 0;
}

LRESULT VoLexWnd::OnSelectRemembered(WPARAM, LPARAM) {
    rememberedPending_ = false;
    SelectChooserCommentary(-1);
    return 0;
}

void VoLexWnd::SetButtonImage(UINT id, int image) {
    VoBmpBtn& button = buttons_[id - kLexLockId];
    button.SetImage(buttonImages_.Get(), image);
    if (button.Handle()) ::InvalidateRect(button.Handle(), nullptr, FALSE);
}

void VoLexWnd::ShowEditRow(bool show) {
    if (show == editRowShown_ || !chooser_) return;
    editRowShown_ = show;
    const int dy = show ? editRowHeight_ : -editRowHeight_;
    for (UINT id = kLexEditModeId; id <= kLexRenameId; ++id) ::ShowWindow(Button(id), show ? SW_SHOWNA : SW_HIDE);
    for (HWND w : {Button(kLexBackId), titles_.Handle(), edit_.Handle(), view_.Handle()}) {
        RECT rc;
        ::GetWindowRect(w, &rc);
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
        const bool body = w == edit_.Handle() || w == view_.Handle();
        ::SetWindowPos(w, nullptr, rc.left, rc.top + dy, rc.right - rc.left, rc.bottom - rc.top - (body ? dy : 0),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void VoLexWnd::RunTitlesDialog() {
    // The dialog may close the current commentary and move the records: what was typed is
    // saved first, and the history follows the records by their paths.
    if (!SaveAll()) return;
    std::vector<std::string> paths;
    for (int i = 0; i < list_.GetCount(); ++i) paths.emplace_back(list_.GetAt(i).GetPath());
    int current = list_.GetCurrent();
    const DWORD revision = list_.Revision();
    VoBibleInfoList* bibles = host_->GetBibleList();
    if (!bibles) return;
    VoLexTitlesDlg dialog(list_, &current, *bibles, host_->GetActiveBibleIndex());
    const INT_PTR ended = dialog.DoModal(Handle());
    std::vector<int> renumber(paths.size(), -1);
    for (size_t old = 0; old < paths.size(); ++old)
        for (int i = 0; i < list_.GetCount(); ++i)
            if (list_.GetAt(i).IsOpen() && lstrcmpiA(list_.GetAt(i).GetPath(), paths[old].c_str()) == 0)
                renumber[old] = i;
    history_.RenumberCommentaries(renumber);
    EnableButton(kLexBackId, !history_.Empty());
    const bool closed = current >= 0 && (!list_.IsValidIndex(current) || !list_.GetAt(current).IsOpen());
    list_.SetCurrent(closed ? -1 : current);
    // Records added or removed change the chooser's item data even when the dialog was
    // cancelled; a current commentary the dialog closed gives way to the most recent open
    // one (without one before, none is chosen).
    if (ended != 1 && !closed && list_.Revision() == revision) return;
    FillChooser();
    if (closed) SelectMostRecent();
}

int VoLexWnd::GetFocusWindows(HWND* windows, int capacity) {
    static const UINT order[] = {kLexChooserId, kLexLockId, kLexHomeId, kLexEditModeId, kLexBackId,
                                 kLexTitleBoxId, kLexNewId, kLexDeleteId, kLexRenameId, kLexEditId};
    int count = 0;
    for (UINT id : order) {
        HWND w = ::GetDlgItem(Handle(), static_cast<int>(id));
        if (w && ::IsWindowEnabled(w) && count < capacity) windows[count++] = w;
    }
    const HWND focus = ::GetFocus();
    if (view_.Handle() && focus && (focus == view_.Handle() || ::IsChild(view_.Handle(), focus)) && count < capacity)
        windows[count++] = view_.Handle();
    return count;
}
