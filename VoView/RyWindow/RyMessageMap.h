// A window's message map as a table of rows, each {what it matches, handler}, and the
// dispatcher that walks the rows in order until a handler takes the message.
//
//   static const RyMessageEntry<MyWindow> map[] = {
//       {WM_SIZE, RyOnSize<&MyWindow::OnSize>},                     // by message
//       RyCommand<MyWindow>(IDOK, RyOnCommand<&MyWindow::OnOK>),     // WM_COMMAND by id
//       RyCommandCode<MyWindow>(1019, EN_CHANGE, RyOnCommand<&MyWindow::OnChanged>),
//       RyCommandRange<MyWindow>(2000, 2009, RyOnCommand<&MyWindow::OnPick>),
//       RyNotify<MyWindow>(1021, TCN_SELCHANGE, RyOnNotify<&MyWindow::OnTab>),
//       RyChain<MyWindow>(RyChainBase<BaseWindow, MyWindow>),        // the base's map
//       RyChain<MyWindow>(RyChainMember<&MyWindow::part_>),          // a member's map
//       RyChain<MyWindow>(RyReflectToChild<MyWindow>),               // reflection, last
//   };
//   return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
//
// Reflection sends a child's notifications back to the child as kRyReflectBase + message
// with the same parameters: WM_COMMAND from a control, WM_NOTIFY, WM_DRAWITEM of a control
// and WM_CTLCOLOR*. The crackers of RyCrackers.h read reflected messages as the originals.
#pragma once
#include <windows.h>
#include <cstddef>
#include "RyWindowApi.h"

// One message as the map sees it.
struct RyMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Answers whether the message was handled; when it was, result is the message's answer.
template <class T>
using RyHandler = bool (*)(T& window, const RyMessage& m, LRESULT& result);

enum class RyRowKind : unsigned char {
    Message,  // the message
    Command,  // WM_COMMAND from a control id in first..last, with code (or any code)
    Notify,   // WM_NOTIFY from a control id in first..last, with code (or any code)
    Any,      // every message: chains and reflection, whose handler decides
};
constexpr UINT kRyAnyCode = 0xFFFFFFFFu;
constexpr UINT kRyReflectBase = WM_USER + 0x1C00;

template <class T>
struct RyMessageEntry {
    UINT message;
    RyHandler<T> handler;
    RyRowKind kind = RyRowKind::Message;
    UINT first = 0;
    UINT last = 0;
    UINT code = kRyAnyCode;
};

template <class T>
constexpr RyMessageEntry<T> RyCommand(UINT id, RyHandler<T> h) {
    return {WM_COMMAND, h, RyRowKind::Command, id, id, kRyAnyCode};
}
template <class T>
constexpr RyMessageEntry<T> RyCommandCode(UINT id, UINT code, RyHandler<T> h) {
    return {WM_COMMAND, h, RyRowKind::Command, id, id, code};
}
template <class T>
constexpr RyMessageEntry<T> RyCommandRange(UINT first, UINT last, RyHandler<T> h) {
    return {WM_COMMAND, h, RyRowKind::Command, first, last, kRyAnyCode};
}
template <class T>
constexpr RyMessageEntry<T> RyNotify(UINT id, UINT code, RyHandler<T> h) {
    return {WM_NOTIFY, h, RyRowKind::Notify, id, id, code};
}
template <class T>
constexpr RyMessageEntry<T> RyChain(RyHandler<T> h) {
    return {0, h, RyRowKind::Any, 0, 0, kRyAnyCode};
}

template <class T>
bool RyRowMatches(const RyMessageEntry<T>& e, const RyMessage& m) {
    switch (e.kind) {
    case RyRowKind::Message:
        return e.message == m.message;
    case RyRowKind::Command: {
        if (m.message != WM_COMMAND) return false;
        const UINT id = LOWORD(m.wParam);
        return id >= e.first && id <= e.last && (e.code == kRyAnyCode || e.code == HIWORD(m.wParam));
    }
    case RyRowKind::Notify: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (m.message != WM_NOTIFY || !hdr) return false;
        return hdr->idFrom >= e.first && hdr->idFrom <= e.last && (e.code == kRyAnyCode || e.code == hdr->code);
    }
    case RyRowKind::Any:
        return true;
    }
    return false;
}

template <class T, std::size_t N>
bool RyDispatchMessage(T& window, const RyMessageEntry<T> (&map)[N], HWND hwnd, UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT& result) {
    const RyMessage m = {hwnd, message, wParam, lParam};
    for (const RyMessageEntry<T>& entry : map)
        if (RyRowMatches(entry, m) && entry.handler(window, m, result)) return true;
    return false;
}

namespace ry_detail {
template <class M>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};
template <class C, class M>
struct MemberOf<M C::*> {
    using Class = C;
};
template <auto F>
using ClassOf = typename MemberOf<decltype(F)>::Class;
}  // namespace ry_detail

// The map of a base class (its own, not the override that is running).
template <class Base, class T>
bool RyChainBase(T& w, const RyMessage& m, LRESULT& result) {
    return static_cast<Base&>(w).Base::ProcessWindowMessage(m.hwnd, m.message, m.wParam, m.lParam, result);
}

// The map of a member object (a part of the window with its own handlers).
template <auto M>
bool RyChainMember(ry_detail::ClassOf<M>& w, const RyMessage& m, LRESULT& result) {
    return (w.*M).ProcessWindowMessage(m.hwnd, m.message, m.wParam, m.lParam, result);
}

// The control a notification comes from, null for none (menus, accelerators).
inline HWND RyNotifyingChild(const RyMessage& m) {
    switch (m.message) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(m.lParam);
    case WM_NOTIFY:
        return m.lParam ? reinterpret_cast<const NMHDR*>(m.lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
        return d && d->CtlType != ODT_MENU ? d->hwndItem : nullptr;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(m.lParam);
    default:
        return nullptr;
    }
}

// Sends a child's notification back to the child; the child's answer is the answer.
template <class T>
bool RyReflectToChild(T&, const RyMessage& m, LRESULT& result) {
    const HWND child = RyNotifyingChild(m);
    if (!child || child == m.hwnd || !::IsWindow(child)) return false;
    result = ry::Send(child, kRyReflectBase + m.message, m.wParam, m.lParam);
    return true;
}

#include "RyCrackers.h"
