// The script host as page script reaches it: CustomMessage through IDispatch::Invoke with
// VT_I4 and VT_BSTR arguments, every code against a host that records its calls, the
// refusals (long references, no client, no result), the cut of long verse texts and the
// ANSI text of Norwegian letters; and the verse tip's title and body.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "HtmlHost.h"
#include "OleHandles.h"
#include "ScriptMessages.h"

namespace {

class RecordingHost : public AVoLexTextWndHost {
public:
    void GetReferenceText(const char* reference, char* buffer, int size) override {
        calls.push_back(std::string("text:") + reference);
        lstrcpynA(buffer, verse.c_str(), size);
    }
    void GoToBibleReference(const char* reference) override { calls.push_back(std::string("go:") + reference); }
    void OpenLexiconReference(const char* title) override { calls.push_back(std::string("lex:") + title); }
    void OnPageLoaded() override { calls.push_back("loaded"); }

    std::vector<std::string> calls;
    std::string verse = "I begynnelsen skapte Gud himmelen og jorden.";
};

class RecordingTip : public AVoArticleTip {
public:
    void ShowTip(const char* title, const char* body) override { shown.push_back(std::string(title) + "|" + body); }
    void HideTip() override { ++hidden; }
    std::vector<std::string> shown;
    int hidden = 0;
};

// The view's part: script messages to the dispatcher.
class DispatchingClient : public AVoHtmlHostClient {
public:
    explicit DispatchingClient(VoScriptMessages* m) : messages(m) {}
    HRESULT OnCustomMessage(long code, const wchar_t* text, VARIANT* result) override {
        return messages->Handle(code, text, result);
    }
    VoScriptMessages* messages;
};

class ScriptHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitHtmlHostModule(GetModuleHandleA(nullptr)); }
    void SetUp() override {
        ASSERT_EQ(S_OK, CVoHtmlHost::Create(&client, host.Put()));
        messages.SetHost(&recorder);
        ASSERT_EQ(S_OK, host->QueryInterface(IID_IDispatch, dispatch.PutVoid()));
    }

    // window.external.CustomMessage(code, text) as script calls it: by name, then Invoke.
    HRESULT Call(long code, const wchar_t* text, Variant* result, bool withResult = true) {
        LPOLESTR name = const_cast<LPOLESTR>(L"CustomMessage");
        DISPID id = 0;
        HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) return hr;
        Bstr textArg(text);
        VARIANT args[2];
        VariantInit(&args[0]);
        VariantInit(&args[1]);
        V_VT(&args[0]) = VT_BSTR;  // arguments in reverse order
        V_BSTR(&args[0]) = textArg.Get();
        V_VT(&args[1]) = VT_I4;
        V_I4(&args[1]) = code;
        DISPPARAMS params = {args, nullptr, 2, 0};
        UINT argErr = 0;
        EXCEPINFO error = {};
        hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                              withResult ? result->Put() : nullptr, &error, &argErr);
        // A failure of the method reaches script as an exception carrying its HRESULT.
        if (hr == DISP_E_EXCEPTION) hr = error.scode;
        SysFreeString(error.bstrSource);
        SysFreeString(error.bstrDescription);
        SysFreeString(error.bstrHelpFile);
        return hr;
    }
    static std::string Text(const Variant& v) {
        if (V_VT(&v.Get()) != VT_BSTR) return "(type " + std::to_string(V_VT(&v.Get())) + ")";
        char text[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, V_BSTR(&v.Get()), -1, text, sizeof text - 1, nullptr, nullptr);
        return text;
    }

    RecordingHost recorder;
    RecordingTip tip;
    VoScriptMessages messages{&tip};
    DispatchingClient client{&messages};
    ComPtr<CVoHtmlHost> host;
    ComPtr<IDispatch> dispatch;
};

}  // namespace

TEST_F(ScriptHostTest, EveryCodeReachesTheHostAndAnswersAsTheTableSays) {
    const struct {
        long code;
        const wchar_t* text;
        const char* call;      // what the host records, "" for nothing
        VARTYPE resultType;
    } cases[] = {
        {10, L"", "loaded", VT_EMPTY},
        {100, L"1 Mos 1,1", "text:1 Mos 1,1", VT_BSTR},
        {101, L"Joh 3,16", "go:Joh 3,16", VT_EMPTY},
        {102, L"H430", "lex:H430", VT_EMPTY},
        {201, L"", "", VT_EMPTY},
        {999, L"anchors rewritten: 3", "", VT_EMPTY},
        {12345, L"ukjent", "", VT_EMPTY},
        {-1, L"", "", VT_EMPTY},
    };
    for (const auto& c : cases) {
        recorder.calls.clear();
        Variant result;
        EXPECT_EQ(S_OK, Call(c.code, c.text, &result)) << c.code;
        EXPECT_EQ(c.resultType, V_VT(&result.Get())) << c.code;
        if (*c.call) EXPECT_EQ(std::vector<std::string>{c.call}, recorder.calls) << c.code;
        else EXPECT_TRUE(recorder.calls.empty()) << c.code;
    }
    EXPECT_EQ(1, tip.hidden);  // code 201
}

TEST_F(ScriptHostTest, ReferenceTextAnswersTheVerseCutWhenLongAndRefusesLongReferences) {
    Variant result;
    ASSERT_EQ(S_OK, Call(100, L"1 Mos 1,1", &result));
    EXPECT_EQ(recorder.verse, Text(result));

    // A verse of 1,500 characters: 1,020 of them and "...".
    recorder.verse = std::string(1500, 'v');
    ASSERT_EQ(S_OK, Call(100, L"Sal 119,1-176", &result));
    EXPECT_EQ(std::string(1020, 'v') + "...", Text(result));
    // 1,021 characters are kept whole, 1,022 are cut.
    recorder.verse = std::string(1021, 'w');
    ASSERT_EQ(S_OK, Call(100, L"Sal 119", &result));
    EXPECT_EQ(recorder.verse, Text(result));
    recorder.verse = std::string(1022, 'w');
    ASSERT_EQ(S_OK, Call(100, L"Sal 119", &result));
    EXPECT_EQ(std::string(1020, 'w') + "...", Text(result));

    // References of 100 characters or more are refused before the host is asked.
    recorder.calls.clear();
    const std::wstring longest(99, L'x'), tooLong(100, L'x');
    EXPECT_EQ(S_OK, Call(100, longest.c_str(), &result));
    EXPECT_EQ(E_INVALIDARG, Call(100, tooLong.c_str(), &result));
    EXPECT_EQ(E_INVALIDARG, Call(100, std::wstring(5000, L'y').c_str(), &result));
    EXPECT_EQ(1u, recorder.calls.size());
}

TEST_F(ScriptHostTest, NorwegianLettersReachTheHostInTheAnsiCodePage) {
    ASSERT_EQ(1252u, GetACP()) << "the test runs under the Norwegian locale";
    Variant result;
    recorder.verse = "S\xE6l er den som ikke f\xF8lger de ugudeliges r\xE5" "d. \xC6\xD8\xC5";
    ASSERT_EQ(S_OK, Call(100, L"Sl\u00e6ktbok \u00e6\u00f8\u00e5 \u00c6\u00d8\u00c5", &result));
    EXPECT_EQ("text:Sl\xE6ktbok \xE6\xF8\xE5 \xC6\xD8\xC5", recorder.calls.at(0));
    EXPECT_EQ(recorder.verse, Text(result));
    ASSERT_EQ(S_OK, Call(102, L"Ordet \u00e5nd", &result));
    EXPECT_EQ("lex:Ordet \xE5nd", recorder.calls.back());
}

TEST_F(ScriptHostTest, WithoutAHostTheTextSaysSo) {
    messages.SetHost(nullptr);
    Variant result;
    ASSERT_EQ(S_OK, Call(100, L"Joh 1,1", &result));
    EXPECT_EQ("No host has yet been connected to the lexicon window, so the text of Joh 1,1 cannot be found.",
              Text(result));
    EXPECT_EQ(S_OK, Call(101, L"Joh 1,1", &result));  // nothing to go to, nothing fails
    EXPECT_EQ(S_OK, Call(10, L"", &result));
}

TEST_F(ScriptHostTest, NoClientNoResultAndANullResultThroughInvoke) {
    // A direct call with no place for the result.
    Bstr text(L"Joh 1,1");
    EXPECT_EQ(E_POINTER, host->CustomMessage(100, text.Get(), nullptr));
    // Through Invoke the dispatch layer supplies the result.
    Variant unused;
    EXPECT_EQ(S_OK, Call(101, L"Joh 1,1", &unused, false));
    EXPECT_EQ("go:Joh 1,1", recorder.calls.back());

    host->SetClient(nullptr);
    VARIANT result;
    V_VT(&result) = VT_I4;
    EXPECT_EQ(E_UNEXPECTED, host->CustomMessage(10, text.Get(), &result));
    EXPECT_EQ(VT_EMPTY, V_VT(&result));  // cleared before the refusal
    Variant viaInvoke;
    EXPECT_EQ(E_UNEXPECTED, Call(10, L"", &viaInvoke));
}

TEST_F(ScriptHostTest, TheTypeLibraryDescribesTheHost) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()));
    ComPtr<ITypeLib> lib;
    UINT index = 0;
    ASSERT_EQ(S_OK, info->GetContainingTypeLib(lib.Put(), &index));
    Bstr name, doc;
    ASSERT_EQ(S_OK, lib->GetDocumentation(-1, name.Put(), doc.Put(), nullptr, nullptr));
    EXPECT_STREQ(L"VoHtmlHostLib", name.Get());
    EXPECT_STREQ(L"VoHtmlHost 1.0 Type Library", doc.Get());
    Bstr ifaceDoc;
    ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, nullptr, ifaceDoc.Put(), nullptr, nullptr));
    EXPECT_STREQ(L"Interfacing the site object exposed to mediators", ifaceDoc.Get());
    Bstr methodDoc;
    ASSERT_EQ(S_OK, info->GetDocumentation(1, nullptr, methodDoc.Put(), nullptr, nullptr));
    EXPECT_STREQ(L"Custom event from html code", methodDoc.Get());
}

TEST_F(ScriptHostTest, TheVerseTipSplitsAtTheFirstLineFeed) {
    Variant result;
    ASSERT_EQ(S_OK, Call(200, L"Joh 3,16\nFor s\u00e5 h\u00f8yt\nhar Gud elsket", &result));
    ASSERT_EQ(S_OK, Call(200, L"uten linjeskift", &result));
    ASSERT_EQ(2u, tip.shown.size());
    EXPECT_EQ("Joh 3,16|For s\xE5 h\xF8yt\nhar Gud elsket", tip.shown[0]);
    EXPECT_EQ("Versilo|uten linjeskift", tip.shown[1]);  // the program title (string 103)
    EXPECT_EQ(2, tip.hidden);  // each showing hides the tip before
}

TEST_F(ScriptHostTest, TheHostHoldsTheModuleWhileItLives) {
    const LONG before = ComModule::Current().LockCount();
    ComPtr<CVoHtmlHost> another;
    ASSERT_EQ(S_OK, CVoHtmlHost::Create(nullptr, another.Put()));
    EXPECT_EQ(before + 1, ComModule::Current().LockCount());
    another.Reset();
    EXPECT_EQ(before, ComModule::Current().LockCount());
}
