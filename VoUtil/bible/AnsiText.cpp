#include "AnsiText.h"

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A: return 0x9A;  // S with caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z with caron
    case 0x9F: return 0xFF;  // Y with diaeresis
    default: return c;
    }
}

bool IsLetter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F ||
           c == 0xAA || c == 0xB5 || c == 0xBA;
}

bool StartsWithFolded(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix)
        if (FoldCase(static_cast<unsigned char>(*text)) != FoldCase(static_cast<unsigned char>(*prefix))) return false;
    return true;
}

bool EqualsFolded(const char* a, const char* b) {
    for (; *a || *b; ++a, ++b)
        if (FoldCase(static_cast<unsigned char>(*a)) != FoldCase(static_cast<unsigned char>(*b))) return false;
    return true;
}
