// Small bibles for the holder's tests, written by the project's bible writer over the
// three-book numbering of the bible-file tests, and a bible whose statistics lack their
// reference values.
#pragma once
#include <windows.h>
#include <string>
#include "BibleFixture.h"
#include "TestFiles.h"

// Writes a new-format bible of the small numbering whose verse v reads texts(v), with a
// section title at each verse of titles; returns it opened.
template <class TextOf>
ComPtr<INewBible> WriteAndOpen(const TempDir& dir, const char* name, TextOf texts,
                               std::initializer_list<int> titles = {}) {
    BibleWriter w(SmallLangStat().Get());
    for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, texts(v));
    for (int t : titles) w.SetSectionTitle(t, "Avsnitt " + std::to_string(t));
    w.SetNames("Liten testbibel", "LTB");
    std::string error;
    std::string path = dir.File(name);
    EXPECT_TRUE(w.WriteFile(BibleFormat::kNew, path, &error)) << error;
    ComPtr<INewBible> bible;
    EXPECT_EQ(S_OK, OpenNewBibleFile(path.c_str(), bible.Put()));
    return bible;
}

// "Vers N." for every verse.
inline ComPtr<INewBible> OpenSmallBible(const TempDir& dir, std::initializer_list<int> titles = {}) {
    return WriteAndOpen(dir, "small.vrsb", [](int v) { return "Vers " + std::to_string(v) + "."; }, titles);
}
