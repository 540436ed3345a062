// RyPropertyFrame: tabs, page switching with validation, and the keyboard hook that gives
// the innermost open frame its Ctrl+Tab keys whichever page control has the focus.
#include "PropertyFrame.h"
#include <commctrl.h>
#include <new>
#include "PropertyFrameResource.h"
#include "RyMessageMap.h"

RyPropertyFrame* RyPropertyFrame::s_innermost = nullptr;

RyPropertyFrame::RyPropertyFrame(UINT templateId, HINSTANCE module)
    : RyDialog(templateId, module),
      accelerators_(::LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDA_PROPERTY_FRAME))) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&classes);
}

RyPropertyFrame::~RyPropertyFrame() {
    // A frame whose window outlives the object (never in a modal run) must not stay named.
    Pop();
}

bool RyPropertyFrame::SetPages(RyPropertyPage* const* pages, int count) {
    pages_.clear();
    if (count < 0 || (count > 0 && !pages)) return false;
    for (int i = 0; i < count; ++i)
        if (!pages[i]) return false;
    try {
        pages_.assign(pages, pages + count);
    } catch (const std::bad_alloc&) {
        pages_.clear();
        return false;
    }
    return true;
}

INT_PTR RyPropertyFrame::DoModal(HWND owner) {
    if (pages_.empty()) return -1;
    return RyDialog::DoModal(owner);
}

bool RyPropertyFrame::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = RyPropertyFrame;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
        RyNotify<Self>(IDC_FRAME_TABS, TCN_SELCHANGING, RyOnNotify<&Self::OnSelChanging>),
        RyNotify<Self>(IDC_FRAME_TABS, TCN_SELCHANGE, RyOnNotify<&Self::OnSelChange>),
        RyCommand<Self>(ID_NEXT_PAGE, RyOnCommand<&Self::OnStep>),
        RyCommand<Self>(ID_PREVIOUS_PAGE, RyOnCommand<&Self::OnStep>),
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOK>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool RyPropertyFrame::OnInitDialog(HWND, LPARAM) {
    current_ = -1;
    const HWND tabs = Item(IDC_FRAME_TABS);
    for (size_t i = 0; i < pages_.size(); ++i) {
        char title[256] = {};
        ::LoadStringA(Module(), pages_[i]->TitleId(), title, sizeof(title));
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        ry::Send(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    Push();
    // Without a first page (no pages, or its window cannot be made) there is nothing to show.
    if (!tabs || pages_.empty() || !ShowPage(0)) {
        EndDialog(-1);
        return false;
    }
    return true;
}

void RyPropertyFrame::OnDestroy() {
    if (current_ >= 0 && pages_[static_cast<size_t>(current_)]->IsWindow())
        ::DestroyWindow(pages_[static_cast<size_t>(current_)]->Handle());
    current_ = -1;
    Pop();
}

void RyPropertyFrame::Push() {
    if (pushed_) return;
    previous_ = s_innermost;
    s_innermost = this;
    pushed_ = true;
    hook_ = ::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId());
}

void RyPropertyFrame::Pop() {
    if (!pushed_) return;
    if (hook_) ::UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    // Normally this frame is the innermost; one closed out of order leaves the chain where it is.
    if (s_innermost == this) {
        s_innermost = previous_;
    } else {
        for (RyPropertyFrame* f = s_innermost; f; f = f->previous_)
            if (f->previous_ == this) {
                f->previous_ = previous_;
                break;
            }
    }
    previous_ = nullptr;
    pushed_ = false;
}

bool RyPropertyFrame::ApplyCurrent() {
    return current_ < 0 || pages_[static_cast<size_t>(current_)]->Apply();
}

bool RyPropertyFrame::ShowPage(int index) {
    if (index < 0 || index >= GetPageCount()) return false;
    if (index == current_) return true;
    RyPropertyPage* page = pages_[static_cast<size_t>(index)];
    RECT area = {};
    ::GetWindowRect(Item(IDC_FRAME_PAGE_AREA), &area);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    // The new page is made before the old one goes, so a page that cannot be made leaves
    // the frame as it was rather than empty.
    const HWND made = page->Create(hwnd_);
    if (!made) return false;
    if (current_ >= 0) ::DestroyWindow(pages_[static_cast<size_t>(current_)]->Handle());
    ::SetWindowPos(made, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    ::ShowWindow(made, SW_SHOW);
    current_ = index;
    return true;
}

LRESULT RyPropertyFrame::OnSelChanging(NMHDR&) {
    return ApplyCurrent() ? FALSE : TRUE;
}

LRESULT RyPropertyFrame::OnSelChange(NMHDR&) {
    const int selected = static_cast<int>(ry::Send(Item(IDC_FRAME_TABS), TCM_GETCURSEL, 0, 0));
    if (!ShowPage(selected)) ry::Send(Item(IDC_FRAME_TABS), TCM_SETCURSEL, static_cast<WPARAM>(current_), 0);
    return 0;
}

void RyPropertyFrame::OnStep(UINT id, UINT, HWND) {
    const int count = GetPageCount();
    if (count == 0 || !ApplyCurrent()) return;
    const int base = current_ < 0 ? 0 : current_;
    const int next = id == ID_NEXT_PAGE ? (base + 1) % count : (base + count - 1) % count;
    if (ShowPage(next)) ry::Send(Item(IDC_FRAME_TABS), TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
}

void RyPropertyFrame::OnOK(UINT, UINT, HWND) {
    if (ApplyCurrent()) EndDialog(IDOK);
}

void RyPropertyFrame::OnCancel(UINT, UINT, HWND) {
    EndDialog(IDCANCEL);
}

LRESULT CALLBACK RyPropertyFrame::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    RyPropertyFrame* frame = s_innermost;
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
        frame && frame->accelerators_ && frame->IsWindow() && ::IsWindowEnabled(frame->hwnd_) &&
        ry::TranslateAccelerators(frame->hwnd_, frame->accelerators_, msg)) {
        // The key is now the frame's command; dispatched as it is, the dialog manager would
        // act on it as well.
        msg->message = WM_NULL;
        msg->wParam = 0;
        msg->lParam = 0;
        return 0;
    }
    return ::CallNextHookEx(frame ? frame->hook_ : nullptr, code, wParam, lParam);
}
