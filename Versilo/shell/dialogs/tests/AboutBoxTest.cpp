// The about box and the bible-information dialog: the version text as a table, the version
// line of the running program (which carries the program's version resource) with no
// installed "Version" and with one of each type in a scratch HKEY_LOCAL_MACHINE, and the
// information of the KJV sample bible, of a bible without a companion file and of an
// old-format bible.
#include <gtest/gtest.h>
#include <string>
#include "AboutBox.h"
#include "DialogCommands.h"
#include "DialogScript.h"
#include "ProgramVersion.h"
#include "ScratchRegistry.h"
#include "SearchFixture.h"

namespace {

TEST(ProgramVersion, TheVersionTextAsATable) {
    struct Case { WORD major, minor, build; const char* installed; const char* text; };
    const Case cases[] = {
        {3, 11, 7, nullptr, "3.11 Bygg nr. 7"},
        {3, 10, 7, nullptr, "3.1 Bygg nr. 7"},
        {3, 5, 7, nullptr, "3.05 Bygg nr. 7"},
        {3, 0, 0, nullptr, "3.0 Bygg nr. 0"},
        {3, 20, 12, nullptr, "3.2 Bygg nr. 12"},
        {3, 11, 7, "3.11.7", "3.11 Bygg nr. 7"},               // the same build: nothing added
        {3, 11, 7, "3.11.9", "3.11 Bygg nr. 7/9"},
        {3, 11, 7, "ukjent", "3.11 Bygg nr. 7"},               // no "."
        {3, 11, 7, "3.11.", "3.11 Bygg nr. 7"},                // nothing after it
        {3, 11, 7, "3.1234567890123456789", "3.11 Bygg nr. 7/123456789012345"},  // bounded
        {65535, 65535, 65535, nullptr, "65535.65535 Bygg nr. 65535"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, FormatVersionText(MAKELONG(c.minor, c.major), MAKELONG(0, c.build), c.installed))
            << c.major << "." << c.minor << " " << (c.installed ? c.installed : "-");
    DWORD ms = 0, ls = 0;
    EXPECT_FALSE(GetFileVersion("Z:\\no\\such\\file.exe", &ms, &ls));
    ASSERT_TRUE(GetProgramVersion(&ms, &ls));
    EXPECT_EQ(MAKELONG(11, 3), static_cast<LONG>(ms));
    EXPECT_EQ("1\r\n2\r\n3\r\n", WithCrLf("1\n2\r\n3\n"));
}

std::string AboutLine() {
    std::string line;
    const INT_PTR result = DialogScript::Run([] { return RunAboutCommand(nullptr); }, [&](HWND d) {
        line = ItemTextOf(d, 1058);
        EXPECT_TRUE(SaveDialogArtifact(d, "about-box"));
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, result);
    return line;
}

TEST(AboutBox, ShowsTheProgramsVersionAndAnInstalledBuildThatDiffers) {
    ScratchRegistry machine(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(machine.Ready());
    const std::string same = "3.11.1", other = "3.11.4";
    const DWORD five = 5;
    const struct {
        const char* what;
        DWORD type;  // REG_NONE: no "Version" at all
        const void* data;
        DWORD size;
        const char* line;
    } cases[] = {
        {"missing", REG_NONE, nullptr, 0, "(3.11 Bygg nr. 1)"},
        {"REG_SZ of the same build", REG_SZ, same.c_str(), 7, "(3.11 Bygg nr. 1)"},
        {"REG_SZ of another build", REG_SZ, other.c_str(), 7, "(3.11 Bygg nr. 1/4)"},
        {"REG_EXPAND_SZ: not read", REG_EXPAND_SZ, other.c_str(), 7, "(3.11 Bygg nr. 1)"},
        {"REG_DWORD: not a text", REG_DWORD, &five, sizeof five, "(3.11 Bygg nr. 1)"},
    };
    for (const auto& c : cases) {
        RegDeleteValueA(machine.AppKey(), "Version");
        if (c.type != REG_NONE) machine.SetRaw("Version", c.type, c.data, c.size);
        EXPECT_EQ(c.line, AboutLine()) << c.what;
    }
    // Cancel (Escape) closes it too.
    EXPECT_EQ(IDCANCEL, DialogScript::Run([] { return RunAboutCommand(nullptr); },
                                          [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }));
}

struct InfoShown {
    std::string title, rights, info;
};

InfoShown ShowInfo(IBible* bible, const char* artifact = nullptr) {
    InfoShown shown;
    const INT_PTR result = DialogScript::Run([&] { return RunBibleInfoCommand(nullptr, bible); }, [&](HWND d) {
        char title[256] = "";
        GetWindowTextA(d, title, sizeof title);
        shown.title = title;
        shown.rights = ItemTextOf(d, 1020);
        shown.info = ItemTextOf(d, 1021);
        if (artifact) {
            EXPECT_TRUE(SaveDialogArtifact(d, artifact));
        }
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, result);
    return shown;
}

TEST(BibleInfoDialog, ShowsTheRightsAndTheCompanionFileOfTheKjv) {
    ComPtr<IBible> kjv = OpenKjv();
    ASSERT_TRUE(kjv);
    char description[kBibleDescriptionSize] = "";
    ASSERT_EQ(S_OK, kjv->GetDescription(description, sizeof description));
    ComPtr<INewBible> nb;
    ASSERT_EQ(S_OK, kjv.As(IID_INewBible, &nb));
    char info[kBibleDescriptionSize] = "";
    ASSERT_EQ(S_OK, nb->ReadInfoFile(info, sizeof info));
    const InfoShown shown = ShowInfo(kjv.Get(), "bible-info-kjv");
    EXPECT_EQ("Informasjon om King James Version (1769)", shown.title);
    EXPECT_EQ(WithCrLf(description), shown.rights);
    EXPECT_EQ(WithCrLf(info), shown.info);
    EXPECT_FALSE(shown.info.empty());
}

TEST(BibleInfoDialog, ABibleWithoutACompanionFileOrOfTheOldFormatShowsNoInformation) {
    TempDir dir;
    FixtureOptions withInfo;
    withInfo.info = "Utgitt av Ordhus.\nOversatt fra grunnteksten.";
    const InfoShown shown = ShowInfo(WriteFixtureBible(dir, "med.vrsb", withInfo).Get(), "bible-info-small");
    EXPECT_EQ("Informasjon om Norsk testbibel", shown.title);
    EXPECT_EQ("Fritt til bruk.\r\nTeksten er laget for testene.", shown.rights);
    EXPECT_EQ("Utgitt av Ordhus.\r\nOversatt fra grunnteksten.", shown.info);

    EXPECT_EQ("", ShowInfo(WriteFixtureBible(dir, "uten.vrsb").Get()).info);
    FixtureOptions old;
    old.format = BibleFormat::kOld;
    old.info = "Skal ikke vises.";
    const InfoShown oldShown = ShowInfo(WriteFixtureBible(dir, "gammel.vrsb", old).Get());
    EXPECT_EQ("Fritt til bruk.\r\nTeksten er laget for testene.", oldShown.rights);
    EXPECT_EQ("", oldShown.info);
    EXPECT_EQ(0, RunBibleInfoCommand(nullptr, nullptr));
}

}  // namespace
