#include "LexTextWnd.h"
#include "ComModule.h"
#include "PopupText.h"

VoLexTextWnd::VoLexTextWnd(VoArticleDocumentFactory factory) : factory_(factory), messages_(this) {
    resources_.Load(GetModuleHandleA(nullptr));
    CVoHtmlHost::Create(this, hostObject_.Put());
}

VoLexTextWnd::~VoLexTextWnd() {
    HideTip();
    document_.reset();
    if (hostObject_) hostObject_->SetClient(nullptr);
    if (moduleLocked_) ComModule::Current().Unlock();
}

void VoLexTextWnd::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = "VoLexTextWnd";
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

bool VoLexTextWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<VoLexTextWnd> map[] = {
        {WM_CREATE, RyOnCreate<&VoLexTextWnd::OnCreate>},
        {WM_DESTROY, RyOnVoid<&VoLexTextWnd::OnDestroy>},
        {WM_PAINT, RyOnVoid<&VoLexTextWnd::OnPaint>},
        {WM_SIZE, RyOnSize<&VoLexTextWnd::OnSize>},
        {WM_SETFONT, RyOnSetFont<&VoLexTextWnd::OnSetFont>},
        {WM_GETFONT, RyMsg<&VoLexTextWnd::OnGetFont>},
        {kLexTextPageLoaded, RyMsg<&VoLexTextWnd::OnPageLoaded>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int VoLexTextWnd::OnCreate(const ry::CreateStruct&) {
    document_ = factory_(Handle(), kArticleDocumentId, hostObject_.Get(), &host_);
    if (!document_) return -1;
    ComModule::Current().Lock();
    moduleLocked_ = true;
    PlaceDocument();
    if (resources_.hasDefaultPage) LoadPage(resources_.defaultPage.c_str());
    return 0;
}

void VoLexTextWnd::OnDestroy() {
    // The page no longer reaches the host object, nor the host object this view.
    document_.reset();
    if (hostObject_) {
        hostObject_->SetClient(nullptr);
        hostObject_.Reset();
    }
    if (moduleLocked_) {
        ComModule::Current().Unlock();
        moduleLocked_ = false;
    }
    HideTip();
}

void VoLexTextWnd::ShowArticle(const char* head, const char* body) {
    HideTip();
    if (Load(BuildArticlePage(resources_, head, body, bodyRule_).c_str()) && !document_->RunsPageScript())
        PostMessageA(Handle(), kLexTextPageLoaded, loads_, 0);
}

void VoLexTextWnd::LoadPage(const char* html) { Load(html); }

LRESULT VoLexTextWnd::OnPageLoaded(WPARAM load, LPARAM) {
    if (load == loads_ && host_) host_->OnPageLoaded();
    return 0;
}

bool VoLexTextWnd::Load(const char* html) {
    if (!document_ || !html || FAILED(document_->Load(html))) return false;
    ++loads_;
    title_ = FindPageTitle(html);
    if (MeasureTitle(true, -1)) PlaceDocument();
    if (titleHeight_ > 0) {
        RECT strip;
        GetClientRect(Handle(), &strip);
        strip.bottom = titleHeight_;
        InvalidateRect(strip);
    }
    return true;
}

int VoLexTextWnd::CollectHeadingReferences(char (*texts)[kHeadingTextSize], VoPageElement* elements) {
    return document_ ? document_->CollectHeadingReferences(texts, elements) : 0;
}

void VoLexTextWnd::ScrollElementIntoView(const VoPageElement& element) {
    if (document_) document_->ScrollElementIntoView(element);
}

bool VoLexTextWnd::GetScrollState(long* top, long* height, long* clientHeight) {
    *top = *height = *clientHeight = 0;
    return document_ ? document_->GetScrollState(top, height, clientHeight) : true;
}

void VoLexTextWnd::SetScrollTop(long top) {
    if (document_) document_->SetScrollTop(top);
}

HRESULT VoLexTextWnd::OnCustomMessage(long code, const wchar_t* text, VARIANT* result) {
    KeepAlive alive(*this);  // a host call may close the pane
    return messages_.Handle(code, text, result);
}

void VoLexTextWnd::ShowTip(const char* title, const char* body) {
    HideTip();
    RECT rc;
    GetClientRect(Handle(), &rc);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(Handle(), &cursor);
    int h = GetSystemMetrics(SM_CYCURSOR);
    if (h < 20) h = 20;
    rc.top = cursor.y - h;
    rc.bottom = cursor.y + h;
    tip_ = ShowPopupText(Handle(), &rc, cursor, title, body);
}

void VoLexTextWnd::HideTip() {
    if (!tip_) return;
    const HWND tip = tip_;
    tip_ = nullptr;
    if (::IsWindow(tip)) DestroyWindow(tip);
}

std::string VoLexTextWnd::TrimmedTitle() const {
    std::string t = title_;
    while (!t.empty() && (t.back() == '\r' || t.back() == '\n')) t.pop_back();
    return t;
}

HFONT VoLexTextWnd::TitleFont() {
    if (!titleFont_) {
        LOGFONTA lf = {};
        GetObjectA(font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        titleFont_.Reset(CreateFontIndirectA(&lf));
    }
    return titleFont_.Get();
}

bool VoLexTextWnd::MeasureTitle(bool force, int width) {
    const int old = titleHeight_;
    if (title_.empty()) {
        titleHeight_ = 0;
        return old != 0;
    }
    if (width < 0) {
        RECT rc;
        GetClientRect(Handle(), &rc);
        width = rc.right;
    }
    if (!force && width == titleWidth_) return false;
    titleWidth_ = width;
    WindowDc dc(Handle());
    if (!dc.Get()) return false;
    SelectedObject font(dc.Get(), TitleFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.Get(), &tm);
    const std::string text = TrimmedTitle();
    RECT rc = {0, 0, width, 0};
    DrawTextA(dc.Get(), text.c_str(), -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int height = rc.bottom - rc.top + 4;
    const int most = 3 * (tm.tmHeight + tm.tmExternalLeading);
    if (height > most) height = most;
    titleHeight_ = height + 2;
    return titleHeight_ != old;
}

void VoLexTextWnd::PlaceDocument() {
    if (!document_) return;
    RECT rc;
    GetClientRect(Handle(), &rc);
    MoveWindow(document_->Window(), 0, titleHeight_, rc.right, rc.bottom > titleHeight_ ? rc.bottom - titleHeight_ : 0,
               TRUE);
}

void VoLexTextWnd::OnPaint() {
    PaintDc dc(Handle());
    if (!dc.Get() || titleHeight_ <= 0) return;
    RECT rc;
    GetClientRect(Handle(), &rc);
    rc.bottom = titleHeight_;
    FillRect(dc.Get(), &rc, GetSysColorBrush(COLOR_3DFACE));
    SelectedObject font(dc.Get(), TitleFont());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
    rc.bottom -= 2;
    const std::string text = TrimmedTitle();
    DrawTextA(dc.Get(), text.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
}

void VoLexTextWnd::OnSize(UINT, int cx, int) {
    MeasureTitle(false, cx);
    PlaceDocument();
}

void VoLexTextWnd::OnSetFont(HFONT font, bool) {
    if (!font) return;
    font_ = font;
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    titleFont_.Reset();
    if (MeasureTitle(true, -1)) PlaceDocument();
    bodyRule_ = MakeBodyRule(lf.lfFaceName, lf.lfHeight);
    if (document_) {
        ry::Send(document_->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        document_->SetBodyFont(lf.lfFaceName, FontPixelSize(lf.lfHeight));
    }
}
