// VoLexCreateDlg: the creation of a new notes file: its path (relative paths lie under the
// user's documents folder), the bible whose references it uses, browsing for the path, and
// the checks before the file is made. Ends with IDOK once the file exists; GetPath then
// gives its full path.
#pragma once
#include "NotesPath.h"
#include "RyDialog.h"

class VoBibleInfoList;
class VoLexiconList;

class VoLexCreateDlg : public RyDialog {
public:
    // Everything is borrowed.
    VoLexCreateDlg(const VoLexiconList& list, VoBibleInfoList& bibles, int activeBible);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const char* GetPath() const { return path_; }

private:
    bool OnInitDialog(HWND focus, LPARAM);
    void OnPathChanged(UINT, UINT, HWND) { browsed_ = false; }
    void OnBrowse(UINT, UINT, HWND);
    void OnOK(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND) { EndDialog(IDCANCEL); }

    // Reads the path field into parts_; with messages, tells what is wrong with it.
    bool CheckPath(bool withMessages);
    // Makes the file for the chosen bible; false when the bible or the creation fails.
    bool CreateFile(int bibleIndex, const char* fullPath);
    int ShowMessage(UINT id, const char* argument, UINT type = MB_OK | MB_ICONINFORMATION);

    const VoLexiconList& list_;
    VoBibleInfoList& bibles_;
    int activeBible_;
    char documents_[MAX_PATH] = {};
    bool hasDocuments_ = false;
    bool browsed_ = false;
    NotesPath parts_;
    char path_[MAX_PATH] = {};
};
