#include "LexiconSource.h"
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include "ComPtr.h"

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// An escaped or stray character in the article text: the marks of links and references
// become characters that the article text shows as they are.
char Literal(char c) {
    switch (c) {
    case '{': return '[';
    case '}': return ']';
    case '<': return '\x8B';
    case '>': return '\x9B';
    default: return c;
    }
}

// The text between an open mark at i and its close mark, or npos when the line has none.
size_t CloseMark(const std::string& line, size_t i, char close) {
    for (size_t j = i + 1; j < line.size(); ++j) {
        if (line[j] == '\\') ++j;
        else if (line[j] == close) return j;
    }
    return std::string::npos;
}

std::string Unescaped(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) ++i;
        out.push_back(Literal(s[i]));
    }
    return out;
}

// "B.C.V" or "B.C" into 0-based indices (verse -1 for a chapter).
bool SplitPosition(const std::string& s, int* book, int* chapter, int* verse) {
    int parts[3] = {0, 0, 0};
    int n = 0;
    size_t i = 0;
    while (n < 3) {
        size_t start = i;
        long v = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - start < 4) v = v * 10 + (s[i++] - '0');
        if (i == start || v < 1) return false;
        parts[n++] = static_cast<int>(v);
        if (i == s.size()) break;
        if (s[i++] != '.') return false;
    }
    if (i != s.size() || n < 2) return false;
    *book = parts[0] - 1;
    *chapter = parts[1] - 1;
    *verse = n == 3 ? parts[2] - 1 : -1;
    return true;
}

}  // namespace

bool ReadLexiconSource(const std::string& path, std::vector<SourceRecord>* records, std::string* error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        *error = "cannot read " + path;
        return false;
    }
    records->clear();
    std::string line;
    size_t number = 0;
    bool inAliases = false;
    while (std::getline(f, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (StartsWith(line, "$$$")) {
            records->push_back(SourceRecord{line.substr(3), {}, {}});
            inAliases = true;
        } else if (records->empty()) {
            *error = path + ":" + std::to_string(number) + ": text before the first record";
            return false;
        } else if (inAliases && StartsWith(line, "$$=")) {
            records->back().aliases.push_back(line.substr(3));
        } else {
            inAliases = false;
            records->back().lines.push_back(line);
        }
    }
    return true;
}

int ParseNormalisedReference(const std::string& text, IBibleHandles* handles) {
    size_t dash = text.find('-');
    int b = 0, c = 0, v = 0, handle = 0;
    if (!SplitPosition(text.substr(0, dash), &b, &c, &v)) return 0;
    if (handles->MakeRef(&handle, b, c, v) != S_OK) return 0;
    if (dash != std::string::npos) {
        int b2 = 0, c2 = 0, v2 = 0;
        if (!SplitPosition(text.substr(dash + 1), &b2, &c2, &v2)) return 0;
        if ((v < 0) != (v2 < 0)) return 0;  // a range runs between positions of one kind
        if (handles->ExtendRef(&handle, b2, c2, v2) != S_OK) return 0;
    }
    return handle;
}

std::string ConvertArticleLine(const std::string& line, IBibleLangStat* langStat,
                               const std::function<bool(const std::string&)>& isTitle, MarkupCounts* counts) {
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (SUCCEEDED(langStat->GetBibleStat(stat.Put()))) stat.As(IID_IBibleHandles, &handles);
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        char ch = line[i];
        if (ch == '\\' && i + 1 < line.size()) {
            out.push_back(Literal(line[++i]));
            continue;
        }
        size_t close = ch == '{' ? CloseMark(line, i, '}') : ch == '<' ? CloseMark(line, i, '>') : std::string::npos;
        if (close == std::string::npos) {
            out.push_back(Literal(ch));
            continue;
        }
        const std::string inner = line.substr(i + 1, close - i - 1);
        i = close;
        if (ch == '{') {
            if (isTitle(inner)) {
                out += "{" + inner + "}";
                ++counts->links;
            } else {
                out += Unescaped(inner);
                ++counts->plainLinks;
            }
            continue;
        }
        int handle = handles ? ParseNormalisedReference(inner, handles.Get()) : 0;
        char formatted[kFormatRefBufferSize] = "";
        if (handle && langStat->FormatRef(formatted, handle, 0, 0, 0, FALSE) == S_OK && formatted[0]) {
            out += "<";
            out += formatted;
            out += ">";
            ++counts->references;
        } else {
            out += Unescaped(inner);
            ++counts->plainReferences;
        }
    }
    return out;
}
