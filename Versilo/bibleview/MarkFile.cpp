// Writing and reading ".vrsv" files.
#include "MarkFile.h"
#include <string>
#include "Handles.h"
#include "ShellRoutines.h"

namespace {

void PutWord(BYTE* out, UINT32 value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(value >> (8 * i));
}

UINT32 GetWord(const BYTE* in) {
    return UINT32(in[0]) | UINT32(in[1]) << 8 | UINT32(in[2]) << 16 | UINT32(in[3]) << 24;
}

bool WriteAll(HANDLE file, const BYTE* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool ReadAll(HANDLE file, BYTE* data, DWORD size) {
    DWORD read = 0;
    return ReadFile(file, data, size, &read, nullptr) && read == size;
}

}  // namespace

bool WriteMarkFile(const char* path, const UINT32* words, UINT wordCount) {
    if (!path || (!words && wordCount) || wordCount > MAXDWORD / 4 - 2) return false;
    std::vector<BYTE> bytes((static_cast<size_t>(wordCount) + 2) * 4);
    PutWord(&bytes[0], kMarkFileVersion);
    PutWord(&bytes[4], wordCount * 4);
    for (UINT w = 0; w < wordCount; ++w) PutWord(&bytes[8 + 4 * static_cast<size_t>(w)], words[w]);

    // A disk that fills up or a removed medium must not leave a cut file in place of an
    // earlier good export: write a fresh file in the same folder, then replace.
    std::string folder(path, static_cast<size_t>(GetFileNamePart(path) - path));
    if (folder.empty()) folder = ".";
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "vrs", 0, temp)) return false;
    bool ok;
    {
        FileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        ok = file && WriteAll(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size())) &&
             FlushFileBuffers(file.Get());
    }
    if (ok && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temp);
    return false;
}

bool ReadMarkFile(const char* path, UINT maxBytes, std::vector<BYTE>* bytes) {
    if (!path || !bytes) return false;
    FileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    BYTE header[8];
    if (!ReadAll(file.Get(), header, sizeof(header))) return false;
    UINT32 length = GetWord(header + 4);
    if (GetWord(header) != kMarkFileVersion || length > maxBytes) return false;
    std::vector<BYTE> data(length);
    if (length && !ReadAll(file.Get(), data.data(), length)) return false;
    bytes->swap(data);
    return true;
}
