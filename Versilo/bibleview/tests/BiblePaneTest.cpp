// One bible pane over the KJV sample and a bible of the sample variant numbering, in real
// text windows: the levels and their change flags, the history, references gone to, a
// translation switched at the verse level, a bible that will not open, stored positions
// that don't fit, the client let go, and the popup of a cross-reference the pointer rests on.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "PanesFixture.h"
#include "PopupText.h"
#include "MessageText.h"
#include "PositionHistory.h"
#include "SimpleBibleWindow.h"

namespace {

constexpr int kGenesis = 0, kPsalms = 18, kJoel = 28, kJohn = 42;

VoBiblePosition At(int bible, int book, int chapter, int verse) {
    VoBiblePosition p;
    p.bibleIndex = bible;
    p.book = book;
    p.chapter = chapter;
    p.verse = verse;
    return p;
}

TEST(PositionHistory, FortyEntriesRingAndPushDropsWhatIsAhead) {
    VoPositionHistory h;
    EXPECT_FALSE(h.CanGo(true));
    EXPECT_FALSE(h.CanGo(false));
    for (int i = 0; i < 41; ++i) h.Push(At(0, i, -1, -1));
    // The 41st push overwrote the first entry: 39 steps back remain.
    int steps = 0;
    VoBiblePosition here = At(0, 99, -1, -1);
    while (h.CanGo(true)) here = h.Step(true, here), ++steps;
    EXPECT_EQ(39, steps);
    EXPECT_EQ(2, here.book);
    // Forward again to the end, then two back and a push: nothing ahead any more.
    while (h.CanGo(false)) here = h.Step(false, here);
    EXPECT_EQ(99, here.book);
    h.Step(true, here);
    here = h.Step(true, At(0, 98, -1, -1));
    ASSERT_TRUE(h.Peek(false));
    h.Push(here);
    EXPECT_FALSE(h.CanGo(false));
    EXPECT_EQ(nullptr, h.Peek(false));
    ASSERT_TRUE(h.Peek(true));
    EXPECT_EQ(here.book, h.Peek(true)->book);
}

// Closes the message box of the thread, inside the box's own loop.
HWND s_box = nullptr;
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (box && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
        s_box = box;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

class BiblePaneTest : public PanesTest {
protected:
    void SetUp() override {
        PanesTest::SetUp();
        client = std::make_unique<FakeClient>();
        kjv = client->Index("KJV");
        var = client->Index("VAR");
        ASSERT_NE(client->list.End(), kjv);
        ASSERT_NE(client->list.End(), var);
        frame = std::make_unique<TestFrame>(520, 420);
        pane = VoSimpleBibleWindow::Create(client.get());
        ASSERT_TRUE(pane);
        RECT rc = frame->Client();
        const VoBiblePosition start = At(kjv, -1, -1, -1);
        ASSERT_TRUE(pane->CreateTextWindow(frame->hwnd, &rc, 100, &start));
        client->flags.clear();
    }
    void TearDown() override {
        if (pane && pane->GetTextWindow()) DestroyWindow(pane->GetTextWindow());
        pane.Reset();
        frame.reset();
    }
    HWND Text() { return pane->GetTextWindow(); }
    int ItemCount() { return static_cast<VoSimpleBibleWindow*>(pane.Get())->GetItemCount(); }
    VoBiblePosition Position() {
        VoBiblePosition p;
        return *pane->GetPosition(&p);
    }
    IBibleStat* Stat() { return pane->GetBibleObjects()->GetStat(); }
    VoSimpleBibleWindow* Pane() { return static_cast<VoSimpleBibleWindow*>(pane.Get()); }
    // The record of a file in other's list, or -1.
    static int IndexOfFile(const FakeClient& other, const char* fileName) {
        for (int i = 0; i < other.list.GetCount(); ++i)
            if (lstrcmpiA(other.list.GetAt(i).GetFileName(), fileName) == 0) return i;
        return -1;
    }
    // A new pane over other's list in place of the fixture's, at KJV John 3.
    void RemakePane(FakeClient& other) {
        DestroyWindow(pane->GetTextWindow());
        pane = VoSimpleBibleWindow::Create(&other);
        kjv = other.Index("KJV");
        RECT rc = frame->Client();
        const VoBiblePosition start = At(kjv, kJohn, 2, 0);
        ASSERT_TRUE(pane->CreateTextWindow(frame->hwnd, &rc, 100, &start));
        ASSERT_EQ(kJohn, pane->GetBook());
    }
    int Ref(int b, int c, int v) { return pane->GetBibleObjects()->MakeIndex(b, c, v); }

    std::unique_ptr<FakeClient> client;
    std::unique_ptr<TestFrame> frame;
    ComPtr<AVoBibleWindow> pane;
    int kjv = -1, var = -1;
};

TEST_F(BiblePaneTest, BookChapterAndVerseLevelsWithTheirFlagsAndHistory) {
    EXPECT_EQ(66, ItemCount());
    EXPECT_EQ(kjv, pane->GetBibleIndex());
    SaveArtifact(Text(), "bible-pane-books.bmp");

    pane->SetBook(kJohn);
    EXPECT_EQ(7u, client->TakeFlags());
    EXPECT_EQ(21, ItemCount());  // the chapters of John
    SaveArtifact(Text(), "bible-pane-chapters.bmp");
    pane->SetBook(kJohn);  // the same book: nothing
    EXPECT_TRUE(client->flags.empty());

    pane->SetChapter(2);
    EXPECT_EQ(3u, client->TakeFlags());
    EXPECT_EQ(0, pane->GetVerse());
    EXPECT_EQ(Stat()->GetVersesInBook(kJohn), ItemCount());
    const int john3 = Stat()->RefToVerseIndex(kJohn, 2, 0) - Stat()->RefToVerseIndex(kJohn, 0, 0);
    EXPECT_EQ(john3, Position().topItem);
    EXPECT_EQ(john3, Position().caretItem);
    SaveArtifact(Text(), "bible-pane-verses.bmp");

    // Another chapter of the same book is not a new history entry; the verse moves nothing.
    pane->SetChapter(5);
    pane->SetVerse(7);
    EXPECT_EQ(1u, client->TakeFlags());
    pane->Navigate(true);
    EXPECT_EQ(kJohn, pane->GetBook());
    EXPECT_EQ(-1, pane->GetChapter());  // back to the chapter list, not to chapter 3
    char text[64];
    ASSERT_TRUE(pane->GetNavigationText(false, text, sizeof text));
    EXPECT_STREQ("Joh 6", text);
    ASSERT_TRUE(pane->GetNavigationText(true, text, sizeof text));
    EXPECT_EQ(nullptr, pane->GetNavigationText(true, nullptr, 0));
    pane->Navigate(true);
    EXPECT_EQ(-1, pane->GetBook());
    EXPECT_FALSE(pane->CanNavigate(true));
    EXPECT_EQ(nullptr, pane->GetNavigationText(true, text, sizeof text));
    pane->Navigate(false);
    pane->Navigate(false);
    EXPECT_EQ(5, pane->GetChapter());
    EXPECT_EQ(0, pane->GetVerse());  // the verse of the caret, at the chapter's start

    // Up one level with the commands of the keyboard, and open again.
    EXPECT_TRUE(pane->HandleCommand(kCmdOpenItem));
    EXPECT_FALSE(pane->HandleCommand(4711));
    static_cast<VoSimpleBibleWindow*>(pane.Get())->OnChar('\b', 1, 0);
    EXPECT_EQ(-1, pane->GetChapter());
    SendMessageA(Text(), TWM_SETCARET, 3, 0);
    static_cast<VoSimpleBibleWindow*>(pane.Get())->OnChar('\r', 1, 0);
    EXPECT_EQ(3, pane->GetChapter());
}

TEST_F(BiblePaneTest, CaretMovesReportVerseAndChapterAndTheSelectionRun) {
    pane->SetBook(kJohn);
    pane->SetChapter(2);
    client->flags.clear();
    auto* p = static_cast<VoSimpleBibleWindow*>(pane.Get());
    const int john3 = Position().caretItem;
    p->OnCaretMoved(john3 + 15);
    EXPECT_EQ(1u, client->TakeFlags());
    EXPECT_EQ(15, pane->GetVerse());
    p->OnCaretMoved(john3 - 1);  // John 2:25
    EXPECT_EQ(3u, client->TakeFlags());
    EXPECT_EQ(1, pane->GetChapter());
    p->OnCaretMoved(john3 - 1);
    EXPECT_TRUE(client->flags.empty());
    p->OnSelectionMoved();
    EXPECT_EQ(16u, client->TakeFlags());

    // The selected run around the caret, down to item 0 and no further.
    SendMessageA(Text(), TWM_SELECTRANGE, 0, 4);
    SendMessageA(Text(), TWM_SETCARET, 2, 0);
    VoBiblePosition at = Position();
    EXPECT_EQ(0, at.selectionBegin);
    EXPECT_EQ(4, at.selectionEnd);
    SendMessageA(Text(), TWM_SELECTRANGE, 3, 8);
    SendMessageA(Text(), TWM_SETCARET, 5, 0);
    at = Position();
    EXPECT_EQ(3, at.selectionBegin);
    EXPECT_EQ(8, at.selectionEnd);
    EXPECT_EQ(kSelectionVerses, pane->GetSelectionKind());
    EXPECT_FALSE(pane->IsSelectionMarked());  // no marking store
    SendMessageA(Text(), TWM_SETCARET, 10, 0);
    at = Position();
    EXPECT_EQ(0, at.selectionBegin);
    EXPECT_EQ(0, at.selectionEnd);
}

TEST_F(BiblePaneTest, GoToVerseShowsTheLevelOfTheReferenceAndSelectsItsItems) {
    IBibleHandles* handles = pane->GetBibleObjects()->GetIndexer();
    int johnRange = Ref(kJohn, 2, 15);
    ASSERT_EQ(S_OK, handles->ExtendRef(&johnRange, kJohn, 2, 17));
    int psalmOpen = Ref(kPsalms, 118, 0);  // Psalm 119:1ff: to the end of its section
    ASSERT_EQ(S_OK, handles->MakeFollowingRef(&psalmOpen));
    int books = Ref(kGenesis, -1, -1);
    ASSERT_EQ(S_OK, handles->ExtendRef(&books, 4, -1, -1));
    const int john = Stat()->RefToVerseIndex(kJohn, 0, 0);
    const int psalm119 = Stat()->RefToVerseIndex(kPsalms, 118, 0) - Stat()->RefToVerseIndex(kPsalms, 0, 0);
    struct Case {
        const char* what;
        int ref;
        int book, chapter;
        int begin, end;
    } cases[] = {
        {"a book: its chapter list, all selected", Ref(kJohn, -1, -1), kJohn, -1, 0, 21},
        {"a chapter: its verses", Ref(kJohn, 2, -1), kJohn, 2, Stat()->RefToVerseIndex(kJohn, 2, 0) - john,
         Stat()->RefToVerseIndex(kJohn, 2, 35) - john + 1},
        {"one verse", Ref(kJohn, 2, 15), kJohn, 2, Stat()->RefToVerseIndex(kJohn, 2, 15) - john,
         Stat()->RefToVerseIndex(kJohn, 2, 15) - john + 1},
        {"a counted range", johnRange, kJohn, 2, Stat()->RefToVerseIndex(kJohn, 2, 15) - john,
         Stat()->RefToVerseIndex(kJohn, 2, 17) - john + 1},
        {"an open range: to the next section title", psalmOpen, kPsalms, 118, psalm119, psalm119 + 8},
        {"a range of books: the book list", books, -1, -1, 0, 5},
    };
    for (const Case& c : cases) {
        pane->GoToVerse(c.ref);
        const VoBiblePosition p = Position();
        EXPECT_EQ(c.book, p.book) << c.what;
        EXPECT_EQ(c.chapter, p.chapter) << c.what;
        EXPECT_EQ(c.begin, p.caretItem) << c.what;
        EXPECT_EQ(c.begin, p.selectionBegin) << c.what;
        EXPECT_EQ(c.end, p.selectionEnd) << c.what;
    }
    // Every go-to was a history entry.
    int back = 0;
    while (pane->CanNavigate(true)) pane->Navigate(true), ++back;
    EXPECT_EQ(static_cast<int>(std::size(cases)), back);
}

TEST_F(BiblePaneTest, SwitchingTranslationKeepsTheVerseAcrossNumberings) {
    // KJV Joel 2:30-31 is Joel 3:3-4 in the variant numbering.
    pane->SetBook(kJoel);
    pane->SetChapter(1);
    const int joel230 = Stat()->RefToVerseIndex(kJoel, 1, 29) - Stat()->RefToVerseIndex(kJoel, 0, 0);
    SendMessageA(Text(), TWM_SELECTRANGE, static_cast<WPARAM>(joel230), joel230 + 2);
    SendMessageA(Text(), TWM_SETCARET, static_cast<WPARAM>(joel230), 0);
    static_cast<VoSimpleBibleWindow*>(pane.Get())->OnCaretMoved(joel230);
    client->flags.clear();

    pane->SetBible(var);
    EXPECT_EQ(var, pane->GetBibleIndex());
    EXPECT_EQ(kJoel, pane->GetBook());
    EXPECT_EQ(2, pane->GetChapter());
    EXPECT_EQ(2, pane->GetVerse());
    EXPECT_EQ(kBibleChanged | kChapterChanged | kVerseChanged, client->TakeFlags());
    const int joel33 = Stat()->RefToVerseIndex(kJoel, 2, 2) - Stat()->RefToVerseIndex(kJoel, 0, 0);
    VoBiblePosition p = Position();
    EXPECT_EQ(joel33, p.caretItem);
    EXPECT_EQ(joel33, p.selectionBegin);
    EXPECT_EQ(joel33 + 2, p.selectionEnd);
    char text[256];
    static_cast<VoSimpleBibleWindow*>(pane.Get())->GetItemText(p.caretItem, text, sizeof text, nullptr);
    EXPECT_STREQ("3 Variant 29.3:3", text);

    // Back in the history is the KJV place; forward text names the translation.
    char name[64];
    ASSERT_TRUE(pane->GetNavigationText(true, name, sizeof name));
    EXPECT_STREQ(client->list.GetAt(kjv).GetName(), name);
    pane->Navigate(true);
    EXPECT_EQ(kjv, pane->GetBibleIndex());
    EXPECT_EQ(1, pane->GetChapter());
    EXPECT_EQ(joel230, Position().caretItem);

    // At the book level the book items are converted as books.
    pane->SetBook(-1);
    SendMessageA(Text(), TWM_SETCARET, kJohn, 0);
    pane->SetBible(var);
    EXPECT_EQ(-1, pane->GetBook());
    EXPECT_EQ(kJohn, Position().caretItem);
}

TEST_F(BiblePaneTest, ABibleThatDoesNotOpenChangesNothing) {
    // The damaged "zzz.vrsb" with its names cached in the registry: it is listed, and it
    // does not open.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), "bibles\\zzz", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    RegKey holder(key);
    const DWORD settings = 8 | 3, headers = 0;
    RegSetValueExA(key, "ShortName", 0, REG_SZ, reinterpret_cast<const BYTE*>("ZZZ"), 4);
    RegSetValueExA(key, "LongName", 0, REG_SZ, reinterpret_cast<const BYTE*>("Skadet bibel"), 13);
    RegSetValueExA(key, "Settings", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&settings), 4);
    RegSetValueExA(key, "HasHeaders", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&headers), 4);
    FakeClient withGone;
    const int gone = IndexOfFile(withGone, "zzz.vrsb");
    ASSERT_GE(gone, 0);
    RemakePane(withGone);
    if (HasFatalFailure()) return;
    withGone.flags.clear();
    IBible* before = pane->GetBibleObjects()->GetBible();

    // The message box of the refusal is closed by a timer inside its own loop.
    s_box = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, &CloseMessageBox);
    pane->SetBible(gone);
    KillTimer(nullptr, timer);
    EXPECT_NE(nullptr, s_box) << "no message box";
    EXPECT_EQ(kjv, pane->GetBibleIndex());
    EXPECT_EQ(before, pane->GetBibleObjects()->GetBible());
    EXPECT_EQ(kJohn, pane->GetBook());
    EXPECT_FALSE(pane->CanNavigate(true));
    EXPECT_TRUE(withGone.flags.empty());
    // Nor does a position in it move the pane.
    static_cast<VoSimpleBibleWindow*>(pane.Get())->ShowPosition(At(gone, 0, -1, -1));
    EXPECT_EQ(kjv, pane->GetBibleIndex());
    EXPECT_EQ(kJohn, pane->GetBook());
    DestroyWindow(pane->GetTextWindow());
    pane.Reset();
}

// Message boxes of the thread, each read and closed by a timer inside its own loop.
std::vector<std::string> s_boxTexts;
HWND s_readBox = nullptr;
void CALLBACK ReadAndCloseMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box || box == s_readBox || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) return;
    s_readBox = box;
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's message
    s_boxTexts.push_back(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// The texts of the message boxes that call showed (closed as they came).
template <typename Call>
std::vector<std::string> BoxesOf(Call call) {
    s_boxTexts.clear();
    s_readBox = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ReadAndCloseMessageBox);
    call();
    KillTimer(nullptr, timer);
    return s_boxTexts;
}

// A copy of the variant bible in the scratch Bibles folder while a test runs.
class ScratchBibleCopy {
public:
    explicit ScratchBibleCopy(const std::string& bibles) : path_(bibles + "gone.vrsb") {
        copied_ = CopyFileA((bibles + "variant.vrsb").c_str(), path_.c_str(), FALSE) != FALSE;
    }
    ~ScratchBibleCopy() { DeleteFileA(path_.c_str()); }
    bool Copied() const { return copied_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool copied_;
};

TEST_F(BiblePaneTest, AHistoryEntryWhoseBibleNoLongerOpensIsNotSteppedTo) {
    ScratchBibleCopy file(Bibles());
    ASSERT_TRUE(file.Copied());
    FakeClient withGone;
    const int gone = IndexOfFile(withGone, "gone.vrsb");
    ASSERT_GE(gone, 0);
    RemakePane(withGone);
    if (HasFatalFailure()) return;
    // History: KJV John 3, the copy at John, KJV John; the pane at the Psalms.
    pane->SetBible(gone);
    ASSERT_EQ(gone, pane->GetBibleIndex());
    pane->SetBible(kjv);
    const int chapter = pane->GetChapter();
    ASSERT_EQ(kJohn, pane->GetBook());
    pane->SetBook(kPsalms);
    pane->Navigate(true);
    ASSERT_EQ(kjv, pane->GetBibleIndex());
    ASSERT_EQ(chapter, pane->GetChapter());

    // The copy is damaged, and its record read again: it no longer opens.
    withGone.list.GetAt(gone) = VoBibleInfo();
    ASSERT_TRUE(WriteWholeFile(file.Path(), std::string(4096, 'x')));
    VoBibleInfo reread;
    reread.Load("gone.vrsb");
    withGone.list.GetAt(gone) = reread;
    ASSERT_EQ(nullptr, ComPtr<IBible>::Attach(withGone.list.GetAt(gone).GetBible()).Get());

    char text[kTextCapacity];
    const std::string refusal = FormatResString(text, kIdsCannotOpenBible, withGone.list.GetAt(gone).GetName());
    const VoBiblePosition here = Position();
    char back[64], forward[64];
    ASSERT_TRUE(pane->GetNavigationText(true, back, sizeof back));
    ASSERT_TRUE(pane->GetNavigationText(false, forward, sizeof forward));
    EXPECT_STREQ(withGone.list.GetAt(gone).GetName(), back);
    auto expectStill = [&](const char* what) {
        const VoBiblePosition now = Position();
        EXPECT_EQ(here.bibleIndex, now.bibleIndex) << what;
        EXPECT_EQ(here.book, now.book) << what;
        EXPECT_EQ(here.chapter, now.chapter) << what;
        EXPECT_EQ(here.topItem, now.topItem) << what;
        EXPECT_EQ(here.caretItem, now.caretItem) << what;
        EXPECT_TRUE(pane->CanNavigate(true)) << what;
        EXPECT_TRUE(pane->CanNavigate(false)) << what;
        char nowBack[64], nowForward[64];
        ASSERT_TRUE(pane->GetNavigationText(true, nowBack, sizeof nowBack)) << what;
        ASSERT_TRUE(pane->GetNavigationText(false, nowForward, sizeof nowForward)) << what;
        EXPECT_STREQ(back, nowBack) << what;
        EXPECT_STREQ(forward, nowForward) << what;
    };
    withGone.flags.clear();
    // Back to the copy, twice: each time the reader is told once and nothing moves.
    for (const char* what : {"the first Back", "the second Back"}) {
        EXPECT_EQ(std::vector<std::string>{refusal}, BoxesOf([&] { pane->Navigate(true); })) << what;
        expectStill(what);
    }
    // Nor does a go-to into it leave an entry.
    const VoBiblePosition genesis = At(gone, kGenesis, -1, -1);
    EXPECT_EQ(std::vector<std::string>{refusal}, BoxesOf([&] { pane->GoToPosition(&genesis); }));
    expectStill("a go-to");
    EXPECT_TRUE(withGone.flags.empty());

    // Forward and Back go where they went before.
    EXPECT_TRUE(BoxesOf([&] { pane->Navigate(false); }).empty());
    EXPECT_EQ(kPsalms, pane->GetBook());
    EXPECT_EQ(-1, pane->GetChapter());
    pane->Navigate(true);
    EXPECT_EQ(kJohn, pane->GetBook());
    EXPECT_EQ(chapter, pane->GetChapter());
    DestroyWindow(pane->GetTextWindow());
    pane.Reset();
}

TEST_F(BiblePaneTest, StoredStartPositionsAreCheckedAgainstTheBible) {
    struct Case {
        const char* what;
        VoBiblePosition start;
        bool fits;
    } cases[] = {
        {"John 3:16", [] { VoBiblePosition p = At(0, kJohn, 2, 15); p.topItem = p.caretItem = 90; return p; }(), true},
        {"a book past the last", At(0, 70, -1, -1), false},
        {"a chapter past the book's", At(0, kJohn, 30, 0), false},
        {"a verse past the chapter's", At(0, kJohn, 2, 60), false},
        {"the verse level without a verse", At(0, kJohn, 2, -1), false},
        {"a caret past the items", [] { VoBiblePosition p = At(0, -1, -1, -1); p.caretItem = 66; return p; }(), false},
        {"a selection turned round", [] { VoBiblePosition p = At(0, -1, -1, -1); p.selectionBegin = 5; p.selectionEnd = 2; return p; }(), false},
        {"a bible not installed", At(9, -1, -1, -1), false},
    };
    for (Case& c : cases) {
        if (c.start.bibleIndex == 0) c.start.bibleIndex = kjv;
        ComPtr<AVoBibleWindow> other = VoSimpleBibleWindow::Create(client.get());
        RECT rc = {0, 0, 200, 200};
        ASSERT_TRUE(other->CreateTextWindow(frame->hwnd, &rc, 101, &c.start)) << c.what;
        if (c.fits) {
            EXPECT_EQ(c.start.book, other->GetBook()) << c.what;
            EXPECT_EQ(c.start.chapter, other->GetChapter()) << c.what;
        } else {
            EXPECT_EQ(-1, other->GetBook()) << c.what;
            EXPECT_EQ(-1, other->GetChapter()) << c.what;
            VoBiblePosition p;
            other->GetPosition(&p);
            EXPECT_EQ(0, p.caretItem) << c.what;
        }
        DestroyWindow(other->GetTextWindow());
    }
}

TEST_F(BiblePaneTest, ANullClientLetsGoOfTheBible) {
    ASSERT_FALSE(pane->GetBibleObjects()->IsEmpty());
    pane->Initialize(nullptr);
    EXPECT_EQ(-1, pane->GetBibleIndex());
    EXPECT_TRUE(pane->GetBibleObjects()->IsEmpty());
    EXPECT_EQ(0, ItemCount());
    pane->SetBook(3);  // no client: no notification, and nothing to crash on
    EXPECT_TRUE(client->flags.empty());
    // A new client binds the first installed bible again.
    pane->Initialize(client.get());
    EXPECT_EQ(0, pane->GetBibleIndex());
    EXPECT_FALSE(pane->GetBibleObjects()->IsEmpty());
}

// The popup text windows of this thread that are shown.
std::vector<HWND> ShownPopups() {
    std::vector<HWND> popups;
    for (HWND w = FindWindowExA(nullptr, nullptr, "VersiloPopupText", nullptr); w;
         w = FindWindowExA(nullptr, w, "VersiloPopupText", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) popups.push_back(w);
    return popups;
}

// The pointer rests on the cross-reference of John 1:23 in the pane's own text window: the
// window's hover reaches the pane, which shows the referenced verse in a popup below the
// pointer, on the screen, without taking the focus; leaving the window, scrolling or a key
// that scrolls takes it away.
class PaneHoverTest : public BiblePaneTest {
protected:
    void SetUp() override {
        BiblePaneTest::SetUp();
        ASSERT_EQ(S_OK, OpenBibleRefLibFile(WinePath(VERSILO_WEB_REFLIB).c_str(), web.Put()));
        client->refLib = web.Get();
        client->list.GetAt(kjv).SetFlagBit1(true);  // cross-references shown in the text
        SetFocus(Text());
    }
    void TearDown() override {
        SetCursorPos(700, 700);
        BiblePaneTest::TearDown();
        client->refLib = nullptr;
    }
    // John 1:23 at the top, the pointer moved onto its first cross-reference; the popup
    // shown for it, or null.
    HWND HoverOnTheLink() {
        pane->GoToVerse(Ref(kJohn, 0, 22));
        item = Position().caretItem;
        if (!FindItemPoint(Pane(), Text(), item, kPartFirstReference, &at)) {
            ADD_FAILURE() << "no cross-reference drawn in John 1:23";
            return nullptr;
        }
        pointer = at;
        ClientToScreen(Text(), &pointer);
        SetCursorPos(pointer.x, pointer.y);
        PostMessageA(Text(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        HWND popup = nullptr;
        PumpUntil([&] {
            const std::vector<HWND> shown = ShownPopups();
            popup = shown.size() == 1 ? shown[0] : nullptr;
            return popup != nullptr;
        }, 3000);
        return popup;
    }

    ComPtr<IBibleRefLib> web;
    int item = -1;
    POINT at = {}, pointer = {};
};

TEST_F(PaneHoverTest, TheReferencedVerseInAPopupBelowThePointer) {
    HWND popup = HoverOnTheLink();
    ASSERT_TRUE(popup) << "no popup after the pointer rested on the cross-reference";
    EXPECT_EQ(popup, Pane()->GetPopup());
    // Heading and text: the reference as this bible writes it and the KJV verse it names.
    const int link = Pane()->GetLinkRef(item, 0);
    char heading[kFormatRefBufferSize] = {};
    ASSERT_EQ(S_OK, pane->GetBibleObjects()->GetLangStat()->FormatRef(heading, link, 0, 0, 0, FALSE));
    EXPECT_STREQ("Jes 40:3", heading);
    char body[4096] = {};
    pane->GetBibleObjects()->GetRangeText(link, body, sizeof body, false);
    EXPECT_NE(nullptr, std::strstr(body, "Prepare ye the way of the LORD")) << body;
    const RECT anchor = {0, 0, 10, 10};
    HWND expected = ShowPopupText(Text(), &anchor, at, heading, body);
    ASSERT_TRUE(expected);
    RECT shown, wanted;
    GetWindowRect(popup, &shown);
    GetWindowRect(expected, &wanted);
    EXPECT_EQ(wanted.right - wanted.left, shown.right - shown.left);
    EXPECT_EQ(wanted.bottom - wanted.top, shown.bottom - shown.top);
    EXPECT_TRUE(PrintedClient(expected) == PrintedClient(popup)) << "the popup does not show the referenced verse";
    DestroyWindow(expected);

    // Below the pointer and its cursor, from the pointer's x, on the screen.
    RECT itemRect;
    SendMessageA(Text(), TWM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemRect));
    MapWindowPoints(Text(), nullptr, reinterpret_cast<POINT*>(&itemRect), 2);
    EXPECT_EQ(pointer.x, shown.left);
    EXPECT_EQ(std::max(itemRect.bottom, pointer.y + GetSystemMetrics(SM_CYCURSOR)), shown.top);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT inside;
    IntersectRect(&inside, &shown, &desktop);
    EXPECT_TRUE(EqualRect(&inside, &shown));
    // The reader keeps typing into the pane.
    EXPECT_EQ(Text(), GetFocus());
    EXPECT_EQ(frame->hwnd, GetForegroundWindow());
    ASSERT_FALSE(client->status.empty());
    EXPECT_NE(std::string::npos, client->status.back().find(heading)) << client->status.back();

    // On the screen: the pane with the popup over it, its info colour inside the border.
    Pump(400);  // the fade has ended
    RECT area;
    GetWindowRect(frame->hwnd, &area);
    UnionRect(&area, &area, &shown);
    const Capture screen = ScreenArea(area);
    EXPECT_TRUE(screen.SaveArtifact("pane-hover-popup.bmp"));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), screen.At(shown.right - 3 - area.left, shown.bottom - 3 - area.top));

    // The pointer stays: so does the popup, through several hover timers.
    Pump(500);
    EXPECT_TRUE(IsWindowVisible(popup));
}

TEST_F(PaneHoverTest, LeavingTheWindowOrScrollingTakesThePopupAway) {
    struct Case {
        const char* what;
        void (*act)(HWND text);
    } cases[] = {
        {"the pointer leaves the window", [](HWND) { SetCursorPos(700, 700); }},
        {"a line scrolled", [](HWND text) { SendMessageA(text, WM_VSCROLL, SB_LINEDOWN, 0); }},
        {"the wheel turned", [](HWND text) { SendMessageA(text, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0); }},
        {"End: the caret to the last verse", [](HWND text) { SendMessageA(text, WM_KEYDOWN, VK_END, 1); }},
    };
    for (const Case& c : cases) {
        HWND popup = HoverOnTheLink();
        ASSERT_TRUE(popup) << c.what;
        c.act(Text());
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }, 1500)) << c.what;
        EXPECT_NE(popup, Pane()->GetPopup()) << c.what;
        SetCursorPos(700, 700);
        EXPECT_TRUE(PumpUntil([&] { return ShownPopups().empty() && !Pane()->GetPopup(); }, 1500)) << c.what;
    }
}

}  // namespace
