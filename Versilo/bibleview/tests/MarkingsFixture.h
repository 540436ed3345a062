// The folder the marking tests run in, laid out as a program folder: the test program with
// copies of VoUtil.dll and RyTxtUtl.dll beside it and a "Bibles" folder there with the
// sample numbering tables (which VoUtil.dll converts through), and "Versilo.ini" naming a
// scratch "Bibles" directory (scratch\Bibles) that holds "kv61.vos" and two bibles written
// once per run: "FELLES" of the reference numbering and "VAR" of the sample variant
// numbering. Each test gets a scratch HKEY_CURRENT_USER and a fresh "kv61.vos".
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "BibleWriter.h"
#include "DataDirectories.h"
#include "MarkedVerses.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "SampleProgramFolder.h"
#include "SampleVersifications.h"
#include "ScratchRegistry.h"
#include "TestFiles.h"

// The verses of a bit set, in order.
inline std::set<int> MarkedIn(const VoVerseBitSet& bits) {
    std::set<int> verses;
    for (int v = bits.FindNext(-1); v >= 0; v = bits.FindNext(v)) verses.insert(v);
    return verses;
}

// Counts what the store tells its frame.
struct SinkLog : AVoKv61MarkedVersesSink {
    void OnMarksChanged() override { ++changed; }
    void OnMarksVisibilityChanged() override { ++visibility; }
    int changed = 0, visibility = 0;
};

class MarkingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(PrepareSampleProgramFolder());
        ASSERT_EQ(S_OK, BuildProtestantStat(common_.Put()));
        ASSERT_EQ(S_OK, BuildVariantStat(variant_.Put()));
        WriteBible(common_.Get(), "felles.vrsb", "FELLES");
        WriteBible(variant_.Get(), "variant.vrsb", "VAR");
    }
    static void TearDownTestSuite() {
        common_.Reset();
        variant_.Reset();
    }

    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        ASSERT_TRUE(CopyFileA((std::string(program) + "Bibles\\kv61.vos").c_str(), ReferenceFile().c_str(), FALSE));
    }

    static std::string Bibles() {
        char dir[kDirectoryCapacity];
        return GetBiblesDirectory(dir);
    }
    static std::string ReferenceFile() { return Bibles() + kReferenceStatFile; }

    // Linear verse of the reference numbering, and of the variant one.
    static int Common(int book, int chapter, int verse) { return common_->RefToVerseIndex(book, chapter, verse); }
    static int Variant(int book, int chapter, int verse) { return variant_->RefToVerseIndex(book, chapter, verse); }

    ScratchRegistry registry;

private:
    static inline ComPtr<IBibleStat> common_, variant_;
    static void WriteBible(IBibleStat* stat, const char* file, const char* shortName) {
        ComPtr<IBibleLangStat> lang;
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat, lang.Put()));
        BibleWriter w(lang.Get());
        for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, "v");
        w.SetNames(std::string("Testbibel ") + shortName, shortName);
        std::string error;
        ASSERT_TRUE(w.WriteFile(BibleFormat::kNew, Bibles() + file, &error)) << file << ": " << error;
    }
};
