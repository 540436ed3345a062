// The search dialog's history in the registry.
#include "SearchHistory.h"
#include <algorithm>
#include "Registry.h"

bool SearchHistoryKey(const std::string& language, std::string* subKey) {
    if (language.empty() || language.find('\\') != std::string::npos) return false;
    *subKey = "Search\\" + language;
    return true;
}

std::vector<std::string> ReadSearchHistory(const std::string& language) {
    std::vector<std::string> queries;
    std::string subKey;
    RegKey key;
    if (!SearchHistoryKey(language, &subKey) ||
        OpenAppKey(key, HKEY_CURRENT_USER, subKey.c_str(), kAppKeyRead) != ERROR_SUCCESS)
        return queries;
    DWORD count = 0;
    ReadRegDword(key.Get(), "Count", &count);
    count = (std::min)(count, static_cast<DWORD>(kSearchHistorySize));
    for (DWORD i = 0; i < count; ++i) {
        char name[16];
        char text[kSearchQuerySize] = "";
        wsprintfA(name, "%i", static_cast<int>(i));
        if (ReadRegString(key.Get(), name, text, sizeof text)) queries.push_back(text);
    }
    return queries;
}

bool WriteSearchHistory(const std::string& language, const std::vector<std::string>& queries) {
    std::string subKey;
    RegKey key;
    if (!SearchHistoryKey(language, &subKey) ||
        CreateUserAppKey(key, subKey.c_str(), kAppKeyReadWrite) != ERROR_SUCCESS)
        return false;
    const DWORD count = static_cast<DWORD>((std::min)(queries.size(), static_cast<size_t>(kSearchHistorySize)));
    bool ok = WriteRegDword(key.Get(), "Count", count);
    for (DWORD i = 0; i < count; ++i) {
        char name[16];
        wsprintfA(name, "%i", static_cast<int>(i));
        ok = WriteRegString(key.Get(), name, queries[i].substr(0, kSearchQuerySize - 1).c_str()) && ok;
    }
    return ok;
}
