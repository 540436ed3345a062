// The "Skrift" page of the options sheet and its font sample.
#include "FontOptionsPage.h"
#include "MessageText.h"
#include "OptionsResource.h"
#include "RyMessageMap.h"
#include "ViewSettings.h"

namespace {

constexpr UINT kIdsSampleText = 104;  // "AaBbÆæØøÅå"
constexpr UINT kIdsFontSizeField = 505;  // "Skriftstørrelse"
constexpr int kMinPoints = 10, kMaxPoints = 30;

// The face list: every TrueType family with the ANSI character set.
int CALLBACK AddFace(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD fontType, LPARAM combo) {
    if (!(fontType & TRUETYPE_FONTTYPE) || logFont->lfCharSet != ANSI_CHARSET) return 1;
    const LRESULT added = ry::Send(reinterpret_cast<HWND>(combo), CB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(logFont->lfFaceName));
    return added >= 0 ? 1 : 0;  // the list is full: stop
}

}  // namespace

void VoFontSample::SetSize(double points) {
    if (points == points_) return;
    points_ = points;
    Invalidate(true);
}

void VoFontSample::SetFace(const char* face) {
    if (!face || lstrcmpiA(face, face_) == 0) return;
    lstrcpynA(face_, face, kFaceCapacity);
    Invalidate(true);
}

bool VoFontSample::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_PAINT) return false;
    result = DefaultProc(hwnd, message, wParam, lParam);
    PaintSample();
    return true;
}

void VoFontSample::PaintSample() {
    LOGFONTA logFont;
    MakeLogFont(&logFont, face_, points_);
    FontHandle font(::CreateFontIndirectA(&logFont));
    WindowDc dc(hwnd_);
    if (!font || !dc.Get()) return;
    SavedDcState saved(dc.Get());
    ::SetMapMode(dc.Get(), MM_TEXT);
    ::SelectObject(dc.Get(), font.Get());
    ::SetBkMode(dc.Get(), TRANSPARENT);
    char text[kTextCapacity];
    LoadResString(text, kIdsSampleText);
    text[31] = '\0';
    RECT client = {}, measured = {};
    ::GetClientRect(hwnd_, &client);
    ::DrawTextA(dc.Get(), text, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT place = client;
    place.top += ((client.bottom - client.top) - (measured.bottom - measured.top)) / 2;
    const int spare = (client.right - client.left) - (measured.right - measured.left);
    if (spare > 0) place.left += spare / 2;
    ::DrawTextA(dc.Get(), text, -1, &place, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

VoFontOptionsDlg::VoFontOptionsDlg()
    : VoOptionsPage(IDD_FONT_OPTIONS, IDS_FONT_OPTIONS), bibleLinks_(&bibRefColor), lexiconLinks_(&lexRefColor) {}

bool VoFontOptionsDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT& result) {
    using Self = VoFontOptionsDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
        RyCommandCode<Self>(IDC_FONT_FACE, CBN_SELENDOK, RyOnCommand<&Self::OnFaceChosen>),
        RyCommandCode<Self>(IDC_FONT_SIZE, EN_CHANGE, RyOnCommand<&Self::OnSizeChanged>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoFontOptionsDlg::OnInitDialog(HWND, LPARAM) {
    StartPage();
    filling_ = true;
    sample_.Attach(Item(IDC_FONT_SAMPLE));
    sample_.SetSize(points);
    sample_.SetFace(face);
    bibleLinks_.SubclassWindow(Item(IDC_BIBLE_LINK_COLOR));
    lexiconLinks_.SubclassWindow(Item(IDC_LEXICON_LINK_COLOR));
    FillFaces();
    char number[16];
    wsprintfA(number, "%i", static_cast<int>(points));
    SetNumberField(IDC_FONT_SIZE, IDC_FONT_SIZE_SPIN, kMinPoints, kMaxPoints, static_cast<int>(points + 0.5), number);
    ry::Send(Item(IDC_FONT_FACE), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face));
    filling_ = false;
    return true;
}

void VoFontOptionsDlg::OnDestroy() {
    sample_.Detach();
}

void VoFontOptionsDlg::FillFaces() {
    WindowDc screen(::GetDesktopWindow());
    if (!screen.Get()) return;
    ::EnumFontFamiliesA(screen.Get(), nullptr, &AddFace, reinterpret_cast<LPARAM>(Item(IDC_FONT_FACE)));
}

void VoFontOptionsDlg::OnFaceChosen(UINT, UINT, HWND combo) {
    const LRESULT index = ry::Send(combo, CB_GETCURSEL, 0, 0);
    const LRESULT length = ry::Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length < 0 || length >= 256) return;
    char chosen[256] = {};
    ry::Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(chosen));
    lstrcpynA(face, chosen, sizeof(face));
    sample_.SetFace(face);
}

double VoFontOptionsDlg::SizeOf(UINT typed) const {
    return typed == static_cast<UINT>(points) ? points : static_cast<double>(typed);
}

void VoFontOptionsDlg::OnSizeChanged(UINT, UINT, HWND edit) {
    if (filling_) return;
    UINT typed = 0;
    if (!GetFieldUnsigned(edit, 0, &typed) || typed < kMinPoints || typed > kMaxPoints) return;
    points = SizeOf(typed);
    sample_.SetSize(points);
}

bool VoFontOptionsDlg::Apply() {
    UINT typed = 0;
    if (!GetFieldUnsignedInRange(Item(IDC_FONT_SIZE), kIdsFontSizeField, kMinPoints, kMaxPoints, &typed)) return false;
    points = SizeOf(typed);
    sample_.SetSize(points);
    return true;
}
