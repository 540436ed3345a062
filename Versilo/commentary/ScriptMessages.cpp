#include "ScriptMessages.h"
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The text in the ANSI code page; characters it lacks become its default character.
std::string ToAnsi(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

HRESULT SetStringResult(const char* text, VARIANT* result) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    BSTR b = SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n - 1 : 0));
    if (!b) return E_OUTOFMEMORY;
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, b, n);
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = b;
    return S_OK;
}

}  // namespace

HRESULT VoScriptMessages::Handle(long code, const wchar_t* text, VARIANT* result) {
    if (result) VariantInit(result);
    std::string ansi = ToAnsi(text ? text : L"");
    switch (code) {
    case kScriptPageLoaded:
        if (host_) host_->OnPageLoaded();
        return S_OK;
    case kScriptReferenceText:
        return ReferenceText(ansi.c_str(), result);
    case kScriptGoToReference:
        if (host_) host_->GoToBibleReference(ansi.c_str());
        return S_OK;
    case kScriptOpenLexicon:
        if (host_) host_->OpenLexiconReference(ansi.c_str());
        return S_OK;
    case kScriptShowTip:
        ShowTip(&ansi[0]);
        return S_OK;
    case kScriptHideTip:
        if (tip_) tip_->HideTip();
        return S_OK;
    default:  // kScriptTrace and codes of newer pages
        return S_OK;
    }
}

HRESULT VoScriptMessages::ReferenceText(const char* reference, VARIANT* result) {
    // A reference is a few words; a longer text from the page is refused, not looked up.
    if (strlen(reference) >= kScriptReferenceLimit) return E_INVALIDARG;
    char buffer[kScriptTextBufferSize] = {};
    if (host_) {
        host_->GetReferenceText(reference, buffer, kScriptTextBufferSize);
        buffer[kScriptTextBufferSize - 1] = '\0';
    } else {
        snprintf(buffer, sizeof buffer,
                 "No host has yet been connected to the lexicon window, so the text of %s cannot be found.",
                 reference);
    }
    if (strlen(buffer) > kScriptTextBufferSize - 3) strcpy(buffer + kScriptTextBufferSize - 4, "...");
    if (!result) return S_OK;
    return SetStringResult(buffer, result);
}

void VoScriptMessages::ShowTip(char* text) {
    if (!tip_) return;
    tip_->HideTip();
    char* lineFeed = strchr(text, '\n');
    if (lineFeed) {
        *lineFeed = '\0';
        tip_->ShowTip(text, lineFeed + 1);
        return;
    }
    char title[256] = {};
    LoadStringA(GetModuleHandleA(nullptr), kIdsProgramTitle, title, sizeof title);
    tip_->ShowTip(title, text);
}
