// CVersificationConverter: the conversion tables (".brt") and the reference versification
// ("kv61.vos") of one folder, loaded on the first conversion between different
// versifications, and the conversions of positions and handles between numberings.
// The library holds one of them for the folder "Bibles" beside its own file; tests make
// their own over a scratch folder.
#pragma once
#include "ConversionTable.h"
#include "IBibleStat.h"
#include "ComPtr.h"
#include <memory>
#include <string>
#include <vector>

class CVersificationConverter {
public:
    // folder ends in a backslash.
    explicit CVersificationConverter(std::string folder) : folder_(std::move(folder)) {}
    CVersificationConverter(const CVersificationConverter&) = delete;
    CVersificationConverter& operator=(const CVersificationConverter&) = delete;

    // The library's converter: "Bibles" in the folder of the module that holds this code.
    static CVersificationConverter& Library();

    // S_OK when positions can move from one numbering to the other; S_FALSE when not.
    HRESULT CanConvert(IBibleStat* from, IBibleStat* to);
    // Converts a position in place (chapter and verse may be -1); *verseEnd receives the last
    // target verse that corresponds to the verse. S_FALSE (position unchanged) when the
    // target lacks the book or the position; E_INVALIDARG when no route exists.
    HRESULT ConvertBibleIndex(IBibleStat* from, IBibleStat* to, int* book, int* chapter, int* verse, int* verseEnd);
    // As ConvertBibleIndex, for callers that take the unchanged position when there is no
    // counterpart: S_FALSE is answered as S_OK; E_INVALIDARG when no route exists.
    HRESULT ConvertBibleIndices(IBibleStat* from, IBibleStat* to, int* book, int* chapter, int* verse);
    // Converts a handle, single, counted or open, into the other numbering.
    HRESULT ConvertRef(IUnknown* from, IUnknown* to, int handle, int* outHandle);

    // Tables loaded so far, and whether the reference statistics are there.
    size_t TableCount() const { return tables_.size(); }
    bool HasReference() const { return static_cast<bool>(reference_); }

private:
    void EnsureLoaded();
    const CConversionTable* FindTable(const GUID& x, const GUID& y) const;
    // True when a two-step route through the reference versification may be tried.
    bool ReferenceRoute(const GUID& x, const GUID& y) const;
    HRESULT ConvertByTable(const CConversionTable& table, IBibleStat* from, IBibleStat* to, int* book,
                           int* chapter, int* verse, int* verseEnd);
    HRESULT ConvertThroughReference(IBibleStat* from, IBibleStat* to, int* book, int* chapter, int* verse,
                                    int* verseEnd);

    std::string folder_;
    bool loaded_ = false;
    std::vector<std::unique_ptr<CConversionTable>> tables_;  // newest first
    ComPtr<IBibleStat> reference_;
    GUID referenceVersification_ = {};
};
