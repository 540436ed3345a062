// The program's string table: a sample of its texts, exactly as the program shows them,
// in the Windows-1252 code page of a Norwegian system.
#include <gtest/gtest.h>
#include <string>
#include "MessageText.h"
#include "TestText.h"

namespace {

TEST(StringTableTest, SampleTextsAreExact) {
    const ExpectedText sample[] = {
        {103, L"Versilo"},
        {104, L"AaBb\u00c6\u00e6\u00d8\u00f8\u00c5\u00e5"},
        {105, L"KV61/04BM"},
        {106, L"KV6104"},
        {108, L" versjon 1"},
        {134, L"%U1 er passordbeskyttet. Du m\u00e5 oppgi passordet for \u00e5 kunne gj\u00f8re endringer."},
        {141, L"Er du sikker p\u00e5 at du vil slette fargemarkeringene dine for alle versene i hele bibelen?"},
        {143, L"Du har ikke fargemarkert noen vers f\u00f8r %1."},
        {501, L"Feil i feltet %s\n%s."},
        {502, L"Kun tall mellom %i og %i er lovlige."},
        {505, L"Skriftst\u00f8rrelse"},
        {516, L"Versilo ser ikke ut til \u00e5 v\u00e6re installert korrekt. Ingen bibler ble funnet."},
        {600, L"Svart"},
        {604, L"M\u00f8rk bl\u00f8gr\u00f8nn"},
        {623, L"Gr\u00e5 40%"},
        {639, L"Hvit"},
        {1001, L"Klikk for \u00e5 g\u00e5 til' %s' eller trykk ned musknapp og dra til annet bibelvindu for \u00e5 g\u00e5 "
               L"til det der."},
        {1009, L"Filen '%1' eksisterer allerede og vil bli overskrevet.\nEr du sikker p\u00e5 at du vil opprette en "
               L"ny fil med dette navnet?"},
        {1013, L"Notatfiler (*.vrsn)|*.vrsn|Gamle notatfiler (*.vol)|*.vol|Alle filer (*.*)|*.*|"},
        {1015, L"Siden du allerede har registrert en bibelkommentar med det valgte filnavnet, kan du ikke bruke det "
               L"valgte navnet."},
        {1021, L"Ingen henvisninger"},
        {1028, L"Fargemarkeringsfiler (*.vrsv)|*.vrsv|Alle filer (*.*)|*.*|"},
        {1030, L"Importer fargemarkeringer"},
    };
    ExpectStringResources(sample);
}

TEST(StringTableTest, TextsAreInTheNorwegianCodePage) {
    // The loader converts to the run's code page; in Windows-1252 the letters are single bytes.
    ASSERT_EQ(1252u, GetACP());
    char buffer[kTextCapacity];
    EXPECT_EQ(std::string("AaBb\xC6\xE6\xD8\xF8\xC5\xE5"), LoadResString(buffer, 104));
}

TEST(StringTableTest, EveryStatusHelpOfTheMenusIsThere) {
    // The ids of the commands and popup menus whose help the status bar shows.
    const UINT ids[] = {2000, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2100, 2101, 2200, 2201, 2300, 2301,
                        2302, 2303, 2304, 2305, 2306, 2307, 2308, 2309, 2400, 2401, 2402, 2403, 2404, 2500,
                        2501, 2502, 2503, 3000, 3100, 3101, 3102, 5000, 113, 114, 115, 118, 119, 122, 123,
                        1022, 1023, 1024, 1025, 1026, 1027};
    char buffer[kTextCapacity];
    for (UINT id : ids) {
        LoadResString(buffer, id);
        EXPECT_GT(lstrlenA(buffer), 0) << id;
        EXPECT_LT(lstrlenA(buffer), 80) << id << " is also a tool tip of at most 79 characters";
    }
}

}  // namespace
