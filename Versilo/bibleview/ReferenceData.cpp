// "VersiloReference" records, and reading global memory and references from data objects.
#include "ReferenceData.h"
#include <cstring>
#include "ComPtr.h"
#include "Handles.h"
#include "OleHandles.h"
#include "VoUtil.h"

namespace {

FORMATETC GlobalFormat(UINT format) {
    FORMATETC fe = {};
    fe.cfFormat = static_cast<CLIPFORMAT>(format);
    fe.ptd = nullptr;
    fe.dwAspect = DVASPECT_CONTENT;
    fe.lindex = -1;
    fe.tymed = TYMED_HGLOBAL;
    return fe;
}

// A caller-owned copy of a global block, or null.
HGLOBAL CopyGlobal(HGLOBAL source) {
    GlobalLocked<BYTE> from(source);
    if (!from.Get()) return nullptr;
    const SIZE_T size = from.Size();
    GlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size ? size : 1));
    if (!copy) return nullptr;
    {
        GlobalLocked<BYTE> to(copy.Get());
        if (!to.Get()) return nullptr;
        std::memcpy(to.Get(), from.Get(), size);
    }
    return copy.Release();
}

}  // namespace

void MakeReferenceRecord(int ref, const GUID& identity, BYTE (&record)[kReferenceRecordSize]) {
    const unsigned value = static_cast<unsigned>(ref);
    for (int i = 0; i < 4; ++i) record[i] = static_cast<BYTE>(value >> (8 * i));
    std::memcpy(record + 4, &identity, sizeof identity);
}

bool DataObjectHasFormat(IDataObject* data, UINT format) {
    if (!data || !format) return false;
    FORMATETC fe = GlobalFormat(format);
    return data->QueryGetData(&fe) == S_OK;
}

HGLOBAL GetDataObjectGlobal(IDataObject* data, UINT format) {
    if (!DataObjectHasFormat(data, format)) return nullptr;
    FORMATETC fe = GlobalFormat(format);
    StorageMedium medium;
    if (data->GetData(&fe, medium.Put()) != S_OK) return nullptr;
    // Only global memory is read; any other medium the object hands back is released unread.
    if (medium.Get().tymed != TYMED_HGLOBAL || !medium.Get().hGlobal) return nullptr;
    return CopyGlobal(medium.Get().hGlobal);
}

int ReadReferenceFromDataObject(IDataObject* data, UINT format, IBibleStat* target) {
    GlobalMemory block(GetDataObjectGlobal(data, format));
    if (!block) return 0;
    int ref = 0;
    GUID identity = {};
    {
        GlobalLocked<BYTE> bytes(block.Get());
        // Any program may offer data under this name: a block too short for a record is refused.
        if (!bytes.Get() || bytes.Size() < kReferenceRecordSize) return 0;
        const BYTE* p = bytes.Get();
        ref = static_cast<int>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<unsigned>(p[3]) << 24);
        std::memcpy(&identity, p + 4, sizeof identity);
    }
    ComPtr<IBibleStat> source;
    if (FindBibleStat(&identity, source.Put()) != S_OK || !source) return 0;
    int result = 0;
    ConvertRef(source.Get(), target, ref, &result);
    return result;
}
