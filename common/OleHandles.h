// Holders for OLE automation values and for OLE on a thread: an owned BSTR, an owned
// VARIANT, an owned storage medium, and OleInitialize paired with OleUninitialize.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <utility>

// Owns one BSTR (null is the empty string).
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : s_(text ? ::SysAllocString(text) : nullptr) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : s_(o.Detach()) {}
    Bstr& operator=(Bstr&& o) noexcept { Reset(o.Detach()); return *this; }
    ~Bstr() { Reset(); }

    BSTR Get() const { return s_; }
    UINT Length() const { return ::SysStringLen(s_); }
    // Adopts a BSTR the caller owned.
    void Reset(BSTR s = nullptr) { if (s_ && s_ != s) ::SysFreeString(s_); s_ = s; }
    BSTR Detach() { BSTR s = s_; s_ = nullptr; return s; }
    // Out-parameter of a call that returns a new BSTR: frees what is held first.
    BSTR* Put() { Reset(); return &s_; }

private:
    BSTR s_ = nullptr;
};

// Owns what one VARIANT holds (strings, interfaces, arrays) and clears it. A value is put in
// by a setter that takes it whole (type and contents at once) or by a call that fills Put().
// Cleared, the holder is empty and all zero, so that a type written by hand into Put()
// without its value never makes a later clear free a stray pointer.
class Variant {
public:
    Variant() { Empty(); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v_); }

    const VARIANT& Get() const { return v_; }
    // Out-parameter of a call that fills a VARIANT: clears what is held first.
    VARIANT* Put() { Clear(); return &v_; }
    void Clear() { ::VariantClear(&v_); Empty(); }
    // Holds a string that the holder now owns (VT_BSTR; a null BSTR is the empty string).
    void SetBstr(Bstr text) {
        Clear();
        V_VT(&v_) = VT_BSTR;
        V_BSTR(&v_) = text.Detach();
    }
    // Holds a copy of text; E_OUTOFMEMORY (and an empty holder) when it cannot be made.
    HRESULT SetString(const wchar_t* text) {
        Bstr copy(text ? text : L"");
        if (!copy.Get()) { Clear(); return E_OUTOFMEMORY; }
        SetBstr(std::move(copy));
        return S_OK;
    }
    // Hands the value to the caller's VARIANT (which must hold nothing) and holds nothing.
    void Detach(VARIANT* out) { *out = v_; Empty(); }

private:
    void Empty() {
        ::ZeroMemory(&v_, sizeof v_);
        V_VT(&v_) = VT_EMPTY;
    }
    VARIANT v_;
};

// Owns the STGMEDIUM that a data object's GetData filled: released (ReleaseStgMedium, which
// honours the medium's release object) when the holder goes.
class StorageMedium {
public:
    StorageMedium() { Clear(); }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    ~StorageMedium() { Reset(); }

    const STGMEDIUM& Get() const { return m_; }
    // Out-parameter of GetData: releases what is held first.
    STGMEDIUM* Put() { Reset(); return &m_; }
    void Reset() {
        if (m_.tymed != TYMED_NULL) ::ReleaseStgMedium(&m_);
        Clear();
    }

private:
    void Clear() {
        m_.tymed = TYMED_NULL;
        m_.hGlobal = nullptr;
        m_.pUnkForRelease = nullptr;
    }
    STGMEDIUM m_;
};

// OLE on the current thread for a scope (drag and drop and the OLE clipboard need it).
class OleInitialization {
public:
    OleInitialization() : hr_(::OleInitialize(nullptr)) {}
    ~OleInitialization() { if (SUCCEEDED(hr_)) ::OleUninitialize(); }
    OleInitialization(const OleInitialization&) = delete;
    OleInitialization& operator=(const OleInitialization&) = delete;
    HRESULT Result() const { return hr_; }
    bool Ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};
