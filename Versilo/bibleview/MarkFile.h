// The colour-marking export file ".vrsv": the version (1), the byte length N of the bit
// data, then N bytes of the words of the bit set, each word least significant byte first;
// every integer unsigned 32-bit little-endian. Nothing follows the data.
#pragma once
#include <windows.h>
#include <vector>

constexpr UINT32 kMarkFileVersion = 1;

// Writes the words to path through a temporary file in its folder that replaces path
// only when it was written whole. True on success.
bool WriteMarkFile(const char* path, const UINT32* words, UINT wordCount);
// Reads the bit data of path into bytes when the file opens, its version is 1 and N is
// at most maxBytes and all N bytes are there; otherwise false with bytes untouched.
bool ReadMarkFile(const char* path, UINT maxBytes, std::vector<BYTE>* bytes);
