// A window's message map as a table: RyMessageEntry rows of {message, handler}, the
// dispatcher that routes a message to the one handler of its row, and the crackers that
// turn wParam and lParam into typed arguments for the handlers that want them.
//
//   static const RyMessageEntry<MyWindow> map[] = {
//       {WM_SIZE, RyOnSize<&MyWindow::OnSize>},          // void OnSize(UINT type, int cx, int cy)
//       {WM_USER, RyMsg<&MyWindow::OnUserMessage>},      // LRESULT F(WPARAM, LPARAM)
//   };
//   return RyDispatchMessage(*this, map, message, wParam, lParam, result);
#pragma once
#include <windows.h>
#include <cstddef>

template <class T>
struct RyMessageEntry {
    UINT message;
    // Answers whether the message was handled; when it was, result is the message's answer.
    bool (*handler)(T& window, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

template <class T, std::size_t N>
bool RyDispatchMessage(T& window, const RyMessageEntry<T> (&map)[N], UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT& result) {
    for (const RyMessageEntry<T>& entry : map)
        if (entry.message == message) return entry.handler(window, wParam, lParam, result);
    return false;
}

namespace ry_detail {
template <class M>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};
template <auto F>
using ClassOf = typename MemberOf<decltype(F)>::Class;
}  // namespace ry_detail

// LRESULT F(WPARAM, LPARAM): always handled, answers what F answers.
template <auto F>
bool RyMsg(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = (w.*F)(wp, lp);
    return true;
}

// LRESULT F(WPARAM, LPARAM, bool& handled): F clears handled to pass the message on.
template <auto F>
bool RyMsgMaybe(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM lp, LRESULT& result) {
    bool handled = true;
    result = (w.*F)(wp, lp, handled);
    return handled;
}

// int F(const CREATESTRUCTW&): 0 to go on, -1 to stop the creation.
template <auto F>
bool RyOnCreate(ry_detail::ClassOf<F>& w, WPARAM, LPARAM lp, LRESULT& result) {
    result = (w.*F)(*reinterpret_cast<const CREATESTRUCTW*>(lp));
    return true;
}

// void F(): WM_DESTROY, WM_PAINT and the like; answers 0.
template <auto F>
bool RyOnVoid(ry_detail::ClassOf<F>& w, WPARAM, LPARAM, LRESULT& result) {
    (w.*F)();
    result = 0;
    return true;
}

// void F(UINT type, int cx, int cy): WM_SIZE.
template <auto F>
bool RyOnSize(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM lp, LRESULT& result) {
    (w.*F)(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
    result = 0;
    return true;
}

// void F(HFONT font, bool redraw): WM_SETFONT.
template <auto F>
bool RyOnSetFont(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM lp, LRESULT& result) {
    (w.*F)(reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0);
    result = 0;
    return true;
}

// void F(HWND other): WM_SETFOCUS and WM_KILLFOCUS.
template <auto F>
bool RyOnFocus(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM, LRESULT& result) {
    (w.*F)(reinterpret_cast<HWND>(wp));
    result = 0;
    return true;
}

// void F(int code, int thumbPosition): WM_VSCROLL and WM_HSCROLL.
template <auto F>
bool RyOnScroll(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM, LRESULT& result) {
    (w.*F)(static_cast<int>(LOWORD(wp)), static_cast<int>(static_cast<short>(HIWORD(wp))));
    result = 0;
    return true;
}

// void F(UINT keys, int delta, POINT screenPoint): WM_MOUSEWHEEL.
template <auto F>
bool RyOnMouseWheel(ry_detail::ClassOf<F>& w, WPARAM wp, LPARAM lp, LRESULT& result) {
    POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    (w.*F)(LOWORD(wp), static_cast<short>(HIWORD(wp)), pt);
    result = 0;
    return true;
}
