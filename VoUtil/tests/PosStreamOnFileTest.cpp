// The stream over a file: its openers, reads and writes, seeks and the methods it lacks.
#include <gtest/gtest.h>
#include "PosStreamOnFile.h"
#include "TestFiles.h"

namespace {

LARGE_INTEGER Move(LONGLONG v) {
    LARGE_INTEGER m;
    m.QuadPart = v;
    return m;
}

class PosStreamOnFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string MakeFile(const std::string& name, const std::string& bytes) {
        std::string path = dir.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
};

TEST_F(PosStreamOnFileTest, MissingOrLockedFileGivesNoStream) {
    IStream* s = reinterpret_cast<IStream*>(1);
    LONG before = CUnknown::LiveObjects();
    EXPECT_EQ(E_INVALIDARG, CPosStreamOnFile::OpenRead(dir.File("missing.bin").c_str(), &s));
    EXPECT_EQ(nullptr, s);
    EXPECT_EQ(E_INVALIDARG, CPosStreamOnFile::OpenAppend(dir.File("missing.bin").c_str(), &s));
    EXPECT_EQ(E_INVALIDARG, CPosStreamOnFile::Create(dir.File("no\\such\\dir.bin").c_str(), &s));
    EXPECT_EQ(E_INVALIDARG, CPosStreamOnFile::OpenRead(nullptr, &s));
    EXPECT_EQ(nullptr, s);

    // A file another handle holds without sharing can't be opened.
    std::string path = MakeFile("locked.bin", "abc");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(E_INVALIDARG, CPosStreamOnFile::OpenRead(path.c_str(), &s));
    EXPECT_EQ(nullptr, s);
    CloseHandle(h);
    EXPECT_EQ(before, CUnknown::LiveObjects());
}

TEST_F(PosStreamOnFileTest, CreateWritesAndReadReadsBack) {
    std::string path = dir.File("new.bin");
    {
        ComPtr<IStream> s;
        ASSERT_EQ(S_OK, CPosStreamOnFile::Create(path.c_str(), s.Put()));
        ULONG n = 0;
        EXPECT_EQ(S_OK, s->Write("hello", 5, &n));
        EXPECT_EQ(5u, n);
        // A stream opened for creation can't read.
        char c;
        EXPECT_EQ(E_INVALIDARG, s->Read(&c, 1, &n));
        EXPECT_EQ(0u, n);
    }
    EXPECT_EQ("hello", ReadWholeFile(path));

    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), s.Put()));
    char buf[8] = {};
    ULONG n = 0;
    EXPECT_EQ(S_OK, s->Read(buf, 5, &n));
    EXPECT_EQ(5u, n);
    EXPECT_STREQ("hello", buf);
    EXPECT_EQ(E_INVALIDARG, s->Write("x", 1, &n));  // read-only
    EXPECT_EQ(0u, n);
}

TEST_F(PosStreamOnFileTest, CreateTruncatesAnExistingFile) {
    std::string path = MakeFile("old.bin", "0123456789");
    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::Create(path.c_str(), s.Put()));
    EXPECT_EQ(S_OK, s->Write("ab", 2, nullptr));
    s.Reset();
    EXPECT_EQ("ab", ReadWholeFile(path));
}

TEST_F(PosStreamOnFileTest, AppendStartsAtTheEndAndCanRead) {
    std::string path = MakeFile("app.bin", "abc");
    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenAppend(path.c_str(), s.Put()));
    ULARGE_INTEGER pos = {};
    EXPECT_EQ(S_OK, s->Seek(Move(0), STREAM_SEEK_CUR, &pos));
    EXPECT_EQ(3u, pos.QuadPart);
    EXPECT_EQ(S_OK, s->Write("de", 2, nullptr));
    EXPECT_EQ(S_OK, s->Seek(Move(0), STREAM_SEEK_SET, nullptr));
    char buf[6] = {};
    EXPECT_EQ(S_OK, s->Read(buf, 5, nullptr));
    EXPECT_STREQ("abcde", buf);
}

TEST_F(PosStreamOnFileTest, ReadPastTheEndReportsTheShortCount) {
    std::string path = MakeFile("short.bin", "xyz");
    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), s.Put()));
    char buf[10];
    ULONG n = 99;
    EXPECT_EQ(E_INVALIDARG, s->Read(buf, 10, &n));
    EXPECT_EQ(3u, n);
    EXPECT_EQ(E_INVALIDARG, s->Read(buf, 1, &n));
    EXPECT_EQ(0u, n);
    EXPECT_EQ(S_OK, s->Read(buf, 0, &n));  // nothing asked, nothing missing
}

TEST_F(PosStreamOnFileTest, SeekOriginsAndLimits) {
    std::string path = MakeFile("seek.bin", "0123456789");
    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), s.Put()));
    ULARGE_INTEGER pos = {};

    EXPECT_EQ(S_OK, s->Seek(Move(-1), STREAM_SEEK_END, &pos));
    EXPECT_EQ(9u, pos.QuadPart);
    char c = 0;
    EXPECT_EQ(S_OK, s->Read(&c, 1, nullptr));
    EXPECT_EQ('9', c);

    EXPECT_EQ(S_OK, s->Seek(Move(4), STREAM_SEEK_SET, &pos));
    EXPECT_EQ(S_OK, s->Seek(Move(-2), STREAM_SEEK_CUR, &pos));
    EXPECT_EQ(2u, pos.QuadPart);

    EXPECT_EQ(STG_E_INVALIDFUNCTION, s->Seek(Move(0), 3, &pos));
    EXPECT_EQ(STG_E_INVALIDPOINTER, s->Seek(Move(0x100000000LL), STREAM_SEEK_SET, &pos));  // high half 1
    EXPECT_EQ(STG_E_INVALIDPOINTER, s->Seek(Move(0x80000000LL), STREAM_SEEK_SET, &pos));   // low half negative
    EXPECT_EQ(STG_E_INVALIDPOINTER, s->Seek(Move(-0x80000001LL), STREAM_SEEK_SET, &pos));
    EXPECT_EQ(STG_E_INVALIDPOINTER, s->Seek(Move(-1), STREAM_SEEK_SET, &pos));  // before the start
    // A refused seek leaves the position where it was.
    EXPECT_EQ(S_OK, s->Seek(Move(0), STREAM_SEEK_CUR, &pos));
    EXPECT_EQ(2u, pos.QuadPart);
}

TEST_F(PosStreamOnFileTest, AnswersItsOwnIdentifiersOnly) {
    std::string path = MakeFile("qi.bin", "q");
    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), s.Put()));
    ComPtr<IUnknown> own, seq, unk;
    EXPECT_EQ(S_OK, s.As(IID_IPosStreamOnFile, &own));
    EXPECT_EQ(S_OK, s.As(IID_ISequentialStream, &seq));
    EXPECT_EQ(S_OK, s.As(IID_IUnknown, &unk));
    EXPECT_EQ(static_cast<IUnknown*>(s.Get()), own.Get());
    ComPtr<IUnknown> stream;
    EXPECT_EQ(E_NOINTERFACE, s.As(IID_IStream, &stream));
    EXPECT_FALSE(stream);
}

TEST_F(PosStreamOnFileTest, UnsupportedMethodsAnswerNotImplemented) {
    std::string path = MakeFile("ni.bin", "n");
    ComPtr<IStream> s;
    ASSERT_EQ(S_OK, CPosStreamOnFile::OpenRead(path.c_str(), s.Put()));
    ULARGE_INTEGER u = {};
    STATSTG st;
    IStream* clone = nullptr;
    EXPECT_EQ(E_NOTIMPL, s->SetSize(u));
    EXPECT_EQ(E_NOTIMPL, s->CopyTo(nullptr, u, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, s->Commit(0));
    EXPECT_EQ(E_NOTIMPL, s->Revert());
    EXPECT_EQ(E_NOTIMPL, s->LockRegion(u, u, 0));
    EXPECT_EQ(E_NOTIMPL, s->UnlockRegion(u, u, 0));
    EXPECT_EQ(E_NOTIMPL, s->Stat(&st, 0));
    EXPECT_EQ(E_NOTIMPL, s->Clone(&clone));
}

}  // namespace
