// The window template under every window of the program, in place of a framework's window
// classes. RyWindowImplBase is the one router: it binds the object to its window handle,
// runs each message through the object's message map (ProcessWindowMessage), gives what the
// map leaves to the default procedure of its kind (DefaultProc: the default window
// procedure here, the dialog manager for dialogs, the previous procedure of a subclassed
// control) and calls OnFinalMessage after the last message. RyWindowImpl<T, Traits> adds
// the window class of T (registered on first use) and the styles of its traits.
//
// Lifetime: an object either belongs to its window (it deletes itself in OnFinalMessage) or
// to its references (a COM object holds one reference for its window, taken after creation
// and released in OnFinalMessage, and never deletes itself there); never both. While any
// handler of the window or any KeepAlive scope runs, OnFinalMessage waits.
#pragma once
#include "RyWindow.h"

class RyWindowImplBase : public RyWindow {
public:
    RyWindowImplBase() = default;
    RyWindowImplBase(const RyWindowImplBase&) = delete;
    RyWindowImplBase& operator=(const RyWindowImplBase&) = delete;

    // The message map: answers whether the message was handled and, when it was, its result.
    virtual bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) = 0;
    // A window still bound to a dying object is unbound first: its later messages get the
    // default handling (a subclassed control gets its previous procedure back).
    virtual ~RyWindowImplBase();
    // The procedure the window runs on once it is bound to this object.
    virtual WNDPROC GetWindowProc() { return &WindowProc; }
    // Called once after the window's last message (WM_NCDESTROY), when no message of this
    // window is being handled and no KeepAlive is held any longer; the handle is already
    // cleared. A window whose creation failed never gets it: the creator still owns the
    // object then.
    virtual void OnFinalMessage(HWND) {}

    // Holds back OnFinalMessage for a scope: a COM method or sink callback of the object
    // that may close its window keeps the object alive until it returns.
    class KeepAlive {
    public:
        explicit KeepAlive(RyWindowImplBase& window) : window_(window) { ++window_.depth_; }
        ~KeepAlive() { window_.Leave(); }
        KeepAlive(const KeepAlive&) = delete;
        KeepAlive& operator=(const KeepAlive&) = delete;
    private:
        RyWindowImplBase& window_;
    };

protected:
    // What a message gets that the map leaves; for a plain window the default window procedure.
    virtual LRESULT DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ry::DefProc(hwnd, message, wParam, lParam);
    }

    // Registers the window class, or leaves it when it is registered with this module's
    // procedure. A class of the same name left by an earlier load of this module (whose
    // procedure is gone) is registered anew.
    static bool RegisterWindowClass(const ry::WindowClass& wc);

    // How a window is bound to its object: the window's user data (own windows, dialogs)
    // or a window property (subclassed controls, whose user data is not ours).
    enum class Binding { None, UserData, Property };
    static constexpr const char* kObjectProperty = "RyWindowObject";
    void Bind(HWND hwnd, Binding binding);
    void Unbind();
    static RyWindowImplBase* FromUserData(HWND hwnd) {
        return reinterpret_cast<RyWindowImplBase*>(ry::GetLongPtr(hwnd, GWLP_USERDATA));
    }

    // Runs one message through the map and, when unhandled, DefaultProc. handled (when
    // given) tells which. The object may be gone when this returns.
    LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled = nullptr);

    // Creation of a window bound to this object (CreateWindowEx's arguments); binding
    // happens on the first message, so WM_NCCREATE and WM_CREATE reach the map.
    HWND CreateBound(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int cx,
                     int cy, HWND parent, HMENU menu, HINSTANCE instance, void* param);

    static LRESULT CALLBACK StartWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Binding binding_ = Binding::None;
    WNDPROC previousProc_ = nullptr;  // a subclassed control's own procedure
    WNDPROC subclassProc_ = nullptr;  // and ours, put in its place

private:
    void Leave();

    int depth_ = 0;           // messages of this window being handled now, and KeepAlive scopes
    bool finalPending_ = false;
    bool creating_ = false;
    HWND finalHandle_ = nullptr;
};

// The default styles and extended styles of a kind of window.
template <DWORD Style, DWORD ExStyle = 0>
struct RyWindowTraits {
    static constexpr DWORD kStyle = Style;
    static constexpr DWORD kExStyle = ExStyle;
};

// Where and how a window is made. The position and size default to the system's choice
// (CW_USEDEFAULT, for top-level windows); a child gets its control identifier as its menu.
struct RyCreateParams {
    HWND parent = nullptr;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    const char* title = nullptr;
    DWORD extraStyle = 0;
    DWORD extraExStyle = 0;
    HMENU menu = nullptr;  // a top-level window's menu bar (the window destroys it with itself)
    UINT id = 0;           // a child's control identifier
    void* param = nullptr; // CREATESTRUCT::lpCreateParams of WM_NCCREATE and WM_CREATE

    RyCreateParams() = default;
    RyCreateParams(HWND parentWindow, const RECT& rc, UINT controlId = 0)
        : parent(parentWindow), x(rc.left), y(rc.top), cx(rc.right - rc.left), cy(rc.bottom - rc.top),
          id(controlId) {}
};

// T supplies static void GetWindowClass(ry::WindowClass&): name, instance, styles, cursor, brush.
template <class T, class Traits>
class RyWindowImpl : public RyWindowImplBase {
public:
    HWND Create(const RyCreateParams& p) {
        ry::WindowClass wc = {};
        wc.cbSize = sizeof wc;
        T::GetWindowClass(wc);
        wc.lpfnWndProc = &StartWindowProc;
        if (!RegisterWindowClass(wc)) return nullptr;
        const DWORD style = Traits::kStyle | p.extraStyle;
        HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(p.id)) : p.menu;
        return CreateBound(Traits::kExStyle | p.extraExStyle, wc.lpszClassName, p.title ? p.title : "", style, p.x,
                           p.y, p.cx, p.cy, p.parent, menu, wc.hInstance, p.param);
    }
    HWND Create(HWND parent, const RECT& rect, UINT id, DWORD extraStyle = 0, const char* title = nullptr) {
        RyCreateParams p(parent, rect, id);
        p.extraStyle = extraStyle;
        p.title = title;
        return Create(p);
    }
};
