// Texts from the program's string table, with up to four arguments filled in, and the
// message boxes built from them.
//
// Every result is written into a caller buffer of kTextCapacity bytes: at most 255
// characters and the NUL. A template names its arguments "%1" to "%4" ("%U1" to "%U4" with
// the first letter in upper case); "%%" is one "%".
#pragma once
#include <windows.h>

constexpr int kTextCapacity = 256;

// String resource ids shared by many callers.
constexpr UINT kIdsProgramTitle = 103;  // caption of the main program's message boxes
constexpr UINT kIdsViewerCaption = 4;   // caption of the viewer's message boxes

// The module whose string table is read; the running executable unless set (the
// program's start sets its instance handle).
void SetResourceModule(HINSTANCE module);
HINSTANCE GetResourceModule();

// One argument of FormatResString: nothing, a caller's text or a string resource.
class VoTextArg {
public:
    enum Kind : UINT { kEmpty = 0, kText = 1, kResource = 2 };

    VoTextArg() = default;
    // The caller's text, which must outlive the call; a null text is an empty one.
    VoTextArg(const char* text) : kind_(kText), value_(reinterpret_cast<UINT_PTR>(text)) {}
    static VoTextArg Resource(UINT id) {
        VoTextArg a;
        a.kind_ = kResource;
        a.value_ = id;
        return a;
    }

    Kind GetKind() const { return kind_; }
    // Writes the argument's text (at most capacity - 1 characters) into buffer; returns buffer.
    char* GetText(char* buffer, int capacity) const;

private:
    Kind kind_ = kEmpty;
    UINT_PTR value_ = 0;
};

// Loads string resource id into a kTextCapacity buffer; a missing resource gives an empty
// text. Returns buffer.
char* LoadResString(char* buffer, UINT id);

// A file dialog's filter from string resource id, whose parts are joined by "|" and which
// ends in one, into a buffer of kTextCapacity + 1 bytes: every "|" becomes a NUL, so the
// list ends in two. Returns buffer.
char* LoadFilterString(char* buffer, UINT id);

// The text of resource id with the arguments filled in, into a kTextCapacity buffer.
// Returns buffer.
char* FormatResString(char* buffer, UINT id, VoTextArg arg1 = VoTextArg(), VoTextArg arg2 = VoTextArg(),
                      VoTextArg arg3 = VoTextArg(), VoTextArg arg4 = VoTextArg());

// A message box with text under the caption of string captionId (the program title
// unless told otherwise); owner may be null. Returns MessageBoxA's result.
int VoMessageBox(HWND owner, const char* text, UINT type, UINT captionId = kIdsProgramTitle);
