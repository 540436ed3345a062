// The leading record that stands before the text table in a text-table file, and before
// the data of a new-format bible file and of a packaged lexicon's text: five ASCII decimal
// digits that give, as a decimal number (00000 to 99999), the count of the bytes that
// follow in the record, then those bytes. Readers skip it without interpreting it; writers
// of all three formats make it with MakeLeadingRecord.
#pragma once
#include <string>

constexpr unsigned kLeadingRecordDigits = 5;
constexpr unsigned kMaxLeadingRecordContent = 99999;

// The remaining length from the five digits; false when any of them is not a digit.
bool ParseLeadingRecordLength(const char* digits, unsigned* length);

// The whole record for the given content; false when the content is too long.
bool MakeLeadingRecord(const std::string& content, std::string* record);
