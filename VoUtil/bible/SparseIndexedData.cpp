#include "SparseIndexedData.h"
#include "IndexedData.h"
#include "PackedIO.h"
#include <algorithm>
#include <new>

CSparseIndexedData::CSparseIndexedData(IUnknown* outer, HRESULT* result, IStream* stream, Role role,
                                       int entryCount)
    : CUnknown(outer, result), role_(role) {
    if (FAILED(*result)) return;
    if (!stream) {
        *result = E_INVALIDARG;
        return;
    }
    if (role == kReader) {
        try {
            *result = OpenReader(stream);
        } catch (const std::bad_alloc&) {
            *result = E_OUTOFMEMORY;
        }
    } else {
        *result = CreateObjectAs<CIndexedData>(IID_ICreateIndexedData, writer_.Put(), stream,
                                               CIndexedData::kWriter, entryCount);
    }
    if (FAILED(*result)) finished_ = true;
}

CSparseIndexedData::~CSparseIndexedData() {
    if (role_ == kWriter && !finished_) Finish();
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IIndexedData)) return GetInterface(static_cast<IIndexedData*>(this), out);
    if (IsEqualIID(iid, IID_ICreateIndexedData))
        return GetInterface(static_cast<ICreateIndexedData*>(this), out);
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

HRESULT CSparseIndexedData::OpenReader(IStream* stream) {
    HRESULT hr = CreateObjectAs<CIndexedData>(IID_IIndexedData, reader_.Put(), stream, CIndexedData::kReader);
    if (FAILED(hr)) return hr;
    int stored = 0;
    reader_->GetCount(&stored);
    // The dense reader has checked its own tables against the stream, which bounds this
    // table too (its offsets take two bytes per entry).
    indices_.resize(static_cast<size_t>(stored));
    ComPtr<IStream> trailing;
    hr = reader_->GetTrailingStream(trailing.Put());
    if (FAILED(hr)) return hr;
    if (stored && FAILED(ReadAll(trailing.Get(), indices_.data(), static_cast<ULONG>(2 * stored))))
        return E_UNEXPECTED;
    for (int i = 1; i < stored; ++i)
        if (indices_[i] <= indices_[i - 1]) return E_UNEXPECTED;
    return S_OK;
}

// Plain integer order: the indices use all 16 bits, so a signed 16-bit difference would
// misorder indices more than 32,767 apart.
int CSparseIndexedData::Compare(int key, int position) {
    int stored = indices_[position];
    return key < stored ? -1 : key > stored ? 1 : 0;
}

int CSparseIndexedData::StoredPosition(int index) {
    int position = 0;
    return BinarySearchTable(&position, index, this, 0, StoredCount()) ? position : -1;
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::GetCount(int* out) {
    if (!out) return E_POINTER;
    *out = LogicalCount();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::FindNonEmpty(int index, int* out) {
    if (!out) return E_POINTER;
    *out = -1;
    if (index < 0) return E_INVALIDARG;
    int position = 0;
    BinarySearchTable(&position, index, this, 0, StoredCount());
    if (position >= StoredCount()) return S_FALSE;
    *out = indices_[position];
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::GetEntrySize(int index, int* outBytes) {
    if (!outBytes) return E_POINTER;
    *outBytes = 0;
    if (index < 0) return E_INVALIDARG;
    int position = StoredPosition(index);
    if (position < 0) return S_OK;
    if (reader_) return reader_->GetEntrySize(position, outBytes);
    ComPtr<IIndexedData> written;
    if (SUCCEEDED(writer_.As(IID_IIndexedData, &written))) return written->GetEntrySize(position, outBytes);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::ReadEntry(int index, int offset, void* buf, int len) {
    if (role_ != kReader) return E_UNEXPECTED;
    if (index < 0 || offset < 0 || len < 0) return E_INVALIDARG;
    int position = StoredPosition(index);
    if (position < 0) return offset == 0 && len == 0 ? S_OK : E_INVALIDARG;
    return reader_->ReadEntry(position, offset, buf, len);
}

// The inner container's trailing stream moved past the index table, handed out.
HRESULT CSparseIndexedData::PastIndexTable(ComPtr<IStream>& trailing, IStream** out) {
    LARGE_INTEGER skip;
    skip.QuadPart = 2LL * StoredCount();
    HRESULT hr = trailing->Seek(skip, STREAM_SEEK_CUR, nullptr);
    if (FAILED(hr)) return hr;
    *out = trailing.Detach();
    return S_OK;
}

HRESULT CSparseIndexedData::ReaderTrailingStream(IStream** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (role_ != kReader) return E_UNEXPECTED;
    ComPtr<IStream> trailing;
    HRESULT hr = reader_->GetTrailingStream(trailing.Put());
    if (FAILED(hr)) return hr;
    return PastIndexTable(trailing, out);
}

bool CSparseIndexedData::PositionRange(int first, int count, int* position, int* positions) {
    const int stored = StoredCount();
    int from = 0, to = 0;
    BinarySearchTable(&from, first, this, 0, stored);
    if (from >= stored) return false;
    const int last = static_cast<int>(std::min<LONGLONG>(static_cast<LONGLONG>(first) + count - 1, kSparseMaxIndex));
    BinarySearchTable(&to, last, this, 0, stored);
    if (to >= stored) to = stored - 1;
    *position = from;
    *positions = to - from + 1;
    return true;
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::LoadEntries(int first, int count) {
    if (role_ != kReader) return E_UNEXPECTED;
    if (first < 0 || count < 0) return E_INVALIDARG;
    if (count == 0) return S_OK;
    int position = 0, positions = 0;
    if (!PositionRange(first, count, &position, &positions)) return S_FALSE;
    return reader_->LoadEntries(position, positions);
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::UnloadEntries(int first, int count) {
    if (role_ != kReader) return E_UNEXPECTED;
    if (first < 0 || count < 0) return E_INVALIDARG;
    if (count == 0) return S_OK;
    int position = 0, positions = 0;
    if (!PositionRange(first, count, &position, &positions)) return S_FALSE;
    return reader_->UnloadEntries(position, positions);
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::Write(const void* data, int len, int* written) {
    if (written) *written = 0;
    if (role_ != kWriter) return E_ACCESSDENIED;
    return writer_->Write(data, len, written);
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::EndEntry(int index) {
    if (role_ != kWriter) return E_ACCESSDENIED;
    if (finished_) return E_UNEXPECTED;
    // An index that does not fit 16 bits is refused rather than cut to another index.
    if (index < LogicalCount() || index > kSparseMaxIndex) return E_INVALIDARG;
    try {
        indices_.reserve(indices_.size() + 1);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    // The inner writer refuses a stored entry beyond the count the writer was made for.
    HRESULT hr = writer_->EndEntry(StoredCount());
    if (FAILED(hr)) return hr;
    indices_.push_back(static_cast<WORD>(index));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSparseIndexedData::Finish() {
    if (role_ != kWriter) return E_ACCESSDENIED;
    if (finished_) return finishResult_;
    finished_ = true;
    ComPtr<IStream> trailing;
    finishResult_ = writer_->GetTrailingStream(trailing.Put());
    if (SUCCEEDED(finishResult_) && !indices_.empty() &&
        FAILED(WriteAll(trailing.Get(), indices_.data(), static_cast<ULONG>(2 * indices_.size()))))
        finishResult_ = E_OUTOFMEMORY;
    return finishResult_;
}

HRESULT CSparseIndexedData::WriterTrailingStream(IStream** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (role_ != kWriter) return E_ACCESSDENIED;
    HRESULT hr = Finish();
    if (FAILED(hr)) return hr;
    ComPtr<IStream> trailing;
    hr = writer_->GetTrailingStream(trailing.Put());
    if (FAILED(hr)) return hr;
    return PastIndexTable(trailing, out);
}
