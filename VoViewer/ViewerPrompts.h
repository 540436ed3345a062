// AViewerPrompts: what the viewer's windows ask of the reader outside their own dialogs (a
// message box, the open-file dialog for a list, a tracked popup menu, a beep). The program
// answers with the real ones (VoViewerPrompts); tests answer from a script, since the file
// dialog and a tracked menu block their caller.
#pragma once
#include <windows.h>

class AViewerPrompts {
public:
    // A message box under the viewer's caption; MessageBox's answer (IDOK, IDYES ...).
    virtual int ShowMessage(HWND owner, const char* text, UINT type) = 0;
    // The open-file dialog for a list file: true with its path in path (size bytes).
    virtual bool ChooseListFile(HWND owner, char* path, int size) = 0;
    // Tracks menu at a screen point; the chosen command, 0 when none was chosen.
    virtual UINT TrackMenu(HMENU menu, HWND owner, POINT screen) = 0;
    virtual void Beep() = 0;

protected:
    ~AViewerPrompts() = default;
};

class VoViewerPrompts : public AViewerPrompts {
public:
    int ShowMessage(HWND owner, const char* text, UINT type) override;
    bool ChooseListFile(HWND owner, char* path, int size) override;
    UINT TrackMenu(HMENU menu, HWND owner, POINT screen) override;
    void Beep() override;
};

// A file dialog's filter list from a text whose "|" separate descriptions and patterns:
// every "|" becomes a NUL and the list ends in two NULs, with or without a closing "|".
// False when it does not fit in size bytes (filter is then an empty list).
bool MakeFileFilter(const char* text, char* filter, int size);

// Room of the viewer's formatted messages: what wsprintfA may write, with its NUL.
constexpr int kViewerMessageSize = 1025;
// String id with up to two "%s" arguments filled in by wsprintfA, into message
// (kViewerMessageSize bytes). Returns message.
char* FormatViewerText(char* message, UINT id, const char* arg1 = "", const char* arg2 = "");
// A viewer message: string id with its arguments, under the viewer's caption.
int ShowViewerMessage(AViewerPrompts& prompts, HWND owner, UINT type, UINT id, const char* arg1 = "",
                      const char* arg2 = "");
