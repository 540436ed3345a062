// A bible pane for tests and benchmarks: the item server over the build's KJV sample bible
// and WEB reference library, shown in a real text window of VoView.dll.
#pragma once
#include <windows.h>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "BibleItemServer.h"
#include "TestFiles.h"
#include "VoUtil.h"

class KjvPane : public CVoBibleItemServer {
public:
    KjvPane() {
        ComPtr<INewBible> bible;
        if (SUCCEEDED(OpenNewBibleFile(WinePath(VERSILO_KJV_BIBLE).c_str(), bible.Put()))) objects_.Attach(bible.Get());
        OpenBibleRefLibFile(WinePath(VERSILO_WEB_REFLIB).c_str(), refLib_.Put());
        record_.SetFlagBit0(true);
        record_.SetFlagBit1(true);
        record_.SetFlagBit2(true);
        context_.SetBibleRecord(&record_);
    }

    bool IsOpen() const { return !objects_.IsEmpty(); }
    const VoBibleObjects& Objects() const { return objects_; }
    void SetSettings(VoViewSettings* settings) { context_.SetViewSettings(settings); }
    VoBibleInfo& Record() { return record_; }
    void SetWindow(HWND window) { textWindow_ = window; }
    void DropBible() { objects_.Clear(); }
    std::set<int>& Marked() { return marked_; }
    int measured = 0;
    bool dropTarget = false;  // offered to the text window as its drop target

    // IUnknown: lives on the caller's stack; counts only.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IVoItemServer) *out = static_cast<IVoItemServer*>(this);
        else if (iid == IID_IVoBibleTextWindowSink) *out = static_cast<IVoBibleTextWindowSink*>(this);
        else if (iid == IID_IDropTarget && dropTarget) *out = static_cast<IDropTarget*>(this);
        else return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }

    void STDMETHODCALLTYPE MeasureItem(HDC dc, int item, int width, int* units, int* height) override {
        ++measured;
        CVoBibleItemServer::MeasureItem(dc, item, width, units, height);
    }

    // The pane's navigation, as the text window sees it.
    void SetBook(int book) override {
        book_ = book;
        chapter_ = -1;
        firstVerse_ = book >= 0 ? objects_.GetLangStat()->RefToVerseIndex(book, 0, 0) : -1;
        if (textWindow_) {
            SendMessageA(textWindow_, TWM_RELOADITEMS, 0, 0);
            SendMessageA(textWindow_, TWM_SHOWRANGE, 0, 0);
        }
    }
    void SetChapter(int chapter) override {
        chapter_ = chapter;
        if (!textWindow_) return;
        SendMessageA(textWindow_, TWM_RELOADITEMS, 0, 0);
        const int first = chapter >= 0 ? objects_.GetLangStat()->RefToVerseIndex(book_, chapter, 0) - firstVerse_ : 0;
        SendMessageA(textWindow_, TWM_SHOWRANGE, static_cast<WPARAM>(first), static_cast<LPARAM>(-1));
    }
    IBibleRefLib* GetRefLib() override { return refLib_.Get(); }
    AVoLexicon* GetLexiconWindow() override { return lexicon; }
    UINT GetReferenceFormat() override { return RegisterClipboardFormatA("VersiloReference"); }
    bool IsVerseMarked(int linearVerse) override { return marked_.count(linearVerse) != 0; }
    void OnCaretMoved(int) override {}
    void OnSelectionMoved() override {}
    void SetStatusText(const char* text) override { status = text ? text : ""; }
    void GoToVerse(int reference) override { wentTo.push_back(reference); }
    void RunGoToDialog(char character) override { goToTyped.push_back(character); }
    HWND ShowLinkPopup(const RECT&, POINT, const char* title, const char* text) override {
        popupTitle = title;
        popupText = text;
        return nullptr;
    }
    UINT TrackArticleMenu(HMENU menu) override {
        return trackMenu ? trackMenu(menu) : CVoBibleItemServer::TrackArticleMenu(menu);
    }

    // What the pane was told and asked, for the tests.
    AVoLexicon* lexicon = nullptr;
    std::string status;
    std::string popupTitle, popupText;
    std::vector<int> wentTo;
    std::vector<char> goToTyped;
    std::function<UINT(HMENU)> trackMenu;

    // The first item of a chapter of the current book.
    int ChapterItem(int chapter) const {
        return objects_.GetLangStat()->RefToVerseIndex(book_, chapter, 0) - firstVerse_;
    }
    int VersesIn(int chapter) const { return objects_.GetLangStat()->GetVersesInChapter(book_, chapter); }

private:
    LONG refs_ = 1;
    ComPtr<IBibleRefLib> refLib_;
    VoBibleInfo record_;
    std::set<int> marked_;
};
