// VoBibleWindowHost: painting the caption strip, the close buttons and the splitters.
#include "BibleInfoList.h"
#include "BibleWindowHost.h"
#include "ViewSettings.h"

namespace {

void FillWith(HDC dc, const RECT& rect, int colour) { FillRect(dc, &rect, GetSysColorBrush(colour)); }

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

}  // namespace

void VoCloseButtonPainter::Paint(HWND window, const RECT& rect, bool pressed, bool hot) {
    WindowDc dc(window);
    if (!dc.Get()) return;
    SavedDcState saved(dc.Get());
    SelectObject(dc.Get(), GetStockObject(BLACK_PEN));
    RECT outer = rect;
    InflateRect(&outer, 2, 2);
    FillWith(dc.Get(), outer, COLOR_BTNFACE);
    if (pressed || hot) {
        // Raised when hot, sunken when pressed.
        const int topLeft = pressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
        const int bottomRight = pressed ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
        FillWith(dc.Get(), {outer.left, outer.top, outer.right, outer.top + 1}, topLeft);
        FillWith(dc.Get(), {outer.left, outer.top, outer.left + 1, outer.bottom}, topLeft);
        FillWith(dc.Get(), {outer.left, outer.bottom - 1, outer.right, outer.bottom}, bottomRight);
        FillWith(dc.Get(), {outer.right - 1, outer.top, outer.right, outer.bottom}, bottomRight);
    }
    RECT r = rect;
    if (pressed) OffsetRect(&r, 1, 1);
    const int l = r.left, t = r.top, rr = r.right, b = r.bottom;
    Line(dc.Get(), l, t, rr, b);
    Line(dc.Get(), l + 1, t, rr, b - 1);
    Line(dc.Get(), l, t + 1, rr - 1, b);
    Line(dc.Get(), l, b - 1, rr, t - 1);
    Line(dc.Get(), l, b - 2, rr - 1, t - 1);
    Line(dc.Get(), l + 1, b - 1, rr, t);
}

HFONT VoBibleWindowHost::CaptionFont(bool bold) {
    if (!captionFontsMade_) {
        captionFontsMade_ = true;
        LOGFONTA lf = {};
        if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf) == sizeof lf) {
            lf.lfHeight = lf.lfHeight * 6 / 5;
            captionFont_.Reset(CreateFontIndirectA(&lf));
            lf.lfWeight = FW_BOLD;
            boldCaptionFont_.Reset(CreateFontIndirectA(&lf));
        }
    }
    HFONT font = bold ? boldCaptionFont_.Get() : captionFont_.Get();
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void VoBibleWindowHost::DrawCloseButton(int slot, bool pressed, bool hot) {
    if (slot < 0 || slot >= count_ || count_ <= 1) return;
    VoCloseButtonPainter painter;
    painter.Paint(Handle(), CloseButtonRect(slot), pressed, hot);
}

void VoBibleWindowHost::RepaintCaptions() {
    if (!IsWindow() || count_ <= 1) return;
    RECT rc;
    GetClientRect(Handle(), &rc);
    rc.bottom = CaptionHeight();
    ::InvalidateRect(Handle(), &rc, FALSE);
}

void VoBibleWindowHost::OnPaint() {
    PaintDc paint(Handle());
    HDC dc = paint.Get();
    if (!dc || count_ <= 1) return;
    RECT client;
    GetClientRect(Handle(), &client);
    int widths[kMaxPanes];
    PaneWidths(client.right, widths);
    const int captionHeight = CaptionHeight();
    VoViewSettings* settings = client_ ? client_->GetViewSettings() : nullptr;
    VoBibleInfoList* list = client_ ? client_->GetBibleList() : nullptr;
    const int margin = settings ? static_cast<int>(settings->GetMarginWidth()) : 5;
    SavedDcState saved(dc);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    int left = 0;
    for (int i = 0; i < count_; ++i) {
        const bool active = i == active_;
        RECT caption = {left, 0, left + widths[i], captionHeight};
        FillWith(dc, caption, COLOR_BTNFACE);
        SelectObject(dc, CaptionFont(active));
        SetTextColor(dc, GetSysColor(active ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        VoBiblePosition p;
        panes_[i]->GetPosition(&p);
        // The position is formatted whole, then cut to the caption's 64 characters.
        char full[256] = {};
        char text[64] = {};
        if (list) list->FormatPosition(p.bibleIndex, p.book, p.chapter, true, full, sizeof full);
        lstrcpynA(text, full, sizeof text);
        RECT textRect = caption;
        textRect.left += margin;
        textRect.right = CloseButtonRect(i).left - 2;
        DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        left += widths[i] + kSplitterWidth;
    }
    for (int i = 0; i < count_; ++i) DrawCloseButton(i, false, i == hot_);
    // Splitters over the whole height: a highlight line, four face lines, a shadow line.
    left = 0;
    for (int i = 0; i < count_ - 1; ++i) {
        left += widths[i];
        for (int x = 0; x < kSplitterWidth; ++x) {
            const int colour = x == 0 ? COLOR_BTNHIGHLIGHT : x == kSplitterWidth - 1 ? COLOR_BTNSHADOW : COLOR_BTNFACE;
            FillWith(dc, {left + x, 0, left + x + 1, client.bottom}, colour);
        }
        left += kSplitterWidth;
    }
}
