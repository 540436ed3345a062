// The program's marking prompts on the real common dialogs and message boxes, each driven
// from a thread timer inside its own modal loop; the export dialog leaves a screenshot.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "MarkCommands.h"
#include "TestFiles.h"
#include "WindowCapture.h"

namespace {

// Waits for this thread's next dialog window, keeps its title and hands it to act.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 200, &DialogDriver::OnTimer);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::string title;

private:
    static BOOL CALLBACK Take(HWND window, LPARAM) {
        char name[32];
        if (!GetClassNameA(window, name, sizeof(name)) || lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window))
            return TRUE;
        char text[256];
        GetWindowTextA(window, text, sizeof(text));
        current_->title = text;
        current_->done_ = true;
        current_->act_(window);
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ && !current_->done_) EnumThreadWindows(GetCurrentThreadId(), &DialogDriver::Take, 0);
    }
    static inline DialogDriver* current_ = nullptr;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

TEST(MarkingPrompts, TheExportDialogGivesThePathWithItsExtension) {
    TempDir dir;
    const std::string typed = dir.File("mine");
    VoMarkingPrompts prompts(nullptr);
    char path[MAX_PATH] = "old";
    DialogDriver driver([&](HWND dialog) {
        EXPECT_TRUE(Capture::Of(dialog, true).SaveArtifact("marking-export-dialog.bmp"));
        SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(typed.c_str()));
        SendMessageA(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(typed.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(prompts.ChooseExportPath(path, sizeof(path)));
    EXPECT_EQ("Eksporter fargemarkeringer", driver.title);
    EXPECT_EQ(typed + ".vrsv", path);
}

TEST(MarkingPrompts, ACancelledImportDialogGivesNoPath) {
    VoMarkingPrompts prompts(nullptr);
    char path[MAX_PATH] = "old";
    DialogDriver driver([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(prompts.ChooseImportPath(path, sizeof(path)));
    EXPECT_EQ("Importer fargemarkeringer", driver.title);
}

TEST(MarkingPrompts, MessagesCarryTheProgramTitleAndAnswerTheButton) {
    VoMarkingPrompts prompts(nullptr);
    std::string text;
    DialogDriver driver([&](HWND box) {
        char buffer[512];
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer));
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    });
    EXPECT_EQ(IDNO, prompts.ShowMessage("Sikker?", MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ("Versilo", driver.title);
    EXPECT_EQ("Sikker?", text);
}

}  // namespace
