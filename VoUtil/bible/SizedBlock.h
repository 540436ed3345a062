// The framing shared by the statistics and language blocks: a uint16 0xFFFE (written, not
// checked on reading), then an int32 size counting itself and the bytes that follow.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <vector>

// Reads one block into *block, from the size field on. A short read or a size outside
// minSize..maxSize answers E_INVALIDARG; a failed allocation E_OUTOFMEMORY.
HRESULT ReadSizedBlock(IStream* stream, int minSize, int maxSize, std::vector<BYTE>* block);

// Writes the marker and the block; STG_E_MEDIUMFULL when the stream takes fewer bytes.
HRESULT WriteSizedBlock(IStream* stream, const std::vector<BYTE>& block);
