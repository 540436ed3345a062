// User commentaries over Wine's real compound files: creating, editing, saving and
// reopening; titles, keys and searches; read-only files; and what opening damaged files
// answers. Runs with LC_ALL=nb_NO.UTF-8 for the date titles.
#include <gtest/gtest.h>
#include "Handles.h"
#include "Unknown.h"
#include "UserLexFormat.h"
#include "UserLexTestSupport.h"
#include "VoUserLex.h"

using namespace lextest;

namespace {

using UserLex = LexFileTest;

TEST_F(UserLex, CreatedCommentaryIsEmptyAndHasItsFourStreams) {
    ComPtr<IVoLexicon> lex = CreateCommentary(path_, "A name longer than thirty-one characters");
    ASSERT_TRUE(lex);
    int count = -1, type = -1, access = -1, level = -1;
    char name[64];
    VARIANT_BOOL ro = VARIANT_TRUE, open = VARIANT_FALSE;
    EXPECT_EQ(S_OK, lex->GetEntryCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(S_OK, lex->GetName(name));
    EXPECT_STREQ("A name longer than thirty-one c", name);
    EXPECT_EQ(S_OK, lex->GetLexiconType(&type));
    EXPECT_EQ(0, type);
    EXPECT_EQ(S_OK, lex->IsOpenReadOnly(&ro));
    EXPECT_EQ(VARIANT_FALSE, ro);
    EXPECT_EQ(S_OK, lex->IsTextOpen(&open));
    EXPECT_EQ(VARIANT_TRUE, open);
    EXPECT_EQ(S_OK, lex->GetAccess(&access));
    EXPECT_EQ(0, access);
    EXPECT_EQ(S_OK, lex->GetProtection(&level));
    EXPECT_EQ(0, level);
    EXPECT_EQ(S_FALSE, IsDirty(lex.Get()));
    int reserved = 7;
    EXPECT_EQ(S_OK, lex->GetReserved(&reserved));
    EXPECT_EQ(0, reserved);

    ComPtr<IPersistStorage> ps;
    ComPtr<IPersist> persist;
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(S_OK, lex.As(IID_IPersistStorage, &ps));
    ASSERT_EQ(S_OK, lex.As(IID_IPersist, &persist));
    CLSID id;
    EXPECT_EQ(S_OK, persist->GetClassID(&id));
    EXPECT_TRUE(IsEqualCLSID(CLSID_VoUserLex, id));
    ASSERT_EQ(S_OK, lex.As(IID_IUnknown, &a));
    ASSERT_EQ(S_OK, ps.As(IID_IUnknown, &b));
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(6u, lex->AddRef());
    EXPECT_EQ(5u, lex->Release());
    a.Reset();
    b.Reset();
    ps.Reset();
    persist.Reset();
    IVoLexicon* raw = lex.Detach();
    EXPECT_EQ(0u, raw->Release());

    EXPECT_EQ(std::string("A name longer than thirty-one c") + std::string(1, '\0'),
              StreamOf(path_, kNameStream).substr(0, 32));
    EXPECT_EQ(32u, StreamOf(path_, kNameStream).size());
    EXPECT_EQ(std::string("TEST-LANGSTAT", 14), StreamOf(path_, kLangStatStream));
    EXPECT_EQ(std::string("\0\0", 2), StreamOf(path_, kListStream));
    EXPECT_NE("<missing>", StreamOf(path_, kSettingsStream));
}

TEST_F(UserLex, CreateReplacesAnExistingFileOnlyWhenTheNewOneIsComplete) {
    ASSERT_TRUE(WriteWholeFile(path_, "old contents"));
    // No reference system: nothing is created and the old file stays.
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(E_POINTER, CreateLexFile(path_.c_str(), nullptr, "x", lex.Put(), TestBinding()));
    EXPECT_EQ("old contents", ReadWholeFile(path_));
    EXPECT_EQ(S_OK, CreateLexFile(path_.c_str(), TestLangStat(), "x", nullptr, TestBinding()));
    EXPECT_EQ(S_OK, OpenCommentary(path_, &lex));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path_ + ".new").c_str()));
}

TEST_F(UserLex, RoundTripOfEveryKindOfKey) {
    {
        ComPtr<IVoLexicon> lex = CreateCommentary(path_);
        AddEntry(lex.Get(), "Abraham", "Far til mange");
        AddEntry(lex.Get(), "@Moses", "Lovgiveren");
        AddEntry(lex.Get(), "zebra", "striper");
        AddEntry(lex.Get(), "\xC6rlig", "\xE6\xF8\xE5 og mer");
        AddEntry(lex.Get(), "Gen", "Boka");
        AddEntry(lex.Get(), "Gen 2", "Kapittelet");
        AddEntry(lex.Get(), "Gen 2:3", "Verset");
        AddEntry(lex.Get(), "Jud 5");
        AddEntry(lex.Get(), "Joh 3:4-6", "Et avsnitt");
        AddEntry(lex.Get(), "/24/12", "Julaften");
        AddEntry(lex.Get(), "24.12.2025", "Julaften i fjor");
        AddEntry(lex.Get(), "1. mai", "Arbeidernes dag");
        AddEntry(lex.Get(), "Slettes", "borte");
        EXPECT_EQ(S_OK, IsDirty(lex.Get()));

        int id = 0;
        VARIANT_BOOL exact = 0;
        int pos = -1;
        ASSERT_EQ(S_OK, lex->FindEntry("zebra", &pos, &exact));
        ASSERT_EQ(S_OK, lex->GetEntryId(pos, &id));
        ASSERT_EQ(S_OK, lex->RenameEntry(&id, "Zebu"));
        EXPECT_EQ("striper", EntryText(lex.Get(), id));
        ASSERT_EQ(S_OK, lex->FindEntry("Slettes", &pos, &exact));
        ASSERT_EQ(S_OK, lex->GetEntryId(pos, &id));
        EXPECT_EQ(S_OK, lex->DeleteEntry(id));
        ASSERT_EQ(S_OK, lex->FindEntry("Jud 5", &pos, &exact));
        ASSERT_EQ(S_OK, lex->GetEntryId(pos, &id));
        EXPECT_EQ(S_FALSE, lex->DeleteEntry(id));  // it had no text stream

        const std::vector<std::string> expected = {
            "Abraham", "Moses", "Zebu", "\xC6rlig", "Gen", "Gen 2", "Gen 2:3", "Joh 3:4-6",
            "1. mai", "24. desember", "onsdag 24. desember 2025"};
        EXPECT_EQ(expected, Titles(lex.Get()));
        std::vector<EntryView> before = Entries(lex.Get());
        ASSERT_EQ(S_OK, SaveLex(lex.Get()));
        EXPECT_EQ(S_FALSE, IsDirty(lex.Get()));
        EXPECT_EQ(before, Entries(lex.Get()));  // the same object after the save

        ComPtr<IVoLexicon> again = Open(path_);
        ASSERT_TRUE(again);
        EXPECT_EQ(before, Entries(again.Get()));
    }
    ComPtr<IVoLexicon> lex = Open(path_);
    ASSERT_TRUE(lex);
    int kinds[3];
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(S_OK, lex->GetEntryCountOfKind(k, &kinds[k - 1]));
    EXPECT_EQ(4, kinds[0]);
    EXPECT_EQ(4, kinds[1]);
    EXPECT_EQ(3, kinds[2]);
    int count = 0;
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryCountOfKind(4, &count));
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryCountOfKind(0, &count));
    int id = 0;
    EXPECT_EQ(S_OK, lex->FindEntryByKey("@Moses", &id));
    EXPECT_EQ(2, id);
    EXPECT_EQ(S_OK, lex->FindEntryByKey("Gen 2", &id));  // no parsing: no text key "Gen 2"
    EXPECT_EQ(0, id);
    lex.Reset();
    // The key keeps its at sign; only sorting and the title leave it out.
    EXPECT_NE("<missing>", StreamOf(path_, L"I_@Moses"));
    EXPECT_EQ("<missing>", StreamOf(path_, L"I_zebra"));
    EXPECT_NE("<missing>", StreamOf(path_, L"I_Zebu"));
    EXPECT_EQ("<missing>", StreamOf(path_, L"I_Slettes"));
}

TEST_F(UserLex, EntryTextsCutToTheBufferAndFollowInsertions) {
    ComPtr<IVoLexicon> lex = CreateCommentary(path_);
    int b = AddEntry(lex.Get(), "b", "second text");
    EXPECT_EQ(1, b);
    char buf[7];
    EXPECT_EQ(S_OK, lex->GetEntryText(b, buf, sizeof buf));  // cached now
    EXPECT_STREQ("second", buf);
    int length = 0;
    EXPECT_EQ(S_OK, lex->GetEntryTextLength(b, &length));
    EXPECT_EQ(12, length);
    // An entry sorted before moves the cached one to id 2.
    EXPECT_EQ(1, AddEntry(lex.Get(), "a", "first"));
    EXPECT_EQ("second text", EntryText(lex.Get(), 2));
    EXPECT_EQ("first", EntryText(lex.Get(), 1));
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryText(3, buf, sizeof buf));
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryText(0, buf, sizeof buf));
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryText(1, buf, 0));
    EXPECT_EQ(E_POINTER, lex->GetEntryText(1, nullptr, 5));
    EXPECT_EQ(E_POINTER, lex->GetEntryTextLength(1, nullptr));
    EXPECT_EQ(E_INVALIDARG, lex->SetEntryText(3, "x"));
    EXPECT_EQ(E_POINTER, lex->SetEntryText(1, nullptr));

    // An empty text removes the stream; the entry stays with an empty text.
    ASSERT_EQ(S_OK, SaveLex(lex.Get()));
    EXPECT_NE("<missing>", StreamOf(path_, L"I_a"));
    lex.Reset();
    lex = Open(path_);
    EXPECT_EQ(S_OK, lex->SetEntryText(1, ""));
    EXPECT_EQ(S_OK, lex->SetEntryText(1, ""));  // no stream to remove is fine
    EXPECT_EQ("", EntryText(lex.Get(), 1));
    EXPECT_EQ(S_OK, lex->GetEntryTextLength(1, &length));
    EXPECT_EQ(1, length);
    ASSERT_EQ(S_OK, SaveLex(lex.Get()));
    lex.Reset();
    EXPECT_EQ("<missing>", StreamOf(path_, L"I_a"));
    lex = Open(path_);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Titles(lex.Get()));
    EXPECT_EQ("", EntryText(lex.Get(), 1));
}

TEST_F(UserLex, AddAndRenameRefuseKeysAndStreamNamesTaken) {
    ComPtr<IVoLexicon> lex = CreateCommentary(path_);
    const std::string forty(40, 'k');
    AddEntry(lex.Get(), forty.c_str());
    AddEntry(lex.Get(), "a.b");
    AddEntry(lex.Get(), "Gen 2:3");
    int id = 0;
    const struct { std::string title; HRESULT hr; } cases[] = {
        {forty, E_INVALIDARG},                               // the same key
        {"A.B", E_INVALIDARG},                               // equal by the collation
        {std::string(29, 'k') + "differs", E_INVALIDARG},   // same first 29 characters
        {"a:b", E_INVALIDARG},                               // "." and ":" both give "_"
        {"A/b", E_INVALIDARG},                               // stream names ignore case
        {"Gen 2:3", E_INVALIDARG},                           // the same reference
        {"@Gen_2_3", S_OK},                                  // another name: "I_@Gen_2_3"
        {"", E_INVALIDARG},
        {"@", E_INVALIDARG},
        {std::string(256, 'x'), E_INVALIDARG},               // a file holds 255 at most
        {std::string(255, 'y'), S_OK},
    };
    for (const auto& c : cases) EXPECT_EQ(c.hr, lex->AddEntry(c.title.c_str(), &id)) << c.title;
    EXPECT_EQ(E_INVALIDARG, lex->AddEntry(nullptr, &id));
    EXPECT_EQ(E_POINTER, lex->AddEntry("new", nullptr));
    int count = 0;
    lex->GetEntryCount(&count);
    EXPECT_EQ(5, count);

    int pos = 0;
    ASSERT_EQ(S_OK, lex->FindEntry("a.b", &pos, nullptr));
    ASSERT_EQ(S_OK, lex->GetEntryId(pos, &id));
    int before = id;
    EXPECT_EQ(E_INVALIDARG, lex->RenameEntry(&id, forty.c_str()));
    EXPECT_EQ(before, id);
    ASSERT_EQ(S_OK, lex->FindEntry(forty.c_str(), &pos, nullptr));
    int kId = 0;
    ASSERT_EQ(S_OK, lex->GetEntryId(pos, &kId));
    EXPECT_EQ(E_INVALIDARG, lex->RenameEntry(&kId, "a:b"));  // the stream name of "a.b"
    EXPECT_EQ(S_OK, lex->SetEntryText(id, "kept"));
    EXPECT_EQ(S_OK, lex->RenameEntry(&id, "A.B"));  // the same key in other letters
    EXPECT_EQ("kept", EntryText(lex.Get(), id));
    EXPECT_EQ(E_INVALIDARG, lex->RenameEntry(&id, ""));
    int bad = 99;
    EXPECT_EQ(E_INVALIDARG, lex->RenameEntry(&bad, "zz"));
    EXPECT_EQ(E_POINTER, lex->RenameEntry(nullptr, "zz"));
    EXPECT_EQ(E_INVALIDARG, lex->DeleteEntry(0));
    EXPECT_EQ(E_INVALIDARG, lex->DeleteEntry(count + 1));
}

TEST_F(UserLex, PositionsAndIdsAreChecked) {
    MakeSmallCommentary();
    ComPtr<IVoLexicon> lex = Open(path_);
    char title[64];
    int value = 0;
    for (int pos : {-1, 3}) {
        EXPECT_EQ(E_INVALIDARG, lex->GetEntryTitle(pos, title, sizeof title));
        EXPECT_EQ(E_INVALIDARG, lex->GetEntryKind(pos, &value));
        EXPECT_EQ(E_INVALIDARG, lex->GetEntryId(pos, &value));
        EXPECT_EQ(E_INVALIDARG, lex->GetEntryReference(pos, &value));
    }
    for (int id : {0, 4, -1}) EXPECT_EQ(E_INVALIDARG, lex->GetEntryPosition(id, &value));
    EXPECT_EQ(S_OK, lex->GetEntryPosition(2, &value));
    EXPECT_EQ(1, value);
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryReference(0, &value));  // a text key
    int ref = 0, b, c, v;
    EXPECT_EQ(S_OK, lex->GetEntryReference(1, &ref));
    TestRefSystem refs;
    refs.Split(ref, &b, &c, &v);
    EXPECT_EQ(0, b);
    EXPECT_EQ(1, c);
    EXPECT_EQ(-1, v);
    EXPECT_EQ(E_POINTER, lex->GetEntryTitle(0, nullptr, 5));
    EXPECT_EQ(E_INVALIDARG, lex->GetEntryTitle(0, title, 0));
    EXPECT_EQ(S_OK, lex->GetEntryTitle(0, title, 4));
    EXPECT_STREQ("Abr", title);
    EXPECT_EQ(E_POINTER, lex->GetEntryCount(nullptr));
    EXPECT_EQ(E_POINTER, lex->GetEntryKind(0, nullptr));
    EXPECT_EQ(E_POINTER, lex->GetName(nullptr));
    EXPECT_EQ(E_POINTER, lex->FindEntry("a", nullptr, nullptr));
    EXPECT_EQ(E_INVALIDARG, lex->FindEntry(nullptr, &value, nullptr));
    EXPECT_EQ(E_POINTER, lex->FindEntryForReference(ref, FALSE, nullptr));
    EXPECT_EQ(E_INVALIDARG, lex->FindEntryForReference(0, FALSE, &value));
    EXPECT_EQ(E_NOINTERFACE, lex->GetLangStat(reinterpret_cast<IBibleLangStat**>(&title)));
}

TEST_F(UserLex, FindEntryWidensDatesAndFallsBackToTexts) {
    ComPtr<IVoLexicon> lex = CreateCommentary(path_);
    AddEntry(lex.Get(), "@Gen 3");  // a text that reads like a reference
    AddEntry(lex.Get(), "Gen 1:2");
    AddEntry(lex.Get(), "/26/12");
    int pos = -1;
    VARIANT_BOOL exact = 7;
    // 24 December finds 26 December of every year, not exact.
    EXPECT_EQ(S_FALSE, lex->FindEntry("24. desember", &pos, &exact));
    EXPECT_EQ(2, pos);
    EXPECT_EQ(0, exact);
    EXPECT_EQ(S_FALSE, lex->FindEntry("/24/12/2030", &pos, &exact));
    EXPECT_EQ(2, pos);  // the first search ended at the end: the yearless one is taken
    EXPECT_EQ(S_OK, lex->FindEntry("26.12", &pos, &exact));
    EXPECT_EQ(2, pos);
    EXPECT_EQ(1, exact);
    // A reference title without a reference entry finds the text entry of that text.
    EXPECT_EQ(S_OK, lex->FindEntry("Gen 3", &pos, &exact));
    EXPECT_EQ(0, pos);
    EXPECT_EQ(1, exact);
    EXPECT_EQ(S_FALSE, lex->FindEntry("Gen 1:1", &pos, &exact));
    EXPECT_EQ(1, pos);
    EXPECT_EQ(0, exact);
    EXPECT_EQ(S_FALSE, lex->FindEntry("zzz", &pos, nullptr));
    EXPECT_EQ(1, pos);  // texts sort first: before the reference

    // A dated title against a yearless entry more than six days later, with dated entries
    // after it: the dated search stands.
    AddEntry(lex.Get(), "/01/01/2031");
    EXPECT_EQ(S_FALSE, lex->FindEntry("/18/12/2030", &pos, &exact));
    EXPECT_EQ(3, pos);
    EXPECT_EQ(S_FALSE, lex->FindEntry("/20/12/2030", &pos, &exact));
    EXPECT_EQ(2, pos);  // 26 December is six days on
}

TEST_F(UserLex, FindEntryForReferenceWidensToChapterAndBook) {
    ComPtr<IVoLexicon> lex = CreateCommentary(path_);
    TestRefSystem refs;
    auto ref = [&](const char* t) { int r = 0; EXPECT_EQ(S_OK, refs.Parse(t, &r)) << t; return r; };
    int chapter = AddEntry(lex.Get(), "Gen 2");
    int book = AddEntry(lex.Get(), "Joh");
    int range = AddEntry(lex.Get(), "Joh 3:4-6");
    chapter = 1, book = 2, range = 3;  // ids after all insertions
    int id = -1;
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Gen 2:3"), FALSE, &id));
    EXPECT_EQ(chapter, id);
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Gen 2:3"), TRUE, &id));
    EXPECT_EQ(0, id);
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Gen 2"), TRUE, &id));
    EXPECT_EQ(chapter, id);
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Joh 2:1"), FALSE, &id));
    EXPECT_EQ(book, id);  // verse to chapter to book
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Gen 3:1"), FALSE, &id));
    EXPECT_EQ(0, id);  // a book with no entry ends the widening
    // A range asks for its start; an entry for a range answers for its first verse.
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Joh 3:4-5"), TRUE, &id));
    EXPECT_EQ(range, id);
    EXPECT_EQ(S_OK, lex->FindEntryForReference(ref("Joh 3:5"), FALSE, &id));
    EXPECT_EQ(book, id);
}

// A write-protected file: read-only, and held by another program that lets others read it
// but not write (Wine lets an administrator write a read-only file; the handle protects it
// there as the attribute does on Windows).
TEST_F(UserLex, WriteProtectedFileOpensReadOnlyAndRefusesEveryEdit) {
    MakeSmallCommentary();
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string bytes = ReadWholeFile(path_);
    {
        FileHandle reader(CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader.IsValid());
        ComPtr<IVoLexicon> lex = Open(path_);
        ASSERT_TRUE(lex);
        ExpectReadOnly(lex.Get());
        EXPECT_EQ("Far til mange", EntryText(lex.Get(), 1));
    }
    EXPECT_TRUE(bytes == ReadWholeFile(path_));
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UserLex, ClosingWithoutSavingLeavesTheLastSavedState) {
    MakeSmallCommentary();
    const std::string bytes = ReadWholeFile(path_);
    std::vector<EntryView> saved;
    {
        ComPtr<IVoLexicon> lex = Open(path_);
        saved = Entries(lex.Get());
        AddEntry(lex.Get(), "Unsaved", "text");
        EXPECT_EQ(S_OK, lex->SetEntryText(1, "changed"));
        EXPECT_EQ(S_OK, lex->DeleteEntry(2));
    }
    EXPECT_TRUE(bytes == ReadWholeFile(path_));
    ComPtr<IVoLexicon> lex = Open(path_);
    EXPECT_EQ(saved, Entries(lex.Get()));
}

TEST_F(UserLex, NotesExtensionInAnyCaseOpensAUserCommentary) {
    for (const char* name : {"a.VRSN", "b.Vol", "c.vol"}) {
        std::string path = dir_.File(name);
        ASSERT_EQ(S_OK, CreateLexFile(path.c_str(), TestLangStat(), "x", nullptr, TestBinding())) << name;
        ComPtr<IVoLexicon> lex;
        EXPECT_EQ(S_OK, OpenCommentary(path, &lex)) << name;
        int type = -1;
        EXPECT_EQ(S_OK, lex->GetLexiconType(&type));
        EXPECT_EQ(0, type);
    }
    // Any other extension is a packaged lexicon: a commentary has no "Names" stream.
    std::string other = dir_.File("d.vrsn.bak");
    ASSERT_EQ(S_OK, CreateLexFile(other.c_str(), TestLangStat(), "x", nullptr, TestBinding()));
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(STG_E_FILENOTFOUND, OpenCommentary(other, &lex));
    EXPECT_FALSE(lex);
    EXPECT_EQ(E_POINTER, OpenLexFile(path_.c_str(), nullptr, TestBinding()));
    EXPECT_EQ(E_INVALIDARG, OpenLexFile(nullptr, lex.Put(), TestBinding()));
}

TEST_F(UserLex, LoadChecksItsArgumentsAndLeavesNoFileBehind) {
    ComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, CreateObjectAs<VoUserLex>(IID_IPersistFile, file.Put(), TestBinding()));
    std::wstring missing = Wide(dir_.File("missing.vrsn"));
    EXPECT_EQ(E_NOTIMPL, file->Load(missing.c_str(), 1));
    EXPECT_EQ(E_INVALIDARG, file->Load(L"notes.vrsn", 0));
    EXPECT_EQ(E_INVALIDARG, file->Load(Wide(dir_.File("no\\such\\x.vrsn")).c_str(), 0));
    EXPECT_EQ(E_INVALIDARG, file->Load((Wide(dir_.Path()) + L"\\" + std::wstring(260, L'x')).c_str(), 0));
    EXPECT_EQ(E_POINTER, file->Load(nullptr, 0));
    // A missing commentary is not made: a user commentary starts only through creation.
    EXPECT_EQ(E_NOTIMPL, file->Load(missing.c_str(), 0));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(missing.c_str()));
    LPOLESTR cur = nullptr;
    EXPECT_EQ(E_UNEXPECTED, file->GetCurFile(&cur));
    EXPECT_EQ(E_NOTIMPL, file->Save(nullptr, TRUE));

    MakeSmallCommentary();
    EXPECT_EQ(S_OK, file->Load(Wide(path_).c_str(), 0));
    EXPECT_EQ(E_UNEXPECTED, file->Load(Wide(path_).c_str(), 0));
    ASSERT_EQ(S_OK, file->GetCurFile(&cur));
    EXPECT_EQ(Wide(path_), std::wstring(cur));
    CoTaskMemFree(cur);
    EXPECT_EQ(E_NOTIMPL, file->Save(L"elsewhere.vrsn", TRUE));
    EXPECT_EQ(E_UNEXPECTED, file->SaveCompleted(nullptr));  // no save is pending
    ComPtr<IPersistStorage> ps;
    ASSERT_EQ(S_OK, file.As(IID_IPersistStorage, &ps));
    EXPECT_EQ(E_NOTIMPL, ps->InitNew(nullptr));
}

}  // namespace
