// ComModule: the module object of an in-process COM server (or of a program that serves
// COM objects of its own): the module handle, the count of live objects and server locks
// behind DllCanUnloadNow, and the type information of the module's embedded type library.
#pragma once
#include <windows.h>
#include <oaidl.h>

class ComModule {
public:
    // Called once on process attach with the module and the identifier of the type
    // library embedded in it as resource TYPELIB 1 (null when it has none).
    void Init(HINSTANCE instance, const GUID* libid);
    // Called on process detach. The cached type information is released only when the
    // module is unloaded by FreeLibrary; at process exit the system may have unloaded
    // oleaut32 already, so it is left alone.
    void Term(bool processExiting);

    static ComModule& Current();

    HINSTANCE Instance() const { return instance_; }
    // Full path of the module file.
    const wchar_t* Path() const { return path_; }

    // Every live object and every server lock holds the module.
    LONG Lock() { return InterlockedIncrement(&locks_); }
    LONG Unlock() { return InterlockedDecrement(&locks_); }
    LONG LockCount() const { return locks_; }

    // Type information of one interface from the embedded type library, with one
    // reference for the caller. Loaded on first use and kept for the module's life.
    HRESULT GetTypeInfo(REFIID iid, ITypeInfo** out);

    // Registers or unregisters the embedded type library.
    HRESULT RegisterTypeLib();
    HRESULT UnregisterTypeLib();

private:
    HRESULT LoadTypeLibLocked();

    HINSTANCE instance_ = nullptr;
    const GUID* libid_ = nullptr;
    wchar_t path_[MAX_PATH] = {};
    volatile LONG locks_ = 0;

    CRITICAL_SECTION cs_;
    bool csReady_ = false;
    ITypeLib* typeLib_ = nullptr;
    static constexpr int kMaxTypeInfos = 8;
    struct CachedInfo { IID iid; ITypeInfo* info; };
    CachedInfo infos_[kMaxTypeInfos] = {};
    int infoCount_ = 0;
};
