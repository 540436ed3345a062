// Helpers of the viewer's window tests: prompts that answer from a script and record what
// they were asked, and a script of steps run on the thread's active dialog from a thread
// timer, one step per tick, inside whatever modal loop is running.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "ViewerPrompts.h"

class ScriptedPrompts : public AViewerPrompts {
public:
    int ShowMessage(HWND, const char* text, UINT type) override {
        messages.push_back(text);
        types.push_back(type);
        return answer;
    }
    bool ChooseListFile(HWND, char* path, int size) override {
        ++browsed;
        if (chosenFile.empty()) return false;
        lstrcpynA(path, chosenFile.c_str(), size);
        return true;
    }
    UINT TrackMenu(HMENU menu, HWND, POINT) override {
        std::vector<UINT> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) items.push_back(GetMenuItemID(menu, i));
        menus.push_back(items);
        defaults.push_back(GetMenuDefaultItem(menu, FALSE, 0));
        return menuCommand;
    }
    void Beep() override { ++beeps; }

    std::vector<std::string> messages;
    std::vector<UINT> types;
    int answer = IDOK;
    std::string chosenFile;  // empty: the reader cancels
    int browsed = 0;
    UINT menuCommand = 0;
    std::vector<std::vector<UINT>> menus;
    std::vector<UINT> defaults;
    int beeps = 0;
};

// Runs steps, one per tick, each on the thread's active dialog: the visible, enabled
// "#32770" window of this thread (the innermost of nested modal dialogs). A step that opens
// a nested dialog posts its command, so that the next tick finds the new one.
class DialogScript {
public:
    using Step = std::function<void(HWND)>;
    explicit DialogScript(std::vector<Step> steps, UINT interval = 60) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, interval, &DialogScript::OnTimer);
    }
    ~DialogScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Finished() const { return next_ >= steps_.size(); }

    static HWND ActiveDialog() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &DialogScript::Take, reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static BOOL CALLBACK Take(HWND window, LPARAM found) {
        char name[32];
        if (!GetClassNameA(window, name, sizeof(name)) || lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) ||
            !IsWindowEnabled(window))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        DialogScript* self = current_;
        if (!self || self->running_ || self->Finished()) return;
        HWND dialog = ActiveDialog();
        if (!dialog) return;
        self->running_ = true;
        const size_t step = self->next_++;
        self->steps_[step](dialog);
        self->running_ = false;
    }
    static inline DialogScript* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

inline std::string WindowText(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

inline void Command(HWND dialog, UINT id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
