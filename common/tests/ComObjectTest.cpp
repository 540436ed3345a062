// The COM object template: an object that takes and drops a reference to itself while
// it is being destroyed is deleted once; the singleton factory runs FinalConstruct once and answers its
// failure.
#include <gtest/gtest.h>
#include "ClassFactory.h"
#include "ComPtr.h"
#include "ComObject.h"

namespace {

// {5b0c9a8e-3f1e-4c5e-9d6a-2b7e1f0c4a11}
const IID IID_ITestPart = {0x5b0c9a8e, 0x3f1e, 0x4c5e, {0x9d, 0x6a, 0x2b, 0x7e, 0x1f, 0x0c, 0x4a, 0x11}};
struct ITestPart : IUnknown {
    virtual int STDMETHODCALLTYPE Value() = 0;
};

int g_destroyed = 0;
int g_finalConstructs = 0;
HRESULT g_finalResult = S_OK;

class SelfReferencing : public ComObjectRoot, public ITestPart {
public:
    ~SelfReferencing() { ++g_destroyed; }
    void FinalRelease() {
        // Hands itself to a helper that takes and drops a reference, as the last release
        // of an object that revokes a registration or tells a sink may do.
        ComPtr<ITestPart> self(this);
    }
    void* QueryPart(REFIID iid) { return IsEqualIID(iid, IID_ITestPart) ? static_cast<ITestPart*>(this) : nullptr; }
    int STDMETHODCALLTYPE Value() override { return 1; }
};

class CountedSingleton : public ComObjectRoot, public ITestPart {
public:
    HRESULT FinalConstruct() {
        ++g_finalConstructs;
        return g_finalResult;
    }
    void* QueryPart(REFIID iid) {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ITestPart) ? static_cast<ITestPart*>(this) : nullptr;
    }
    int STDMETHODCALLTYPE Value() override { return g_finalConstructs; }
};
class FailingSingleton : public CountedSingleton {};

TEST(ComObject, ADestructorThatReferencesItsOwnObjectDeletesItOnce) {
    g_destroyed = 0;
    const LONG locks = ComModule::Current().LockCount();
    ITestPart* part = nullptr;
    ASSERT_EQ(S_OK, CreateComInstanceAs<SelfReferencing>(IID_ITestPart, &part));
    EXPECT_EQ(0u, part->Release());
    EXPECT_EQ(1, g_destroyed);
    EXPECT_EQ(locks, ComModule::Current().LockCount());
}

TEST(ComObject, TheSingletonFactoryConstructsItsInstanceOnce) {
    g_finalConstructs = 0;
    g_finalResult = S_OK;
    SingletonClassFactory<CountedSingleton> factory;
    ITestPart* a = nullptr;
    ITestPart* b = nullptr;
    ASSERT_EQ(S_OK, factory.CreateInstance(nullptr, IID_ITestPart, reinterpret_cast<void**>(&a)));
    ASSERT_EQ(S_OK, factory.CreateInstance(nullptr, IID_ITestPart, reinterpret_cast<void**>(&b)));
    EXPECT_EQ(a, b);
    EXPECT_EQ(1, a->Value());
    a->Release();
    b->Release();
}

TEST(ComObject, TheSingletonFactoryAnswersAFailedFinalConstruct) {
    g_finalConstructs = 0;
    g_finalResult = E_OUTOFMEMORY;
    SingletonClassFactory<FailingSingleton> factory;
    ITestPart* part = reinterpret_cast<ITestPart*>(1);
    EXPECT_EQ(E_OUTOFMEMORY, factory.CreateInstance(nullptr, IID_ITestPart, reinterpret_cast<void**>(&part)));
    EXPECT_EQ(nullptr, part);
    EXPECT_EQ(E_OUTOFMEMORY, factory.CreateInstance(nullptr, IID_ITestPart, reinterpret_cast<void**>(&part)));
    EXPECT_EQ(1, g_finalConstructs);
    g_finalResult = S_OK;
}

}  // namespace
