#include "Scramble.h"
#include <cmath>
#include <cstring>

namespace {

BYTE RotateLeft3(BYTE a) { return static_cast<BYTE>((a << 3) | (a >> 5)); }

BYTE Advance(BYTE a, BYTE plain) { return static_cast<BYTE>(plain + RotateLeft3(a)); }

char CodeDigit(unsigned d) { return static_cast<char>(d < 10 ? '0' + d : 'A' + (d - 10)); }

}  // namespace

BYTE ScrambleBytes(char* text, size_t n, BYTE a) {
    for (size_t i = 0; i < n; ++i) {
        BYTE p = static_cast<BYTE>(text[i]);
        text[i] = static_cast<char>(p == a ? p : p ^ a);
        a = Advance(a, p);
    }
    return a;
}

BYTE UnscrambleBytes(char* text, size_t n, BYTE a) {
    for (size_t i = 0; i < n; ++i) {
        BYTE c = static_cast<BYTE>(text[i]);
        BYTE p = c == a ? c : static_cast<BYTE>(c ^ a);
        text[i] = static_cast<char>(p);
        a = Advance(a, p);
    }
    return a;
}

BYTE ScrambleText(char* text, BYTE a) { return ScrambleBytes(text, strlen(text), a); }
BYTE UnscrambleText(char* text, BYTE a) { return UnscrambleBytes(text, strlen(text), a); }

BYTE NewScrambleSeed() {
    BYTE s = static_cast<BYTE>(GetTickCount() & 0xFF);
    return s ? s : 1;
}

void TextCheckCode(const char* text, char code[6]) {
    if (!*text) {
        memcpy(code, "EMPTY", 6);
        return;
    }
    double x = 13.0;
    unsigned a = 123;
    for (size_t i = 0; text[i]; ++i) {
        int signedByte = static_cast<signed char>(text[i]);
        x *= static_cast<double>(static_cast<unsigned>(signedByte + 3));
        if (x > 1e10) x = fmod(x, 1.28e9);
        a ^= static_cast<unsigned>(signedByte + 5) << (i % 16);
    }
    double y = static_cast<double>(static_cast<signed char>(text[0])) * 12345.0 +
               (x + static_cast<double>(a)) + 134663.0;
    unsigned b = static_cast<unsigned>(static_cast<long long>(fmod(y, 60466176.0)));
    code[0] = CodeDigit(b % 36);
    code[3] = CodeDigit((b % 1296) / 36);
    code[2] = CodeDigit((b % 46656) / 1296);
    code[4] = CodeDigit((b % 1679616) / 46656);
    code[1] = CodeDigit((b % 60466176) / 1679616);
    code[5] = '\0';
}

std::string MakeScrambledRecord(const char* text, BYTE seed) {
    size_t n = strlen(text);
    std::string rec(7 + n, '\0');
    rec[0] = 'A';
    rec[1] = static_cast<char>(seed);
    memcpy(&rec[7], text, n);
    BYTE f = ScrambleBytes(&rec[7], n, seed);
    char code[6];
    TextCheckCode(text, code);
    memcpy(&rec[2], code, 5);
    ScrambleBytes(&rec[2], 5, f);
    return rec;
}

int ReadScrambledRecord(const char* record, char* buf, size_t size) {
    if (size) buf[0] = '\0';
    size_t len = strlen(record);
    if (record[0] != 'A' || len < 7) return 0;
    size_t n = len - 7;
    if (n + 1 > size) return 0;
    memcpy(buf, record + 7, n + 1);
    BYTE f = UnscrambleBytes(buf, n, static_cast<BYTE>(record[1]));
    char stored[6];
    memcpy(stored, record + 2, 5);
    stored[5] = '\0';
    UnscrambleBytes(stored, 5, f);
    char expected[6];
    TextCheckCode(buf, expected);
    if (memcmp(stored, expected, 5) != 0) {
        buf[0] = '\0';
        return 0;
    }
    return static_cast<int>(n + 1);
}
