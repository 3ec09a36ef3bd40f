#pragma once
// The drawing surface of an image control: a QImage with the persistent state of a Windows
// drawing canvas (font, pen, brush kept between drawings), opaque text, exclusive right and
// bottom edges, and an optional record of every operation.
//
// Speed: a pass (BeginPass/EndPass, or CanvasPass) keeps one painter open for all its
// operations; fonts, their metrics and the layouts of the texts drawn in them are kept per
// thread, so a text that recurs is measured and shaped once.
//
// The canvas keeps the operations its bitmap holds (the frame: from the last operation that
// covered the whole bitmap with an opaque fill). A pass collects its operations and, when it
// ends, compares them with the frame: only the rectangles where an operation differs are drawn
// again, every operation of the new frame that reaches into them drawn in order within them, so
// the pixels are those of drawing the whole frame. TakeDamage says which parts changed.
//
// A picture to come can be drawn ahead, while there is time, on a copy of the canvas
// (AheadCopy, KeepAhead): the pass that then draws the same operations takes the copy's bitmap
// instead of drawing them again.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <array>
#include <cstdint>
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
    // The bitmap. The drawings of an open pass are in it once the pass ends (or Image is asked
    // for); a copy taken during a pass is a copy of its own. A write into the bitmap through the
    // non-const form makes the next drawing of the whole surface draw all of it again.
    QImage& Image();
    const QImage& Image() const;

    // One painter for every operation until EndPass (or Resize); without a pass each operation
    // opens its own. The result is the same either way.
    void BeginPass();
    void EndPass();
    // A canvas not on show keeps its passes undrawn until its bitmap is asked for (Image,
    // TakeDamage, a copy to draw ahead on): a pass that a later one covers whole before then is
    // never drawn. The records and the bitmap come out the same.
    void SetDeferred(bool deferred) { deferred_ = deferred; }

    // True once after any drawing that changed pixels (or a new bitmap): whether the control
    // showing the canvas needs a repaint.
    bool TakeDrawn() { return !TakeDamage().isEmpty(); }
    // The parts of the bitmap, in its pixels, that the drawings since the last call changed (all
    // of it after a new bitmap); a pass still open counts once it ends.
    QRegion TakeDamage();
    // The kept frame drawn whole onto a fresh bitmap: what the bitmap holds when nothing has been
    // written into it directly (a check of the partial drawing).
    QImage FullRepaint() const;
    // The size in drawing units; the bitmap has DeviceScale() pixels per unit.
    int Width() const { return width_; }
    int Height() const { return height_; }
    double DeviceScale() const { return scale_; }
    // The bitmap's size in pixels.
    QSize PixelSize() const { return PixelRect().size(); }
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

    // Warming only: a text's measure is kept and its glyphs are drawn as a first drawing draws
    // them (so the font's glyph cache has them); at a scale that is not a whole number it is
    // shaped too, so that it comes as a text drawn before (the same pixels there). No other
    // operation is drawn and nothing is kept in the frame: for a scratch canvas that prepares
    // the texts of a picture to come without changing its pixels.
    void SetWarmingOnly(bool on) { warmingOnly_ = on; }

    // Drawing ahead. A scratch canvas with this canvas's bitmap, frame and drawing state (no
    // records) to draw one pass of a picture to come on; it leaves the texts it draws counted as
    // never drawn, so that the pass that draws them here records them as it would without it.
    Canvas AheadCopy() const;
    // A new round of copies: those of one picture (its passes, in their order) count the texts
    // drawn by the copies before them in the round as drawn, as the passes themselves do.
    static void BeginAheadRound();
    // Keeps what `ahead` (made by AheadCopy of this canvas, one pass drawn on it since) drew, in
    // `slot` (the picture kept there before is let go). A later pass here takes that bitmap
    // instead of drawing, if it has the operations of the copy's pass and either nothing was
    // drawn here since the copy was made (the copy drew the same operations over the same pixels
    // the same way) or the pass starts with an opaque fill of the whole bitmap (its pixels are
    // those of its operations alone, whatever it is drawn over). A picture of the first kind is
    // let go by any other pass or drawing; one of the second kind stays until it is taken.
    static constexpr int kAheadSlots = 3;
    void KeepAhead(Canvas&& ahead, int slot = 0);
    // Brings a picture kept in `slot` that starts with an opaque fill of the whole bitmap up to
    // this bitmap as it is now: what the pass that takes it changes is found here, between this
    // frame and the copy's operations, so that the pass itself need not compare them. For the
    // idle time after a drawing: a programme step drawn ahead before the heat steps of a round.
    void RebaseAhead(int slot);
    // Whether the last pass took a bitmap drawn ahead.
    bool TookAhead() const { return tookAhead_; }
    // Takes the picture kept in `slot` without drawing its pass, for a caller that knows the pass
    // it would draw is the copy's (the same drawing of the same inputs): only if it was drawn over
    // this bitmap as it is now. The bitmap, the frame and the drawing state become the copy's,
    // what the copy changed becomes the damage. False, with nothing changed, otherwise and while
    // recording (a pass drawn here records its operations; a picture taken would not).
    bool TakeAhead(int slot);
    // The bitmap kept in `slot` if it was drawn over this bitmap as it is now, with the parts in
    // which the two differ (as TakeDamage would name them once a pass took it); null otherwise.
    const QImage* AheadPicture(int slot, QRegion* changed) const;
    // Takes, without drawing its pass, the picture kept here in the slot and round of drawing
    // ahead from which `other`'s last pass took its own (a pass that drew the copy's operations
    // there): for a caller whose pass here draws the same picture as that pass, of the same
    // inputs, at another scale. As TakeAhead, and only if this canvas's drawing state is the one
    // its copy started from; false, with nothing changed, otherwise.
    bool TakeAheadAlike(const Canvas& other);

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
    struct Op;
    struct Ahead;
    // The font, pen and brush a drawing starts from.
    struct DrawState {
        QString fontName;
        int fontSize = 8;
        QColor fontColor;
        bool bold = false;
        int fontStretch = 100;
        QColor penColor;
        int penWidth = 1;
        QColor brushColor;
        bool operator==(const DrawState&) const = default;
    };

  private:
    DrawState CurrentDrawState() const;
    void SetDrawState(const DrawState& state);
    // TakeAhead, and with `round` TakeAheadAlike's further checks.
    bool TakeKept(int slot, const std::uint64_t* round);
    // The current font with its metrics and text layouts.
    Face& CurrentFace();
    void RecordShape(const char* op, std::vector<QPoint> points);
    // An operation of the pass (drawn when it ends), or drawn at once outside a pass.
    void Add(Op&& op);
    // The pass's operations into the bitmap: compared with the frame, the differing parts drawn.
    void Commit() const;
    QRect PixelRect() const;
    // The bitmap of a new size is made on its first use.
    void EnsureBitmap() const;
    // The device pixels a rectangle of drawing units (and `margin` units around it) may touch,
    // a pixel more on each side.
    QRect DeviceBounds(const QRectF& units, double margin = 0) const;
    // The bounds of the operations of one frame or the other that the two do not share in the
    // same order.
    static std::vector<QRect> ChangedRects(const std::vector<Op>& was, const std::vector<Op>& now);

    QString name_;
    mutable QImage image_;
    int width_ = 1;
    int height_ = 1;
    double scale_ = 1.0;
    mutable bool bitmapPending_ = false;
    QString fontName_;
    int fontSize_ = 8;
    QColor fontColor_ = Qt::black;
    bool bold_ = false;
    int fontStretch_ = 100;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor brushColor_ = Qt::white;

    Face* face_ = nullptr;  // null when the font state changed
    bool inPass_ = false;
    bool deferred_ = false;
    bool warmingOnly_ = false;
    bool recording_ = false;
    // The operations whose drawing from any pixels gives the bitmap (frameKnown_), the pass's
    // operations not drawn yet, and the changed parts not taken yet.
    mutable std::vector<Op> frame_;
    mutable bool frameKnown_ = false;
    mutable std::vector<Op> pending_;
    mutable QRegion damage_;
    std::vector<DrawRecord> records_;
    // Counts every change of the bitmap or the frame, so that a picture drawn ahead knows
    // whether the canvas is still as it was copied.
    mutable std::uint64_t generation_ = 0;
    bool aheadCopy_ = false;
    // On a copy: its canvas's count when it was made, and what its pass drew.
    mutable std::unique_ptr<Ahead> ahead_;
    // On a canvas: what copies drew, kept to be taken.
    mutable std::array<std::unique_ptr<Ahead>, kAheadSlots> kept_;
    // The bitmap a taken picture replaced, for the next copy to draw on.
    mutable QImage spare_;
    // The frame a pass replaced and the pictures drawn ahead it let go of: freed when the next
    // copy is made, while the program waits, not while a picture is on its way.
    mutable std::vector<Op> spentFrame_;
    mutable std::vector<std::unique_ptr<Ahead>> spent_;
    mutable bool tookAhead_ = false;
    // Where the picture taken was kept: its slot (-1: none) and round of drawing ahead.
    struct TakenFrom {
        int slot = -1;
        std::uint64_t round = 0;
    };
    mutable TakenFrom tookFrom_;
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
