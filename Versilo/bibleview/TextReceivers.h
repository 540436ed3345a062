// The receivers of copied verses: a stream of pieces (a reference heading, verse numbers,
// verse texts, line ends) written as plain text for CF_TEXT or as an "HTML Format"
// clipboard document.
//
// Each receiver runs twice per copy: without a buffer to count the length, then with a
// buffer of that length + 1 to write it. The writing run is given its buffer's capacity
// and never writes past it; IsComplete tells whether everything fitted.
#pragma once
#include <windows.h>

class AVoTextReceiver {
public:
    virtual void AddHeading(const char* text) = 0;
    virtual void AddVerseNumber(unsigned number) = 0;
    virtual void AddText(const char* text) = 0;
    virtual void AddNewLine() = 0;
    virtual void AddLineBreak() = 0;

protected:
    ~AVoTextReceiver() = default;
};

// The text written so far: counted only, or kept in a caller's buffer of capacity bytes.
class VoReceiverBuffer {
public:
    VoReceiverBuffer(char* buffer, int capacity);

    // Appends count bytes of text (and keeps the buffer terminated). A piece that does not
    // fit is left out whole and the buffer marked incomplete; the length counts it anyway.
    void Append(const char* text, int count);
    void Append(const char* text);
    // Writes value into the zeros after the first occurrence of field, ending where they
    // end; false (the field left as it is) when the value has more digits than zeros.
    bool PatchNumber(const char* field, int value);

    int GetLength() const { return length_; }
    bool IsCounting() const { return buffer_ == nullptr; }
    bool IsComplete() const { return complete_; }
    const char* GetText() const { return buffer_; }

private:
    char* buffer_;
    int capacity_;
    int length_ = 0;
    bool complete_ = true;
};

class VoPlainTextReceiver final : public AVoTextReceiver {
public:
    // A null buffer counts only.
    explicit VoPlainTextReceiver(char* buffer = nullptr, int capacity = 0) : out_(buffer, capacity) {}

    void AddHeading(const char* text) override;
    void AddVerseNumber(unsigned number) override;
    void AddText(const char* text) override;
    void AddNewLine() override;
    void AddLineBreak() override;

    int GetLength() const { return out_.GetLength(); }
    bool IsComplete() const { return out_.IsComplete(); }

private:
    VoReceiverBuffer out_;
};

// Length of the "HTML Format" header the document starts with.
constexpr int kHtmlHeaderLength = 109;
// The largest offset the header's six-digit fields hold.
constexpr int kHtmlMaxOffset = 999999;

class VoHtmlTextReceiver final : public AVoTextReceiver {
public:
    // Writes the header at once; a null buffer counts only.
    explicit VoHtmlTextReceiver(char* buffer = nullptr, int capacity = 0);

    void AddHeading(const char* text) override;
    void AddVerseNumber(unsigned number) override;
    // The text with '<', '>' and '&' escaped, other control characters as blanks and the
    // bytes 128-255 as named entities of their Windows-1252 characters.
    void AddText(const char* text) override;
    void AddNewLine() override;
    void AddLineBreak() override;

    // Ends the document and, when writing, fills the header's EndHTML and EndFragment.
    // True when the document is whole and its offsets are right: false when it is longer
    // than the header's fields can say, or (writing) did not fit its buffer.
    bool Finish();

    int GetLength() const { return out_.GetLength(); }
    bool IsComplete() const { return out_.IsComplete(); }

private:
    VoReceiverBuffer out_;
};

// The entity of a Windows-1252 byte of 128-255 ("&aelig;"), or "" when the byte is
// written as nothing, or "?" for a character HTML names no entity for.
const char* HtmlEntityOf(unsigned char byte);
