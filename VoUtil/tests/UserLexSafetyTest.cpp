// The user's notes are not lost: failed saves keep the file as it was and the edits in
// memory, a process killed between edits leaves the last save, a file held by another
// program is read from a fresh copy, and damaged files fail to open without being changed.
#include <gtest/gtest.h>
#include "CompoundFileCheck.h"
#include "FailingStorage.h"
#include "Handles.h"
#include "Unknown.h"
#include "UserLexFormat.h"
#include "UserLexTestSupport.h"

using namespace lextest;

namespace {

class UserLexSafety : public LexFileTest {
protected:
    void SetUp() override {
        LexFileTest::SetUp();
        saved_ = MakeSmallCommentary();
    }
    std::vector<EntryView> saved_;
};


TEST_F(UserLexSafety, FailedSaveKeepsTheFileAndTheEdits) {
    const std::string before = ReadWholeFile(path_);
    ComPtr<IVoLexicon> lex = Open(path_);
    StorageFaults faults, *failing = &faults;
    ASSERT_TRUE(InterposeFailingStorage(lex.Get(), path_, faults));
    AddEntry(lex.Get(), "Isak", "S\xF8nn");
    ASSERT_EQ(S_OK, lex->SetEntryText(1, "Endret"));
    const std::vector<EntryView> edited = Entries(lex.Get());

    ComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, lex.As(IID_IPersistFile, &file));
    const struct { const char* what; HRESULT commit; const wchar_t* create; HRESULT expected; } failures[] = {
        {"full disk at commit", STG_E_MEDIUMFULL, L"", STG_E_MEDIUMFULL},
        {"storage error at commit", STG_E_WRITEFAULT, L"", STG_E_WRITEFAULT},
        {"list stream cannot be made", S_OK, kListStream, STG_E_MEDIUMFULL},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        failing->failCommit = f.commit;
        failing->failCreateName = f.create;
        EXPECT_EQ(f.expected, file->Save(nullptr, TRUE));
        EXPECT_EQ(S_OK, file->IsDirty());
        EXPECT_EQ(edited, Entries(lex.Get()));
        EXPECT_TRUE(before == ReadWholeFile(path_));
        EXPECT_EQ(E_UNEXPECTED, file->SaveCompleted(nullptr));  // the storage is still there
    }
    // Once the storage works again the same edits are saved.
    failing->failCommit = S_OK;
    failing->failCreateName.clear();
    EXPECT_EQ(S_OK, file->Save(nullptr, TRUE));
    EXPECT_EQ(1, failing->commits);
    EXPECT_EQ(S_OK, file->SaveCompleted(nullptr));
    EXPECT_EQ(S_FALSE, file->IsDirty());
    file.Reset();
    lex.Reset();
    EXPECT_EQ(edited, Entries(Open(path_).Get()));
}

TEST_F(UserLexSafety, FailedSaveThenCloseLeavesTheLastSave) {
    const std::string before = ReadWholeFile(path_);
    {
        ComPtr<IVoLexicon> lex = Open(path_);
        StorageFaults faults, *failing = &faults;
        ASSERT_TRUE(InterposeFailingStorage(lex.Get(), path_, faults));
        failing->failCommit = STG_E_MEDIUMFULL;
        AddEntry(lex.Get(), "Isak", "S\xF8nn");
        ComPtr<IPersistFile> file;
        ASSERT_EQ(S_OK, lex.As(IID_IPersistFile, &file));
        EXPECT_EQ(STG_E_MEDIUMFULL, file->Save(nullptr, TRUE));
    }
    EXPECT_TRUE(before == ReadWholeFile(path_));
    EXPECT_EQ(saved_, Entries(Open(path_).Get()));
}

// The child: edits the commentary, saves once, edits on and is killed before saving again.
TEST(ChildProcess, EditsUntilKilled) {
    char path[MAX_PATH] = "", ready[64] = "";
    if (!GetEnvironmentVariableA("VO_CHILD_FILE", path, MAX_PATH) ||
        !GetEnvironmentVariableA("VO_CHILD_READY", ready, sizeof ready))
        GTEST_SKIP() << "runs only as the child of KilledProcessLeavesTheLastSave";
    ComPtr<IVoLexicon> lex = Open(path);
    ASSERT_TRUE(lex);
    AddEntry(lex.Get(), "Saved", "kept");
    ASSERT_EQ(S_OK, SaveLex(lex.Get()));
    AddEntry(lex.Get(), "Unsaved", "lost");
    ASSERT_EQ(S_OK, lex->SetEntryText(1, "changed after the save"));
    ASSERT_EQ(S_OK, lex->DeleteEntry(2));
    KernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, ready));
    ASSERT_TRUE(event.IsValid());
    SetEvent(event.Get());
    Sleep(60000);  // killed long before this
}

TEST_F(UserLexSafety, KilledProcessLeavesTheLastSave) {
    char self[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, self, MAX_PATH));
    char ready[64];
    wsprintfA(ready, "VoLexChildReady%lu", GetCurrentProcessId());
    KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, ready));
    ASSERT_TRUE(event.IsValid());
    SetEnvironmentVariableA("VO_CHILD_FILE", path_.c_str());
    SetEnvironmentVariableA("VO_CHILD_READY", ready);
    std::string cmd = std::string("\"") + self + "\" --gtest_filter=ChildProcess.EditsUntilKilled";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessA(self, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("VO_CHILD_FILE", nullptr);
    SetEnvironmentVariableA("VO_CHILD_READY", nullptr);
    ASSERT_TRUE(started);
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    HANDLE waits[2] = {event.Get(), process.Get()};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, waits, FALSE, 60000)) << "the child did not get ready";
    ASSERT_TRUE(TerminateProcess(process.Get(), 9));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 30000));

    ComPtr<IVoLexicon> lex = Open(path_);
    ASSERT_TRUE(lex);
    std::vector<EntryView> expected = saved_;
    expected.insert(expected.begin() + 1, EntryView{kTextKey, "Saved", 2, "kept"});
    for (size_t i = 2; i < expected.size(); ++i) ++expected[i].id;
    EXPECT_EQ(expected, Entries(lex.Get()));
    VARIANT_BOOL ro = VARIANT_TRUE;
    EXPECT_EQ(S_OK, lex->IsOpenReadOnly(&ro));
    EXPECT_EQ(VARIANT_FALSE, ro);  // nothing of the dead process holds the file
}

TEST_F(UserLexSafety, FileHeldByAnotherProgramIsReadFromAFreshCopy) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "notes.vrsn";
    {
        // A copy left by an earlier run, with other entries: it must not be shown.
        ComPtr<IVoLexicon> stale = CreateCommentary(copy, "Stale");
        AddEntry(stale.Get(), "Stale entry", "old");
        ASSERT_EQ(S_OK, SaveLex(stale.Get()));
    }
    const std::string before = ReadWholeFile(path_);
    {
        // Another program writes the file and lets others share it: it cannot be opened
        // for reading with writers shut out.
        FileHandle writer(CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer.IsValid());
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, OpenCommentary(path_, &lex));
        EXPECT_EQ(saved_, Entries(lex.Get()));
        char name[64];
        lex->GetName(name);
        EXPECT_STREQ("Mine", name);
        ExpectReadOnly(lex.Get());
        ComPtr<IPersistFile> file;
        ASSERT_EQ(S_OK, lex.As(IID_IPersistFile, &file));
        LPOLESTR cur = nullptr;
        ASSERT_EQ(S_OK, file->GetCurFile(&cur));
        EXPECT_EQ(Wide(path_), std::wstring(cur));  // the user's file, not the copy
        CoTaskMemFree(cur);
    }
    EXPECT_TRUE(before == ReadWholeFile(path_));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));  // the copy went with the object
}

// Damaged files: each one fails with its code, hands out nothing and is not changed.
TEST_F(UserLexSafety, DamagedFilesFailToOpenAndStayAsTheyWere) {
    std::string list = StreamOf(path_, kListStream);
    ASSERT_GT(list.size(), 10u);
    // Two texts, "b" before "a".
    const std::string outOfOrder("\0\x02\0\x01" "b" "\0\x01" "a" "\x01\x03", 10);
    std::string textPastEnd = list;
    textPastEnd[3] = 100;
    std::string indexOutside = list;
    indexOutside[indexOutside.size() - 1] = 0x40 | 0x1F;  // negative: no entry
    std::string aliasLoop = list;  // entries 0 and 1 name each other
    aliasLoop[aliasLoop.size() - 3] = 3;
    aliasLoop[aliasLoop.size() - 2] = 1;
    std::string version1 = list;
    version1[0] = 1;
    std::string countTooBig = list;
    countTooBig[1] = 0x3F;
    std::string refCut = list.substr(0, list.size() - 9);

    const struct { const char* what; const wchar_t* stream; std::string bytes; bool remove; HRESULT hr; } cases[] = {
        {"list version 1", kListStream, version1, false, E_FAIL},
        {"more keys than the list holds", kListStream, countTooBig, false, E_FAIL},
        {"keys out of order", kListStream, outOfOrder, false, E_FAIL},
        {"text past the stream", kListStream, textPastEnd, false, E_FAIL},
        {"reference cut off", kListStream, refCut, false, E_FAIL},
        {"index word outside the list", kListStream, indexOutside, false, E_FAIL},
        {"index words in a loop", kListStream, aliasLoop, false, E_FAIL},
        {"empty list stream", kListStream, "", false, E_FAIL},
        {"no Name", kNameStream, "", true, STG_E_FILENOTFOUND},
        {"empty Name", kNameStream, "", false, E_FAIL},
        {"no LangStat", kLangStatStream, "", true, STG_E_FILENOTFOUND},
        {"damaged LangStat", kLangStatStream, "garbage", false, E_INVALIDARG},
        {"no LexiconSettings", kSettingsStream, "", true, STG_E_FILENOTFOUND},
        {"settings cut off", kSettingsStream, std::string("\0\x20", 2), false, E_FAIL},
        {"no LexiconListStream", kListStream, "", true, STG_E_FILENOTFOUND},
    };
    const std::string good = ReadWholeFile(path_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = dir_.File("damaged.vrsn");
        ASSERT_TRUE(WriteWholeFile(path, good));
        RewriteStream(path, c.stream, c.bytes, c.remove);
        const std::string damaged = ReadWholeFile(path);
        ComPtr<IVoLexicon> lex;
        EXPECT_EQ(c.hr, OpenCommentary(path, &lex));
        EXPECT_FALSE(lex);
        EXPECT_EQ(live_, CUnknown::LiveObjects());
        EXPECT_TRUE(damaged == ReadWholeFile(path));
    }

    const struct { const char* what; std::string bytes; HRESULT hr; } files[] = {
        {"not a compound file", "This is not a commentary at all, only text.", STG_E_FILEALREADYEXISTS},
        {"empty file", "", STG_E_FILEALREADYEXISTS},
        {"cut after the header", good.substr(0, 600), STG_E_DOCFILECORRUPT},
        {"cut in the middle", good.substr(0, good.size() / 2), STG_E_DOCFILECORRUPT},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        std::string path = dir_.File("junk.vrsn");
        ASSERT_TRUE(WriteWholeFile(path, f.bytes));
        ComPtr<IVoLexicon> lex;
        HRESULT hr = OpenCommentary(path, &lex);
        EXPECT_EQ(f.hr, hr);
        EXPECT_FALSE(lex);
        EXPECT_TRUE(f.bytes == ReadWholeFile(path));
    }
}

TEST_F(UserLexSafety, DamagedEntryTextFailsAloneAndNothingChanges) {
    RewriteStream(path_, L"I_Abraham", std::string("\0\0\x50hi", 5));
    const std::string before = ReadWholeFile(path_);
    {
        ComPtr<IVoLexicon> lex = Open(path_);
        ASSERT_TRUE(lex);
        char buf[32];
        EXPECT_EQ(E_FAIL, lex->GetEntryText(1, buf, sizeof buf));
        EXPECT_STREQ("", buf);
        EXPECT_EQ("Kapittelet", EntryText(lex.Get(), 2));
    }
    EXPECT_TRUE(before == ReadWholeFile(path_));
}

}  // namespace

namespace {

// Damage that makes the platform's storage code loop for ever is refused before it sees it.
TEST_F(UserLexSafety, LoopingStructuresAreRefused) {
    {
        ComPtr<IVoLexicon> lex = Open(path_);
        AddEntry(lex.Get(), "Lang", std::string(6000, 'L').c_str());  // a stream in the big sectors
        ASSERT_EQ(S_OK, SaveLex(lex.Get()));
    }
    const std::string good = ReadWholeFile(path_);
    FileMap map(good);
    const size_t abraham = map.EntryOf(L"I_Abraham"), lang = map.EntryOf(L"I_Lang"), root = map.Directory();
    ASSERT_NE(std::string::npos, abraham);
    ASSERT_NE(std::string::npos, lang);
    const DWORD abrahamId = static_cast<DWORD>((abraham - root) / 128);
    const DWORD langStart = Le32At(good, lang + 116);

    const struct { const char* what; size_t at; DWORD value; } cases[] = {
        {"sibling outside the directory", abraham + 68, 0x80000002},
        {"sibling that is the entry itself", abraham + 72, abrahamId},
        {"child of the root pointing back at the root", abraham + 76, 0},
        {"stream sector chain in a circle", map.Fat() + 4 * langStart, langStart},
        {"directory chain in a circle", map.Fat() + 4 * Le32At(good, 0x30), Le32At(good, 0x30)},
        {"stream chain past the end of the file", lang + 116, 0x00100000},
    };
    const std::string path = dir_.File("looping.vrsn");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        PutLe32(bytes, c.at, c.value);
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        EXPECT_EQ(STG_E_DOCFILECORRUPT, CheckCompoundFile(Wide(path).c_str()));
        ComPtr<IVoLexicon> lex;
        EXPECT_EQ(STG_E_DOCFILECORRUPT, OpenCommentary(path, &lex));
        EXPECT_FALSE(lex);
        EXPECT_TRUE(bytes == ReadWholeFile(path));
    }
    EXPECT_EQ(S_OK, CheckCompoundFile(Wide(path_).c_str()));
}

// Bit flips in a commentary file, half of them in its directory: opening either fails or
// gives a commentary whose every title and text can be read; the file is never changed by it.
TEST_F(UserLexSafety, FlippedFilesNeverCrashOrHangAndAreNotChanged) {
    const std::string good = ReadWholeFile(path_);
    const size_t directory = FileMap(good).Directory();
    const std::string path = dir_.File("flipped.vrsn");
    unsigned seed = 12345;
    int opened = 0;
    for (int round = 0; round < 600; ++round) {
        std::string bytes = good;
        for (int flips = 0; flips < 1 + round % 3; ++flips) {
            seed = seed * 1103515245u + 12345u;
            size_t at = round % 2 ? directory + (seed >> 8) % 512 : (seed >> 8) % bytes.size();
            bytes[at] ^= static_cast<char>(1 << ((seed >> 4) % 8));
        }
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        {
            ComPtr<IVoLexicon> lex;
            if (SUCCEEDED(OpenCommentary(path, &lex))) {
                ++opened;
                Entries(lex.Get());
            }
        }
        ASSERT_TRUE(bytes == ReadWholeFile(path)) << "round " << round;
    }
    EXPECT_GT(opened, 0);
}

}  // namespace
