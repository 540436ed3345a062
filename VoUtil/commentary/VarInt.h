// Signed var-ints of the commentary files (7-bit groups, most significant first, bit 7 =
// "more", bit 6 of the first group the sign), a bounded reader over a byte buffer, and
// whole-stream reads and writes. Every short read or write answers E_FAIL.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <string>

// Longest var-int form of a 32-bit value.
constexpr unsigned kMaxVarIntBytes = 5;

// Encodes value into buf (room for kMaxVarIntBytes) and answers the byte count.
unsigned EncodeVarInt(int value, BYTE* buf);
// Appends the var-int form of value; may throw std::bad_alloc.
void AppendVarInt(std::string& out, int value);

// Reads the bytes of a buffer front to back and never past its end.
class ByteReader {
public:
    ByteReader(const void* data, size_t size)
        : p_(static_cast<const BYTE*>(data)), end_(p_ + size) {}

    // One var-int; E_FAIL when it runs past the end or is longer than five bytes.
    HRESULT VarInt(int* out);
    HRESULT Byte(BYTE* out);
    // n bytes in place: *out points into the buffer. E_FAIL when fewer remain.
    HRESULT Bytes(size_t n, const BYTE** out);

    size_t Remaining() const { return static_cast<size_t>(end_ - p_); }
    const BYTE* Cursor() const { return p_; }
    // Moves past bytes consumed by a reader that works on Cursor() itself.
    void Advance(size_t n) { p_ += n < Remaining() ? n : Remaining(); }

private:
    const BYTE* p_;
    const BYTE* end_;
};

// Everything the stream holds from its start. A stream larger than maxSize answers E_FAIL
// before anything is allocated (the file is not trusted).
HRESULT ReadWholeStream(IStream* stream, ULONG maxSize, std::string* out);
// Replaces the stream's content by bytes: writes from the start and cuts it after them.
HRESULT ReplaceStreamContent(IStream* stream, const std::string& bytes);

// Runs f, turning an allocation failure into E_OUTOFMEMORY, so that no C++ exception leaves
// an interface method.
template <class F>
HRESULT NoThrow(F&& f) {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
