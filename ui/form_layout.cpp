#include "form_layout.h"

#include <cstdint>

namespace pound::ui {
namespace {

constexpr int kDesignWindowFont = 11;
constexpr int kDesignLabel3Font = 16;
constexpr int kDesignTntLabel1Font = 15;
constexpr int kPointsPerInch = 72;
// A single-line entry is its font's line height plus borders and margins.
constexpr int kEditExtraHeight = 8;

}  // namespace

int MulDiv(int a, int b, int c) {
    const std::int64_t product = std::int64_t{a} * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t n = product < 0 ? -product : product, d = c < 0 ? -std::int64_t{c} : c;
    const std::int64_t rounded = (2 * n + d) / (2 * d);
    return static_cast<int>(negative ? -rounded : rounded);
}

FormLayout DesignLayout() {
    FormLayout layout{};
    layout.controls[kLabel2] = {8, 168, 68, 13};
    layout.controls[kLabel3] = {8, 56, 93, 19};
    layout.controls[kLabel4] = {19, 205, 21, 29};
    layout.controls[kTntLabel1] = {114, 4, 149, 18};
    layout.controls[kEdit1] = {88, 168, 121, 21};
    layout.controls[kButton1] = {216, 168, 75, 25};
    layout.controls[kListBox1] = {112, 24, 153, 97};
    layout.clientWidth = 317;
    layout.clientHeight = 256;
    layout.windowFontPixels = kDesignWindowFont;
    layout.label3FontPixels = kDesignLabel3Font;
    layout.tntLabel1FontPixels = kDesignTntLabel1Font;
    return layout;
}

int WindowFontPixels(int pixelsPerInch) {
    return pixelsPerInch == kDesignPixelsPerInch
               ? kDesignWindowFont
               : MulDiv(kDesignWindowFont, pixelsPerInch, kDesignPixelsPerInch);
}

FormLayout ScaleLayout(int pixelsPerInch, int textHeight) {
    FormLayout layout = DesignLayout();
    layout.windowFontPixels = WindowFontPixels(pixelsPerInch);
    if (textHeight == kDesignTextHeight)
        return layout;

    const auto scale = [&](int v) { return MulDiv(v, textHeight, kDesignTextHeight); };
    for (Rect& r : layout.controls) {
        const int left = scale(r.left), top = scale(r.top);
        r = {left, top, scale(r.left + r.width) - left, scale(r.top + r.height) - top};
    }
    layout.controls[kEdit1].height = textHeight + kEditExtraHeight;
    layout.clientWidth = scale(layout.clientWidth);
    layout.clientHeight = scale(layout.clientHeight);
    // Fonts of their own scale in whole points: S = pixels * 72 / P, then S * H / 13.
    const auto scaleFont = [&](int pixels) {
        const int points = MulDiv(pixels, kPointsPerInch, pixelsPerInch);
        return MulDiv(scale(points), pixelsPerInch, kPointsPerInch);
    };
    layout.label3FontPixels = scaleFont(kDesignLabel3Font);
    layout.tntLabel1FontPixels = scaleFont(kDesignTntLabel1Font);
    return layout;
}

}  // namespace pound::ui
