// VoMainWnd: the one top-level window of Versilo (class "Ordhus VoBible"). It owns the
// installed-bible list, the colour markings, the reference libraries and the view settings,
// holds the bible panes' host through AVoBibleWindow and serves it as its client; around the
// host it keeps the toolbar with the translation, book and chapter selectors and the search
// hits, the menu bar, the status bar and, docked at the right, the translations pane and the
// commentary pane.
//
// Files: MainFrame.cpp (construction, the message map, closing, the client interfaces),
// FrameCreate.cpp (the window's controls and start position), FrameCommands.cpp (commands and
// notifications), FrameSelectors.cpp (selectors, numbered menus and command states),
// FrameHelp.cpp (status help and tool tips).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "BibleInfoList.h"
#include "BibleWindow.h"
#include "ComPtr.h"
#include "DroppedReference.h"
#include "FrameLayout.h"
#include "Handles.h"
#include "IBibleRefLib.h"
#include "IBibleStat.h"
#include "LexWnd.h"
#include "LexiconInterfaces.h"
#include "MarkedVerses.h"
#include "MultiWnd.h"
#include "RefLibList.h"
#include "RyWindowImpl.h"
#include "ToolbarRelay.h"
#include "UserHandles.h"
#include "ViewSettings.h"

class VoMainWnd;
using VoMainWndBase = RyWindowImpl<VoMainWnd, RyWindowTraits<WS_OVERLAPPEDWINDOW>>;

class VoMainWnd : public VoMainWndBase,
                  public ABibleWindowClient,
                  public AVoLexWndHost,
                  public AVoKv61MarkedVersesSink {
public:
    // Reads the installed bibles, the markings, the libraries and the view settings, and
    // attaches itself to host as its client.
    explicit VoMainWnd(AVoBibleWindow* host);
    ~VoMainWnd() override;
    VoMainWnd(const VoMainWnd&) = delete;
    VoMainWnd& operator=(const VoMainWnd&) = delete;

    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Creates the window at rect (null: the system's default place and size) with the
    // program title; commandLine is handed to WM_CREATE, which reads it as a look-up request.
    HWND CreateMain(const RECT* rect, const char* commandLine);
    // Destroys the window when it still exists.
    void Destroy();

    // Brings the selectors up to date with the active pane (kBibleChanged ... as flags).
    void UpdateSelectors(unsigned flags);
    void UpdateSelectionCommands();
    void UpdateMarkFileCommands();
    // The request text as a start or go-to position; see ParseOpenRequest (OpenRequest.h).
    bool ParseOpenRequest(const char* text, VoBiblePosition* out);
    // The status help of a command (also a tool tip): into buffer of size bytes.
    void GetCommandHelp(UINT id, char* buffer, int size);

    // Parts for the program's start and for tests.
    AVoBibleWindow* Host() const { return host_; }
    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return status_; }
    IBibleRefLib* CurrentRefLib() const { return refLib_.Get(); }
    const VoDockedPaneState& MultiPane() const { return multi_; }
    const VoDockedPaneState& LexiconPane() const { return lexicon_; }
    VoMultiWnd& MultiWindow() { return multiWnd_; }
    VoLexWnd& LexiconWindow() { return lexWnd_; }

    // ABibleWindowClient
    void OnActiveWindowChanged(unsigned flags) override;
    IBibleRefLib* GetRefLib() override { return refLib_.Get(); }
    VoViewSettings* GetViewSettings() override { return &settings_; }
    void SetStatusText(const char* text) override;
    VoBibleInfoList* GetBibleList() override { return &bibles_; }
    VoKv61MarkedVerses* GetMarkedVerses() override { return &marks_; }
    AVoLexicon* GetLexiconWindow() override;
    UINT GetReferenceFormat() override { return referenceFormat_; }
    void EnableCommand(UINT id, unsigned where, bool enable) override;
    void CheckCommand(UINT id, unsigned where, bool check) override;

    // AVoLexWndHost
    void RedrawBibleWindow() override { host_->InvalidateIf(true); }
    IBible* GetActiveBible() override;
    void GoToReference(int verse) override { host_->GoToVerse(verse); }
    int GetActiveBibleIndex() override { return host_->GetBibleIndex(); }

    // AVoKv61MarkedVersesSink
    void OnMarksChanged() override;
    void OnMarksVisibilityChanged() override;

private:
    // Creation (FrameCreate.cpp).
    int OnCreate(const ry::CreateStruct& cs);
    bool CreateToolbar();
    bool CreateSelectors();
    bool CreateHitsCombo();
    void FillTranslationMenu();
    void FillLibraryMenu();
    bool ChooseStartPosition(const char* commandLine, VoBiblePosition* start);
    void EnableManualCommand();
    void CreatePanes();

    // Window messages (MainFrame.cpp).
    int OnCreateFrame(const ry::CreateStruct& cs);
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnActivate(WPARAM wParam, LPARAM);
    void OnDestroy();
    void OnGetMinMaxInfo(MINMAXINFO& info);
    LRESULT OnCopyData(WPARAM, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnEndSession(WPARAM ending, LPARAM lParam);
    void SaveSettings();
    void Layout();

    // Commands and notifications (FrameCommands.cpp).
    void OnFrameCommand(UINT id, UINT code, HWND control);
    bool RouteCommand(WPARAM wParam, LPARAM lParam);
    void OnTranslation(UINT id, UINT, HWND);
    void OnLibrary(UINT id, UINT, HWND);
    void OnReference(UINT id, UINT, HWND);
    void OnSelectorChosen(UINT id, UINT code, HWND);
    void OnSearch();
    void OnOptions();
    void OnShowReferences();
    void OnCloseLevel();
    void OnMarkSelection();
    void OnMarkingCommand(UINT id);
    void TogglePane(UINT id);
    void MoveFocus(bool forward);
    LRESULT OnSpin(NMHDR& header);
    LRESULT OnPaneNotify(NMHDR& header);
    void SetLibrary(int k);

    // Selectors and menus (FrameSelectors.cpp).
    void FillTranslationBox();
    void RebuildReferencesMenu();
    HMENU FindPopupOf(UINT id) const;
    void RadioCheckTranslation(int index);
    void RadioCheckLibrary(int k);

    // Help (FrameHelp.cpp).
    LRESULT OnEnterMenuLoop(WPARAM isTrackPopup, LPARAM);
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);
    LRESULT OnToolTip(NMHDR& header);
    bool GetDynamicHelp(UINT id, char* buffer, int size);
    UINT GetStaticHelpId(UINT id);
    UINT MenuHelpId();

    HWND Item(UINT id) const { return ::GetDlgItem(hwnd_, static_cast<int>(id)); }
    // A box or spinner of the toolbar (its children: they stand in its separators).
    HWND Selector(UINT id) const { return ::GetDlgItem(toolbar_, static_cast<int>(id)); }
    bool MarkingsShown() const { return marks_.IsVisible(); }

    ComPtr<AVoBibleWindow> hostHolder_;
    AVoBibleWindow* host_;
    FontHandle frameFont_;
    ImageListHandle images_, hotImages_, disabledImages_;
    HWND toolbar_ = nullptr;
    VoToolbarRelay toolbarRelay_;
    HWND status_ = nullptr;
    VoDroppedReferenceReader referenceReader_;
    VoMultiWnd multiWnd_;
    VoLexWnd lexWnd_;
    VoDockedPaneState multi_;
    VoDockedPaneState lexicon_;
    VoBibleInfoList bibles_;
    VoKv61MarkedVerses marks_;
    VoRefLibList refLibs_;
    UINT referenceFormat_ = 0;
    ComPtr<IBibleRefLib> refLib_;
    char selectorBible_[32] = {};
    VoViewSettings settings_;
    bool inMenuLoop_ = false;
    // WM_CREATE made the whole frame: only then does it hold a place of the reader's to save.
    bool complete_ = false;
    ComPtr<IBibleStat> startStat_;
    BitmapHandle backCheck_, forwardCheck_;
};
