// VoPlainArticle: the article view's page where no browser control can be made: a
// read-only text box with the page's readable text, wrapped at word boundaries by the
// program (VoSoftWrap), whose links are followed by a double click, and whose headings and
// scrolling count in lines.
#include <vector>
#include "ArticleDocument.h"
#include "ArticlePage.h"
#include "LexiconInterfaces.h"
#include "RyMessageMap.h"
#include "SoftWrap.h"

namespace {

class VoPlainArticle : public AVoArticleDocument, public VoSoftWrapBox {
public:
    explicit VoPlainArticle(AVoLexTextWndHost** host) : host_(host) {}
    ~VoPlainArticle() override {
        const HWND hwnd = Detach();
        if (hwnd) DestroyWindow(hwnd);
    }

    bool Make(HWND parent, UINT id) {
        const HWND edit = ry::MakeWindow(0, "EDIT", "",
                                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                             ES_AUTOVSCROLL,
                                         0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                         GetModuleHandleA(nullptr), nullptr);
        if (!edit) return false;
        if (!Attach(edit)) {
            DestroyWindow(edit);
            return false;
        }
        return true;
    }

    HWND Window() const override { return Handle(); }

    HRESULT Load(const std::string& html) override {
        page_ = PageToPlainText(html.c_str());
        return SetText(page_.text) ? S_OK : E_FAIL;
    }
    bool RunsPageScript() const override { return false; }
    void SetBodyFont(const char*, int) override {}  // the view's WM_SETFONT reaches the box

    int CollectHeadingReferences(char (*texts)[kHeadingTextSize], VoPageElement* elements) override {
        int n = 0;
        for (const VoTextLink& h : page_.headings) {
            if (n >= kHeadingTableSize) break;
            if (!HeadingReference(h.target.c_str(), texts[n], kHeadingTextSize)) continue;
            elements[n].object.Reset();
            elements[n].position = h.begin;
            ++n;
        }
        return n;
    }
    void ScrollElementIntoView(const VoPageElement& element) override {
        if (element.position < 0) return;
        const LRESULT line =
            ry::Send(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(Wrap().ShownPosition(element.position)), 0);
        SetScrollTop(static_cast<long>(line));
    }
    bool GetScrollState(long* top, long* height, long* clientHeight) override {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        if (!GetScrollInfo(Handle(), SB_VERT, &si)) {
            si.nMin = si.nMax = si.nPos = 0;
            si.nPage = 1;
        }
        *top = si.nPos;
        *height = si.nMax - si.nMin + 1;
        *clientHeight = static_cast<long>(si.nPage);
        return *clientHeight >= *height;
    }
    void SetScrollTop(long top) override {
        const LRESULT first = ry::Send(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
        ry::Send(Handle(), EM_LINESCROLL, 0, static_cast<LPARAM>(top - first));
    }

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (VoSoftWrapBox::ProcessWindowMessage(hwnd, message, wParam, lParam, result)) return true;
        if (message != WM_LBUTTONDBLCLK) return false;
        // The box selects the word; a link under the pointer is followed.
        result = DefaultProc(hwnd, message, wParam, lParam);
        Follow(Wrap().TextPosition(CharacterAt(hwnd, lParam)));
        return true;
    }

private:
    // The character under a point of the box: the answer's 16-bit index completed from the
    // start of its line, so that long texts count right too.
    static int CharacterAt(HWND hwnd, LPARAM point) {
        const LRESULT hit = ry::Send(hwnd, EM_CHARFROMPOS, 0, point);
        const int line = HIWORD(hit);
        const int lineStart = static_cast<int>(ry::Send(hwnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        if (lineStart < 0) return LOWORD(hit);
        return lineStart + ((LOWORD(hit) - lineStart) & 0xFFFF);
    }

    void Follow(int position) {
        AVoLexTextWndHost* host = host_ ? *host_ : nullptr;
        if (!host) return;
        for (const VoTextLink& link : page_.links) {
            if (position < link.begin || position >= link.end) continue;
            bool bible = false;
            std::string target;
            if (!SplitLinkTarget(link.target, &bible, &target)) return;
            if (bible) host->GoToBibleReference(target.c_str());
            else host->OpenLexiconReference(target.c_str());
            return;
        }
    }

    AVoLexTextWndHost** host_;
    VoPlainPage page_;
};

}  // namespace

std::unique_ptr<AVoArticleDocument> CreatePlainArticle(HWND parent, UINT id, AVoLexTextWndHost** host) {
    std::unique_ptr<VoPlainArticle> article(new VoPlainArticle(host));
    if (!article->Make(parent, id)) return nullptr;
    return article;
}

std::unique_ptr<AVoArticleDocument> CreateArticleDocument(HWND parent, UINT id, IDispatch* external,
                                                          AVoLexTextWndHost** host) {
    std::unique_ptr<AVoArticleDocument> document = CreateBrowserDocument(parent, id, external);
    if (document) return document;
    return CreatePlainArticle(parent, id, host);
}
