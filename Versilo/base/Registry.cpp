// The application key and the typed registry readers and writers.
#include "Registry.h"
#include <cstring>
#include <memory>
#include <string>

const char kAppKeyPath[] = "Software\\Ordhus AS\\Versilo";

namespace {

std::string AppKeyPath(const char* subKey) {
    std::string path = kAppKeyPath;
    if (subKey && *subKey) {
        if (*subKey != '\\') path += '\\';
        path += subKey;
    }
    return path;
}

// Reads a REG_DWORD of exactly four bytes.
bool ReadDwordValue(HKEY key, const char* name, DWORD* out) {
    if (!key) return false;
    DWORD type = 0, data = 0, size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof(data)) return false;
    *out = data;
    return true;
}

// Reads a NUL-terminated REG_SZ (or REG_EXPAND_SZ, when expandable) that fits capacity.
bool ReadStringValue(HKEY key, const char* name, char* buffer, DWORD capacity, bool expandable) {
    if (!key || !buffer || capacity == 0) return false;
    // The value is read into a scratch buffer first, so that a value that turns out to be
    // unusable never touches the caller's text.
    std::unique_ptr<char[]> scratch(new char[capacity]);
    DWORD type = 0, size = capacity;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(scratch.get()), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && !(expandable && type == REG_EXPAND_SZ)) return false;
    if (size == 0 || size > capacity || !std::memchr(scratch.get(), 0, size)) return false;
    std::memcpy(buffer, scratch.get(), std::strlen(scratch.get()) + 1);
    return true;
}

bool WriteDwordValue(HKEY key, const char* name, DWORD value) {
    if (!key) return false;
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

}  // namespace

LONG OpenAppKey(RegKey& key, HKEY root, const char* subKey, REGSAM access) {
    key.Reset();
    HKEY opened = nullptr;
    LONG rc = RegOpenKeyExA(root, AppKeyPath(subKey).c_str(), 0, access, &opened);
    if (rc == ERROR_SUCCESS) key.Reset(opened);
    return rc;
}

LONG CreateAppKey(RegKey& key, HKEY root, const char* subKey, REGSAM access) {
    key.Reset();
    HKEY created = nullptr;
    LONG rc = RegCreateKeyExA(root, AppKeyPath(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                              nullptr, &created, nullptr);
    if (rc == ERROR_SUCCESS) key.Reset(created);
    return rc;
}

LONG CreateUserAppKey(RegKey& key, const char* subKey, REGSAM access) {
    return CreateAppKey(key, HKEY_CURRENT_USER, subKey, access);
}

bool ReadRegBool(HKEY key, const char* name, bool* value) {
    DWORD data = 0;
    if (!ReadDwordValue(key, name, &data)) return false;
    *value = data != 0;
    return true;
}

bool ReadRegDword(HKEY key, const char* name, DWORD* value) {
    return ReadDwordValue(key, name, value);
}

bool ReadRegInt(HKEY key, const char* name, LONG* value) {
    DWORD data = 0;
    if (!ReadDwordValue(key, name, &data)) return false;
    *value = static_cast<LONG>(data);
    return true;
}

bool ReadRegString(HKEY key, const char* name, char* buffer, DWORD capacity) {
    return ReadStringValue(key, name, buffer, capacity, true);
}

bool ReadRegPlainString(HKEY key, const char* name, char* buffer, DWORD capacity) {
    return ReadStringValue(key, name, buffer, capacity, false);
}

bool ReadRegBinary(HKEY key, const char* name, void* buffer, DWORD capacity, DWORD* size) {
    if (!key || (!buffer && capacity) || !size) return false;
    DWORD type = 0, needed = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &needed) != ERROR_SUCCESS) return false;
    if (type != REG_BINARY || needed > capacity) return false;
    // Read into a scratch buffer: the value may change between the two calls, and a value
    // that turns out to be unusable must never touch the caller's bytes.
    std::unique_ptr<BYTE[]> scratch(new BYTE[needed ? needed : 1]);
    DWORD got = needed;
    if (RegQueryValueExA(key, name, nullptr, &type, scratch.get(), &got) != ERROR_SUCCESS) return false;
    if (type != REG_BINARY || got > capacity) return false;
    if (got) std::memcpy(buffer, scratch.get(), got);
    *size = got;
    return true;
}

bool WriteRegBool(HKEY key, const char* name, bool value) {
    return WriteDwordValue(key, name, value ? 1 : 0);
}

bool WriteRegDword(HKEY key, const char* name, DWORD value) {
    return WriteDwordValue(key, name, value);
}

bool WriteRegInt(HKEY key, const char* name, LONG value) {
    return WriteDwordValue(key, name, static_cast<DWORD>(value));
}

bool WriteRegString(HKEY key, const char* name, const char* text) {
    if (!key || !text) return false;
    DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

bool WriteRegBinary(HKEY key, const char* name, const void* data, DWORD size) {
    if (!key || (!data && size)) return false;
    return RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

AppSettingsKey::AppSettingsKey(const char* subKey, Mode mode) {
    if (mode == kRead)
        OpenAppKey(key_, HKEY_CURRENT_USER, subKey, kAppKeyRead);
    else
        CreateUserAppKey(key_, subKey, kAppKeyReadWrite);
}

bool AppSettingsKey::Read(const char* name, int* value) const {
    LONG read = 0;
    if (!ReadRegInt(key_.Get(), name, &read)) return false;
    *value = static_cast<int>(read);
    return true;
}
