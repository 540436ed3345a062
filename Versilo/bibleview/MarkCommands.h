// The colour-marking commands that involve the reader: export, import, clearing every
// marking, and going to the next or previous marked verse. What they ask of the reader
// (a file name, a question, a message) goes through AMarkingPrompts, which the main frame
// answers with the common dialogs and message boxes (VoMarkingPrompts) and tests answer
// from a script.
#pragma once
#include <windows.h>

class AVoBibleWindow;
class VoBibleInfoList;
class VoKv61MarkedVerses;
struct VoBiblePosition;

// Message texts of the commands.
constexpr UINT kIdsExportFailed = 138;   // "Klarte ikke eksportere fargemarkeringene til '%1'."
constexpr UINT kIdsImportFailed = 139;   // "Klarte ikke importere fargemarkeringene fra '%1'."
constexpr UINT kIdsImportMerge = 140;    // the question whether to merge with '%1' ...
constexpr UINT kIdsClearMarks = 141;     // ... "slette fargemarkeringene dine for alle versene ..."
constexpr UINT kIdsNoNextMarked = 142;   // "Du har ikke fargemarkert noen vers etter %1."
constexpr UINT kIdsNoPrevMarked = 143;   // "Du har ikke fargemarkert noen vers før %1."
constexpr UINT kIdsImportChoices = 144;  // ... the meaning of Yes, No and Cancel
constexpr UINT kIdsMarkFileFilter = 1028;
constexpr UINT kIdsExportTitle = 1029;
constexpr UINT kIdsImportTitle = 1030;

class AMarkingPrompts {
public:
    // A path of at most size - 1 characters for the export (a save dialog) or the
    // import (an open dialog); false when the reader cancels.
    virtual bool ChooseExportPath(char* path, int size) = 0;
    virtual bool ChooseImportPath(char* path, int size) = 0;
    // A message box with the program title; the answer is MessageBox's (IDOK, IDYES ...).
    virtual int ShowMessage(const char* text, UINT type) = 0;

protected:
    ~AMarkingPrompts() = default;
};

// Asks for a path and exports to it; false when cancelled or failed.
bool ExportMarkings(VoKv61MarkedVerses& store, AMarkingPrompts& prompts);
// Exports to path; a failure is told with the file's name (string 138).
bool ExportMarkingsTo(VoKv61MarkedVerses& store, const char* path, AMarkingPrompts& prompts);
// Asks for a path and imports from it; false when cancelled or failed.
bool ImportMarkings(VoKv61MarkedVerses& store, AMarkingPrompts& prompts);
// Imports from path: into an empty store by replacing; otherwise the reader chooses
// merge (Yes), replace (No) or nothing (Cancel). A failure is told (string 139).
bool ImportMarkingsFrom(VoKv61MarkedVerses& store, const char* path, AMarkingPrompts& prompts);
// Clears every marking after the reader confirms (string 141); true when cleared.
bool ClearMarkings(VoKv61MarkedVerses& store, AMarkingPrompts& prompts);

// The item the search for the next or previous marked verse starts from: with the caret
// inside the selection, its last item (next) or its first (previous); else the caret.
int MarkSearchStartItem(const VoBiblePosition& position, bool next);
// Sends the active pane to the next or previous marked verse of its bible, or tells the
// reader there is none after or before the start verse (strings 142 and 143). Nothing
// happens unless the pane shows verses of an installed bible.
void GoToMarkedVerse(AVoBibleWindow& window, VoBibleInfoList& bibles, VoKv61MarkedVerses& store, bool next,
                     AMarkingPrompts& prompts);

// The prompts of the program: the common file dialogs and message boxes under owner.
class VoMarkingPrompts : public AMarkingPrompts {
public:
    explicit VoMarkingPrompts(HWND owner) : owner_(owner) {}
    bool ChooseExportPath(char* path, int size) override;
    bool ChooseImportPath(char* path, int size) override;
    int ShowMessage(const char* text, UINT type) override;

private:
    bool ChoosePath(bool save, char* path, int size);
    HWND owner_;
};
