// VoLexCreateDlg: the path and bible of a new notes file, browsing, and the creation.
#include "LexCreateDlg.h"
#include <cstring>
#include "BibleInfoList.h"
#include "CommentaryDialogIds.h"
#include "ComPtr.h"
#include "DataDirectories.h"
#include "LexiconList.h"
#include "MessageText.h"
#include "NotesFileDialog.h"
#include "RyMessageMap.h"
#include "ShellRoutines.h"
#include "VoUtil.h"

namespace {
// The most characters of a too long path shown in its message.
constexpr int kShownPathLength = 64;
}

VoLexCreateDlg::VoLexCreateDlg(const VoLexiconList& list, VoBibleInfoList& bibles, int activeBible)
    : RyDialog(kIddLexCreate), list_(list), bibles_(bibles), activeBible_(activeBible) {}

bool VoLexCreateDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoLexCreateDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommandCode<Self>(kIdcCreatePath, EN_CHANGE, RyOnCommand<&Self::OnPathChanged>),
        RyCommand<Self>(kIdcBrowse, RyOnCommand<&Self::OnBrowse>),
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOK>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoLexCreateDlg::OnInitDialog(HWND, LPARAM) {
    hasDocuments_ = ReadDocumentsFolder(documents_);
    if (hasDocuments_) {
        char text[kTextCapacity];
        SetDlgItemTextA(Handle(), kIdcCreateHint, FormatResString(text, kIdsDocumentsHint, documents_));
    }
    const HWND combo = Item(kIdcCreateBible);
    for (int k = 0; k < bibles_.GetCount(); ++k) {
        const int index = bibles_.GetOrderAt(k);
        const LRESULT at =
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bibles_.GetAt(index).GetName()));
        if (at < 0) continue;
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), index);
        if (index == activeBible_) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
    return true;
}

int VoLexCreateDlg::ShowMessage(UINT id, const char* argument, UINT type) {
    char text[kTextCapacity];
    return VoMessageBox(Handle(), FormatResString(text, id, argument), type);
}

bool VoLexCreateDlg::CheckPath(bool withMessages) {
    char typed[kTypedPathCapacity] = {};
    GetDlgItemTextA(Handle(), kIdcCreatePath, typed, sizeof typed);
    NotesPathCheck check = NotesPathCheck::kTooLong;
    if (std::strlen(typed) < sizeof typed - 1) check = CheckNotesPath(typed, hasDocuments_ ? documents_ : nullptr, &parts_);
    else parts_ = NotesPath();
    if (check == NotesPathCheck::kOk) return true;
    if (withMessages) {
        if (check == NotesPathCheck::kTooLong) {
            // The start of the path, so that the message keeps room for what it says.
            char shown[kShownPathLength + 4];
            const int copied = CopyWholeCharacters(shown, kShownPathLength + 1, typed, std::strlen(typed));
            if (typed[copied]) std::strcat(shown, "...");
            ShowMessage(kIdsPathTooLong, shown);
        }
        else ShowMessage(kIdsNoSuchDirectory, parts_.directory);
    }
    return false;
}

void VoLexCreateDlg::OnBrowse(UINT, UINT, HWND) {
    NotesFileRequest request;
    request.owner = Handle();
    request.titleId = kIdsNotesFileTitle;
    request.save = true;
    request.list = &list_;
    char start[MAX_PATH] = {};
    if (CheckPath(false)) {
        request.directory = parts_.directory;
        parts_.FullPath(start);
        start[std::strlen(start) - kNotesExtensionLength] = '\0';  // directory + "\" + name
        request.fileName = start;
    }
    char path[MAX_PATH];
    if (!ChooseNotesFile(request, path)) return;
    const size_t length = std::strlen(path);
    if (length >= kNotesExtensionLength && lstrcmpiA(path + length - kNotesExtensionLength, kNotesExtension) == 0)
        path[length - kNotesExtensionLength] = '\0';
    const char* shown = path;
    const size_t documentsLength = std::strlen(documents_);
    if (hasDocuments_ && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path, static_cast<int>(documentsLength),
                                        documents_, static_cast<int>(documentsLength)) == CSTR_EQUAL &&
        path[documentsLength] == '\\')
        shown = path + documentsLength + 1;
    SetDlgItemTextA(Handle(), kIdcCreatePath, shown);
    browsed_ = true;  // after the text, whose change clears it
}

bool VoLexCreateDlg::CreateFile(int bibleIndex, const char* fullPath) {
    if (bibleIndex < 0 || bibleIndex >= bibles_.GetCount()) return false;
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(bibles_.GetAt(bibleIndex).GetBible());
    ComPtr<IBibleLangStat> langStat;
    if (!bible || FAILED(bible->GetLangStat(langStat.Put())) || !langStat) return false;
    return SUCCEEDED(CreateOldVoLexFile(fullPath, langStat.Get(), parts_.name, nullptr));
}

void VoLexCreateDlg::OnOK(UINT, UINT, HWND) {
    const LRESULT chosen = SendDlgItemMessageA(Handle(), kIdcCreateBible, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) {
        ShowMessage(kIdsChooseBible, nullptr);
        return;
    }
    if (!CheckPath(true)) return;
    char full[MAX_PATH];
    parts_.FullPath(full);
    if (!list_.IsNotListed(full)) {
        ShowMessage(kIdsAlreadyRegistered, nullptr);
        return;
    }
    // The list keeps files by name: a name it would refuse is refused before any file is
    // touched, not after the file was made.
    const char* fileName = GetFileNamePart(full);
    if (std::strlen(fileName) >= static_cast<size_t>(kLexFileNameSize)) {
        ShowMessage(kIdsFileNameTooLong, fileName);
        return;
    }
    if (IsExistingFile(full)) {
        if (!browsed_ && ShowMessage(kIdsOverwriteFile, full, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        if (!DeleteFileA(full)) {
            ShowMessage(kIdsCannotDeleteFile, full);
            return;
        }
    }
    const int bibleIndex =
        static_cast<int>(SendDlgItemMessageA(Handle(), kIdcCreateBible, CB_GETITEMDATA, static_cast<WPARAM>(chosen), 0));
    if (!CreateFile(bibleIndex, full)) {
        ShowMessage(kIdsCannotCreateFile, full);
        return;
    }
    std::memcpy(path_, full, std::strlen(full) + 1);
    EndDialog(IDOK);
}
