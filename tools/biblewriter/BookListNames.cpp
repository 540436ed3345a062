#include "BookListNames.h"
#include "VoUtil.h"
#include "TextLines.h"
#include <cstring>
#include <vector>

// {7C1E5B2A-3F4D-4E8B-9A61-2D5C8E0F1B37}
const GUID kEnglishLanguage = {0x7C1E5B2A, 0x3F4D, 0x4E8B, {0x9A, 0x61, 0x2D, 0x5C, 0x8E, 0x0F, 0x1B, 0x37}};

namespace {

class BookListSource : public ILangStatSource {
public:
    BookListSource(const char* language, std::vector<std::string> names, std::vector<std::string> seconds)
        : language_(language), names_(std::move(names)), seconds_(std::move(seconds)) {}
    virtual ~BookListSource() = default;

    int STDMETHODCALLTYPE GetNameCount() override { return static_cast<int>(names_.size()); }
    HRESULT STDMETHODCALLTYPE GetName(char* buf, int index) override {
        return Copy(buf, index < 0 ? language_ : names_[static_cast<size_t>(index)]);
    }
    HRESULT STDMETHODCALLTYPE GetSecondName(char* buf, int index) override {
        return Copy(buf, seconds_[static_cast<size_t>(index)]);
    }
    HRESULT STDMETHODCALLTYPE Unused() override { return E_NOTIMPL; }
    int STDMETHODCALLTYPE GetAliasCount() override { return 0; }
    HRESULT STDMETHODCALLTYPE GetAlias(char*, int) override { return E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE GetAliasValues(int, int*, int*) override { return E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) override {
        *out = kEnglishLanguage;
        return S_OK;
    }

private:
    static HRESULT Copy(char* buf, const std::string& s) {
        size_t n = s.size() < kLangSourceBufferSize - 1 ? s.size() : kLangSourceBufferSize - 1;
        memcpy(buf, s.data(), n);
        buf[n] = '\0';
        return S_OK;
    }
    std::string language_;
    std::vector<std::string> names_, seconds_;
};

// The tab-separated fields of a line.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return out;
        start = tab + 1;
    }
}

}  // namespace

bool BuildBookListLangStat(IBibleStat* stat, const std::string& path, const char* languageName,
                           IBibleLangStat** out, std::string* error) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, 1, &lines, error)) return false;
    const int books = stat->GetBookCount();
    if (static_cast<int>(lines.size()) != books) {
        *error = path + ": " + std::to_string(lines.size()) + " books, the numbering has " + std::to_string(books);
        return false;
    }
    std::vector<std::string> names, seconds;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> f = Fields(lines[i]);
        if (f.size() < 5 || std::atoi(f[0].c_str()) != stat->GetBookId(static_cast<int>(i))) {
            *error = path + ": line " + std::to_string(i + 1) + " is not book " +
                     std::to_string(stat->GetBookId(static_cast<int>(i)));
            return false;
        }
        names.push_back(f[2]);
        seconds.push_back(f[4]);
    }
    BookListSource source(languageName, names, seconds);
    HRESULT hr = CreateLangStat(stat, &source, out);
    if (FAILED(hr)) {
        *error = "CreateLangStat failed";
        return false;
    }
    return true;
}
