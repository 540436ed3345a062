// Exports that open and create indexed-data containers, dense or sparse, in a stream or a
// file. A form byte before the container says which: 0 dense, anything else sparse.
#include "VoUtil.h"
#include "IndexedData.h"
#include "SparseIndexedData.h"
#include "PosStreamOnFile.h"
#include "PackedIO.h"

extern "C" HRESULT __stdcall OpenIndexedDataOnStream(IStream* stream, IIndexedData** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!stream) return E_INVALIDARG;
    BYTE form = 0;
    if (FAILED(ReadAll(stream, &form, 1))) return E_UNEXPECTED;
    if (form == 0) return CreateObjectAs<CIndexedData>(IID_IIndexedData, out, stream, CIndexedData::kReader);
    return CreateObjectAs<CSparseIndexedData>(IID_IIndexedData, out, stream, CSparseIndexedData::kReader);
}

extern "C" HRESULT __stdcall OpenIndexedDataFile(const char* path, IIndexedData** out) {
    return OpenFileWith(path, out, OpenIndexedDataOnStream);
}

extern "C" HRESULT __stdcall CreateIndexedDataOnStream(IStream* stream, BOOL sparse, int entryCount,
                                                       ICreateIndexedData** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!stream || entryCount < 0) return E_INVALIDARG;
    const BYTE form = sparse ? 1 : 0;
    if (FAILED(WriteAll(stream, &form, 1))) return E_UNEXPECTED;
    if (sparse)
        return CreateObjectAs<CSparseIndexedData>(IID_ICreateIndexedData, out, stream, CSparseIndexedData::kWriter,
                                                  entryCount);
    return CreateObjectAs<CIndexedData>(IID_ICreateIndexedData, out, stream, CIndexedData::kWriter, entryCount);
}

extern "C" HRESULT __stdcall CreateIndexedDataFile(const char* path, BOOL sparse, int entryCount,
                                                   ICreateIndexedData** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<IStream> stream;
    HRESULT hr = CPosStreamOnFile::Create(path, stream.Put());
    if (FAILED(hr)) return hr;
    return CreateIndexedDataOnStream(stream.Get(), sparse, entryCount, out);
}
