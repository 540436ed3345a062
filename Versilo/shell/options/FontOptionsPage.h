// VoFontOptionsDlg: the "Skrift" page of the options sheet: the display font's face and
// size with a sample of them, and the colours of links to bible and commentary windows.
// VoFontSample: the static that shows the sample.
#pragma once
#include "ColorPicker.h"
#include "OptionsPage.h"
#include "RySubclassedWindow.h"

class VoFontSample : public RySubclassedWindow {
public:
    static constexpr int kFaceCapacity = 32;

    // Store the value; the sample is drawn again when it changed and the window exists.
    void SetSize(double points);
    void SetFace(const char* face);
    double GetSize() const { return points_; }
    const char* GetFace() const { return face_; }

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void PaintSample();

    char face_[kFaceCapacity] = "Times New Roman";
    double points_ = 14.0;
};

class VoFontOptionsDlg : public VoOptionsPage {
public:
    VoFontOptionsDlg();

    char face[VoFontSample::kFaceCapacity] = "Times New Roman";
    double points = 14.0;
    COLORREF bibRefColor = 0x000000FF;
    COLORREF lexRefColor = 0x00FF0000;

    bool Apply() override;
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The controls while the page is shown.
    VoFontSample& Sample() { return sample_; }
    RyColorPicker& BibleLinkPicker() { return bibleLinks_; }
    RyColorPicker& LexiconLinkPicker() { return lexiconLinks_; }

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnDestroy();
    void OnFaceChosen(UINT, UINT, HWND);
    void OnSizeChanged(UINT, UINT, HWND);
    void FillFaces();
    // The size a number typed in the field stands for: the shown (truncated) size keeps
    // the stored one, so 10.5 points shown as "10" stay 10.5 until the reader changes them.
    double SizeOf(UINT typed) const;

    VoFontSample sample_;
    RyColorPicker bibleLinks_;
    RyColorPicker lexiconLinks_;
    bool filling_ = false;  // the page is setting its own fields
};
