#include "SampleVersifications.h"
#include "ProtestantCanon.h"
#include "VoUtil.h"
#include "ComPtr.h"
#include <map>

// {6E1C2A10-4B7D-4C55-9A3E-2F60B1D1A001}
const GUID kVariantIdentity = {0x6E1C2A10, 0x4B7D, 0x4C55, {0x9A, 0x3E, 0x2F, 0x60, 0xB1, 0xD1, 0xA0, 0x01}};
// {6E1C2A10-4B7D-4C55-9A3E-2F60B1D1A002}
const GUID kVariantVersification = {0x6E1C2A10, 0x4B7D, 0x4C55, {0x9A, 0x3E, 0x2F, 0x60, 0xB1, 0xD1, 0xA0, 0x02}};
// {6E1C2A10-4B7D-4C55-9A3E-2F60B1D1A003}
const GUID kFoldedMalachiIdentity = {0x6E1C2A10, 0x4B7D, 0x4C55, {0x9A, 0x3E, 0x2F, 0x60, 0xB1, 0xD1, 0xA0, 0x03}};
// {6E1C2A10-4B7D-4C55-9A3E-2F60B1D1A004}
const GUID kFoldedMalachiVersification = {0x6E1C2A10, 0x4B7D, 0x4C55,
                                          {0x9A, 0x3E, 0x2F, 0x60, 0xB1, 0xD1, 0xA0, 0x04}};

namespace {

using Changes = std::map<int, std::vector<int>>;  // book index -> verses of each chapter

// The common numbering with some books' chapters replaced.
HRESULT BuildChangedStat(const GUID& identity, const GUID& versification, const Changes& changes,
                         IBibleStat** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<IBibleStatBuilder> builder;
    HRESULT hr = CreateBibleStat(&identity, &versification, kProtestantBookCount, builder.Put());
    if (FAILED(hr)) return hr;
    for (int b = 0; b < kProtestantBookCount; ++b) {
        const CanonBook& book = ProtestantBook(b);
        std::vector<int> verses(book.verses, book.verses + book.chapters);
        auto changed = changes.find(b);
        if (changed != changes.end()) verses = changed->second;
        hr = builder->AddBook(book.id, static_cast<int>(verses.size()), verses.data());
        if (FAILED(hr)) return hr;
    }
    return builder->QueryInterface(IID_IBibleStat, reinterpret_cast<void**>(out));
}

std::vector<int> ChaptersOf(int book) {
    const CanonBook& b = ProtestantBook(book);
    return std::vector<int>(b.verses, b.verses + b.chapters);
}

}  // namespace

HRESULT BuildVariantStat(IBibleStat** out) {
    Changes changes;
    std::vector<int> psalms = ChaptersOf(kPsalmsBook);
    psalms[2] += 1;   // Psalm 3: the title is verse 1
    psalms[50] += 2;  // Psalm 51: the title is verses 1-2
    changes[kPsalmsBook] = psalms;
    changes[kJoelBook] = {20, 27, 5, 21};
    changes[kMalachiBook] = {14, 17, 24};
    std::vector<int> romans = ChaptersOf(kRomansBook);
    romans[13] += 3;
    romans[15] -= 3;
    changes[kRomansBook] = romans;
    return BuildChangedStat(kVariantIdentity, kVariantVersification, changes, out);
}

HRESULT BuildFoldedMalachiStat(IBibleStat** out) {
    Changes changes;
    changes[kMalachiBook] = {14, 17, 24};
    return BuildChangedStat(kFoldedMalachiIdentity, kFoldedMalachiVersification, changes, out);
}

std::vector<ConversionBook> VariantTableBooks() {
    const int psalms = ProtestantBook(kPsalmsBook).id, joel = ProtestantBook(kJoelBook).id,
              malachi = ProtestantBook(kMalachiBook).id, romans = ProtestantBook(kRomansBook).id;
    return {
        // Psalm 3: the variant's verse 1 (the title) has no counterpart. Psalm 51: the
        // common verse 1 is the variant's verses 1-3.
        {psalms, {MakeRow(2, false, 0, 0, 0, {{0, 0, 1}}), MakeRow(50, false, 0, 0, 0, {{0, 1, 3}})}},
        // Joel 2:28-32 run over into the variant's chapter 3, whose 5 verses belong to the
        // row before; the common Joel 3 is the variant's Joel 4.
        {joel, {MakeRow(1, false, 0, 32, 27), MakeRow(2, true, 5, 21, 5), MakeRow(3, true, 21, 0, 21)}},
        // Malachi 4 belongs to the row of chapter 3 on the common side.
        {malachi, {MakeRow(2, false, 0, 18, 24), MakeRow(3, false, 6, 6, 0)}},
        // Romans 16:25-27 against the variant's 14:24-26: no counterpart on either side.
        {romans, {MakeRow(13, false, 0, 0, 0, {{23, 0, 3}}), MakeRow(15, false, 0, 0, 0, {{24, 3, 0}})}},
    };
}

std::vector<ConversionBook> FoldedMalachiTableBooks() {
    const int malachi = ProtestantBook(kMalachiBook).id;
    return {{malachi, {MakeRow(2, false, 0, 24, 18), MakeRow(3, true, 6, 0, 6)}}};
}

HRESULT WriteSampleBiblesFolder(const std::string& folder) {
    ComPtr<IBibleStat> common;
    HRESULT hr = BuildProtestantStat(common.Put());
    if (SUCCEEDED(hr)) hr = WriteBibleStatFile((folder + "\\kv61.vos").c_str(), common.Get());
    if (SUCCEEDED(hr))
        hr = WriteConversionTableFile((folder + "\\variant.brt").c_str(), kProtestantVersification,
                                      kVariantVersification, kSampleRowsPerKey, VariantTableBooks(), false);
    if (SUCCEEDED(hr))
        hr = WriteConversionTableFile((folder + "\\malachi.brt").c_str(), kFoldedMalachiVersification,
                                      kProtestantVersification, kSampleRowsPerKey, FoldedMalachiTableBooks(), true);
    return hr;
}
