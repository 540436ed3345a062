// RyColorPicker: a static control of a dialog turned into a colour chooser. The static's
// text moves into a sunken sample field drawn in the chosen colour, beside a small
// drop-down button that opens the colour grid (RyColorGridPopupWnd). A chosen colour is
// written at once into the COLORREF the owner lends the picker. Disabling the picker
// disables its sample and button.
#pragma once
#include <windows.h>
#include "RySubclassedWindow.h"

class RyColorGridPopupWnd;

class RyColorPicker : public RySubclassedWindow {
public:
    static constexpr UINT kSampleId = 100;
    static constexpr UINT kButtonId = 101;
    // A click within this many ms of the grid's closing does not open it again: it is the
    // click that closed it.
    static constexpr DWORD kReopenGuard = 501;

    // The drop-down button, owner-drawn with a down arrow of its own (no font needed). It
    // keeps its checked state itself (BM_SETCHECK, BM_GETCHECK: shown pushed while the grid
    // is open) and draws when the picker reflects WM_DRAWITEM to it. F4 on it is reported
    // to the picker as notification code 0.
    class BtnClass : public RySubclassedWindow {
    public:
        bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    private:
        LRESULT OnKeyDown(WPARAM key, LPARAM, bool& handled);
        LRESULT OnSetCheck(WPARAM state, LPARAM);
        LRESULT OnGetCheck(WPARAM, LPARAM);
        LRESULT OnDoubleClick(WPARAM keys, LPARAM point);
        void OnDrawItem(UINT id, const DRAWITEMSTRUCT& item);

        bool checked_ = false;
    };

    explicit RyColorPicker(COLORREF* color);
    ~RyColorPicker() override;

    // Subclasses the static, makes it a control parent and creates the sample and button;
    // false when the static cannot be subclassed or its children cannot be made.
    bool SubclassWindow(HWND staticControl);

    // The open grid, null when closed.
    HWND Popup() const { return popup_; }
    HWND Sample() const { return Item(kSampleId); }
    HWND Button() const { return button_.Handle(); }
    // Opens the grid unless it is open; false when it is open or could not be made.
    bool OpenGrid();

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int OnCreate(const ry::CreateStruct&);
    bool MakeChildren();
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnButtonClicked(UINT, UINT, HWND);
    LRESULT OnNotify(NMHDR& hdr);
    LRESULT OnEnable(WPARAM enabled, LPARAM, bool& handled);
    void OnDestroy();

    COLORREF* color_;
    BtnClass button_;
    HWND popup_ = nullptr;
    DWORD lastClose_;
};
