#pragma once
// The target of one drawing pass: the current canvas and the scale (1.0 for the audience screen,
// 0.5 for the console preview), with the design-unit arithmetic every view uses.

#include <QString>

#include "core/platform/canvas.h"

struct RenderTarget {
    Canvas* canvas = nullptr;
    double scale = 1.0;

    // Design units to pixels, truncated toward zero.
    int Scaled(int v) const { return static_cast<int>(v * scale); }
    // Centred on design x c for a measured width w: trunc(c * scale - w / 2).
    int CenteredX(int c, int w) const { return static_cast<int>(c * scale - (w / 2)); }
    // Right-aligned at design x r: trunc(r * scale - w).
    int RightX(int r, int w) const { return static_cast<int>(r * scale - w); }
    // Vertically centred on design y: trunc(y * scale - h / 2).
    int CenteredY(int y, int h) const { return static_cast<int>(y * scale - (h / 2)); }

    Canvas& operator*() const { return *canvas; }
    Canvas* operator->() const { return canvas; }
};

// The horizontal rule under a heading: from design x 20 to 999 at design y, in the pen as set.
void DrawRule(RenderTarget& t, int y);

// While the font size is not 0 and the text is not narrower than Scaled(limit), one point less
// (a negative size is left as it is).
void FitFontToWidth(RenderTarget& t, const QString& text, int limit);
