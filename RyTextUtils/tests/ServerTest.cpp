// RyTxtUtl.dll as a COM server: exports, class objects, aggregation, unloading, and
// registration under Wine with regsvr32 (by CLSID and ProgID, then unregistration).
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "RyServer.h"
#include "TestFiles.h"
#include "Regsvr32.h"

namespace {

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Loaded()); }
    ComScope com;
    RyServer server;
};

TEST_F(ServerTest, ExportsExactlyTheServerFunctionsAndCreators) {
    std::vector<std::string> names = ExportedNames(server.Module());
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expect = {"CreateLanguage", "CreateRyTextTab", "DllCanUnloadNow",
                                             "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"};
    EXPECT_EQ(expect, names);
    EXPECT_FALSE(ImportsCompilerRuntime(server.Module()));
}

TEST_F(ServerTest, ResourcesHoldTypeLibraryScriptsAndName) {
    for (int id : {101, 102, 103}) EXPECT_NE(nullptr, FindResourceA(server.Module(), MAKEINTRESOURCEA(id), "REGISTRY")) << id;
    EXPECT_NE(nullptr, FindResourceA(server.Module(), MAKEINTRESOURCEA(1), "TYPELIB"));
    char name[64] = {};
    EXPECT_EQ(11, LoadStringA(server.Module(), 100, name, sizeof name));
    EXPECT_STREQ("RyTextUtils", name);
}

TEST_F(ServerTest, ClassObjectsMakeTheirClasses) {
    EXPECT_EQ(S_OK, server.CanUnloadNow());
    struct Case { const CLSID* clsid; const IID* iid; };
    const Case cases[] = {{&CLSID_RyLanguage, &IID_IRyLanguage},
                          {&CLSID_RyDictionary, &IID_IRyDictionary},
                          {&CLSID_RyTextTab, &IID_IRyTextTab}};
    for (const Case& c : cases) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, server.GetClassObject(*c.clsid, IID_IClassFactory, factory.PutVoid()));
        EXPECT_EQ(S_FALSE, server.CanUnloadNow());  // a held class object keeps the server
        ComPtr<IUnknown> obj;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, *c.iid, obj.PutVoid()));
        ComPtr<IDispatch> disp;
        EXPECT_EQ(S_OK, obj->QueryInterface(IID_IDispatch, disp.PutVoid()));
        EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, *c.iid, nullptr));
        factory.Reset();
        obj.Reset();
        disp.Reset();
    }
    EXPECT_EQ(S_OK, server.CanUnloadNow());

    ComPtr<IClassFactory> factory;
    const CLSID unknown = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, server.GetClassObject(unknown, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(E_POINTER, server.GetClassObject(CLSID_RyLanguage, IID_IClassFactory, nullptr));

    // LockServer holds the server without any object.
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyTextTab, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(S_FALSE, server.CanUnloadNow());
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyTextTab, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    factory.Reset();
    EXPECT_EQ(S_OK, server.CanUnloadNow());
}

TEST_F(ServerTest, LanguageClassObjectHandsOutOneSharedInstance) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyLanguage, IID_IClassFactory, factory.PutVoid()));
    ComPtr<IRyLanguage> a, b, made;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IRyLanguage, a.PutVoid()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IRyLanguage, b.PutVoid()));
    EXPECT_EQ(a.Get(), b.Get());
    // CreateLanguage makes its own object, apart from the shared one.
    ASSERT_EQ(S_OK, server.CreateLanguage("StdLang", made.Put()));
    EXPECT_NE(a.Get(), made.Get());
    ComPtr<IUnknown> outer;
    ASSERT_EQ(S_OK, made->QueryInterface(IID_IUnknown, outer.PutVoid()));
    ComPtr<IUnknown> agg;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.Get(), IID_IUnknown, agg.PutVoid()));
    a.Reset();
    b.Reset();
    made.Reset();
    outer.Reset();
    factory.Reset();
    EXPECT_EQ(S_OK, server.CanUnloadNow());
}

// A minimal aggregating object: it counts its own references and hands out the inner
// object's interfaces.
class Outer : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

TEST_F(ServerTest, DictionaryIsAggregatableAndTextTableIsNot) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyDictionary, IID_IClassFactory, factory.PutVoid()));
    Outer outer;
    ComPtr<IUnknown> wrong;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IRyDictionary, wrong.PutVoid()));
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    EXPECT_EQ(1u, outer.refs);
    IRyDictionary* dict = nullptr;
    ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IRyDictionary, reinterpret_cast<void**>(&dict)));
    EXPECT_EQ(2u, outer.refs);  // the reference went to the outer object
    IUnknown* viaPart = nullptr;
    ASSERT_EQ(S_OK, dict->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaPart)));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), viaPart);  // identity is the outer's
    viaPart->Release();
    dict->Release();
    EXPECT_EQ(1u, outer.refs);
    EXPECT_EQ(0u, outer.inner->Release());
    outer.inner = nullptr;

    ASSERT_EQ(S_OK, server.GetClassObject(CLSID_RyTextTab, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IUnknown, wrong.PutVoid()));
    EXPECT_FALSE(wrong);
}

TEST_F(ServerTest, CreateRyTextTabHandsOutOneReference) {
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, server.CreateTextTab(tab.Put()));
    EXPECT_EQ(1u, RefCount(tab.Get()));
    EXPECT_EQ(E_POINTER, server.CreateTextTab(nullptr));
    ComPtr<IRyTextTab> other;
    ASSERT_EQ(S_OK, server.CreateTextTab(other.Put()));
    EXPECT_NE(tab.Get(), other.Get());
}

// ---- Registration -------------------------------------------------------------------

std::string ReadKeyValue(HKEY root, const std::string& path, const char* name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return "<missing>";
    RegKey key(raw);
    char buf[512] = {};
    DWORD size = sizeof buf - 1, type = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS)
        return "<no value>";
    return buf;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    RegCloseKey(raw);
    return true;
}

std::string DllPath(HMODULE module) {
    char path[MAX_PATH];
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

TEST_F(ServerTest, RegistersCreatesByClsidAndProgIdAndUnregisters) {
    const std::string dll = DllPath(server.Module());
    ASSERT_EQ(0, RunRegsvr32("\"" + dll + "\""));

    struct Class { const char* clsid; const char* progId; const char* name; const IID* iid; };
    const Class classes[] = {
        {"{F5904F25-AFC6-4852-8B36-2540AC62A032}", "RyTextUtils.StdLang", "StdLang Class", &IID_IRyLanguage},
        {"{0A6EE4A9-1BA3-4671-B3BF-7EA46C7EE314}", "RyTextUtils.Dictionary", "Dictionary Class", &IID_IRyDictionary},
        {"{0D66FD24-6559-44A4-BB6B-73CEFBA20DB2}", "RyTextUtils.TextTab", "Halvtorp Text Table Class", &IID_IRyTextTab},
    };
    const std::string lib = "{5E212F1D-29CD-4397-BD3C-FC6028AE2165}";
    for (const Class& c : classes) {
        std::string key = std::string("CLSID\\") + c.clsid;
        std::string progId = c.progId, versioned = progId + ".1";
        EXPECT_EQ(c.name, ReadKeyValue(HKEY_CLASSES_ROOT, key, nullptr));
        EXPECT_EQ(versioned, ReadKeyValue(HKEY_CLASSES_ROOT, key + "\\ProgID", nullptr));
        EXPECT_EQ(progId, ReadKeyValue(HKEY_CLASSES_ROOT, key + "\\VersionIndependentProgID", nullptr));
        EXPECT_EQ(0, lstrcmpiA(dll.c_str(), ReadKeyValue(HKEY_CLASSES_ROOT, key + "\\InprocServer32", nullptr).c_str()));
        EXPECT_EQ("Both", ReadKeyValue(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel"));
        EXPECT_EQ(lib, ReadKeyValue(HKEY_CLASSES_ROOT, key + "\\TypeLib", nullptr));
        EXPECT_EQ(c.name, ReadKeyValue(HKEY_CLASSES_ROOT, versioned, nullptr));
        EXPECT_EQ(c.clsid, ReadKeyValue(HKEY_CLASSES_ROOT, versioned + "\\CLSID", nullptr));
        EXPECT_EQ(c.clsid, ReadKeyValue(HKEY_CLASSES_ROOT, progId + "\\CLSID", nullptr));
        EXPECT_EQ(versioned, ReadKeyValue(HKEY_CLASSES_ROOT, progId + "\\CurVer", nullptr));

        // By CLSID and by either ProgID.
        CLSID clsid;
        ASSERT_EQ(S_OK, CLSIDFromString(std::wstring(c.clsid, c.clsid + strlen(c.clsid)).c_str(), &clsid));
        ComPtr<IUnknown> obj;
        EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, *c.iid, obj.PutVoid()));
        for (const std::string& id : {progId, versioned}) {
            CLSID found = {};
            EXPECT_EQ(S_OK, CLSIDFromProgID(std::wstring(id.begin(), id.end()).c_str(), &found)) << id;
            EXPECT_TRUE(IsEqualCLSID(clsid, found)) << id;
        }
    }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{0A6EE4A9-1BA3-4671-B3BF-7EA46C7EE314}\\Programmable"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + lib + "\\1.0"));
    EXPECT_EQ("RyTextUtils 1.0 Type Library", ReadKeyValue(HKEY_CLASSES_ROOT, "TypeLib\\" + lib + "\\1.0", nullptr));

    // Creation by the version-independent ProgID, and CreateLanguage's ProgID way for a name
    // other than exactly "StdLang".
    {
        ComPtr<IRyLanguage> lang;
        CLSID clsid;
        ASSERT_EQ(S_OK, CLSIDFromProgID(L"RyTextUtils.StdLang", &clsid));
        ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IRyLanguage, lang.PutVoid()));
        ComPtr<IRyLanguage> viaProgId;
        ASSERT_EQ(S_OK, server.CreateLanguage("stdlang", viaProgId.Put()));
        EXPECT_EQ(lang.Get(), viaProgId.Get());  // the class object's shared instance
        ComPtr<IRyLanguage> direct;
        ASSERT_EQ(S_OK, server.CreateLanguage("StdLang", direct.Put()));
        EXPECT_NE(lang.Get(), direct.Get());
    }

    // Registering twice is harmless; unregistering removes every key.
    ASSERT_EQ(0, RunRegsvr32("\"" + dll + "\""));
    ASSERT_EQ(0, RunRegsvr32("/u \"" + dll + "\""));
    for (const Class& c : classes) {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + c.clsid)) << c.clsid;
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, c.progId)) << c.progId;
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(c.progId) + ".1")) << c.progId;
    }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + lib + "\\1.0"));
    CLSID clsid;
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(L"RyTextUtils.StdLang", &clsid));
    ComPtr<IRyLanguage> lang;
    EXPECT_EQ(CO_E_CLASSSTRING, server.CreateLanguage("stdlang", lang.Put()));
    // Unregistering what is not registered succeeds.
    EXPECT_EQ(0, RunRegsvr32("/u \"" + dll + "\""));
}

}  // namespace
