// CSparseIndexedData: the sparse indexed-data container. Only the non-empty entries are
// stored, in a dense container, each under a logical index below 65,536; the dense
// container's trailing stream begins with one uint16 logical index per stored entry
// (ascending), and the sparse container's own trailing stream follows them.
#pragma once
#include "Unknown.h"
#include "IIndexedData.h"
#include "SortableTable.h"
#include "ComPtr.h"
#include <vector>

constexpr int kSparseMaxIndex = 0xFFFF;

class CSparseIndexedData : public CUnknown,
                           public IndexedDataReadPart,
                           public IndexedDataWritePart,
                           public ISortableTable {
public:
    enum Role { kReader, kWriter };
    // A reader opens the container at the stream's position (after the form byte); a
    // writer starts one there for at most entryCount stored entries.
    CSparseIndexedData(IUnknown* outer, HRESULT* result, IStream* stream, Role role, int entryCount = 0);
    ~CSparseIndexedData() override;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // IIndexedData, by logical index
    HRESULT STDMETHODCALLTYPE GetCount(int* out) override;
    HRESULT STDMETHODCALLTYPE FindNonEmpty(int index, int* out) override;
    HRESULT STDMETHODCALLTYPE GetEntrySize(int index, int* outBytes) override;
    HRESULT STDMETHODCALLTYPE ReadEntry(int index, int offset, void* buf, int len) override;
    HRESULT ReaderTrailingStream(IStream** out) override;
    HRESULT STDMETHODCALLTYPE LoadEntries(int first, int count) override;
    HRESULT STDMETHODCALLTYPE UnloadEntries(int first, int count) override;

    // ICreateIndexedData
    HRESULT STDMETHODCALLTYPE Write(const void* data, int len, int* written) override;
    HRESULT STDMETHODCALLTYPE EndEntry(int index) override;
    HRESULT WriterTrailingStream(IStream** out) override;
    HRESULT STDMETHODCALLTYPE Finish() override;

    // ISortableTable: a logical index against the stored index at a position.
    int Compare(int key, int position) override;

private:
    HRESULT OpenReader(IStream* stream);
    HRESULT PastIndexTable(ComPtr<IStream>& trailing, IStream** out);
    int LogicalCount() const { return indices_.empty() ? 0 : indices_.back() + 1; }
    int StoredCount() const { return static_cast<int>(indices_.size()); }
    // Position of a stored logical index, or -1.
    int StoredPosition(int index);
    // The stored positions that LoadEntries and UnloadEntries pin; false when no stored
    // index is at or after first.
    bool PositionRange(int first, int count, int* position, int* positions);

    Role role_;
    ComPtr<IIndexedData> reader_;
    ComPtr<ICreateIndexedData> writer_;
    std::vector<WORD> indices_;  // stored logical indices, ascending
    bool finished_ = false;
    HRESULT finishResult_ = S_OK;
};
