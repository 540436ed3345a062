#include "LexiconPackage.h"
#include <algorithm>
#include <cstring>
#include "Collation.h"
#include "LeadingRecord.h"
#include "LexDates.h"
#include "TextTableWriter.h"

namespace {

const wchar_t kNamesStream[] = L"Names";
const wchar_t kStatStream[] = L"Stat";
const wchar_t kTextStream[] = L"Text";
const char kLanguageName[] = "StdLang";
const char kTextRecord[] = "Versilo lexicon text";
constexpr size_t kMaxTitleLength = 255;

int Sign(long long d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

const char* SortText(const std::string& t) { return t.c_str() + (!t.empty() && t[0] == '@' ? 1 : 0); }

void AppendInt32(std::string& out, DWORD v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string Describe(const PackKey& k) {
    if (k.kind == 1) return "\"" + k.text + "\"";
    char buf[48];
    snprintf(buf, sizeof buf, k.kind == 2 ? "reference 0x%08lX" : "date 0x%08lX", static_cast<unsigned long>(k.value));
    return buf;
}

HRESULT WriteStream(IStorage* storage, const wchar_t* name, const std::string& a, const std::string& b = std::string()) {
    ComPtr<IStream> stream;
    HRESULT hr = storage->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put());
    for (const std::string* part : {&a, &b}) {
        if (FAILED(hr) || part->empty()) continue;
        ULONG put = 0;
        hr = stream->Write(part->data(), static_cast<ULONG>(part->size()), &put);
        if (SUCCEEDED(hr) && put != part->size()) hr = STG_E_MEDIUMFULL;
    }
    return hr;
}

std::string HresultText(const char* what, HRESULT hr) {
    char buf[96];
    snprintf(buf, sizeof buf, "%s failed (0x%08lX)", what, static_cast<unsigned long>(hr));
    return buf;
}

}  // namespace

LexiconPackage::LexiconPackage(IBibleLangStat* langStat) : langStat_(langStat) {
    ComPtr<IBibleStat> stat;
    if (langStat && SUCCEEDED(langStat->GetBibleStat(stat.Put()))) stat.As(IID_IBibleHandles, &handles_);
}

void LexiconPackage::AddArticle(PackKey key, std::string text) {
    Entry e;
    e.key = std::move(key);
    e.row = static_cast<int>(texts_.size());
    entries_.push_back(std::move(e));
    texts_.push_back(std::move(text));
}

void LexiconPackage::AddAlias(PackKey alias, PackKey target, bool listed) {
    Entry e;
    e.key = std::move(alias);
    e.target = std::move(target);
    e.listed = listed;
    entries_.push_back(std::move(e));
}

int LexiconPackage::Compare(const PackKey& a, const PackKey& b) const {
    if (a.kind != b.kind) return Sign(a.kind - b.kind);
    if (a.kind == 1) return Collation::Std().Compare(SortText(a.text), SortText(b.text));
    if (a.kind == 2) {
        int ia[3] = {-1, -1, -1}, ib[3] = {-1, -1, -1};
        handles_->RefToIndices(static_cast<int>(a.value), &ia[0], &ia[1], &ia[2]);
        handles_->RefToIndices(static_cast<int>(b.value), &ib[0], &ib[1], &ib[2]);
        for (int i = 0; i < 3; ++i)
            if (ia[i] != ib[i]) return Sign(static_cast<long long>(ia[i]) - ib[i]);
        int ra = (a.value & kRefRangeFlag) ? 1 : 0, rb = (b.value & kRefRangeFlag) ? 1 : 0;
        if (ra != rb) return Sign(ra - rb);
    }
    return Sign(static_cast<long long>(a.value) - static_cast<long long>(b.value));
}

bool LexiconPackage::CheckKey(const PackKey& key, std::string* error) const {
    bool ok = true;
    if (key.kind == 1) {
        const char* sort = SortText(key.text);
        ok = *sort && key.text.size() <= kMaxTitleLength && key.text.find('\0') == std::string::npos;
    } else if (key.kind == 2) {
        int b = -1, c = -1, v = -1;
        ok = key.value && handles_->RefToIndices(static_cast<int>(key.value), &b, &c, &v) == S_OK;
    } else if (key.kind == 3) {
        ok = IsValidDateValue(key.value);
    } else {
        ok = false;
    }
    if (!ok) *error = "not a valid title: " + Describe(key);
    return ok;
}

bool LexiconPackage::BuildNames(std::string* names, PackResult* result, std::string* error) const {
    for (const Entry& e : entries_)
        if (!CheckKey(e.key, error)) return false;
    std::vector<const Entry*> sorted;
    for (const Entry& e : entries_) sorted.push_back(&e);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const Entry* a, const Entry* b) { return Compare(a->key, b->key) < 0; });
    auto find = [&](const PackKey& key) {
        auto it = std::lower_bound(sorted.begin(), sorted.end(), key,
                                   [&](const Entry* e, const PackKey& k) { return Compare(e->key, k) < 0; });
        return it;
    };
    // The article each alias names (its row), found through the keys of the articles.
    auto articleRow = [&](const Entry& e) -> int {
        if (e.row >= 0) return e.row;
        for (auto it = find(e.target); it != sorted.end() && Compare((*it)->key, e.target) == 0; ++it)
            if ((*it)->row >= 0) return (*it)->row;
        return -1;
    };
    for (const Entry* e : sorted)
        if (articleRow(*e) < 0) {
            *error = "the alias " + Describe(e->key) + " names no article (" + Describe(e->target) + ")";
            return false;
        }

    // One entry per key: an alias that repeats a title of the same article goes; the same
    // title for two different articles is a fault of the source.
    std::vector<const Entry*> kept;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i + 1;
        while (j < sorted.size() && Compare(sorted[i]->key, sorted[j]->key) == 0) ++j;
        const Entry* best = sorted[i];
        for (size_t k = i + 1; k < j; ++k) {
            const Entry* e = sorted[k];
            if (articleRow(*e) != articleRow(*best)) {
                *error = "the title " + Describe(e->key) + " is given to two articles";
                return false;
            }
            // The article itself wins over its aliases, a listed alias over an unlisted one.
            if (e->row >= 0 || (best->row < 0 && e->listed && !best->listed)) best = e;
        }
        result->duplicateAliases += j - i - 1;
        kept.push_back(best);
        i = j;
    }

    std::vector<int> entryOfRow(texts_.size(), -1);
    for (size_t n = 0; n < kept.size(); ++n)
        if (kept[n]->row >= 0) entryOfRow[kept[n]->row] = static_cast<int>(n);

    int counts[3] = {0, 0, 0};
    std::string pool, refs, dates;
    for (const Entry* e : kept) {
        ++counts[e->key.kind - 1];
        if (e->key.kind == 1) {
            pool += e->key.text;
            pool.push_back('\0');
        } else if (e->key.kind == 2) {
            char buf[16];
            char* cursor = buf;
            unsigned remaining = sizeof buf;
            HRESULT hr = handles_->WriteRef(static_cast<int>(e->key.value), &cursor, &remaining);
            if (FAILED(hr)) {
                *error = HresultText("packing a reference", hr);
                return false;
            }
            refs.append(buf, cursor - buf);
        } else {
            AppendInt32(dates, e->key.value);
        }
    }
    const size_t rows = texts_.size();
    const bool wide = (std::max(rows, kept.size()) * 4) > 65536;
    std::string& out = *names;
    out.push_back(static_cast<char>(strlen(kLanguageName)));
    out += kLanguageName;
    for (int c : counts) AppendInt32(out, static_cast<DWORD>(c));
    AppendInt32(out, static_cast<DWORD>(pool.size()));
    out += pool;
    AppendInt32(out, static_cast<DWORD>(refs.size()));
    out += refs;
    out += dates;
    AppendInt32(out, static_cast<DWORD>(rows));
    for (const Entry* e : kept) {
        DWORD word = e->row >= 0 ? static_cast<DWORD>(e->row) << 2
                                 : static_cast<DWORD>(entryOfRow[articleRow(*e)]) << 2 | (e->listed ? 1 : 2);
        out.push_back(static_cast<char>(word & 0xFF));
        out.push_back(static_cast<char>((word >> 8) & 0xFF));
        if (wide) {
            out.push_back(static_cast<char>((word >> 16) & 0xFF));
            out.push_back(static_cast<char>((word >> 24) & 0xFF));
        }
        if (e->row < 0) ++(e->listed ? result->listedAliases : result->unlistedAliases);
    }
    result->articles = rows;
    result->entries = kept.size();
    result->wideIndexWords = wide;
    result->namesBytes = out.size();
    return true;
}

bool LexiconPackage::Write(const std::wstring& path, PackResult* result, std::string* error) const {
    *result = PackResult();
    if (!langStat_ || !handles_) {
        *error = "no language statistics";
        return false;
    }
    std::string names, table, words, lead;
    if (!BuildNames(&names, result, error)) return false;
    TextTableWriter writer;
    for (const std::string& t : texts_) writer.AddText(t);
    if (!writer.Build(&table, &words, error)) return false;
    MakeLeadingRecord(kTextRecord, &lead);
    result->textBytes = lead.size() + table.size();

    const std::wstring building = path + L".new";
    HRESULT hr = S_OK;
    {
        ComPtr<IStorage> storage;
        hr = StgCreateDocfile(building.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put());
        if (SUCCEEDED(hr)) hr = WriteStream(storage.Get(), kNamesStream, names);
        if (SUCCEEDED(hr)) {
            ComPtr<IStream> stat;
            hr = storage->CreateStream(kStatStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stat.Put());
            if (SUCCEEDED(hr)) hr = langStat_->SaveWithLanguage(stat.Get());
        }
        if (SUCCEEDED(hr)) hr = WriteStream(storage.Get(), kTextStream, lead, table);
        if (SUCCEEDED(hr)) hr = storage->Commit(STGC_DEFAULT);
    }
    if (SUCCEEDED(hr) && !MoveFileExW(building.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        hr = HRESULT_FROM_WIN32(GetLastError());
    if (FAILED(hr)) {
        DeleteFileW(building.c_str());
        *error = HresultText("writing the lexicon file", hr);
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        result->fileBytes = static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return true;
}
