// AVoArticleDocument: what the article view asks of the page it shows, in a window of its
// own below the title strip: loading a page and the operations on the loaded page (the
// body's font, the headings of verses, scrolling). The browser's live page answers them
// (VoBrowserDocument); where no browser control can be made, a read-only text view of the
// page does (VoPlainArticle).
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "ComPtr.h"

constexpr int kHeadingTableSize = 128;   // entries of CollectHeadingReferences
constexpr int kHeadingTextSize = 32;     // characters of one entry, with the NUL

// One element of the loaded page: the page's own element object (a live page), or a
// character position of the text (the plain view).
struct VoPageElement {
    ComPtr<IUnknown> object;
    int position = -1;
};

class AVoLexTextWndHost;

class AVoArticleDocument {
public:
    virtual ~AVoArticleDocument() = default;

    // The document's window, a child of the view; the view places it.
    virtual HWND Window() const = 0;
    // Shows an HTML page; on failure the previous page stays.
    virtual HRESULT Load(const std::string& html) = 0;
    // True when the page's own script runs and reports an article page as loaded (script
    // message 10); false when the view has to report it itself.
    virtual bool RunsPageScript() const = 0;
    // The body's font on the page already shown.
    virtual void SetBodyFont(const char* face, int pixels) = 0;
    // For each H1 whose first child element is an anchor with an href "bible:" + fewer than
    // 32 characters: the reference ("%20" as blanks) and the anchor. At most
    // kHeadingTableSize entries; answers how many.
    virtual int CollectHeadingReferences(char (*texts)[kHeadingTextSize], VoPageElement* elements) = 0;
    virtual void ScrollElementIntoView(const VoPageElement& element) = 0;
    // The body's scroll top, scroll height and client height; true when all is visible.
    virtual bool GetScrollState(long* top, long* height, long* clientHeight) = 0;
    virtual void SetScrollTop(long top) = 0;
};

// Makes the document of a view: parent is the view's window, id the document window's
// control id, external what page script sees as window.external, host where the plain
// view sends followed links. Null when no document window can be made.
using VoArticleDocumentFactory = std::unique_ptr<AVoArticleDocument> (*)(HWND parent, UINT id, IDispatch* external,
                                                                         AVoLexTextWndHost** host);

// The browser's page when the browser control can be made, else the plain text view.
std::unique_ptr<AVoArticleDocument> CreateArticleDocument(HWND parent, UINT id, IDispatch* external,
                                                          AVoLexTextWndHost** host);
// The plain text view alone.
std::unique_ptr<AVoArticleDocument> CreatePlainArticle(HWND parent, UINT id, AVoLexTextWndHost** host);
// The browser's page alone; null when the browser control cannot be made.
std::unique_ptr<AVoArticleDocument> CreateBrowserDocument(HWND parent, UINT id, IDispatch* external);
