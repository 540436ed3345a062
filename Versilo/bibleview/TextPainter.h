// The fonts and metrics the verse layout draws with, all made from the display font the
// text window has selected, and the splitting of a verse text into coloured runs.
//
// One painter exists in the process at a time (GetTextPainter); it is made for a display
// font and made again when a layout call passes another one.
#pragma once
#include <windows.h>
#include "Handles.h"

class AVoLexiconBase;

class AVoTextPainter {
public:
    virtual int GetLineHeight() = 0;         // the display font's tmHeight
    virtual int GetDescent() = 0;            // the display font's tmDescent
    virtual int GetVerseNumberWidth() = 0;   // "234" in the small font, + 2
    virtual int GetSmallAscent() = 0;
    virtual int GetLargeAscent() = 0;
    virtual int GetLinkBlankWidth() = 0;     // " " in the link font
    virtual int GetLinkLineHeight() = 0;
    virtual HFONT GetLargeFont() = 0;
    virtual HFONT GetItalicFont() = 0;
    // strong: the weight-600 font; else the italic one.
    virtual HFONT GetEmphasisFont(bool strong) = 0;
    virtual HFONT GetSmallFont(bool bold) = 0;
    virtual HFONT GetLinkFont() = 0;
    // Splits text into runs: a word (a key word when finder finds an article for it), a row
    // of '*', or the plain text between them; blanks after a run belong to it. A run that
    // starts inside one of the rangeCount (start, end) pairs of ranges (offsets into text,
    // ascending, end exclusive) is bracketed. Writes each run's length and colour and
    // returns the number of runs, at most maxRuns: the last one takes whatever text is left,
    // in the plain colour.
    virtual int SplitIntoRuns(const char* text, AVoLexiconBase* finder, COLORREF plain, COLORREF keyWord,
                              COLORREF star, COLORREF bracketed, const int* ranges, int rangeCount, int* lengths,
                              COLORREF* colours, int maxRuns) = 0;
    // Ends text after its leading row of '*' or its leading word (at its start when it has
    // neither) with a NUL, and returns that end.
    virtual char* TruncateToFirstWord(char* text) = 0;

protected:
    ~AVoTextPainter() = default;
};

class VoTextPainter final : public AVoTextPainter {
public:
    // Character classes of the table.
    static constexpr int kAlphaNumeric = 1;
    static constexpr int kWordInner = 2;   // apostrophe and hyphen
    static constexpr int kBlank = 4;       // blank, tab, CR, LF, NUL
    static constexpr int kLineEnd = 8;     // CR, LF, NUL

    explicit VoTextPainter(HFONT displayFont);
    VoTextPainter(const VoTextPainter&) = delete;
    VoTextPainter& operator=(const VoTextPainter&) = delete;
    ~VoTextPainter() = default;

    // True when the painter was made for this font as it is now (a handle value reused for
    // another font does not count).
    bool IsFor(HFONT displayFont, const LOGFONTA& logFont) const;

    int GetLineHeight() override { return lineHeight_; }
    int GetDescent() override { return descent_; }
    int GetVerseNumberWidth() override { return verseNumberWidth_; }
    int GetSmallAscent() override { return smallAscent_; }
    int GetLargeAscent() override { return largeAscent_; }
    int GetLinkBlankWidth() override { return linkBlankWidth_; }
    int GetLinkLineHeight() override { return linkLineHeight_; }
    HFONT GetLargeFont() override { return large_.Get(); }
    HFONT GetItalicFont() override { return italic_.Get(); }
    HFONT GetEmphasisFont(bool strong) override { return strong ? strong_.Get() : italic_.Get(); }
    HFONT GetSmallFont(bool bold) override { return bold ? smallBold_.Get() : small_.Get(); }
    HFONT GetLinkFont() override { return link_.Get(); }
    int SplitIntoRuns(const char* text, AVoLexiconBase* finder, COLORREF plain, COLORREF keyWord, COLORREF star,
                      COLORREF bracketed, const int* ranges, int rangeCount, int* lengths, COLORREF* colours,
                      int maxRuns) override;
    char* TruncateToFirstWord(char* text) override;

    int ClassOf(char c) const { return classes_[static_cast<unsigned char>(c)]; }
    bool IsWordStart(char c) const { return (ClassOf(c) & kAlphaNumeric) != 0; }
    bool IsWordChar(char c) const { return (ClassOf(c) & (kAlphaNumeric | kWordInner)) != 0; }

private:
    void BuildClasses();
    void MakeFonts();
    void Measure();
    // The end of the word that starts at text.
    const char* WordEnd(const char* text) const;

    int classes_[256] = {};
    HFONT display_;
    LOGFONTA logFont_ = {};
    FontHandle italic_, strong_, link_, small_, smallBold_, large_;
    int verseNumberWidth_ = 0;
    int lineHeight_ = 0;
    int linkBlankWidth_ = 0;
    int linkLineHeight_ = 0;
    int largeAscent_ = 0;
    int descent_ = 0;
    int smallAscent_ = 0;
};

// The process's painter for displayFont (the font selected in the caller's DC), made anew
// when the one there is for another font; null when it cannot be made.
AVoTextPainter* GetTextPainter(HFONT displayFont);
