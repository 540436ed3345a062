// VoVerseBitSet: the bit operations and the word-wise searches.
#include "VerseBitSet.h"
#include <cstring>
#include <new>

namespace {

int LowestBit(UINT32 word) { return __builtin_ctz(word); }
int HighestBit(UINT32 word) { return 31 - __builtin_clz(word); }

}  // namespace

bool VoVerseBitSet::Init(int bits) {
    Free();
    if (bits < 0) return false;
    UINT count = (static_cast<UINT>(bits) + 31) / 32;
    if (count) {
        words_ = new (std::nothrow) UINT32[count];
        if (!words_) return false;
        std::memset(words_, 0, count * sizeof(UINT32));
    }
    wordCount_ = count;
    bits_ = bits;
    owned_ = true;
    return true;
}

void VoVerseBitSet::Share(const VoVerseBitSet& other) {
    if (&other == this) return;
    Free();
    words_ = other.words_;
    wordCount_ = other.wordCount_;
    bits_ = other.bits_;
    owned_ = false;
}

void VoVerseBitSet::Free() {
    if (owned_) delete[] words_;
    words_ = nullptr;
    wordCount_ = 0;
    bits_ = 0;
    owned_ = false;
}

bool VoVerseBitSet::Test(int verse) const {
    if (verse < 0 || verse >= bits_) return false;
    return (words_[verse >> 5] >> (verse & 31)) & 1;
}

bool VoVerseBitSet::Set(int verse, bool on) {
    if (verse < 0 || verse >= bits_ || Test(verse) == on) return false;
    words_[verse >> 5] ^= UINT32(1) << (verse & 31);
    return true;
}

void VoVerseBitSet::SetRange(int first, int last) {
    if (first < 0) first = 0;
    if (last >= bits_) last = bits_ - 1;
    for (int v = first; v <= last; ++v) words_[v >> 5] |= UINT32(1) << (v & 31);
}

bool VoVerseBitSet::IsEmpty() const {
    for (UINT w = 0; w < wordCount_; ++w)
        if (words_[w]) return false;
    return true;
}

void VoVerseBitSet::ClearAll() {
    if (wordCount_) std::memset(words_, 0, wordCount_ * sizeof(UINT32));
}

void VoVerseBitSet::MaskPadding() {
    if (bits_ & 31) words_[wordCount_ - 1] &= (UINT32(1) << (bits_ & 31)) - 1;
}

int VoVerseBitSet::FindNext(int verse) const {
    if (verse >= bits_ - 1) return -1;
    int from = verse < 0 ? 0 : verse + 1;
    UINT w = static_cast<UINT>(from) >> 5;
    UINT32 word = words_[w] & (~UINT32(0) << (from & 31));
    while (!word) {
        if (++w >= wordCount_) return -1;
        word = words_[w];
    }
    int found = static_cast<int>(w * 32) + LowestBit(word);
    return found < bits_ ? found : -1;
}

int VoVerseBitSet::FindPrevious(int verse) const {
    if (verse <= 0 || bits_ == 0) return -1;
    int from = verse > bits_ ? bits_ - 1 : verse - 1;
    int w = from >> 5;
    UINT32 word = words_[w] & (~UINT32(0) >> (31 - (from & 31)));
    while (!word) {
        if (--w < 0) return -1;
        word = words_[w];
    }
    return w * 32 + HighestBit(word);
}
