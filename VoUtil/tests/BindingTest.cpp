// The run-time binding of RyTxtUtl.dll: the library's exports when it stands beside
// VoUtil.dll, its COM classes when it does not (registered elsewhere, or not at all).
// Copies of VoUtil.dll and RyTxtUtl.dll in scratch folders show which way an object came.
#include <gtest/gtest.h>
#include <string>
#include "VoUtil.h"
#include "TextUtilsBinding.h"
#include "RyTextUtilsIdl.h"
#include "BibleFixture.h"
#include "Regsvr32.h"
#include "TestFiles.h"

namespace {

std::string ModulePath(HMODULE m) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(m, path, MAX_PATH);
    return path;
}

// The module whose code an interface pointer's methods are.
HMODULE ModuleOfObject(IUnknown* p) {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(*reinterpret_cast<void**>(p)), &m);
    return m;
}

typedef HRESULT(__stdcall* OpenNewFn)(const char*, INewBible**);
typedef HRESULT(__stdcall* OpenOldFn)(const char*, IBible**);

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        char folder[MAX_PATH];
        ASSERT_TRUE(GetOwnModuleFolder(folder, MAX_PATH));
        server = std::string(folder) + "RyTxtUtl.dll";  // the copy beside the tests
        HMODULE vo = LoadLibraryA("VoUtil.dll");
        ASSERT_TRUE(vo);
        voutil = ModulePath(vo);
        FreeLibrary(vo);
        ASSERT_EQ(0, RunRegsvr32("/u \"" + server + "\""));

        std::string error;
        ASSERT_TRUE(SmallBible().WriteFile(BibleFormat::kNew, data.File("liten.vrsb"), &error)) << error;
        ASSERT_TRUE(SmallBible().WriteFile(BibleFormat::kOld, data.File("liten.bib"), &error)) << error;
    }
    void TearDown() override {
        EXPECT_EQ(0, RunRegsvr32("/u \"" + server + "\""));
        CoUninitialize();
    }
    // A folder with copies of the named files of the build.
    static void CopyInto(const TempDir& dir, const std::string& file) {
        std::string name = file.substr(file.rfind('\\') + 1);
        ASSERT_TRUE(CopyFileA(file.c_str(), dir.File(name).c_str(), FALSE)) << file;
    }

    std::string server, voutil;
    TempDir data;
};

TEST_F(BindingTest, TheLibraryBesideVoUtilIsUsedWithoutRegistration) {
    TempDir dir;
    CopyInto(dir, voutil);
    CopyInto(dir, server);
    ModuleHandle vo(LoadLibraryA(dir.File("VoUtil.dll").c_str()));
    ASSERT_TRUE(vo);
    auto open = GetProc<OpenNewFn>(vo.Get(), "_OpenNewBibleFile@8");
    ASSERT_TRUE(open);
    ComPtr<INewBible> bible;
    ASSERT_EQ(S_OK, open(data.File("liten.vrsb").c_str(), bible.Put()));
    ComPtr<IUnknown> table;
    ASSERT_EQ(S_OK, bible->GetTextTable(table.Put()));
    EXPECT_EQ(0, lstrcmpiA(dir.File("RyTxtUtl.dll").c_str(), ModulePath(ModuleOfObject(table.Get())).c_str()));
    char text[32];
    EXPECT_EQ(S_OK, bible->GetVerseText(1, 0, 4, TRUE, text, sizeof text));
    EXPECT_STREQ("Vers 11.", text);
}

TEST_F(BindingTest, TheComClassesServeWhenTheLibraryIsMissing) {
    TempDir alone, registered;
    CopyInto(alone, voutil);
    CopyInto(registered, server);
    ModuleHandle vo(LoadLibraryA(alone.File("VoUtil.dll").c_str()));
    ASSERT_TRUE(vo);
    auto open = GetProc<OpenNewFn>(vo.Get(), "_OpenNewBibleFile@8");
    auto openOld = GetProc<OpenOldFn>(vo.Get(), "_OpenBibleFile@8");
    ASSERT_TRUE(open && openOld);

    // Not registered: the new format can't get its text table; the old needs none.
    ComPtr<INewBible> bible;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, open(data.File("liten.vrsb").c_str(), bible.Put()));
    EXPECT_FALSE(bible);
    ComPtr<IBible> old;
    EXPECT_EQ(S_OK, openOld(data.File("liten.bib").c_str(), old.Put()));

    // Registered from another folder: the class comes from there.
    ASSERT_EQ(0, RunRegsvr32("\"" + registered.File("RyTxtUtl.dll") + "\""));
    ASSERT_EQ(S_OK, open(data.File("liten.vrsb").c_str(), bible.Put()));
    ComPtr<IUnknown> table;
    ASSERT_EQ(S_OK, bible->GetTextTable(table.Put()));
    EXPECT_EQ(0, lstrcmpiA(registered.File("RyTxtUtl.dll").c_str(),
                           ModulePath(ModuleOfObject(table.Get())).c_str()));
    char text[32];
    EXPECT_EQ(S_OK, bible->GetVerseText(2, 1, 1, TRUE, text, sizeof text));
    EXPECT_STREQ("Vers 15.", text);
    table.Reset();
    bible.Reset();
    old.Reset();
    CoFreeUnusedLibraries();
    ASSERT_EQ(0, RunRegsvr32("/u \"" + registered.File("RyTxtUtl.dll") + "\""));
}

TEST_F(BindingTest, LanguagesByExportAndByClass) {
    // This test program holds the library's code, with RyTxtUtl.dll beside it.
    EXPECT_TRUE(TextUtilsBinding::Process().HasLibrary());

    ModuleHandle library(LoadLibraryA(server.c_str()));
    ASSERT_TRUE(library);
    const TextUtilsBinding exports(library.Get()), classes(nullptr);
    ComPtr<IRyLanguage> lang;
    ComPtr<IRyTextTab> tab;
    EXPECT_EQ(S_OK, exports.CreateLanguage("StdLang", lang.PutVoid()));
    EXPECT_EQ(S_OK, exports.CreateTextTab(tab.PutVoid()));
    EXPECT_EQ(CO_E_CLASSSTRING, exports.CreateLanguage("stdlang", lang.PutVoid()));  // the ProgID way
    EXPECT_EQ(REGDB_E_CLASSNOTREG, classes.CreateLanguage("StdLang", lang.PutVoid()));
    EXPECT_EQ(REGDB_E_CLASSNOTREG, classes.CreateTextTab(tab.PutVoid()));
    EXPECT_FALSE(tab);

    ASSERT_EQ(0, RunRegsvr32("\"" + server + "\""));
    ASSERT_EQ(S_OK, classes.CreateLanguage("StdLang", lang.PutVoid()));
    long order = 0;
    EXPECT_EQ(S_OK, lang->StringCompare(const_cast<char*>("\xC5"), const_cast<char*>("\xF6"), &order));
    EXPECT_EQ(-1, order);
    EXPECT_EQ(S_OK, classes.CreateLanguage("StdLang", lang.PutVoid()));
    EXPECT_EQ(S_OK, classes.CreateTextTab(tab.PutVoid()));
    EXPECT_EQ(CO_E_CLASSSTRING, classes.CreateLanguage("Ukjent", lang.PutVoid()));
    EXPECT_EQ(E_INVALIDARG, classes.CreateLanguage(std::string(60, 'x').c_str(), lang.PutVoid()));
    EXPECT_EQ(E_INVALIDARG, classes.CreateLanguage("", lang.PutVoid()));
    EXPECT_EQ(E_POINTER, classes.CreateTextTab(nullptr));
    EXPECT_EQ(E_POINTER, exports.CreateLanguage("StdLang", nullptr));
}

}  // namespace
