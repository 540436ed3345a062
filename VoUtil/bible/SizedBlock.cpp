#include "SizedBlock.h"
#include "PackedIO.h"
#include <cstring>
#include <new>

HRESULT ReadSizedBlock(IStream* stream, int minSize, int maxSize, std::vector<BYTE>* block) {
    if (!stream) return E_INVALIDARG;
    BYTE head[6];
    if (FAILED(ReadAll(stream, head, sizeof head))) return E_INVALIDARG;
    INT32 size = 0;
    memcpy(&size, head + 2, 4);
    if (size < minSize || size > maxSize || size < 4) return E_INVALIDARG;
    try {
        block->resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    memcpy(block->data(), head + 2, 4);
    if (FAILED(ReadAll(stream, block->data() + 4, static_cast<ULONG>(size - 4)))) return E_INVALIDARG;
    return S_OK;
}

HRESULT WriteSizedBlock(IStream* stream, const std::vector<BYTE>& block) {
    if (!stream) return E_INVALIDARG;
    const WORD marker = 0xFFFE;
    if (FAILED(WriteAll(stream, &marker, 2)) || FAILED(WriteAll(stream, block.data(), static_cast<ULONG>(block.size()))))
        return STG_E_MEDIUMFULL;
    return S_OK;
}
