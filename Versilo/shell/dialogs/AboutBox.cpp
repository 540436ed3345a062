// VoAboutBox and VoBibleInfoDlg.
#include "AboutBox.h"
#include <algorithm>
#include <cstring>
#include <string>
#include "MessageText.h"
#include "ProgramVersion.h"
#include "RyMessageMap.h"

namespace {

constexpr UINT kIdsBibleInfoTitle = 210;  // "Informasjon om %1"
constexpr UINT kProgramIconId = 107;
constexpr int kIconItem = 1057;
constexpr int kVersionItem = 1058;
constexpr int kRightsItem = 1020;
constexpr int kInfoItem = 1021;
constexpr int kVersionTemplateSize = 32;

}  // namespace

std::string WithCrLf(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' && (p == text || p[-1] != '\r')) out += '\r';
        out += *p;
    }
    return out;
}

bool VoAboutBox::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoAboutBox;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnClose>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnClose>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoAboutBox::OnInitDialog(HWND, LPARAM) {
    CenterDialog(Handle());
    // The program's icon where it has one, else the system's.
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId));
    if (!icon) icon = ::LoadIconA(nullptr, IDI_APPLICATION);
    ::SendDlgItemMessageA(Handle(), kIconItem, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);

    char pattern[kVersionTemplateSize] = "";
    ::GetDlgItemTextA(Handle(), kVersionItem, pattern, sizeof pattern);
    DWORD ms = 0, ls = 0;
    std::string version;
    if (GetProgramVersion(&ms, &ls)) {
        std::string installed;
        const bool haveInstalled = ReadInstalledVersion(&installed);
        version = FormatVersionText(ms, ls, haveInstalled ? installed.c_str() : nullptr);
    }
    // The template holds one "%s" and at most 31 bytes; the version text is bounded too.
    char line[kVersionTemplateSize + 128];
    if (version.empty() || !strstr(pattern, "%s"))
        line[0] = '\0';
    else
        wsprintfA(line, pattern, version.substr(0, 127).c_str());
    ::SetDlgItemTextA(Handle(), kVersionItem, line);
    return true;
}

bool VoBibleInfoDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    using Self = VoBibleInfoDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnClose>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnClose>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoBibleInfoDlg::OnInitDialog(HWND, LPARAM) {
    CenterDialog(Handle());
    char name[kBibleLongNameSize] = "";
    if (bible_ && FAILED(bible_->GetBibleName(TRUE, name, sizeof name))) name[0] = '\0';
    char title[kTextCapacity];
    ::SetWindowTextA(Handle(), FormatResString(title, kIdsBibleInfoTitle, name));

    int tabStop = 10;
    ::SendDlgItemMessageA(Handle(), kInfoItem, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));

    std::string text(kBibleDescriptionSize, '\0');
    if (!bible_ || FAILED(bible_->GetDescription(&text[0], kBibleDescriptionSize))) text[0] = '\0';
    ::SetDlgItemTextA(Handle(), kRightsItem, WithCrLf(text.c_str()).c_str());

    // Only a bible of the new format has a companion information file.
    ComPtr<INewBible> newBible;
    text.assign(kBibleDescriptionSize, '\0');
    if (!bible_ || FAILED(bible_->QueryInterface(IID_INewBible, newBible.PutVoid())) || !newBible ||
        newBible->ReadInfoFile(&text[0], kBibleDescriptionSize) != S_OK)
        text[0] = '\0';
    ::SetDlgItemTextA(Handle(), kInfoItem, WithCrLf(text.c_str()).c_str());
    // Neither text starts out selected.
    for (int id : {kRightsItem, kInfoItem}) ::SendDlgItemMessageA(Handle(), id, EM_SETSEL, 0, 0);
    return true;
}
