// Saving a commentary the way the program does (IPersistFile::Save to its own file, then
// SaveCompleted), for tests and benchmarks that make user commentaries.
#pragma once
#include <windows.h>
#include <objidl.h>
#include "ComPtr.h"

inline HRESULT SaveLexicon(IUnknown* lexicon) {
    ComPtr<IPersistFile> file;
    HRESULT hr = lexicon->QueryInterface(IID_IPersistFile, file.PutVoid());
    if (SUCCEEDED(hr)) hr = file->Save(nullptr, TRUE);
    if (SUCCEEDED(hr)) hr = file->SaveCompleted(nullptr);
    return hr;
}
