// The program's own line breaks for a read-only multi-line text box. The edit control's word
// wrap under Wine looks for a break only left of an estimate of what fits, so it breaks words
// in the middle where the next line has room. The box is therefore given its text with the
// breaks already in, as soft line breaks ("\r\r\n", which the control shows as line ends): a
// line wraps at its last blank that lets it fit, and inside a word only when that word alone
// is wider than the box. VoSoftWrap keeps the text for one box, wraps it again when the box's
// width or font changes, maps positions between the text and what the box holds, and copies
// a selection without the breaks. VoSoftWrapBox is such a box: an edit control subclassed
// so that its own messages keep the wrap.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "RySubclassedWindow.h"

constexpr char kSoftLineBreak[] = "\r\r\n";

// How many leading characters of text (of length characters) fit on one line; 0 or more.
using VoLineFit = std::function<int(const char* text, int length)>;

// A text as the box shows it: every wrapping blank replaced by a soft line break, a break
// put inside a word too wide for a line; shownAt[i] is where the text's character i is
// shown, textAt[j] the text's character of the shown character j (both with one entry past
// the end).
struct VoSoftWrappedText {
    std::string shown;
    std::vector<int> shownAt;
    std::vector<int> textAt;
};
VoSoftWrappedText SoftWrapText(const std::string& text, const VoLineFit& fit);

// The text of a box with its soft line breaks turned back into blanks.
std::string RemoveSoftLineBreaks(const std::string& shown);

class VoSoftWrap {
public:
    // Shows text in the box, wrapped at the box's width and font, scrolled to the top;
    // false when the box did not take it.
    bool SetText(HWND box, const std::string& text);
    const std::string& Text() const { return text_; }
    // Where a position of the text is shown, and the text's position of a shown one.
    int ShownPosition(int position) const;
    int TextPosition(int shown) const;
    // The box's messages that change the wrap (WM_SIZE, WM_SETFONT: handled by the box
    // first through defaultProc, then wrapped again, keeping the first visible line's text
    // and the selection) and WM_COPY (the selection without soft breaks). False for others.
    bool ProcessMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                        const std::function<LRESULT()>& defaultProc);

private:
    bool Wrap(HWND box);
    void Rewrap(HWND box);
    void CopySelection(HWND box) const;

    std::string text_;
    VoSoftWrappedText wrapped_;
    int width_ = -1;  // the box's text width at the last wrap
};

// A read-only multi-line edit control (attached with Attach) that shows its text wrapped at
// words: its size and font changes wrap it again, and a copy leaves the soft breaks out.
class VoSoftWrapBox : public RySubclassedWindow {
public:
    // Shows text in the box, scrolled to the top; false when the box did not take it.
    bool SetText(const std::string& text) { return wrap_.SetText(Handle(), text); }
    const VoSoftWrap& Wrap() const { return wrap_; }
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    VoSoftWrap wrap_;
};
