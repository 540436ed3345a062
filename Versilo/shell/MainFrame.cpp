// VoMainWnd: construction and destruction, the window class, the message map, the layout,
// the look-up request by WM_COPYDATA, closing and the end of the session with their saved
// settings, and the interfaces the panes and the colour markings call.
#include "MainFrame.h"
#include <utility>
#include "DockedWnd.h"
#include "FrameIds.h"
#include "MessageText.h"
#include "OpenRequest.h"
#include "Registry.h"
#include "RyMessageMap.h"
#include "ScreenMetrics.h"
#include "WindowMarkCache.h"

using namespace frame_id;

namespace {

// The stored setting names of the frame.
constexpr char kPositionKey[] = "Position";
constexpr char kRefLibValue[] = "RefLib";
constexpr DWORD kRefLibCapacity = 64;
constexpr DWORD kLastBibleCapacity = 256;
constexpr char kReferenceFormatName[] = "VersiloReference";
constexpr UINT kIdsDefaultRefLib = 106;
constexpr int kMinTrackWidth = 400, kMinTrackHeight = 300;

HIMAGELIST MakeImageList(UINT bitmapId) {
    HIMAGELIST list = ImageList_Create(24, 24, ILC_COLOR32 | ILC_MASK, 10, 4);
    if (!list) return nullptr;
    BitmapHandle bitmap(static_cast<HBITMAP>(::LoadImageA(GetResourceModule(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP,
                                                         0, 0, LR_CREATEDIBSECTION)));
    if (bitmap) ImageList_AddMasked(list, bitmap.Get(), RGB(255, 0, 255));
    return list;
}

void WriteFraction(HKEY key, const char* name, double fraction) {
    WriteRegInt(key, name, FractionToStored(fraction));
}

}  // namespace

VoMainWnd::VoMainWnd(AVoBibleWindow* host)
    : hostHolder_(host),
      host_(host),
      frameFont_(CreateMenuFont()),
      multiWnd_(&bibles_),
      lexWnd_(this, frameFont_.Get(), &referenceReader_) {
    multi_.minWidth = kDockedMinWidth;
    lexicon_.minWidth = kDockedMinWidth;
    marks_.Load(this);
    referenceFormat_ = ::RegisterClipboardFormatA(kReferenceFormatName);
    images_.Reset(MakeImageList(kToolbarBitmap));
    hotImages_.Reset(MakeImageList(kToolbarHotBitmap));
    disabledImages_.Reset(MakeImageList(kToolbarDisabledBitmap));
    multi_.open = true;
    lexicon_.open = true;
    host_->Initialize(this);
    multiWnd_.SetShowActiveBible(settings_.GetShowActiveBibleInMultiWindow());

    char refLibName[kRefLibCapacity];
    LoadResString(refLibName, kIdsDefaultRefLib);
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS) {
        ReadRegBool(key.Get(), "LexiconOpen", &lexicon_.open);
        ReadRegString(key.Get(), kRefLibValue, refLibName, kRefLibCapacity);
        ReadRegBool(key.Get(), "MultitransOpen", &multi_.open);
        LONG width = FractionToStored(kDefaultPaneFraction);
        if (ReadRegInt(key.Get(), "MultitransWidth", &width)) multi_.fraction = StoredToFraction(width);
        width = FractionToStored(kDefaultPaneFraction);
        if (ReadRegInt(key.Get(), "LexiconWidth", &width)) lexicon_.fraction = StoredToFraction(width);
    }
    for (int i = refLibs_.GetCount() - 1; i >= 0; --i) {
        if (lstrcmpiA(refLibs_.GetAt(i).title, refLibName) != 0) continue;
        OpenRefLibFile(refLibs_.GetAt(i).fileName, refLib_.Put());
        break;
    }
}

VoMainWnd::~VoMainWnd() {
    Destroy();
    host_->Initialize(nullptr);
}

void VoMainWnd::GetWindowClass(ry::WindowClass& wc) {
    const HINSTANCE instance = GetResourceModule();
    wc.lpszClassName = "Ordhus VoBible";
    wc.hInstance = instance;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(kLargeIcon));
    wc.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kSmallIcon), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(kMenu);
}

HWND VoMainWnd::CreateMain(const RECT* rect, const char* commandLine) {
    char title[kTextCapacity];
    RyCreateParams p;
    if (rect) {
        p.x = rect->left;
        p.y = rect->top;
        p.cx = rect->right - rect->left;
        p.cy = rect->bottom - rect->top;
    }
    p.title = LoadResString(title, kIdsProgramTitle);
    p.param = const_cast<char*>(commandLine ? commandLine : "");
    return Create(p);
}

void VoMainWnd::Destroy() {
    if (IsWindow()) ::DestroyWindow(hwnd_);
}

bool VoMainWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using W = VoMainWnd;
    static const RyMessageEntry<W> map[] = {
        {WM_CREATE, RyOnCreate<&W::OnCreateFrame>},
        {WM_ERASEBKGND, RyMsg<&W::OnEraseBackground>},
        {WM_SIZE, RyOnSize<&W::OnSize>},
        {WM_ACTIVATE, RyMsg<&W::OnActivate>},
        {WM_DESTROY, RyOnVoid<&W::OnDestroy>},
        {WM_GETMINMAXINFO, RyOnGetMinMaxInfo<&W::OnGetMinMaxInfo>},
        {WM_COPYDATA, RyMsg<&W::OnCopyData>},
        {WM_QUERYENDSESSION, RyMsg<&W::OnQueryEndSession>},
        {WM_ENDSESSION, RyMsg<&W::OnEndSession>},
        // Only the docked panes' own codes: the toolbar asks for the tip of its Copy button
        // (command 5000, the commentary pane's id too) with the command as the sender.
        RyNotify<W>(kMultiPane, kDockedWidthChanged, RyOnNotify<&W::OnPaneNotify>),
        RyNotify<W>(kMultiPane, kDockedAskMaxWidth, RyOnNotify<&W::OnPaneNotify>),
        RyNotify<W>(kLexiconPane, kDockedWidthChanged, RyOnNotify<&W::OnPaneNotify>),
        RyNotify<W>(kLexiconPane, kDockedAskMaxWidth, RyOnNotify<&W::OnPaneNotify>),
        RyCommand<W>(kOptions, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kAbout, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kNextFocus, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kPreviousFocus, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kExit, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kBeep, RyOnCommand<&W::OnFrameCommand>),
        RyCommandRange<W>(kFirstTranslation, kLastTranslation, RyOnCommand<&W::OnTranslation>),
        RyCommandRange<W>(kNoLibrary, kLastLibrary, RyOnCommand<&W::OnLibrary>),
        RyCommand<W>(kShowReferences, RyOnCommand<&W::OnFrameCommand>),
        RyCommandRange<W>(kFirstReference, kLastReference, RyOnCommand<&W::OnReference>),
        RyCommandCode<W>(kTranslationCombo, CBN_SELENDOK, RyOnCommand<&W::OnSelectorChosen>),
        RyCommandCode<W>(kBookCombo, CBN_SELENDOK, RyOnCommand<&W::OnSelectorChosen>),
        RyCommandCode<W>(kChapterCombo, CBN_SELENDOK, RyOnCommand<&W::OnSelectorChosen>),
        RyCommand<W>(kCloseLevel, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kBack, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kForward, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kSearch, RyOnCommand<&W::OnFrameCommand>),
        RyCommandCode<W>(kHitsCombo, CBN_SELENDOK, RyOnCommand<&W::OnSelectorChosen>),
        RyCommand<W>(kMultiPaneToggle, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kLexiconPaneToggle, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kMarkSelection, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kBibleInfo, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kCopy, RyOnCommand<&W::OnFrameCommand>),
        RyCommandRange<W>(kShowMarks, kClearMarks, RyOnCommand<&W::OnFrameCommand>),
        RyCommand<W>(kManual, RyOnCommand<&W::OnFrameCommand>),
        {WM_NOTIFY, RyOnNotify<&W::OnToolTip>, RyRowKind::Notify, 0, 0xFFFFFFFFu, TTN_GETDISPINFOA},
        RyNotify<W>(kBookSpin, UDN_DELTAPOS, RyOnNotify<&W::OnSpin>),
        RyNotify<W>(kChapterSpin, UDN_DELTAPOS, RyOnNotify<&W::OnSpin>),
        {WM_COMMAND, [](W& w, const RyMessage& m, LRESULT& r) {
             r = 0;
             return w.RouteCommand(m.wParam, m.lParam);
         }},
        {WM_ENTERMENULOOP, RyMsg<&W::OnEnterMenuLoop>},
        {WM_EXITMENULOOP, RyMsg<&W::OnExitMenuLoop>},
        {WM_TIMER, RyOnTimer<&W::OnTimer>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int VoMainWnd::OnCreateFrame(const ry::CreateStruct& cs) {
    // Windows still sends WM_DESTROY to a window whose WM_CREATE failed.
    complete_ = OnCreate(cs) == 0;
    return complete_ ? 0 : -1;
}

LRESULT VoMainWnd::OnEraseBackground(WPARAM wParam, LPARAM) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    if (toolbar_ && (ry::GetLongPtr(toolbar_, GWL_STYLE) & (TBSTYLE_FLAT | TBSTYLE_TRANSPARENT))) {
        RECT rc;
        ::GetWindowRect(toolbar_, &rc);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    return TRUE;
}

void VoMainWnd::OnSize(UINT type, int, int) {
    if (toolbar_) ry::Send(toolbar_, TB_AUTOSIZE, 0, 0);
    if (status_) ry::Send(status_, WM_SIZE, type, 0);
    if (type == SIZE_MINIMIZED) return;
    Layout();
}

void VoMainWnd::Layout() {
    RECT client, bar;
    ::GetClientRect(hwnd_, &client);
    int toolbarHeight = 0, statusHeight = 0;
    if (toolbar_ && ::GetWindowRect(toolbar_, &bar)) toolbarHeight = bar.bottom - bar.top - 1;
    if (status_ && ::GetWindowRect(status_, &bar)) statusHeight = bar.bottom - bar.top;
    const RECT area = {0, toolbarHeight, client.right, client.bottom - statusHeight};

    // A pane that is not there takes no room, whatever its stored flag says.
    const HWND multiPane = Item(kMultiPane), lexiconPane = Item(kLexiconPane);
    VoDockedPaneState multi = multi_, lexicon = lexicon_;
    multi.open = multi_.open && multiPane;
    lexicon.open = lexicon_.open && lexiconPane;
    const VoFrameLayout layout = ComputeFrameLayout(area, multi, lexicon);
    multi_.fraction = multi.fraction;
    lexicon_.fraction = lexicon.fraction;

    host_->MoveWindow(&layout.host);
    // A pane that moves paints itself anew: what lay at its old place may be its neighbour's.
    for (const auto& [pane, rc] : {std::pair<HWND, RECT>{multiPane, layout.multi}, {lexiconPane, layout.lexicon}})
        if (pane)
            ::SetWindowPos(pane, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

LRESULT VoMainWnd::OnActivate(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == WA_INACTIVE) return 0;
    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd_, focus)) return 0;
    const HWND text = host_->GetTextWindow();
    if (text) ::SetFocus(text);
    return 0;
}

void VoMainWnd::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize.x = kMinTrackWidth;
    info.ptMinTrackSize.y = kMinTrackHeight;
}

LRESULT VoMainWnd::OnCopyData(WPARAM, LPARAM lParam) {
    char text[kOpenRequestCapacity];
    VoBiblePosition position;
    if (CopyOpenRequestText(reinterpret_cast<const COPYDATASTRUCT*>(lParam), text) &&
        ParseOpenRequest(text, &position))
        host_->GoToPosition(&position);
    return TRUE;
}

bool VoMainWnd::ParseOpenRequest(const char* text, VoBiblePosition* out) {
    return ::ParseOpenRequest(bibles_, text, out);
}

void VoMainWnd::OnDestroy() {
    ::KillTimer(hwnd_, kMenuHelpTimer);
    // A frame that was never wholly made shows no place of the reader's: the saved one stays.
    if (complete_) SaveSettings();
    complete_ = false;
    ::PostQuitMessage(0);
}

LRESULT VoMainWnd::OnEndSession(WPARAM ending, LPARAM lParam) {
    // Windows ends the process after this without destroying the window: what closing
    // writes is written now, the commentary pane's typed text and notes files first.
    if (!ending || !complete_) return 0;
    if (lexWnd_.IsWindow()) ::SendMessageA(lexWnd_.Handle(), WM_ENDSESSION, ending, lParam);
    VoLexiconList& notes = lexWnd_.List();
    for (int i = 0; i < notes.GetCount(); ++i)
        if (notes.GetAt(i).HasUnsavedChanges()) notes.GetAt(i).Save();
    marks_.Save();
    SaveSettings();
    return 0;
}

void VoMainWnd::SaveSettings() {
    RegKey key;
    if (CreateAppKey(key, HKEY_CURRENT_USER, kPositionKey, kAppKeyReadWrite) == ERROR_SUCCESS) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        if (::GetWindowPlacement(hwnd_, &placement)) {
            WriteRegInt(key.Get(), "Left", placement.rcNormalPosition.left);
            WriteRegInt(key.Get(), "Top", placement.rcNormalPosition.top);
            WriteRegInt(key.Get(), "Rigth", placement.rcNormalPosition.right);
            WriteRegInt(key.Get(), "Bottom", placement.rcNormalPosition.bottom);
            WriteRegInt(key.Get(), "ShowCmd", static_cast<LONG>(placement.showCmd));
        }
    }
    if (CreateAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    VoBiblePosition p;
    host_->GetPosition(&p);
    const bool known = p.bibleIndex >= 0 && p.bibleIndex < bibles_.GetCount();
    WriteRegString(key.Get(), "LastBible", known ? bibles_.GetAt(p.bibleIndex).GetShortName() : "");
    WriteRegInt(key.Get(), "LastBook", p.book);
    WriteRegInt(key.Get(), "LastChapter", p.chapter);
    WriteRegInt(key.Get(), "LastVerse", p.verse);
    WriteRegInt(key.Get(), "LastTop", p.topItem);
    WriteRegInt(key.Get(), "LastFocus", p.caretItem);
    WriteRegInt(key.Get(), "LastBeginSel", p.selectionBegin);
    WriteRegInt(key.Get(), "LastEndSel", p.selectionEnd);
    WriteRegBool(key.Get(), "LexiconOpen", lexicon_.open);
    WriteFraction(key.Get(), "LexiconWidth", lexicon_.fraction);
    char name[kRefLibCapacity] = "";
    if (refLib_ && FAILED(refLib_->GetName(name, sizeof name))) name[0] = '\0';
    WriteRegString(key.Get(), kRefLibValue, name);
    WriteRegBool(key.Get(), "MultitransOpen", multi_.open);
    WriteFraction(key.Get(), "MultitransWidth", multi_.fraction);
}

void VoMainWnd::OnActiveWindowChanged(unsigned flags) {
    // Before the window exists there is nothing to update: its creation fills everything.
    if (!IsWindow()) return;
    UpdateSelectionCommands();
    if (flags != kSelectionChanged) UpdateSelectors(flags);
    if (multiWnd_.IsWindow())
        multiWnd_.SetVerse(host_->GetBibleIndex(), host_->GetBook(), host_->GetChapter(), host_->GetVerse());
}

AVoLexicon* VoMainWnd::GetLexiconWindow() {
    // The bible panes look for commentary articles only while the pane is open.
    if (!lexicon_.open || !lexWnd_.IsWindow()) return nullptr;
    return &lexWnd_;
}

void VoMainWnd::SetStatusText(const char* text) {
    if (status_) ry::Send(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

void VoMainWnd::EnableCommand(UINT id, unsigned where, bool enable) {
    if ((where & kCommandInToolbar) && toolbar_) ry::Send(toolbar_, TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0));
    if ((where & kCommandInMenu) && IsWindow())
        ::EnableMenuItem(::GetMenu(hwnd_), id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void VoMainWnd::CheckCommand(UINT id, unsigned where, bool check) {
    if ((where & kCommandInToolbar) && toolbar_) ry::Send(toolbar_, TB_CHECKBUTTON, id, MAKELPARAM(check, 0));
    if ((where & kCommandInMenu) && IsWindow())
        ::CheckMenuItem(::GetMenu(hwnd_), id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
}

IBible* VoMainWnd::GetActiveBible() {
    const int index = host_->GetBibleIndex();
    if (index < 0 || index >= bibles_.GetCount()) return nullptr;
    // The record keeps its own reference: the pointer handed out is borrowed.
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(bibles_.GetAt(index).GetBible());
    return bible.Get();
}

void VoMainWnd::OnMarksChanged() {
    for (int i = 0; i < bibles_.GetCount(); ++i) RefreshMarkCache(bibles_.GetAt(i));
    host_->Invalidate();
    UpdateMarkFileCommands();
    UpdateSelectionCommands();
}

void VoMainWnd::OnMarksVisibilityChanged() {
    host_->Invalidate();
    UpdateMarkFileCommands();
}
