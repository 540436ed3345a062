// StreamBuilder: hand-made word-list and text-table streams for the tests, byte by byte,
// and the loading of such bytes into the server's objects.
#pragma once
#include <string>
#include <vector>
#include "RyServer.h"
#include "TestFiles.h"

class StreamBuilder {
public:
    StreamBuilder& U8(unsigned v) { s_.push_back(static_cast<char>(v)); return *this; }
    StreamBuilder& U16(unsigned v) { return U8(v & 0xFF).U8(v >> 8); }
    StreamBuilder& U32(unsigned v) { return U16(v & 0xFFFF).U16(v >> 16); }
    StreamBuilder& Raw(const std::string& b) { s_ += b; return *this; }
    // A uint32 byte count, then the bytes.
    StreamBuilder& Block(const std::string& b) { return U32(static_cast<unsigned>(b.size())).Raw(b); }
    const std::string& Bytes() const { return s_; }

    // A word list in "StdLang" without endings: the words' records as given, one length
    // byte each.
    static std::string WordList(const std::vector<std::string>& records) {
        StreamBuilder b;
        b.U8(7).Raw("StdLang").U8(0).U32(static_cast<unsigned>(records.size()));
        std::string lengths, data;
        for (const std::string& r : records) {
            lengths.push_back(static_cast<char>(r.size()));
            data += r;
        }
        b.Block(lengths).Block(data);
        return b.Bytes();
    }

private:
    std::string s_;
};

// The byte whose unused index is u ("StdLang": the code bytes of prefixes and endings).
inline char CodeByte(long u) {
    // Bytes 1..31 have no letter group in Windows-1252 and come first among the unused
    // bytes, so unused index u (below 31) is byte u + 1.
    return static_cast<char>(1 + u);
}

template <class I>
HRESULT LoadFromBytes(const RyServer& server, REFCLSID clsid, const std::string& bytes, ComPtr<I>* out, REFIID iid) {
    ComPtr<IClassFactory> factory;
    HRESULT hr = server.GetClassObject(clsid, IID_IClassFactory, factory.PutVoid());
    if (FAILED(hr)) return hr;
    ComPtr<IPersistStream> persist;
    if (FAILED(hr = factory->CreateInstance(nullptr, IID_IPersistStream, persist.PutVoid()))) return hr;
    ComPtr<IStream> stream = MemoryStream(bytes);
    hr = persist->Load(stream.Get());
    if (FAILED(hr)) return hr;
    return persist->QueryInterface(iid, out->PutVoid());
}
