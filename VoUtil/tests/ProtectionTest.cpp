// Protection of user commentaries: the check code and scrambler against vectors worked out
// from their definition, the settings record of other copies of the program, passwords and
// protection levels through save and reopen, and unreadable settings.
#include <gtest/gtest.h>
#include "Scramble.h"
#include "UserLexFormat.h"
#include "UserLexTestSupport.h"

using namespace lextest;

namespace {

// Worked out step by step from the definition, outside this code. "a" by hand:
// x = 13 × (97 + 3) = 1300; a = 123 ^ 102 = 29; y = 97 × 12345 + 1329 + 134663 = 1333457;
// 1333457 mod 36 = 17 "H", / 1679616 = 0 "0", mod 46656 / 1296 = 20 "K",
// mod 1296 / 36 = 32 "W", mod 1679616 / 46656 = 28 "S".
TEST(CheckCode, FixedVectors) {
    const struct { const char* text; const char* code; } cases[] = {
        {"", "EMPTY"},
        {"a", "H0KWS"},
        {"hemmelig", "1Z02M"},
        {"Abraham", "J2NR3"},
        {"\xE6\xF8\xE5", "3K531"},            // bytes above 0x7F count as negative
        {"\x80\xFF", "ZAZUD"},
        {"0123456789abcdefghij", "3LQJN"},  // shifts wrap after 16 bytes
    };
    for (const auto& c : cases) {
        char code[6];
        TextCheckCode(c.text, code);
        EXPECT_STREQ(c.code, code) << c.text;
    }
}

TEST(ScrambledRecord, FixedVectors) {
    // 'x' from state 'x' stays; the state then moves on with the plain byte.
    char text[] = "xyz";
    ScrambleText(text, 'x');
    EXPECT_STREQ("\x78\x42\x28", text);
    const struct { const char* text; BYTE seed; const char* record; } cases[] = {
        {"hemmelig", 0x41, "\x41\x41\x01\xE8\xDF\x9D\xE2\x29\x17\x95\x59\x6B\xB9\x73\x5E"},
        {"", 0x07, "\x41\x07\x42\x30\x68\x45\x85"},
        {"W|", 0x99, "\x41\x99\xA4\xED\x2D\x6A\x36\xCE\x5F"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(c.record), MakeScrambledRecord(c.text, c.seed)) << c.text;
        char back[40];
        EXPECT_EQ(static_cast<int>(strlen(c.text) + 1), ReadScrambledRecord(c.record, back, sizeof back));
        EXPECT_STREQ(c.text, back);
    }
}

using Protection = LexFileTest;

// Settings as another copy of the program writes them: "WE|" and the record of the
// password "hemmelig", made with seeds 0x99 and 0x41.
TEST_F(Protection, SettingsOfAnotherCopyReadBack) {
    MakeSmallCommentary();
    const char record[] = "\x41\x99\x2A\xEF\x70\x03\xEF\xCE\x66\x22\x2F\xF5\xE7\xD0\x76\xB1\x1C\xF0\xE0\x43\x12\xD8\xB1\x8A\x1C";
    RewriteStream(path_, kSettingsStream, std::string("\0\x1A", 2) + std::string(record, sizeof record));
    ComPtr<IVoLexicon> lex = Open(path_);
    int level = -1, access = -1;
    EXPECT_EQ(S_OK, lex->GetProtection(&level));
    EXPECT_EQ(3, level);
    EXPECT_EQ(S_OK, lex->GetAccess(&access));
    EXPECT_EQ(3, access);
    ExpectEditsDenied(lex.Get());
    EXPECT_EQ(E_ACCESSDENIED, lex->Unlock("Hemmelig"));
    EXPECT_EQ(S_OK, lex->Unlock("hemmelig"));
    EXPECT_EQ(S_OK, lex->GetAccess(&access));
    EXPECT_EQ(0, access);
    EXPECT_EQ(S_OK, lex->SetEntryText(1, "now allowed"));
}

std::string Password(size_t n) {
    std::string p;
    for (size_t i = 0; i < n; ++i) p += static_cast<char>(i % 2 ? 'a' + i % 26 : 0xC0 + i % 32);
    return p;
}

TEST_F(Protection, EveryLevelAndPasswordLengthSurvivesSaveAndReopen) {
    for (int level = 0; level <= 3; ++level) {
        for (size_t length : {0u, 1u, 29u, 30u, 31u}) {
            SCOPED_TRACE(testing::Message() << "level " << level << ", password of " << length);
            const std::string password = Password(length);
            const std::string secret = "Hemmelig notat nummer " + std::to_string(level);
            {
                ComPtr<IVoLexicon> lex = CreateCommentary(path_);
                AddEntry(lex.Get(), "Before", "written before protection");
                ASSERT_EQ(S_OK, lex->SetPassword("", password.c_str()));
                ASSERT_EQ(S_OK, lex->SetProtection(level));
                EXPECT_EQ(S_OK, IsDirty(lex.Get()));
                AddEntry(lex.Get(), "Secret", secret.c_str());
                ASSERT_EQ(S_OK, SaveLex(lex.Get()));
            }
            // Texts written under bit 1 are scrambled in the file; earlier ones stay plain.
            std::string stored = StreamOf(path_, L"I_Secret");
            EXPECT_EQ(level & 2 ? std::string::npos : 3u, stored.find(secret));
            EXPECT_EQ(3u, StreamOf(path_, L"I_Before").find("written before protection"));

            ComPtr<IVoLexicon> lex = Open(path_);
            int got = -1, access = -1;
            EXPECT_EQ(S_OK, lex->GetProtection(&got));
            EXPECT_EQ(level, got);
            EXPECT_EQ(S_OK, lex->GetAccess(&access));
            EXPECT_EQ(length ? level : 0, access);
            EXPECT_EQ(secret, EntryText(lex.Get(), 2));
            if (length) {
                if (level & 1) ExpectEditsDenied(lex.Get());
                EXPECT_EQ(E_ACCESSDENIED, lex->Unlock((password + "x").c_str()));
                EXPECT_EQ(level & 1 ? E_ACCESSDENIED : S_OK, lex->SetProtection(level ^ 1));
                EXPECT_EQ(S_OK, lex->Unlock(password.c_str()));
                EXPECT_EQ(S_OK, lex->GetAccess(&access));
                EXPECT_EQ(0, access);
            }
            EXPECT_EQ(S_OK, lex->SetEntryText(1, "edited"));
            lex.Reset();
            EXPECT_TRUE(DeleteFileA(path_.c_str()));
        }
    }
}

TEST_F(Protection, PasswordAnswers) {
    ComPtr<IVoLexicon> lex = CreateCommentary(path_);
    const std::string p31(31, 'p'), p32(32, 'p');
    EXPECT_EQ(E_POINTER, lex->Unlock(nullptr));
    EXPECT_EQ(E_POINTER, lex->SetPassword(nullptr, "x"));
    EXPECT_EQ(E_POINTER, lex->SetPassword("", nullptr));
    EXPECT_EQ(E_POINTER, lex->GetAccess(nullptr));
    EXPECT_EQ(E_POINTER, lex->GetProtection(nullptr));
    EXPECT_EQ(E_INVALIDARG, lex->SetPassword("", p32.c_str()));
    EXPECT_EQ(S_FALSE, IsDirty(lex.Get()));
    EXPECT_EQ(S_OK, lex->SetPassword("", ""));  // the same: nothing changes
    EXPECT_EQ(S_FALSE, IsDirty(lex.Get()));
    EXPECT_EQ(S_OK, lex->SetPassword("", p31.c_str()));
    EXPECT_EQ(S_OK, IsDirty(lex.Get()));
    EXPECT_EQ(S_OK, lex->Unlock("wrong"));  // already unlocked
    EXPECT_EQ(E_ACCESSDENIED, lex->SetPassword("wrong", "new"));
    EXPECT_EQ(E_ACCESSDENIED, lex->SetPassword("", "new"));
    EXPECT_EQ(E_INVALIDARG, lex->SetProtection(4));
    EXPECT_EQ(E_INVALIDARG, lex->SetProtection(-1));
    EXPECT_EQ(S_OK, lex->SetProtection(1));
    EXPECT_EQ(S_OK, lex->SetPassword(p31.c_str(), "Ny"));
    ASSERT_EQ(S_OK, SaveLex(lex.Get()));
    lex.Reset();

    lex = Open(path_);
    EXPECT_EQ(E_ACCESSDENIED, lex->Unlock("ny"));  // case counts
    EXPECT_EQ(E_ACCESSDENIED, lex->Unlock(p31.c_str()));
    EXPECT_EQ(E_ACCESSDENIED, lex->SetProtection(0));
    EXPECT_EQ(E_ACCESSDENIED, lex->SetPassword("", "x"));
    // A wrong password changes nothing; the right one, given to SetPassword, unlocks.
    EXPECT_EQ(S_OK, lex->SetPassword("Ny", "Ny"));
    int access = -1;
    EXPECT_EQ(S_OK, lex->GetAccess(&access));
    EXPECT_EQ(0, access);
    EXPECT_EQ(S_FALSE, IsDirty(lex.Get()));
    // A new password not saved is not kept.
    EXPECT_EQ(S_OK, lex->SetPassword("Ny", "Annet"));
    lex.Reset();
    lex = Open(path_);
    EXPECT_EQ(E_ACCESSDENIED, lex->Unlock("Annet"));
    EXPECT_EQ(S_OK, lex->Unlock("Ny"));
}

// Settings that cannot be read: the commentary opens, its texts read, and it stays locked
// against changes whatever password is given.
TEST_F(Protection, UnreadableSettingsLockTheCommentary) {
    MakeSmallCommentary();
    std::string tooLong = MakeScrambledRecord(("|" + std::string(100, 'x')).c_str(), 5);
    std::string badCode = MakeScrambledRecord("|", 5);
    badCode[3] ^= 0x10;
    const struct { const char* what; std::string record; } cases[] = {
        {"longer than any settings text", tooLong},
        {"check code does not match", badCode},
        {"not a record", "Zoo"},
        {"empty", ""},
    };
    const std::string good = ReadWholeFile(path_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteWholeFile(path_, good));
        RewriteStream(path_, kSettingsStream, EncodeSettingsStream(c.record));
        const std::string bytes = ReadWholeFile(path_);
        {
            ComPtr<IVoLexicon> lex = Open(path_);
            ASSERT_TRUE(lex);
            int level = -1, access = -1;
            EXPECT_EQ(S_OK, lex->GetProtection(&level));
            EXPECT_EQ(1, level);
            EXPECT_EQ(S_OK, lex->GetAccess(&access));
            EXPECT_EQ(1, access);
            EXPECT_EQ(E_ACCESSDENIED, lex->Unlock(""));
            EXPECT_EQ(E_ACCESSDENIED, lex->SetPassword("", "x"));
            EXPECT_EQ(E_ACCESSDENIED, lex->SetProtection(0));
            ExpectEditsDenied(lex.Get());
            EXPECT_EQ("Far til mange", EntryText(lex.Get(), 1));
        }
        EXPECT_TRUE(bytes == ReadWholeFile(path_));
    }
}

}  // namespace
