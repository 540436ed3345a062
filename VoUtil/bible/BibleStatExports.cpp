// Exports that open, create and find statistics objects. Objects read from streams are
// shared by identity: a second open of the same numbering hands out the first object.
#include "VoUtil.h"
#include "BibleHandles.h"
#include "PosStreamOnFile.h"
#include "ComPtr.h"

extern "C" HRESULT __stdcall OpenBibleStat(IStream* stream, IBibleStat** out) {
    if (!out) return E_POINTER;
    return CBibleHandles::OpenShared(stream, out);
}

extern "C" HRESULT __stdcall OpenBibleStatStream(IStream* stream, IBibleStat** out) {
    return OpenBibleStat(stream, out);
}

extern "C" HRESULT __stdcall OpenBibleStatFile(const char* path, IBibleStat** out) {
    return OpenFileWith(path, out, OpenBibleStat);
}

extern "C" HRESULT __stdcall CreateBibleStat(const GUID* identity, const GUID* versification, int bookCount,
                                             IBibleStatBuilder** out) {
    return CreateObjectAs<CBibleHandles>(IID_IBibleStatBuilder, out, identity, versification, bookCount);
}

extern "C" HRESULT __stdcall FindBibleStat(const GUID* identity, IBibleStat** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!identity) return E_INVALIDARG;
    *out = CBibleHandles::FindLoaded(*identity);
    return *out ? S_OK : S_FALSE;
}
