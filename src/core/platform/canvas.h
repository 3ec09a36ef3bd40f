#pragma once
// The drawing surface of an image control: a QImage with the persistent state of a Windows
// drawing canvas (font, pen, brush kept between drawings), opaque text, exclusive right and
// bottom edges, and an optional record of every operation.
//
// Speed: a pass (BeginPass/EndPass, or CanvasPass) keeps one painter open for all its
// operations; fonts, their metrics and the layouts of the texts drawn in them are kept per
// thread, so a text that recurs is measured and shaped once.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

#include "core/platform/draw_record.h"

class Canvas {
  public:
    Canvas(int width, int height, QString name);

    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas(Canvas&&) noexcept;
    Canvas& operator=(Canvas&&) noexcept;
    ~Canvas();

    const QString& Name() const { return name_; }
    // The bitmap. Every drawing is in it at once, a pass open or not; a copy taken during a pass
    // is a copy of its own.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

    // One painter for every operation until EndPass (or Resize); without a pass each operation
    // opens its own. The result is the same either way.
    void BeginPass();
    void EndPass();

    // True once after any drawing (or a new bitmap): whether the control showing the canvas
    // needs a repaint.
    bool TakeDrawn();
    // The size in drawing units; the bitmap has DeviceScale() pixels per unit.
    int Width() const { return width_; }
    int Height() const { return height_; }
    double DeviceScale() const { return image_.devicePixelRatio(); }
    // A new black bitmap of the given size; the drawing state is kept. With a device scale other
    // than 1 every drawing keeps its coordinates and is rendered sharp at that scale.
    void Resize(int width, int height, double deviceScale = 1.0);

    // Font state: face name as designed (substituted when drawn), size in points, colour, bold.
    void SetFontName(const QString& name);
    void SetFontSize(int points);
    void SetFontColor(const QColor& c);
    void SetBold(bool bold);
    // The width of the glyphs in percent (100: as the face draws them), for a text condensed to
    // fit its room as venue boards do.
    void SetFontStretch(int percent);
    const QString& FontName() const { return fontName_; }
    int FontSize() const { return fontSize_; }
    const QColor& FontColor() const { return fontColor_; }
    bool Bold() const { return bold_; }
    int FontStretch() const { return fontStretch_; }

    void SetPenColor(const QColor& c);
    void SetPenWidth(int width);
    void SetBrushColor(const QColor& c);
    const QColor& PenColor() const { return penColor_; }
    int PenWidth() const { return penWidth_; }
    const QColor& BrushColor() const { return brushColor_; }

    // Measured in pixels of the current font; height is the full cell (ascent + descent).
    int TextWidth(const QString& text);
    int TextHeight(const QString& text);
    // Pixels from the cell's top to the baseline.
    int TextAscent();
    // Opaque text: the cell is filled with the brush colour, then the glyphs; (x, y) is the
    // cell's top-left corner.
    void TextOut(int x, int y, const QString& text);

    // Brush only, no outline.
    void FillRect(int x1, int y1, int x2, int y2);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const std::vector<QPoint>& points);
    // Open line through the points with the pen; the last point's pixel is not drawn.
    void Polyline(const std::vector<QPoint>& points);
    void Line(int x1, int y1, int x2, int y2);
    // Draws a picture stretched into the rectangle (right and bottom exclusive).
    void StretchDraw(int x1, int y1, int x2, int y2, const QImage& picture);

    // Recording of operations (off by default).
    void SetRecording(bool on) { recording_ = on; }
    bool Recording() const { return recording_; }
    std::vector<DrawRecord> TakeRecords();
    const std::vector<DrawRecord>& Records() const { return records_; }

    // Lets go of the text layouts and cells this thread keeps (the fonts stay): the next drawing
    // of each text measures, shapes and renders it again.
    static void ForgetKeptTexts();

    // Points to pixels at 96 dpi, as MulDiv(points, 96, 72) rounds.
    static int PointsToPixels(int points);

    struct Face;

  private:
    // The current font with its metrics and text layouts.
    Face& CurrentFace();
    // The pass's painter (its per-operation state reset), or a new one in painter.
    QPainter& Painter(std::unique_ptr<QPainter>& own);
    void RecordShape(const char* op, std::vector<QPoint> points);

    QString name_;
    QImage image_;
    int width_ = 1;
    int height_ = 1;
    QString fontName_;
    int fontSize_ = 8;
    QColor fontColor_ = Qt::black;
    bool bold_ = false;
    int fontStretch_ = 100;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor brushColor_ = Qt::white;

    Face* face_ = nullptr;  // null when the font state changed
    std::unique_ptr<QPainter> pass_;
    bool drawn_ = true;
    bool recording_ = false;
    std::vector<DrawRecord> records_;
};

// A pass over a canvas for the length of a scope.
class CanvasPass {
  public:
    explicit CanvasPass(Canvas& canvas) : canvas_(canvas) { canvas_.BeginPass(); }
    ~CanvasPass() { canvas_.EndPass(); }
    CanvasPass(const CanvasPass&) = delete;
    CanvasPass& operator=(const CanvasPass&) = delete;

  private:
    Canvas& canvas_;
};
