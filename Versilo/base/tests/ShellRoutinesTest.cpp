// The shell's small routines: directory scans, numbers (with their overflow), paths,
// trimming, reading a number field, the field messages as their message boxes show them,
// and the menu font.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "FieldMessages.h"
#include "ModalScript.h"
#include "ScreenMetrics.h"
#include "ShellRoutines.h"
#include "TestFiles.h"

TEST(ParseUnsignedTest, DigitsOnlyAndWithin32Bits) {
    const struct {
        const char* text;
        NumberParse kind;
        UINT value;
    } cases[] = {
        {"", NumberParse::kNumber, 0},
        {"0", NumberParse::kNumber, 0},
        {"42", NumberParse::kNumber, 42},
        {"007", NumberParse::kNumber, 7},
        {"4294967295", NumberParse::kNumber, 0xFFFFFFFFu},
        {"4294967296", NumberParse::kTooLarge, 0},
        {"4294967301", NumberParse::kTooLarge, 0},  // would wrap to 5
        {"99999999999999", NumberParse::kTooLarge, 0},
        {"12a", NumberParse::kNotANumber, 0},
        {"-1", NumberParse::kNotANumber, 0},
        {" 1", NumberParse::kNotANumber, 0},
        {"1 ", NumberParse::kNotANumber, 0},
        {"\xB2", NumberParse::kNotANumber, 0},  // superscript two is no digit
        {"99999999999x", NumberParse::kNotANumber, 0},
    };
    for (const auto& c : cases) {
        UINT value = 12345;
        EXPECT_EQ(c.kind, ParseUnsignedNumber(c.text, &value)) << c.text;
        EXPECT_EQ(c.kind == NumberParse::kNumber ? c.value : 12345u, value) << c.text;
        UINT plain = 12345;
        EXPECT_EQ(c.kind == NumberParse::kNumber, ParseUnsigned(c.text, &plain)) << c.text;
    }
}

TEST(PathRoutinesTest, ExtensionsAndFileNames) {
    const struct {
        const char* path;
        const char* extension;
        const char* fileName;
    } cases[] = {
        {"C:\\Bibler\\KJV.vrsb", ".vrsb", "KJV.vrsb"},
        {"C:\\Bibler\\KJV.", "", "KJV."},
        {"C:\\Bi.bler\\KJV", "", "KJV"},
        {"KJV.old.vrsb", ".vrsb", "KJV.old.vrsb"},
        {"D:.brf", ".brf", "D:.brf"},
        {"Bibel \xE6\xF8\xE5.vrsb", ".vrsb", "Bibel \xE6\xF8\xE5.vrsb"},
        {"", "", ""},
        {"mappe\\", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.extension, FindExtension(c.path)) << c.path;
        EXPECT_STREQ(c.fileName, GetFileNamePart(c.path)) << c.path;
    }
    char path[12] = "KJV";
    EXPECT_STREQ("KJV.vrsb", AppendExtension(path, sizeof(path), "vrsb"));
    lstrcpyA(path, "KJV");
    EXPECT_STREQ("KJV.inf", AppendExtension(path, sizeof(path), ".inf"));
    EXPECT_STREQ("KJV.inf", AppendExtension(path, sizeof(path), "long"));  // 12 bytes would not hold it
    EXPECT_STREQ("KJV.inf.abc", AppendExtension(path, sizeof(path), "abc"));
}

TEST(TrimBlanksTest, CutsWhiteSpaceAndKeepsLettersOfTheUpperHalf) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  KJV \t\r\n", "KJV"},
        {"\xE6\xF8\xE5", "\xE6\xF8\xE5"},
        {" \xC6 \xD8 \xC5 ", "\xC6 \xD8 \xC5"},
        {"\xA0x\xA0", "\xA0x\xA0"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_STREQ(c.out, TrimBlanks(&text[0])) << c.in;
    }
}

TEST(FormatMenuNumberTest, MnemonicsBelowNine) {
    char buffer[8];
    EXPECT_STREQ("&1: ", FormatMenuNumber(buffer, 1, false));
    EXPECT_STREQ("&8: ", FormatMenuNumber(buffer, 8, true));
    EXPECT_STREQ("9: ", FormatMenuNumber(buffer, 9, false));
    EXPECT_STREQ("10: ", FormatMenuNumber(buffer, 9, true));
    EXPECT_STREQ("12: ", FormatMenuNumber(buffer, 12, true));
}

TEST(ScanDirectoryTest, ListsMatchingFilesWithinCapacityAndNameLength) {
    TempDir dir;
    const std::string name31 = std::string(26, 'n') + ".vrsb";  // 31 characters
    const std::string name32 = std::string(27, 'n') + ".vrsb";  // 32: never listed
    for (const std::string& name : {std::string("KJV.vrsb"), std::string("Bibel \xE6\xF8\xE5.vrsb"), name31, name32,
                                    std::string("notes.txt"), std::string("KJV.inf")})
        ASSERT_TRUE(WriteWholeFile(dir.File(name), "x")) << name;
    CreateDirectoryA(dir.File("folder.vrsb").c_str(), nullptr);

    char names[8][kListedNameSize];
    for (const std::string& directory : {dir.Path(), dir.Path() + "\\"}) {
        int count = ScanDirectory(directory.c_str(), "vrsb", names, 8);
        std::set<std::string> got;
        for (int i = 0; i < count; ++i) got.insert(names[i]);
        EXPECT_EQ((std::set<std::string>{"KJV.vrsb", "Bibel \xE6\xF8\xE5.vrsb", name31}), got);
    }
    EXPECT_EQ(2, ScanDirectory(dir.Path().c_str(), "vrsb", names, 2));
    EXPECT_EQ(0, ScanDirectory(dir.File("missing").c_str(), "vrsb", names, 8));
    EXPECT_EQ(0, ScanDirectory(dir.Path().c_str(), "brf", names, 8));
}

TEST(NumberFieldTest, ReadsAnEditControlSilently) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    const struct {
        const char* text;
        bool plain, inRange;
        UINT value;
    } cases[] = {
        {"50", true, true, 50},
        {"1", true, true, 1},
        {"100", true, true, 100},
        {"0", true, false, 0},
        {"101", true, false, 0},
        {"4294967301", false, false, 0},  // too large: never 5
        {"12x", false, false, 0},
        {"1234567890123456", false, false, 0},  // longer than a number field is read
    };
    for (const auto& c : cases) {
        SetWindowTextA(edit, c.text);
        UINT value = 777;
        EXPECT_EQ(c.plain, GetFieldUnsigned(edit, 0, &value)) << c.text;
        value = 777;
        EXPECT_EQ(c.inRange, GetFieldUnsignedInRange(edit, 0, 1, 100, &value)) << c.text;
        EXPECT_EQ(c.inRange ? c.value : 777u, value) << c.text;
    }
    DestroyWindow(edit);
}

// The message a field names, as the message box shows it: string 501 closes the text with a
// full stop only when the text has none of its own.
TEST(FieldMessageTest, OneFullStopAfterTheFieldsText) {
    constexpr UINT kMarginField = 503;  // "Marger"
    const struct {
        UINT field;
        const char* text;
        const char* shown;
    } cases[] = {
        {kMarginField, "Heltall forventet.", "Feil i feltet Marger\nHeltall forventet."},
        {kMarginField, "Verdien er for stor", "Feil i feltet Marger\nVerdien er for stor."},
        {kMarginField, "", "Feil i feltet Marger\n."},
        {kMarginField, "Se side 3. Og 4", "Feil i feltet Marger\nSe side 3. Og 4."},
        {0, "Heltall forventet.", "Heltall forventet."},
        {0, "Uten punktum", "Uten punktum"},
    };
    for (const auto& c : cases) {
        MessageBoxCatcher catcher;
        EXPECT_EQ(IDOK, ShowFieldMessage(nullptr, c.field, c.text, MB_OK));
        EXPECT_EQ(std::vector<std::string>{c.shown}, catcher.Texts()) << c.text;
    }

    // The number fields' own messages, each ending in a full stop of its own.
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    const struct {
        const char* typed;
        const char* shown;
    } fields[] = {
        {"1x", "Feil i feltet Marger\nHeltall forventet."},
        {"21", "Feil i feltet Marger\nKun tall mellom 2 og 20 er lovlige."},
    };
    for (const auto& f : fields) {
        SetWindowTextA(edit, f.typed);
        MessageBoxCatcher catcher;
        UINT value = 0;
        EXPECT_FALSE(GetFieldUnsignedInRange(edit, kMarginField, 2, 20, &value));
        EXPECT_EQ(std::vector<std::string>{f.shown}, catcher.Texts()) << f.typed;
    }
    DestroyWindow(edit);
}

// The menu font: DEFAULT_GUI_FONT's height times 5 / 4 in integers, cut toward zero.
TEST(MenuFontTest, HeightIsTheIntegerRuleOfTheGuiFont) {
    const struct {
        LONG gui, menu;
    } heights[] = {
        {-11, -13},  // rounding would give -14
        {-12, -15}, {-13, -16}, {-8, -10}, {-3, -3}, {-1, -1}, {0, 0}, {11, 13}, {13, 16}, {-16, -20},
    };
    for (const auto& h : heights) EXPECT_EQ(h.menu, MenuFontHeight(h.gui)) << h.gui;

    LOGFONTA gui = {}, menu = {};
    ASSERT_TRUE(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui));
    FontHandle font = CreateMenuFont();
    ASSERT_TRUE(font);
    ASSERT_TRUE(GetObjectA(font.Get(), sizeof menu, &menu));
    EXPECT_EQ(gui.lfHeight * 5 / 4, menu.lfHeight) << gui.lfHeight;
    EXPECT_STREQ(gui.lfFaceName, menu.lfFaceName);
}
