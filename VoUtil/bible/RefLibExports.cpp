// Exports that open reference libraries and reference lists.
#include "VoUtil.h"
#include "BibleRefLib.h"
#include "RefList.h"
#include "VersificationConverter.h"

extern "C" HRESULT __stdcall OpenBibleRefLibFile(const char* path, IBibleRefLib** out) {
    return OpenBibleRefLib(path, &CVersificationConverter::Library(), out);
}

extern "C" HRESULT __stdcall OpenRefListFile(const char* path, IRefList** out) {
    if (!out) return E_POINTER;
    return CreateObjectAs<CRefList>(IID_IRefList, out, path);
}
