// LexiconPackage: the writer of packaged lexicons (".vrsl"). Titles, aliases and article
// texts in; a compound file out with the streams "Names" (the keys in key order and one
// index word per entry), "Stat" (the language statistics of the references) and "Text"
// (a leading record and the article texts as a text table, one row per article).
//
//   LexiconPackage pack(langStat);
//   pack.AddArticle(PackKey::Text("H1"), "father ...");
//   pack.AddAlias(PackKey::Text("H0001"), PackKey::Text("H1"), false);
//   PackResult result; std::string error;
//   if (!pack.Write(L"Strong.vrsl", &result, &error)) ...
//
// Texts sort by the "StdLang" collation (without one leading at sign), references by book,
// chapter and verse of their start, dates by value, as the reader searches them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "IBibleLangStat.h"

struct PackKey {
    int kind = 1;       // 1 text, 2 bible reference, 3 date
    std::string text;   // a text key
    DWORD value = 0;    // the reference handle or the date value

    static PackKey Text(std::string t) { PackKey k; k.text = std::move(t); return k; }
    static PackKey Reference(int handle) { PackKey k; k.kind = 2; k.value = static_cast<DWORD>(handle); return k; }
    static PackKey Date(DWORD v) { PackKey k; k.kind = 3; k.value = v; return k; }
};

struct PackResult {
    size_t articles = 0;
    size_t listedAliases = 0;
    size_t unlistedAliases = 0;
    size_t duplicateAliases = 0;  // aliases left out: the same title for the same article again
    size_t entries = 0;
    bool wideIndexWords = false;
    size_t namesBytes = 0;
    size_t textBytes = 0;
    unsigned long long fileBytes = 0;
};

class LexiconPackage {
public:
    explicit LexiconPackage(IBibleLangStat* langStat);

    // An article; its row in the text table is the number of articles added before it.
    void AddArticle(PackKey key, std::string text);
    // A further title of the article whose key is target: in the title list or not.
    void AddAlias(PackKey alias, PackKey target, bool listed);

    size_t ArticleCount() const { return texts_.size(); }

    // Writes the file (built beside it as path + ".new" and moved over it when complete).
    // False with a message for a title given to two articles, an alias of no article, an
    // empty or too long title, an invalid reference or date, or a failure to write.
    bool Write(const std::wstring& path, PackResult* result, std::string* error) const;

    // -1, 0 or 1: the order of two keys in a lexicon.
    int Compare(const PackKey& a, const PackKey& b) const;

private:
    struct Entry {
        PackKey key;
        int row = -1;       // an article's row; -1 for an alias
        PackKey target;     // an alias's article
        bool listed = false;
    };
    bool BuildNames(std::string* names, PackResult* result, std::string* error) const;
    bool CheckKey(const PackKey& key, std::string* error) const;

    ComPtr<IBibleLangStat> langStat_;
    ComPtr<IBibleHandles> handles_;
    std::vector<Entry> entries_;
    std::vector<std::string> texts_;
};
