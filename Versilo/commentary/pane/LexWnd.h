// VoLexWnd: the docked commentary pane of the main window. It shows one entry of one open
// commentary or lexicon at a time: a chooser of the open commentaries, a title box of the
// chosen one's entries, seven buttons (lock, home, edit, new, delete, rename, back), the
// article view for reading and the edit box for writing, and a history of the articles shown
// before. The bible panes reach it as AVoLexicon; it reaches the main frame through
// AVoLexWndHost.
//
// What the reader typed is saved before every way of leaving the entry (title box, chooser,
// back, new, rename, delete, the titles dialog, a link, closing the pane, the end of the
// session). A save that fails stops the switch, keeps the text in the edit box and says so.
#pragma once
#include <windows.h>
#include "ArticleFinder.h"
#include "BmpBtn.h"
#include "DockedWnd.h"
#include "LexEditWnd.h"
#include "LexHistory.h"
#include "LexTextWnd.h"
#include "LexiconInterfaces.h"
#include "LexiconList.h"
#include "UserHandles.h"
#include "VirtualCombo.h"

class AReferenceReader;

// Control ids of the pane's children.
enum : UINT {
    kLexChooserId = 1000,
    kLexTitleBoxId = 1001,
    kLexEditId = 1002,
    kLexViewId = 1003,
    kLexLockId = 1004,
    kLexHomeId = 1005,
    kLexEditModeId = 1006,
    kLexNewId = 1007,
    kLexDeleteId = 1008,
    kLexRenameId = 1009,
    kLexBackId = 1010,
};
constexpr UINT kLexPaneId = 5000;               // the pane's own child id in the frame
constexpr UINT kCmdLexTitles = 2201;            // the known-commentaries dialog
constexpr UINT kLexSelectRemembered = 2025;     // posted: select the chooser's commentary
constexpr int kLexButtonCount = 7;
// The message when a text holds characters the notes file cannot keep.
constexpr UINT kIdsTextNotInCodePage = 240;

class VoLexWnd : public VoDockedWnd<VoLexWnd>,
                 public AVoLexicon,
                 public AVoLexTextWndHost,
                 public ADropTargetOwner {
public:
    // host (borrowed) plays the main frame; controlFont (borrowed, may be null) is the
    // chooser's and title box's font; reader (borrowed, may be null) reads dropped references.
    VoLexWnd(AVoLexWndHost* host, HFONT controlFont, AReferenceReader* reader = nullptr);
    ~VoLexWnd() override;
    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Saves what was typed, the commentaries' changes and the pane's settings, as the pane
    // does when it closes; false (after telling the reader) when the typed text or the
    // commentary could not be saved.
    bool SaveBeforeClosing();
    // The enabled controls the frame cycles the focus through; answers their count.
    int GetFocusWindows(HWND* windows, int capacity);

    // AVoLexicon
    ArticleHandle FindArticleForKey(bool allCommentaries, const char* key, ArticleHandle after) override;
    ArticleHandle FindArticleForVerse(bool allCommentaries, IBibleStat* source, int verse, bool exactOnly,
                                      ArticleHandle after) override;
    void ShowArticle(ArticleHandle article, int verse, IBibleStat* source) override;
    bool IsIndexLocked() override { return indexLocked_; }
    void GetArticleTitle(ArticleHandle article, bool withCommentaryName, char* buffer, int size) override;
    // AVoLexTextWndHost
    void GetReferenceText(const char* reference, char* buffer, int size) override;
    void GoToBibleReference(const char* reference) override;
    void OpenLexiconReference(const char* title) override;
    void OnPageLoaded() override;
    // ADropTargetOwner
    UINT GetReferenceFormat() override { return host_->GetReferenceFormat(); }
    void GetLexiconBibleStat(ComPtr<IBibleStat>* out) override;
    void GetLexiconLangStat(ComPtr<IBibleLangStat>* out) override;

    // State the tests and the frame look at.
    VoLexiconList& List() { return list_; }
    const VoLexHistory& History() const { return history_; }
    int ShownPosition() const { return shown_; }
    bool IsEditing() const;
    bool IsTextChanged() const { return textChanged_; }
    RyVirtualCombo& TitleBox() { return titles_; }
    VoLexTextWnd& ArticleView() { return view_; }
    HWND EditBox() const { return edit_.Handle(); }
    HWND Chooser() const { return chooser_; }
    HWND Button(UINT id) const { return ::GetDlgItem(Handle(), static_cast<int>(id)); }

private:
    // Window messages (LexWnd.cpp).
    int OnCreate(const ry::CreateStruct&);
    bool CreateButtons(const RECT& inner);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnSetFont(HFONT font, bool redraw);
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font_); }
    void OnDestroy();
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM) { return 0; }
    void OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnFollowLink(WPARAM bible, LPARAM text);
    LRESULT OnSelectRemembered(WPARAM, LPARAM);
    void BuildImageLists();
    void SetButtonImage(UINT id, int image);
    void ShowEditRow(bool show);
    void RunTitlesDialog();
    void SaveSettings();
    void OnToggleLock();
    void OnHome();

    // Commentaries and entries (LexWndEntries.cpp).
    void FillChooser();
    void SelectMostRecent();
    bool SelectChooserItemFor(int index);
    bool SelectChooserCommentary(int position);
    void UpdateHomeEntry();
    void ShowSelectedEntry();
    // Writes what was typed into the shown entry; false when it was not written: a failure
    // has been told, a refusal of the code-page warning was the reader's own answer.
    bool SaveEditedText();
    bool SaveCommentary();
    bool SaveAll();
    bool ReportFailedTextSave();
    bool CanChangeCurrent() const;
    bool CurrentReadOnly() const;
    void SetEditing(bool on);
    void ApplyEditingMode();
    void OnEditButton();
    void UpdateTitleButtons();
    void EnableButton(UINT id, bool enable);
    void OnNewEntry();
    void OnDeleteEntry();
    void OnRenameEntry();
    void AfterEntriesChanged(int position);
    bool PushHistory();
    void OnBack();
    void ShowAt(int index, int position, int verse, const VoLexViewState* view);
    VoLexViewState CurrentViewState();
    void ApplyViewState(const VoLexViewState& view);
    IVoLexicon* Current() const;
    VoLexiconItem* CurrentItem();

    HFONT font_ = nullptr;
    AVoLexWndHost* host_;
    HFONT controlFont_;
    AReferenceReader* reader_;
    VoLexiconList list_;
    VoArticleFinder finder_{list_};
    int shown_ = -1;
    ComPtr<IVirtualListItemProvider> provider_;
    bool textChanged_ = false;
    bool indexLocked_ = true;
    bool editing_ = false;   // the controls show editing mode (the edit box)
    bool readOnly_ = true;   // the edit button shows a commentary that cannot be changed
    ComPtr<IDropTarget> editDrop_;
    ComPtr<IDropTarget> titleDrop_;
    ImageListHandle buttonImages_;
    ImageListHandle titleImages_;
    ImageListHandle chooserImages_;
    HWND chooser_ = nullptr;
    RyVirtualCombo titles_;
    VoBmpBtn buttons_[kLexButtonCount];
    VoLexEditWnd edit_;
    VoLexTextWnd view_;
    int pendingVerse_ = 0;
    bool hasPendingView_ = false;
    VoLexViewState pendingView_;
    // The remembered commentary is selected in the chooser and waits to be opened (2025).
    bool rememberedPending_ = false;
    int buttonSize_ = 20;
    int editRowHeight_ = 0;
    bool editRowShown_ = true;
    VoLexHistory history_;
};
