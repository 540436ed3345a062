// IIndexedData and ICreateIndexedData: reading and writing the indexed-data container, a
// numbered list of byte strings followed by a trailing stream. The container lies under
// bible files, reference libraries, reference lists and conversion tables.
#pragma once
#include <windows.h>
#include <objidl.h>

// {25828080-25F1-11D0-9680-444553540000}
inline const IID IID_IIndexedData = {0x25828080, 0x25F1, 0x11D0, {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {25828081-25F1-11D0-9680-444553540000}
inline const IID IID_ICreateIndexedData = {0x25828081, 0x25F1, 0x11D0,
                                           {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

struct IIndexedData : public IUnknown {
    // Number of entries (the logical count for the sparse form).
    virtual HRESULT STDMETHODCALLTYPE GetCount(int* out) = 0;
    // The first non-empty entry at or after index; -1 and S_FALSE when there is none.
    virtual HRESULT STDMETHODCALLTYPE FindNonEmpty(int index, int* out) = 0;
    // Size of an entry in bytes; 0 for an index at or past the end.
    virtual HRESULT STDMETHODCALLTYPE GetEntrySize(int index, int* outBytes) = 0;
    // Copies len bytes from offset within the entry.
    virtual HRESULT STDMETHODCALLTYPE ReadEntry(int index, int offset, void* buf, int len) = 0;
    // The shared stream, positioned where the data after the container begins.
    virtual HRESULT STDMETHODCALLTYPE GetTrailingStream(IStream** out) = 0;
    // Pins the blocks holding entries first..first+count-1 in memory; pairs with UnloadEntries.
    virtual HRESULT STDMETHODCALLTYPE LoadEntries(int first, int count) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnloadEntries(int first, int count) = 0;
};

struct ICreateIndexedData : public IUnknown {
    // Appends bytes to the entry that the next EndEntry closes.
    virtual HRESULT STDMETHODCALLTYPE Write(const void* data, int len, int* written) = 0;
    // Closes entry index with the bytes written since the previous EndEntry; skipped
    // indices become empty entries.
    virtual HRESULT STDMETHODCALLTYPE EndEntry(int index) = 0;
    // Finishes the container and hands out the stream at its end, for what follows it.
    virtual HRESULT STDMETHODCALLTYPE GetTrailingStream(IStream** out) = 0;
    // Writes the tables and the final header; only the first call does anything.
    virtual HRESULT STDMETHODCALLTYPE Finish() = 0;
};

// Both interfaces have a GetTrailingStream of the same shape with different meanings; an
// object implementing both derives from these parts and defines the two under other names.
struct IndexedDataReadPart : public IIndexedData {
    HRESULT STDMETHODCALLTYPE GetTrailingStream(IStream** out) final { return ReaderTrailingStream(out); }
    virtual HRESULT ReaderTrailingStream(IStream** out) = 0;
};
struct IndexedDataWritePart : public ICreateIndexedData {
    HRESULT STDMETHODCALLTYPE GetTrailingStream(IStream** out) final { return WriterTrailingStream(out); }
    virtual HRESULT WriterTrailingStream(IStream** out) = 0;
};
