// IRyLanguage through RyTxtUtl.dll: CreateLanguage, the methods' answers and IDispatch.
#include <gtest/gtest.h>
#include <string>
#include "RyServer.h"

namespace {

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Loaded()); }
    ComScope com;
    RyServer server;
};

TEST_F(LanguageTest, CreateLanguageMakesDistinctObjectsThatAnswerAlike) {
    ComPtr<IRyLanguage> a, b;
    ASSERT_EQ(S_OK, server.CreateLanguage("StdLang", a.Put()));
    ASSERT_EQ(S_OK, server.CreateLanguage("StdLang", b.Put()));
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(1u, RefCount(a.Get()));
    long ra = 9, rb = 9;
    EXPECT_EQ(S_OK, a->StringCompare(const_cast<LPSTR>("ab"), const_cast<LPSTR>("abc"), &ra));
    EXPECT_EQ(S_OK, b->StringCompare(const_cast<LPSTR>("ab"), const_cast<LPSTR>("abc"), &rb));
    EXPECT_EQ(-1, ra);
    EXPECT_EQ(ra, rb);
    // The same object answers for IUnknown and IDispatch.
    ComPtr<IUnknown> unk;
    ComPtr<IDispatch> disp;
    ASSERT_EQ(S_OK, a->QueryInterface(IID_IUnknown, unk.PutVoid()));
    ASSERT_EQ(S_OK, a->QueryInterface(IID_IDispatch, disp.PutVoid()));
    EXPECT_EQ(3u, RefCount(a.Get()));
    ComPtr<IPersistStream> none;
    EXPECT_EQ(E_NOINTERFACE, a->QueryInterface(IID_IPersistStream, none.PutVoid()));
    EXPECT_FALSE(none);
}

TEST_F(LanguageTest, CreateLanguageRejectsBadArguments) {
    ComPtr<IRyLanguage> lang;
    EXPECT_EQ(E_POINTER, server.CreateLanguage("StdLang", nullptr));
    EXPECT_EQ(E_INVALIDARG, server.CreateLanguage(nullptr, lang.Put()));
    EXPECT_EQ(E_INVALIDARG, server.CreateLanguage("", lang.Put()));
    // 49 characters fill the 64-byte ProgID buffer; 50 do not fit.
    std::string tooLong(50, 'x');
    EXPECT_EQ(E_INVALIDARG, server.CreateLanguage(tooLong.c_str(), lang.Put()));
    EXPECT_FALSE(lang);
    std::string fits(49, 'x');
    EXPECT_EQ(CO_E_CLASSSTRING, server.CreateLanguage(fits.c_str(), lang.Put()));
    EXPECT_EQ(CO_E_CLASSSTRING, server.CreateLanguage("Klingon", lang.Put()));
    EXPECT_FALSE(lang);
}

TEST_F(LanguageTest, MethodsAnswerTheirCodes) {
    ComPtr<IRyLanguage> lang = server.StdLang();
    ASSERT_TRUE(lang);

    BSTR name = nullptr;
    EXPECT_EQ(S_OK, lang->get_LanguageName(&name));
    EXPECT_STREQ(L"StdLang", name);
    SysFreeString(name);
    EXPECT_EQ(E_POINTER, lang->get_LanguageName(nullptr));

    long* table = nullptr;
    long count = 0;
    EXPECT_EQ(S_OK, lang->GetUnusedCharIndices(&table, &count));
    EXPECT_EQ(131, count);
    ASSERT_NE(nullptr, table);
    EXPECT_EQ(-1, table[0]);
    EXPECT_EQ(-1, table['a']);
    EXPECT_EQ(0, table[1]);

    long r = 9;
    EXPECT_EQ(S_OK, lang->StringIsPrefixedBy(const_cast<LPSTR>("Abraham"), const_cast<LPSTR>("abr"), &r));
    EXPECT_EQ(1, r);
    EXPECT_EQ(S_FALSE, lang->StringIsPrefixedBy(const_cast<LPSTR>("Ab"), const_cast<LPSTR>("Abc"), &r));
    EXPECT_EQ(0, r);
    EXPECT_EQ(S_OK, lang->StringIsPrefixedBy(const_cast<LPSTR>("Abraham"), const_cast<LPSTR>("abr"), nullptr));
    EXPECT_EQ(E_INVALIDARG, lang->StringIsPrefixedBy(const_cast<LPSTR>("Abraham"), const_cast<LPSTR>(""), &r));
    EXPECT_EQ(E_INVALIDARG, lang->StringIsPrefixedBy(nullptr, const_cast<LPSTR>("a"), &r));
    EXPECT_EQ(E_INVALIDARG, lang->StringIsPrefixedBy(const_cast<LPSTR>(""), const_cast<LPSTR>("a"), &r));

    long b = -1, e = -1;
    EXPECT_EQ(S_FALSE, lang->GetNextWord(const_cast<LPSTR>("  (Guds-) ord"), &b, &e));
    EXPECT_EQ(3, b);
    EXPECT_EQ(7, e);
    EXPECT_EQ(S_OK, lang->GetNextWord(const_cast<LPSTR>("!?"), &b, &e));
    EXPECT_EQ(2, b);
    EXPECT_EQ(2, e);
    EXPECT_EQ(E_POINTER, lang->GetNextWord(nullptr, &b, &e));
    EXPECT_EQ(E_POINTER, lang->GetNextWord(const_cast<LPSTR>("a"), nullptr, &e));
    EXPECT_EQ(E_POINTER, lang->GetNextWord(const_cast<LPSTR>("a"), &b, nullptr));

    EXPECT_EQ(E_POINTER, lang->StringCompare(const_cast<LPSTR>("a"), const_cast<LPSTR>("b"), nullptr));
}

TEST_F(LanguageTest, DispatchAnswersFromTheTypeLibrary) {
    ComPtr<IRyLanguage> lang = server.StdLang();
    ASSERT_TRUE(lang);
    ComPtr<IDispatch> disp;
    ASSERT_EQ(S_OK, lang->QueryInterface(IID_IDispatch, disp.PutVoid()));

    UINT n = 0;
    EXPECT_EQ(S_OK, disp->GetTypeInfoCount(&n));
    EXPECT_EQ(1u, n);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, disp->GetTypeInfo(0, 0, info.Put()));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualIID(IID_IRyLanguage, attr->guid));
    info->ReleaseTypeAttr(attr);
    EXPECT_EQ(DISP_E_BADINDEX, disp->GetTypeInfo(1, 0, info.Put()));

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"LanguageName"), const_cast<LPOLESTR>(L"StringCompare"),
                        const_cast<LPOLESTR>(L"GetNextWord")};
    DISPID ids[3] = {};
    for (int i = 0; i < 3; ++i) ASSERT_EQ(S_OK, disp->GetIDsOfNames(IID_NULL, &names[i], 1, 0, &ids[i]));
    EXPECT_EQ(3, ids[0]);
    EXPECT_EQ(1, ids[1]);
    EXPECT_EQ(5, ids[2]);
    LPOLESTR bogus = const_cast<LPOLESTR>(L"NoSuchMember");
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, disp->GetIDsOfNames(IID_NULL, &bogus, 1, 0, &id));

    // LanguageName as a property get.
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(S_OK, disp->Invoke(ids[0], IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
    ASSERT_EQ(VT_BSTR, V_VT(&result));
    EXPECT_STREQ(L"StdLang", V_BSTR(&result));
    VariantClear(&result);

    // StringCompare with its two strings (arguments stand in reverse order).
    VARIANT args[2];
    V_VT(&args[1]) = VT_LPSTR;
    args[1].byref = const_cast<char*>("coop");
    V_VT(&args[0]) = VT_LPSTR;
    args[0].byref = const_cast<char*>("co-op");
    DISPPARAMS two = {args, nullptr, 2, 0};
    ASSERT_EQ(S_OK, disp->Invoke(ids[1], IID_NULL, 0, DISPATCH_METHOD, &two, &result, nullptr, nullptr));
    ASSERT_EQ(VT_I4, V_VT(&result));
    EXPECT_EQ(-1, V_I4(&result));
    // The same with the strings as BSTRs, as a script passes them.
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = SysAllocString(L"b");
    V_VT(&args[0]) = VT_BSTR;
    V_BSTR(&args[0]) = SysAllocString(L"A");
    ASSERT_EQ(S_OK, disp->Invoke(ids[1], IID_NULL, 0, DISPATCH_METHOD, &two, &result, nullptr, nullptr));
    EXPECT_EQ(1, V_I4(&result));
    // A script may pass its strings by reference.
    VARIANT byRef[2];
    V_VT(&byRef[0]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&byRef[0]) = &V_BSTR(&args[0]);
    V_VT(&byRef[1]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&byRef[1]) = &V_BSTR(&args[1]);
    DISPPARAMS twoByRef = {byRef, nullptr, 2, 0};
    ASSERT_EQ(S_OK, disp->Invoke(ids[1], IID_NULL, 0, DISPATCH_METHOD, &twoByRef, &result, nullptr, nullptr));
    EXPECT_EQ(1, V_I4(&result));
    VariantClear(&args[0]);
    VariantClear(&args[1]);
    DISPPARAMS missing = {nullptr, nullptr, 2, 0};
    EXPECT_EQ(E_INVALIDARG, disp->Invoke(ids[1], IID_NULL, 0, DISPATCH_METHOD, &missing, &result, nullptr, nullptr));
    DISPPARAMS one = {args, nullptr, 1, 0};
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = 5;
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, disp->Invoke(ids[1], IID_NULL, 0, DISPATCH_METHOD, &one, &result, nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, disp->Invoke(77, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              disp->Invoke(ids[0], IID_IRyLanguage, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
}

}  // namespace
