// VoMultiWnd: the multi-translation pane, a docked pane that shows the verse selected in the
// active bible pane in every translation of the user's order, one block per translation
// ("SHORT REF:  text"), in a read-only text box. A translation whose numbering puts the
// verse at another chapter or verse shows its own reference after its short name. The box
// breaks its lines at words (VoSoftWrapBox), as the edit control's own wrap cuts words under
// Wine; a copy from it holds no soft line break.
#pragma once
#include <windows.h>
#include <string>
#include "BibleInfoList.h"
#include "DockedWnd.h"
#include "SoftWrap.h"

constexpr UINT kMultiWndId = 4000;  // the pane's child id in the main frame

// The pane's text for a verse of bible `source` (indices zero-based), every translation of
// list's order but the source (unless showSource); false, with text unchanged, when the
// source bible or its reference cannot be used.
bool BuildMultiTranslationText(VoBibleInfoList& list, bool showSource, int source, int book, int chapter, int verse,
                               std::string* text);

class VoMultiWnd : public VoDockedWnd<VoMultiWnd> {
public:
    explicit VoMultiWnd(VoBibleInfoList* bibles) : bibles_(bibles) {}
    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The setting "ShowActiveBibleInMultiWindow"; the text changes with the next verse.
    void SetShowActiveBible(bool show) { showActive_ = show; }
    // The active pane's verse; ignored unless all four are 0 or more.
    void SetVerse(int bible, int book, int chapter, int verse);

    HWND TextBox() const { return text_; }

private:
    int OnCreate(const ry::CreateStruct&);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFont(HFONT font, bool redraw);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void Rebuild();

    HWND text_ = nullptr;  // the text box, a child destroyed with the pane
    VoSoftWrapBox wrap_;   // the text box's words kept whole at its width
    VoBibleInfoList* bibles_;
    bool showActive_ = false;
    int bible_ = -1, book_ = -1, chapter_ = -1, verse_ = -1;
};
