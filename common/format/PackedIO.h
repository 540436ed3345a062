// Packed integers (7-bit groups, most significant first, bit 7 = "more") and counted
// strings (a packed length, then the bytes without a terminator), read from and written
// to streams.
#pragma once
#include <windows.h>
#include <objidl.h>

// Longest packed form of a 32-bit value.
constexpr unsigned kMaxPackedIntBytes = 5;

// Reads one packed integer. A failing read passes its HRESULT through; a read that yields
// no byte, or a form longer than five bytes, answers E_UNEXPECTED.
HRESULT ReadPackedInt(IStream* stream, int* out);

// Reads a counted string into buf and terminates it. A length not below size answers
// E_OUTOFMEMORY with the stream just after the length; fewer bytes than the length answer
// E_UNEXPECTED.
HRESULT ReadCountedString(IStream* stream, char* buf, unsigned size);

// Packs value into buf (room for kMaxPackedIntBytes) and answers the byte count.
unsigned PackInt(unsigned value, BYTE* buf);

// Unpacks one integer from [p, end); answers the bytes used, 0 when the form is cut short
// or longer than five bytes.
unsigned UnpackInt(const BYTE* p, const BYTE* end, unsigned* value);

HRESULT WritePackedInt(IStream* stream, unsigned value);
HRESULT WriteCountedString(IStream* stream, const char* text, unsigned length);
// Writes the whole buffer; a short write answers E_UNEXPECTED when the stream said S_OK.
HRESULT WriteAll(IStream* stream, const void* data, ULONG size);
// Reads exactly size bytes: a short read answers E_UNEXPECTED, another failure passes through.
HRESULT ReadAll(IStream* stream, void* data, ULONG size);
