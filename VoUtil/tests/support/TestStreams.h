// Streams and byte helpers for the library's reader tests: a stream that counts the calls
// that reach it, and damaged copies of a good file (cut short, bytes changed).
#pragma once
#include <windows.h>
#include <objidl.h>
#include <cstring>
#include <string>
#include "ComPtr.h"

// Passes every call to an inner stream and counts the reads and seeks.
class CountingStream : public IStream {
public:
    explicit CountingStream(IStream* inner) : inner_(inner) {}
    int reads = 0;
    int seeks = 0;
    int writes = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack; the count only shows that holders pair their references.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    LONG refs = 0;

    HRESULT STDMETHODCALLTYPE Read(void* b, ULONG n, ULONG* r) override { ++reads; return inner_->Read(b, n, r); }
    HRESULT STDMETHODCALLTYPE Write(const void* b, ULONG n, ULONG* w) override {
        ++writes;
        return inner_->Write(b, n, w);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER m, DWORD o, ULARGE_INTEGER* p) override {
        ++seeks;
        return inner_->Seek(m, o, p);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER s) override { return inner_->SetSize(s); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* d, ULARGE_INTEGER n, ULARGE_INTEGER* r, ULARGE_INTEGER* w) override {
        return inner_->CopyTo(d, n, r, w);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD f) override { return inner_->Commit(f); }
    HRESULT STDMETHODCALLTYPE Revert() override { return inner_->Revert(); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER a, ULARGE_INTEGER b, DWORD t) override {
        return inner_->LockRegion(a, b, t);
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER a, ULARGE_INTEGER b, DWORD t) override {
        return inner_->UnlockRegion(a, b, t);
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* s, DWORD f) override { return inner_->Stat(s, f); }
    HRESULT STDMETHODCALLTYPE Clone(IStream** c) override { return inner_->Clone(c); }

    int Calls() const { return reads + seeks + writes; }

private:
    IStream* inner_;
};

// A copy of bytes with the little-endian value v stored at offset.
template <class T>
std::string WithValueAt(std::string bytes, size_t offset, T v) {
    if (offset + sizeof v <= bytes.size()) memcpy(&bytes[offset], &v, sizeof v);
    return bytes;
}

// A small deterministic generator, so that random cases repeat from run to run.
class TestRandom {
public:
    explicit TestRandom(unsigned seed) : state_(seed ? seed : 1) {}
    unsigned Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // A value in 0..n-1.
    unsigned Below(unsigned n) { return n ? Next() % n : 0; }

private:
    unsigned state_;
};
