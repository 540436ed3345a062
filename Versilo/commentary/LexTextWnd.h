// VoLexTextWnd: the article view of the commentary pane (its child 1003). It shows one
// commentary or lexicon article as an HTML page under a strip with the page's title, and
// turns the page's link clicks and hovers (script messages through the host object,
// window.external) into calls on its host. The page itself is an AVoArticleDocument: the
// browser control's page, or where that control cannot be made a plain text view.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "ArticleDocument.h"
#include "ArticlePage.h"
#include "Handles.h"
#include "HtmlHost.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"
#include "ScriptMessages.h"

constexpr UINT kLexTextWndId = 1003;
constexpr UINT kArticleDocumentId = 1;
// Posted to the view by itself when a page without its own script has loaded an article
// (wParam: the number of that load); the newest one tells the host, as script message 10.
constexpr UINT kLexTextPageLoaded = WM_USER + 10;

class VoLexTextWnd : public RyWindowImpl<VoLexTextWnd, RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN>>,
                     public AVoHtmlHostClient,
                     private AVoArticleTip {
public:
    // Loads the page resources and makes the host object; factory makes the page's
    // document when the window is created.
    explicit VoLexTextWnd(VoArticleDocumentFactory factory = &CreateArticleDocument);
    ~VoLexTextWnd() override;
    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void SetHost(AVoLexTextWndHost* host) { host_ = host; messages_.SetHost(host); }
    // Shows an article: head (none when null) and body put into a page of the resources.
    // The host hears that it has loaded (OnPageLoaded) from the page's script, or, where
    // the document runs none, from the view once the messages posted before it are handled.
    void ShowArticle(const char* head, const char* body);
    // Shows any HTML page; a page that does not load leaves the previous one and its title.
    void LoadPage(const char* html);

    int CollectHeadingReferences(char (*texts)[kHeadingTextSize], VoPageElement* elements);
    void ScrollElementIntoView(const VoPageElement& element);
    bool GetScrollState(long* top, long* height, long* clientHeight);
    void SetScrollTop(long top);
    void HideTip() override;

    HRESULT OnCustomMessage(long code, const wchar_t* text, VARIANT* result) override;

    CVoHtmlHost* GetHostObject() const { return hostObject_.Get(); }
    AVoArticleDocument* GetDocument() const { return document_.get(); }
    const std::string& GetTitle() const { return title_; }
    int GetTitleHeight() const { return titleHeight_; }
    const std::string& GetBodyRule() const { return bodyRule_; }
    HWND GetTipWindow() const { return tip_; }

private:
    int OnCreate(const ry::CreateStruct&);
    void OnDestroy();
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnSetFont(HFONT font, bool redraw);
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font_); }
    LRESULT OnPageLoaded(WPARAM load, LPARAM);
    bool Load(const char* html);

    void ShowTip(const char* title, const char* body) override;
    // Measures the title strip at width (the client width when negative); answers whether
    // its height changed.
    bool MeasureTitle(bool force, int width);
    void PlaceDocument();
    HFONT TitleFont();
    std::string TrimmedTitle() const;

    VoArticleDocumentFactory factory_;
    std::unique_ptr<AVoArticleDocument> document_;
    ComPtr<CVoHtmlHost> hostObject_;
    VoPageResources resources_;
    VoScriptMessages messages_;
    HWND tip_ = nullptr;
    HFONT font_ = nullptr;  // borrowed: the last WM_SETFONT
    FontHandle titleFont_;
    std::string bodyRule_;
    std::string title_;
    int titleWidth_ = -1;
    int titleHeight_ = 0;
    WPARAM loads_ = 0;  // pages loaded so far: a report of an older one is stale
    bool moduleLocked_ = false;
    AVoLexTextWndHost* host_ = nullptr;
};
