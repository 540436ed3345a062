// The application's registry key and the typed readers and writers of its values.
//
// Every per-user setting lives under HKEY_CURRENT_USER\Software\Ordhus AS\Versilo; the
// same path under HKEY_LOCAL_MACHINE is only read. A reader that cannot read its value
// (missing, of the wrong type or size, or a text that does not fit) leaves the caller's
// variable as it was, so the caller's default stays in force.
#pragma once
#include <windows.h>
#include "Handles.h"

// "Software\Ordhus AS\Versilo".
extern const char kAppKeyPath[];

constexpr REGSAM kAppKeyRead = KEY_READ;                 // 0x20019
constexpr REGSAM kAppKeyReadWrite = KEY_READ | KEY_WRITE; // 0x2001F

// Opens the application key, or its sub-key when subKey is given and not empty, into key
// (which closes what it held first). Returns the system error code, 0 on success.
LONG OpenAppKey(RegKey& key, HKEY root, const char* subKey, REGSAM access);
// The same path, created when it does not exist.
LONG CreateAppKey(RegKey& key, HKEY root, const char* subKey, REGSAM access);
// CreateAppKey under HKEY_CURRENT_USER; every writer of settings uses it with kAppKeyReadWrite.
LONG CreateUserAppKey(RegKey& key, const char* subKey, REGSAM access);

// Readers: true only when the value was read; otherwise *value is untouched.
bool ReadRegBool(HKEY key, const char* name, bool* value);    // REG_DWORD, != 0
bool ReadRegDword(HKEY key, const char* name, DWORD* value);  // REG_DWORD
bool ReadRegInt(HKEY key, const char* name, LONG* value);     // REG_DWORD, two's complement
// REG_SZ or REG_EXPAND_SZ (never expanded), NUL-terminated and at most capacity characters
// including the NUL; only then is it copied into buffer.
bool ReadRegString(HKEY key, const char* name, char* buffer, DWORD capacity);
// ReadRegString of a REG_SZ only: a REG_EXPAND_SZ of that name counts as missing.
bool ReadRegPlainString(HKEY key, const char* name, char* buffer, DWORD capacity);
// REG_BINARY of at most capacity bytes (its size is asked first: a longer value is not
// read); only then is it copied to the start of buffer and its length stored in *size.
// The rest of buffer is untouched.
bool ReadRegBinary(HKEY key, const char* name, void* buffer, DWORD capacity, DWORD* size);

// Writers: true on success.
bool WriteRegBool(HKEY key, const char* name, bool value);    // REG_DWORD 0 or 1
bool WriteRegDword(HKEY key, const char* name, DWORD value);
bool WriteRegInt(HKEY key, const char* name, LONG value);
bool WriteRegString(HKEY key, const char* name, const char* text);  // REG_SZ with its NUL; null refused
bool WriteRegBinary(HKEY key, const char* name, const void* data, DWORD size);  // REG_BINARY; null refused unless size is 0

// One key of the application's settings under HKEY_CURRENT_USER (the application key, or its
// sub-key when subKey is given and not empty): opened to read a settings record from, or
// created to write one to. On a key that did not open every read and write does nothing and
// answers false, so the record keeps its defaults. The view settings of both programs and
// the viewer's own settings are read and written through it.
class AppSettingsKey {
public:
    enum Mode { kRead, kWrite };
    AppSettingsKey(const char* subKey, Mode mode);

    bool IsOpen() const { return key_.Get() != nullptr; }
    bool Read(const char* name, bool* value) const { return ReadRegBool(key_.Get(), name, value); }
    bool Read(const char* name, DWORD* value) const { return ReadRegDword(key_.Get(), name, value); }
    bool Read(const char* name, int* value) const;  // REG_DWORD, two's complement
    bool Read(const char* name, char* buffer, DWORD capacity) const {
        return ReadRegString(key_.Get(), name, buffer, capacity);
    }
    bool Write(const char* name, bool value) const { return WriteRegBool(key_.Get(), name, value); }
    bool Write(const char* name, DWORD value) const { return WriteRegDword(key_.Get(), name, value); }
    bool Write(const char* name, int value) const { return WriteRegInt(key_.Get(), name, value); }
    bool Write(const char* name, const char* text) const { return WriteRegString(key_.Get(), name, text); }

private:
    RegKey key_;
};
