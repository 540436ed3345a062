// CIndexedData: the dense indexed-data container, one slot per index, as a reader of a
// container in a stream or as its writer. Layout at the start P:
//   header (20 bytes): int16 -2, int16 header size 20, int32 count N, int32 entries per
//   block B, int32 data length D, int32 index size X; the entry data (D bytes); N/B + 1
//   int32 block bases relative to P; N + 1 uint16 offsets from the block base (entry N
//   marks the end); the trailing stream at P + header size + D + X.
#pragma once
#include "Unknown.h"
#include "IIndexedData.h"
#include "ComPtr.h"
#include <memory>
#include <vector>

constexpr int kIndexedDataHeaderSize = 20;
constexpr int kIndexedDataBlockSize = 256;
// The furthest an entry may start past its block's first entry (offsets are 16 bits).
constexpr DWORD kIndexedDataMaxOffset = 0xFFFF;

class CIndexedData : public CUnknown, public IndexedDataReadPart, public IndexedDataWritePart {
public:
    enum Role { kReader, kWriter };
    // A reader opens the container at the stream's position; a writer starts one there for
    // at most entryCount entries.
    CIndexedData(IUnknown* outer, HRESULT* result, IStream* stream, Role role, int entryCount = 0);
    ~CIndexedData() override;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // IIndexedData
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

private:
    struct Block {
        std::unique_ptr<BYTE[]> data;
        int pins = 0;
    };

    HRESULT OpenReader();
    HRESULT StartWriter();
    HRESULT WriteTables();
    HRESULT SeekTo(ULONGLONG pos);
    int EntryCount() const { return static_cast<int>(starts_.size()) - 1; }
    DWORD EntrySize(int index) const { return starts_[index + 1] - starts_[index]; }
    // The blocks that hold entries first..first+count-1, clamped to the entries there are;
    // false when there are none.
    bool BlockRange(int first, int count, int* firstBlock, int* lastBlock) const;
    HRESULT LoadBlock(int block);
    void Unpin(int block);

    ComPtr<IStream> stream_;
    Role role_;
    ULONGLONG start_ = 0;          // P
    int headerSize_ = kIndexedDataHeaderSize;
    int blockSize_ = kIndexedDataBlockSize;
    DWORD dataLength_ = 0;         // D
    int indexSize_ = 0;            // X, as the header says
    ULONGLONG streamSize_ = 0;     // reader: the stream's size when it was opened
    // Start of every entry relative to P, and one more for the end of the last: the reader
    // builds it from the two tables, the writer for the entries closed so far.
    std::vector<DWORD> starts_;
    std::vector<Block> blocks_;
    // Writer: the most entries it may close, and whether Finish ran and what it answered.
    int maxEntries_ = 0;
    bool finished_ = false;
    HRESULT finishResult_ = S_OK;
};
