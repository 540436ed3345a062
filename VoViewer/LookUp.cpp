// The look-up request to the main program.
#include "LookUp.h"
#include <string>
#include "Handles.h"
#include "ViewerIds.h"

namespace {

// How long a main program that does not answer may hold the viewer up.
constexpr UINT kLookUpTimeout = 10000;

bool CopyIfFits(const std::string& made, char* out, int size) {
    if (!out || size <= 0) return false;
    out[0] = '\0';
    if (made.size() + 1 > static_cast<size_t>(size)) return false;
    lstrcpynA(out, made.c_str(), size);
    return true;
}

}  // namespace

bool MakeLookUpText(const char* bible, const char* reference, char* text, int size) {
    return CopyIfFits(std::string(bible ? bible : "") + " " + (reference ? reference : ""), text, size);
}

bool MakeMainProgramCommandLine(const char* programPath, const char* text, char* commandLine, int size) {
    return CopyIfFits("\"" + std::string(programPath ? programPath : "") + "\" " + (text ? text : ""),
                      commandLine, size);
}

LookUpRoute LookUpInVersilo(HWND from, const char* programPath, const char* bible, const char* reference) {
    char text[512];
    if (!MakeLookUpText(bible, reference, text, sizeof(text))) return LookUpRoute::kFailed;
    if (HWND main = FindWindowA(kMainWindowClass, nullptr)) {
        COPYDATASTRUCT data = {};
        data.dwData = VO_COPYDATA_LOOKUP;
        data.cbData = static_cast<DWORD>(lstrlenA(text) + 1);
        data.lpData = text;
        DWORD_PTR answer = 0;
        // A main program that is hung, did not answer in time or went away has not taken it.
        if (!SendMessageTimeoutA(main, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG, kLookUpTimeout, &answer))
            return LookUpRoute::kFailed;
        SetForegroundWindow(main);
        return LookUpRoute::kSent;
    }
    // CreateProcess may write into the command line: a buffer of our own.
    char commandLine[MAX_PATH + sizeof(text) + 4];
    if (!programPath || !*programPath ||
        !MakeMainProgramCommandLine(programPath, text, commandLine, sizeof(commandLine)))
        return LookUpRoute::kFailed;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(programPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return LookUpRoute::kFailed;
    KernelHandle processHolder(process.hProcess), threadHolder(process.hThread);
    return LookUpRoute::kStarted;
}
