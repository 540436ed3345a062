// ComPtr: owns one reference to a COM-style interface pointer and releases it.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on p.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& o) { ComPtr(o).Swap(*this); return *this; }
    ComPtr& operator=(ComPtr&& o) noexcept { ComPtr(std::move(o)).Swap(*this); return *this; }

    // Adopts a pointer that already carries the reference this holder owns.
    static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }
    T* Detach() { T* p = p_; p_ = nullptr; return p; }

    void Reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }
    void Swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Out-parameter for a creating call: releases what is held first.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Copies the pointer out with one added reference, for an out-parameter of the caller.
    void CopyTo(T** out) const { *out = p_; if (p_) p_->AddRef(); }

    template <class U>
    HRESULT As(REFIID iid, ComPtr<U>* out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(iid, out->PutVoid());
    }

private:
    T* p_ = nullptr;
};
