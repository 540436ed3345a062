// VoBibleWindowHost: the child window of the main frame that holds one to six bible panes
// side by side. It is itself an AVoBibleWindow: most operations go to the active pane (the
// one whose text window has the focus), a few to every pane, and the pane commands (new,
// next, previous, close) are its own. With more than one pane it paints a caption strip
// with each pane's position and a close button, and 6-pixel splitters between the panes.
#pragma once
#include <windows.h>
#include "BibleWindow.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "Handles.h"
#include "RyWindowImpl.h"
#include "Tracking.h"
#include "UserHandles.h"

// Commands of the host.
constexpr UINT kCmdNewPane = 2401;
constexpr UINT kCmdNextPane = 32793;
constexpr UINT kCmdPreviousPane = 32794;
constexpr UINT kCmdClosePane = 32797;
// The split cursor resource.
constexpr UINT kIdcSplitCursor = 143;

// Draws a caption's close button: a cross in a square, raised when hot, sunken when pressed.
class VoCloseButtonPainter : public AButtonPainter {
public:
    void Paint(HWND window, const RECT& rect, bool pressed, bool hot) override;
};

class VoBibleWindowHost;
using VoBibleWindowHostWindow =
    RyWindowImpl<VoBibleWindowHost, RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN>>;

class VoBibleWindowHost : public ComObjectRoot, public VoBibleWindowHostWindow, public AVoBibleWindow {
public:
    static constexpr int kMaxPanes = 6;
    static constexpr int kSplitterWidth = 6;
    static constexpr int kMinPaneWidth = 100;
    static constexpr UINT kFirstPaneId = 100;

    // What a point of the client area is on.
    enum HitKind { kHitNothing = 0, kHitCaption = 1, kHitSplitter = 2, kHitCloseButton = 3 };
    struct Hit {
        HitKind kind;
        int index;
    };

    // A host with one pane not yet bound to a client, held by its AVoBibleWindow face.
    static ComPtr<AVoBibleWindow> Create();

    void* QueryPart(REFIID iid);
    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage(HWND) override;

    // AVoBibleWindow
    void Initialize(ABibleWindowClient* client) override;
    bool CreateTextWindow(HWND parent, const RECT* rect, UINT id, const VoBiblePosition* start) override;
    void MoveWindow(const RECT* rect) override;
    void SetBible(int bibleIndex) override { Active()->SetBible(bibleIndex); }
    int GetBibleIndex() override { return Active()->GetBibleIndex(); }
    VoBibleObjects* GetBibleObjects() override { return Active()->GetBibleObjects(); }
    void SetBook(int book) override { Active()->SetBook(book); }
    int GetBook() override { return Active()->GetBook(); }
    void SetChapter(int chapter) override { Active()->SetChapter(chapter); }
    int GetChapter() override { return Active()->GetChapter(); }
    void SetVerse(int verse) override { Active()->SetVerse(verse); }
    int GetVerse() override { return Active()->GetVerse(); }
    void GoToPosition(const VoBiblePosition* position) override { Active()->GoToPosition(position); }
    void GoToVerse(int reference) override { Active()->GoToVerse(reference); }
    void Relayout() override;
    void UpdateFont() override;
    void InvalidateIf(bool repaint) override;
    void Invalidate() override;
    HWND GetTextWindow() override { return Active()->GetTextWindow(); }
    bool CanNavigate(bool back) override { return Active()->CanNavigate(back); }
    void Navigate(bool back) override { Active()->Navigate(back); }
    char* GetNavigationText(bool back, char* buffer, int size) override {
        return Active()->GetNavigationText(back, buffer, size);
    }
    VoBiblePosition* GetPosition(VoBiblePosition* out) override { return Active()->GetPosition(out); }
    bool HandleCommand(UINT command) override;
    int GetSelectionKind() override { return Active()->GetSelectionKind(); }
    bool IsSelectionMarked() override { return Active()->IsSelectionMarked(); }
    void MarkSelection(bool on) override { Active()->MarkSelection(on); }

    // For tests and the frame's layout.
    int GetPaneCount() const { return count_; }
    int GetActiveSlot() const { return active_; }
    AVoBibleWindow* GetPane(int slot) const { return slot >= 0 && slot < count_ ? panes_[slot].Get() : nullptr; }
    double GetFraction(int slot) const { return fractions_[slot]; }
    // The widths of the panes in a client area width wide.
    void PaneWidths(int width, int* widths) const;
    int CaptionHeight();
    RECT CaptionRect(int slot);
    RECT CloseButtonRect(int slot);
    Hit HitTest(POINT point);

protected:
    VoBibleWindowHost();
    ~VoBibleWindowHost() override;

private:
    // The client of one pane slot: passes everything on to the host's client, and the
    // flags of the active pane only.
    class DelegatingClient : public ABibleWindowClient {
    public:
        void Bind(VoBibleWindowHost* host, int slot) {
            host_ = host;
            slot_ = slot;
        }
        void OnActiveWindowChanged(unsigned flags) override;
        IBibleRefLib* GetRefLib() override;
        VoViewSettings* GetViewSettings() override;
        void SetStatusText(const char* text) override;
        VoBibleInfoList* GetBibleList() override;
        VoKv61MarkedVerses* GetMarkedVerses() override;
        AVoLexicon* GetLexiconWindow() override;
        UINT GetReferenceFormat() override;
        void EnableCommand(UINT id, unsigned where, bool enable) override;
        void CheckCommand(UINT id, unsigned where, bool check) override;

    private:
        VoBibleWindowHost* host_ = nullptr;
        int slot_ = 0;
    };

    // The active pane, or the first while none is (an AVoBibleWindow that does nothing
    // when there is no pane at all).
    AVoBibleWindow* Active();
    void Layout(int width, int height);
    void LayoutClient();
    void Activate(int slot);
    void ClosePane(int slot);
    void NewPane();
    void FocusPane(int slot);
    void RepaintCaptions();
    HFONT CaptionFont(bool bold);
    void DrawCloseButton(int slot, bool pressed, bool hot);
    void DragSplitter(int splitter, int pointerX);

    int OnCreate(const ry::CreateStruct& cs);
    void OnSize(UINT, int cx, int cy) { Layout(cx, cy); }
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    void OnPaint();
    bool OnSetCursor(HWND window, UINT hitTest, UINT);
    void OnMouseMove(UINT, POINT point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void OnLButtonDown(UINT, POINT point);
    LRESULT OnNotify(NMHDR& header);

    ABibleWindowClient* client_ = nullptr;
    ComPtr<AVoBibleWindow> panes_[kMaxPanes];
    double fractions_[kMaxPanes] = {};
    DelegatingClient clients_[kMaxPanes];
    int count_ = 0;
    int active_ = -1;
    int hot_ = -1;
    const VoBiblePosition* start_ = nullptr;
    CursorHandle splitCursor_;
    FontHandle captionFont_, boldCaptionFont_;
    bool captionFontsMade_ = false;
    bool ownsWindowReference_ = false;
};
