// The conversion exports of a real VoUtil.dll read their tables from the folder "Bibles"
// beside the DLL's own file: a copy of the DLL in a scratch folder with its own "Bibles".
#include <gtest/gtest.h>
#include "SampleVersifications.h"
#include "ProtestantCanon.h"
#include "VoUtil.h"
#include "TestFiles.h"
#include "Handles.h"

namespace {

using CanConvertFn = HRESULT(__stdcall*)(IBibleStat*, IBibleStat*);
using ConvertRefFn = HRESULT(__stdcall*)(IUnknown*, IUnknown*, int, int*);
using ConvertIndexFn = HRESULT(__stdcall*)(IBibleStat*, IBibleStat*, int*, int*, int*, int*);

TEST(ConversionDll, ReadsTheBiblesFolderBesideItself) {
    // Where the build's VoUtil.dll is; the copy is loaded by its full path.
    std::string original;
    {
        ModuleHandle dll(LoadLibraryA("VoUtil.dll"));
        ASSERT_TRUE(dll);
        char path[MAX_PATH];
        ASSERT_NE(0u, GetModuleFileNameA(dll.Get(), path, MAX_PATH));
        original = path;
    }
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryA(dir.File("Bibles").c_str(), nullptr));
    ASSERT_EQ(S_OK, WriteSampleBiblesFolder(dir.File("Bibles")));
    ASSERT_TRUE(CopyFileA(original.c_str(), dir.File("VoUtil.dll").c_str(), FALSE));
    ModuleHandle copy(LoadLibraryA(dir.File("VoUtil.dll").c_str()));
    ASSERT_TRUE(copy);
    auto canConvert = GetProc<CanConvertFn>(copy.Get(), "_CanConvert@8");
    auto convertRef = GetProc<ConvertRefFn>(copy.Get(), "_ConvertRef@16");
    auto convertIndex = GetProc<ConvertIndexFn>(copy.Get(), "_ConvertBibleIndex@24");
    ASSERT_TRUE(canConvert && convertRef && convertIndex);

    ComPtr<IBibleStat> common, variant, folded;
    ASSERT_EQ(S_OK, BuildProtestantStat(common.Put()));
    ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
    ASSERT_EQ(S_OK, BuildFoldedMalachiStat(folded.Put()));
    EXPECT_EQ(S_OK, canConvert(common.Get(), variant.Get()));
    EXPECT_EQ(S_OK, canConvert(variant.Get(), folded.Get())) << "through kv61.vos";
    int b = kMalachiBook, c = 3, v = 0, e = 0;
    EXPECT_EQ(S_OK, convertIndex(common.Get(), variant.Get(), &b, &c, &v, &e));
    EXPECT_EQ(2, c);
    EXPECT_EQ(18, v);

    ComPtr<IBibleHandles> ch, vh;
    ASSERT_EQ(S_OK, common.As(IID_IBibleHandles, &ch));
    ASSERT_EQ(S_OK, variant.As(IID_IBibleHandles, &vh));
    int from = 0, expected = 0, out = 0;
    ch->MakeRef(&from, kJoelBook, 1, 27);
    vh->MakeRef(&expected, kJoelBook, 2, 0);
    EXPECT_EQ(S_OK, convertRef(common.Get(), variant.Get(), from, &out));
    EXPECT_EQ(expected, out);
}

}  // namespace
