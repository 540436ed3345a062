// The word wrapper of the verse layout: fits a line by the characters' advances, breaks at
// blanks, justifies, indents paragraphs, draws and hit-tests coloured runs; and the
// right-aligned list of reference links.
//
// Advances come from an AVoAdvanceSource: the DC's GetCharacterPlacementA in the program,
// fixed widths in tests. What fits is found from the advances themselves, so the result
// is the same whether or not the system honours GCP_MAXEXTENT.
#pragma once
#include <windows.h>

// GetCharacterPlacement is asked for at most this many characters per line.
constexpr int kMaxLineFit = 512;

class AVoAdvanceSource {
public:
    // Writes the advances of the count characters of text (count <= kMaxLineFit); answers
    // how many characters of them fit in maxWidth.
    virtual int GetAdvances(const char* text, int count, int maxWidth, int* advances) = 0;
    virtual int GetLineHeight() = 0;

protected:
    ~AVoAdvanceSource() = default;
};

// The advances of the font selected in a DC.
class VoDcAdvances final : public AVoAdvanceSource {
public:
    explicit VoDcAdvances(HDC dc);
    int GetAdvances(const char* text, int count, int maxWidth, int* advances) override;
    int GetLineHeight() override { return lineHeight_; }

private:
    HDC dc_;
    int lineHeight_ = 0;
};

// One block of text to lay out, draw or hit-test.
struct VoTextBlock {
    const char* text = "";
    int x = 0;
    int y = 0;
    // Lines whose top lies less than numberHeight below the block's top are indented by at
    // least numberIndent (room for a verse number or a drop cap).
    int numberIndent = 0;
    int numberHeight = 0;
    int width = 0;
    int tabWidth = 0;
    bool justify = false;
    // Parallel arrays of the runs (lengths in characters, colours); null: one run in the
    // DC's text colour.
    const int* runLengths = nullptr;
    const COLORREF* runColours = nullptr;
    int runCount = 0;
    // Hit testing: the point, and where the run and its text (hitTextSize bytes with the
    // NUL) under it go.
    const POINT* hitPoint = nullptr;
    int* hitRun = nullptr;
    char* hitText = nullptr;
    int hitTextSize = 0;
};

// Fits one line of the paragraph at *cursor (*charsLeft characters up to its end) into
// maxWidth: a leading blank or tab is skipped (one character with advance 0), the line
// breaks before the last blank or tab that fits, or is cut hard when none does, and always
// takes at least one character. With advances (kMaxLineFit + 1 integers) and justify, a
// line that is not the paragraph's last and narrower than maxWidth is stretched over its
// blanks. The cursor moves past the line and one break after it; count gets the line's
// characters (with a skipped leading blank). Returns the line's width and height.
SIZE FitLine(AVoAdvanceSource* source, const char** cursor, int* charsLeft, int maxWidth, bool justify,
             int* advances, int* count);
SIZE FitLine(HDC dc, const char** cursor, int* charsLeft, int maxWidth, bool justify, int* advances, int* count);

// Spreads missing pixels over the blanks among count characters: missing / blanks each,
// then one at a time to the narrowest blank (the first on a tie). False when there is no
// blank.
bool JustifyLine(const char* line, int count, int* advances, int missing);

// The block's size: the x where its last line ends (0 when the text ends with a line end
// or is empty, with one more line counted) and its height.
SIZE MeasureTextBlock(AVoAdvanceSource* source, const VoTextBlock& block);
SIZE MeasureTextBlock(HDC dc, const VoTextBlock& block);
// Draws the block (or, with a hit point, finds the run under it); the same size as
// measuring.
SIZE DrawTextBlock(HDC dc, const VoTextBlock& block);

// Lays out count NUL-separated strings as words with gap between them in rect, lineHeight
// per line, the first line starting after startX, right-aligned or not; draws them with
// draw. With a point: hitIndex and hitText (hitTextSize bytes) get the word under it.
SIZE LayoutWordList(HDC dc, const char* strings, int count, const RECT* rect, bool draw, bool rightAligned, int gap,
                    int lineHeight, int startX, const POINT* point, int* hitIndex, char* hitText, int hitTextSize);
