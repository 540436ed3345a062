// The built VoUtil.dll: its exports stand under exactly the decorated standard-call names,
// and it needs no compiler runtime DLL beside it.
#include <gtest/gtest.h>
#include <algorithm>
#include "TestFiles.h"

namespace {

const char* const kExpectedExports[] = {
#include "VoUtil-exports.inc"
    nullptr};

TEST(VoUtilExports, DecoratedNamesAndNothingElse) {
    HMODULE dll = LoadLibraryA("VoUtil.dll");
    ASSERT_NE(nullptr, dll);
    std::vector<std::string> actual = ExportedNames(dll);
    std::vector<std::string> expected;
    for (const char* const* p = kExpectedExports; *p; ++p) expected.push_back(*p);
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, actual);
    for (const std::string& name : expected) {
        SCOPED_TRACE(name);
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, name.c_str())));
        // The plain and the compiler's own decorations must not be exported.
        std::string plain = name.substr(1, name.find('@') - 1);
        EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, plain.c_str())));
        EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, name.substr(1).c_str())));
    }
    FreeLibrary(dll);
}

TEST(VoUtilExports, NoCompilerRuntimeDll) {
    HMODULE dll = LoadLibraryA("VoUtil.dll");
    ASSERT_NE(nullptr, dll);
    EXPECT_FALSE(ImportsCompilerRuntime(dll));
    FreeLibrary(dll);
}

}  // namespace
