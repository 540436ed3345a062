// The link the editor follows on a double-click: one table of texts with the caret ('|'
// marks it, and is taken out) and the link found.
#include <gtest/gtest.h>
#include <string>
#include "EditLinks.h"

namespace {

TEST(EditLinks, TheLinkAroundTheCaret) {
    struct Row {
        const char* text;  // '|' stands for the caret
        EditLinkKind kind;
        const char* link;
    } rows[] = {
        {"Se <Joh |3:16> her", EditLinkKind::kBibleReference, "Joh 3:16"},
        {"Se <|Joh 3:16>", EditLinkKind::kBibleReference, "Joh 3:16"},
        {"Se <Joh 3:16|>", EditLinkKind::kBibleReference, "Joh 3:16"},
        {"Se |<Joh 3:16>", EditLinkKind::kNone, ""},
        {"<Joh 3:16>| etter", EditLinkKind::kNone, ""},
        {"Se <Joh 3:|16, 18> her", EditLinkKind::kBibleReference, "Joh 3:16"},
        {"Se <Joh |3:16, 18>", EditLinkKind::kBibleReference, "Joh 3:16"},
        {"Se <Joh 3:16, 1|8>", EditLinkKind::kBibleReference, "Joh 3:16, 18"},  // a comma before the caret stays
        {"Se {Sa|ra} her", EditLinkKind::kArticleTitle, "Sara"},
        {"Se {Sara, Abra|ham}", EditLinkKind::kArticleTitle, "Sara, Abraham"},
        {"Se {Sa|ra her", EditLinkKind::kNone, ""},
        {"Se <Joh |3:16\r\n>", EditLinkKind::kNone, ""},
        {">Joh |3:16. Om troen\r\nTekst", EditLinkKind::kBibleReference, "Joh 3:16"},
        {"Tekst\r\n>Joh |3\r\nMer", EditLinkKind::kBibleReference, "Joh 3"},
        {"Tekst\r\n>Joh |3", EditLinkKind::kNone, ""},  // the last line, a heading without a line end
        {"Tekst\n>Joh |3\nMer", EditLinkKind::kNone, ""},  // a heading ends at a CR only
        {"Tekst >Joh |3.", EditLinkKind::kNone, ""},       // '>' inside a line closes, never opens
        {"Linje <Joh 3:16\r\nny |linje>", EditLinkKind::kNone, ""},
        {"|", EditLinkKind::kNone, ""},
    };
    for (const Row& row : rows) {
        std::string text = row.text;
        const size_t caret = text.find('|');
        text.erase(caret, 1);
        SCOPED_TRACE(row.text);
        std::string link = "old";
        EXPECT_EQ(row.kind, FindEditLink(text.c_str(), static_cast<int>(caret), &link));
        EXPECT_EQ(row.link, link);
    }
    std::string link;
    EXPECT_EQ(EditLinkKind::kNone, FindEditLink("<Joh 3:16>", 99, &link)) << "a caret past the end";
    EXPECT_EQ(EditLinkKind::kNone, FindEditLink("<Joh 3:16>", -1, &link));
    EXPECT_EQ(EditLinkKind::kNone, FindEditLink(nullptr, 0, &link));
}

}  // namespace
