// A stand-in for the bible panes' host in the main window's tests: it keeps a position over
// the installed-bible list of its client, makes a plain child window as its text window and
// records what the frame asked of it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "BibleInfoList.h"
#include "BibleObjects.h"
#include "BibleWindow.h"

class FakeBibleWindow : public AVoBibleWindow {
public:
    // IUnknown: the test owns the object; the counts only have to balance.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_AVoBibleWindow) return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

    void Initialize(ABibleWindowClient* c) override {
        client = c;
        if (c && c->GetBibleList()->GetCount() > 0) Show({0, -1, -1, -1});
    }
    bool CreateTextWindow(HWND parent, const RECT* rect, UINT id, const VoBiblePosition* start) override {
        createdId = id;
        startGiven = start != nullptr;
        if (start) {
            startPosition = *start;
            Show(*start);
        }
        text = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect->left, rect->top,
                               rect->right - rect->left, rect->bottom - rect->top, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        return text != nullptr && !failCreate;
    }
    void MoveWindow(const RECT* rect) override {
        hostRect = *rect;
        if (text) ::MoveWindow(text, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    }
    void SetBible(int index) override { Log("SetBible", index); Show({index, position.book, position.chapter, position.verse}); }
    int GetBibleIndex() override { return position.bibleIndex; }
    VoBibleObjects* GetBibleObjects() override { return objects.IsEmpty() ? nullptr : &objects; }
    void SetBook(int book) override { Log("SetBook", book); Show({position.bibleIndex, book, -1, -1}); }
    int GetBook() override { return position.book; }
    void SetChapter(int chapter) override { Log("SetChapter", chapter); Show({position.bibleIndex, position.book, chapter, chapter >= 0 ? 0 : -1}); }
    int GetChapter() override { return position.chapter; }
    void SetVerse(int verse) override { position.verse = verse; }
    int GetVerse() override { return position.verse; }
    void GoToPosition(const VoBiblePosition* p) override { Log("GoToPosition", p->verse); Show(*p); }
    void GoToVerse(int reference) override { Log("GoToVerse", reference); }
    void Relayout() override { Log("Relayout", 0); }
    void UpdateFont() override { Log("UpdateFont", 0); }
    void InvalidateIf(bool repaint) override { Log("InvalidateIf", repaint); }
    void Invalidate() override {}
    HWND GetTextWindow() override { return text; }
    bool CanNavigate(bool back) override { return back ? canBack : canForward; }
    void Navigate(bool back) override { Log("Navigate", back); }
    char* GetNavigationText(bool back, char* buffer, int size) override {
        if (!CanNavigate(back)) return nullptr;
        lstrcpynA(buffer, "Joh 3", size);
        return buffer;
    }
    VoBiblePosition* GetPosition(VoBiblePosition* out) override {
        *out = position;
        return out;
    }
    bool HandleCommand(UINT command) override {
        if (command == createdId) return false;  // notifications of the stand-in text window
        Log("HandleCommand", static_cast<int>(command));
        return command == 2401 || command == 32793 || command == 32794 || command == 32797 || command == 2002 ||
               command == 2006;
    }
    int GetSelectionKind() override { return selectionKind; }
    bool IsSelectionMarked() override { return selectionMarked; }
    void MarkSelection(bool on) override {
        Log("MarkSelection", on);
        selectionMarked = on;
    }

    // "Name(argument)" of every call worth checking, in order.
    std::vector<std::string> calls;
    void Log(const char* name, int argument) { calls.push_back(std::string(name) + "(" + std::to_string(argument) + ")"); }
    std::string LastCall() const { return calls.empty() ? "" : calls.back(); }

    void Show(const VoBiblePosition& p) {
        position = p;
        objects.Clear();
        if (client && p.bibleIndex >= 0 && p.bibleIndex < client->GetBibleList()->GetCount()) {
            IBible* bible = client->GetBibleList()->GetAt(p.bibleIndex).GetBible();
            if (bible) {
                objects.Attach(bible);
                bible->Release();
            }
        }
        if (client) client->OnActiveWindowChanged(kBibleChanged | kBookChanged | kChapterChanged | kVerseChanged);
    }

    long references = 1;
    ABibleWindowClient* client = nullptr;
    VoBibleObjects objects;
    VoBiblePosition position;
    VoBiblePosition startPosition;
    bool startGiven = false;
    UINT createdId = 0;
    bool failCreate = false;
    HWND text = nullptr;
    RECT hostRect = {};
    bool canBack = false, canForward = false;
    int selectionKind = kSelectionNone;
    bool selectionMarked = false;
};
