// Helpers for the text-table tests: hand-made table streams, tables built by the writer
// and loaded into the server, and reading a text back whole.
#pragma once
#include <string>
#include <vector>
#include "StreamBuilder.h"
#include "TextTableWriter.h"

// The part of a text-table stream after its word list.
struct TableParts {
    std::vector<std::string> phrases;
    std::vector<unsigned> modes;
    std::vector<unsigned> oneByte;  // tokens of the codes B..254
    std::vector<std::string> streams;

    std::string Bytes(const std::string& wordList) const {
        StreamBuilder b;
        b.Raw(wordList).U32(static_cast<unsigned>(phrases.size()));
        std::string ph;
        for (const std::string& p : phrases) ph += p + std::string(1, '\0');
        b.Block(ph);
        for (unsigned m : modes) b.U8(m);
        for (unsigned t : oneByte) b.U16(t);
        b.U32(static_cast<unsigned>(streams.size()));
        std::string lengths, data;
        for (const std::string& s : streams) {
            unsigned n = static_cast<unsigned>(s.size());
            if (n >= 128) lengths.push_back(static_cast<char>(0x80 | (n >> 7)));
            lengths.push_back(static_cast<char>(n & 0x7F));
            data += s;
        }
        b.Block(lengths).Block(data);
        return b.Bytes();
    }
};

inline HRESULT LoadTable(const RyServer& server, const std::string& bytes, ComPtr<IRyTextTab>* out) {
    return LoadFromBytes(server, CLSID_RyTextTab, bytes, out, IID_IRyTextTab);
}

inline std::string BuildTable(const std::vector<std::string>& texts) {
    TextTableWriter w;
    for (const std::string& t : texts) w.AddText(t);
    std::string table, words, error;
    EXPECT_TRUE(w.Build(&table, &words, &error)) << error;
    return table;
}

// Text i as the table rebuilds it, with any zero bytes it holds.
inline std::string ReadText(IRyTextTab* tab, long i) {
    long len = 0;
    if (tab->get_TextLength(i, &len) != S_OK || len <= 0) return "<no length>";
    std::string buf(static_cast<size_t>(len), '\x7F');
    if (tab->get_Text(i, len, &buf[0]) != S_OK) return "<no text>";
    if (buf[static_cast<size_t>(len - 1)] != 0) return "<not terminated>";
    buf.resize(static_cast<size_t>(len - 1));
    return buf;
}

// The texts a query finds, or {-1 - hr} when it fails.
inline std::vector<long> FindTexts(IRyTextTab* tab, const char* query, long begin = 0, long end = -1,
                                   HRESULT* result = nullptr) {
    long n = -1;
    long* idx = reinterpret_cast<long*>(1);
    HRESULT hr = tab->Find(begin, end, const_cast<LPSTR>(query), &n, &idx);
    if (result) *result = hr;
    std::vector<long> out;
    if (hr == S_OK || hr == S_FALSE) {
        EXPECT_EQ(hr == S_OK && n > 0, idx != nullptr) << query;
        if (idx) out.assign(idx, idx + n);
        CoTaskMemFree(idx);
    } else {
        EXPECT_EQ(0, n) << query;
        EXPECT_EQ(nullptr, idx) << query;
    }
    return out;
}
