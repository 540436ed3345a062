// The exported functions of VoUtil.dll, standard-call, as the importing programs declare
// them; the interfaces they hand out are declared in the headers included here.
#pragma once
#include <windows.h>
#include <objidl.h>
#include "IIndexedData.h"

extern "C" {

// Indexed-data containers.
HRESULT __stdcall OpenIndexedDataOnStream(IStream* stream, IIndexedData** out);
HRESULT __stdcall OpenIndexedDataFile(const char* path, IIndexedData** out);
HRESULT __stdcall CreateIndexedDataOnStream(IStream* stream, BOOL sparse, int entryCount, ICreateIndexedData** out);
HRESULT __stdcall CreateIndexedDataFile(const char* path, BOOL sparse, int entryCount, ICreateIndexedData** out);

}  // extern "C"
