// The viewer's command line and instance protocol.
#include "Instance.h"
#include "DataDirectories.h"
#include "ViewerIds.h"

namespace {

constexpr char kStartupSwitch[] = "-Startup";
constexpr int kSwitchLength = sizeof(kStartupSwitch) - 1;
constexpr char kMutexName[] = "Ordhus AS VoViewer";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

ViewerCommand ParseViewerCommand(const char* commandLine, char* path, int size) {
    if (path && size > 0) path[0] = '\0';
    const char* begin = commandLine ? commandLine : "";
    while (IsBlank(*begin)) ++begin;
    const char* end = begin + lstrlenA(begin);
    while (end > begin && IsBlank(end[-1])) --end;
    if (end == begin) return ViewerCommand::kShow;
    if (end - begin >= kSwitchLength &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, begin, kSwitchLength, kStartupSwitch, kSwitchLength) ==
            CSTR_EQUAL)
        return ViewerCommand::kStartup;
    if (end - begin >= 2 && *begin == '"' && end[-1] == '"') {
        ++begin;
        --end;
    }
    if (path && size > 0) lstrcpynA(path, begin, static_cast<int>(end - begin + 1 < size ? end - begin + 1 : size));
    return ViewerCommand::kFile;
}

void MakeFoundPathFull(char* path, int size) {
    if (!path || size <= 0 || !path[0]) return;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, sizeof(full), full, nullptr);
    if (length == 0 || length >= sizeof(full) || static_cast<int>(length) >= size || !IsExistingFile(full)) return;
    lstrcpynA(path, full, size);
}

bool CopyDataText(const COPYDATASTRUCT* data, char* buffer, int size) {
    if (!buffer || size <= 0) return false;
    buffer[0] = '\0';
    if (!data || (!data->lpData && data->cbData > 0)) return false;
    const char* text = static_cast<const char*>(data->lpData);
    const DWORD room = static_cast<DWORD>(size - 1);
    DWORD n = 0;
    while (n < data->cbData && n < room && text[n]) {
        buffer[n] = text[n];
        ++n;
    }
    buffer[n] = '\0';
    return true;
}

VoViewerInstance::VoViewerInstance() : mutex_(CreateMutexA(nullptr, FALSE, kMutexName)) {
    TryTakeOver();
}

VoViewerInstance::~VoViewerInstance() {
    if (owned_) ReleaseMutex(mutex_.Get());
}

bool VoViewerInstance::TryTakeOver() {
    if (owned_) return true;
    if (!mutex_) return false;
    // An abandoned mutex belonged to a viewer that ended without releasing it: ours now.
    const DWORD wait = WaitForSingleObject(mutex_.Get(), 0);
    owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    return owned_;
}

HWND FindViewerWindow() {
    return FindWindowA(kViewerWindowClass, kViewerWindowClass);
}

bool HandOverToViewer(HWND viewer, ViewerCommand command, const char* path, DWORD timeout) {
    if (!viewer) return false;
    DWORD_PTR answer = 0;
    if (command != ViewerCommand::kFile) {
        return SendMessageTimeoutA(viewer, VOVIEWER_WM_SHOWNOW, 0, 0, SMTO_ABORTIFHUNG, timeout, &answer) != 0;
    }
    COPYDATASTRUCT data = {};
    data.dwData = VOVIEWER_COPYDATA_FILE;
    data.cbData = static_cast<DWORD>(lstrlenA(path) + 1);
    data.lpData = const_cast<char*>(path);
    return SendMessageTimeoutA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeout,
                               &answer) != 0 &&
           answer != 0;
}

HandOverResult HandOverToRunningViewer(VoViewerInstance& instance, ViewerCommand command, const char* path,
                                       DWORD timeout) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindViewerWindow();
        if (window && HandOverToViewer(window, command, path, timeout)) return HandOverResult::kHandedOver;
        if (instance.TryTakeOver()) return HandOverResult::kBecameFirst;
        if (GetTickCount() - start >= timeout) return HandOverResult::kGaveUp;
        Sleep(20);
    }
}
