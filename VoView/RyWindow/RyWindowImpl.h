// The window template under every window of the program, in place of a framework's window
// classes: RyWindowImplBase binds the object to its window handle on the first message,
// routes each message through the object's message map (ProcessWindowMessage) and calls
// OnFinalMessage after the last one; RyWindowImpl<T, Traits> adds the window class of T
// (registered on first use) and the styles of its traits.
#pragma once
#include "RyWindow.h"

class RyWindowImplBase : public RyWindow {
public:
    RyWindowImplBase() = default;
    RyWindowImplBase(const RyWindowImplBase&) = delete;
    RyWindowImplBase& operator=(const RyWindowImplBase&) = delete;

    // The message map: answers whether the message was handled and, when it was, its result.
    // Unhandled messages go to the default window procedure.
    virtual bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) = 0;
    virtual ~RyWindowImplBase() = default;
    // The procedure the window runs on once it is bound to this object.
    virtual WNDPROC GetWindowProc() { return &WindowProc; }
    // Called once after the window's last message (WM_NCDESTROY), when no message of this
    // window is being handled any longer; the handle is already cleared. A window whose
    // creation failed never gets it: the creator still owns the object then.
    virtual void OnFinalMessage(HWND) {}

protected:
    // Registers the window class, or leaves it when it is registered with this module's
    // procedure. A class of the same name left by an earlier load of this module (whose
    // procedure is gone) is registered anew.
    static bool RegisterWindowClass(WNDCLASSEXW wc);
    // Creates the window bound to this object; NULL when it cannot be created.
    HWND CreateBound(const wchar_t* className, HINSTANCE instance, HWND parent, const RECT& rect,
                     const wchar_t* title, DWORD style, DWORD exStyle, UINT id);

    static LRESULT CALLBACK StartWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int depth_ = 0;           // messages of this window being handled now (nested loops)
    bool finalPending_ = false;
    bool creating_ = false;
};

// The default styles and extended styles of a kind of window.
template <DWORD Style, DWORD ExStyle = 0>
struct RyWindowTraits {
    static constexpr DWORD kStyle = Style;
    static constexpr DWORD kExStyle = ExStyle;
};

// T supplies static void GetWindowClass(WNDCLASSEXW&): name, instance, styles, cursor, brush.
template <class T, class Traits>
class RyWindowImpl : public RyWindowImplBase {
public:
    HWND Create(HWND parent, const RECT& rect, UINT id, DWORD extraStyle = 0, const wchar_t* title = nullptr) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        T::GetWindowClass(wc);
        wc.lpfnWndProc = &StartWindowProc;
        if (!RegisterWindowClass(wc)) return nullptr;
        return CreateBound(wc.lpszClassName, wc.hInstance, parent, rect, title,
                           Traits::kStyle | extraStyle, Traits::kExStyle, id);
    }
};
