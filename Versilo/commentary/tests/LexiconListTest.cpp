// The commentary list over a scratch "Lexicons" folder and a scratch registry key: what is
// listed and written back, the user's commentaries that must never drop out, names, the
// inactive and protected records, today's entry, switching off and the most-recent order.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <set>
#include "FailingStorage.h"
#include "LexiconListFixture.h"

namespace {

const char kNaves[] = "Nave's Topical Bible.vrsl";

int EntryCount(const std::string& path) {
    ComPtr<IVoLexicon> lex;
    int count = -1;
    if (SUCCEEDED(OpenVoLexFile(path.c_str(), lex.Put()))) lex->GetEntryCount(&count);
    return count;
}

TEST_F(LexiconListTest, FolderFilesAndAddedFilesAreListedAndStayListed) {
    ASSERT_TRUE(CopySample(kNaves));
    MakeCommentary(Lexicons() + "Gamle.vol", "Gamle notater");
    MakeCommentary(Lexicons() + "Dagbok.vrsn", "Dagbok");
    const std::string outside = elsewhere.File("Ute.vrsn");
    MakeCommentary(outside, "Ute");
    {
        VoLexiconList list;
        ASSERT_EQ(3, list.GetCount());
        EXPECT_EQ(-1, list.GetCurrent());
        // Packaged lexicons first, then old notes files, then user commentaries.
        EXPECT_STREQ(kNaves, list.GetAt(0).GetFileName());
        EXPECT_STREQ("Gamle.vol", list.GetAt(1).GetFileName());
        EXPECT_STREQ("Dagbok.vrsn", list.GetAt(2).GetFileName());
        EXPECT_EQ((std::vector<std::string>{list.GetAt(0).GetName(), "Gamle notater", "Dagbok"}), Names(list));
        for (int i = 0; i < 3; ++i) {
            const VoLexiconItem& item = list.GetAt(i);
            SCOPED_TRACE(item.GetFileName());
            EXPECT_TRUE(item.IsOpen());
            EXPECT_TRUE(item.Active());
            EXPECT_TRUE(item.Locked());  // no stored settings: reading mode
            EXPECT_EQ(i == 0, item.ReadOnly());
            EXPECT_EQ(i == 0, VoLexiconList::IsPackagedLexicon(item.GetPath()));
            EXPECT_TRUE(list.IsInDefaultFolder(item));
            EXPECT_EQ(static_cast<DWORD>(i), item.Order());
            EXPECT_EQ(-1, item.ActiveItem());
        }
        EXPECT_TRUE(list.IsNotListed(outside.c_str()));
        EXPECT_FALSE(list.IsNotListed((elsewhere.Path() + "\\DAGBOK.VRSN").c_str()));  // by file name only
        EXPECT_EQ(3, list.AddFile(outside.c_str()));
        EXPECT_FALSE(list.IsInDefaultFolder(list.GetAt(3)));
        EXPECT_EQ(3u, list.GetAt(3).Order());
        list.SaveAll();
    }
    // The commentary inside "Lexicons" is in "UserList" with its path too, so that no reader
    // of the list loses it; the files the folder scan always finds are not.
    EXPECT_EQ("Dagbok.vrsn|Ute.vrsn", StoredString("lexicons", "UserList"));
    EXPECT_EQ(Lexicons() + "Dagbok.vrsn", StoredString("lexicons\\Dagbok.vrsn", "Path"));
    EXPECT_EQ(outside, StoredString("lexicons\\Ute.vrsn", "Path"));
    EXPECT_EQ("(missing)", StoredString("lexicons\\Gamle.vol", "Path"));
    EXPECT_EQ("Gamle notater", StoredString("lexicons\\Gamle.vol", "Name"));
    EXPECT_EQ(1, StoredDword(std::string("lexicons\\") + kNaves, "Active"));

    VoLexiconList again;
    ASSERT_EQ(4, again.GetCount());
    std::multiset<std::string> files;
    for (int i = 0; i < again.GetCount(); ++i) files.insert(again.GetAt(i).GetFileName());
    EXPECT_EQ((std::multiset<std::string>{kNaves, "Gamle.vol", "Dagbok.vrsn", "Ute.vrsn"}), files);
    EXPECT_EQ(3, Find(again, "Ute.vrsn"));
    EXPECT_STREQ("Ute", again.GetAt(3).GetName());
}

TEST_F(LexiconListTest, AddingAnswersTheNewIndexOrMinusOneWithTheReason) {
    const std::string good = elsewhere.File("Notater.vrsn");
    MakeCommentary(good, "Notater");
    const std::string longest = elsewhere.File(std::string(26, 'a') + ".vrsn");  // 31 characters
    MakeCommentary(longest, "Lengst");
    const std::string tooLong = elsewhere.File(std::string(27, 'b') + ".vrsn");  // 32 characters
    MakeCommentary(tooLong, "For langt");
    const std::string damaged = elsewhere.File("Skadet.vrsn");
    ASSERT_TRUE(WriteWholeFile(damaged, std::string(600, 'x')));

    VoLexiconList list;
    ASSERT_EQ(0, list.GetCount());
    UINT reason = 0;
    EXPECT_EQ(0, list.AddFile(good.c_str(), &reason));  // the first index, not a failure
    const struct { const char* what; std::string path; UINT reason; } refused[] = {
        {"damaged file", damaged, kIdsCannotOpen},
        {"missing file", elsewhere.File("Borte.vrsn"), kIdsCannotOpen},
        {"file name of 32 characters", tooLong, kIdsFileNameTooLong},
        {"null path", std::string(), kIdsCannotOpen},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        reason = 0;
        EXPECT_EQ(-1, list.AddFile(r.path.empty() ? nullptr : r.path.c_str(), &reason));
        EXPECT_EQ(r.reason, reason);
        EXPECT_EQ(1, list.GetCount());
    }
    EXPECT_EQ(1, list.AddFile(longest.c_str()));
    list.SaveAll();

    VoLexiconList again;
    EXPECT_EQ((std::vector<std::string>{"Notater", "Lengst"}), Names(again));
    // Removing drops the record but keeps its settings for when it is added again.
    again.GetAt(0).SetActiveItem(7);
    again.SaveAll();
    again.RemoveAt(0);
    EXPECT_EQ(1, again.GetCount());
    EXPECT_EQ(7, StoredDword("lexicons\\Notater.vrsn", "ActiveItem"));
    EXPECT_EQ(1, again.AddFile(good.c_str()));
    EXPECT_EQ(7, again.GetAt(1).ActiveItem());
}

TEST_F(LexiconListTest, DuplicateNamesGetTheVersionSuffixWithinTheNameRoom) {
    MakeCommentary(Lexicons() + "En.vrsn", "Notater");
    MakeCommentary(Lexicons() + "To.vrsn", "Notater");
    {
        VoLexiconList list;
        ASSERT_EQ(2, list.GetCount());
        EXPECT_EQ((std::vector<std::string>{"Notater", "Notater versjon 1"}), Names(list));
    }
    // Names stored for switched-off files may have 63 characters: the suffix still fits.
    const std::string longName(63, 'N');
    for (const char* file : {"En.vrsn", "To.vrsn"}) {
        StoreDword(file, "Active", 0);
        StoreString(std::string("lexicons\\") + file, "Name", longName);
    }
    VoLexiconList list;
    EXPECT_EQ((std::vector<std::string>{longName, std::string(53, 'N') + " versjon 1"}), Names(list));
}

TEST_F(LexiconListTest, SwitchedOffRecordsKeepTheirValuesUnlessTheyHaveNoName) {
    MakeCommentary(Lexicons() + "Av.vrsn", "Egen tittel");
    MakeCommentary(Lexicons() + "Navnlos.vrsn", "Uten lagret navn");
    StoreDword("Av.vrsn", "Active", 0);
    StoreDword("Av.vrsn", "ActiveItem", 5);
    StoreDword("Av.vrsn", "Locked", 0);
    StoreString("lexicons\\Av.vrsn", "Name", "Lagret navn");
    StoreDword("Navnlos.vrsn", "Active", 0);
    {
        VoLexiconList list;
        const VoLexiconItem& off = list.GetAt(Find(list, "Av.vrsn"));
        EXPECT_FALSE(off.IsOpen());
        EXPECT_FALSE(off.Active());
        EXPECT_FALSE(off.OpenFailed());
        EXPECT_STREQ("Lagret navn", off.GetName());
        EXPECT_EQ(5, off.ActiveItem());
        EXPECT_FALSE(off.Locked());
        const VoLexiconItem& nameless = list.GetAt(Find(list, "Navnlos.vrsn"));
        EXPECT_TRUE(nameless.IsOpen());  // opened for its name
        EXPECT_TRUE(nameless.Active());
        EXPECT_STREQ("Uten lagret navn", nameless.GetName());
        EXPECT_EQ(1, list.GetOpenInOrder(nullptr));
        list.SaveAll();
    }
    EXPECT_EQ(0, StoredDword("lexicons\\Av.vrsn", "Active"));
    EXPECT_EQ(5, StoredDword("lexicons\\Av.vrsn", "ActiveItem"));
    EXPECT_EQ("Lagret navn", StoredString("lexicons\\Av.vrsn", "Name"));

    VoLexiconList list;
    VoLexiconItem& off = list.GetAt(Find(list, "Av.vrsn"));
    EXPECT_TRUE(list.SetActive(off, true));
    EXPECT_TRUE(off.IsOpen());
    EXPECT_STREQ("Egen tittel", off.GetName());
}

TEST_F(LexiconListTest, FilesThatDoNotOpenStayListedAndUnwritten) {
    const std::string gone = elsewhere.File("Borte.vrsn");
    StoreString("lexicons", "UserList", "Borte.vrsn|Uten sti.vrsn");
    StoreString("lexicons\\Borte.vrsn", "Path", gone);
    StoreString("lexicons\\Borte.vrsn", "Name", "Borte");
    StoreDword("Borte.vrsn", "ActiveItem", 9);
    {
        VoLexiconList list;
        ASSERT_EQ(1, list.GetCount());  // the name without a path is dropped
        EXPECT_TRUE(list.GetAt(0).OpenFailed());
        EXPECT_FALSE(list.GetAt(0).Active());
        EXPECT_STREQ("Borte", list.GetAt(0).GetName());
        UINT reason = 0;
        EXPECT_FALSE(list.SetActive(list.GetAt(0), true, &reason));
        EXPECT_EQ(kIdsCannotOpen, reason);
        list.GetAt(0).SetActiveItem(1);
        list.SaveAll();
    }
    EXPECT_EQ("Borte.vrsn", StoredString("lexicons", "UserList"));
    EXPECT_EQ(9, StoredDword("lexicons\\Borte.vrsn", "ActiveItem"));  // not written back
    // Once the file is back it opens with its old settings.
    MakeCommentary(gone, "Tilbake");
    VoLexiconList list;
    ASSERT_EQ(1, list.GetCount());
    EXPECT_TRUE(list.GetAt(0).IsOpen());
    EXPECT_EQ(9, list.GetAt(0).ActiveItem());
}

TEST_F(LexiconListTest, ALongUserListIsReadWhole) {
    // Seventy names of 31 characters: longer than the 2,095 characters older readers took.
    const std::string source = elsewhere.File("kilde.vrsn");
    MakeCommentary(source, "Kilde");
    std::string userList;
    std::vector<std::string> names;
    for (int i = 0; i < 70; ++i) {
        char name[32];
        wsprintfA(name, "Kommentar nummer %03i 12345.vrsn", i);
        ASSERT_EQ(31u, std::strlen(name));
        ASSERT_TRUE(CopyFileA(source.c_str(), elsewhere.File(name).c_str(), FALSE));
        StoreString(std::string("lexicons\\") + name, "Path", elsewhere.File(name));
        userList += (userList.empty() ? "" : "|") + std::string(name);
        names.push_back(name);
    }
    ASSERT_GT(userList.size(), 2095u);
    StoreString("lexicons", "UserList", userList);
    VoLexiconList list;
    ASSERT_EQ(70, list.GetCount());
    for (int i = 0; i < 70; ++i) EXPECT_EQ(names[static_cast<size_t>(i)], list.GetAt(i).GetFileName());
    list.SaveAll();
    EXPECT_EQ(userList, StoredString("lexicons", "UserList"));
}

TEST_F(LexiconListTest, AProtectedCommentaryStartsLockedAndStaysLocked) {
    {
        ComPtr<IVoLexicon> lex = MakeCommentary(Lexicons() + "Vernet.vrsn", "Vernet");
        ASSERT_EQ(S_OK, lex->SetPassword("", "hemmelig"));
        ASSERT_EQ(S_OK, lex->SetProtection(1));
        ASSERT_EQ(S_OK, Save(lex.Get()));
    }
    MakeCommentary(Lexicons() + "Fri.vrsn", "Fri");
    StoreDword("Vernet.vrsn", "Locked", 0);
    StoreDword("Fri.vrsn", "Locked", 0);
    VoLexiconList list;
    VoLexiconItem& locked = list.GetAt(Find(list, "Vernet.vrsn"));
    VoLexiconItem& open = list.GetAt(Find(list, "Fri.vrsn"));
    EXPECT_TRUE(locked.Locked());
    EXPECT_NE(0, locked.GetAccess() & kLexNoChanges);
    locked.SetLocked(false);
    EXPECT_TRUE(locked.Locked());
    EXPECT_FALSE(open.Locked());
    open.SetLocked(true);
    EXPECT_TRUE(open.Locked());
}

// A yearless date (a day of every year, as daily readings have) in the slash form, days from today.
std::string DateTitle(int days) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    today.wHour = 12;
    FILETIME ft;
    SystemTimeToFileTime(&today, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(days) * 24ull * 3600ull * 10000000ull;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    SYSTEMTIME day;
    FileTimeToSystemTime(&ft, &day);
    char text[32];
    wsprintfA(text, "/%02i/%02i", day.wDay, day.wMonth);
    return text;
}

TEST_F(LexiconListTest, ADatedCommentaryStartsAtTodaysEntryOrTheNextWithinSixDays) {
    const struct { const char* what; std::vector<int> days; int expectedDay; } cases[] = {
        {"an entry today", {-2, 0, 3}, 0},
        {"the next entry in three days", {-2, 3}, 3},
        {"the next entry in six days", {6, 9}, 6},
        {"no entry from today on: the remembered entry", {-5, -2}, -1000},
        {"the next entry later than six days: the remembered entry", {-1, 7}, -1000},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = "Dager" + std::to_string(n++) + ".vrsn";
        ComPtr<IVoLexicon> lex = MakeCommentary(Lexicons() + file, "Dagens ord", {{"Abraham", "Troens far"}});
        int expected = 0;  // the stored entry, "Abraham"
        for (int day : c.days) {
            int id = 0;
            ASSERT_EQ(S_OK, lex->AddEntry(DateTitle(day).c_str(), &id));
        }
        ASSERT_EQ(S_OK, Save(lex.Get()));
        for (int day : c.days) {
            int position = -1;
            VARIANT_BOOL exact = VARIANT_FALSE;
            ASSERT_EQ(S_OK, lex->FindEntry(DateTitle(day).c_str(), &position, &exact));
            if (day == c.expectedDay) expected = position;
        }
        lex.Reset();
        StoreDword(file, "ActiveItem", 0);
        VoLexiconList list;
        const VoLexiconItem& item = list.GetAt(Find(list, file.c_str()));
        EXPECT_EQ(expected, item.ActiveItem());
        int kind = 0;
        ASSERT_EQ(S_OK, item.PeekLexicon()->GetEntryKind(item.ActiveItem(), &kind));
        EXPECT_EQ(c.expectedDay == -1000 ? 1 : 3, kind);
    }
}

TEST_F(LexiconListTest, SwitchingOffSavesAndAFailedSaveKeepsTheCommentaryOpen) {
    const std::string path = Lexicons() + "Arbeid.vrsn";
    MakeCommentary(path, "Arbeid");
    VoLexiconList list;
    VoLexiconItem& item = list.GetAt(0);
    int id = 0;
    ASSERT_EQ(S_OK, item.PeekLexicon()->AddEntry("Abraham", &id));
    EXPECT_TRUE(item.HasUnsavedChanges());
    EXPECT_TRUE(list.SetActive(item, false));
    EXPECT_FALSE(item.IsOpen());
    EXPECT_EQ(1, EntryCount(path));

    ASSERT_TRUE(list.SetActive(item, true));
    StorageFaults faults, *failing = &faults;
    ASSERT_TRUE(InterposeFailingStorage(item.PeekLexicon(), path, faults));
    ASSERT_EQ(S_OK, item.PeekLexicon()->AddEntry("Isak", &id));
    failing->failCommit = STG_E_MEDIUMFULL;
    UINT reason = 0;
    EXPECT_FALSE(list.SetActive(item, false, &reason));
    EXPECT_EQ(kIdsCannotSave, reason);
    EXPECT_TRUE(item.IsOpen());
    EXPECT_TRUE(item.Active());
    EXPECT_TRUE(item.HasUnsavedChanges());
    EXPECT_FALSE(item.Save());

    failing->failCommit = S_OK;
    EXPECT_TRUE(list.SetActive(item, false));
    EXPECT_EQ(2, EntryCount(path));
}

TEST_F(LexiconListTest, MostRecentOrderOfTheOpenRecords) {
    for (const char* name : {"A.vrsn", "B.vrsn", "C.vrsn", "D.vrsn"}) MakeCommentary(Lexicons() + name, name);
    VoLexiconList list;
    ASSERT_EQ(4, list.GetCount());
    ASSERT_TRUE(list.SetActive(list.GetAt(1), false));
    list.MarkMostRecent(2);
    std::vector<DWORD> orders;
    for (int i = 0; i < 4; ++i) orders.push_back(list.GetAt(i).Order());
    EXPECT_EQ((std::vector<DWORD>{1, 2, 0, 3}), orders);
    list.MarkMostRecent(2);  // already the most recent: nothing changes
    list.MarkMostRecent(3);
    orders.clear();
    for (int i = 0; i < 4; ++i) orders.push_back(list.GetAt(i).Order());
    EXPECT_EQ((std::vector<DWORD>{2, 3, 1, 0}), orders);
    int open[4] = {-1, -1, -1, -1};
    ASSERT_EQ(3, list.GetOpenInOrder(open));
    EXPECT_EQ(3, open[0]);
    EXPECT_EQ(2, open[1]);
    EXPECT_EQ(0, open[2]);
}

}  // namespace
