// CRefList: a reference list file (".vrsm"). An indexed-data container whose entry e holds
// the packed references of items e * K to e * K + K - 1 (at most 256 bytes), followed in
// its trailing stream by a statistics block and 8 bytes: int16 -2, uint16 K, int32 the
// number of items. The last entry read is kept, as lists are read in order.
#pragma once
#include "Unknown.h"
#include "IBibleRefLib.h"
#include "IIndexedData.h"
#include "ComPtr.h"

constexpr int kRefListMaxEntryBytes = 256;

// Opens the container of a reference file and the statistics block in its trailing stream;
// *trailer is left just after the block.
HRESULT OpenRefFileParts(const char* path, ComPtr<IIndexedData>* data, ComPtr<IStream>* trailer,
                         ComPtr<IBibleStat>* stat, ComPtr<IBibleHandles>* handles);

class CRefList : public CUnknown, public IRefList {
public:
    CRefList(IUnknown* outer, HRESULT* result, const char* path);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) override;
    HRESULT STDMETHODCALLTYPE GetCount(int* out) override;
    HRESULT STDMETHODCALLTYPE GetRef(int index, int* outHandle) override;

private:
    HRESULT Open(const char* path);
    HRESULT CheckItems();
    // A valid handle of the list's numbering, with a range end inside it.
    bool IsListedRef(int handle);

    ComPtr<IIndexedData> data_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleHandles> handles_;
    int perEntry_ = 0;  // K
    int count_ = 0;
    BYTE cached_[kRefListMaxEntryBytes] = {};
    unsigned cachedLength_ = 0;
    int cachedFirst_ = -1, cachedItems_ = 0;
};
