// The viewer's look-up against the real Versilo.exe of the build's program folder: with no
// main program running it is started with the request (from this test's working folder, as
// the viewer starts it from wherever it runs), a running one takes the next request in the
// same window, a request it cannot resolve leaves it where it was, and one that a program
// which answers nothing did not take is not reported as taken. The application key
// is saved before and put back after, as the program writes its settings there; every main
// program this test started is ended when a test ends, and a watchdog ends them if the test
// stops making progress, so a wait on them returns.
#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Handles.h"
#include "LookUp.h"
#include "ProgramDriver.h"
#include "TestFiles.h"
#include "ViewerIds.h"

namespace {

constexpr DWORD kPaintTimeout = 60000;
constexpr DWORD kWatchdogTimeout = 150000;

std::string ProgramPath() {
    return WinePath(VERSILO_BIN_DIR) + "\\Versilo.exe";
}

// The ids of the running "Versilo.exe" processes this process started.
std::vector<DWORD> StartedPrograms() {
    std::vector<DWORD> ids;
    FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == GetCurrentProcessId() && lstrcmpiA(entry.szExeFile, "Versilo.exe") == 0)
            ids.push_back(entry.th32ProcessID);
    return ids;
}

void EndStartedPrograms() {
    for (DWORD id : StartedPrograms()) {
        KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        TerminateProcess(process.Get(), 99);
        WaitForSingleObject(process.Get(), 5000);
    }
}

BOOL CALLBACK CountMainWindow(HWND hwnd, LPARAM count) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpA(name, kMainWindowClass) == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The top-level windows of the main program's class, visible or not.
int MainWindowCount() {
    int count = 0;
    EnumWindows(&CountMainWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Ends the started programs when the test has not finished within its time.
class ProgramWatchdog {
public:
    ProgramWatchdog() : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        thread_.Reset(CreateThread(nullptr, 0, &Watch, done_.Get(), 0, nullptr));
    }
    ~ProgramWatchdog() {
        SetEvent(done_.Get());
        WaitForSingleObject(thread_.Get(), INFINITE);
    }

private:
    static DWORD WINAPI Watch(void* done) {
        if (WaitForSingleObject(done, kWatchdogTimeout) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "the look-up test did not finish in time";
            EndStartedPrograms();
        }
        return 0;
    }
    KernelHandle done_;
    KernelHandle thread_;
};

class LookUpProgramTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(nullptr, FindWindowA(kMainWindowClass, nullptr)) << "a main program runs"; }
    void TearDown() override {
        EndStartedPrograms();
        program.Kill();
    }

    // Takes the one main program the look-up started as program, once its chapter is painted.
    bool AttachStarted() {
        std::vector<DWORD> ids;
        for (int i = 0; i < 500 && ids.empty(); ++i, Sleep(20)) ids = StartedPrograms();
        if (ids.size() != 1) return false;
        program.info.hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ids[0]);
        program.info.dwProcessId = ids[0];
        return program.info.hProcess && WaitPaintedChapter(program, kPaintTimeout);
    }

    ProgramWatchdog watchdog;
    SavedAppKey savedKey;
    ProgramProcess program;
};

TEST_F(LookUpProgramTest, StartsTheProgramThenSendsToTheRunningOne) {
    // The reference as the verse dialog writes it, with its full stop.
    EXPECT_EQ(LookUpRoute::kStarted, LookUpInVersilo(nullptr, ProgramPath().c_str(), "KJV", "Joh 3:16."));
    ASSERT_TRUE(AttachStarted());
    EXPECT_EQ("KJV Joh 3", ProgramPlace(program.main));

    EXPECT_EQ(LookUpRoute::kSent, LookUpInVersilo(nullptr, ProgramPath().c_str(), "KJV", "Sal 23:1"));
    EXPECT_EQ("KJV Sal 23", ProgramPlace(program.main));
    EXPECT_TRUE(ProgramResponds(program));
    EXPECT_EQ(1u, StartedPrograms().size());
    EXPECT_EQ(1, MainWindowCount());
    Sleep(300);
    Capture::Of(program.main, true).SaveArtifact("viewer-lookup-psalm-23.bmp");

    // The program closes as a user closes it and opens there again on the next look-up.
    EXPECT_EQ(1, CloseProgram(program));
    program.Close();
    program.main = nullptr;
    EXPECT_EQ(LookUpRoute::kStarted, LookUpInVersilo(nullptr, ProgramPath().c_str(), "KJV", "Xyzzy"));
    ASSERT_TRUE(AttachStarted());
    EXPECT_EQ("KJV Sal 23", ProgramPlace(program.main));
}

TEST_F(LookUpProgramTest, RequestsTheProgramCannotResolveLeaveItWhereItWas) {
    ASSERT_EQ(LookUpRoute::kStarted, LookUpInVersilo(nullptr, ProgramPath().c_str(), "KJV", "Joh 3:16."));
    ASSERT_TRUE(AttachStarted());
    const std::string tooLong(600, 'x');
    struct Case {
        const char* what;
        const char* bible;
        const char* reference;
        LookUpRoute route;
    } cases[] = {
        {"a bible the program does not have", "KV61", "Sal 23:1.", LookUpRoute::kSent},
        {"no bible", "", "Sal 23:1.", LookUpRoute::kSent},
        {"no reference", "KJV", "", LookUpRoute::kSent},
        {"a text longer than a request", "KJV", tooLong.c_str(), LookUpRoute::kFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.route, LookUpInVersilo(nullptr, ProgramPath().c_str(), c.bible, c.reference)) << c.what;
        EXPECT_TRUE(ProgramResponds(program)) << c.what;
        EXPECT_EQ("KJV Joh 3", ProgramPlace(program.main)) << c.what;
        EXPECT_EQ(1u, StartedPrograms().size()) << c.what;
    }
}

TEST_F(LookUpProgramTest, AProgramThatDoesNotAnswerHasNotTakenTheRequest) {
    ASSERT_EQ(LookUpRoute::kStarted, LookUpInVersilo(nullptr, ProgramPath().c_str(), "KJV", "Joh 3:16."));
    ASSERT_TRUE(AttachStarted());
    // The main window's thread stopped: the program is running but answers nothing.
    KernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(program.main, nullptr)));
    ASSERT_TRUE(thread);
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(thread.Get()));
    const DWORD started = GetTickCount();
    const LookUpRoute route = LookUpInVersilo(nullptr, ProgramPath().c_str(), "KJV", "Sal 23:1.");
    const DWORD waited = GetTickCount() - started;
    ResumeThread(thread.Get());
    EXPECT_EQ(LookUpRoute::kFailed, route);
    EXPECT_LT(waited, 20000u);  // the viewer is held up no longer than the look-up's time-out
    EXPECT_EQ(1u, StartedPrograms().size());  // and no second program is started
    EXPECT_TRUE(ProgramResponds(program));
}

}  // namespace
