// The open and save dialogs of notes files that the titles and create dialogs share: the
// notes-file filter, the default extension "vrsn", and, with a commentary list, a hook that
// refuses a file whose name the list already holds (string 1015) and keeps the dialog open.
#pragma once
#include <windows.h>

class VoLexiconList;

struct NotesFileRequest {
    HWND owner = nullptr;
    UINT titleId = 0;
    bool save = false;                   // the save dialog, with its overwrite prompt
    const VoLexiconList* list = nullptr; // the hook's list; no hook without one
    const char* directory = nullptr;     // where the dialog starts, or null
    const char* fileName = nullptr;      // the file name it starts with, or null
};

// Runs the dialog; true with the chosen path in path (MAX_PATH bytes) on OK, false (path
// unchanged) when it was cancelled or failed.
bool ChooseNotesFile(const NotesFileRequest& request, char* path);
