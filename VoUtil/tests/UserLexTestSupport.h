// Helpers of the user commentary tests: creating and opening commentaries through the test
// binding, saving, reading everything a commentary shows, and editing its file's streams
// behind its back.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "CompoundFileCheck.h"
#include "LexExportsImpl.h"
#include "LexTestBinding.h"
#include "TestFiles.h"
#include "Unknown.h"

namespace lextest {

inline std::wstring Wide(const std::string& s) {
    wchar_t buf[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buf, MAX_PATH);
    return buf;
}

// The file of an open commentary passes the whole structure check: every name in its
// directory has the length field it needs.
inline void ExpectSoundFile(IVoLexicon* lex) {
    ComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, lex->QueryInterface(IID_IPersistFile, file.PutVoid()));
    LPOLESTR path = nullptr;
    ASSERT_EQ(S_OK, file->GetCurFile(&path));
    EXPECT_EQ(S_OK, CheckCompoundFile(path));
    CoTaskMemFree(path);
}

inline ComPtr<IVoLexicon> CreateCommentary(const std::string& path, const char* name = "Mine") {
    ComPtr<IVoLexicon> lex;
    HRESULT hr = CreateLexFile(path.c_str(), TestLangStat(), name, lex.Put(), TestBinding());
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(S_OK, CheckCompoundFile(Wide(path).c_str()));
    return lex;
}

inline HRESULT OpenCommentary(const std::string& path, ComPtr<IVoLexicon>* lex) {
    return OpenLexFile(path.c_str(), lex->Put(), TestBinding());
}

inline ComPtr<IVoLexicon> Open(const std::string& path) {
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(S_OK, OpenCommentary(path, &lex));
    return lex;
}

// IPersistFile::Save and SaveCompleted, as the commentary pane saves; a saved file must
// pass the structure check.
inline HRESULT SaveLex(IVoLexicon* lex) {
    ComPtr<IPersistFile> file;
    HRESULT hr = lex->QueryInterface(IID_IPersistFile, file.PutVoid());
    if (FAILED(hr)) return hr;
    hr = file->Save(nullptr, TRUE);
    if (FAILED(hr)) return hr;
    hr = file->SaveCompleted(nullptr);
    if (SUCCEEDED(hr)) ExpectSoundFile(lex);
    return hr;
}

inline HRESULT IsDirty(IVoLexicon* lex) {
    ComPtr<IPersistFile> file;
    lex->QueryInterface(IID_IPersistFile, file.PutVoid());
    return file->IsDirty();
}

inline int AddEntry(IVoLexicon* lex, const char* title, const char* text = nullptr) {
    int id = 0;
    EXPECT_EQ(S_OK, lex->AddEntry(title, &id)) << title;
    if (text) {
        EXPECT_EQ(S_OK, lex->SetEntryText(id, text)) << title;
    }
    return id;
}

inline std::string EntryText(IVoLexicon* lex, int id) {
    int length = 0;
    if (FAILED(lex->GetEntryTextLength(id, &length))) return "<no text>";
    std::string buf(length, '\0');
    if (FAILED(lex->GetEntryText(id, &buf[0], length))) return "<no text>";
    buf.resize(length - 1);
    return buf;
}

// Everything the title list shows: per position its kind, title, id and text.
struct EntryView {
    int kind;
    std::string title;
    int id;
    std::string text;
    bool operator==(const EntryView& o) const {
        return kind == o.kind && title == o.title && id == o.id && text == o.text;
    }
};
inline std::ostream& operator<<(std::ostream& os, const EntryView& e) {
    return os << "{" << e.kind << " '" << e.title << "' #" << e.id << " '" << e.text << "'}";
}

inline std::vector<EntryView> Entries(IVoLexicon* lex) {
    std::vector<EntryView> out;
    int count = 0;
    EXPECT_EQ(S_OK, lex->GetEntryCount(&count));
    for (int pos = 0; pos < count; ++pos) {
        EntryView e{};
        char title[256];
        EXPECT_EQ(S_OK, lex->GetEntryKind(pos, &e.kind));
        EXPECT_EQ(S_OK, lex->GetEntryTitle(pos, title, sizeof title));
        EXPECT_EQ(S_OK, lex->GetEntryId(pos, &e.id));
        e.title = title;
        e.text = EntryText(lex, e.id);
        out.push_back(e);
    }
    return out;
}

inline std::vector<std::string> Titles(IVoLexicon* lex) {
    std::vector<std::string> t;
    for (const EntryView& e : Entries(lex)) t.push_back(e.title);
    return t;
}

// Every edit of the commentary is refused with E_ACCESSDENIED and changes nothing.
inline void ExpectEditsDenied(IVoLexicon* lex) {
    const std::vector<EntryView> before = Entries(lex);
    int id = 1;
    EXPECT_EQ(E_ACCESSDENIED, lex->AddEntry("Isak", &id));
    EXPECT_EQ(0, id);
    id = 1;
    EXPECT_EQ(E_ACCESSDENIED, lex->SetEntryText(1, "x"));
    EXPECT_EQ(E_ACCESSDENIED, lex->SetEntryText(1, ""));
    EXPECT_EQ(E_ACCESSDENIED, lex->DeleteEntry(1));
    EXPECT_EQ(E_ACCESSDENIED, lex->RenameEntry(&id, "Isak"));
    EXPECT_EQ(1, id);
    EXPECT_EQ(before, Entries(lex));
}

// A commentary on a storage without write access: it says so, and neither edits nor saves.
inline void ExpectReadOnly(IVoLexicon* lex) {
    VARIANT_BOOL ro = VARIANT_FALSE;
    EXPECT_EQ(S_OK, lex->IsOpenReadOnly(&ro));
    EXPECT_EQ(VARIANT_TRUE, ro);
    ExpectEditsDenied(lex);
    ComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, lex->QueryInterface(IID_IPersistFile, file.PutVoid()));
    EXPECT_EQ(E_ACCESSDENIED, file->Save(nullptr, TRUE));
    EXPECT_EQ(S_FALSE, file->IsDirty());
}

// A scratch folder with the path of a commentary in it ("notes.vrsn"), and a check that
// every lexicon object a test made is gone at its end.
class LexFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        live_ = CUnknown::LiveObjects();
        path_ = dir_.File("notes.vrsn");
    }
    void TearDown() override { EXPECT_EQ(live_, CUnknown::LiveObjects()); }

    // A commentary with one entry of each kind, two of them with texts, saved; answers
    // what it shows.
    std::vector<EntryView> MakeSmallCommentary() {
        ComPtr<IVoLexicon> lex = CreateCommentary(path_);
        AddEntry(lex.Get(), "Abraham", "Far til mange");
        AddEntry(lex.Get(), "Gen 2", "Kapittelet");
        AddEntry(lex.Get(), "/24/12");
        EXPECT_EQ(S_OK, SaveLex(lex.Get()));
        return Entries(lex.Get());
    }

    TempDir dir_;
    std::string path_;
    LONG live_ = 0;
};

// Replaces (or, with remove, destroys) one stream of a closed commentary file.
inline void RewriteStream(const std::string& path, const wchar_t* name, const std::string& bytes,
                          bool remove = false) {
    ComPtr<IStorage> stg;
    ASSERT_EQ(S_OK, StgOpenStorage(Wide(path).c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                   stg.Put()));
    if (remove) {
        ASSERT_EQ(S_OK, stg->DestroyElement(name));
    } else {
        ComPtr<IStream> s;
        ASSERT_EQ(S_OK, stg->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, s.Put()));
        ULONG put = 0;
        if (!bytes.empty()) {
            ASSERT_EQ(S_OK, s->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &put));
        }
    }
    ASSERT_EQ(S_OK, stg->Commit(STGC_DEFAULT));
}

// The bytes of one stream of a closed commentary file; "<missing>" when it has none.
inline std::string StreamOf(const std::string& path, const wchar_t* name) {
    ComPtr<IStorage> stg;
    if (FAILED(StgOpenStorage(Wide(path).c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, stg.Put())))
        return "<no storage>";
    ComPtr<IStream> s;
    if (FAILED(stg->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, s.Put()))) return "<missing>";
    return StreamBytes(s.Get());
}

inline DWORD Le32At(const std::string& b, size_t at) {
    return static_cast<BYTE>(b[at]) | static_cast<BYTE>(b[at + 1]) << 8 | static_cast<BYTE>(b[at + 2]) << 16 |
           static_cast<DWORD>(static_cast<BYTE>(b[at + 3])) << 24;
}
inline void PutLe32(std::string& b, size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// Where things lie in a commentary file of 512-byte sectors whose directory fits one sector.
struct FileMap {
    explicit FileMap(const std::string& b) : bytes(b) {}
    size_t Sector(DWORD s) const { return (static_cast<size_t>(s) + 1) * 512; }
    size_t Directory() const { return Sector(Le32At(bytes, 0x30)); }
    size_t Fat() const { return Sector(Le32At(bytes, 0x4C)); }
    // The directory entry of a name, by its UTF-16 characters and terminating zero.
    size_t EntryOf(const wchar_t* name) const {
        std::string wide;
        for (const wchar_t* p = name; *p; ++p) wide += std::string{static_cast<char>(*p), '\0'};
        wide += std::string(2, '\0');
        for (size_t e = Directory(); e + 128 <= bytes.size(); e += 128)
            if (bytes.compare(e, wide.size(), wide) == 0) return e;
        return std::string::npos;
    }
    const std::string& bytes;
};

}  // namespace lextest
