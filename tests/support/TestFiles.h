// Scratch files and folders for tests, and small readers of a built module's tables.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <string>
#include <vector>
#include <fstream>
#include <iterator>
#include "ComPtr.h"

// A fresh folder under the system's temporary folder, removed with its files at the end.
class TempDir {
public:
    TempDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static LONG counter = 0;
        for (;;) {
            char name[MAX_PATH];
            wsprintfA(name, "%svo-test-%lu-%ld", base, GetCurrentProcessId(), InterlockedIncrement(&counter));
            if (CreateDirectoryA(name, nullptr)) {
                path_ = name;
                break;
            }
        }
    }
    ~TempDir() { RemoveTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string n = fd.cFileName;
                if (n == "." || n == "..") continue;
                std::string full = dir + "\\" + n;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
                else DeleteFileA(full.c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string path_;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A path of the build folder (a Unix path) as Wine sees it.
inline std::string WinePath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

inline bool WriteWholeFile(const std::string& path, const std::string& data) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(f);
}

// A memory stream (the platform's HGLOBAL stream) holding the given bytes, at position 0.
inline ComPtr<IStream> MemoryStream(const std::string& bytes = std::string()) {
    ComPtr<IStream> s;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, s.Put()))) return s;
    if (!bytes.empty()) {
        ULONG put = 0;
        s->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &put);
        LARGE_INTEGER zero = {};
        s->Seek(zero, STREAM_SEEK_SET, nullptr);
    }
    return s;
}

// Everything a stream holds, from its start; leaves the position at the end.
inline std::string StreamBytes(IStream* s) {
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER end = {};
    s->Seek(zero, STREAM_SEEK_END, &end);
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::string out(static_cast<size_t>(end.QuadPart), '\0');
    ULONG got = 0;
    if (!out.empty()) s->Read(&out[0], static_cast<ULONG>(out.size()), &got);
    out.resize(got);
    return out;
}

// The names in a loaded module's export table.
inline std::vector<std::string> ExportedNames(HMODULE module) {
    std::vector<std::string> names;
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!dir.VirtualAddress) return names;
    auto exp = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto nameRvas = reinterpret_cast<const DWORD*>(base + exp->AddressOfNames);
    for (DWORD i = 0; i < exp->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    return names;
}

// The DLL names in a loaded module's import table, in lower case.
inline std::vector<std::string> ImportedDlls(HMODULE module) {
    std::vector<std::string> dlls;
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return dlls;
    for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        std::string n = reinterpret_cast<const char*>(base + d->Name);
        for (char& c : n) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        dlls.push_back(n);
    }
    return dlls;
}

// True when a module depends on a compiler runtime DLL (it should carry them linked in).
inline bool ImportsCompilerRuntime(HMODULE module) {
    for (const std::string& d : ImportedDlls(module))
        if (d.rfind("libgcc", 0) == 0 || d.rfind("libstdc++", 0) == 0 || d.rfind("libwinpthread", 0) == 0)
            return true;
    return false;
}
