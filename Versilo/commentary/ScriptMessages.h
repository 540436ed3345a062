// VoScriptMessages: what the article view does with the messages its page script sends
// through window.external.CustomMessage(code, text). The text arrives as a wide string and
// is used in the ANSI code page.
#pragma once
#include "MessageText.h"  // kIdsProgramTitle
#include <windows.h>
#include <oaidl.h>
#include "LexiconInterfaces.h"

enum VoScriptCode : long {
    kScriptPageLoaded = 10,       // the anchors were rewritten
    kScriptReferenceText = 100,   // the verse text of a "bible:" link, as the answer
    kScriptGoToReference = 101,   // a "bible:" link was clicked
    kScriptOpenLexicon = 102,     // a "lexicon:" link was clicked
    kScriptShowTip = 200,         // VO_SHOW_TIP: reference, a line feed, verse text
    kScriptHideTip = 201,         // VO_HIDE_TIP
    kScriptTrace = 999,           // diagnostics of the default page
};

constexpr int kScriptReferenceLimit = 100;   // a reference of this length or more is refused
constexpr int kScriptTextBufferSize = 1024;  // the verse text of code 100, with its NUL

// Where the view shows the verse tip.
class AVoArticleTip {
public:
    virtual void ShowTip(const char* title, const char* body) = 0;
    virtual void HideTip() = 0;

protected:
    ~AVoArticleTip() = default;
};

class VoScriptMessages {
public:
    explicit VoScriptMessages(AVoArticleTip* tip) : tip_(tip) {}

    void SetHost(AVoLexTextWndHost* host) { host_ = host; }
    AVoLexTextWndHost* GetHost() const { return host_; }

    // One script message; result is cleared and filled for code 100 only. Unknown codes
    // are ignored with S_OK.
    HRESULT Handle(long code, const wchar_t* text, VARIANT* result);

private:
    HRESULT ReferenceText(const char* reference, VARIANT* result);
    void ShowTip(char* text);

    AVoArticleTip* tip_;
    AVoLexTextWndHost* host_ = nullptr;
};
