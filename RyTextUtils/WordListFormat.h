// Facts of the word-list stream format shared by its reader (WordList) and its writer:
// the packing of the record lengths and the limits the reader enforces.
#pragma once
#include <windows.h>

// Longest language name in a word list.
constexpr unsigned kMaxLanguageNameBytes = 49;
// Longest word a list may hold. IRyDictionary::Word has no size argument: a caller's
// buffer must hold kWordBufferSize bytes, and a list with a longer word does not load.
constexpr unsigned kMaxWordBytes = 127;
constexpr unsigned kWordBufferSize = kMaxWordBytes + 1;
// Prefix codes reach back this many words.
constexpr unsigned kMaxPrefixDistance = 17;

// One byte of packed record lengths: how many lengths it gives (1-3) into out[].
inline unsigned UnpackLengthByte(BYTE b, unsigned out[3]) {
    if (!(b & 0x80)) {
        out[0] = b;
        return 1;
    }
    if (b & 0x40) {
        out[0] = 2 + (b & 3);
        out[1] = 2 + ((b >> 2) & 3);
        out[2] = 2 + ((b >> 4) & 3);
        return 3;
    }
    out[0] = 2 + (b & 7);
    out[1] = 2 + ((b >> 3) & 7);
    return 2;
}
