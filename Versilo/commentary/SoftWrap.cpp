#include "SoftWrap.h"
#include <cstring>
#include "Handles.h"

namespace {

// The number of leading characters of text that fit in width pixels in dc's font, whole
// characters only; everything when there is no width to wrap at yet.
int FitInWidth(HDC dc, int width, const char* text, int length) {
    if (!dc || width <= 0 || length <= 0) return length;
    int fit = 0;
    SIZE size = {};
    if (!GetTextExtentExPointA(dc, text, length, width, &fit, nullptr, &size)) return length;
    // A double-byte character counts whole or not at all.
    int whole = 0;
    for (const char* p = text; p < text + fit;) {
        const char* next = CharNextA(p);
        if (next == p || next > text + fit) break;
        whole = static_cast<int>(next - text);
        p = next;
    }
    return whole;
}

}  // namespace

VoSoftWrappedText SoftWrapText(const std::string& text, const VoLineFit& fit) {
    VoSoftWrappedText w;
    w.shownAt.assign(text.size() + 1, 0);
    w.shown.reserve(text.size() + text.size() / 16);
    w.textAt.reserve(w.shown.capacity() + 1);
    auto copy = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            w.shownAt[i] = static_cast<int>(w.shown.size());
            w.textAt.push_back(static_cast<int>(i));
            w.shown += text[i];
        }
    };
    // A soft break for the text's character at: the blank it replaces, or the one it precedes.
    auto softBreak = [&](size_t at, bool replacesBlank) {
        if (replacesBlank) w.shownAt[at] = static_cast<int>(w.shown.size());
        for (const char* c = kSoftLineBreak; *c; ++c) {
            w.textAt.push_back(static_cast<int>(at));
            w.shown += *c;
        }
    };
    size_t p = 0;
    while (p < text.size()) {
        // One line of the text: up to its CR, LF or end.
        size_t end = text.find_first_of("\r\n", p);
        if (end == std::string::npos) end = text.size();
        while (p < end) {
            const int length = static_cast<int>(end - p);
            int n = fit(text.c_str() + p, length);
            if (n >= length) {
                copy(p, end);
                p = end;
                break;
            }
            if (n < 0) n = 0;
            // The last blank within the first n + 1 characters: the line before it fits.
            size_t blank = std::string::npos;
            for (size_t q = p + static_cast<size_t>(n); q > p; --q) {
                if (text[q] == ' ') {
                    blank = q;
                    break;
                }
            }
            if (blank != std::string::npos) {
                copy(p, blank);
                softBreak(blank, true);
                p = blank + 1;
            } else {
                // A word wider than the line alone: as much of it as fits, at least a character.
                const size_t one = static_cast<size_t>(CharNextA(text.c_str() + p) - (text.c_str() + p));
                const size_t k = n > 0 ? static_cast<size_t>(n) : (one > 0 ? one : 1);
                if (p + k >= end) {
                    copy(p, end);
                    p = end;
                    break;
                }
                copy(p, p + k);
                softBreak(p + k, false);
                p += k;
            }
        }
        // The line's own end (CR, LF or CR LF) as it is.
        size_t next = p;
        if (next < text.size() && text[next] == '\r') ++next;
        if (next < text.size() && text[next] == '\n') ++next;
        copy(p, next);
        p = next;
    }
    w.shownAt[text.size()] = static_cast<int>(w.shown.size());
    w.textAt.push_back(static_cast<int>(text.size()));
    return w;
}

std::string RemoveSoftLineBreaks(const std::string& shown) {
    std::string text = shown;
    const size_t n = sizeof kSoftLineBreak - 1;
    for (size_t i = 0; (i = text.find(kSoftLineBreak, i)) != std::string::npos; ++i) text.replace(i, n, " ");
    return text;
}

bool VoSoftWrap::SetText(HWND box, const std::string& text) {
    text_ = text;
    return Wrap(box);
}

int VoSoftWrap::ShownPosition(int position) const {
    if (position <= 0) return 0;
    const size_t i = static_cast<size_t>(position);
    return i < wrapped_.shownAt.size() ? wrapped_.shownAt[i] : static_cast<int>(wrapped_.shown.size());
}

int VoSoftWrap::TextPosition(int shown) const {
    if (shown <= 0) return 0;
    const size_t i = static_cast<size_t>(shown);
    return i < wrapped_.textAt.size() ? wrapped_.textAt[i] : static_cast<int>(text_.size());
}

bool VoSoftWrap::ProcessMessage(HWND box, UINT message, WPARAM, LPARAM, LRESULT& result,
                                const std::function<LRESULT()>& defaultProc) {
    switch (message) {
    case WM_SIZE: {
        result = defaultProc();
        RECT rc = {};
        ::SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
        if (rc.right - rc.left != width_) Rewrap(box);
        return true;
    }
    case WM_SETFONT:
        result = defaultProc();
        Rewrap(box);
        return true;
    case WM_COPY:
        CopySelection(box);
        result = 0;
        return true;
    default:
        return false;
    }
}

bool VoSoftWrap::Wrap(HWND box) {
    RECT rc = {};
    ::SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
    width_ = rc.right - rc.left;
    WindowDc dc(box);
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(box, WM_GETFONT, 0, 0));
    SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    const int width = width_;
    const HDC measure = dc.Get();
    wrapped_ = SoftWrapText(text_, [measure, width](const char* text, int length) {
        return FitInWidth(measure, width, text, length);
    });
    return ::SetWindowTextA(box, wrapped_.shown.c_str()) != FALSE;
}

void VoSoftWrap::Rewrap(HWND box) {
    const LRESULT firstLine = ::SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    const int top = TextPosition(static_cast<int>(::SendMessageA(box, EM_LINEINDEX, static_cast<WPARAM>(firstLine), 0)));
    DWORD from = 0, to = 0;
    ::SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    const int selFrom = TextPosition(static_cast<int>(from)), selTo = TextPosition(static_cast<int>(to));
    Wrap(box);
    ::SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(ShownPosition(selFrom)), ShownPosition(selTo));
    const LRESULT line = ::SendMessageA(box, EM_LINEFROMCHAR, static_cast<WPARAM>(ShownPosition(top)), 0);
    const LRESULT now = ::SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SendMessageA(box, EM_LINESCROLL, 0, line - now);
}

void VoSoftWrap::CopySelection(HWND box) const {
    DWORD from = 0, to = 0;
    ::SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    const int begin = TextPosition(static_cast<int>(from)), end = TextPosition(static_cast<int>(to));
    if (end <= begin) return;
    const size_t n = static_cast<size_t>(end - begin);
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, n + 1));
    if (!block) return;
    {
        GlobalLocked<char> bytes(block.Get());
        if (!bytes.Get()) return;
        memcpy(bytes.Get(), text_.data() + begin, n);
        bytes.Get()[n] = '\0';
    }
    if (!OpenClipboard(box)) return;
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block.Get())) block.Release();
    CloseClipboard();
}

bool VoSoftWrapBox::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return wrap_.ProcessMessage(hwnd, message, wParam, lParam, result,
                                [&] { return DefaultProc(hwnd, message, wParam, lParam); });
}
