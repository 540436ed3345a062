// The packed form of a BibleRefHandle, as reference libraries, reference lists and
// commentary files store it.
#pragma once
#include <windows.h>

constexpr unsigned kMaxPackedRefBytes = 5;

// Packs a handle into buf (room for kMaxPackedRefBytes); answers the byte count.
unsigned PackRef(int handle, BYTE* buf);

// Unpacks one handle from [p, p + available); answers the bytes used, 0 when the form runs
// past the bytes or its high word does not fit 16 bits.
unsigned UnpackRef(const BYTE* p, unsigned available, int* handle);
