// Scratch data for the engine's tests: a scratch HKEY_CURRENT_USER and a "Bibles" folder
// (named by the "Versilo.ini" beside the test program and emptied before every test) that
// each test fills with the bibles and lists it needs, written by the project's writers over
// the small three-book numbering. Where the engine searches the folder, a test puts one
// candidate in it: the order in which a folder lists its files is not fixed.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BibleListFixture.h"
#include "RefDataWriters.h"
#include "ViewerApp.h"

class ViewerTest : public BibleListTestBase {
protected:
    // Handles of the small numbering: linear verse v, and verses first to last.
    static int VerseRef(int v) {
        ComPtr<IBibleHandles> handles = Handles(SmallStat().Get());
        int b = 0, c = 0, verse = 0;
        SmallStat()->VerseIndexToRef(v, &b, &c, &verse);
        int ref = 0;
        EXPECT_EQ(S_OK, handles->MakeRef(&ref, b, c, verse));
        return ref;
    }
    static int RangeRef(int first, int last) {
        ComPtr<IBibleHandles> handles = Handles(SmallStat().Get());
        int ref = VerseRef(first);
        int b = 0, c = 0, v = 0;
        SmallStat()->VerseIndexToRef(last, &b, &c, &v);
        EXPECT_EQ(S_OK, handles->ExtendRef(&ref, b, c, v));
        return ref;
    }
    static ComPtr<IBibleStat> SmallStat() {
        static ComPtr<IBibleStat> stat = [] {
            ComPtr<IBibleStat> s;
            EXPECT_EQ(S_OK, SmallLangStat()->GetBibleStat(s.Put()));
            return s;
        }();
        return stat;
    }
    // A numbering of the small one's versification with a fourth book (identifier 4, one
    // chapter of three verses) that the small bibles lack.
    static ComPtr<IBibleStat> WiderStat() {
        // {6A1C2E30-5B4D-4F6E-8A9B-0C1D2E3F4A5B}
        static const GUID kWiderIdentity = {0x6A1C2E30, 0x5B4D, 0x4F6E, {0x8A, 0x9B, 0x0C, 0x1D, 0x2E, 0x3F, 0x4A, 0x5B}};
        static ComPtr<IBibleStat> stat = [] {
            ComPtr<IBibleStatBuilder> builder;
            EXPECT_EQ(S_OK, CreateBibleStat(&kWiderIdentity, &kSmallIdentity, 4, builder.Put()));
            const std::vector<std::vector<int>> books = {{3, 4}, {5}, {2, 2, 2}, {3}};
            for (size_t b = 0; b < books.size(); ++b)
                EXPECT_EQ(S_OK, builder->AddBook(static_cast<int>(b) + 1, static_cast<int>(books[b].size()),
                                                 books[b].data()));
            ComPtr<IBibleStat> made;
            EXPECT_EQ(S_OK, builder.As(IID_IBibleStat, &made));
            return made;
        }();
        return stat;
    }
    static int WiderRef(int book, int chapter, int verse) {
        int ref = 0;
        EXPECT_EQ(S_OK, Handles(WiderStat().Get())->MakeRef(&ref, book, chapter, verse));
        return ref;
    }
    static ComPtr<IBibleHandles> Handles(IBibleStat* stat) {
        ComPtr<IBibleHandles> handles;
        EXPECT_EQ(S_OK, ComPtr<IBibleStat>(stat).As(IID_IBibleHandles, &handles));
        return handles;
    }
    // One entry for each verse of verses, over the small numbering.
    static std::vector<int> Entries(const std::vector<int>& verses) {
        std::vector<int> refs;
        for (int v : verses) refs.push_back(VerseRef(v));
        return refs;
    }
    // A list file of the Bibles folder (or at a full path) over stat (the small numbering
    // by default).
    static void WriteList(const std::string& fileOrPath, const std::vector<int>& refs, IBibleStat* stat = nullptr) {
        std::string path = fileOrPath.find('\\') == std::string::npos ? Bibles() + fileOrPath : fileOrPath;
        ASSERT_EQ(S_OK, WriteRefListFile(path.c_str(), stat ? stat : SmallStat().Get(), refs, 16)) << path;
    }
    // A bible of the small numbering whose verse v reads texts(v).
    template <class TextOf>
    static void WriteTexts(const std::string& fileName, TextOf texts) {
        BibleWriter w(SmallLangStat().Get());
        for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, texts(v));
        w.SetNames("Liten testbibel", "LTB");
        std::string error;
        ASSERT_TRUE(w.WriteFile(BibleFormat::kNew, Bibles() + fileName, &error)) << fileName << ": " << error;
    }
    // A text of exactly length characters that starts with prefix, in short words.
    static std::string TextOfLength(const std::string& prefix, size_t length) {
        std::string text = prefix;
        while (text.size() < length) text += " ord";
        text.resize(length);
        if (text.back() == ' ') text.back() = 'x';
        return text;
    }

    // The viewer's key under the scratch root.
    HKEY ViewerKey() {
        if (!viewerKey_) {
            HKEY key = nullptr;
            RegCreateKeyExA(registry.AppKey(), "VoViewer", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
            viewerKey_.Reset(key);
        }
        return viewerKey_.Get();
    }
    void SetViewerString(const char* name, const std::string& text) {
        RegSetValueExA(ViewerKey(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    void SetViewerDword(const char* name, DWORD value) {
        RegSetValueExA(ViewerKey(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    // A DWORD of the viewer's key, or -1 when missing.
    LONGLONG ViewerDword(const char* name) {
        DWORD type = 0, value = 0, size = sizeof(value);
        if (RegQueryValueExA(ViewerKey(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD)
            return -1;
        return value;
    }
    // The bible and list the engine should take.
    void Choose(const char* bible, const char* list) {
        SetViewerString("Bible", bible);
        SetViewerString("RefList", list);
    }

    struct Shown {
        std::string text;
        int ref;
        int position;  // the list position the engine names for it
    };
    // Shows and consumes n verses as the verse dialog does.
    static std::vector<Shown> Walk(VoViewerApp& app, int n) {
        std::vector<Shown> shown;
        for (int i = 0; i < n; ++i) {
            char text[1024] = {};
            int ref = app.GetCurrentVerse(text, sizeof(text));
            shown.push_back({text, ref, app.GetRefList().GetIndex()});
            app.NextVerse();
        }
        return shown;
    }
    static std::string VerseText(int v) { return "Vers " + std::to_string(v) + "."; }

private:
    RegKey viewerKey_;
};
