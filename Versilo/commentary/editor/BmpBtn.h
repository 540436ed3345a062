// VoBmpBtn: the commentary pane's flat button that shows one icon of an image list over the
// usual button face (the next image of the list when the button is disabled), also after
// the face changes with the focus or a press. Its window
// class "VoBmpButton" is a superclass of the system's "BUTTON".
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "RyMessageMap.h"
#include "RyWindowImpl.h"

class VoBmpBtn : public RyWindowImpl<VoBmpBtn, RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON>> {
public:
    static constexpr const char* kClassName = "VoBmpButton";
    static void GetWindowClass(ry::WindowClass& wc);

    // images is borrowed and must outlive the button (or be replaced first); the owner
    // repaints the button.
    void SetImage(HIMAGELIST images, int index) {
        images_ = images;
        index_ = index;
    }

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    LRESULT DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    // The system button paints its face at once when it takes or loses the focus or is
    // pressed, over the icon: after its own handling the whole button is painted again.
    static bool RepaintAfter(VoBmpBtn& button, const RyMessage& m, LRESULT& result);

    HIMAGELIST images_ = nullptr;
    int index_ = 0;
};
