#include "BibleWriter.h"
#include "ByteStream.h"
#include "IBible.h"
#include "VoUtil.h"
#include "PackedIO.h"
#include "LeadingRecord.h"
#include "TextTableWriter.h"

namespace {

// What the new format's leading record says; readers skip it.
const char kLeadingRecordText[] = "Versilo bible\r\n";

std::string Hr(HRESULT hr) {
    char buf[16];
    wsprintfA(buf, "0x%08lX", static_cast<unsigned long>(hr));
    return buf;
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// Writes one container of texts by index: sparse when fewer than half the slots are used.
bool WriteTexts(IStream* stream, int slots, const std::map<int, std::string>& texts, const char* what,
                ComPtr<IStream>* trailing, std::string* error) {
    const bool sparse = texts.size() * 2 < static_cast<size_t>(slots);
    ComPtr<ICreateIndexedData> writer;
    HRESULT hr = CreateIndexedDataOnStream(stream, sparse, sparse ? static_cast<int>(texts.size()) : slots,
                                           writer.Put());
    if (FAILED(hr)) return Fail(error, std::string("can't start the ") + what + " container: " + Hr(hr));
    for (const auto& t : texts) {
        int written = 0;
        if (FAILED(hr = writer->Write(t.second.data(), static_cast<int>(t.second.size()), &written)) ||
            FAILED(hr = writer->EndEntry(t.first)))
            return Fail(error, std::string("can't store ") + what + " entry " + std::to_string(t.first) + ": " +
                                   Hr(hr));
    }
    if (FAILED(hr = writer->GetTrailingStream(trailing->Put())))
        return Fail(error, std::string("can't finish the ") + what + " container: " + Hr(hr));
    return true;
}

}  // namespace

BibleWriter::BibleWriter(IBibleLangStat* lang) : lang_(lang) {
    if (lang_) {
        verseCount_ = lang_->GetVerseCount();
        chapterCount_ = lang_->GetChapterCount();
    }
    verses_.resize(static_cast<size_t>(verseCount_));
}

bool BibleWriter::SetVerse(int verse, const std::string& text) {
    if (verse < 0 || verse >= verseCount_) return false;
    verses_[static_cast<size_t>(verse)] = text;
    return true;
}

bool BibleWriter::SetSectionTitle(int verse, const std::string& title, bool shifted) {
    if (verse < 0 || verse >= verseCount_) return false;
    if (title.empty()) titles_.erase(verse);
    else titles_[verse] = Title{title, shifted};
    return true;
}

bool BibleWriter::SetVerseNote(int verse, const std::string& note) {
    if (verse < 0 || verse >= verseCount_) return false;
    if (note.empty()) notes_.erase(verse);
    else notes_[verse] = note;
    return true;
}

bool BibleWriter::SetChapterText(int chapter, const std::string& text) {
    if (chapter < 0 || chapter >= chapterCount_) return false;
    if (text.empty()) chapters_.erase(chapter);
    else chapters_[chapter] = text;
    return true;
}

bool BibleWriter::WriteContainers(IStream* stream, char marker, std::string* error) const {
    std::map<int, std::string> titles;
    for (const auto& t : titles_) titles[t.first] = t.second.shifted ? t.second.text + marker : t.second.text;
    ComPtr<IStream> afterTitles, afterNotes, afterChapters;
    if (!WriteTexts(stream, verseCount_, titles, "section title", &afterTitles, error)) return false;
    if (!WriteTexts(afterTitles.Get(), verseCount_, notes_, "verse note", &afterNotes, error)) return false;
    if (!WriteTexts(afterNotes.Get(), chapterCount_, chapters_, "chapter text", &afterChapters, error)) return false;
    return WriteTrailer(afterChapters.Get(), error);
}

bool BibleWriter::WriteTrailer(IStream* stream, std::string* error) const {
    HRESULT hr;
    if (FAILED(hr = WriteCountedString(stream, longName_.data(), static_cast<unsigned>(longName_.size()))) ||
        FAILED(hr = WriteCountedString(stream, shortName_.data(), static_cast<unsigned>(shortName_.size()))) ||
        FAILED(hr = lang_->SaveWithLanguage(stream)) ||
        FAILED(hr = WriteCountedString(stream, description_.data(), static_cast<unsigned>(description_.size()))))
        return Fail(error, "can't write the trailer: " + Hr(hr));
    return true;
}

bool BibleWriter::Build(BibleFormat format, std::string* bytes, std::string* error) const {
    if (!lang_) return Fail(error, "no statistics");
    if (longName_.size() >= static_cast<size_t>(kBibleLongNameSize))
        return Fail(error, "the long name is longer than 63 bytes");
    if (shortName_.size() >= static_cast<size_t>(kBibleShortNameSize))
        return Fail(error, "the short name is longer than 15 bytes");
    if (description_.size() >= static_cast<size_t>(kBibleDescriptionSize))
        return Fail(error, "the description is longer than 4,095 bytes");

    ComPtr<IStream> stream = ComPtr<IStream>::Attach(ByteStream::Create());
    HRESULT hr;
    if (format == BibleFormat::kNew) {
        std::string record, table, words, tableError;
        MakeLeadingRecord(kLeadingRecordText, &record);
        TextTableWriter tables;
        for (const std::string& v : verses_) tables.AddText(v);
        if (!tables.Build(&table, &words, &tableError)) return Fail(error, "verse texts: " + tableError);
        if (FAILED(hr = WriteAll(stream.Get(), record.data(), static_cast<ULONG>(record.size()))) ||
            FAILED(hr = WriteAll(stream.Get(), table.data(), static_cast<ULONG>(table.size()))))
            return Fail(error, "can't write the text table: " + Hr(hr));
        if (!WriteContainers(stream.Get(), '\t', error)) return false;
        if (FAILED(hr = WritePackedInt(stream.Get(), displayValue_)))
            return Fail(error, "can't write the display value: " + Hr(hr));
    } else {
        ComPtr<ICreateIndexedData> writer;
        if (FAILED(hr = CreateIndexedDataOnStream(stream.Get(), FALSE, verseCount_, writer.Put())))
            return Fail(error, "can't start the verse container: " + Hr(hr));
        for (int i = 0; i < verseCount_; ++i) {
            const std::string& v = verses_[static_cast<size_t>(i)];
            int written = 0;
            if ((!v.empty() && FAILED(hr = writer->Write(v.data(), static_cast<int>(v.size()), &written))) ||
                FAILED(hr = writer->EndEntry(i)))
                return Fail(error, "can't store verse " + std::to_string(i) + ": " + Hr(hr));
        }
        ComPtr<IStream> trailing;
        if (FAILED(hr = writer->GetTrailingStream(trailing.Put())))
            return Fail(error, "can't finish the verse container: " + Hr(hr));
        if (!WriteContainers(trailing.Get(), '+', error)) return false;
    }
    *bytes = static_cast<ByteStream*>(stream.Get())->Bytes();
    return true;
}

bool BibleWriter::WriteFile(BibleFormat format, const std::string& path, std::string* error) const {
    std::string bytes;
    return Build(format, &bytes, error) && WriteFileReplacing(path, bytes, error);
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string* error) {
    const std::string temp = path + ".tmp";
    HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Fail(error, "can't create " + temp);
    DWORD put = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    ok = CloseHandle(h) && ok;
    if (!ok || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp.c_str());
        return Fail(error, "can't write " + path);
    }
    return true;
}

std::string InfoFilePath(const std::string& biblePath) {
    size_t dot = biblePath.rfind('.');
    size_t slash = biblePath.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return biblePath + ".inf";
    return biblePath.substr(0, dot + 1) + "inf";
}
