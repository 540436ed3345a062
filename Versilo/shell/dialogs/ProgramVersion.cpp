// The version resource of the program file and the about box's version text.
#include "ProgramVersion.h"
#include <cstring>
#include <vector>
#include "Registry.h"

bool GetFileVersion(const char* path, DWORD* versionMS, DWORD* versionLS) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return false;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoA(path, 0, size, block.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    *versionMS = info->dwFileVersionMS;
    *versionLS = info->dwFileVersionLS;
    return true;
}

bool GetProgramVersion(DWORD* versionMS, DWORD* versionLS) {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    return GetFileVersion(path, versionMS, versionLS);
}

std::string FormatVersionText(DWORD versionMS, DWORD versionLS, const char* installed) {
    const UINT major = HIWORD(versionMS), minor = LOWORD(versionMS), build = HIWORD(versionLS);
    char minorText[16];
    if (minor % 10 == 0)
        wsprintfA(minorText, "%u", minor / 10);
    else
        wsprintfA(minorText, "%02u", minor);
    char text[64];
    wsprintfA(text, "%u.%s Bygg nr. %u", major, minorText, build);
    std::string result = text;
    const char* dot = installed ? strrchr(installed, '.') : nullptr;
    if (dot) {
        char buildText[16];
        wsprintfA(buildText, "%u", build);
        const std::string part = std::string(dot + 1).substr(0, kMaxInstalledBuildLength);
        if (!part.empty() && part != buildText) result += "/" + part;
    }
    return result;
}

bool ReadInstalledVersion(std::string* version) {
    RegKey key;
    if (OpenAppKey(key, HKEY_LOCAL_MACHINE, nullptr, KEY_READ) != ERROR_SUCCESS) return false;
    char text[260] = "";
    // Only a REG_SZ counts: the installer writes the version as plain text.
    if (!ReadRegPlainString(key.Get(), "Version", text, sizeof text)) return false;
    *version = text;
    return true;
}
