#include "Unknown.h"

namespace {
// Library-wide count of live objects, changed only by interlocked operations.
volatile LONG g_liveObjects = 0;
}

CUnknown::CUnknown(IUnknown* outer, HRESULT* result)
    : outer_(outer ? outer
                   : reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this))),
      refs_(0) {
    if (result) *result = S_OK;
    InterlockedIncrement(&g_liveObjects);
}

CUnknown::~CUnknown() { InterlockedDecrement(&g_liveObjects); }

LONG CUnknown::LiveObjects() { return g_liveObjects; }

HRESULT STDMETHODCALLTYPE CUnknown::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *out = static_cast<INonDelegatingUnknown*>(this);
        NonDelegatingAddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingAddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingRelease() {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(n);
}
