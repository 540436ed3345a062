// The application key and the typed readers and writers, against the real registry under a
// scratch HKEY_CURRENT_USER.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "Registry.h"
#include "ScratchRegistry.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(scratch_.Ready()); }
    ScratchRegistry scratch_;
};

TEST_F(RegistryTest, OpenAppKeyAnswersTheSystemErrorAndLeavesTheHolderEmpty) {
    RegKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead));
    EXPECT_FALSE(key);

    ASSERT_EQ(ERROR_SUCCESS, CreateUserAppKey(key, "Search\\norsk", kAppKeyReadWrite));
    ASSERT_TRUE(key);
    ASSERT_TRUE(WriteRegDword(key.Get(), "Count", 3));

    // The created key lies at the application path of the (scratch) user root.
    HKEY direct = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch_.Root(), "Software\\Ordhus AS\\Versilo\\Search\\norsk", 0,
                                           KEY_READ, &direct));
    RegKey directKey(direct);
    DWORD count = 0;
    EXPECT_TRUE(ReadRegDword(direct, "Count", &count));
    EXPECT_EQ(3u, count);

    // A sub-key with or without its leading "\" names the same key; an empty one the application key.
    for (const char* sub : {"Search\\norsk", "\\Search\\norsk"}) {
        RegKey again;
        EXPECT_EQ(ERROR_SUCCESS, OpenAppKey(again, HKEY_CURRENT_USER, sub, kAppKeyRead)) << sub;
        count = 0;
        EXPECT_TRUE(ReadRegDword(again.Get(), "Count", &count)) << sub;
        EXPECT_EQ(3u, count) << sub;
    }
    RegKey app;
    EXPECT_EQ(ERROR_SUCCESS, OpenAppKey(app, HKEY_CURRENT_USER, "", kAppKeyRead));
    EXPECT_TRUE(app);

    // Reusing a holder for a key that does not open empties it.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenAppKey(app, HKEY_CURRENT_USER, "Nowhere", kAppKeyRead));
    EXPECT_FALSE(app);
}

TEST(MachineRegistryTest, VersionIsReadFromTheMachinesApplicationKey) {
    ScratchRegistry machine(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(machine.Ready());
    RegKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenAppKey(key, HKEY_LOCAL_MACHINE, nullptr, kAppKeyRead));
    machine.SetString("Version", "2.1.0");
    ASSERT_EQ(ERROR_SUCCESS, OpenAppKey(key, HKEY_LOCAL_MACHINE, nullptr, kAppKeyRead));
    char version[260] = "";
    EXPECT_TRUE(ReadRegString(key.Get(), "Version", version, sizeof(version)));
    EXPECT_STREQ("2.1.0", version);
}

TEST_F(RegistryTest, ReadOnlyKeyRefusesWrites) {
    RegKey created;
    ASSERT_EQ(ERROR_SUCCESS, CreateUserAppKey(created, nullptr, kAppKeyReadWrite));
    RegKey readOnly;
    ASSERT_EQ(ERROR_SUCCESS, OpenAppKey(readOnly, HKEY_CURRENT_USER, nullptr, kAppKeyRead));
    EXPECT_FALSE(WriteRegDword(readOnly.Get(), "ColumnWidth", 300));
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_FALSE(scratch_.GetRaw("ColumnWidth", &type, &data));
}

// What each reader makes of one stored value. Readers start from a sentinel default that
// must survive every refusal.
struct ReadCase {
    const char* what;
    DWORD type;
    std::string bytes;  // as stored; absent when type is REG_NONE and bytes is empty
    bool boolRead, dwordRead, stringRead;
    DWORD dword;        // when dwordRead (also what ReadRegInt gives, as two's complement)
    const char* text;   // when stringRead, with capacity 8
};

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), sizeof(v)); }
std::string Sz(const char* s) { return std::string(s, std::strlen(s) + 1); }

const ReadCase kReadCases[] = {
    {"missing value", REG_NONE, "", false, false, false, 0, nullptr},
    {"dword 5", REG_DWORD, Dword(5), true, true, false, 5, nullptr},
    {"dword 0", REG_DWORD, Dword(0), true, true, false, 0, nullptr},
    {"dword all bits", REG_DWORD, Dword(0xFFFFFFFF), true, true, false, 0xFFFFFFFF, nullptr},
    {"dword of two bytes", REG_DWORD, std::string("\x05\x00", 2), false, false, false, 0, nullptr},
    {"dword of six bytes", REG_DWORD, std::string("\x05\x00\x00\x00\x00\x00", 6), false, false, false, 0, nullptr},
    {"qword", REG_QWORD, std::string(8, '\x01'), false, false, false, 0, nullptr},
    {"binary of four bytes", REG_BINARY, Dword(7), false, false, false, 0, nullptr},
    {"big-endian dword", REG_DWORD_BIG_ENDIAN, Dword(7), false, false, false, 0, nullptr},
    {"number as text", REG_SZ, Sz("140"), false, false, true, 0, "140"},
    {"expandable text, not expanded", REG_EXPAND_SZ, Sz("%TMP%"), false, false, true, 0, "%TMP%"},
    {"text of 7 fits 8", REG_SZ, Sz("1234567"), false, false, true, 0, "1234567"},
    {"text of 8 does not fit 8", REG_SZ, Sz("12345678"), false, false, false, 0, nullptr},
    {"text of 8 without NUL does not fit 8", REG_SZ, "12345678", false, false, false, 0, nullptr},
    {"empty data", REG_SZ, "", false, false, false, 0, nullptr},
    {"multi-string", REG_MULTI_SZ, std::string("ab\0cd\0\0", 7), false, false, false, 0, nullptr},
};

TEST_F(RegistryTest, ReadersTakeOnlyValuesOfTheirTypeAndSize) {
    HKEY app = scratch_.AppKey();
    for (const ReadCase& c : kReadCases) {
        RegDeleteValueA(app, "V");
        if (!(c.type == REG_NONE && c.bytes.empty()))
            scratch_.SetRaw("V", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));

        bool b = true;
        EXPECT_EQ(c.boolRead, ReadRegBool(app, "V", &b)) << c.what;
        EXPECT_EQ(c.boolRead ? c.dword != 0 : true, b) << c.what;

        DWORD d = 0xABCD1234;
        EXPECT_EQ(c.dwordRead, ReadRegDword(app, "V", &d)) << c.what;
        EXPECT_EQ(c.dwordRead ? c.dword : 0xABCD1234u, d) << c.what;

        LONG i = -77;
        EXPECT_EQ(c.dwordRead, ReadRegInt(app, "V", &i)) << c.what;
        EXPECT_EQ(c.dwordRead ? static_cast<LONG>(c.dword) : -77, i) << c.what;

        char text[9] = "default";
        text[8] = 'X';  // beyond the capacity of 8: must never be written
        EXPECT_EQ(c.stringRead, ReadRegString(app, "V", text, 8)) << c.what;
        EXPECT_STREQ(c.stringRead ? c.text : "default", text) << c.what;
        EXPECT_EQ('X', text[8]) << c.what;

        // The plain reader takes the same texts, but only of REG_SZ.
        const bool plainRead = c.stringRead && c.type == REG_SZ;
        lstrcpyA(text, "default");
        EXPECT_EQ(plainRead, ReadRegPlainString(app, "V", text, 8)) << c.what;
        EXPECT_STREQ(plainRead ? c.text : "default", text) << c.what;
        EXPECT_EQ('X', text[8]) << c.what;
    }
}

// The binary reader into a buffer of four bytes, whose untouched bytes keep 0xEE.
TEST_F(RegistryTest, BinaryReaderTakesOnlyBinaryValuesThatFit) {
    struct BinaryCase {
        const char* what;
        DWORD type;
        std::string bytes;
        bool read;
    };
    const BinaryCase cases[] = {
        {"missing value", REG_NONE, "", false},
        {"four bytes", REG_BINARY, "\x01\x02\x03\x04", true},
        {"two bytes, the rest untouched", REG_BINARY, "\x01\x02", true},
        {"no bytes", REG_BINARY, "", true},
        {"five bytes: longer than the buffer", REG_BINARY, "\x01\x02\x03\x04\x05", false},
        {"a dword", REG_DWORD, Dword(7), false},
        {"a text", REG_SZ, Sz("abc"), false},
    };
    HKEY app = scratch_.AppKey();
    for (const BinaryCase& c : cases) {
        RegDeleteValueA(app, "B");
        if (c.type != REG_NONE) scratch_.SetRaw("B", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        unsigned char buffer[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        DWORD size = 99;
        EXPECT_EQ(c.read, ReadRegBinary(app, "B", buffer, 4, &size)) << c.what;
        std::string expected = c.read ? c.bytes : "";
        expected.append(5 - expected.size(), '\xEE');
        EXPECT_EQ(expected, std::string(reinterpret_cast<char*>(buffer), 5)) << c.what;
        EXPECT_EQ(c.read ? c.bytes.size() : 99u, size) << c.what;
    }
    DWORD size = 0;
    EXPECT_FALSE(ReadRegBinary(nullptr, "B", nullptr, 0, &size));
}

TEST_F(RegistryTest, AllBitsReadBackAsMinusOne) {
    scratch_.SetDword("BibRefColor", 0xFFFFFFFF);
    LONG value = 0;
    ASSERT_TRUE(ReadRegInt(scratch_.AppKey(), "BibRefColor", &value));
    EXPECT_EQ(-1, value);
}

TEST_F(RegistryTest, TextWithoutTerminatorIsReadOnlyWithRoomForOne) {
    // Stored without its NUL. With no room for a terminator the value is refused; with
    // room the system may add one, and then the text is whole.
    scratch_.SetRaw("T", REG_SZ, "abc", 3);
    char text[8] = "default";
    EXPECT_FALSE(ReadRegString(scratch_.AppKey(), "T", text, 3));
    EXPECT_STREQ("default", text);
    if (ReadRegString(scratch_.AppKey(), "T", text, 4)) {
        EXPECT_STREQ("abc", text);
    } else {
        EXPECT_STREQ("default", text);
    }
}

TEST_F(RegistryTest, ReadersOnNoKeyOrNoRoomReadNothing) {
    DWORD d = 9;
    EXPECT_FALSE(ReadRegDword(nullptr, "V", &d));
    EXPECT_EQ(9u, d);
    scratch_.SetString("S", "x");
    char text[2] = "d";
    EXPECT_FALSE(ReadRegString(scratch_.AppKey(), "S", text, 0));
    EXPECT_STREQ("d", text);
    EXPECT_TRUE(ReadRegString(scratch_.AppKey(), "S", text, 2));
    EXPECT_STREQ("x", text);
}

TEST_F(RegistryTest, WritersStoreTheDocumentedEncodings) {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, CreateUserAppKey(key, nullptr, kAppKeyReadWrite));
    EXPECT_TRUE(WriteRegBool(key.Get(), "On", true));
    EXPECT_TRUE(WriteRegBool(key.Get(), "Off", false));
    EXPECT_TRUE(WriteRegDword(key.Get(), "Width", 0x80000000u));
    EXPECT_TRUE(WriteRegInt(key.Get(), "Signed", -2));
    EXPECT_TRUE(WriteRegString(key.Get(), "Name", "Times New Roman"));
    EXPECT_TRUE(WriteRegString(key.Get(), "Empty", ""));
    EXPECT_FALSE(WriteRegString(key.Get(), "Null", nullptr));
    EXPECT_FALSE(WriteRegDword(nullptr, "Nowhere", 1));
    const unsigned char bits[] = {0x80, 0x00, 0x00, 0x01, 0x02};
    EXPECT_TRUE(WriteRegBinary(key.Get(), "Bits", bits, sizeof(bits)));
    EXPECT_TRUE(WriteRegBinary(key.Get(), "NoBits", nullptr, 0));
    EXPECT_FALSE(WriteRegBinary(key.Get(), "Null", nullptr, 4));

    struct Expected {
        const char* name;
        DWORD type;
        std::string bytes;
    };
    const Expected expected[] = {
        {"On", REG_DWORD, Dword(1)},
        {"Off", REG_DWORD, Dword(0)},
        {"Width", REG_DWORD, Dword(0x80000000u)},
        {"Signed", REG_DWORD, Dword(0xFFFFFFFEu)},
        {"Name", REG_SZ, Sz("Times New Roman")},
        {"Empty", REG_SZ, Sz("")},
        {"Bits", REG_BINARY, std::string("\x80\x00\x00\x01\x02", 5)},
        {"NoBits", REG_BINARY, ""},
    };
    for (const Expected& e : expected) {
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(scratch_.GetRaw(e.name, &type, &data)) << e.name;
        EXPECT_EQ(e.type, type) << e.name;
        EXPECT_EQ(e.bytes, std::string(data.begin(), data.end())) << e.name;
    }
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_FALSE(scratch_.GetRaw("Null", &type, &data));
}

}  // namespace
