// Scratch data for the commentary-list tests: a scratch HKEY_CURRENT_USER and a "Lexicons"
// folder beside the test program (named by the "Versilo.ini" written there before the first
// look-up of a data directory), emptied before every test; user commentaries made through
// VoUtil.dll's exports and copies of the build's sample lexicons.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "DataDirectories.h"
#include "LexiconList.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "ScratchRegistry.h"
#include "LexiconFiles.h"
#include "TestFiles.h"

class LexiconListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        PrepareFolder();
        ASSERT_EQ(S_OK, BuildProtestantStat(stat_.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat_.Get(), langStat_.Put()));
    }

    static std::string Lexicons() {
        char dir[kDirectoryCapacity];
        return GetLexiconsDirectory(dir);
    }

    // A saved user commentary with the given entries (title, text).
    ComPtr<IVoLexicon> MakeCommentary(const std::string& path, const char* name,
                                      std::initializer_list<std::pair<const char*, const char*>> entries = {}) {
        ComPtr<IVoLexicon> lex;
        EXPECT_EQ(S_OK, CreateOldVoLexFile(path.c_str(), langStat_.Get(), name, lex.Put())) << path;
        if (!lex) return lex;
        for (const auto& e : entries) {
            int id = 0;
            EXPECT_EQ(S_OK, lex->AddEntry(e.first, &id)) << e.first;
            if (e.second) {
                EXPECT_EQ(S_OK, lex->SetEntryText(id, e.second));
            }
        }
        EXPECT_EQ(S_OK, Save(lex.Get()));
        return lex;
    }
    static HRESULT Save(IVoLexicon* lex) { return SaveLexicon(lex); }
    // A sample lexicon of the build copied into "Lexicons".
    static bool CopySample(const char* fileName) {
        return CopyFileA((std::string(VERSILO_SAMPLE_LEXICONS) + fileName).c_str(), (Lexicons() + fileName).c_str(),
                         FALSE) != 0;
    }

    // Values of the per-file key "lexicons\NAME", as an earlier run would have left them.
    HKEY FileKey(const std::string& fileName) {
        HKEY key = nullptr;
        RegCreateKeyExA(registry.AppKey(), ("lexicons\\" + fileName).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        keys_.emplace_back(key);
        return key;
    }
    void StoreDword(const std::string& fileName, const char* name, DWORD value) {
        RegSetValueExA(FileKey(fileName), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void StoreString(const std::string& keyPath, const char* name, const std::string& text) {
        HKEY key = nullptr;
        RegCreateKeyExA(registry.AppKey(), keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegKey holder(key);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    // A value of a key under the application key; "(missing)" or -1 when absent.
    std::string StoredString(const std::string& keyPath, const char* name) {
        char text[8192] = {};
        DWORD size = sizeof text;
        if (RegGetValueA(registry.AppKey(), keyPath.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) !=
            ERROR_SUCCESS)
            return "(missing)";
        return text;
    }
    LONGLONG StoredDword(const std::string& keyPath, const char* name) {
        DWORD value = 0, size = sizeof value;
        if (RegGetValueA(registry.AppKey(), keyPath.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS)
            return -1;
        return static_cast<LONG>(value);
    }

    // The records' names in list order.
    static std::vector<std::string> Names(const VoLexiconList& list) {
        std::vector<std::string> names;
        for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetAt(i).GetName());
        return names;
    }
    static int Find(const VoLexiconList& list, const char* fileName) {
        for (int i = 0; i < list.GetCount(); ++i)
            if (lstrcmpiA(list.GetAt(i).GetFileName(), fileName) == 0) return i;
        return -1;
    }

    ScratchRegistry registry;
    TempDir elsewhere;  // a folder outside "Lexicons"
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleLangStat> langStat_;

private:
    static void PrepareFolder() {
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        static bool written = false;
        if (!written) {
            WriteWholeFile(std::string(program) + "Versilo.ini", "[Directories]\r\nLexicons=.\\scratch\\Lexicons\r\n");
            written = true;
        }
        CreateDirectoryA((std::string(program) + "scratch").c_str(), nullptr);
        CreateDirectoryA((std::string(program) + "scratch\\Lexicons").c_str(), nullptr);
        EmptyFolder(Lexicons());
    }

    std::vector<RegKey> keys_;
};
