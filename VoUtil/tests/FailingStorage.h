// An IStorage that passes every call to a real storage and fails, when told, its commit or
// the creation of one stream: a full disk or a storage error at the moment of saving. What
// to fail lies in a record the test owns, so that the storage can go with its holder
// (closing the real file) while the test still reads the record.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <string>
#include "ComPtr.h"

struct StorageFaults {
    HRESULT failCommit = S_OK;        // answered by Commit instead of committing
    std::wstring failCreateName;      // CreateStream of this name answers failCreate
    HRESULT failCreate = STG_E_MEDIUMFULL;
    int commits = 0;
};

class FailingStorage : public IStorage {
public:
    FailingStorage(IStorage* inner, StorageFaults& faults) : inner_(inner), f_(faults) {}
    virtual ~FailingStorage() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStorage)) {
            *out = static_cast<IStorage*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (!n) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE CreateStream(LPCOLESTR name, DWORD mode, DWORD r1, DWORD r2, IStream** out) override {
        if (!f_.failCreateName.empty() && f_.failCreateName == name) return f_.failCreate;
        return inner_->CreateStream(name, mode, r1, r2, out);
    }
    HRESULT STDMETHODCALLTYPE OpenStream(LPCOLESTR name, void* r1, DWORD mode, DWORD r2, IStream** out) override {
        return inner_->OpenStream(name, r1, mode, r2, out);
    }
    HRESULT STDMETHODCALLTYPE CreateStorage(LPCOLESTR name, DWORD mode, DWORD r1, DWORD r2, IStorage** out) override {
        return inner_->CreateStorage(name, mode, r1, r2, out);
    }
    HRESULT STDMETHODCALLTYPE OpenStorage(LPCOLESTR name, IStorage* prio, DWORD mode, SNB exclude, DWORD r,
                                          IStorage** out) override {
        return inner_->OpenStorage(name, prio, mode, exclude, r, out);
    }
    HRESULT STDMETHODCALLTYPE CopyTo(DWORD n, const IID* ex, SNB snb, IStorage* dest) override {
        return inner_->CopyTo(n, ex, snb, dest);
    }
    HRESULT STDMETHODCALLTYPE MoveElementTo(LPCOLESTR name, IStorage* dest, LPCOLESTR newName, DWORD flags) override {
        return inner_->MoveElementTo(name, dest, newName, flags);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override {
        if (FAILED(f_.failCommit)) return f_.failCommit;
        ++f_.commits;
        return inner_->Commit(flags);
    }
    HRESULT STDMETHODCALLTYPE Revert() override { return inner_->Revert(); }
    HRESULT STDMETHODCALLTYPE EnumElements(DWORD r1, void* r2, DWORD r3, IEnumSTATSTG** out) override {
        return inner_->EnumElements(r1, r2, r3, out);
    }
    HRESULT STDMETHODCALLTYPE DestroyElement(LPCOLESTR name) override { return inner_->DestroyElement(name); }
    HRESULT STDMETHODCALLTYPE RenameElement(LPCOLESTR from, LPCOLESTR to) override {
        return inner_->RenameElement(from, to);
    }
    HRESULT STDMETHODCALLTYPE SetElementTimes(LPCOLESTR name, const FILETIME* c, const FILETIME* a,
                                              const FILETIME* m) override {
        return inner_->SetElementTimes(name, c, a, m);
    }
    HRESULT STDMETHODCALLTYPE SetClass(REFCLSID id) override { return inner_->SetClass(id); }
    HRESULT STDMETHODCALLTYPE SetStateBits(DWORD bits, DWORD mask) override { return inner_->SetStateBits(bits, mask); }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* st, DWORD flags) override { return inner_->Stat(st, flags); }

private:
    ComPtr<IStorage> inner_;
    StorageFaults& f_;
    volatile LONG refs_ = 1;
};

// Puts a failing storage over the commentary's own file (path) under an open commentary
// (any object with IPersistStorage); the commentary holds it, the test keeps `faults`.
// False when that fails.
inline bool InterposeFailingStorage(IUnknown* lex, const std::string& path, StorageFaults& faults) {
    ComPtr<IPersistStorage> ps;
    if (FAILED(lex->QueryInterface(IID_IPersistStorage, ps.PutVoid())) || FAILED(ps->HandsOffStorage()))
        return false;
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size())) - 1));
    ComPtr<IStorage> real;
    if (FAILED(StgOpenStorage(wide.c_str(), nullptr, STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr,
                              0, real.Put())))
        return false;
    FailingStorage* failing = new FailingStorage(real.Get(), faults);
    const HRESULT hr = ps->SaveCompleted(failing);
    failing->Release();  // the commentary holds it now
    return SUCCEEDED(hr);
}
