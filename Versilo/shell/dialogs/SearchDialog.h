// VoSearchDlg: the modal full-text search over one translation (dialog 144, "Søk i %s").
//
// While the query is one word, the word list shows the translation's words that begin with
// it and the search is for the words selected there; any other query goes to the text
// table as typed. A search runs 300 ms after the last keystroke (timer 100), at once when
// the query combo loses the focus, and on every change of the word selection or the book
// range. After IDOK the owner reads the chosen hit and the hits.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "BibleSearch.h"
#include "RyDialog.h"
#include "SearchHistory.h"

constexpr UINT kSearchDialogId = 144;

class VoSearchDlg : public RyDialog {
public:
    // bible: the translation searched; font: the view font (borrowed), shown in the query,
    // the word list and the text of the selected hits.
    VoSearchDlg(IBible* bible, HFONT font);
    ~VoSearchDlg() override;

    // The hit OK refers to, -1 for none.
    int GetChosenHit() const;
    // The chosen hit's reference value, 0 when there is none.
    int GetChosenHitRef() const { return GetHitRef(GetChosenHit()); }
    int GetHitCount() const { return search_.GetHitCount(); }
    // The reference text of hit i into buffer (kFormatRefBufferSize bytes); returns buffer.
    char* GetHitText(int index, char* buffer) const { return search_.GetHitText(index, buffer); }
    // Hit i as a verse-level reference value, 0 outside the hits.
    int GetHitRef(int index) const { return search_.GetHitRef(index); }

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnQueryEdited(UINT, UINT, HWND);
    void OnQueryChosen(UINT, UINT, HWND);
    void OnQueryLeft(UINT, UINT, HWND);
    void OnWordsSelected(UINT, UINT, HWND);
    void OnBookChosen(UINT, UINT, HWND);
    void OnRangeButton(UINT id, UINT code, HWND);
    void OnCopyText(UINT, UINT, HWND);
    void OnOK(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND);
    LRESULT OnGetDispInfo(NMHDR& hdr);
    LRESULT OnItemChanged(NMHDR& hdr);
    LRESULT OnStateChanged(NMHDR&);
    LRESULT OnDoubleClick(NMHDR&);

    void SetTitle();
    void MoveBelowQuery(int dy);
    void FillBookCombos();
    void FillWordList();
    std::string SearchText() const;
    void Search();
    void StopTimer();
    void ShowSelection();
    static void ClearHitSelection(HWND hits);
    void SetRange(int first, int last);
    void CheckRangeButton();
    void AddToHistory();
    void SaveHistory();

    VoBibleSearch search_;
    HFONT font_;
    std::string language_;   // names the history key; empty: no history
    bool searchButtonMode_ = false;
    bool timerPending_ = false;
    char query_[kSearchQuerySize] = "";
    int chosenHit_ = -1;
};

// What the search command hands back to its owner after OK: the hits as reference texts
// with their reference values, and the chosen one.
struct VoSearchOutcome {
    struct Hit {
        std::string text;
        int ref;
    };
    std::vector<Hit> hits;
    int chosenHit = -1;  // index into hits, -1 for none
    int chosenRef = 0;   // its reference value, 0 for none
};
