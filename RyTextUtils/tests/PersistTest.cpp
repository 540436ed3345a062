// The persistence bases of the word list and the text table: class identifiers, the
// answers that need no data, and the file loader's checks before it touches a file.
#include <gtest/gtest.h>
#include "RyServer.h"
#include "TestFiles.h"

namespace {

class PersistTest : public ::testing::TestWithParam<const CLSID*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Loaded());
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, server.GetClassObject(*GetParam(), IID_IClassFactory, factory.PutVoid()));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPersistStream, stream.PutVoid()));
        ASSERT_EQ(S_OK, stream->QueryInterface(IID_IPersistFile, file.PutVoid()));
    }
    ComScope com;
    RyServer server;
    ComPtr<IPersistStream> stream;
    ComPtr<IPersistFile> file;
};

TEST_P(PersistTest, AnswersItsClassAndNeverSaves) {
    CLSID id = {};
    EXPECT_EQ(S_OK, stream->GetClassID(&id));
    EXPECT_TRUE(IsEqualCLSID(*GetParam(), id));
    id = CLSID();
    EXPECT_EQ(S_OK, file->GetClassID(&id));
    EXPECT_TRUE(IsEqualCLSID(*GetParam(), id));
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, stream->QueryInterface(IID_IPersist, persist.PutVoid()));
    EXPECT_EQ(S_OK, persist->GetClassID(&id));
    EXPECT_EQ(E_POINTER, stream->GetClassID(nullptr));
    EXPECT_EQ(E_POINTER, file->GetClassID(nullptr));

    EXPECT_EQ(S_FALSE, stream->IsDirty());
    EXPECT_EQ(S_FALSE, file->IsDirty());
    ComPtr<IStream> mem = MemoryStream();
    EXPECT_EQ(E_NOTIMPL, stream->Save(mem.Get(), TRUE));
    ULARGE_INTEGER size;
    EXPECT_EQ(E_NOTIMPL, stream->GetSizeMax(&size));
    EXPECT_EQ(E_NOTIMPL, file->Save(L"x", TRUE));
    EXPECT_EQ(E_NOTIMPL, file->SaveCompleted(L"x"));
    EXPECT_EQ(E_POINTER, stream->Load(nullptr));
}

TEST_P(PersistTest, FileLoadChecksItsArgumentsFirst) {
    TempDir dir;
    const std::string path = dir.File("locked.bin");
    // A file that is open for writing without shared reading: a load that touched it would
    // fail to open it, so E_FAIL without a remembered name shows it was not touched.
    ASSERT_TRUE(WriteWholeFile(path, "xyz"));
    std::wstring wide(path.begin(), path.end());
    LPOLESTR cur = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(E_FAIL, file->Load(wide.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE));
    EXPECT_EQ(E_FAIL, file->Load(wide.c_str(), 1));
    EXPECT_EQ(E_FAIL, file->GetCurFile(&cur));
    EXPECT_EQ(nullptr, cur);
    EXPECT_EQ(E_FAIL, file->Load(nullptr, 0));
    EXPECT_EQ(E_FAIL, file->Load(L"", 0));
    EXPECT_EQ("xyz", ReadWholeFile(path));
    EXPECT_EQ(E_POINTER, file->GetCurFile(nullptr));

    // A missing file fails to open; its name is remembered.
    std::wstring missing = wide + L".missing";
    EXPECT_EQ(E_FAIL, file->Load(missing.c_str(), 0));
    ASSERT_EQ(S_OK, file->GetCurFile(&cur));
    EXPECT_STREQ(missing.c_str(), cur);
    CoTaskMemFree(cur);
}

INSTANTIATE_TEST_SUITE_P(Classes, PersistTest, ::testing::Values(&CLSID_RyDictionary, &CLSID_RyTextTab));

}  // namespace
