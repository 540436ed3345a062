// The viewer's string table: a sample of its texts, exactly as the viewer shows them.
#include <gtest/gtest.h>
#include <string>
#include "MessageText.h"
#include "TestText.h"

namespace {

TEST(ViewerStringTableTest, SampleTextsAreExact) {
    const ExpectedText sample[] = {
        {3, L"En ukjent feil oppsto."},
        {kIdsViewerCaption, L"Dizarivor"},
        {7, L"Dizarivor - %s"},
        {8, L"<Sl\u00e5 opp...>"},
        {9, L"Ved oppstart"},
        {20, L"1 time 30 min"},
        {28, L"1 dag"},
        {34, L"%i minutter"},
        {37, L"Du kan trykke Alt+I eller h\u00f8yreklikke i mannakornteksten for \u00e5 endre instillingene."},
        {51, L"Mannakornfiler (*.vrsm) |*.vrsm|Alle filer (*.*)|*.*"},
        {61, L"Bibelen '%s' kan ikke brukes sammen med mannakornlisten '%s'."},
        {70, L"&Kopier text"},
        {75, L"&Sl\u00e5 opp i versiloen"},
    };
    ExpectStringResources(sample);
}

TEST(ViewerStringTableTest, IntervalTextsHaveNoGap) {
    // Every row of the interval table has its text; id 15 is not one of them.
    char buffer[kTextCapacity];
    for (UINT id = 9; id <= 28; ++id) {
        LoadResString(buffer, id);
        if (id == 15) {
            EXPECT_STREQ("", buffer);
        } else {
            EXPECT_GT(lstrlenA(buffer), 0) << id;
        }
    }
    // The program's own texts are not in the viewer.
    EXPECT_STREQ("", LoadResString(buffer, 103));
}

}  // namespace
