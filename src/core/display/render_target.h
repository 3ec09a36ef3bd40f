#pragma once
// The target of one drawing pass: the current canvas and the scale (1.0 for the audience screen,
// 0.5 for the console preview), with the design-unit arithmetic every view uses.

#include <QString>
#include <initializer_list>

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

// A number as printf's "%3d" means it: right-aligned in a box of `places` character positions
// (more when it is longer), each as wide as a digit; a blank of the stand-in fonts is narrower.
struct NumberInBox {
    QString digits;
    int boxWidth = 0;  // pixels
    int offset = 0;    // from the box's left edge to the digits'
};
NumberInBox RightAlignedNumber(RenderTarget& t, int value, int places);

// The narrowest a text is condensed to before it is drawn smaller, as venue boards do.
inline constexpr int kMinStretch = 60;
// The room a narrowed text leaves before the text beside it, in design units.
inline constexpr int kTextGap = 12;

// Texts that share a line, drawn in the canvas font, fit `room` design units together: left as
// they are when they do; else condensed, down to kMinStretch percent, then drawn smaller. The
// canvas keeps the narrowed font; a FontFitScope puts it back.
void CondenseToWidth(RenderTarget& t, std::initializer_list<QString> texts, int room);
// The same with the room in pixels of the target.
void CondenseToPixels(RenderTarget& t, std::initializer_list<QString> texts, int roomPixels);

// A text from (x, y) in pixels that ends before pixel `limit`, narrowed when it would run on;
// the canvas font is as before afterwards.
void TextOutWithin(RenderTarget& t, int x, int y, const QString& text, int limit);

// The canvas's font size and stretch for the length of a scope.
class FontFitScope {
  public:
    explicit FontFitScope(RenderTarget& t)
        : canvas_(*t.canvas),
          size_(canvas_.FontSize()),
          stretch_(canvas_.FontStretch()),
          ascent_(canvas_.TextAscent()) {}
    // How far a text in the font as it is now lies lower than one in the font of the scope's
    // start, so that a smaller text keeps its baseline on the line's.
    int Lowered() { return ascent_ - canvas_.TextAscent(); }
    ~FontFitScope() {
        canvas_.SetFontSize(size_);
        canvas_.SetFontStretch(stretch_);
    }
    FontFitScope(const FontFitScope&) = delete;
    FontFitScope& operator=(const FontFitScope&) = delete;

  private:
    Canvas& canvas_;
    int size_;
    int stretch_;
    int ascent_;
};
