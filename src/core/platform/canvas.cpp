#include "core/platform/canvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPolygon>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include "core/platform/changed_tiles.h"
#include "core/platform/font_substitution.h"

namespace {

// The Windows Japanese fonts the screens were designed with have a cell of about one em, the
// baseline 0.86-0.88 em down, and the written row pitches assume it. Every face draws in a cell of
// that kind: baseline at 0.88 em, 0.2 em below it, so the stand-ins' kana, kanji and most Latin
// descenders lie inside and the rows of the tightest layouts (ten finalists 44 units apart at 30
// points) stay clear of each other. A glyph that still reaches out is drawn over what lies beyond,
// not cut.
constexpr double kCellAscentEm = 0.88;
constexpr double kCellHeightEm = 1.08;

// Ink beyond a text's cell up to this coverage (of 255) is the faint edge of an antialiased
// glyph, which the hinting of small sizes pushes a pixel out: a copy of the cell, which leaves it
// out, looks the same.
constexpr int kFaintInk = 64;

// Glyph runs laid out from the start of a baseline, drawn from `origin`; none when not shaped.
void DrawRuns(QPainter& p, const std::vector<QGlyphRun>* runs, QPointF origin) {
    if (runs == nullptr) return;
    for (const QGlyphRun& run : *runs) p.drawGlyphRun(origin, run);
}

// Rendered cells of this thread, all faces together, are kept up to this many bytes.
constexpr qsizetype kCellBudget = 16 * 1024 * 1024;

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter;
}

}  // namespace

// A font at one size with its metrics, and the width, glyphs and rendered cells of the texts
// drawn in it.
struct Canvas::Face {
    // A text's opaque cell as drawn (brush, then glyphs) in one font colour on one brush colour
    // at one whole-number device scale; copying it draws the same pixels. Null when a glyph
    // reaches outside the cell: such a text is drawn over whatever lies beside it.
    struct Cell {
        QRgb color;
        QRgb brush;
        int scale;
        QImage image;
    };
    struct Layout {
        int width = 0;
        // A text drawn once is drawn as the painter draws text; one drawn again is worth its
        // glyphs and cells.
        bool drawn = false;
        // The round of drawing ahead (FaceRegistry::aheadRound) that drew it last, which counts
        // it as drawn for the passes of that round only.
        std::uint64_t drawnAhead = 0;
        bool shaped = false;
        // Texts with control characters are drawn by the painter's own text drawing, which
        // treats them as it always has; all others from their glyph runs.
        bool plain = false;
        // Positions relative to the start of the baseline; shared with the operations that draw
        // them, which a pass makes anew every time.
        std::shared_ptr<const std::vector<QGlyphRun>> runs;
        // The glyphs' outlines relative to the cell's corner, once shaped (InkOf).
        std::optional<QRectF> ink;
        std::vector<Cell> cells;
    };

    Face(const QString& name, int points, bool bold, int stretch)
        : font(ResolveFont(name, PointsToPixels(points), bold, stretch)), metrics(font) {
        // The cell of the design fonts, whatever the stand-in's own line box (up to 1.45 em):
        // the written row pitches assume it, and every face's baseline then lies at the same
        // depth, so texts of different faces in one row line up.
        const int pixels = font.pixelSize();
        ascent = qRound(pixels * kCellAscentEm);
        height = qRound(pixels * kCellHeightEm);
        // Where the painter's text drawing may leave ink around a cell, for a text not shaped
        // yet: the face's own extents and bearings and a quarter em more, for the glyphs of
        // other faces it falls back to.
        const double quarter = std::max(1, pixels) / 4.0;
        reachLeft = std::max(0, -metrics.minLeftBearing()) + quarter;
        reachRight = std::max(0, -metrics.minRightBearing()) + quarter;
        reachUp = std::max(0, metrics.ascent() - ascent) + quarter;
        reachDown = std::max(0, ascent + metrics.descent() - height) + quarter;
    }

    // The rectangle, relative to the cell's corner, that drawing a text may touch.
    QRectF ReachOf(Layout& l) {
        const QRectF cell(0, 0, l.width, height);
        if (!l.shaped || l.plain) {
            return cell.adjusted(-reachLeft, -reachUp, reachRight, reachDown);
        }
        if (!l.ink) l.ink = InkOf(l);
        return l.ink->isEmpty() ? cell : (cell | *l.ink);
    }

    Layout& LayoutOf(const QString& text) {
        auto it = layouts.find(text);
        if (it != layouts.end()) return *it;
        // A face that has seen very many different texts starts again.
        if (layouts.size() >= kMaxLayouts) ClearLayouts();
        Layout l;
        l.width = metrics.horizontalAdvance(text);
        return *layouts.insert(text, std::move(l));
    }

    // The glyphs, laid out as the painter lays out one line of text.
    void Shape(const QString& text, Layout& l) const {
        l.shaped = true;
        l.plain = std::any_of(text.begin(), text.end(), IsControl);
        if (l.plain) return;
        QTextLayout layout(text, font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            layout.endLayout();
            return;
        }
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        const QPointF baseline(0, line.ascent());
        std::vector<QGlyphRun> runs;
        for (QGlyphRun& run : layout.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions) p -= baseline;
            run.setPositions(positions);
            runs.push_back(std::move(run));
        }
        l.runs = std::make_shared<const std::vector<QGlyphRun>>(std::move(runs));
    }

    void DrawGlyphs(QPainter& p, const Layout& l, QPointF origin) const {
        DrawRuns(p, l.runs.get(), origin);
    }

    // The cell of a shaped text, or null when it cannot stand for the drawing (see Cell).
    const QImage* CellOf(Layout& l, const QColor& color, const QColor& brush, int scale,
                         qsizetype& cellBytes) {
        auto found = std::find_if(l.cells.begin(), l.cells.end(), [&](const Cell& c) {
            return c.color == color.rgba() && c.brush == brush.rgba() && c.scale == scale;
        });
        if (found == l.cells.end()) {
            Cell cell{color.rgba(), brush.rgba(), scale, QImage()};
            if (!Overhangs(l, color, scale)) {
                cell.image = QImage(l.width * scale, height * scale, QImage::Format_RGB32);
                cell.image.setDevicePixelRatio(scale);
                cell.image.fill(brush);
                QPainter p(&cell.image);
                p.setPen(color);
                DrawGlyphs(p, l, QPointF(0, ascent));
                cellBytes += cell.image.sizeInBytes();
            }
            l.cells.push_back(std::move(cell));
            found = l.cells.end() - 1;
        }
        return found->image.isNull() ? nullptr : &found->image;
    }

    // The glyphs' outlines, relative to the cell's top-left corner.
    QRectF InkOf(const Layout& l) const {
        QRectF ink;
        if (l.runs == nullptr) return ink;
        for (const QGlyphRun& run : *l.runs) {
            const QRawFont raw = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
                ink |= raw.boundingRect(glyphs[i]).translated(positions[i]);
            }
        }
        return ink.isEmpty() ? ink : ink.translated(0, ascent);
    }

    // Whether any glyph pixel more than a faint edge falls outside the text's cell. The glyphs'
    // outlines settle most texts at once; a glyph within a pixel of the edge is rendered to look.
    bool Overhangs(const Layout& l, const QColor& color, int scale) const {
        const QRectF ink = InkOf(l);
        if (ink.isEmpty()) return false;
        if (QRectF(1, 1, l.width - 2, height - 2).contains(ink)) return false;

        // Room for the glyphs as their outlines place them, and a pixel more.
        const QRectF cell(0, 0, l.width, height);
        const double reach = std::max({0.0, cell.left() - ink.left(), ink.right() - cell.right(),
                                       cell.top() - ink.top(), ink.bottom() - cell.bottom()});
        const int margin = static_cast<int>(std::ceil(reach)) + 2;
        QImage probe((l.width + 2 * margin) * scale, (height + 2 * margin) * scale,
                     QImage::Format_ARGB32_Premultiplied);
        probe.setDevicePixelRatio(scale);
        probe.fill(Qt::transparent);
        {
            QPainter p(&probe);
            p.setPen(color);
            DrawGlyphs(p, l, QPointF(margin, margin + ascent));
        }
        const int probeWidth = probe.width();
        const int probeHeight = probe.height();
        const int left = margin * scale;
        const int right = left + l.width * scale;  // exclusive
        const int top = margin * scale;
        const int bottom = top + height * scale;  // exclusive
        for (int y = 0; y < probeHeight; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
            const bool rowInside = y >= top && y < bottom;
            for (int x = 0; x < probeWidth; ++x) {
                // Inside the cell only the pixels beside it count.
                if (rowInside && x == left) x = right;
                if (x < probeWidth && qAlpha(row[x]) > kFaintInk) return true;
            }
        }
        return false;
    }

    qsizetype ClearCells() {
        qsizetype freed = 0;
        for (Layout& l : layouts) {
            for (const Cell& c : l.cells) freed += c.image.sizeInBytes();
            l.cells.clear();
        }
        return freed;
    }

    void ClearLayouts();

    static constexpr qsizetype kMaxLayouts = 4096;
    QFont font;
    QFontMetrics metrics;
    int ascent = 0;
    int height = 0;
    double reachLeft = 0;
    double reachRight = 0;
    double reachUp = 0;
    double reachDown = 0;
    QHash<QString, Layout> layouts;
};

namespace {

// The faces of this thread (fonts belong to the thread that made them), by name, size and
// weight, and the bytes their cells hold. Faces live as long as the thread; their number is
// bounded by the sizes in use.
struct FaceRegistry {
    QHash<QString, std::shared_ptr<Canvas::Face>> faces;
    struct Recent {
        QString name;
        int points = 0;
        bool bold = false;
        int stretch = 0;
        Canvas::Face* face = nullptr;  // faces live as long as the thread
    };
    std::array<Recent, 4> recent;
    qsizetype cellBytes = 0;
    std::uint64_t aheadRound = 1;

    static FaceRegistry& OfThread() {
        thread_local FaceRegistry registry;
        return registry;
    }
    Canvas::Face& Find(const QString& name, int points, bool bold, int stretch) {
        // The faces found last: a picture goes back and forth between a few.
        for (const Recent& r : recent) {
            if (r.face != nullptr && r.points == points && r.bold == bold &&
                r.stretch == stretch && r.name == name) {
                return *r.face;
            }
        }
        Canvas::Face& face = FindByKey(name, points, bold, stretch);
        std::move_backward(recent.begin(), recent.end() - 1, recent.end());
        recent.front() = Recent{name, points, bold, stretch, &face};
        return face;
    }
    Canvas::Face& FindByKey(const QString& name, int points, bool bold, int stretch) {
        QString key = name;
        key += QChar(0x1f);
        key += QString::number(points);
        key += bold ? QLatin1Char('b') : QLatin1Char('n');
        key += QString::number(stretch);
        auto it = faces.find(key);
        if (it == faces.end()) {
            it = faces.insert(key, std::make_shared<Canvas::Face>(name, points, bold, stretch));
        }
        return **it;
    }
    // Over the budget, every face lets its cells go; they are made again as texts recur.
    void KeepCellsInBudget() {
        if (cellBytes <= kCellBudget) return;
        for (const auto& face : faces) face->ClearCells();
        cellBytes = 0;
    }
};

}  // namespace

void Canvas::Face::ClearLayouts() {
    FaceRegistry::OfThread().cellBytes -= ClearCells();
    layouts.clear();
}

void Canvas::ForgetKeptTexts() {
    FaceRegistry& registry = FaceRegistry::OfThread();
    for (const auto& face : registry.faces) face->ClearLayouts();
    registry.cellBytes = 0;
}

// One drawing operation as the frame keeps it: what draws it again, where it may change pixels,
// and what tells whether another operation draws the same.
struct Canvas::Op {
    enum Kind : std::uint8_t {
        kFill,
        kRectangle,
        kEllipse,
        kPolygon,
        kPolyline,
        kLine,
        kPicture,
        kCell,    // a kept cell copied at a whole-number scale
        kGlyphs,  // the brush, then the shaped glyphs
        kText,    // the brush, then the painter's own text drawing
    };
    Kind kind = kFill;
    // What the comparison goes by: the kind, except that at a scale that is not a whole number
    // the glyphs and the painter's text drawing are one (the same pixels there, as no cell
    // leaves out a faint edge).
    Kind alike = kFill;
    bool covers = false;  // every pixel of the bitmap, opaque
    QRect bounds;         // the device pixels it may change
    QRect rect;           // in drawing units
    std::vector<QPoint> points;
    QColor pen;  // a text's colour
    QColor brush;
    int penWidth = 0;
    const Face* face = nullptr;  // a text's face (faces live as long as the thread)
    QString text;
    int ascent = 0;
    std::shared_ptr<const std::vector<QGlyphRun>> runs;
    QImage image;
    std::size_t hash = 0;

    void Hash() {
        hash = qHashMulti(0, int(alike), rect.x(), rect.y(), rect.width(), rect.height(),
                          pen.rgba(), brush.rgba(), penWidth, quintptr(face), text);
        for (const QPoint& p : points) hash = qHashMulti(hash, p.x(), p.y());
        if (kind == kPicture) hash = qHashMulti(hash, image.cacheKey());
    }
    // Draws the same pixels as the other (cells and glyphs follow from the face and the text).
    bool operator==(const Op& o) const {
        return hash == o.hash && alike == o.alike && rect == o.rect && pen == o.pen &&
               brush == o.brush && penWidth == o.penWidth && face == o.face && text == o.text &&
               points == o.points && (kind != kPicture || image.cacheKey() == o.image.cacheKey());
    }
};

// A pass drawn ahead on a copy of a canvas (Canvas::AheadCopy, KeepAhead).
struct Canvas::Ahead {
    std::uint64_t base = 0;  // the canvas's generation when the copy was made
    std::vector<Op> ops;     // the copy's pass
    int passes = 0;
    bool whole = false;  // the pass starts with an opaque fill of the whole bitmap
    QImage image;    // the copy's bitmap after its pass
    QRegion damage;  // what the pass changed
    // The round of drawing ahead it was drawn in (BeginAheadRound).
    std::uint64_t round = 0;
    // The copy's drawing state before its pass; its frame and drawing state after it, for
    // TakeAhead.
    DrawState start;
    std::vector<Op> frame;
    bool frameKnown = false;
    DrawState end;
};

Canvas::DrawState Canvas::CurrentDrawState() const {
    return {fontName_,    fontSize_, fontColor_, bold_,
            fontStretch_, penColor_, penWidth_,  brushColor_};
}

void Canvas::SetDrawState(const DrawState& state) {
    fontName_ = state.fontName;
    fontSize_ = state.fontSize;
    fontColor_ = state.fontColor;
    bold_ = state.bold;
    fontStretch_ = state.fontStretch;
    penColor_ = state.penColor;
    penWidth_ = state.penWidth;
    brushColor_ = state.brushColor;
    face_ = nullptr;
}

namespace {

QRect Exclusive(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

QPen MakePen(const QColor& c, int width) {
    QPen pen(c);
    pen.setWidth(width > 0 ? width : 1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QRectF BoundsOf(const std::vector<QPoint>& points) {
    if (points.empty()) return {};
    int left = points.front().x();
    int right = left;
    int top = points.front().y();
    int bottom = top;
    for (const QPoint& p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// Draws an operation with the painter's state as each operation sets it.
void Draw(QPainter& p, const Canvas::Op& op) {
    using Op = Canvas::Op;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    switch (op.kind) {
        case Op::kFill:
            p.fillRect(op.rect, op.brush);
            break;
        case Op::kRectangle: {
            const QRect& r = op.rect;
            p.fillRect(r, op.brush);
            const int pw = op.penWidth > 0 ? op.penWidth : 1;
            if (r.width() > 0 && r.height() > 0) {
                // The outline lies inside the rectangle, as the Windows drawing API draws it.
                p.setPen(Qt::NoPen);
                p.setBrush(op.pen);
                p.drawRect(QRect(r.left(), r.top(), r.width(), std::min(pw, r.height())));
                p.drawRect(QRect(r.left(), r.bottom() - std::min(pw, r.height()) + 1, r.width(),
                                 std::min(pw, r.height())));
                p.drawRect(QRect(r.left(), r.top(), std::min(pw, r.width()), r.height()));
                p.drawRect(QRect(r.right() - std::min(pw, r.width()) + 1, r.top(),
                                 std::min(pw, r.width()), r.height()));
            }
            break;
        }
        case Op::kEllipse: {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(MakePen(op.pen, op.penWidth));
            p.setBrush(op.brush);
            const double half = (op.penWidth > 0 ? op.penWidth : 1) / 2.0;
            p.drawEllipse(QRectF(op.rect).adjusted(half, half, -half, -half));
            break;
        }
        case Op::kPolygon:
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(MakePen(op.pen, op.penWidth));
            p.setBrush(op.brush);
            p.drawPolygon(QPolygon(QList<QPoint>(op.points.begin(), op.points.end())));
            break;
        case Op::kPolyline:
            p.setRenderHint(QPainter::Antialiasing, op.penWidth > 1);
            p.setPen(MakePen(op.pen, op.penWidth));
            p.drawPolyline(QPolygon(QList<QPoint>(op.points.begin(), op.points.end())));
            break;
        case Op::kLine: {
            const int x1 = op.points[0].x();
            const int y1 = op.points[0].y();
            const int x2 = op.points[1].x();
            const int y2 = op.points[1].y();
            const int pw = op.penWidth > 0 ? op.penWidth : 1;
            if (pw == 1 && (x1 == x2 || y1 == y2)) {
                // Axis-parallel one-pixel line: end pixel excluded.
                if (x1 == x2 && y1 == y2) {
                    // nothing: a line to its own start draws no pixel
                } else if (y1 == y2) {
                    p.fillRect(
                        QRect(std::min(x1, x2 + (x2 > x1 ? 0 : 1)), y1, std::abs(x2 - x1), 1),
                        op.pen);
                } else {
                    p.fillRect(
                        QRect(x1, std::min(y1, y2 + (y2 > y1 ? 0 : 1)), 1, std::abs(y2 - y1)),
                        op.pen);
                }
            } else {
                p.setRenderHint(QPainter::Antialiasing, true);
                p.setPen(MakePen(op.pen, pw));
                p.drawLine(QPoint(x1, y1), QPoint(x2, y2));
            }
            break;
        }
        case Op::kPicture:
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.drawImage(op.rect, op.image);
            break;
        case Op::kCell:
            p.drawImage(op.rect.topLeft(), op.image);
            break;
        case Op::kGlyphs: {
            p.fillRect(op.rect, op.brush);
            p.setPen(op.pen);
            DrawRuns(p, op.runs.get(), QPointF(op.rect.x(), op.rect.y() + op.ascent));
            break;
        }
        case Op::kText:
            p.fillRect(op.rect, op.brush);
            p.setPen(op.pen);
            p.setFont(op.face->font);
            p.drawText(QPoint(op.rect.x(), op.rect.y() + op.ascent), op.text);
            break;
    }
}

// Limits the painter to device pixels `r` of a bitmap drawn at `scale`.
void ClipToDevice(QPainter& p, const QRect& r, double scale) {
    if (scale == 1.0) {
        p.setClipRect(r);
        return;
    }
    p.setClipRect(QRectF(QPointF(r.left() / scale, r.top() / scale),
                         QPointF((r.right() + 1) / scale, (r.bottom() + 1) / scale)));
}

// The operations of a kept frame beyond this many are not kept: the next frame draws whole.
constexpr std::size_t kMaxFrameOps = 50000;
// A canvas not on show draws its waiting passes once they hold this many operations.
constexpr std::size_t kMaxDeferredOps = 4096;
// Frames whose differing middle parts would take a comparison table larger than this are drawn
// whole where they differ.
constexpr std::size_t kMaxCompared = std::size_t{1} << 20;
// The tiles in which a picture drawn ahead is compared with the one shown.
const QSize kChangedTile(64, 16);
// Unchanged tiles between changed ones in a band are repainted too, up to this many pixels in a
// row: a rectangle costs the window system about as much as that many pixels.
constexpr int kBridgedGap = 8192;
// More changed rectangles than this are drawn as the one rectangle around them.
constexpr std::size_t kMaxRects = 256;

// Rectangles closer than this many pixels are drawn and repainted as the one around them: a row
// of changed numbers goes to the window system as one rectangle, not one per number (each costs
// the painting of the widgets under it and a request of its own).
// The clip a pixel beyond a changed rectangle, whatever the rounding of a fractional scale.
QRect ClipOfChange(const QRect& changed, const QRect& all) {
    return changed.adjusted(-1, -1, 1, 1) & all;
}
// The pixels a changed rectangle's repaint may touch: every operation reaching a pixel beyond
// its clip is drawn in it.
QRect ReachOfChange(const QRect& changed, const QRect& all) {
    return changed.adjusted(-2, -2, 2, 2) & all;
}

constexpr int kMergeGap = 24;

// Rectangles that overlap or lie within kMergeGap of each other merged into the rectangle around
// them, until none do.
std::vector<QRect> Merged(std::vector<QRect> rects) {
    if (rects.size() > kMaxRects) {
        QRect all;
        for (const QRect& r : rects) all |= r;
        return {all};
    }
    std::vector<QRect> out;
    for (QRect r : rects) {
        if (r.isEmpty()) continue;
        for (bool grown = true; grown;) {
            grown = false;
            for (std::size_t i = 0; i < out.size(); ++i) {
                if (out[i].adjusted(-kMergeGap, -kMergeGap, kMergeGap, kMergeGap).intersects(r)) {
                    r |= out[i];
                    out[i] = out.back();
                    out.pop_back();
                    grown = true;
                    break;
                }
            }
        }
        out.push_back(r);
    }
    return out;
}

}  // namespace

std::vector<QRect> Canvas::ChangedRects(const std::vector<Op>& was, const std::vector<Op>& now) {
    std::size_t head = 0;
    while (head < was.size() && head < now.size() && was[head] == now[head]) ++head;
    std::size_t wasEnd = was.size();
    std::size_t nowEnd = now.size();
    while (wasEnd > head && nowEnd > head && was[wasEnd - 1] == now[nowEnd - 1]) {
        --wasEnd;
        --nowEnd;
    }
    std::vector<QRect> rects;
    const std::size_t n = wasEnd - head;
    const std::size_t m = nowEnd - head;
    if (n == 0 || m == 0 || n * m > kMaxCompared) {
        for (std::size_t i = head; i < wasEnd; ++i) rects.push_back(was[i].bounds);
        for (std::size_t j = head; j < nowEnd; ++j) rects.push_back(now[j].bounds);
        return rects;
    }
    // The longest common subsequence of the middle parts: what lies in it is drawn alike, in the
    // same order, in both frames; everything else is a change.
    std::vector<std::uint16_t> longest((n + 1) * (m + 1), 0);
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint16_t& {
        return longest[i * (m + 1) + j];
    };
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            at(i, j) = was[head + i] == now[head + j]
                           ? static_cast<std::uint16_t>(at(i + 1, j + 1) + 1)
                           : std::max(at(i + 1, j), at(i, j + 1));
        }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n && j < m) {
        if (was[head + i] == now[head + j]) {
            ++i;
            ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            rects.push_back(was[head + i++].bounds);
        } else {
            rects.push_back(now[head + j++].bounds);
        }
    }
    for (; i < n; ++i) rects.push_back(was[head + i].bounds);
    for (; j < m; ++j) rects.push_back(now[head + j].bounds);
    return rects;
}

Canvas::Canvas(int width, int height, QString name)
    : name_(std::move(name)), fontName_(QStringLiteral("Microsoft Sans Serif")) {
    Resize(width, height);
}

Canvas::Canvas(Canvas&& other) noexcept { *this = std::move(other); }

Canvas& Canvas::operator=(Canvas&& other) noexcept {
    if (this == &other) return *this;
    EndPass();
    other.EndPass();
    // Passes still waiting: this canvas's are replaced, the other's are drawn into its bitmap.
    pending_.clear();
    other.Commit();
    deferred_ = other.deferred_;
    name_ = std::move(other.name_);
    image_ = std::move(other.image_);
    scale_ = other.scale_;
    bitmapPending_ = other.bitmapPending_;
    width_ = other.width_;
    height_ = other.height_;
    SetDrawState(other.CurrentDrawState());
    recording_ = other.recording_;
    records_ = std::move(other.records_);
    frame_ = std::move(other.frame_);
    frameKnown_ = other.frameKnown_;
    damage_ = QRegion(PixelRect());
    generation_ = other.generation_ + 1;
    aheadCopy_ = other.aheadCopy_;
    ahead_ = std::move(other.ahead_);
    kept_ = std::move(other.kept_);
    tookAhead_ = false;
    tookFrom_ = {};
    return *this;
}

Canvas::~Canvas() = default;

void Canvas::BeginPass() {
    inPass_ = true;
    tookAhead_ = false;
    tookFrom_ = {};
}

void Canvas::EndPass() {
    if (!inPass_) return;
    inPass_ = false;
    if (deferred_ && pending_.size() < kMaxDeferredOps) return;
    Commit();
}

QImage& Canvas::Image() {
    EnsureBitmap();
    Commit();
    // What is written into the bitmap is not in the frame.
    ++generation_;
    frameKnown_ = false;
    frame_.clear();
    return image_;
}

const QImage& Canvas::Image() const {
    EnsureBitmap();
    Commit();
    return image_;
}

QRegion Canvas::TakeDamage() {
    if (!inPass_) Commit();
    QRegion damage = BridgedGaps(damage_ & PixelRect(), kBridgedGap);
    damage_ = QRegion();
    return damage;
}

QRect Canvas::DeviceBounds(const QRectF& units, double margin) const {
    const double scale = scale_;
    const QRectF r = units.normalized().adjusted(-margin, -margin, margin, margin);
    const int left = static_cast<int>(std::floor(r.left() * scale)) - 1;
    const int top = static_cast<int>(std::floor(r.top() * scale)) - 1;
    const int right = static_cast<int>(std::ceil(r.right() * scale)) + 1;  // exclusive
    const int bottom = static_cast<int>(std::ceil(r.bottom() * scale)) + 1;
    return QRect(left, top, right - left, bottom - top) & PixelRect();
}

void Canvas::Add(Op&& op) {
    if (warmingOnly_) return;
    if (op.kind != Op::kText && op.kind != Op::kGlyphs) op.alike = op.kind;
    op.Hash();
    if (inPass_) {
        // What an opaque fill of the whole bitmap covers is never seen.
        if (op.covers) pending_.clear();
        pending_.push_back(std::move(op));
        return;
    }
    EnsureBitmap();
    Commit();  // passes that waited come first
    {
        QPainter p(&image_);
        Draw(p, op);
    }
    ++generation_;
    damage_ += op.bounds;
    if (op.covers) {
        frame_.clear();
        frameKnown_ = true;
    }
    if (!frameKnown_) return;
    frame_.push_back(std::move(op));
    if (frame_.size() > kMaxFrameOps) {
        frame_.clear();
        frameKnown_ = false;
    }
}

void Canvas::Commit() const {
    if (pending_.empty()) return;
    EnsureBitmap();
    std::vector<Op> ops;
    ops.swap(pending_);
    // The next pass records about as many.
    pending_.reserve(ops.size());
    tookAhead_ = false;
    tookFrom_ = {};
    bool damaged = false;  // what a picture taken changes is known
    if (aheadCopy_) {
        // A copy keeps its pass and what it alone changes.
        damage_ = QRegion();
        ahead_->ops = ops;
        ahead_->whole = ops.front().covers;
        ++ahead_->passes;
    } else {
        for (int slot = 0; slot < kAheadSlots; ++slot) {
            std::unique_ptr<Ahead>& kept = kept_[slot];
            if (kept == nullptr) continue;
            const bool unchanged = kept->base == generation_;
            if (!tookAhead_ && (unchanged || kept->whole) && kept->ops == ops) {
                tookFrom_ = {slot, kept->round};
                // The bitmap let go of is the next copy's, if nothing else holds it.
                spare_ = std::exchange(image_, std::move(kept->image));
                // Over other pixels than the copy's, the pass changes what it would draw.
                if (unchanged) damage_ += kept->damage;
                damaged = unchanged;
                tookAhead_ = true;
                spent_.push_back(std::move(kept));
            } else if (!kept->whole) {
                spent_.push_back(std::move(kept));  // drawn over pixels this pass changes
            }
        }
    }
    ++generation_;
    const bool whole = ops.front().covers;
    if (!whole || !frameKnown_) {
        // Drawn over the bitmap as it is, all of it, as the operations come.
        if (!tookAhead_) {
            QPainter p(&image_);
            for (const Op& op : ops) {
                Draw(p, op);
                damage_ += op.bounds;
            }
        } else if (!damaged) {
            for (const Op& op : ops) damage_ += op.bounds;
        }
        if (aheadCopy_) ahead_->damage = damage_;
        if (whole) {
            frame_.clear();
            frameKnown_ = true;
        }
        if (!frameKnown_) return;
        if (frame_.size() + ops.size() > kMaxFrameOps) {
            frame_.clear();
            frameKnown_ = false;
            return;
        }
        frame_.insert(frame_.end(), std::make_move_iterator(ops.begin()),
                      std::make_move_iterator(ops.end()));
        return;
    }
    const double scale = scale_;
    const QRect all = PixelRect();
    const std::vector<QRect> changed =
        damaged ? std::vector<QRect>{} : Merged(ChangedRects(frame_, ops));
    if (!changed.empty()) {
        std::optional<QPainter> p;
        if (!tookAhead_) p.emplace(&image_);
        for (const QRect& r : changed) {
            const QRect clip = ClipOfChange(r, all);
            const QRect reach = ReachOfChange(r, all);
            if (clip.isEmpty()) continue;
            damage_ += reach;
            if (!p) continue;
            ClipToDevice(*p, clip, scale);
            for (const Op& op : ops) {
                if (op.bounds.intersects(reach)) Draw(*p, op);
            }
        }
    }
    if (aheadCopy_) ahead_->damage = damage_;
    spentFrame_ = std::exchange(frame_, std::move(ops));
    if (frame_.size() > kMaxFrameOps) {
        frame_.clear();
        frameKnown_ = false;
    }
}

void Canvas::BeginAheadRound() { ++FaceRegistry::OfThread().aheadRound; }

Canvas Canvas::AheadCopy() const {
    EnsureBitmap();
    Commit();
    spentFrame_.clear();
    spent_.clear();
    Canvas copy(width_, height_, name_);
    copy.scale_ = scale_;
    if (spare_.size() == image_.size() && spare_.format() == image_.format() &&
        spare_.bytesPerLine() == image_.bytesPerLine() && spare_.isDetached()) {
        // Copied into memory already in use: a new bitmap would be paged in afresh.
        std::memcpy(spare_.bits(), image_.constBits(),
                    static_cast<std::size_t>(image_.sizeInBytes()));
        spare_.setDevicePixelRatio(image_.devicePixelRatio());
        copy.image_ = std::move(spare_);
    } else {
        copy.image_ = image_;
    }
    spare_ = QImage();
    copy.bitmapPending_ = false;
    copy.SetDrawState(CurrentDrawState());
    copy.frame_ = frame_;
    copy.frameKnown_ = frameKnown_;
    copy.damage_ = QRegion();
    copy.aheadCopy_ = true;
    copy.ahead_ = std::make_unique<Ahead>();
    copy.ahead_->base = generation_;
    copy.ahead_->round = FaceRegistry::OfThread().aheadRound;
    copy.ahead_->start = CurrentDrawState();
    return copy;
}

void Canvas::KeepAhead(Canvas&& ahead, int slot) {
    ahead.EndPass();
    Commit();  // a pass that waited makes the copy's base an old one
    if (slot < 0 || slot >= kAheadSlots) return;
    kept_[slot].reset();
    if (!ahead.aheadCopy_ || ahead.ahead_ == nullptr || ahead.ahead_->passes != 1 ||
        ahead.ahead_->base != generation_ || ahead.PixelRect() != PixelRect()) {
        return;
    }
    // A copy that drew nothing still shares this canvas's bitmap: kept, it would make the next
    // drawing here copy the whole bitmap first. Its picture is the one shown, drawn again cheaply.
    if (!ahead.image_.isDetached()) return;
    // What the pass changes, to the tile: the parts of its drawings that come out as they were
    // (most of a number's box when the next number is drawn in it) need no repaint.
    QRegion changed;
    for (const QRect& r : ahead.ahead_->damage) {
        changed += ChangedTiles(ahead.image_, image_, r, kChangedTile);
    }
    Ahead& kept = *ahead.ahead_;
    kept.damage = changed;
    kept.image = std::move(ahead.image_);
    kept.frame = std::move(ahead.frame_);
    kept.frameKnown = ahead.frameKnown_;
    kept.end = ahead.CurrentDrawState();
    kept_[slot] = std::move(ahead.ahead_);
}

void Canvas::RebaseAhead(int slot) {
    if (slot < 0 || slot >= kAheadSlots || kept_[slot] == nullptr || inPass_) return;
    Commit();
    Ahead& kept = *kept_[slot];
    if (kept.base == generation_ || !kept.whole || !frameKnown_) return;
    // As the pass that takes it would damage the bitmap (Commit).
    const QRect all = PixelRect();
    QRegion damage;
    for (const QRect& r : Merged(ChangedRects(frame_, kept.ops))) {
        if (!ClipOfChange(r, all).isEmpty()) damage += ReachOfChange(r, all);
    }
    kept.damage = damage;
    kept.base = generation_;
}

bool Canvas::TakeAhead(int slot) { return TakeKept(slot, nullptr); }

bool Canvas::TakeAheadAlike(const Canvas& other) {
    const TakenFrom from = other.tookFrom_;
    return other.tookAhead_ && from.slot >= 0 && TakeKept(from.slot, &from.round);
}

bool Canvas::TakeKept(int slot, const std::uint64_t* round) {
    if (slot < 0 || slot >= kAheadSlots || kept_[slot] == nullptr || recording_ || inPass_) {
        return false;
    }
    Commit();
    std::unique_ptr<Ahead>& kept = kept_[slot];
    if (kept == nullptr || kept->base != generation_) return false;
    if (round != nullptr && (kept->round != *round || kept->start != CurrentDrawState())) {
        return false;
    }
    spare_ = std::exchange(image_, std::move(kept->image));
    spentFrame_ = std::exchange(frame_, std::move(kept->frame));
    frameKnown_ = kept->frameKnown;
    damage_ += kept->damage;
    SetDrawState(kept->end);
    ++generation_;
    tookAhead_ = true;
    tookFrom_ = {slot, kept->round};
    spent_.push_back(std::move(kept));
    return true;
}

const QImage* Canvas::AheadPicture(int slot, QRegion* changed) const {
    if (slot < 0 || slot >= kAheadSlots || kept_[slot] == nullptr) return nullptr;
    const Ahead& kept = *kept_[slot];
    if (kept.base != generation_ || !pending_.empty()) return nullptr;
    if (changed != nullptr) *changed = BridgedGaps(kept.damage & PixelRect(), kBridgedGap);
    return &kept.image;
}

QImage Canvas::FullRepaint() const {
    EnsureBitmap();
    Commit();
    QImage out(image_.size(), image_.format());
    out.setDevicePixelRatio(image_.devicePixelRatio());
    out.fill(Qt::black);
    QPainter p(&out);
    for (const Op& op : frame_) Draw(p, op);
    return out;
}

int Canvas::PointsToPixels(int points) {
    // MulDiv rounds half away from zero.
    const long long n = static_cast<long long>(points) * 96;
    const long long q = (std::llabs(n) + 36) / 72;
    return static_cast<int>(n < 0 ? -q : q);
}

void Canvas::Resize(int width, int height, double deviceScale) {
    EndPass();
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    scale_ = deviceScale > 0 ? deviceScale : 1.0;
    // The bitmap is made when it is first used: a control resized several times while the
    // windows are put together makes one.
    image_ = QImage();
    spare_ = QImage();
    bitmapPending_ = true;
    ++generation_;
    for (std::unique_ptr<Ahead>& kept : kept_) kept.reset();
    // The black bitmap is the frame of one black fill.
    Op black;
    black.kind = Op::kFill;
    black.covers = true;
    black.rect = QRect(0, 0, width_, height_);
    black.brush = QColor(Qt::black);
    black.bounds = PixelRect();
    black.Hash();
    frame_.clear();
    frame_.push_back(std::move(black));
    frameKnown_ = true;
    pending_.clear();
    damage_ = QRegion(PixelRect());
}

QRect Canvas::PixelRect() const {
    return QRect(0, 0, qRound(width_ * scale_), qRound(height_ * scale_));
}

void Canvas::EnsureBitmap() const {
    if (!bitmapPending_) return;
    bitmapPending_ = false;
    image_ = QImage(PixelRect().size(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(scale_);
    image_.fill(Qt::black);
}
void Canvas::SetFontName(const QString& name) {
    if (name != fontName_) face_ = nullptr;
    fontName_ = name;
}

void Canvas::SetFontSize(int points) {
    if (points != fontSize_) face_ = nullptr;
    fontSize_ = points;
}

void Canvas::SetFontColor(const QColor& c) { fontColor_ = c; }

void Canvas::SetBold(bool bold) {
    if (bold != bold_) face_ = nullptr;
    bold_ = bold;
}

void Canvas::SetFontStretch(int percent) {
    const int stretch = std::clamp(percent, 1, 400);
    if (stretch != fontStretch_) face_ = nullptr;
    fontStretch_ = stretch;
}

void Canvas::SetPenColor(const QColor& c) { penColor_ = c; }
void Canvas::SetPenWidth(int width) { penWidth_ = width; }
void Canvas::SetBrushColor(const QColor& c) { brushColor_ = c; }

Canvas::Face& Canvas::CurrentFace() {
    if (face_ == nullptr) {
        face_ = &FaceRegistry::OfThread().Find(fontName_, fontSize_, bold_, fontStretch_);
    }
    return *face_;
}

int Canvas::TextWidth(const QString& text) {
    if (text.isEmpty()) return 0;
    return CurrentFace().LayoutOf(text).width;
}

int Canvas::TextHeight(const QString&) { return CurrentFace().height; }

int Canvas::TextAscent() { return CurrentFace().ascent; }

void Canvas::TextOut(int x, int y, const QString& text) {
    Face& face = CurrentFace();
    if (warmingOnly_) {
        if (text.isEmpty()) return;
        Face::Layout& layout = face.LayoutOf(text);
        if (layout.drawn) return;
        EnsureBitmap();
        QPainter p(&image_);
        p.setPen(fontColor_);
        const double scale = scale_;
        if (scale != static_cast<int>(scale)) {
            // At such a scale a text's first drawing and its glyphs give the same pixels: it is
            // shaped now and drawn from its glyphs when it comes.
            layout.drawn = true;
            face.Shape(text, layout);
            if (!layout.plain) {
                face.DrawGlyphs(p, layout, QPointF(x, y + face.ascent));
                return;
            }
        }
        p.setFont(face.font);
        p.drawText(QPoint(x, y + face.ascent), text);
        return;
    }
    int w = 0;
    const int h = face.height;
    if (!text.isEmpty()) {
        FaceRegistry::OfThread().KeepCellsInBudget();
        Face::Layout& layout = face.LayoutOf(text);
        w = layout.width;
        // A copy drawing ahead leaves the text as it found it: the pass that draws the
        // picture records it as a first drawing or not, as it would have without the copies.
        // Among the copies of one round it counts as drawn, as among the passes of a picture.
        bool again = false;
        if (aheadCopy_) {
            const std::uint64_t round = FaceRegistry::OfThread().aheadRound;
            again = layout.drawn || std::exchange(layout.drawnAhead, round) == round;
        } else {
            again = std::exchange(layout.drawn, true);
        }
        if (again && !layout.shaped) face.Shape(text, layout);
        Op op;
        op.face = &face;
        op.text = text;
        op.pen = fontColor_;
        op.brush = brushColor_;
        op.rect = QRect(x, y, w, h);
        // A whole-number device scale maps the cell onto whole pixels wherever it lands, so a
        // copy of the rendered cell is the drawing itself.
        const double scale = scale_;
        const int wholeScale = static_cast<int>(scale);
        const bool keepable =
            again && !layout.plain && w > 0 && h > 0 && brushColor_.alpha() == 255;
        bool decided = false;
        // At other scales a text is drawn from its glyphs where it is drawn at all: only the
        // parts of a picture that changed are.
        if (keepable && wholeScale == scale) {
            FaceRegistry& registry = FaceRegistry::OfThread();
            const QImage* cell =
                face.CellOf(layout, fontColor_, brushColor_, wholeScale, registry.cellBytes);
            if (cell != nullptr) {
                op.kind = Op::kCell;
                op.image = *cell;
                op.bounds = DeviceBounds(op.rect);
                decided = true;
            }
        }
        if (!decided) {
            op.ascent = face.ascent;
            if (again && !layout.plain) {
                op.kind = Op::kGlyphs;
                op.runs = layout.runs;
            } else {
                op.kind = Op::kText;
            }
            op.bounds = DeviceBounds(face.ReachOf(layout).translated(x, y), 1);
        }
        op.alike = op.kind == Op::kText && wholeScale != scale ? Op::kGlyphs : op.kind;
        Add(std::move(op));
    }
    if (recording_) {
        DrawRecord r;
        r.canvas = name_;
        r.op = QStringLiteral("text");
        r.x = x;
        r.y = y;
        r.text = text;
        r.font = fontName_;
        r.size = fontSize_;
        r.bold = bold_;
        r.stretch = fontStretch_;
        r.color = fontColor_;
        r.brush = brushColor_;
        r.w = w;
        r.h = h;
        records_.push_back(std::move(r));
    }
}

void Canvas::RecordShape(const char* op, std::vector<QPoint> points) {
    if (!recording_) return;
    DrawRecord r;
    r.canvas = name_;
    r.op = QString::fromLatin1(op);
    r.points = std::move(points);
    r.pen = penColor_;
    r.penWidth = penWidth_;
    r.brush = brushColor_;
    records_.push_back(std::move(r));
}

namespace {

// Whether an opaque fill of this rectangle leaves nothing of what was drawn before.
bool CoversAll(const QRect& r, const QColor& brush, int width, int height) {
    return brush.alpha() == 255 && r.contains(QRect(0, 0, width, height));
}

}  // namespace

void Canvas::FillRect(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::kFill;
    op.rect = Exclusive(x1, y1, x2, y2);
    op.brush = brushColor_;
    op.covers = CoversAll(op.rect, brushColor_, width_, height_);
    op.bounds = DeviceBounds(op.rect);
    Add(std::move(op));
    RecordShape("fillrect", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::kRectangle;
    op.rect = Exclusive(x1, y1, x2, y2);
    op.pen = penColor_;
    op.brush = brushColor_;
    op.penWidth = penWidth_;
    op.covers = CoversAll(op.rect, brushColor_, width_, height_);
    op.bounds = DeviceBounds(op.rect);
    Add(std::move(op));
    RecordShape("rectangle", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::kEllipse;
    op.rect = Exclusive(x1, y1, x2, y2);
    op.pen = penColor_;
    op.brush = brushColor_;
    op.penWidth = penWidth_;
    op.bounds = DeviceBounds(op.rect, std::max(penWidth_, 1) + 1);
    Add(std::move(op));
    RecordShape("ellipse", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Polygon(const std::vector<QPoint>& points) {
    Op op;
    op.kind = Op::kPolygon;
    op.points = points;
    op.pen = penColor_;
    op.brush = brushColor_;
    op.penWidth = penWidth_;
    // Mitred corners reach out up to the pen's width.
    op.bounds = DeviceBounds(BoundsOf(points), 2 * std::max(penWidth_, 1) + 2);
    Add(std::move(op));
    RecordShape("polygon", points);
}

void Canvas::Polyline(const std::vector<QPoint>& points) {
    Op op;
    op.kind = Op::kPolyline;
    op.points = points;
    op.pen = penColor_;
    op.penWidth = penWidth_;
    op.bounds = DeviceBounds(BoundsOf(points), 2 * std::max(penWidth_, 1) + 2);
    Add(std::move(op));
    RecordShape("polyline", points);
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::kLine;
    op.points = {QPoint(x1, y1), QPoint(x2, y2)};
    op.pen = penColor_;
    op.penWidth = penWidth_;
    op.bounds = DeviceBounds(BoundsOf(op.points), 2 * std::max(penWidth_, 1) + 2);
    Add(std::move(op));
    RecordShape("line", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::StretchDraw(int x1, int y1, int x2, int y2, const QImage& picture) {
    Op op;
    op.kind = Op::kPicture;
    op.rect = Exclusive(x1, y1, x2, y2);
    op.image = picture;
    op.bounds = DeviceBounds(op.rect, 1);
    Add(std::move(op));
    RecordShape("bitmap", {QPoint(x1, y1), QPoint(x2, y2)});
}

std::vector<DrawRecord> Canvas::TakeRecords() {
    std::vector<DrawRecord> out;
    out.swap(records_);
    return out;
}
