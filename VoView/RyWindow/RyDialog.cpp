// RyDialog and RyPropertyPage.
#include "RyDialog.h"
#include "Handles.h"

namespace {

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
    case WM_COMPAREITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

}  // namespace

RyDialog::RyDialog(UINT templateId, HINSTANCE module)
    : templateId_(templateId), module_(module ? module : ::GetModuleHandleA(nullptr)) {}

INT_PTR RyDialog::DoModal(HWND owner) {
    if (hwnd_) return -1;
    return ry::ModalDialog(module_, templateId_, owner, &DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND RyDialog::Create(HWND owner) {
    if (hwnd_) return nullptr;
    return ry::ModelessDialog(module_, templateId_, owner, &DialogProc, reinterpret_cast<LPARAM>(this));
}

bool RyDialog::PreTranslateMessage(MSG& msg) {
    if (!IsWindow() || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) return false;
    return ry::IsDialogMessageOf(hwnd_, &msg) != FALSE;
}

INT_PTR CALLBACK RyDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<RyDialog*>(FromUserData(hwnd));
    if (!self) {
        // Messages before WM_INITDIALOG (WM_SETFONT) and after the object is gone get the
        // dialog manager's handling.
        if (message != WM_INITDIALOG || !lParam) return FALSE;
        self = reinterpret_cast<RyDialog*>(lParam);
        self->Bind(hwnd, Binding::UserData);
    }
    bool handled = false;
    const LRESULT result = self->Route(hwnd, message, wParam, lParam, &handled);  // self may be gone now
    if (!handled || AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    if (::IsWindow(hwnd)) ry::SetLongPtr(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

RyPropertyPage::RyPropertyPage(UINT templateId, UINT titleId, HINSTANCE module)
    : RyDialog(templateId, module), titleId_(titleId), theme_(::LoadLibraryA("UxTheme.dll")) {}

RyPropertyPage::~RyPropertyPage() {
    Unbind();  // before the theme library goes, nothing of the page may run any longer
    if (theme_) ::FreeLibrary(theme_);
}

bool RyPropertyPage::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_INITDIALOG) return false;
    using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
    constexpr DWORD kEnableTabTexture = 6;  // ETDT_ENABLE | ETDT_USETABTEXTURE
    if (auto enable = theme_ ? GetProc<EnableTexture>(theme_, "EnableThemeDialogTexture") : nullptr)
        enable(hwnd, kEnableTabTexture);
    result = TRUE;
    return true;
}
