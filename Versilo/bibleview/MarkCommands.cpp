// The colour-marking commands: export, import, clearing, and the next or previous marked
// verse.
#include "MarkCommands.h"
#include "BibleInfoList.h"
#include "BibleObjects.h"
#include "BibleWindow.h"
#include "MarkedVerses.h"
#include "MessageText.h"
#include "ShellRoutines.h"
#include "WindowMarkCache.h"

namespace {

void TellFailure(AMarkingPrompts& prompts, UINT id, const char* path) {
    char text[kTextCapacity];
    prompts.ShowMessage(FormatResString(text, id, GetFileNamePart(path)), MB_OK);
}

}  // namespace

bool ExportMarkings(VoKv61MarkedVerses& store, AMarkingPrompts& prompts) {
    char path[MAX_PATH] = {};
    return prompts.ChooseExportPath(path, sizeof(path)) && ExportMarkingsTo(store, path, prompts);
}

bool ExportMarkingsTo(VoKv61MarkedVerses& store, const char* path, AMarkingPrompts& prompts) {
    if (store.Export(path)) return true;
    TellFailure(prompts, kIdsExportFailed, path);
    return false;
}

bool ImportMarkings(VoKv61MarkedVerses& store, AMarkingPrompts& prompts) {
    char path[MAX_PATH] = {};
    return prompts.ChooseImportPath(path, sizeof(path)) && ImportMarkingsFrom(store, path, prompts);
}

bool ImportMarkingsFrom(VoKv61MarkedVerses& store, const char* path, AMarkingPrompts& prompts) {
    bool merge = false;
    if (!store.IsEmpty()) {
        char question[2 * kTextCapacity], choices[kTextCapacity];
        FormatResString(question, kIdsImportMerge, GetFileNamePart(path));
        lstrcatA(question, LoadResString(choices, kIdsImportChoices));
        int answer = prompts.ShowMessage(question, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        if (answer != IDYES && answer != IDNO) return false;
        merge = answer == IDYES;
    }
    if (store.Import(path, merge)) return true;
    TellFailure(prompts, kIdsImportFailed, path);
    return false;
}

bool ClearMarkings(VoKv61MarkedVerses& store, AMarkingPrompts& prompts) {
    char text[kTextCapacity];
    if (prompts.ShowMessage(LoadResString(text, kIdsClearMarks), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    store.ClearAll();
    return true;
}

int MarkSearchStartItem(const VoBiblePosition& position, bool next) {
    const VoBiblePosition& p = position;
    if (p.caretItem >= p.selectionBegin && p.caretItem < p.selectionEnd)
        return next ? p.selectionEnd - 1 : p.selectionBegin;
    return p.caretItem;
}

void GoToMarkedVerse(AVoBibleWindow& window, VoBibleInfoList& bibles, VoKv61MarkedVerses& store, bool next,
                     AMarkingPrompts& prompts) {
    VoBiblePosition position;
    window.GetPosition(&position);
    if (position.bibleIndex < 0 || position.bibleIndex >= bibles.GetCount() || position.chapter < 0) return;
    VoBibleInfo& record = bibles.GetAt(position.bibleIndex);
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(record.GetBible());
    VoBibleObjects objects;
    if (!bible || !objects.Attach(bible.Get())) return;
    IBibleStat* stat = objects.GetStat();
    int base = stat->RefToVerseIndex(position.book, 0, 0);
    if (base < 0) return;
    int start = base + MarkSearchStartItem(position, next);
    if (start < 0 || start >= stat->GetVerseCount()) return;

    ComPtr<VoWindowMarkCache> cache = MakeMarkCache(record, &store);
    int found = -1;
    if (cache) found = next ? cache->GetBits().FindNext(start) : cache->GetBits().FindPrevious(start);

    int book = 0, chapter = 0, verse = 0;
    stat->VerseIndexToRef(found >= 0 ? found : start, &book, &chapter, &verse);
    int ref = objects.MakeIndex(book, chapter, verse);
    if (found >= 0) {
        if (ref) window.GoToVerse(ref);
        return;
    }
    char name[kFormatRefBufferSize] = {};
    if (ref) objects.GetLangStat()->FormatRef(name, ref, 0, 0, 0, FALSE);
    char text[kTextCapacity];
    prompts.ShowMessage(FormatResString(text, next ? kIdsNoNextMarked : kIdsNoPrevMarked, name), MB_OK);
}
