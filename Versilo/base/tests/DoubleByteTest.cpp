// Texts and paths under a double-byte ANSI code page (932 when the run sets LC_ALL to
// ja_JP): no character is split where a text is cut, and a trail byte with the value of
// "\" is not taken for a path separator. Skipped under a single-byte code page, unless the
// run says it must have a double-byte one (VERSILO_EXPECT_DBCS).
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include "DataDirectories.h"
#include "MessageText.h"
#include "TestText.h"

namespace {

class DoubleByteTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DoubleByteCodePage()) {
            if (std::getenv("VERSILO_EXPECT_DBCS")) FAIL() << "code page " << GetACP() << " is not double-byte";
            GTEST_SKIP() << "code page " << GetACP() << " is single-byte";
        }
    }
    // U+8868, two bytes in the code page; in 932 its trail byte is 0x5C ("\").
    const std::string kChar = Ansi(L"\u8868");
};

std::string Format(UINT id, const std::string& arg) {
    char buffer[kTextCapacity + 1];
    std::memset(buffer, '#', sizeof(buffer));
    FormatResString(buffer, id, arg.c_str());
    EXPECT_EQ('#', buffer[kTextCapacity]);
    return buffer;
}

TEST_F(DoubleByteTest, TemplateCharacterThatDoesNotFitWhollyIsLeftOut) {
    ASSERT_EQ(2u, kChar.size());
    // 254 bytes of argument, then a two-byte character of the template: it does not fit.
    EXPECT_EQ(std::string(254, 'a'), Format(60010, std::string(254, 'a')));
    EXPECT_EQ(std::string(253, 'a') + kChar, Format(60010, std::string(253, 'a')));
}

TEST_F(DoubleByteTest, ArgumentIsCutAtAWholeCharacter) {
    std::string arg;
    for (int i = 0; i < 127; ++i) arg += kChar;  // 254 bytes
    std::string result = Format(60011, arg);     // "ab" + arg: only 126 characters fit
    EXPECT_EQ(254u, result.size());
    EXPECT_EQ("ab" + arg.substr(0, 252), result);
}

TEST_F(DoubleByteTest, AnArgumentLongerThanTheBufferIsCutAtAWholeCharacter) {
    std::string arg;
    for (int i = 0; i < 128; ++i) arg += kChar;  // 256 bytes: byte 254 is a lead byte
    // 127 characters fit in 255 bytes; the lead byte of the 128th must not stand alone.
    EXPECT_EQ(arg.substr(0, 254), Format(60014, arg));
    EXPECT_EQ("a" + arg.substr(0, 254), Format(60014, "a" + arg));
}

TEST_F(DoubleByteTest, UpperCasingAndPercentLeaveDoubleByteCharactersWhole) {
    // A double-byte first character is handed to the upper-casing whole and comes back unchanged.
    EXPECT_EQ(kChar + kChar + "b", Format(60012, kChar + "b"));
    // "%" before a double-byte character: nothing for the "%", the character kept.
    EXPECT_EQ(kChar, Format(60013, ""));
}

TEST_F(DoubleByteTest, PathsStepUpPastCharactersWithABackslashTrailByte) {
    std::string program = "C:\\Prog\\" + kChar + "\\";
    char dir[kDirectoryCapacity];
    lstrcpyA(dir, program.c_str());
    EXPECT_TRUE(ResolveRelativePath(dir, "..\\Data"));
    EXPECT_STREQ("C:\\Prog\\Data", dir);

    // A directory that ends in such a character gets its own "\".
    char out[kDirectoryCapacity];
    std::string value = "D:\\" + kChar;
    char ini[MAX_PATH];
    GetTempPathA(MAX_PATH, ini);
    lstrcatA(ini, "vo-dbcs-test.ini");
    std::string settings = "[Directories]\r\nBibles=" + value + "\r\n";
    HANDLE f = CreateFileA(ini, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    DWORD put = 0;
    WriteFile(f, settings.data(), static_cast<DWORD>(settings.size()), &put, nullptr);
    CloseHandle(f);
    EXPECT_EQ(value + "\\", ReadDataDirectory(out, program.c_str(), ini, "Bibles"));
    DeleteFileA(ini);
}

}  // namespace
