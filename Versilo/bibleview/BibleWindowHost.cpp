// VoBibleWindowHost: the panes, their layout and activation, and the pane commands.
#include "BibleWindowHost.h"
#include "RyMessageMap.h"
#include "SimpleBibleWindow.h"

ComPtr<AVoBibleWindow> VoBibleWindowHost::Create() {
    ComPtr<AVoBibleWindow> host;
    if (FAILED(CreateComInstanceAs<VoBibleWindowHost>(IID_AVoBibleWindow, host.Put()))) return {};
    // A host that could not make its first pane is of no use to anyone.
    if (static_cast<VoBibleWindowHost*>(host.Get())->count_ == 0) return {};
    return host;
}

VoBibleWindowHost::VoBibleWindowHost() {
    splitCursor_.Reset(static_cast<HCURSOR>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIdcSplitCursor),
                                                       IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    for (int i = 0; i < kMaxPanes; ++i) clients_[i].Bind(this, i);
    panes_[0] = VoSimpleBibleWindow::Create(nullptr);
    if (panes_[0]) {
        fractions_[0] = 1.0;
        count_ = 1;
        active_ = 0;
    }
}

VoBibleWindowHost::~VoBibleWindowHost() = default;

void* VoBibleWindowHost::QueryPart(REFIID iid) {
    if (IsEqualIID(iid, IID_AVoBibleWindow)) return static_cast<AVoBibleWindow*>(this);
    return nullptr;
}

void VoBibleWindowHost::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = "VersiloBibleWindowHost";
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
}

bool VoBibleWindowHost::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result) {
    using Self = VoBibleWindowHost;
    static const RyMessageEntry<Self> map[] = {
        {WM_CREATE, RyOnCreate<&Self::OnCreate>},
        {WM_SIZE, RyOnSize<&Self::OnSize>},
        {WM_ERASEBKGND, RyMsg<&Self::OnEraseBackground>},
        {WM_PAINT, RyOnVoid<&Self::OnPaint>},
        {WM_SETCURSOR, RyOnSetCursor<&Self::OnSetCursor>},
        {WM_MOUSEMOVE, RyOnMouse<&Self::OnMouseMove>},
        {WM_MOUSELEAVE, RyMsg<&Self::OnMouseLeave>},
        {WM_LBUTTONDOWN, RyOnMouse<&Self::OnLButtonDown>},
        {WM_NOTIFY, RyOnNotify<&Self::OnNotify>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

void VoBibleWindowHost::OnFinalMessage(HWND) {
    if (ownsWindowReference_) {
        ownsWindowReference_ = false;
        static_cast<AVoBibleWindow*>(this)->Release();
    }
}

AVoBibleWindow* VoBibleWindowHost::Active() { return panes_[active_ >= 0 ? active_ : 0].Get(); }

void VoBibleWindowHost::Initialize(ABibleWindowClient* client) {
    client_ = client;
    for (int i = 0; i < count_; ++i) panes_[i]->Initialize(client ? &clients_[i] : nullptr);
}

bool VoBibleWindowHost::CreateTextWindow(HWND parent, const RECT* rect, UINT id, const VoBiblePosition* start) {
    if (IsWindow() || !rect) return false;
    start_ = start;
    // The window holds the host while it exists.
    static_cast<AVoBibleWindow*>(this)->AddRef();
    ownsWindowReference_ = true;
    if (!VoBibleWindowHostWindow::Create(parent, *rect, id)) {
        ownsWindowReference_ = false;
        static_cast<AVoBibleWindow*>(this)->Release();
        return false;
    }
    return true;
}

int VoBibleWindowHost::OnCreate(const ry::CreateStruct& cs) {
    if (count_ < 1) return -1;
    const RECT rect = {0, 0, cs.cx, cs.cy};
    return panes_[0]->CreateTextWindow(Handle(), &rect, kFirstPaneId, start_) ? 0 : -1;
}

void VoBibleWindowHost::MoveWindow(const RECT* rect) {
    if (IsWindow() && rect)
        ::MoveWindow(Handle(), rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
}

void VoBibleWindowHost::Relayout() {
    for (int i = 0; i < count_; ++i) panes_[i]->Relayout();
}

void VoBibleWindowHost::UpdateFont() {
    for (int i = 0; i < count_; ++i) panes_[i]->UpdateFont();
}

void VoBibleWindowHost::InvalidateIf(bool repaint) {
    if (!IsWindow()) return;
    for (int i = 0; i < count_; ++i) panes_[i]->InvalidateIf(repaint);
}

void VoBibleWindowHost::Invalidate() {
    if (!IsWindow()) return;
    for (int i = 0; i < count_; ++i) panes_[i]->Invalidate();
}

void VoBibleWindowHost::PaneWidths(int width, int* widths) const {
    if (count_ == 1) {
        widths[0] = width;
        return;
    }
    const int available = width - (count_ - 1) * kSplitterWidth;
    double sum = 0;
    for (int i = 0; i < count_; ++i) sum += fractions_[i];
    int used = 0;
    for (int i = 0; i < count_ - 1; ++i) {
        widths[i] = sum > 0 ? static_cast<int>(available * fractions_[i] / sum + 0.5) : available / count_;
        used += widths[i];
    }
    widths[count_ - 1] = available - used;
}

void VoBibleWindowHost::Layout(int width, int height) {
    int widths[kMaxPanes];
    PaneWidths(width, widths);
    const int top = count_ > 1 ? CaptionHeight() : 0;
    int left = 0;
    for (int i = 0; i < count_; ++i) {
        const RECT r = {left, top, left + widths[i], height};
        panes_[i]->MoveWindow(&r);
        left += widths[i] + kSplitterWidth;
    }
    if (count_ > 1 && IsWindow()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void VoBibleWindowHost::LayoutClient() {
    if (!IsWindow()) return;
    RECT rc;
    GetClientRect(Handle(), &rc);
    Layout(rc.right, rc.bottom);
}

int VoBibleWindowHost::CaptionHeight() {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    TEXTMETRICA tm = {};
    if (dc) {
        SelectedObject font(dc.Get(), CaptionFont(false));
        GetTextMetricsA(dc.Get(), &tm);
    }
    return tm.tmHeight + tm.tmExternalLeading + 2;
}

RECT VoBibleWindowHost::CaptionRect(int slot) {
    RECT client = {};
    if (IsWindow()) GetClientRect(Handle(), &client);
    int widths[kMaxPanes];
    PaneWidths(client.right, widths);
    int left = 0;
    for (int i = 0; i < slot; ++i) left += widths[i] + kSplitterWidth;
    return {left, 0, left + widths[slot], CaptionHeight()};
}

RECT VoBibleWindowHost::CloseButtonRect(int slot) {
    const RECT caption = CaptionRect(slot);
    const int side = GetSystemMetrics(SM_CXVSCROLL);
    RECT r;
    r.right = caption.right;
    r.left = r.right - side;
    r.top = caption.top + (caption.bottom - caption.top - side) / 2;
    r.bottom = r.top + side;
    const int shrink = (side + 2) / 4;
    InflateRect(&r, -shrink, -shrink);
    return r;
}

VoBibleWindowHost::Hit VoBibleWindowHost::HitTest(POINT point) {
    if (count_ <= 1 || !IsWindow()) return {kHitNothing, -1};
    RECT client;
    GetClientRect(Handle(), &client);
    int widths[kMaxPanes];
    PaneWidths(client.right, widths);
    int left = 0;
    for (int i = 0; i < count_ - 1; ++i) {
        left += widths[i];
        if (point.x >= left && point.x < left + kSplitterWidth) return {kHitSplitter, i};
        left += kSplitterWidth;
    }
    for (int i = 0; i < count_; ++i) {
        const RECT caption = CaptionRect(i);
        if (!PtInRect(&caption, point)) continue;
        const RECT button = CloseButtonRect(i);
        return {PtInRect(&button, point) ? kHitCloseButton : kHitCaption, i};
    }
    return {kHitNothing, -1};
}

bool VoBibleWindowHost::OnSetCursor(HWND window, UINT hitTest, UINT) {
    if (window != Handle() || hitTest != HTCLIENT || count_ <= 1) return false;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(Handle(), &point);
    if (HitTest(point).kind != kHitSplitter) return false;
    SetCursor(splitCursor_ ? splitCursor_.Get() : LoadCursorA(nullptr, IDC_SIZEWE));
    return true;
}

void VoBibleWindowHost::OnMouseMove(UINT, POINT point) {
    const Hit hit = HitTest(point);
    const bool onButton = hit.kind == kHitCloseButton;
    if (hot_ >= 0 && !(onButton && hit.index == hot_)) DrawCloseButton(hot_, false, false);
    if (onButton) {
        if (hot_ < 0) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&tme);
        }
        hot_ = hit.index;
        DrawCloseButton(hot_, false, true);
    } else if (hot_ >= 0) {
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE | TME_CANCEL, Handle(), 0};
        TrackMouseEvent(&tme);
        hot_ = -1;
    }
}

LRESULT VoBibleWindowHost::OnMouseLeave(WPARAM, LPARAM) {
    if (hot_ >= 0) DrawCloseButton(hot_, false, false);
    hot_ = -1;
    return 0;
}

void VoBibleWindowHost::OnLButtonDown(UINT, POINT point) {
    const Hit hit = HitTest(point);
    switch (hit.kind) {
    case kHitSplitter:
        DragSplitter(hit.index, point.x);
        break;
    case kHitCaption:
        FocusPane(hit.index);
        break;
    case kHitCloseButton: {
        VoCloseButtonPainter painter;
        const int slot = hit.index;
        if (TrackButton(Handle(), CloseButtonRect(slot), &painter) && slot < count_) ClosePane(slot);
        break;
    }
    default:
        break;
    }
}

void VoBibleWindowHost::DragSplitter(int splitter, int pointerX) {
    RECT client;
    GetClientRect(Handle(), &client);
    int widths[kMaxPanes];
    PaneWidths(client.right, widths);
    int x0 = 0;
    for (int i = 0; i <= splitter; ++i) x0 += widths[i] + (i < splitter ? kSplitterWidth : 0);
    const int minX = x0 - widths[splitter] + kMinPaneWidth;
    const int maxX = x0 + widths[splitter + 1] - kMinPaneWidth;
    // Two neighbours narrower together than their minimum widths: no room to drag.
    if (maxX < minX) return;
    const int top = CaptionHeight();
    const int x = TrackSplitter(Handle(), pointerX, x0, minX, maxX, top, client.bottom - top);
    if (x != x0) {
        widths[splitter] += x - x0;
        widths[splitter + 1] -= x - x0;
        for (int i = 0; i < count_; ++i) fractions_[i] = widths[i];
    }
    Layout(client.right, client.bottom);
}

LRESULT VoBibleWindowHost::OnNotify(NMHDR& header) {
    if (header.code == static_cast<UINT>(NM_SETFOCUS) && header.idFrom >= kFirstPaneId &&
        header.idFrom < kFirstPaneId + static_cast<UINT_PTR>(count_))
        Activate(static_cast<int>(header.idFrom - kFirstPaneId));
    return 0;
}

void VoBibleWindowHost::Activate(int slot) {
    if (slot == active_) return;
    RepaintCaptions();
    VoBiblePosition before, now;
    if (active_ >= 0 && active_ < count_) {
        AVoBibleWindow* old = panes_[active_].Get();
        if (HWND text = old->GetTextWindow()) SendMessageA(text, TWM_SETDIMSELECTION, 1, 0);
        before.bibleIndex = old->GetBibleIndex();
        before.book = old->GetBook();
        before.chapter = old->GetChapter();
        before.verse = old->GetVerse();
    }
    active_ = slot;
    AVoBibleWindow* pane = panes_[slot].Get();
    if (HWND text = pane->GetTextWindow()) SendMessageA(text, TWM_SETDIMSELECTION, 0, 0);
    now.bibleIndex = pane->GetBibleIndex();
    now.book = pane->GetBook();
    now.chapter = pane->GetChapter();
    now.verse = pane->GetVerse();
    if (client_) client_->OnActiveWindowChanged(ActivationChangeFlags(before, now));
}

void VoBibleWindowHost::FocusPane(int slot) {
    if (slot < 0 || slot >= count_) return;
    if (HWND text = panes_[slot]->GetTextWindow()) SetFocus(text);
}

bool VoBibleWindowHost::HandleCommand(UINT command) {
    switch (command) {
    case kCmdNewPane:
        if (count_ < kMaxPanes) NewPane();
        return true;
    case kCmdNextPane:
        if (count_ > 1) FocusPane((active_ + 1) % count_);
        return true;
    case kCmdPreviousPane:
        if (count_ > 1) FocusPane((active_ - 1 + count_) % count_);
        return true;
    case kCmdClosePane:
        if (count_ > 1) {
            ClosePane(active_);
            if (count_ == kMaxPanes - 1 && client_) client_->EnableCommand(kCmdNewPane, kCommandInToolbar, true);
        }
        return true;
    default:
        return Active()->HandleCommand(command);
    }
}

void VoBibleWindowHost::NewPane() {
    if (!IsWindow()) return;
    VoBiblePosition position;
    Active()->GetPosition(&position);
    ComPtr<AVoBibleWindow> pane = VoSimpleBibleWindow::Create(client_ ? &clients_[count_] : nullptr);
    if (!pane) return;
    RECT client;
    GetClientRect(Handle(), &client);
    // Right of the client area: it shows only once the layout has placed it.
    const RECT outside = {client.right, client.top, client.right + client.right, client.bottom};
    fractions_[count_] = fractions_[active_];
    if (!pane->CreateTextWindow(Handle(), &outside, kFirstPaneId + static_cast<UINT>(count_), &position)) return;
    panes_[count_] = std::move(pane);
    const int slot = count_++;
    LayoutClient();
    FocusPane(slot);
    if (count_ == kMaxPanes && client_) client_->EnableCommand(kCmdNewPane, kCommandInToolbar, false);
}

void VoBibleWindowHost::ClosePane(int slot) {
    if (slot < 0 || slot >= count_ || count_ <= 1) return;
    if (slot == active_) FocusPane((active_ - 1 + count_) % count_);
    if (HWND text = panes_[slot]->GetTextWindow()) DestroyWindow(text);
    // Without a client the pane lets go of its bible and markings now.
    panes_[slot]->Initialize(nullptr);
    panes_[slot].Reset();
    --count_;
    for (int i = slot; i < count_; ++i) {
        panes_[i] = std::move(panes_[i + 1]);
        fractions_[i] = fractions_[i + 1];
        panes_[i]->Initialize(client_ ? &clients_[i] : nullptr);
        if (HWND text = panes_[i]->GetTextWindow()) SetWindowLongPtrA(text, GWLP_ID, static_cast<LONG_PTR>(kFirstPaneId + i));
    }
    if (slot < active_) --active_;
    if (active_ >= count_) active_ = count_ - 1;  // the focus did not move away
    panes_[count_].Reset();
    fractions_[count_] = 0;
    if (hot_ >= count_) hot_ = -1;
    LayoutClient();
}

void VoBibleWindowHost::DelegatingClient::OnActiveWindowChanged(unsigned flags) {
    if (slot_ == host_->active_ && host_->client_) host_->client_->OnActiveWindowChanged(flags);
    if (flags & (kChapterChanged | kBookChanged | kBibleChanged)) host_->RepaintCaptions();
}
IBibleRefLib* VoBibleWindowHost::DelegatingClient::GetRefLib() {
    return host_->client_ ? host_->client_->GetRefLib() : nullptr;
}
VoViewSettings* VoBibleWindowHost::DelegatingClient::GetViewSettings() {
    return host_->client_ ? host_->client_->GetViewSettings() : nullptr;
}
void VoBibleWindowHost::DelegatingClient::SetStatusText(const char* text) {
    if (host_->client_) host_->client_->SetStatusText(text);
}
VoBibleInfoList* VoBibleWindowHost::DelegatingClient::GetBibleList() {
    return host_->client_ ? host_->client_->GetBibleList() : nullptr;
}
VoKv61MarkedVerses* VoBibleWindowHost::DelegatingClient::GetMarkedVerses() {
    return host_->client_ ? host_->client_->GetMarkedVerses() : nullptr;
}
AVoLexicon* VoBibleWindowHost::DelegatingClient::GetLexiconWindow() {
    return host_->client_ ? host_->client_->GetLexiconWindow() : nullptr;
}
UINT VoBibleWindowHost::DelegatingClient::GetReferenceFormat() {
    return host_->client_ ? host_->client_->GetReferenceFormat() : 0;
}
void VoBibleWindowHost::DelegatingClient::EnableCommand(UINT id, unsigned where, bool enable) {
    if (host_->client_) host_->client_->EnableCommand(id, where, enable);
}
void VoBibleWindowHost::DelegatingClient::CheckCommand(UINT id, unsigned where, bool check) {
    if (host_->client_) host_->client_->CheckCommand(id, where, check);
}
