// CBibleRefLib: a reference library file. An indexed-data container whose entry v holds
// the packed references of linear verse v of the library's numbering, followed in its
// trailing stream by that numbering's statistics block. References are handed out
// converted into the numbering of the bible that asks.
#pragma once
#include "Unknown.h"
#include "IBibleRefLib.h"
#include "IIndexedData.h"
#include "ComPtr.h"

class CVersificationConverter;

constexpr int kRefLibMaxVerses = 8;          // library verses read for one bible verse
constexpr unsigned kRefLibBufferSize = 2048; // bytes of references read for one bible verse
constexpr int kRefLibNameLength = 31;

class CBibleRefLib : public CUnknown, public IBibleRefLib {
public:
    CBibleRefLib(IUnknown* outer, HRESULT* result, const char* path, CVersificationConverter* converter);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    HRESULT STDMETHODCALLTYPE IsCompatible(IBibleStat* bible) override;
    HRESULT STDMETHODCALLTYPE GetVerseRefs(IBibleStat* bible, int book, int chapter, int verse, int* outHandles,
                                           int maxHandles, unsigned* outCount) override;
    HRESULT STDMETHODCALLTYPE LoadRefs(IBibleStat* bible, int book, int chapter) override;
    HRESULT STDMETHODCALLTYPE UnloadRefs(IBibleStat* bible, int book, int chapter) override;
    HRESULT STDMETHODCALLTYPE GetFilePath(char* buf, int len) override;
    HRESULT STDMETHODCALLTYPE GetName(char* buf, int len) override;

private:
    HRESULT Open(const char* path);
    bool SameNumbering(IBibleStat* bible) const;
    // The library verses of the bible's book, chapter (or all of them).
    HRESULT VerseSpan(IBibleStat* bible, int book, int chapter, int* first, int* count);
    HRESULT Pin(IBibleStat* bible, int book, int chapter, bool load);
    // Reads the entries of `count` verses into the buffer, whole references only.
    HRESULT ReadEntries(int first, int count, BYTE* buf, unsigned* used);

    CVersificationConverter* converter_;
    char path_[MAX_PATH] = "";
    char name_[kRefLibNameLength + 1] = "";
    ComPtr<IIndexedData> data_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleHandles> handles_;
    GUID identity_ = {};
};

// Opens a library with the conversions of the given converter.
HRESULT OpenBibleRefLib(const char* path, CVersificationConverter* converter, IBibleRefLib** out);
