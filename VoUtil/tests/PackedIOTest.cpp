// Packed integers and counted strings.
#include <gtest/gtest.h>
#include "PackedIO.h"
#include "TestFiles.h"

namespace {

std::string Packed(unsigned v) {
    BYTE buf[kMaxPackedIntBytes];
    unsigned n = PackInt(v, buf);
    return std::string(reinterpret_cast<char*>(buf), n);
}

struct PackedCase {
    unsigned value;
    std::string bytes;
};

TEST(PackedInt, KnownFormsWriteAndReadBack) {
    const PackedCase cases[] = {
        {0, std::string("\x00", 1)},
        {127, "\x7F"},
        {128, std::string("\x81\x00", 2)},
        {300, "\x82\x2C"},
        {16383, "\xFF\x7F"},
        {16384, std::string("\x81\x80\x00", 3)},
        {0xFFFFFFFFu, "\x8F\xFF\xFF\xFF\x7F"},
    };
    for (const PackedCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.bytes, Packed(c.value));

        ComPtr<IStream> w = MemoryStream();
        ASSERT_EQ(S_OK, WritePackedInt(w.Get(), c.value));
        EXPECT_EQ(c.bytes, StreamBytes(w.Get()));

        ComPtr<IStream> r = MemoryStream(c.bytes + "tail");
        int v = -7;
        ASSERT_EQ(S_OK, ReadPackedInt(r.Get(), &v));
        EXPECT_EQ(c.value, static_cast<unsigned>(v));
        char next = 0;
        ASSERT_EQ(S_OK, r->Read(&next, 1, nullptr));
        EXPECT_EQ('t', next);  // exactly the packed bytes were consumed

        unsigned u = 0;
        const BYTE* p = reinterpret_cast<const BYTE*>(c.bytes.data());
        EXPECT_EQ(c.bytes.size(), UnpackInt(p, p + c.bytes.size(), &u));
        EXPECT_EQ(c.value, u);
    }
}

TEST(PackedInt, CutOrEndlessFormsAreErrors) {
    int v = 0;
    EXPECT_EQ(E_UNEXPECTED, ReadPackedInt(MemoryStream("").Get(), &v));
    EXPECT_EQ(E_UNEXPECTED, ReadPackedInt(MemoryStream("\x81").Get(), &v));
    EXPECT_EQ(E_UNEXPECTED, ReadPackedInt(MemoryStream("\x81\x82\x83\x84\x85\x06").Get(), &v));

    unsigned u = 0;
    const BYTE endless[] = {0x81, 0x82, 0x83, 0x84, 0x85, 0x06};
    EXPECT_EQ(0u, UnpackInt(endless, endless + sizeof endless, &u));
    EXPECT_EQ(0u, UnpackInt(endless, endless + 1, &u));
    EXPECT_EQ(0u, UnpackInt(endless, endless, &u));
}

// A stream whose reads fail with a chosen code, to see it passed through.
class FailingStream : public ISequentialStream {
public:
    explicit FailingStream(HRESULT hr) : hr_(hr) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG* n) override {
        if (n) *n = 0;
        return hr_;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* n) override {
        if (n) *n = 0;
        return hr_;
    }

private:
    HRESULT hr_;
};

TEST(PackedInt, FailingReadPassesItsCodeThrough) {
    FailingStream failing(STG_E_ACCESSDENIED);
    int v = 0;
    // Only Read is used; the stream is passed where an IStream is expected.
    EXPECT_EQ(STG_E_ACCESSDENIED, ReadPackedInt(reinterpret_cast<IStream*>(&failing), &v));
}

TEST(CountedString, LengthMustStayBelowTheBuffer) {
    char buf[4];
    memset(buf, '#', sizeof buf);
    // Length 4 into 4 bytes: refused, nothing read past the length.
    ComPtr<IStream> s = MemoryStream("\x04" "abcd");
    EXPECT_EQ(E_OUTOFMEMORY, ReadCountedString(s.Get(), buf, sizeof buf));
    EXPECT_EQ('#', buf[0]);
    char next = 0;
    ASSERT_EQ(S_OK, s->Read(&next, 1, nullptr));
    EXPECT_EQ('a', next);

    // Length 3 into 4 bytes: read and terminated.
    s = MemoryStream("\x03" "abcX");
    EXPECT_EQ(S_OK, ReadCountedString(s.Get(), buf, sizeof buf));
    EXPECT_STREQ("abc", buf);

    s = MemoryStream(std::string("\x00", 1));
    EXPECT_EQ(S_OK, ReadCountedString(s.Get(), buf, sizeof buf));
    EXPECT_STREQ("", buf);
}

TEST(CountedString, ShortTextIsUnexpected) {
    char buf[16];
    EXPECT_EQ(E_UNEXPECTED, ReadCountedString(MemoryStream("\x05" "ab").Get(), buf, sizeof buf));
    EXPECT_EQ(E_UNEXPECTED, ReadCountedString(MemoryStream("").Get(), buf, sizeof buf));
}

TEST(CountedString, WriterRoundTrips) {
    std::string text(300, 'z');
    ComPtr<IStream> s = MemoryStream();
    ASSERT_EQ(S_OK, WriteCountedString(s.Get(), text.data(), static_cast<unsigned>(text.size())));
    std::string bytes = StreamBytes(s.Get());
    EXPECT_EQ("\x82\x2C" + text, bytes);
    std::vector<char> buf(301);
    s = MemoryStream(bytes);
    ASSERT_EQ(S_OK, ReadCountedString(s.Get(), buf.data(), 301));
    EXPECT_EQ(text, std::string(buf.data()));
}

}  // namespace
