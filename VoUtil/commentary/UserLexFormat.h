// The layout of a user commentary file: the fixed streams ("Name", "LangStat",
// "LexiconSettings", "LexiconListStream"), the entry list with its keys and index words,
// the entry text values and the stream name of each entry.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "LexEntryList.h"

extern const wchar_t kNameStream[];
extern const wchar_t kLangStatStream[];
extern const wchar_t kSettingsStream[];
extern const wchar_t kListStream[];

// Largest stream the reader takes into memory: far above any real commentary, low enough
// that a damaged size cannot exhaust the process.
constexpr ULONG kMaxStreamBytes = 64u << 20;

// "Name": 32 bytes, zero-padded, at most 31 characters.
std::string EncodeNameStream(const char* name);
// Up to 63 bytes up to the first zero; an empty stream is E_FAIL.
HRESULT DecodeNameStream(const std::string& bytes, char name[64]);

// "LexiconSettings": var-int 0, var-int n, the n bytes of the scrambled settings record.
std::string EncodeSettingsStream(const std::string& record);
// The record's text, up to its first zero.
HRESULT DecodeSettingsStream(const std::string& bytes, std::string* record);

// "LexiconListStream": version 0, the count, the keys, the index words.
HRESULT EncodeListStream(const LexEntryList& list, LexRefSystem& refs, std::string* out);
// Reads and checks a list: keys in order (a yearless date out of place is moved back among
// the dates, as older files hold them), text and reference data inside the stream, index
// words inside the list. E_FAIL for anything else.
HRESULT DecodeListStream(const std::string& bytes, const KeyOrder& order, LexRefSystem& refs,
                         std::vector<LexKey>* keys, std::vector<DWORD>* words);

// An entry text value: var-int 0, var-int 0, then var-int n and the bytes, or (scrambled)
// var-int −n, var-int seed and the scrambled bytes.
std::string EncodeEntryText(const char* text, bool scramble, BYTE seed);
HRESULT DecodeEntryText(const std::string& bytes, std::string* text);

// "I_" and the key's name: text cut to 29 characters with "!./:\" made "_"; a reference as
// displayed with everything but letters and digits made "_" (cut to 29); a date's slash
// form with "." for "/".
HRESULT EntryStreamName(const LexKey& key, LexRefSystem& refs, std::wstring* name);
// Stream names compare without regard to case, as the compound file compares them: two
// names are the same when their keys are equal.
std::wstring StreamNameKey(const std::wstring& name);
bool SameStreamName(const std::wstring& a, const std::wstring& b);
