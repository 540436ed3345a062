// The indexed-data container: dense and sparse round trips, the stream layout, the
// writer's rules, block pinning, and readers given damaged containers.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include "VoUtil.h"
#include "Unknown.h"
#include "TestFiles.h"
#include "TestStreams.h"

namespace {

using Entries = std::map<int, std::string>;  // index -> bytes; absent indices are empty

// Writes entries into a fresh memory stream (the form byte first) and answers its bytes.
std::string WriteContainer(const Entries& entries, bool sparse, int entryCount, const std::string& trailer = "") {
    ComPtr<IStream> s = MemoryStream();
    ComPtr<ICreateIndexedData> w;
    EXPECT_EQ(S_OK, CreateIndexedDataOnStream(s.Get(), sparse, entryCount, w.Put()));
    for (const auto& e : entries) {
        int written = -1;
        EXPECT_EQ(S_OK, w->Write(e.second.data(), static_cast<int>(e.second.size()), &written));
        EXPECT_EQ(static_cast<int>(e.second.size()), written);
        EXPECT_EQ(S_OK, w->EndEntry(e.first));
    }
    ComPtr<IStream> trailing;
    EXPECT_EQ(S_OK, w->GetTrailingStream(trailing.Put()));
    if (!trailer.empty()) {
        EXPECT_EQ(S_OK, trailing->Write(trailer.data(), static_cast<ULONG>(trailer.size()), nullptr));
    }
    return StreamBytes(s.Get());
}

ComPtr<IIndexedData> Open(const std::string& bytes, HRESULT expected = S_OK) {
    ComPtr<IIndexedData> r;
    EXPECT_EQ(expected, OpenIndexedDataOnStream(MemoryStream(bytes).Get(), r.Put()));
    return r;
}

std::string ReadEntry(IIndexedData* r, int index) {
    int size = -1;
    EXPECT_EQ(S_OK, r->GetEntrySize(index, &size));
    std::string out(static_cast<size_t>(size), '\0');
    EXPECT_EQ(S_OK, r->ReadEntry(index, 0, size ? &out[0] : nullptr, size));
    return out;
}

// Every logical index reads back as written, and FindNonEmpty walks exactly the entries.
void ExpectEntries(IIndexedData* r, const Entries& entries, int count) {
    int n = -1;
    ASSERT_EQ(S_OK, r->GetCount(&n));
    ASSERT_EQ(count, n);
    for (int i = 0; i < count; ++i) {
        auto it = entries.find(i);
        std::string want = it == entries.end() ? std::string() : it->second;
        ASSERT_EQ(want, ReadEntry(r, i)) << "entry " << i;
    }
    int at = 0, next = -1;
    std::vector<int> walked, expected;
    while (at < count && r->FindNonEmpty(at, &next) == S_OK) {
        walked.push_back(next);
        at = next + 1;
    }
    for (const auto& e : entries)
        if (!e.second.empty()) expected.push_back(e.first);
    EXPECT_EQ(expected, walked);
}

Entries RandomEntries(unsigned seed, int count, int maxSize, int emptyOneIn) {
    TestRandom rnd(seed);
    Entries e;
    for (int i = 0; i < count; ++i) {
        if (emptyOneIn && rnd.Below(emptyOneIn) == 0) continue;
        std::string bytes(1 + rnd.Below(maxSize), '\0');
        for (char& c : bytes) c = static_cast<char>(rnd.Next());
        e[i] = bytes;
    }
    return e;
}

TEST(IndexedData, DenseRoundTripsAtBlockEdges) {
    const int sizes[] = {0, 1, 255, 256, 257, 513, 3000, 100000};
    for (int count : sizes) {
        SCOPED_TRACE(count);
        Entries entries = RandomEntries(count + 7, count, count > 10000 ? 24 : 200, 5);
        // The last entry closed fixes N; keep it at count - 1 even when it came out empty.
        if (count) entries[count - 1] = "end";
        std::string bytes = WriteContainer(entries, false, count);
        ComPtr<IIndexedData> r = Open(bytes);
        ASSERT_TRUE(r);
        ExpectEntries(r.Get(), entries, count);
        // The same through pinned blocks.
        ASSERT_EQ(S_OK, r->LoadEntries(0, count));
        ExpectEntries(r.Get(), entries, count);
        EXPECT_EQ(S_OK, r->UnloadEntries(0, count));
    }
}

TEST(IndexedData, SparseRoundTripsOverTheWholeIndexRange) {
    struct Case { int seed, stored; } cases[] = {{1, 0}, {2, 1}, {3, 255}, {4, 256}, {5, 257}, {6, 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TestRandom rnd(c.seed);
        Entries entries;
        // Spread the indices over 0..65535, both halves of the 16-bit range.
        while (static_cast<int>(entries.size()) < c.stored)
            entries[rnd.Below(65536)] = std::string(1 + rnd.Below(40), static_cast<char>('a' + rnd.Below(26)));
        if (c.stored >= 255) entries[65535] = "last", entries[0] = "first";
        std::string bytes = WriteContainer(entries, true, static_cast<int>(entries.size()), "after");
        ComPtr<IIndexedData> r = Open(bytes);
        ASSERT_TRUE(r);
        int count = entries.empty() ? 0 : entries.rbegin()->first + 1;
        ExpectEntries(r.Get(), entries, count);
        ComPtr<IStream> t;
        ASSERT_EQ(S_OK, r->GetTrailingStream(t.Put()));
        char after[5];
        ASSERT_EQ(S_OK, t->Read(after, 5, nullptr));
        EXPECT_EQ("after", std::string(after, 5));
    }
}

TEST(IndexedData, EmptyContainerLayout) {
    std::string bytes = WriteContainer({}, false, 0, "T");
    // Form byte, header, one block base (20), one offset (0), then the trailing stream at P + 26.
    const char expected[] = "\x00"
                            "\xFE\xFF\x14\x00" "\x00\x00\x00\x00" "\x00\x01\x00\x00" "\x00\x00\x00\x00" "\x06\x00\x00\x00"
                            "\x14\x00\x00\x00" "\x00\x00" "T";
    EXPECT_EQ(std::string(expected, sizeof expected - 1), bytes);
    ComPtr<IIndexedData> r = Open(bytes);
    int n = -1, next = 7, size = 7;
    EXPECT_EQ(S_OK, r->GetCount(&n));
    EXPECT_EQ(0, n);
    EXPECT_EQ(S_FALSE, r->FindNonEmpty(0, &next));
    EXPECT_EQ(-1, next);
    EXPECT_EQ(S_OK, r->GetEntrySize(0, &size));
    EXPECT_EQ(0, size);
    EXPECT_EQ(E_INVALIDARG, r->GetEntrySize(-1, &size));
}

TEST(IndexedData, SecondBlockStartsAtItsBase) {
    Entries entries;
    for (int i = 0; i < 300; ++i) entries[i] = std::string(3, static_cast<char>(i));
    std::string bytes = WriteContainer(entries, false, 300);
    // Data 900 bytes; bases at 1 + 20 + 900: base[0] = 20, base[1] = 20 + 256 * 3.
    const size_t tables = 1 + 20 + 900;
    INT32 base1 = 0;
    WORD offset256 = 1, offset257 = 0;
    memcpy(&base1, &bytes[tables + 4], 4);
    memcpy(&offset256, &bytes[tables + 8 + 2 * 256], 2);
    memcpy(&offset257, &bytes[tables + 8 + 2 * 257], 2);
    EXPECT_EQ(20 + 256 * 3, base1);
    EXPECT_EQ(0, offset256);
    EXPECT_EQ(3, offset257);
    INT32 x = 0;
    memcpy(&x, &bytes[1 + 16], 4);
    EXPECT_EQ(4 * 2 + 2 * 301, x);
}

TEST(IndexedData, WriterClosesEntriesInRisingOrder) {
    ComPtr<IStream> s = MemoryStream();
    ComPtr<ICreateIndexedData> w;
    ASSERT_EQ(S_OK, CreateIndexedDataOnStream(s.Get(), FALSE, 10, w.Put()));
    EXPECT_EQ(S_OK, w->Write("ab", 2, nullptr));
    EXPECT_EQ(S_OK, w->EndEntry(2));   // 0 and 1 become empty
    EXPECT_EQ(S_OK, w->Write("cd", 2, nullptr));
    EXPECT_EQ(S_OK, w->EndEntry(2));   // repeat: nothing changes, "cd" waits for the next entry
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(1));
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(10));
    EXPECT_EQ(S_OK, w->EndEntry(5));   // 3 and 4 empty, 5 = "cd"
    EXPECT_EQ(E_INVALIDARG, w->Write("x", -1, nullptr));
    EXPECT_EQ(S_OK, w->Write("zz", 2, nullptr));  // never closed: not an entry
    EXPECT_EQ(S_OK, w->Finish());
    EXPECT_EQ(S_OK, w->Finish());
    EXPECT_EQ(E_UNEXPECTED, w->Write("y", 1, nullptr));
    EXPECT_EQ(E_UNEXPECTED, w->EndEntry(7));

    // A writer never reads.
    ComPtr<IIndexedData> asReader;
    ASSERT_EQ(S_OK, w.As(IID_IIndexedData, &asReader));
    char c;
    ComPtr<IStream> t;
    EXPECT_EQ(E_UNEXPECTED, asReader->ReadEntry(2, 0, &c, 1));
    EXPECT_EQ(E_UNEXPECTED, asReader->GetTrailingStream(t.Put()));
    EXPECT_EQ(E_UNEXPECTED, asReader->LoadEntries(0, 1));
    w.Reset();
    asReader.Reset();

    ComPtr<IStream> copy = MemoryStream(StreamBytes(s.Get()));
    ComPtr<IIndexedData> r;
    ASSERT_EQ(S_OK, OpenIndexedDataOnStream(copy.Get(), r.Put()));
    ExpectEntries(r.Get(), {{2, "ab"}, {5, "cd"}}, 6);
    int next = 0;
    EXPECT_EQ(S_OK, r->FindNonEmpty(3, &next));
    EXPECT_EQ(5, next);
    EXPECT_EQ(S_FALSE, r->FindNonEmpty(6, &next));
    EXPECT_EQ(-1, next);

    // A reader refuses writing.
    ComPtr<ICreateIndexedData> asWriter;
    ASSERT_EQ(S_OK, r.As(IID_ICreateIndexedData, &asWriter));
    EXPECT_EQ(E_ACCESSDENIED, asWriter->Write("x", 1, nullptr));
    EXPECT_EQ(E_ACCESSDENIED, asWriter->EndEntry(9));
    EXPECT_EQ(E_ACCESSDENIED, asWriter->Finish());

    // Reads outside an entry.
    char buf[4];
    EXPECT_EQ(S_OK, r->ReadEntry(2, 1, buf, 1));
    EXPECT_EQ('b', buf[0]);
    EXPECT_EQ(E_INVALIDARG, r->ReadEntry(2, 1, buf, 2));
    EXPECT_EQ(E_INVALIDARG, r->ReadEntry(2, -1, buf, 1));
    EXPECT_EQ(E_INVALIDARG, r->ReadEntry(6, 0, buf, 1));
    EXPECT_EQ(S_OK, r->ReadEntry(0, 0, buf, 0));
}

TEST(IndexedData, EntryOutOfReachOfItsBlockIsRefused) {
    ComPtr<IStream> s = MemoryStream();
    ComPtr<ICreateIndexedData> w;
    ASSERT_EQ(S_OK, CreateIndexedDataOnStream(s.Get(), FALSE, 1000, w.Put()));
    std::string big(65535, 'x');
    EXPECT_EQ(S_OK, w->Write(big.data(), 65535, nullptr));
    EXPECT_EQ(S_OK, w->EndEntry(0));  // entry 1 starts 65,535 past the block: just fits
    EXPECT_EQ(S_OK, w->Write("y", 1, nullptr));
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(1));  // entry 2 would start 65,536 past it
    // The last entry of a block may be of any size: the next starts a block of its own.
    EXPECT_EQ(S_OK, w->EndEntry(255));
    EXPECT_EQ(S_OK, w->Write(big.data(), 65535, nullptr));
    EXPECT_EQ(S_OK, w->Write("z", 1, nullptr));
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(256));
    EXPECT_EQ(S_OK, w->EndEntry(511));
    EXPECT_EQ(S_OK, w->Finish());
    w.Reset();

    ComPtr<IIndexedData> r = Open(StreamBytes(s.Get()));
    ASSERT_TRUE(r);
    ExpectEntries(r.Get(), {{0, big}, {255, "y"}, {511, big + "z"}}, 512);
}

TEST(IndexedData, PinnedBlocksAreReadFromMemory) {
    Entries entries = RandomEntries(11, 700, 50, 0);
    ComPtr<IStream> mem = MemoryStream(WriteContainer(entries, false, 700));
    CountingStream counting(mem.Get());
    {
        ComPtr<IIndexedData> r;
        ASSERT_EQ(S_OK, OpenIndexedDataOnStream(&counting, r.Put()));
        EXPECT_EQ(1, counting.refs);  // the container holds one reference to its stream

        // Entries 250..260 lie in blocks 0 and 1; pinning reads each block once.
        ASSERT_EQ(S_OK, r->LoadEntries(250, 11));
        ASSERT_EQ(S_OK, r->LoadEntries(0, 256));  // block 0 again: no read
        int calls = counting.Calls();
        for (int i = 0; i < 512; ++i) ASSERT_EQ(entries[i], ReadEntry(r.Get(), i));
        EXPECT_EQ(calls, counting.Calls());

        // Block 0 has two pins: one unload keeps it.
        ASSERT_EQ(S_OK, r->UnloadEntries(0, 256));
        ReadEntry(r.Get(), 3);
        EXPECT_EQ(calls, counting.Calls());
        ASSERT_EQ(S_OK, r->UnloadEntries(250, 11));
        ReadEntry(r.Get(), 3);
        EXPECT_LT(calls, counting.Calls());

        // Ranges past the end touch nothing; bad arguments are refused.
        EXPECT_EQ(S_OK, r->LoadEntries(700, 5));
        EXPECT_EQ(S_OK, r->LoadEntries(600, 0x7FFFFFFF));
        EXPECT_EQ(S_OK, r->UnloadEntries(600, 0x7FFFFFFF));
        EXPECT_EQ(E_INVALIDARG, r->LoadEntries(-1, 2));
        EXPECT_EQ(E_INVALIDARG, r->LoadEntries(0, -2));
    }
    EXPECT_EQ(0, counting.refs);
}

TEST(IndexedData, SparseLookUps) {
    std::string bytes = WriteContainer({{3, "three"}, {10, "ten"}}, true, 2, "rest");
    ComPtr<IIndexedData> r = Open(bytes);
    ASSERT_TRUE(r);
    int v = -1;
    EXPECT_EQ(S_OK, r->GetCount(&v));
    EXPECT_EQ(11, v);
    EXPECT_EQ(E_POINTER, r->GetCount(nullptr));
    EXPECT_EQ(S_OK, r->FindNonEmpty(4, &v));
    EXPECT_EQ(10, v);
    EXPECT_EQ(S_OK, r->FindNonEmpty(0, &v));
    EXPECT_EQ(3, v);
    EXPECT_EQ(S_FALSE, r->FindNonEmpty(11, &v));
    EXPECT_EQ(-1, v);
    EXPECT_EQ(S_OK, r->GetEntrySize(5, &v));
    EXPECT_EQ(0, v);
    EXPECT_EQ(S_OK, r->GetEntrySize(10, &v));
    EXPECT_EQ(3, v);
    char buf[8];
    EXPECT_EQ(S_OK, r->ReadEntry(5, 0, buf, 0));
    EXPECT_EQ(E_INVALIDARG, r->ReadEntry(5, 0, buf, 1));
    EXPECT_EQ(S_OK, r->ReadEntry(10, 1, buf, 2));
    EXPECT_EQ("en", std::string(buf, 2));
    EXPECT_EQ(S_OK, r->LoadEntries(4, 3));   // maps to stored entry 10
    EXPECT_EQ(S_OK, r->UnloadEntries(4, 3));
    EXPECT_EQ(S_FALSE, r->LoadEntries(11, 5));
    EXPECT_EQ(S_FALSE, r->UnloadEntries(11, 5));
    ComPtr<IStream> t;
    ASSERT_EQ(S_OK, r->GetTrailingStream(t.Put()));
    char rest[4];
    ASSERT_EQ(S_OK, t->Read(rest, 4, nullptr));
    EXPECT_EQ("rest", std::string(rest, 4));
}

TEST(IndexedData, SparseWriterKeepsItsPromises) {
    ComPtr<IStream> s = MemoryStream();
    ComPtr<ICreateIndexedData> w;
    ASSERT_EQ(S_OK, CreateIndexedDataOnStream(s.Get(), TRUE, 2, w.Put()));
    EXPECT_EQ(S_OK, w->Write("a", 1, nullptr));
    EXPECT_EQ(S_OK, w->EndEntry(40000));
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(40000));  // not above the last stored index
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(39999));
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(65536));  // would not fit 16 bits
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(-1));
    EXPECT_EQ(S_OK, w->Write("b", 1, nullptr));
    EXPECT_EQ(S_OK, w->EndEntry(65535));
    EXPECT_EQ(S_OK, w->Write("c", 1, nullptr));
    // A third stored entry is more than the writer was made for.
    EXPECT_EQ(E_INVALIDARG, w->EndEntry(65535 - 1));
    w.Reset();  // releasing an unfinished writer finishes it

    ComPtr<IIndexedData> r = Open(StreamBytes(s.Get()));
    ASSERT_TRUE(r);
    ExpectEntries(r.Get(), {{40000, "a"}, {65535, "b"}}, 65536);
}

TEST(IndexedData, NestedContainersInAFile) {
    TempDir dir;
    std::string path = dir.File("nested.dat");
    {
        ComPtr<ICreateIndexedData> outer;
        ASSERT_EQ(S_OK, CreateIndexedDataFile(path.c_str(), FALSE, 3, outer.Put()));
        outer->Write("outer", 5, nullptr);
        outer->EndEntry(1);
        ComPtr<IStream> t;
        ASSERT_EQ(S_OK, outer->GetTrailingStream(t.Put()));
        ComPtr<ICreateIndexedData> inner;
        ASSERT_EQ(S_OK, CreateIndexedDataOnStream(t.Get(), TRUE, 1, inner.Put()));
        inner->Write("inner", 5, nullptr);
        inner->EndEntry(7);
        ComPtr<IStream> t2;
        ASSERT_EQ(S_OK, inner->GetTrailingStream(t2.Put()));
        ASSERT_EQ(S_OK, t2->Write("END", 3, nullptr));
    }
    LONG before = CUnknown::LiveObjects();
    {
        ComPtr<IIndexedData> outer;
        ASSERT_EQ(S_OK, OpenIndexedDataFile(path.c_str(), outer.Put()));
        ExpectEntries(outer.Get(), {{1, "outer"}}, 2);
        ComPtr<IStream> t;
        ASSERT_EQ(S_OK, outer->GetTrailingStream(t.Put()));
        ComPtr<IIndexedData> inner;
        ASSERT_EQ(S_OK, OpenIndexedDataOnStream(t.Get(), inner.Put()));
        ExpectEntries(inner.Get(), {{7, "inner"}}, 8);
        ComPtr<IStream> t2;
        ASSERT_EQ(S_OK, inner->GetTrailingStream(t2.Put()));
        char end[3];
        ASSERT_EQ(S_OK, t2->Read(end, 3, nullptr));
        EXPECT_EQ("END", std::string(end, 3));
        // The shared stream: reading the outer again seeks back.
        EXPECT_EQ("outer", ReadEntry(outer.Get(), 1));
    }
    EXPECT_EQ(before, CUnknown::LiveObjects());

    IIndexedData* r = reinterpret_cast<IIndexedData*>(1);
    EXPECT_EQ(E_INVALIDARG, OpenIndexedDataFile(dir.File("missing.dat").c_str(), &r));
    EXPECT_EQ(nullptr, r);
    ICreateIndexedData* w = reinterpret_cast<ICreateIndexedData*>(1);
    EXPECT_EQ(E_INVALIDARG, CreateIndexedDataFile(dir.File("no\\dir\\x.dat").c_str(), FALSE, 1, &w));
    EXPECT_EQ(nullptr, w);
    EXPECT_EQ(E_INVALIDARG, CreateIndexedDataOnStream(MemoryStream().Get(), FALSE, -1, &w));
    EXPECT_EQ(E_UNEXPECTED, OpenIndexedDataOnStream(MemoryStream().Get(), &r));
    EXPECT_EQ(E_POINTER, OpenIndexedDataOnStream(MemoryStream().Get(), nullptr));
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

// A reader given a damaged copy either refuses it or reads only inside it: when it opens,
// every entry it reports can be read, and nothing crashes or runs away.
void ExpectSafe(const std::string& bytes) {
    ComPtr<IIndexedData> r;
    HRESULT hr = OpenIndexedDataOnStream(MemoryStream(bytes).Get(), r.Put());
    if (FAILED(hr)) {
        ASSERT_TRUE(hr == E_UNEXPECTED || hr == E_INVALIDARG || hr == E_OUTOFMEMORY) << std::hex << hr;
        ASSERT_FALSE(r);
        return;
    }
    int n = 0;
    r->GetCount(&n);
    ASSERT_LE(n, 65536 + static_cast<int>(bytes.size()));
    for (int i = 0; i < n; i = i * 2 + 1) {
        int size = 0;
        ASSERT_EQ(S_OK, r->GetEntrySize(i, &size));
        ASSERT_LE(size, static_cast<int>(bytes.size()));
        std::string buf(static_cast<size_t>(size) + 1, '\0');
        ASSERT_EQ(S_OK, r->ReadEntry(i, 0, &buf[0], size));
    }
    r->LoadEntries(0, n);
    r->UnloadEntries(0, n);
}

TEST(IndexedDataBadInput, TruncatedCopiesAreRefused) {
    for (bool sparse : {false, true}) {
        Entries entries = RandomEntries(21, 600, 12, 4);
        entries[599] = "z";
        std::string good = WriteContainer(entries, sparse, 600);
        for (size_t len = 0; len < good.size(); ++len) {
            ComPtr<IIndexedData> r;
            HRESULT hr = OpenIndexedDataOnStream(MemoryStream(good.substr(0, len)).Get(), r.Put());
            ASSERT_EQ(E_UNEXPECTED, hr) << "sparse " << sparse << " length " << len;
        }
    }
}

TEST(IndexedDataBadInput, CorruptHeaderFieldsAreRefused) {
    Entries entries = RandomEntries(31, 300, 20, 3);
    entries[299] = "z";
    const std::string good = WriteContainer(entries, false, 300);
    const size_t h = 1;  // header after the form byte
    struct Case { const char* what; std::string bytes; } cases[] = {
        {"block size 0", WithValueAt<INT32>(good, h + 8, 0)},
        {"block size -1", WithValueAt<INT32>(good, h + 8, -1)},
        {"count -1", WithValueAt<INT32>(good, h + 4, -1)},
        {"count past the file", WithValueAt<INT32>(good, h + 4, 0x7FFFFFF0)},
        {"data length past the file", WithValueAt<INT32>(good, h + 12, 0x40000000)},
        {"data length -5", WithValueAt<INT32>(good, h + 12, -5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ComPtr<IIndexedData> r;
        EXPECT_EQ(E_UNEXPECTED, OpenIndexedDataOnStream(MemoryStream(c.bytes).Get(), r.Put()));
        EXPECT_FALSE(r);
    }

    // Offsets that decrease, and a base or offset that points past the data.
    INT32 d = 0;
    memcpy(&d, &good[h + 12], 4);
    const size_t tables = h + 20 + static_cast<size_t>(d);
    const size_t offsets = tables + 4 * 2;
    WORD o5 = 0;
    memcpy(&o5, &good[offsets + 2 * 5], 2);
    std::string tableCases[] = {
        WithValueAt<WORD>(good, offsets + 2 * 6, static_cast<WORD>(o5 > 0 ? o5 - 1 : 0xFFFF)),
        WithValueAt<WORD>(good, offsets + 2 * 300, 0xFFFF),
        WithValueAt<INT32>(good, tables + 4, d + 1000),
        WithValueAt<INT32>(good, tables + 4, -100000),
        WithValueAt<INT32>(good, tables, 2),  // first entry inside the header
    };
    for (const std::string& bytes : tableCases) {
        ComPtr<IIndexedData> r;
        EXPECT_EQ(E_UNEXPECTED, OpenIndexedDataOnStream(MemoryStream(bytes).Get(), r.Put()));
    }

    // The header size only places the trailing stream: one outside the stream is refused
    // when asked for, and a sparse container, whose index table lies there, can't open.
    {
        ComPtr<IIndexedData> r = Open(WithValueAt<INT16>(good, h + 2, 0x7FFF));
        ComPtr<IStream> t;
        EXPECT_EQ(E_UNEXPECTED, r->GetTrailingStream(t.Put()));
        EXPECT_FALSE(t);
        std::string sparse = WriteContainer({{3, "a"}}, true, 1);
        Open(WithValueAt<INT16>(sparse, h + 2, 0x7FFF), E_UNEXPECTED);
    }

    // A sparse index table out of order.
    std::string sparse = WriteContainer({{3, "a"}, {9, "b"}}, true, 2);
    std::string swapped = sparse;
    std::swap(swapped[swapped.size() - 4], swapped[swapped.size() - 2]);
    ComPtr<IIndexedData> r;
    EXPECT_EQ(E_UNEXPECTED, OpenIndexedDataOnStream(MemoryStream(swapped).Get(), r.Put()));
}

TEST(IndexedDataBadInput, RandomDamageNeverReadsOutside) {
    for (bool sparse : {false, true}) {
        Entries entries = RandomEntries(41, 520, 16, 3);
        entries[519] = "z";
        const std::string good = WriteContainer(entries, sparse, 520);
        TestRandom rnd(sparse ? 5 : 6);
        for (int round = 0; round < 1500; ++round) {
            std::string bytes = good;
            for (unsigned k = 1 + rnd.Below(3); k; --k) bytes[rnd.Below(static_cast<unsigned>(bytes.size()))] ^= static_cast<char>(1 + rnd.Below(255));
            ASSERT_NO_FATAL_FAILURE(ExpectSafe(bytes)) << "round " << round;
        }
    }
}

}  // namespace
