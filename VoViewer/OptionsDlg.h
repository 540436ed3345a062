// VoViewerOptionsDlg: the options dialog (dialog 107 "Innstillinger"). It edits a working
// copy of the viewer's settings: the two intervals from the table of intervals, the bible
// and the list of the bibles directory (or a list browsed for elsewhere), hidden buttons and
// the automatic start. OK opens a new bible or list, checks that they go together, hands
// the settings to the engine and saves them; the dialog ends with 1 after a change, else 2.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "RyDialog.h"
#include "RyMessageMap.h"
#include "ViewerSettings.h"

class AViewerPrompts;
class VoViewerApp;

// One row of the table of intervals: its minutes and the string that names it.
struct VoIntervalRow {
    int minutes;
    UINT textId;
};
// The table, in order ("Ved oppstart", "1 minutt", ... "1 dag").
extern const VoIntervalRow kIntervalTable[19];
// The rows the interval between verses may take: from 5 minutes on.
constexpr int kFirstIntervalRowBetweenVerses = 2;

class VoViewerOptionsDlg : public RyDialog {
public:
    VoViewerOptionsDlg(VoViewerApp& app, AViewerPrompts& prompts);

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnAutoStart(UINT, UINT, HWND);
    void OnListChosen(UINT, UINT, HWND);
    void OnOk(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND);

    void FillBibles();
    void FillLists();
    // Fills an interval box with the table from row first and selects value.
    void FillIntervals(int id, int first, int value);
    // Inserts "...\<name>" of the browsed path as the list box's second entry and selects it.
    void InsertBrowsed();
    // The minutes of the selected entry of an interval box; fallback when none is selected.
    int SelectedMinutes(int id, int selection, int fallback) const;
    void Tell(UINT id, const char* arg1 = "", const char* arg2 = "");
    int Selection(int id) const;
    std::string EntryText(int id, int index) const;

    VoViewerApp& app_;
    AViewerPrompts& prompts_;
    VoViewerSettings work_;
    std::vector<std::string> bibleIds_;
    char browsed_[MAX_PATH] = {};
    int listSelection_ = -1;
    int firstSelection_ = -1;  // of the first interval while the automatic start is off
};
