#include "FileBackup.h"
#include "VarInt.h"

namespace {

constexpr size_t kMaxPath = 260;

HRESULT LastError() {
    DWORD err = GetLastError();
    return HRESULT_FROM_WIN32(err ? err : ERROR_ACCESS_DENIED);
}

HRESULT CopyOver(const std::wstring& from, const std::wstring& to) {
    if (to.size() >= kMaxPath) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    // An earlier copy may have been left read-only; it is ours to replace.
    SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    return CopyFileW(from.c_str(), to.c_str(), FALSE) ? S_OK : LastError();
}

}  // namespace

HRESULT FileBackup::Make(const std::wstring& file) {
    Discard();
    return NoThrow([&] {
        std::wstring beside = file + L".bak";
        HRESULT hr = CopyOver(file, beside);
        if (FAILED(hr)) {
            wchar_t folder[MAX_PATH];
            DWORD n = GetTempPathW(MAX_PATH, folder);
            size_t slash = file.find_last_of(L"\\/");
            if (n && n < MAX_PATH) {
                beside = std::wstring(folder) + file.substr(slash + 1) + L".bak";
                if (SUCCEEDED(CopyOver(file, beside))) hr = S_OK;
            }
        }
        if (FAILED(hr)) return hr;
        file_ = file;
        copy_ = beside;
        return S_OK;
    });
}

HRESULT FileBackup::Restore() const {
    if (!IsMade()) return E_UNEXPECTED;
    return CopyFileW(copy_.c_str(), file_.c_str(), FALSE) ? S_OK : LastError();
}

void FileBackup::Discard() {
    if (!IsMade()) return;
    SetFileAttributesW(copy_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copy_.c_str());
    copy_.clear();
    file_.clear();
}
