// VoBrowserDocument: the article view's page in the system's HTML document control. The
// control lives in a child window of the view (the host window) and sees this program
// through a site object: the client site, the in-place site and frame, the document site
// that activates its view, and the UI handler whose GetExternal gives page script the host
// object as window.external. Pages load through the control's IPersistStreamInit.
#include <mshtml.h>
#include <mshtmhst.h>
#include <docobj.h>
#include <cstring>
#include <string>
#include "ArticleDocument.h"
#include "ArticlePage.h"
#include "ComObject.h"
#include "Handles.h"
#include "OleHandles.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"

namespace {

// The system's HTML document class (the control the windowing library's "MSHTML:" text makes).
const CLSID kHtmlDocumentClass = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

// The text the control starts from, as the windowing library's "MSHTML:" form gives it.
constexpr char kInitialPage[] =
    "<HTML><BODY><P>Du har ikke valgt noen artikkel<br>velg en artikkel i boksene ovenfor</P></BODY></HTML>";

std::wstring Widen(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

// A stream over a copy of the text, in movable global memory that the stream frees.
HRESULT TextStream(const std::string& text, IStream** out) {
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size()));
    if (!block) return E_OUTOFMEMORY;
    {
        GlobalLocked<char> bytes(block.Get());
        if (!bytes.Get()) return E_OUTOFMEMORY;
        memcpy(bytes.Get(), text.data(), text.size());
    }
    HRESULT hr = CreateStreamOnHGlobal(block.Get(), TRUE, out);
    if (SUCCEEDED(hr)) block.Release();
    return hr;
}

class BrowserSite : public ComObjectRoot,
                    public IOleClientSite,
                    public IOleInPlaceSite,
                    public IOleInPlaceFrame,
                    public IOleDocumentSite,
                    public IDocHostUIHandler {
public:
    void* QueryPart(REFIID iid) {
        if (IsEqualIID(iid, IID_IOleClientSite)) return static_cast<IOleClientSite*>(this);
        if (IsEqualIID(iid, IID_IOleInPlaceSite) || IsEqualIID(iid, IID_IOleWindow))
            return static_cast<IOleInPlaceSite*>(this);
        if (IsEqualIID(iid, IID_IOleInPlaceFrame) || IsEqualIID(iid, IID_IOleInPlaceUIWindow))
            return static_cast<IOleInPlaceFrame*>(this);
        if (IsEqualIID(iid, IID_IOleDocumentSite)) return static_cast<IOleDocumentSite*>(this);
        if (IsEqualIID(iid, IID_IDocHostUIHandler)) return static_cast<IDocHostUIHandler*>(this);
        return nullptr;
    }
    void Init(HWND window, IDispatch* external) {
        window_ = window;
        external_ = ComPtr<IDispatch>(external);
    }
    // Drops the external object and the document view: the control no longer reaches them.
    void Close() {
        external_.Reset();
        if (view_) {
            view_->Show(FALSE);
            view_->UIActivate(FALSE);
            view_->CloseView(0);
            view_->SetInPlaceSite(nullptr);
            view_.Reset();
        }
    }
    void Resize(const RECT& rc) {
        if (view_) view_->SetRect(const_cast<RECT*>(&rc));
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override { return Null(m, E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override { return Null(c, E_NOINTERFACE); }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
        *frame = this;
        static_cast<IOleInPlaceFrame*>(this)->AddRef();
        *doc = nullptr;
        GetClientRect(window_, pos);
        *clip = *pos;
        info->fMDIApp = FALSE;
        info->hwndFrame = GetParent(window_);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rc) override {
        if (rc && view_) view_->SetRect(const_cast<RECT*>(rc));
        return S_OK;
    }

    // IOleInPlaceUIWindow, IOleInPlaceFrame: no menus or tool space to negotiate.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IOleDocumentSite: the control asks its site to show its view in place.
    HRESULT STDMETHODCALLTYPE ActivateMe(IOleDocumentView* view) override {
        if (!view) return E_POINTER;
        view_ = ComPtr<IOleDocumentView>(view);
        RECT rc;
        GetClientRect(window_, &rc);
        HRESULT hr = view->SetInPlaceSite(this);
        if (SUCCEEDED(hr)) hr = view->UIActivate(TRUE);
        if (SUCCEEDED(hr)) hr = view->SetRect(&rc);
        if (SUCCEEDED(hr)) hr = view->Show(TRUE);
        return hr;
    }

    // IDocHostUIHandler: the program's own look (no 3D border, the view's scroll bar) and
    // the host object as window.external.
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info) return E_POINTER;
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override { return Null(key, S_FALSE); }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** out) override { return Null(out, E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** out) override {
        if (!out) return E_POINTER;
        external_.CopyTo(out);
        return *out ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override { return Null(out, S_FALSE); }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override { return Null(out, S_FALSE); }

private:
    template <class P>
    static HRESULT Null(P** out, HRESULT hr) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return hr;
    }

    HWND window_ = nullptr;
    ComPtr<IDispatch> external_;
    ComPtr<IOleDocumentView> view_;
};

// The host window: a child of the view that holds the control and follows its size.
class VoBrowserDocument : public AVoArticleDocument,
                          public RyWindowImpl<VoBrowserDocument, RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_VSCROLL |
                                                                                WS_CLIPCHILDREN>> {
public:
    ~VoBrowserDocument() override {
        Close();
        if (Handle()) DestroyWindow(Handle());
    }

    static void GetWindowClass(ry::WindowClass& wc) {
        wc.lpszClassName = "VoBrowserHost";
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    bool ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message == WM_SIZE) {
            const RECT rc = {0, 0, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (site_) site_->Resize(rc);
            result = 0;
            return true;
        }
        if (message == WM_DESTROY) Close();
        return false;
    }

    // Creates the control with the initial page and activates it in the window.
    HRESULT CreateControl(IDispatch* external) {
        IOleClientSite* siteUnknown = nullptr;
        HRESULT hr = CreateComInstance<BrowserSite>(nullptr, IID_IOleClientSite, reinterpret_cast<void**>(&siteUnknown));
        if (FAILED(hr)) return hr;
        ComPtr<IOleClientSite> clientSite = ComPtr<IOleClientSite>::Attach(siteUnknown);
        site_ = static_cast<BrowserSite*>(siteUnknown);
        site_->Init(Handle(), external);
        hr = CoCreateInstance(kHtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, control_.PutVoid());
        if (SUCCEEDED(hr)) hr = control_->SetClientSite(clientSite.Get());
        if (SUCCEEDED(hr)) hr = Load(kInitialPage);
        RECT rc;
        GetClientRect(Handle(), &rc);
        if (SUCCEEDED(hr)) hr = control_->DoVerb(OLEIVERB_SHOW, nullptr, clientSite.Get(), 0, Handle(), &rc);
        if (FAILED(hr)) {
            Close();
            return hr;
        }
        static_cast<IOleClientSite*>(site_)->AddRef();
        ownsSite_ = true;
        return S_OK;
    }

    HWND Window() const override { return Handle(); }

    HRESULT Load(const std::string& html) override {
        if (!control_) return E_UNEXPECTED;
        ComPtr<IPersistStreamInit> persist;
        HRESULT hr = control_.As(IID_IPersistStreamInit, &persist);
        ComPtr<IStream> stream;
        if (SUCCEEDED(hr)) hr = TextStream(html, stream.Put());
        if (SUCCEEDED(hr)) hr = persist->Load(stream.Get());
        return hr;
    }

    bool RunsPageScript() const override { return true; }

    void SetBodyFont(const char* face, int pixels) override {
        ComPtr<IHTMLElement> body = Body();
        ComPtr<IHTMLStyle> style;
        if (!body || FAILED(body->get_style(style.Put())) || !style) return;
        Bstr family(Widen(face).c_str());
        style->put_fontFamily(family.Get());
        wchar_t size[32];
        wsprintfW(size, L"%ipx", pixels);
        Variant value;
        if (SUCCEEDED(value.SetString(size))) style->put_fontSize(value.Get());
    }

    int CollectHeadingReferences(char (*texts)[kHeadingTextSize], VoPageElement* elements) override {
        ComPtr<IHTMLDocument3> document;
        ComPtr<IHTMLElementCollection> headings;
        if (!control_ || FAILED(control_.As(IID_IHTMLDocument3, &document))) return 0;
        Bstr h1(L"H1");
        if (FAILED(document->getElementsByTagName(h1.Get(), headings.Put())) || !headings) return 0;
        long count = 0;
        headings->get_length(&count);
        int n = 0;
        for (long i = 0; i < count && n < kHeadingTableSize; ++i) {
            ComPtr<IHTMLElement> anchor = FirstChild(headings.Get(), i);
            ComPtr<IHTMLAnchorElement> link;
            Bstr href;
            if (!anchor || FAILED(anchor.As(IID_IHTMLAnchorElement, &link)) || FAILED(link->get_href(href.Put())))
                continue;
            char text[260] = {};
            WideCharToMultiByte(CP_ACP, 0, href.Get() ? href.Get() : L"", -1, text, sizeof text - 1, nullptr, nullptr);
            if (!HeadingReference(text, texts[n], kHeadingTextSize)) continue;
            anchor.As(IID_IUnknown, &elements[n].object);
            elements[n].position = -1;
            ++n;
        }
        return n;
    }

    void ScrollElementIntoView(const VoPageElement& element) override {
        ComPtr<IHTMLElement> e;
        if (!element.object || FAILED(element.object.As(IID_IHTMLElement, &e))) return;
        VARIANT top;
        V_VT(&top) = VT_BOOL;
        V_BOOL(&top) = VARIANT_TRUE;
        e->scrollIntoView(top);
    }

    bool GetScrollState(long* top, long* height, long* clientHeight) override {
        *top = *height = *clientHeight = 0;
        ComPtr<IHTMLElement2> body = Body2();
        if (!body) return true;
        body->get_scrollTop(top);
        body->get_scrollHeight(height);
        body->get_clientHeight(clientHeight);
        return *clientHeight >= *height;
    }
    void SetScrollTop(long top) override {
        ComPtr<IHTMLElement2> body = Body2();
        if (body) body->put_scrollTop(top);
    }

private:
    void Close() {
        if (control_) {
            control_->Close(OLECLOSE_NOSAVE);
            control_->SetClientSite(nullptr);
            control_.Reset();
        }
        if (site_) {
            site_->Close();
            if (ownsSite_) static_cast<IOleClientSite*>(site_)->Release();
            site_ = nullptr;
            ownsSite_ = false;
        }
    }
    ComPtr<IHTMLElement> Body() const {
        ComPtr<IHTMLDocument2> document;
        ComPtr<IHTMLElement> body;
        if (control_ && SUCCEEDED(control_.As(IID_IHTMLDocument2, &document))) document->get_body(body.Put());
        return body;
    }
    ComPtr<IHTMLElement2> Body2() const {
        ComPtr<IHTMLElement2> body2;
        ComPtr<IHTMLElement> body = Body();
        if (body) body.As(IID_IHTMLElement2, &body2);
        return body2;
    }
    // The first child element of the i-th element of a collection.
    static ComPtr<IHTMLElement> FirstChild(IHTMLElementCollection* collection, long i) {
        ComPtr<IDispatch> item, children;
        ComPtr<IHTMLElement> heading, child;
        ComPtr<IHTMLElementCollection> list;
        VARIANT index, none;
        V_VT(&index) = VT_I4;
        V_I4(&index) = i;
        VariantInit(&none);
        if (FAILED(collection->item(index, none, item.Put())) || !item ||
            FAILED(item.As(IID_IHTMLElement, &heading)) || FAILED(heading->get_children(children.Put())) ||
            !children || FAILED(children.As(IID_IHTMLElementCollection, &list)))
            return child;
        V_I4(&index) = 0;
        ComPtr<IDispatch> firstItem;
        if (SUCCEEDED(list->item(index, none, firstItem.Put())) && firstItem)
            firstItem.As(IID_IHTMLElement, &child);
        return child;
    }

    ComPtr<IOleObject> control_;
    BrowserSite* site_ = nullptr;  // one reference while ownsSite_
    bool ownsSite_ = false;
};

}  // namespace

std::unique_ptr<AVoArticleDocument> CreateBrowserDocument(HWND parent, UINT id, IDispatch* external) {
    std::unique_ptr<VoBrowserDocument> document(new VoBrowserDocument);
    RECT rc = {0, 0, 0, 0};
    if (!document->Create(parent, rc, id)) return nullptr;
    if (FAILED(document->CreateControl(external))) return nullptr;
    return document;
}
