// The data directories of "Versilo.ini", their cache, and the file tests.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "DataDirectories.h"
#include "TestFiles.h"

namespace {

// The directory a settings file with the given "Directories" lines (none: no file) gives
// for key, with the program in programDirectory.
std::string DirectoryFor(const char* programDirectory, const std::string& settings, const char* key) {
    TempDir dir;
    std::string ini = dir.File("Versilo.ini");
    if (!settings.empty()) WriteWholeFile(ini, settings);
    char out[kDirectoryCapacity];
    std::memset(out, '#', sizeof(out));
    ReadDataDirectory(out, programDirectory, ini.c_str(), key);
    return out;
}

TEST(DataDirectoryTest, ValuesResolveAgainstTheProgramDirectory) {
    const char* program = "C:\\Prog\\Versilo\\";
    struct Case {
        const char* settings;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"[Directories]\r\nBibles=..\\Data\r\n", "Bibles", "C:\\Prog\\Data\\"},
        {"[Directories]\r\nBibles=.\\Bibler\r\n", "Bibles", "C:\\Prog\\Versilo\\Bibler\\"},
        {"[Directories]\r\nBibles=D:\\Bibler\r\n", "Bibles", "D:\\Bibler\\"},
        {"[Directories]\r\nBibles=D:\\Bibler\\\r\n", "Bibles", "D:\\Bibler\\"},
        {"", "Bibles", "C:\\Prog\\Versilo\\Bibles\\"},
        {"[Directories]\r\nRefLibs=..\\..\\Felles\\Ref\r\n", "RefLibs", "C:\\Felles\\Ref\\"},
        {"[Directories]\r\nBibles=..\\Data\r\n", "Lexicons", "C:\\Prog\\Versilo\\Lexicons\\"},
        {"[Other]\r\nBibles=..\\Data\r\n", "Bibles", "C:\\Prog\\Versilo\\Bibles\\"},
        // "..\" past the first level leaves what remained, then the rest when the steps
        // ran out exactly, and "\" alone when a step was left over.
        {"[Directories]\r\nBibles=..\\..\\..\\Data\r\n", "Bibles", "Data\\"},
        {"[Directories]\r\nBibles=..\\..\\..\\..\\Data\r\n", "Bibles", "\\"},
        {"[Directories]\r\nBibles=.\r\n", "Bibles", "C:\\Prog\\Versilo\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DirectoryFor(program, c.settings, c.key)) << c.settings << " / " << c.key;
}

TEST(DataDirectoryTest, AbsurdSettingsFilesGiveBoundedDirectories) {
    const char* program = "C:\\Prog\\Versilo\\";
    // A value far longer than a path, relative and absolute: cut to a path that still ends in "\".
    for (const std::string& value : {".\\" + std::string(1000, 'a'), "D:\\" + std::string(1000, 'b')}) {
        std::string got = DirectoryFor(program, "[Directories]\r\nBibles=" + value + "\r\n", "Bibles");
        EXPECT_LE(got.size(), kDirectoryCapacity - 1u);
        EXPECT_EQ('\\', got.back());
        EXPECT_EQ(value.substr(value[0] == '.' ? 2 : 3, 10), got.substr(value[0] == '.' ? 16 : 3, 10));
    }
    // Binary garbage, a section line without its end and a key without "=": the default.
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    for (const std::string& settings : {garbage, std::string("[Directories\r\nBibles\r\n"), std::string(70000, '[')})
        EXPECT_EQ("C:\\Prog\\Versilo\\Bibles\\", DirectoryFor(program, settings, "Bibles"));
}

TEST(ResolveRelativePathTest, ReportsStepsPastTheFirstLevel) {
    char dir[kDirectoryCapacity] = "C:\\Prog\\";
    EXPECT_TRUE(ResolveRelativePath(dir, "..\\..\\x"));
    EXPECT_STREQ("x", dir);
    lstrcpyA(dir, "C:\\Prog\\");
    EXPECT_FALSE(ResolveRelativePath(dir, "..\\..\\..\\x"));
    EXPECT_STREQ("", dir);
    lstrcpyA(dir, "C:\\Prog");  // without its final "\" the last component still goes
    EXPECT_TRUE(ResolveRelativePath(dir, "..\\Data"));
    EXPECT_STREQ("C:\\Data", dir);
}

TEST(ProgramDirectoryTest, IsTheExecutablesDirectoryWithItsBackslash) {
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected = module;
    expected.erase(expected.rfind('\\') + 1);
    char dir[kDirectoryCapacity];
    EXPECT_EQ(expected, GetProgramDirectory(dir));
}

// This test program has a folder of its own, so its "Versilo.ini" is read by nobody else.
TEST(CachedDirectoryTest, ChangingTheSettingsFileLaterHasNoEffect) {
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    std::string ini = std::string(program) + "Versilo.ini";
    ASSERT_TRUE(WriteWholeFile(ini, "[Directories]\r\nBibles=.\\Bibler\r\nLexicons=D:\\Lex\r\n"));

    char bibles[kDirectoryCapacity], lexicons[kDirectoryCapacity], refLibs[kDirectoryCapacity];
    EXPECT_EQ(std::string(program) + "Bibler\\", GetBiblesDirectory(bibles));
    EXPECT_STREQ("D:\\Lex\\", GetLexiconsDirectory(lexicons));
    EXPECT_EQ(std::string(program) + "RefLibs\\", GetRefLibsDirectory(refLibs));

    ASSERT_TRUE(WriteWholeFile(ini, "[Directories]\r\nBibles=E:\\Other\r\nLexicons=E:\\Other\r\nRefLibs=E:\\Other\r\n"));
    EXPECT_EQ(std::string(program) + "Bibler\\", GetBiblesDirectory(bibles));
    EXPECT_STREQ("D:\\Lex\\", GetLexiconsDirectory(lexicons));
    EXPECT_EQ(std::string(program) + "RefLibs\\", GetRefLibsDirectory(refLibs));
    // The uncached reader sees the new file.
    char now[kDirectoryCapacity];
    EXPECT_STREQ("E:\\Other\\", GetDataDirectory(now, "Bibles"));
    DeleteFileA(ini.c_str());
}

TEST(FileTestsTest, TellDirectoriesFromFiles) {
    TempDir dir;
    std::string file = dir.File("kv61.vos");
    ASSERT_TRUE(WriteWholeFile(file, "x"));
    std::string sub = dir.File("Bibles");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    struct Case {
        std::string path;
        bool directory, file;
    };
    const Case cases[] = {
        {dir.Path(), true, false},
        {dir.Path() + "\\", true, false},
        {sub, true, false},
        {sub + "\\", true, false},
        {file, false, true},
        {dir.File("missing.vrsb"), false, false},
        {dir.File("*.vos"), false, false},
        {dir.File("kv61.vo?"), false, false},
        {"", false, false},
        {"C:\\", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.directory, IsDirectory(c.path.c_str())) << c.path;
        EXPECT_EQ(c.file, IsExistingFile(c.path.c_str())) << c.path;
    }
    EXPECT_FALSE(IsDirectory(nullptr));
    EXPECT_FALSE(IsExistingFile(nullptr));
    std::string tooLong(400, 'a');
    EXPECT_FALSE(IsExistingFile(tooLong.c_str()));
}

}  // namespace
