// Builds a statistics object of the Protestant numbering through VoUtil's exports.
#include "ProtestantCanon.h"
#include "VoUtil.h"
#include "ComPtr.h"

HRESULT BuildProtestantStat(IBibleStat** out, const GUID* identity) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<IBibleStatBuilder> builder;
    HRESULT hr = CreateBibleStat(identity ? identity : &kProtestantIdentity, &kProtestantVersification,
                                 kProtestantBookCount, builder.Put());
    if (FAILED(hr)) return hr;
    for (int b = 0; b < kProtestantBookCount; ++b) {
        const CanonBook& book = ProtestantBook(b);
        int verses[255];
        for (int c = 0; c < book.chapters; ++c) verses[c] = book.verses[c];
        hr = builder->AddBook(book.id, book.chapters, verses);
        if (FAILED(hr)) return hr;
    }
    return builder->QueryInterface(IID_IBibleStat, reinterpret_cast<void**>(out));
}
