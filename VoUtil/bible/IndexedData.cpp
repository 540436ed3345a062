#include "IndexedData.h"
#include "PackedIO.h"
#include <algorithm>
#include <cstring>
#include <new>

namespace {

template <class T>
T LoadLE(const BYTE* p) {
    T v;
    memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
void StoreLE(BYTE* p, T v) {
    memcpy(p, &v, sizeof v);
}

HRESULT CurrentPosition(IStream* stream, ULONGLONG* pos) {
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER now = {};
    HRESULT hr = stream->Seek(zero, STREAM_SEEK_CUR, &now);
    *pos = now.QuadPart;
    return hr;
}

}  // namespace

CIndexedData::CIndexedData(IUnknown* outer, HRESULT* result, IStream* stream, Role role, int entryCount)
    : CUnknown(outer, result), stream_(stream), role_(role), maxEntries_(entryCount) {
    if (FAILED(*result)) return;
    if (!stream || entryCount < 0) {
        *result = E_INVALIDARG;
        return;
    }
    try {
        *result = role == kReader ? OpenReader() : StartWriter();
    } catch (const std::bad_alloc&) {
        *result = E_OUTOFMEMORY;
    }
    // A writer that failed to start has nothing to finish.
    if (FAILED(*result)) finished_ = true;
}

CIndexedData::~CIndexedData() {
    if (role_ == kWriter && !finished_) Finish();
}

HRESULT STDMETHODCALLTYPE CIndexedData::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IIndexedData)) return GetInterface(static_cast<IIndexedData*>(this), out);
    if (IsEqualIID(iid, IID_ICreateIndexedData))
        return GetInterface(static_cast<ICreateIndexedData*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

HRESULT CIndexedData::SeekTo(ULONGLONG pos) {
    LARGE_INTEGER move;
    move.QuadPart = static_cast<LONGLONG>(pos);
    return stream_->Seek(move, STREAM_SEEK_SET, nullptr);
}

// Reads the header and both tables and checks them against the stream's size, so that no
// field of a damaged container makes an allocation or a read larger than the stream.
HRESULT CIndexedData::OpenReader() {
    HRESULT hr = CurrentPosition(stream_.Get(), &start_);
    if (FAILED(hr)) return hr;
    BYTE header[kIndexedDataHeaderSize];
    hr = ReadAll(stream_.Get(), header, sizeof header);
    if (FAILED(hr)) return E_UNEXPECTED;
    headerSize_ = LoadLE<INT16>(header + 2);
    const int count = LoadLE<INT32>(header + 4);
    blockSize_ = LoadLE<INT32>(header + 8);
    const int dataLength = LoadLE<INT32>(header + 12);
    indexSize_ = LoadLE<INT32>(header + 16);
    if (count < 0 || blockSize_ <= 0 || dataLength < 0) return E_UNEXPECTED;
    dataLength_ = static_cast<DWORD>(dataLength);

    const ULONGLONG baseCount = static_cast<ULONGLONG>(count / blockSize_) + 1;
    const ULONGLONG offsetCount = static_cast<ULONGLONG>(count) + 1;
    const ULONGLONG tablesAt = start_ + kIndexedDataHeaderSize + dataLength_;
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER end = {};
    hr = stream_->Seek(zero, STREAM_SEEK_END, &end);
    if (FAILED(hr)) return hr;
    if (tablesAt + 4 * baseCount + 2 * offsetCount > end.QuadPart) return E_UNEXPECTED;
    // The index size counts the bytes of both tables; another value misplaces whatever
    // follows the container.
    if (indexSize_ < 0 || static_cast<ULONGLONG>(indexSize_) != 4 * baseCount + 2 * offsetCount) return E_UNEXPECTED;
    streamSize_ = end.QuadPart;

    std::vector<INT32> bases(static_cast<size_t>(baseCount));
    std::vector<WORD> offsets(static_cast<size_t>(offsetCount));
    hr = SeekTo(tablesAt);
    if (FAILED(hr)) return hr;
    if (FAILED(ReadAll(stream_.Get(), bases.data(), static_cast<ULONG>(4 * baseCount))) ||
        FAILED(ReadAll(stream_.Get(), offsets.data(), static_cast<ULONG>(2 * offsetCount))))
        return E_UNEXPECTED;

    // Every entry must lie inside the data area, in order.
    starts_.resize(static_cast<size_t>(offsetCount));
    LONGLONG previous = kIndexedDataHeaderSize;
    for (int i = 0; i <= count; ++i) {
        LONGLONG s = static_cast<LONGLONG>(bases[i / blockSize_]) + offsets[i];
        if (s < previous || s > kIndexedDataHeaderSize + static_cast<LONGLONG>(dataLength_)) return E_UNEXPECTED;
        starts_[i] = static_cast<DWORD>(s);
        previous = s;
    }
    blocks_.resize(static_cast<size_t>(count / blockSize_) + 1);
    return S_OK;
}

HRESULT CIndexedData::StartWriter() {
    HRESULT hr = CurrentPosition(stream_.Get(), &start_);
    if (FAILED(hr)) return hr;
    starts_.assign(1, kIndexedDataHeaderSize);
    BYTE header[kIndexedDataHeaderSize] = {};
    StoreLE<INT16>(header, -2);
    StoreLE<INT16>(header + 2, kIndexedDataHeaderSize);
    StoreLE<INT32>(header + 8, kIndexedDataBlockSize);
    hr = WriteAll(stream_.Get(), header, sizeof header);
    return FAILED(hr) ? E_UNEXPECTED : S_OK;
}

HRESULT STDMETHODCALLTYPE CIndexedData::GetCount(int* out) {
    if (!out) return E_POINTER;
    *out = EntryCount();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIndexedData::FindNonEmpty(int index, int* out) {
    if (!out) return E_POINTER;
    *out = -1;
    if (index < 0) return E_INVALIDARG;
    for (int i = index, n = EntryCount(); i < n; ++i) {
        if (EntrySize(i)) {
            *out = i;
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CIndexedData::GetEntrySize(int index, int* outBytes) {
    if (!outBytes) return E_POINTER;
    *outBytes = 0;
    if (index < 0) return E_INVALIDARG;
    if (index < EntryCount()) *outBytes = static_cast<int>(EntrySize(index));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIndexedData::ReadEntry(int index, int offset, void* buf, int len) {
    if (role_ != kReader) return E_UNEXPECTED;
    if (index < 0 || offset < 0 || len < 0) return E_INVALIDARG;
    const LONGLONG size = index < EntryCount() ? EntrySize(index) : 0;
    if (static_cast<LONGLONG>(offset) + len > size) return E_INVALIDARG;
    if (len == 0) return S_OK;
    if (!buf) return E_POINTER;
    const Block& block = blocks_[index / blockSize_];
    if (block.pins) {
        const DWORD blockStart = starts_[(index / blockSize_) * blockSize_];
        memcpy(buf, block.data.get() + (starts_[index] - blockStart) + offset, len);
        return S_OK;
    }
    HRESULT hr = SeekTo(start_ + starts_[index] + offset);
    if (FAILED(hr)) return hr;
    return FAILED(ReadAll(stream_.Get(), buf, static_cast<ULONG>(len))) ? E_UNEXPECTED : S_OK;
}

HRESULT CIndexedData::ReaderTrailingStream(IStream** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (role_ != kReader) return E_UNEXPECTED;
    // A trailing stream outside the stream means a damaged header.
    LONGLONG at = static_cast<LONGLONG>(start_) + headerSize_ + dataLength_ + indexSize_;
    if (at < 0 || static_cast<ULONGLONG>(at) > streamSize_) return E_UNEXPECTED;
    HRESULT hr = SeekTo(static_cast<ULONGLONG>(at));
    if (FAILED(hr)) return hr;
    stream_.CopyTo(out);
    return S_OK;
}

bool CIndexedData::BlockRange(int first, int count, int* firstBlock, int* lastBlock) const {
    const int n = EntryCount();
    if (count == 0 || first >= n) return false;
    const LONGLONG last = std::min<LONGLONG>(static_cast<LONGLONG>(first) + count - 1, n - 1);
    *firstBlock = first / blockSize_;
    *lastBlock = static_cast<int>(last / blockSize_);
    return true;
}

HRESULT CIndexedData::LoadBlock(int block) {
    const int n = EntryCount();
    const DWORD begin = starts_[block * blockSize_];
    const DWORD end = starts_[std::min<LONGLONG>(static_cast<LONGLONG>(block + 1) * blockSize_, n)];
    std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[end - begin + 1]);
    if (!data) return E_OUTOFMEMORY;
    if (end > begin) {
        if (FAILED(SeekTo(start_ + begin)) || FAILED(ReadAll(stream_.Get(), data.get(), end - begin)))
            return E_OUTOFMEMORY;
    }
    blocks_[block].data = std::move(data);
    blocks_[block].pins = 1;
    return S_OK;
}

void CIndexedData::Unpin(int block) {
    Block& b = blocks_[block];
    if (b.pins > 0 && --b.pins == 0) b.data.reset();
}

HRESULT STDMETHODCALLTYPE CIndexedData::LoadEntries(int first, int count) {
    if (role_ != kReader) return E_UNEXPECTED;
    if (first < 0 || count < 0) return E_INVALIDARG;
    int firstBlock = 0, lastBlock = 0;
    if (!BlockRange(first, count, &firstBlock, &lastBlock)) return S_OK;
    for (int k = firstBlock; k <= lastBlock; ++k) {
        if (blocks_[k].pins) {
            ++blocks_[k].pins;
            continue;
        }
        if (FAILED(LoadBlock(k))) {
            for (int j = firstBlock; j < k; ++j) Unpin(j);
            return E_OUTOFMEMORY;
        }
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIndexedData::UnloadEntries(int first, int count) {
    if (role_ != kReader) return E_UNEXPECTED;
    if (first < 0 || count < 0) return E_INVALIDARG;
    int firstBlock = 0, lastBlock = 0;
    if (!BlockRange(first, count, &firstBlock, &lastBlock)) return S_OK;
    for (int k = firstBlock; k <= lastBlock; ++k) Unpin(k);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIndexedData::Write(const void* data, int len, int* written) {
    if (written) *written = 0;
    if (role_ != kWriter) return E_ACCESSDENIED;
    if (finished_) return E_UNEXPECTED;
    if (len < 0 || static_cast<LONGLONG>(dataLength_) + len > 0x7FFFFFFF) return E_INVALIDARG;
    if (len == 0) return S_OK;
    if (!data) return E_POINTER;
    ULONG put = 0;
    HRESULT hr = stream_->Write(data, static_cast<ULONG>(len), &put);
    put = std::min<ULONG>(put, static_cast<ULONG>(len));
    dataLength_ += put;
    if (written) *written = static_cast<int>(put);
    if (FAILED(hr)) return hr;
    return put == static_cast<ULONG>(len) ? S_OK : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE CIndexedData::EndEntry(int index) {
    if (role_ != kWriter) return E_ACCESSDENIED;
    if (finished_) return E_UNEXPECTED;
    const int closed = EntryCount();
    if (index == closed - 1) return S_OK;
    if (index < closed - 1 || index >= maxEntries_) return E_INVALIDARG;
    // Entries closed..index all start where the previous one ended; the next entry starts
    // at the end of the data, which must be within reach of its block's first entry.
    const DWORD start = starts_.back();
    const DWORD end = kIndexedDataHeaderSize + dataLength_;
    const LONGLONG next = static_cast<LONGLONG>(index) + 1;
    if (next % blockSize_) {
        const LONGLONG blockFirst = next / blockSize_ * blockSize_;
        const DWORD base = blockFirst < closed ? starts_[static_cast<size_t>(blockFirst)] : start;
        if (end - base > kIndexedDataMaxOffset) return E_INVALIDARG;
    }
    try {
        starts_.resize(static_cast<size_t>(index) + 1, start);
        starts_.push_back(end);
    } catch (const std::bad_alloc&) {
        starts_.resize(static_cast<size_t>(closed) + 1);
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CIndexedData::WriteTables() {
    const int n = EntryCount();
    const int baseCount = n / blockSize_ + 1;
    indexSize_ = 4 * baseCount + 2 * (n + 1);
    std::vector<BYTE> tables(static_cast<size_t>(indexSize_));
    for (int k = 0; k < baseCount; ++k) StoreLE<INT32>(&tables[4 * k], static_cast<INT32>(starts_[k * blockSize_]));
    BYTE* offsets = &tables[4 * baseCount];
    for (int i = 0; i <= n; ++i)
        StoreLE<WORD>(offsets + 2 * i, static_cast<WORD>(starts_[i] - starts_[i / blockSize_ * blockSize_]));

    BYTE header[kIndexedDataHeaderSize];
    StoreLE<INT16>(header, -2);
    StoreLE<INT16>(header + 2, kIndexedDataHeaderSize);
    StoreLE<INT32>(header + 4, n);
    StoreLE<INT32>(header + 8, blockSize_);
    StoreLE<INT32>(header + 12, static_cast<INT32>(dataLength_));
    StoreLE<INT32>(header + 16, indexSize_);

    const ULONGLONG tablesAt = start_ + kIndexedDataHeaderSize + dataLength_;
    if (FAILED(SeekTo(tablesAt)) || FAILED(WriteAll(stream_.Get(), tables.data(), static_cast<ULONG>(tables.size()))) ||
        FAILED(SeekTo(start_)) || FAILED(WriteAll(stream_.Get(), header, sizeof header)) ||
        FAILED(SeekTo(tablesAt + indexSize_)))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIndexedData::Finish() {
    if (role_ != kWriter) return E_ACCESSDENIED;
    if (finished_) return finishResult_;
    finished_ = true;
    try {
        finishResult_ = WriteTables();
    } catch (const std::bad_alloc&) {
        finishResult_ = E_OUTOFMEMORY;
    }
    return finishResult_;
}

HRESULT CIndexedData::WriterTrailingStream(IStream** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (role_ != kWriter) return E_ACCESSDENIED;
    HRESULT hr = Finish();
    if (FAILED(hr)) return hr;
    // The stream is handed out at the container's end, whoever moved it since.
    hr = SeekTo(start_ + kIndexedDataHeaderSize + dataLength_ + indexSize_);
    if (FAILED(hr)) return hr;
    stream_.CopyTo(out);
    return S_OK;
}
