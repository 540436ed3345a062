// Exports that open and create language statistics. Objects read from streams are shared
// by language over the same numbering.
#include "VoUtil.h"
#include "BibleLangStat.h"

extern "C" HRESULT __stdcall OpenLangStatOnBibleStat(IStream* stream, IBibleStat* stat, IBibleLangStat** out) {
    if (!out) return E_POINTER;
    return CBibleLangStat::OpenShared(stream, stat, out);
}

extern "C" HRESULT __stdcall OpenLangStat(IStream* stream, IBibleLangStat** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<IBibleStat> stat;
    HRESULT hr = OpenBibleStat(stream, stat.Put());
    if (FAILED(hr)) return hr;
    return OpenLangStatOnBibleStat(stream, stat.Get(), out);
}

extern "C" HRESULT __stdcall CreateLangStat(IBibleStat* stat, ILangStatSource* source, IBibleLangStat** out) {
    return CreateObjectAs<CBibleLangStat>(IID_IBibleLangStat, out, stat, source);
}
