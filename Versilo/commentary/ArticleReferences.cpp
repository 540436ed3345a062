// Reference texts of articles: parsing one, choosing the heading of a verse, and a link's
// reference as a verse of the active bible.
#include "ArticleReferences.h"
#include "ComPtr.h"
#include "MessageText.h"
#include "ShellRoutines.h"
#include "VoUtil.h"
#include <cstring>
#include <new>
#include <string>

namespace {

const char kNoCommentaryMessage[] = "No lexicon is chosen, so the text of %s cannot be found.";

void SetMessage(char* message, int size, const char* text) {
    CopyWholeCharacters(message, size, text, std::strlen(text));
}

// Compares two references as spans of verses: a chapter or book heading holds the verses
// inside it (compared as they are, a chapter and a verse are of different kinds and never
// hold one another). A reference too large for a span of verses is compared as it is.
HRESULT CompareAsVerses(IBibleHandles* handles, int a, int b) {
    const int kVerseLevel = 3;
    int verseA = a, verseB = b;
    if (FAILED(handles->SetRefLevel(&verseA, kVerseLevel)) || FAILED(handles->SetRefLevel(&verseB, kVerseLevel)))
        return handles->CompareRefs(a, b);
    return handles->CompareRefs(verseA, verseB);
}

}  // namespace

int ParseReferenceText(IBibleLangStat* langStat, int context, const char* text) {
    if (!langStat || !text) return 0;
    // The parser takes a movable cursor; it reads a copy, never the caller's text.
    std::string copy;
    try {
        copy = text;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    char* cursor = &copy[0];
    int reference = 0;
    int carried = context;
    if (langStat->ParseRef(&cursor, &reference, context ? &carried : nullptr) != S_OK) return 0;
    if (*cursor != '\0' || reference == context) return 0;
    return reference;
}

int ChooseHeadingForVerse(IBibleLangStat* langStat, const char* const* headings, int count, int verse) {
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (!langStat || !headings || verse == 0 || FAILED(langStat->GetBibleStat(stat.Put())) || !stat ||
        FAILED(stat.As(IID_IBibleHandles, &handles)))
        return -1;
    const int n = count < 0 ? 0 : (count > kMaxHeadingReferences ? kMaxHeadingReferences : count);
    int found = n, before = 0, behind = 0;
    for (int i = 0; i < n; ++i) {
        if (!headings[i] || std::strlen(headings[i]) >= static_cast<size_t>(kHeadingReferenceSize)) continue;
        const int heading = ParseReferenceText(langStat, 0, headings[i]);
        if (heading == 0) continue;
        const HRESULT r = CompareAsVerses(handles.Get(), heading, verse);
        if (r == kRefEqual || r == kRefContains) found = i;
        else if (before == i && r == kRefAfter) ++before;
        else if (before + behind == i && r == kRefBefore) ++behind;
    }
    if (found < n) return found;
    if (before + behind == n && before > 0) return before - 1;
    return -1;
}

int ReferenceTextToVerse(IBibleLangStat* langStat, IBible* activeBible, const char* text, char* message, int size) {
    if (message && size > 0) message[0] = '\0';
    if (!text) text = "";
    if (!langStat) {
        if (message && size > 0) {
            std::string line;
            try {
                const char* mark = std::strstr(kNoCommentaryMessage, "%s");
                line.assign(kNoCommentaryMessage, mark);
                line += text;
                line += mark + 2;
            } catch (const std::bad_alloc&) {
                line.clear();
            }
            SetMessage(message, size, line.c_str());
        }
        return 0;
    }
    const int reference = ParseReferenceText(langStat, 0, text);
    if (reference == 0) {
        if (message && size > 0) {
            char line[kTextCapacity];
            SetMessage(message, size, FormatResString(line, kIdsNotAReference, text));
        }
        return 0;
    }
    ComPtr<IBibleStat> commentaryStat, bibleStat;
    if (!activeBible || FAILED(activeBible->GetBibleStat(bibleStat.Put())) || !bibleStat ||
        FAILED(langStat->GetBibleStat(commentaryStat.Put())) || !commentaryStat)
        return 0;
    if (commentaryStat.Get() == bibleStat.Get()) return reference;
    int converted = 0;
    return ConvertRef(commentaryStat.Get(), bibleStat.Get(), reference, &converted) == S_OK ? converted : 0;
}
