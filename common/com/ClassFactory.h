// Class factories for ComObject classes: ClassFactory<T> makes a new object per request,
// SingletonClassFactory<T> hands out one process-wide instance. A factory lives in static
// storage; every reference to it, and every LockServer(TRUE), holds the module.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include "ComObject.h"

class ClassFactoryBase : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        ComModule::Current().Lock();
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        ComModule::Current().Unlock();
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) ComModule::Current().Lock();
        else ComModule::Current().Unlock();
        return S_OK;
    }

private:
    volatile LONG refs_ = 0;
};

template <class T>
class ClassFactory final : public ClassFactoryBase {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return CreateComInstance<T>(outer, iid, out);
    }
};

template <class T>
class SingletonClassFactory final : public ClassFactoryBase {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        // Made and finally constructed once, by the first request (thread-safe static).
        static struct Instance {
            ComGlobalObject<T> object;
            HRESULT constructed;
            Instance() : constructed(object.FinalConstruct()) {}
        } instance;
        if (FAILED(instance.constructed)) return instance.constructed;
        return instance.object.QueryInterface(iid, out);
    }
};

// One entry of a server's class table, for DllGetClassObject.
struct ClassEntry {
    const CLSID* clsid;
    IClassFactory* factory;
};

// DllGetClassObject over a table of classes.
inline HRESULT GetClassObjectFromTable(const ClassEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                       void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (size_t i = 0; i < count; ++i)
        if (IsEqualCLSID(*table[i].clsid, clsid)) return table[i].factory->QueryInterface(iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}
