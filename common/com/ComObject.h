// The COM object template of the project's servers.
//
// A class T derives from ComObjectRoot and from its interfaces, and answers
//   void* QueryPart(REFIID iid);   // its interface for iid (its first one for IUnknown), or null
//   HRESULT FinalConstruct();      // optional; ComObjectRoot's answers S_OK
//   void FinalRelease();           // optional; runs when the last reference goes, with the
//                                  // object still whole (it may hand itself to helpers)
//   static constexpr bool kAggregatable = ...;   // optional; false by default
// ComObject<T> adds the reference count, the IUnknown methods and the module lock;
// ComGlobalObject<T> is a static instance that never dies and only locks the module (its
// FinalConstruct runs once, on the first request, and a failure is every request's answer);
// CreateComInstance<T> makes one object and hands out an interface.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <new>
#include <utility>
#include "ComModule.h"

class ComObjectRoot {
public:
    ComObjectRoot(const ComObjectRoot&) = delete;
    ComObjectRoot& operator=(const ComObjectRoot&) = delete;

    static constexpr bool kAggregatable = false;
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}

protected:
    ComObjectRoot() { InitializeCriticalSection(&cs_); }
    ~ComObjectRoot() { DeleteCriticalSection(&cs_); }

    // The object's critical section, held for the life of a scope.
    class ObjectLock {
    public:
        explicit ObjectLock(ComObjectRoot& o) : cs_(&o.cs_) { EnterCriticalSection(cs_); }
        ~ObjectLock() { LeaveCriticalSection(cs_); }
        ObjectLock(const ObjectLock&) = delete;
        ObjectLock& operator=(const ObjectLock&) = delete;
    private:
        CRITICAL_SECTION* cs_;
    };

    IUnknown* outer_ = nullptr;  // the aggregating object, null when not aggregated
    volatile LONG refs_ = 0;

private:
    CRITICAL_SECTION cs_;
};

template <class T>
class ComObject final : public T {
public:
    template <class... A>
    explicit ComObject(IUnknown* outer, A&&... args) : T(std::forward<A>(args)...), inner_(this) {
        this->outer_ = outer;
        ComModule::Current().Lock();
    }
    ~ComObject() {
        this->FinalRelease();
        ComModule::Current().Unlock();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return this->outer_ ? this->outer_->QueryInterface(iid, out) : InnerQueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return this->outer_ ? this->outer_->AddRef() : InnerAddRef();
    }
    ULONG STDMETHODCALLTYPE Release() override {
        return this->outer_ ? this->outer_->Release() : InnerRelease();
    }

    // The object's own IUnknown: the identity when it stands alone, the inner unknown
    // that the aggregating object holds when aggregated.
    IUnknown* Inner() { return &inner_; }

    HRESULT InnerQueryInterface(REFIID iid, void** out) {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = &inner_;
            InnerAddRef();
            return S_OK;
        }
        void* part = this->QueryPart(iid);
        *out = part;
        if (!part) return E_NOINTERFACE;
        static_cast<IUnknown*>(part)->AddRef();
        return S_OK;
    }
    ULONG InnerAddRef() { return static_cast<ULONG>(InterlockedIncrement(&this->refs_)); }
    ULONG InnerRelease() {
        LONG n = InterlockedDecrement(&this->refs_);
        if (n == 0) {
            // Far from 0 while the destructor runs: a reference it takes and drops on its own
            // object (handing itself to a helper, say) cannot delete the object again.
            this->refs_ = kDestroying;
            delete this;
        }
        return static_cast<ULONG>(n);
    }

private:
    static constexpr LONG kDestroying = -(0x7FFFFFFF / 2);

    struct InnerUnknown final : IUnknown {
        explicit InnerUnknown(ComObject* o) : owner(o) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
            return owner->InnerQueryInterface(iid, out);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return owner->InnerAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner->InnerRelease(); }
        ComObject* owner;
    };
    InnerUnknown inner_;
};

// A process-wide instance in static storage: references only hold the module.
template <class T>
class ComGlobalObject final : public T {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        void* part = this->QueryPart(iid);
        *out = part;
        if (!part) return E_NOINTERFACE;
        static_cast<IUnknown*>(part)->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        ComModule::Current().Lock();
        return static_cast<ULONG>(InterlockedIncrement(&this->refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&this->refs_);
        ComModule::Current().Unlock();
        return static_cast<ULONG>(n);
    }
};

// Makes a ComObject<T> with the given constructor arguments and answers interface iid.
// An aggregating outer unknown may ask only for IUnknown, and only of an aggregatable class.
template <class T, class... A>
HRESULT CreateComInstance(IUnknown* outer, REFIID iid, void** out, A&&... args) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && (!T::kAggregatable || !IsEqualIID(iid, IID_IUnknown))) return CLASS_E_NOAGGREGATION;
    auto* obj = new (std::nothrow) ComObject<T>(outer, std::forward<A>(args)...);
    if (!obj) return E_OUTOFMEMORY;
    obj->InnerAddRef();  // keeps the object alive through FinalConstruct
    HRESULT hr = obj->FinalConstruct();
    if (SUCCEEDED(hr)) hr = obj->InnerQueryInterface(iid, out);
    obj->InnerRelease();
    return hr;
}

template <class T, class I>
HRESULT CreateComInstanceAs(REFIID iid, I** out) {
    return CreateComInstance<T>(nullptr, iid, reinterpret_cast<void**>(out));
}
