#include "LeadingRecord.h"

bool ParseLeadingRecordLength(const char* digits, unsigned* length) {
    unsigned n = 0;
    for (unsigned i = 0; i < kLeadingRecordDigits; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return false;
        n = n * 10 + static_cast<unsigned>(digits[i] - '0');
    }
    *length = n;
    return true;
}

bool MakeLeadingRecord(const std::string& content, std::string* record) {
    if (content.size() > kMaxLeadingRecordContent) return false;
    std::string digits(kLeadingRecordDigits, '0');
    size_t n = content.size();
    for (unsigned i = kLeadingRecordDigits; i-- > 0; n /= 10) digits[i] = static_cast<char>('0' + n % 10);
    *record = digits + content;
    return true;
}
