// A scratch registry root for tests: the process's HKEY_CURRENT_USER (or another predefined
// root) is redirected to a fresh sub-key of the real one, which is removed with everything
// under it when the holder goes away, so the machine's own settings are neither read nor
// changed.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "Handles.h"

class ScratchRegistry {
public:
    explicit ScratchRegistry(HKEY predefined = HKEY_CURRENT_USER) : predefined_(predefined) {
        static LONG counter = 0;
        char name[96];
        wsprintfA(name, "Software\\VersiloTests\\%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        path_ = name;
        HKEY key = nullptr;
        RegCreateKeyExA(predefined_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        root_.Reset(key);
        overridden_ = root_ && RegOverridePredefKey(predefined_, root_.Get()) == ERROR_SUCCESS;
    }
    ~ScratchRegistry() {
        if (overridden_) RegOverridePredefKey(predefined_, nullptr);
        app_.Reset();
        root_.Reset();
        RegDeleteTreeA(predefined_, path_.c_str());
        RegDeleteKeyA(predefined_, "Software\\VersiloTests");  // only goes when empty
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool Ready() const { return overridden_; }
    // The scratch root itself (what the predefined root now means).
    HKEY Root() const { return root_.Get(); }

    // The application key under the scratch root, created for the test's raw values.
    HKEY AppKey() {
        if (!app_) {
            HKEY key = nullptr;
            RegCreateKeyExA(root_.Get(), "Software\\Ordhus AS\\Versilo", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr);
            app_.Reset(key);
        }
        return app_.Get();
    }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        RegSetValueExA(AppKey(), name, 0, type, static_cast<const BYTE*>(data), size);
    }
    void SetDword(const char* name, DWORD value) { SetRaw(name, REG_DWORD, &value, sizeof(value)); }
    void SetString(const char* name, const std::string& text) {
        SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    // A value of the application key as stored: its type and bytes; false when missing.
    bool GetRaw(const char* name, DWORD* type, std::vector<BYTE>* data) {
        DWORD size = 0;
        if (RegQueryValueExA(AppKey(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return false;
        data->assign(size, 0);
        return RegQueryValueExA(AppKey(), name, nullptr, type, data->data(), &size) == ERROR_SUCCESS;
    }

private:
    HKEY predefined_;
    std::string path_;
    RegKey root_;
    RegKey app_;
    bool overridden_ = false;
};
