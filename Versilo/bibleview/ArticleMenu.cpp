// CVoBibleItemServer: the menu of the articles that belong to a word or a verse.
#include <cstdio>
#include "BibleItemServer.h"
#include "MessageText.h"
#include "UserHandles.h"

namespace {

constexpr UINT kIdsLookUp = 1005;    // "Slå opp %s"
constexpr UINT kIdsCancel = 1006;
constexpr UINT kIdsCopyMarked = 1018;
constexpr int kArticleTitleSize = 256;

}  // namespace

UINT CVoBibleItemServer::TrackArticleMenu(HMENU menu) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, cursor.x, cursor.y,
                                            0, textWindow_, nullptr));
}

ArticleHandle CVoBibleItemServer::ShowArticleMenu(const ArticleHandle* list, int keyCount, int verseCount, bool* copy) {
    if (copy) *copy = false;
    MenuHandle menu(CreatePopupMenu());
    if (!menu) return kNoArticle;
    AVoLexicon* lexicon = GetLexiconWindow();
    const int count = keyCount + verseCount;
    int appended = 0;
    if (lexicon && list) {
        char format[kTextCapacity];
        LoadResString(format, kIdsLookUp);
        for (int i = 0; i < count && i < kMaxMenuArticles; ++i) {
            if (i == keyCount && i > 0 && !AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr)) break;
            char title[kArticleTitleSize] = {};
            lexicon->GetArticleTitle(list[i], true, title, sizeof title);
            title[sizeof title - 1] = '\0';
            char item[kTextCapacity + kArticleTitleSize];
            std::snprintf(item, sizeof item, format, title);
            if (!AppendMenuA(menu.Get(), MF_STRING, static_cast<UINT_PTR>(i + 1), item)) break;
            ++appended;
        }
    }
    char text[kTextCapacity];
    if (copy) {
        AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
        if (appended == count) AppendMenuA(menu.Get(), MF_STRING, kArticleMenuCopy, LoadResString(text, kIdsCopyMarked));
    }
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.Get(), MF_STRING, kArticleMenuCancel, LoadResString(text, kIdsCancel));
    const UINT command = TrackArticleMenu(menu.Get());
    if (command >= 1 && static_cast<int>(command) <= appended) return list[command - 1];
    if (copy) *copy = command == kArticleMenuCopy;
    return kNoArticle;
}
