// The directory of a notes file and saving: every name the commentary writes has a length
// field that fits it, a file whose names the storage code could not rewrite safely opens
// read-only and is never written, and a save whose file does not pass the structure check
// is undone.
#include <gtest/gtest.h>
#include "CompoundFileCheck.h"
#include "UserLexFormat.h"
#include "UserLexTestSupport.h"

using namespace lextest;

namespace {

class NotesDirectory : public LexFileTest {
protected:
    void SetUp() override {
        LexFileTest::SetUp();
        saved_ = MakeSmallCommentary();
        good_ = ReadWholeFile(path_);
    }
    // The file with the name-length field of one directory entry set to length.
    std::string WithNameLength(const wchar_t* name, WORD length) const {
        std::string bytes = good_;
        size_t entry = FileMap(bytes).EntryOf(name);
        EXPECT_NE(std::string::npos, entry) << "no entry for the name";
        if (entry == std::string::npos) return bytes;
        bytes[entry + 64] = static_cast<char>(length & 0xFF);
        bytes[entry + 65] = static_cast<char>(length >> 8);
        return bytes;
    }
    std::vector<EntryView> saved_;
    std::string good_;
};

TEST_F(NotesDirectory, EveryNameWrittenHasTheLengthOfItsName) {
    {
        ComPtr<IVoLexicon> lex = Open(path_);
        // Texts replaced, entries renamed from long names to short ones and back, deleted.
        int id = AddEntry(lex.Get(), "En lang tittel som blir kortere", "tekst");
        ASSERT_EQ(S_OK, lex->SetEntryText(id, "ny tekst"));
        ASSERT_EQ(S_OK, lex->RenameEntry(&id, "Kort"));
        EXPECT_EQ("ny tekst", EntryText(lex.Get(), id));
        ASSERT_EQ(S_OK, lex->RenameEntry(&id, "Et langt navn igjen, langt over tjueni tegn"));
        ASSERT_EQ(S_OK, lex->SetEntryText(1, "Abrahams nye tekst"));
        ASSERT_EQ(S_OK, lex->DeleteEntry(AddEntry(lex.Get(), "Borte", "snart borte")));
        ASSERT_EQ(S_OK, SaveLex(lex.Get()));  // checks the file
        ASSERT_EQ(S_OK, lex->RenameEntry(&id, "Igjen"));
        ASSERT_EQ(S_OK, SaveLex(lex.Get()));
        EXPECT_EQ("ny tekst", EntryText(lex.Get(), id));
        // While the file is open for writing, the file as last saved lies beside it.
        EXPECT_TRUE(ReadWholeFile(path_) == ReadWholeFile(path_ + ".bak"));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path_ + ".bak").c_str()));
    EXPECT_EQ(S_OK, CheckCompoundFile(Wide(path_).c_str()));
    ComPtr<IVoLexicon> lex = Open(path_);
    int id = 0;
    ASSERT_EQ(S_OK, lex->FindEntryByKey("Igjen", &id));
    EXPECT_EQ("ny tekst", EntryText(lex.Get(), id));
    EXPECT_EQ("Abrahams nye tekst", EntryText(lex.Get(), 1));
}

// A name-length field that does not give its name, on an entry text's stream or on one the
// commentary needs: the file reads as it did, says why it is read-only, takes no edit and
// no save, and keeps every byte.
TEST_F(NotesDirectory, UnsafeNamesOpenReadOnlyAndTheFileStays) {
    const struct { const char* what; WORD length; } lengths[] = {
        {"length 0", 0},
        {"odd length", 9},
        {"longer than a name may be", 66},
        {"past the terminating zero", 0},  // the name's own length plus 4, below
        {"short of the terminating zero", 0},  // the name's own length minus 2
    };
    const wchar_t* const names[] = {L"I_Abraham", kLangStatStream};
    const std::string path = dir_.File("damaged.vrsn");
    for (const wchar_t* name : names) {
        const WORD own = static_cast<WORD>(2 * (wcslen(name) + 1));
        for (size_t i = 0; i < sizeof lengths / sizeof lengths[0]; ++i) {
            SCOPED_TRACE(std::string(lengths[i].what) + (name == names[0] ? " on an entry text" : " on LangStat"));
            WORD length = i == 3 ? own + 4 : i == 4 ? own - 2 : lengths[i].length;
            const std::string bytes = WithNameLength(name, length);
            ASSERT_TRUE(WriteWholeFile(path, bytes));
            EXPECT_EQ(STG_E_INVALIDNAME, CheckCompoundFile(Wide(path).c_str()));
            {
                ComPtr<IVoLexicon> lex;
                ASSERT_EQ(VO_S_READONLYDAMAGED, OpenCommentary(path, &lex));
                EXPECT_EQ(saved_, Entries(lex.Get()));
                ExpectReadOnly(lex.Get());
            }
            EXPECT_TRUE(bytes == ReadWholeFile(path));
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".bak").c_str()));
        }
    }
}

// The case that once cost a reader every note: an entry whose name length is 0, then an
// entry added with a text and a save. Now the edit is refused and the next open reads the
// file as before.
TEST_F(NotesDirectory, EditAndSaveOfANameLengthZeroFileLoseNothing) {
    const std::string bytes = WithNameLength(L"I_Abraham", 0);
    ASSERT_TRUE(WriteWholeFile(path_, bytes));
    {
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(VO_S_READONLYDAMAGED, OpenCommentary(path_, &lex));
        int id = 0;
        EXPECT_EQ(E_ACCESSDENIED, lex->AddEntry("Isak", &id));
        EXPECT_EQ(E_ACCESSDENIED, lex->SetEntryText(1, "S\xF8nn"));
        ComPtr<IPersistFile> file;
        ASSERT_EQ(S_OK, lex.As(IID_IPersistFile, &file));
        EXPECT_EQ(E_ACCESSDENIED, file->Save(nullptr, TRUE));
    }
    EXPECT_TRUE(bytes == ReadWholeFile(path_));
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(VO_S_READONLYDAMAGED, OpenCommentary(path_, &lex));
    EXPECT_EQ(saved_, Entries(lex.Get()));
}

// Hands the commentary a storage over its file opened behind the structure check, as if the
// check had missed the damage now in the file.
void HandOverUncheckedStorage(IVoLexicon* lex, const std::string& path, const std::string& bytes) {
    ComPtr<IPersistStorage> ps;
    ASSERT_EQ(S_OK, lex->QueryInterface(IID_IPersistStorage, ps.PutVoid()));
    ASSERT_EQ(S_OK, ps->HandsOffStorage());
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    ComPtr<IStorage> storage;
    ASSERT_EQ(S_OK, StgOpenStorage(Wide(path).c_str(), nullptr, STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                   nullptr, 0, storage.Put()));
    ASSERT_EQ(S_OK, ps->SaveCompleted(storage.Get()));
}

// A save whose file fails the check is undone: the file as it was opened comes back, the
// commentary shows it again, and the save answers the check's error.
TEST_F(NotesDirectory, ASaveThatDamagesTheFileIsUndone) {
    const wchar_t* const names[] = {L"I_Abraham", kLangStatStream};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(name == names[0] ? "length 0 on an entry text" : "length 0 on LangStat");
        ASSERT_TRUE(WriteWholeFile(path_, good_));
        ComPtr<IVoLexicon> lex = Open(path_);
        ASSERT_TRUE(lex);
        HandOverUncheckedStorage(lex.Get(), path_, WithNameLength(name, 0));
        AddEntry(lex.Get(), "Isak", "S\xF8nn");
        ComPtr<IPersistFile> file;
        ASSERT_EQ(S_OK, lex.As(IID_IPersistFile, &file));
        EXPECT_EQ(STG_E_DOCFILECORRUPT, file->Save(nullptr, TRUE));
        EXPECT_TRUE(good_ == ReadWholeFile(path_));
        EXPECT_EQ(saved_, Entries(lex.Get()));
        EXPECT_EQ(S_FALSE, file->IsDirty());
        // The commentary works on the file put back, and saves it again.
        AddEntry(lex.Get(), "Isak", "S\xF8nn");
        EXPECT_EQ(S_OK, SaveLex(lex.Get()));
        file.Reset();
        lex.Reset();
        EXPECT_EQ(saved_.size() + 1, Entries(Open(path_).Get()).size());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path_ + ".bak").c_str()));
    }
}

}  // namespace
