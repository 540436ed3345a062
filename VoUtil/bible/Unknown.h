// CUnknown: the reference-counted, aggregatable base of every object of the library,
// and CreateObject, the pattern by which the exports hand an object out.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <new>
#include <utility>

// The object's own IUnknown, apart from the controlling unknown its interface parts use.
// The first three slots match IUnknown, so a pointer to it serves as an inner IUnknown.
struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
    virtual ~INonDelegatingUnknown() = default;
};

class CUnknown : public INonDelegatingUnknown {
public:
    // Sets *result to S_OK (when given); a derived constructor leaves its own failure there.
    CUnknown(IUnknown* outer, HRESULT* result);
    ~CUnknown() override;
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

    // The controlling unknown: the aggregating object, or this object itself.
    IUnknown* Outer() const { return outer_; }

    // Number of library objects alive now.
    static LONG LiveObjects();

protected:
    // Hands out an interface part with one reference taken through the controlling unknown.
    static HRESULT GetInterface(IUnknown* part, void** out) {
        *out = part;
        part->AddRef();
        return S_OK;
    }

private:
    IUnknown* outer_;
    volatile LONG refs_;
};

// The IUnknown methods of a class's interface parts: all delegate to the controlling unknown.
#define VO_DELEGATING_UNKNOWN                                                           \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {         \
        return Outer()->QueryInterface(iid, out);                                       \
    }                                                                                   \
    ULONG STDMETHODCALLTYPE AddRef() override { return Outer()->AddRef(); }             \
    ULONG STDMETHODCALLTYPE Release() override { return Outer()->Release(); }

// The export pattern: *out is cleared, the object built with no outer unknown; a failed
// construction destroys it and answers its failure; else the requested interface is handed
// out with one reference and the constructor's result is answered.
template <class T, class... Args>
HRESULT CreateObject(REFIID iid, void** out, Args&&... args) {
    if (!out) return E_POINTER;
    *out = nullptr;
    HRESULT hr = S_OK;
    T* obj = new (std::nothrow) T(nullptr, &hr, std::forward<Args>(args)...);
    if (!obj) return E_OUTOFMEMORY;
    if (FAILED(hr)) {
        delete obj;
        return hr;
    }
    HRESULT qhr = obj->NonDelegatingQueryInterface(iid, out);
    if (FAILED(qhr)) {
        delete obj;
        return qhr;
    }
    return hr;
}

// Typed form of CreateObject for an interface with a known identifier.
template <class T, class I, class... Args>
HRESULT CreateObjectAs(REFIID iid, I** out, Args&&... args) {
    return CreateObject<T>(iid, reinterpret_cast<void**>(out), std::forward<Args>(args)...);
}
