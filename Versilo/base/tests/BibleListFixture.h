// Scratch data for the list tests: a scratch HKEY_CURRENT_USER, and "Bibles" and "RefLibs"
// folders beside the test program, named by the "Versilo.ini" written there before the
// first look-up of a data directory and emptied before every test.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "BibleFixture.h"
#include "DataDirectories.h"
#include "ScratchRegistry.h"
#include "TestFiles.h"

class BibleListTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        RegDeleteTreeA(registry.AppKey(), "bibles");
        PrepareFolders();
    }

    static std::string Bibles() {
        char dir[kDirectoryCapacity];
        return GetBiblesDirectory(dir);
    }
    static std::string RefLibs() {
        char dir[kDirectoryCapacity];
        return GetRefLibsDirectory(dir);
    }

    // A bible of the small numbering; with a section title unless noTitles.
    static void WriteBible(const std::string& fileName, const std::string& shortName,
                           const std::string& longName = "Testbibel", unsigned display = 10, bool titles = true) {
        BibleWriter w = SmallBible();
        w.SetNames(longName, shortName);
        w.SetDisplayValue(display);
        if (titles) w.SetSectionTitle(3, "Overskrift");
        std::string error;
        ASSERT_TRUE(w.WriteFile(BibleFormat::kNew, Bibles() + fileName, &error)) << fileName << ": " << error;
    }
    static void WriteDamaged(const std::string& fileName) {
        ASSERT_TRUE(WriteWholeFile(Bibles() + fileName, std::string(300, '\x5A') + "ikke en bibel"));
    }
    // Values of the per-bible key, as an earlier run would have left them.
    void StoreCached(const std::string& stem, DWORD settings, const char* shortName, const char* longName,
                     DWORD hasHeaders) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), ("bibles\\" + stem).c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegKey holder(key);
        RegSetValueExA(key, "Settings", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&settings), sizeof(settings));
        if (shortName)
            RegSetValueExA(key, "ShortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(shortName),
                           static_cast<DWORD>(strlen(shortName) + 1));
        if (longName)
            RegSetValueExA(key, "LongName", 0, REG_SZ, reinterpret_cast<const BYTE*>(longName),
                           static_cast<DWORD>(strlen(longName) + 1));
        RegSetValueExA(key, "HasHeaders", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hasHeaders), sizeof(hasHeaders));
    }
    // A DWORD of the per-bible key, or -1 when missing.
    LONGLONG StoredDword(const std::string& stem, const char* name) {
        DWORD type = 0, value = 0, size = sizeof(value);
        if (RegGetValueA(registry.AppKey(), ("bibles\\" + stem).c_str(), name, RRF_RT_REG_DWORD, &type, &value,
                         &size) != ERROR_SUCCESS)
            return -1;
        return value;
    }
    std::string StoredString(const std::string& key, const char* name) {
        char text[8192] = {};
        DWORD size = sizeof(text);
        if (RegGetValueA(registry.AppKey(), key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
            return "(missing)";
        return text;
    }
    static bool CopyFromBuild(const char* unixPath, const std::string& to) {
        return CopyFileA(WinePath(unixPath).c_str(), to.c_str(), FALSE) != 0;
    }

    ScratchRegistry registry;

private:
    static void PrepareFolders() {
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        std::string base = std::string(program) + "scratch";
        static bool written = false;
        if (!written) {
            WriteWholeFile(std::string(program) + "Versilo.ini",
                           "[Directories]\r\nBibles=.\\scratch\\Bibles\r\nRefLibs=.\\scratch\\RefLibs\r\n");
            written = true;
        }
        CreateDirectoryA(base.c_str(), nullptr);
        CreateDirectoryA((base + "\\Bibles").c_str(), nullptr);
        CreateDirectoryA((base + "\\RefLibs").c_str(), nullptr);
        EmptyFolder(Bibles());
        EmptyFolder(RefLibs());
    }
};
