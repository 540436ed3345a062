// Benchmark of the articles of a verse: finding every article of a verse across Nave's,
// Strong's Hebrew and Greek and a user commentary of 10,000 entries (one per verse from
// Genesis 1:1 on, titled with the verse, each text holding references) and rendering each
// to HTML; and rendering the longest article of Nave's. Medians of many rounds.
//
// Usage: ArticlesBench.exe [rounds]
// It reads the sample lexicons and the KJV sample bible of the build's program folder,
// writes the user commentary into a folder "notes" beside itself (with an empty "lexicons"
// and a "Versilo.ini" naming it) and uses a scratch registry key.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "ArticleFinder.h"
#include "ArticleHtml.h"
#include "BenchTimer.h"
#include "DataDirectories.h"
#include "ScratchRegistry.h"
#include "LexiconFiles.h"
#include "TestFiles.h"
#include "VoUtil.h"

namespace {


// The article's text rendered as the pane renders it; answers the body's length.
size_t RenderEntry(IVoLexicon* lexicon, int position, std::string* head, std::string* body) {
    int id = 0, length = 0;
    if (FAILED(lexicon->GetEntryId(position, &id)) || FAILED(lexicon->GetEntryTextLength(id, &length))) return 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (FAILED(lexicon->GetEntryText(id, &text[0], length + 1))) return 0;
    ComPtr<IBibleLangStat> langStat;
    lexicon->GetLangStat(langStat.Put());
    RenderArticle(text.c_str(), langStat.Get(), 0, head, body);
    return body->size();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    const std::string bin = std::string(program) + "..\\..\\bin\\";
    // The user commentary lies outside "Lexicons", which stays empty: the list holds exactly
    // the four files added below.
    const std::string scratch = std::string(program) + "notes\\";
    CreateDirectoryA(scratch.c_str(), nullptr);
    CreateDirectoryA((std::string(program) + "lexicons").c_str(), nullptr);
    WriteWholeFile(std::string(program) + "Versilo.ini", "[Directories]\r\nLexicons=.\\lexicons\\\r\n");
    ScratchRegistry registry;
    if (!registry.Ready()) {
        fprintf(stderr, "no scratch registry key\n");
        return 1;
    }

    ComPtr<INewBible> kjv;
    ComPtr<IBibleLangStat> langStat;
    ComPtr<IBibleStat> stat;
    if (FAILED(OpenNewBibleFile((bin + "Bibles\\KJV.vrsb").c_str(), kjv.Put())) ||
        FAILED(kjv->GetLangStat(langStat.Put())) || FAILED(langStat->GetBibleStat(stat.Put()))) {
        fprintf(stderr, "cannot open %sBibles\\KJV.vrsb\n", bin.c_str());
        return 1;
    }

    // The user commentary: 10,000 verse entries, each text a paragraph with references.
    const std::string userPath = scratch + "Notater.vrsn";
    {
        ComPtr<IVoLexicon> user;
        if (FAILED(CreateOldVoLexFile(userPath.c_str(), langStat.Get(), "Notater", user.Put()))) {
            fprintf(stderr, "cannot create %s\n", userPath.c_str());
            return 1;
        }
        for (int v = 0; v < 10000; ++v) {
            int book = 0, chapter = 0, verse = 0, reference = 0;
            stat->VerseIndexToRef(v, &book, &chapter, &verse);
            ComPtr<IBibleHandles> handles;
            stat.As(IID_IBibleHandles, &handles);
            handles->MakeRef(&reference, book, chapter, verse);
            char title[kFormatRefBufferSize] = {};
            langStat->FormatRef(title, reference, 0, 0, 0, 0);
            int id = 0;
            if (FAILED(user->AddEntry(title, &id))) continue;
            const std::string text = ">>" + std::string(title) + "\r\n>Om <" + title + ">\r\nSe <Joh 3:16, 18> og {Sara}.";
            user->SetEntryText(id, text.c_str());
        }
        if (FAILED(SaveLexicon(user.Get()))) {
            fprintf(stderr, "cannot save %s\n", userPath.c_str());
            return 1;
        }
    }

    VoLexiconList list;
    for (const char* name : {"Nave's Topical Bible.vrsl", "Strong's Hebrew Dictionary.vrsl", "Strong's Greek Dictionary.vrsl"})
        if (list.AddFile((bin + "Lexicons\\" + name).c_str()) < 0) {
            fprintf(stderr, "cannot open %s\n", name);
            return 1;
        }
    if (list.AddFile(userPath.c_str()) < 0) {
        fprintf(stderr, "cannot list %s\n", userPath.c_str());
        return 1;
    }
    list.SetCurrent(0);
    for (int i = 0; i < list.GetCount(); ++i)
        if (IVoLexicon* lexicon = list.GetAt(i).PeekLexicon()) lexicon->OpenText();
    VoArticleFinder finder(list);

    // Genesis 12:1.
    ComPtr<IBibleHandles> handles;
    stat.As(IID_IBibleHandles, &handles);
    int verse = 0;
    handles->MakeRef(&verse, 0, 11, 0);
    std::vector<double> finds, renders;
    int articles = 0;
    size_t rendered = 0;
    for (int r = 0; r < rounds; ++r) {
        std::vector<ArticleHandle> found;
        BenchTimer timer;
        for (ArticleHandle a = finder.FindArticleForVerse(true, stat.Get(), verse, false, kNoArticle); a != kNoArticle;
             a = finder.FindArticleForVerse(true, stat.Get(), verse, false, a))
            found.push_back(a);
        finds.push_back(timer.Seconds() * 1e6);
        timer.Restart();
        rendered = 0;
        for (ArticleHandle a : found) {
            int index = 0, position = 0;
            if (!finder.ResolveArticle(a, &index, &position)) continue;
            std::string head, body;
            rendered += RenderEntry(list.GetAt(index).PeekLexicon(), position, &head, &body);
        }
        renders.push_back(timer.Seconds() * 1e6);
        articles = static_cast<int>(found.size());
    }
    printf("Genesis 12:1 across %d commentaries (Nave's, Strong's Hebrew and Greek, a user commentary of 10,000 entries)\n",
           list.GetCount());
    printf("  find every article (%d found)            %10.1f us (median of %d)\n", articles, Median(finds), rounds);
    printf("  read and render them (%zu bytes of body)  %10.1f us (median of %d)\n", rendered, Median(renders), rounds);

    // The longest article of Nave's.
    IVoLexicon* naves = list.GetAt(0).PeekLexicon();
    int count = 0, longest = -1, longestLength = -1;
    naves->GetEntryCount(&count);
    for (int p = 0; p < count; ++p) {
        int id = 0, length = 0;
        if (SUCCEEDED(naves->GetEntryId(p, &id)) && SUCCEEDED(naves->GetEntryTextLength(id, &length)) &&
            length > longestLength) {
            longestLength = length;
            longest = p;
        }
    }
    char title[256] = {};
    naves->GetEntryTitle(longest, title, sizeof title);
    std::vector<double> longRenders;
    size_t bodyLength = 0;
    for (int r = 0; r < rounds; ++r) {
        std::string head, body;
        BenchTimer timer;
        bodyLength = RenderEntry(naves, longest, &head, &body);
        longRenders.push_back(timer.Seconds() * 1e6);
    }
    printf("Nave's longest article \"%s\": %d bytes of text, %zu bytes of body\n", title, longestLength, bodyLength);
    printf("  read and render it                       %10.1f us (median of %d)\n", Median(longRenders), rounds);
    return 0;
}
