// The marking commands with their prompts answered from a script: import with its
// question, export and import failures told by the file's name, clearing after a yes, and
// the next and previous marked verse from a pane's position.
#include <gtest/gtest.h>
#include <deque>
#include <string>
#include <vector>
#include "BibleInfoList.h"
#include "BibleObjects.h"
#include "BibleWindow.h"
#include "MarkCommands.h"
#include "MarkingsFixture.h"

namespace {

// Answers the prompts from a script and keeps every message shown.
struct ScriptedPrompts : AMarkingPrompts {
    bool ChooseExportPath(char* path, int size) override { return Choose(path, size); }
    bool ChooseImportPath(char* path, int size) override { return Choose(path, size); }
    int ShowMessage(const char* text, UINT type) override {
        messages.push_back(text);
        types.push_back(type);
        int answer = answers.empty() ? IDOK : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
    bool Choose(char* path, int size) {
        if (chosen.empty()) return false;
        lstrcpynA(path, chosen.c_str(), size);
        return true;
    }
    void Forget() {
        messages.clear();
        types.clear();
    }
    std::string chosen;  // empty: the dialog is cancelled
    std::deque<int> answers;
    std::vector<std::string> messages;
    std::vector<UINT> types;
};

// A pane that only reports a position and records where it is sent.
class PositionedPane : public AVoBibleWindow {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void Initialize(ABibleWindowClient*) override {}
    bool CreateTextWindow(HWND, const RECT*, UINT, const VoBiblePosition*) override { return false; }
    void MoveWindow(const RECT*) override {}
    void SetBible(int) override {}
    int GetBibleIndex() override { return position.bibleIndex; }
    VoBibleObjects* GetBibleObjects() override { return nullptr; }
    void SetBook(int) override {}
    int GetBook() override { return position.book; }
    void SetChapter(int) override {}
    int GetChapter() override { return position.chapter; }
    void SetVerse(int) override {}
    int GetVerse() override { return position.verse; }
    void GoToPosition(const VoBiblePosition*) override {}
    void GoToVerse(int reference) override { visited.push_back(reference); }
    void Relayout() override {}
    void UpdateFont() override {}
    void InvalidateIf(bool) override {}
    void Invalidate() override {}
    HWND GetTextWindow() override { return nullptr; }
    bool CanNavigate(bool) override { return false; }
    void Navigate(bool) override {}
    char* GetNavigationText(bool, char*, int) override { return nullptr; }
    VoBiblePosition* GetPosition(VoBiblePosition* out) override {
        *out = position;
        return out;
    }
    bool HandleCommand(UINT) override { return false; }
    int GetSelectionKind() override { return kSelectionNone; }
    bool IsSelectionMarked() override { return false; }
    void MarkSelection(bool) override {}

    VoBiblePosition position;
    std::vector<int> visited;
};

class MarkCommandsTest : public MarkingsTest {
protected:
    void SetUp() override {
        MarkingsTest::SetUp();
        ASSERT_EQ(S_OK, store.Load(nullptr));
    }
    std::string MarkFile(const char* name, std::initializer_list<int> verses) {
        std::string data(4, '\0');
        for (int v : verses) data[static_cast<size_t>(v / 8)] |= static_cast<char>(1 << (v % 8));
        std::string file = std::string("\x01\0\0\0\x04\0\0\0", 8) + data;
        EXPECT_TRUE(WriteWholeFile(dir.File(name), file));
        return dir.File(name);
    }

    TempDir dir;
    VoKv61MarkedVerses store;
    ScriptedPrompts prompts;
};

TEST_F(MarkCommandsTest, ImportAsksToMergeOnlyWhenThereAreMarkings) {
    const std::string five = MarkFile("fem.vrsv", {5});
    EXPECT_TRUE(ImportMarkingsFrom(store, five.c_str(), prompts));
    EXPECT_TRUE(prompts.messages.empty()) << "an empty store is replaced without a question";
    store.SetMarked(7, true);

    struct Case {
        int answer;
        bool imported;
        std::set<int> after;
    };
    const Case cases[] = {{IDCANCEL, false, {5, 7}}, {IDYES, true, {5, 7}}, {IDNO, true, {5}}};
    for (const Case& c : cases) {
        store.ClearAll();
        store.SetMarked(7, true);
        store.SetMarked(5, true);
        const std::string only5 = MarkFile("fem.vrsv", {5});
        prompts.Forget();
        prompts.answers = {c.answer};
        EXPECT_EQ(c.imported, ImportMarkingsFrom(store, only5.c_str(), prompts)) << c.answer;
        EXPECT_EQ(c.after, MarkedIn(store.GetBits())) << c.answer;
        ASSERT_EQ(1u, prompts.messages.size());
        EXPECT_NE(std::string::npos, prompts.messages[0].find("'fem.vrsv'?")) << prompts.messages[0];
        EXPECT_EQ(std::string::npos, prompts.messages[0].find(dir.Path())) << "the name, not the folder";
        EXPECT_NE(std::string::npos, prompts.messages[0].find("\n\nJa: ")) << "followed by the choices";
        EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONEXCLAMATION), prompts.types[0]);
    }
}

TEST_F(MarkCommandsTest, FailuresAreToldByTheFilesName) {
    store.SetMarked(7, true);
    ASSERT_TRUE(WriteWholeFile(dir.File("skadet.vrsv"), std::string("\x02\0\0\0\0\0\0\0", 8)));
    prompts.answers = {IDYES, IDOK};
    EXPECT_FALSE(ImportMarkingsFrom(store, dir.File("skadet.vrsv").c_str(), prompts));
    ASSERT_EQ(2u, prompts.messages.size());
    EXPECT_EQ("Klarte ikke importere fargemarkeringene fra 'skadet.vrsv'.", prompts.messages[1]);
    EXPECT_EQ((std::set<int>{7}), MarkedIn(store.GetBits()));

    prompts.Forget();
    EXPECT_FALSE(ExportMarkingsTo(store, dir.File("borte\\ut.vrsv").c_str(), prompts));
    ASSERT_EQ(1u, prompts.messages.size());
    EXPECT_EQ("Klarte ikke eksportere fargemarkeringene til 'ut.vrsv'.", prompts.messages[0]);
    EXPECT_EQ(UINT(MB_OK), prompts.types[0]);

    // A cancelled dialog does nothing and tells nothing.
    prompts.Forget();
    EXPECT_FALSE(ExportMarkings(store, prompts));
    EXPECT_FALSE(ImportMarkings(store, prompts));
    EXPECT_TRUE(prompts.messages.empty());
    prompts.chosen = dir.File("ut.vrsv");
    EXPECT_TRUE(ExportMarkings(store, prompts));
    store.SetMarked(9, true);
    prompts.answers = {IDNO};
    EXPECT_TRUE(ImportMarkings(store, prompts));
    EXPECT_EQ((std::set<int>{7}), MarkedIn(store.GetBits()));
}

TEST_F(MarkCommandsTest, ClearingTakesAYes) {
    store.SetMarked(7, true);
    prompts.answers = {IDNO};
    EXPECT_FALSE(ClearMarkings(store, prompts));
    EXPECT_FALSE(store.IsEmpty());
    prompts.answers = {IDYES};
    EXPECT_TRUE(ClearMarkings(store, prompts));
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONEXCLAMATION), prompts.types[0]);
}

TEST_F(MarkCommandsTest, NextAndPreviousStartAtTheEdgeOfTheSelection) {
    VoBibleInfoList list;
    PositionedPane pane;
    pane.position.bibleIndex = list.FindByShortName("FELLES");
    ASSERT_LT(pane.position.bibleIndex, list.GetCount());
    pane.position.book = 0;
    pane.position.chapter = 0;
    pane.position.verse = 0;
    // Genesis 1:2, 1:5 and 1:8 marked; items are the verses of Genesis.
    for (int v : {1, 4, 7}) store.SetMarked(v, true);
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(list.GetAt(pane.position.bibleIndex).GetBible());
    VoBibleObjects objects(bible.Get());
    ASSERT_FALSE(objects.IsEmpty());

    struct Case {
        const char* what;
        int caret, begin, end;
        bool next;
        int verse;  // of Genesis 1, zero-based
    };
    const Case cases[] = {
        {"next from inside a selection", 3, 2, 6, true, 7},
        {"previous from inside a selection", 5, 2, 6, false, 1},
        {"next from the selection's last item", 5, 2, 6, true, 7},
        {"next without a selection", 3, 0, 0, true, 4},
        {"previous without a selection", 3, 0, 0, false, 1},
        {"next with the caret outside the selection", 3, 0, 2, true, 4},
    };
    for (const Case& c : cases) {
        pane.position.caretItem = c.caret;
        pane.position.selectionBegin = c.begin;
        pane.position.selectionEnd = c.end;
        pane.visited.clear();
        GoToMarkedVerse(pane, list, store, c.next, prompts);
        ASSERT_EQ(1u, pane.visited.size()) << c.what;
        EXPECT_EQ(objects.MakeIndex(0, 0, c.verse), pane.visited[0]) << c.what;
    }
    EXPECT_TRUE(prompts.messages.empty());

    // Nothing after the selection: the reader is told the start verse.
    pane.visited.clear();
    pane.position.caretItem = 7;
    pane.position.selectionBegin = 6;
    pane.position.selectionEnd = 9;
    GoToMarkedVerse(pane, list, store, true, prompts);
    EXPECT_TRUE(pane.visited.empty());
    ASSERT_EQ(1u, prompts.messages.size());
    EXPECT_EQ("Du har ikke fargemarkert noen vers etter 1 Mos 1:9.", prompts.messages[0]);

    // Above the verse level, or with no bible, nothing happens.
    prompts.Forget();
    pane.position.chapter = -1;
    GoToMarkedVerse(pane, list, store, true, prompts);
    pane.position.chapter = 0;
    pane.position.bibleIndex = list.GetCount();
    GoToMarkedVerse(pane, list, store, false, prompts);
    EXPECT_TRUE(pane.visited.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
