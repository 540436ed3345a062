// Reference counting, interface parts and aggregation of the library's object base.
#include <gtest/gtest.h>
#include <ocidl.h>
#include "Unknown.h"
#include "ComPtr.h"

namespace {

// A class with two interface parts, and a constructor that can be told to fail.
class CTwoParts : public CUnknown, public IPersist, public IOleWindow {
public:
    CTwoParts(IUnknown* outer, HRESULT* result, HRESULT failWith = S_OK) : CUnknown(outer, result) {
        if (FAILED(*result)) return;
        if (failWith != S_OK) *result = failWith;
    }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IPersist)) return GetInterface(static_cast<IPersist*>(this), out);
        if (IsEqualIID(iid, IID_IOleWindow)) return GetInterface(static_cast<IOleWindow*>(this), out);
        return CUnknown::NonDelegatingQueryInterface(iid, out);
    }
    VO_DELEGATING_UNKNOWN
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override { *id = CLSID_NULL; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override { *w = nullptr; return S_OK; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
};

// An outer object that aggregates a CTwoParts and exposes its IPersist as its own.
class COuter : public IUnknown {
public:
    COuter() {
        HRESULT hr = S_OK;
        inner_ = new CTwoParts(this, &hr);
        inner_->NonDelegatingAddRef();
    }
    virtual ~COuter() { inner_->NonDelegatingRelease(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown)) { *out = this; AddRef(); return S_OK; }
        if (IsEqualIID(iid, IID_IPersist)) return inner_->NonDelegatingQueryInterface(iid, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = --refs_;
        if (!n) delete this;
        return n;
    }
    ULONG refs() const { return refs_; }

private:
    CTwoParts* inner_ = nullptr;
    ULONG refs_ = 1;
};

TEST(ObjectBase, ReferencesThroughEveryPartCountOnOneObject) {
    LONG before = CUnknown::LiveObjects();
    IPersist* persist = nullptr;
    ASSERT_EQ(S_OK, CreateObjectAs<CTwoParts>(IID_IPersist, &persist));
    EXPECT_EQ(before + 1, CUnknown::LiveObjects());

    IOleWindow* window = nullptr;
    ASSERT_EQ(S_OK, persist->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)));
    EXPECT_EQ(3u, window->AddRef());
    EXPECT_EQ(2u, persist->Release());
    EXPECT_EQ(1u, persist->Release());
    EXPECT_EQ(before + 1, CUnknown::LiveObjects());
    // The last reference goes through the other part; the object is freed once.
    EXPECT_EQ(0u, window->Release());
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

TEST(ObjectBase, IUnknownIsTheSameFromEveryPart) {
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, CreateObjectAs<CTwoParts>(IID_IPersist, persist.Put()));
    ComPtr<IOleWindow> window;
    ASSERT_EQ(S_OK, persist.As(IID_IOleWindow, &window));
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(S_OK, persist.As(IID_IUnknown, &a));
    ASSERT_EQ(S_OK, window.As(IID_IUnknown, &b));
    EXPECT_EQ(a.Get(), b.Get());
}

TEST(ObjectBase, UnknownInterfaceClearsOutAndAnswersNoInterface) {
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, CreateObjectAs<CTwoParts>(IID_IPersist, persist.Put()));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, persist->QueryInterface(IID_IStream, &out));
    EXPECT_EQ(nullptr, out);
}

TEST(ObjectBase, ExportPatternPassesConstructorFailureThrough) {
    LONG before = CUnknown::LiveObjects();
    IPersist* persist = reinterpret_cast<IPersist*>(1);
    EXPECT_EQ(E_UNEXPECTED, CreateObjectAs<CTwoParts>(IID_IPersist, &persist, E_UNEXPECTED));
    EXPECT_EQ(nullptr, persist);
    EXPECT_EQ(before, CUnknown::LiveObjects());

    EXPECT_EQ(E_POINTER, CreateObject<CTwoParts>(IID_IPersist, nullptr));
}

TEST(ObjectBase, ExportPatternRefusesAnInterfaceTheClassLacks) {
    LONG before = CUnknown::LiveObjects();
    IStream* s = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(E_NOINTERFACE, CreateObjectAs<CTwoParts>(IID_IStream, &s));
    EXPECT_EQ(nullptr, s);
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

TEST(ObjectBase, AggregatedPartsDelegateToTheOuterObject) {
    LONG before = CUnknown::LiveObjects();
    COuter* outer = new COuter;
    EXPECT_EQ(before + 1, CUnknown::LiveObjects());

    IPersist* persist = nullptr;
    ASSERT_EQ(S_OK, outer->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)));
    EXPECT_EQ(2u, outer->refs());  // the inner part's reference went to the outer object

    // IUnknown through the inner part is the outer object.
    IUnknown* unk = nullptr;
    ASSERT_EQ(S_OK, persist->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)));
    EXPECT_EQ(static_cast<IUnknown*>(outer), unk);
    unk->Release();

    // The outer object decides what the aggregate answers: IOleWindow stays hidden.
    void* w = nullptr;
    EXPECT_EQ(E_NOINTERFACE, persist->QueryInterface(IID_IOleWindow, &w));

    persist->Release();
    EXPECT_EQ(1u, outer->refs());
    outer->Release();
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

DWORD WINAPI AddAndRelease(LPVOID arg) {
    auto q = static_cast<IPersist*>(arg);
    for (int i = 0; i < 20000; ++i) {
        q->AddRef();
        q->Release();
    }
    return 0;
}

TEST(ObjectBase, ReferenceCountsAreInterlocked) {
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, CreateObjectAs<CTwoParts>(IID_IPersist, persist.Put()));
    IPersist* p = persist.Get();
    HANDLE threads[4];
    for (HANDLE& t : threads) t = CreateThread(nullptr, 0, AddAndRelease, p, 0, nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE t : threads) CloseHandle(t);
    EXPECT_EQ(2u, p->AddRef());
    EXPECT_EQ(1u, p->Release());
}

}  // namespace
