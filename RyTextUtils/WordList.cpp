#include "WordList.h"
#include <cstring>
#include <new>
#include "Collation.h"
#include "Language.h"

HRESULT WordList::Load(IReader& reader) {
    try {
        // 1. The language.
        BYTE nameLen = 0;
        HRESULT hr = ReadU8(reader, &nameLen);
        if (FAILED(hr)) return hr;
        if (nameLen == 0 || nameLen > kMaxLanguageNameBytes) return E_FAIL;
        char name[kMaxLanguageNameBytes + 1] = {};
        if (FAILED(hr = reader.Read(name, nameLen))) return hr;
        if (strlen(name) != nameLen) return E_FAIL;
        if (FAILED(hr = CreateLanguageObject(name, language_.Put()))) return hr;
        builtin_ = strcmp(name, Collation::kName) == 0 ? &Collation::Std() : nullptr;
        long* table = nullptr;
        long unusedCount = 0;
        if (FAILED(hr = language_->GetUnusedCharIndices(&table, &unusedCount))) return hr;
        if (!table || unusedCount < 0 || unusedCount > 255) return E_FAIL;
        memcpy(unused_, table, sizeof unused_);
        unused_[0] = -1;
        for (long& u : unused_)
            if (u >= unusedCount) return E_FAIL;

        // 2. The endings: counts for lengths M down to 2, then their characters.
        BYTE longest = 0;
        if (FAILED(hr = ReadU8(reader, &longest))) return hr;
        std::vector<BYTE> counts(longest > 1 ? longest - 1u : 0u);
        if (!counts.empty() && FAILED(hr = reader.Read(counts.data(), static_cast<unsigned>(counts.size())))) return hr;
        long endingCount = 0;
        for (BYTE c : counts) endingCount += c;
        if (endingCount > unusedCount) return E_FAIL;
        for (size_t k = 0; k < counts.size(); ++k) {
            unsigned len = longest - static_cast<unsigned>(k);
            for (BYTE j = 0; j < counts[k]; ++j) {
                std::string e(len, '\0');
                if (FAILED(hr = reader.Read(&e[0], len))) return hr;
                if (strlen(e.c_str()) != len) return E_FAIL;
                endings_.push_back(e);
            }
        }

        // 3. The word count and the packed record lengths.
        DWORD words = 0, packed = 0;
        if (FAILED(hr = ReadU32(reader, &words))) return hr;
        if (FAILED(hr = ReadU32(reader, &packed))) return hr;
        if (words > 0x7FFFFFF || words > 3ull * packed) return E_FAIL;
        std::vector<BYTE> lengthBytes;
        if (FAILED(hr = ReadBlock(reader, packed, &lengthBytes))) return hr;
        std::vector<BYTE> lengths;
        lengths.reserve(words);
        for (BYTE b : lengthBytes) {
            unsigned got[3];
            unsigned n = UnpackLengthByte(b, got);
            if (lengths.size() + n > words) return E_FAIL;
            for (unsigned k = 0; k < n; ++k) lengths.push_back(static_cast<BYTE>(got[k]));
        }
        if (lengths.size() != words) return E_FAIL;
        DWORD total = 0;
        for (BYTE l : lengths) total += l;

        // 4. The block shift: the largest n (6 down to 1) whose aligned runs of 2^n words
        // hold at most 255 bytes of records; else one word per block.
        shift_ = 0;
        for (unsigned n = 6; n >= 1 && shift_ == 0; --n) {
            bool fits = true;
            for (DWORD start = 0; fits && start < words; start += 1u << n) {
                unsigned sum = 0;
                for (DWORD i = start; i < words && i < start + (1u << n); ++i) sum += lengths[i];
                fits = sum <= 255;
            }
            if (fits) shift_ = n;
        }

        // 5. The records, with every word checked so that decoding needs no checks.
        DWORD dataSize = 0;
        if (FAILED(hr = ReadU32(reader, &dataSize))) return hr;
        if (dataSize != total) return E_FAIL;
        if (FAILED(hr = ReadBlock(reader, dataSize, &records_))) return hr;
        endOffset_.resize(words);
        blockStart_.resize(words ? ((words - 1) >> shift_) + 1 : 0);
        std::vector<BYTE>& wordLength = length_;
        wordLength.assign(words, 0);
        std::vector<bool> hasPrefix(words);
        DWORD offset = 0;
        unsigned inBlock = 0;
        for (DWORD i = 0; i < words; ++i) {
            if ((i & ((1u << shift_) - 1)) == 0) {
                blockStart_[i >> shift_] = offset;
                inBlock = 0;
            }
            const BYTE* p = records_.data() + offset;
            unsigned len = lengths[i];
            inBlock += len;
            endOffset_[i] = static_cast<BYTE>(inBlock);
            offset += len;
            unsigned wordLen = 0;
            unsigned literal = len;
            if (len >= 2 && IsCode(p[0])) {
                long u = unused_[p[0]];
                long ref = static_cast<long>(i) - (u >> 3) - 1;
                if (ref < 0 || hasPrefix[ref]) return E_FAIL;
                if (wordLength[ref] < (u & 7)) return E_FAIL;
                hasPrefix[i] = true;
                wordLen = wordLength[ref] - static_cast<unsigned>(u & 7);
                ++p;
                --literal;
            }
            if (literal >= 1 && IsCode(p[literal - 1])) {
                long u = unused_[p[literal - 1]];
                if (u >= static_cast<long>(endings_.size())) return E_FAIL;
                wordLen += static_cast<unsigned>(endings_[u].size());
                --literal;
            }
            for (unsigned k = 0; k < literal; ++k)
                if (p[k] == 0) return E_FAIL;
            wordLen += literal;
            if (wordLen > kMaxWordBytes) return E_FAIL;
            wordLength[i] = static_cast<BYTE>(wordLen);
        }
        count_ = static_cast<long>(words);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

int WordList::Compare(const char* a, const char* b) const {
    if (builtin_) return builtin_->Compare(a, b);
    long r = 0;
    language_->StringCompare(const_cast<LPSTR>(a), const_cast<LPSTR>(b), &r);
    return r < 0 ? -1 : r > 0;
}

bool WordList::IsPrefixedBy(const char* super, const char* prefix) const {
    if (builtin_) return builtin_->IsPrefixedBy(super, prefix);
    return language_->StringIsPrefixedBy(const_cast<LPSTR>(super), const_cast<LPSTR>(prefix), nullptr) == S_OK;
}

long WordList::LowerBound(const char* key) const {
    long lo = 0, hi = count_;
    char word[kWordBufferSize];
    while (lo < hi) {
        long mid = lo + (hi - lo) / 2;
        Decode(mid, word);
        if (Compare(word, key) < 0) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

long WordList::Find(const char* key) const {
    long i = LowerBound(key);
    if (i >= count_) return -1;
    char word[kWordBufferSize];
    Decode(i, word);
    return Compare(key, word) == 0 ? i : -1;
}

void WordList::FindPrefix(const char* prefix, long* begin, long* end) const {
    char word[kWordBufferSize];
    long lo = 0, hi = count_;
    if (builtin_) {
        // The words prefixed by the prefix are those whose letter groups begin with the
        // prefix's; they stand together in the sorted list, and the first of them is found
        // by comparing letter groups only, so that an accent or a marker in the prefix does
        // not pass over words that carry none.
        while (lo < hi) {
            long mid = lo + (hi - lo) / 2;
            Decode(mid, word);
            if (builtin_->ComparePrefixGroups(word, prefix) < 0) lo = mid + 1;
            else hi = mid;
        }
    } else {
        lo = LowerBound(prefix);
    }
    *begin = lo;
    long i = lo;
    while (i < count_) {
        Decode(i, word);
        if (!IsPrefixedBy(word, prefix)) break;
        ++i;
    }
    *end = i;
}
