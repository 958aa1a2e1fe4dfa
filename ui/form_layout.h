#pragma once
// The window's stored layout, for 96 pixels per inch and a window font whose text is 13
// pixels high, and its scaling to another resolution and font.

#include <array>

namespace pound::ui {

struct Rect {
    int left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum Control { kLabel2, kLabel3, kLabel4, kTntLabel1, kEdit1, kButton1, kListBox1, kControlCount };

struct FormLayout {
    std::array<Rect, kControlCount> controls;  // labels: only left and top count
    int clientWidth, clientHeight;
    int windowFontPixels;  // character height of the window font
    int label3FontPixels;  // fonts of their own
    int tntLabel1FontPixels;
    friend bool operator==(const FormLayout&, const FormLayout&) = default;
};

inline constexpr int kDesignPixelsPerInch = 96;
inline constexpr int kDesignTextHeight = 13;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

// The layout as stored.
FormLayout DesignLayout();

// Step 1 of loading: the window font's character height at `pixelsPerInch`.
int WindowFontPixels(int pixelsPerInch);

// The layout at `pixelsPerInch`, once the window font measures `textHeight` pixels: every
// edge scaled by textHeight / 13, the entry's height following its font, the fonts of their
// own scaled in points. Nothing changes for a text height of 13.
FormLayout ScaleLayout(int pixelsPerInch, int textHeight);

}  // namespace pound::ui
