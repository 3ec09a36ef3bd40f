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
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

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

// Rendered cells of this thread, all faces together, are kept up to this many bytes.
constexpr qsizetype kCellBudget = 16 * 1024 * 1024;

// Copies a picture's pixels into a bitmap of the same format, pixel for pixel; the painter of an
// open pass draws into the same memory, so it needs no flush before or after.
void CopyPixels(const QImage& from, QImage& into, QPoint at) {
    const qsizetype bytes = static_cast<qsizetype>(from.width()) * 4;
    for (int y = 0; y < from.height(); ++y) {
        std::memcpy(into.scanLine(at.y() + y) + static_cast<qsizetype>(at.x()) * 4,
                    from.constScanLine(y), bytes);
    }
}

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
    // The same at a device scale that is not a whole number, where a cell's edges and glyphs
    // fall on the pixels by where the text starts within its first device pixel (the phase):
    // one cell per phase, its device pixels exactly, copied pixel for pixel to `offset` from the
    // device pixel the text starts in. Null when a glyph leaves any ink outside the filled
    // pixels.
    struct PhasedCell {
        QRgb color;
        QRgb brush;
        double scale;
        double phaseX;
        double phaseY;
        QPoint offset;
        QImage image;
    };
    struct Layout {
        int width = 0;
        // A text drawn once is drawn as the painter draws text; one drawn again is worth its
        // glyphs and cells.
        bool drawn = false;
        bool shaped = false;
        // Texts with control characters are drawn by the painter's own text drawing, which
        // treats them as it always has; all others from their glyph runs.
        bool plain = false;
        std::vector<QGlyphRun> runs;  // positions relative to the start of the baseline
        std::vector<Cell> cells;
        std::vector<PhasedCell> phasedCells;
        std::vector<std::pair<double, double>> phasesSeen;
    };

    Face(const QString& name, int points, bool bold, int stretch)
        : font(ResolveFont(name, PointsToPixels(points), bold, stretch)), metrics(font) {
        // The cell of the design fonts, whatever the stand-in's own line box (up to 1.45 em):
        // the written row pitches assume it, and every face's baseline then lies at the same
        // depth, so texts of different faces in one row line up.
        const int pixels = font.pixelSize();
        ascent = qRound(pixels * kCellAscentEm);
        height = qRound(pixels * kCellHeightEm);
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
        for (QGlyphRun& run : layout.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions) p -= baseline;
            run.setPositions(positions);
            l.runs.push_back(std::move(run));
        }
    }

    void DrawGlyphs(QPainter& p, const Layout& l, QPointF origin) const {
        for (const QGlyphRun& run : l.runs) p.drawGlyphRun(origin, run);
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
        for (const QGlyphRun& run : l.runs) {
            const QRawFont raw = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
                ink |= raw.boundingRect(glyphs[i]).translated(positions[i]);
            }
        }
        return ink.isEmpty() ? ink : ink.translated(0, ascent);
    }

    // The cell of a shaped text at a device scale that is not a whole number, for a text whose
    // cell starts (phaseX, phaseY) into a device pixel; null when it cannot stand for the
    // drawing (see PhasedCell).
    const PhasedCell* PhasedCellOf(Layout& l, const QColor& color, const QColor& brush,
                                   double scale, double phaseX, double phaseY,
                                   qsizetype& cellBytes) {
        auto found = std::find_if(l.phasedCells.begin(), l.phasedCells.end(), [&](const auto& c) {
            return c.phaseX == phaseX && c.phaseY == phaseY && c.color == color.rgba() &&
                   c.brush == brush.rgba() && c.scale == scale;
        });
        if (found == l.phasedCells.end()) {
            // A phase seen once is drawn from the glyphs: many texts come once at each place
            // (the couples of one heat), and only a text that comes again there is worth a cell.
            const std::pair<double, double> phase(phaseX, phaseY);
            if (std::find(l.phasesSeen.begin(), l.phasesSeen.end(), phase) == l.phasesSeen.end()) {
                l.phasesSeen.push_back(phase);
                return nullptr;
            }
            PhasedCell cell{color.rgba(), brush.rgba(), scale, phaseX, phaseY, QPoint(), QImage()};
            RenderPhased(l, color, brush, cell);
            cellBytes += cell.image.sizeInBytes();
            l.phasedCells.push_back(std::move(cell));
            found = l.phasedCells.end() - 1;
        }
        return found->image.isNull() ? nullptr : &*found;
    }

    // Draws the text as the canvas draws it, with the same transformation but for a whole
    // number of device pixels (which moves every pixel by that number exactly), first the
    // brush alone and the glyphs alone to see which pixels each touches.
    void RenderPhased(const Layout& l, const QColor& color, const QColor& brush,
                      PhasedCell& cell) const {
        const double scale = cell.scale;
        const QRectF box = InkOf(l) | QRectF(0, 0, l.width, height);
        const int margin =
            static_cast<int>(std::ceil(std::max({0.0, -box.left(), -box.top()}) * scale)) + 2;
        const int w = static_cast<int>(std::ceil(cell.phaseX + box.right() * scale)) + margin + 2;
        const int h = static_cast<int>(std::ceil(cell.phaseY + box.bottom() * scale)) + margin + 2;
        const QTransform at(scale, 0, 0, scale, cell.phaseX + margin, cell.phaseY + margin);
        const auto paint = [&](QImage& image, bool fill, bool glyphs) {
            QPainter p(&image);
            p.setTransform(at);
            if (fill) p.fillRect(QRect(0, 0, l.width, height), brush);
            if (glyphs) {
                p.setPen(color);
                DrawGlyphs(p, l, QPointF(0, ascent));
            }
        };
        QImage probe(w, h, QImage::Format_ARGB32_Premultiplied);
        probe.fill(Qt::transparent);
        paint(probe, true, false);
        // The brush fills one rectangle of whole pixels: its first and last rows and columns.
        int top = -1;
        int bottom = -1;
        int left = w;
        int right = -1;
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
            int x = 0;
            while (x < w && qAlpha(row[x]) == 0) ++x;
            if (x == w) continue;
            if (top < 0) top = y;
            bottom = y;
            left = std::min(left, x);
            int end = w - 1;
            while (qAlpha(row[end]) == 0) --end;
            right = std::max(right, end);
        }
        if (top < 0) return;
        const QRect filled(QPoint(left, top), QPoint(right, bottom));
        probe.fill(Qt::transparent);
        paint(probe, false, true);
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
            const bool rowInside = y >= filled.top() && y <= filled.bottom();
            for (int x = 0; x < w; ++x) {
                if (rowInside && x == filled.left()) x = filled.right() + 1;
                if (x < w && qAlpha(row[x]) != 0) return;
            }
        }
        QImage drawn(w, h, QImage::Format_RGB32);
        drawn.fill(brush);
        paint(drawn, true, true);
        cell.image = drawn.copy(filled);
        cell.offset = filled.topLeft() - QPoint(margin, margin);
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
            for (const PhasedCell& c : l.phasedCells) freed += c.image.sizeInBytes();
            l.cells.clear();
            l.phasedCells.clear();
            l.phasesSeen.clear();
        }
        return freed;
    }

    void ClearLayouts();

    static constexpr qsizetype kMaxLayouts = 4096;
    QFont font;
    QFontMetrics metrics;
    int ascent = 0;
    int height = 0;
    QHash<QString, Layout> layouts;
};

namespace {

// The faces of this thread (fonts belong to the thread that made them), by name, size and
// weight, and the bytes their cells hold. Faces live as long as the thread; their number is
// bounded by the sizes in use.
struct FaceRegistry {
    QHash<QString, std::shared_ptr<Canvas::Face>> faces;
    qsizetype cellBytes = 0;

    static FaceRegistry& OfThread() {
        thread_local FaceRegistry registry;
        return registry;
    }
    Canvas::Face& Find(const QString& name, int points, bool bold, int stretch) {
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

Canvas::Canvas(int width, int height, QString name)
    : name_(std::move(name)), fontName_(QStringLiteral("Microsoft Sans Serif")) {
    Resize(width, height);
}

Canvas::Canvas(Canvas&& other) noexcept { *this = std::move(other); }

Canvas& Canvas::operator=(Canvas&& other) noexcept {
    if (this == &other) return *this;
    EndPass();
    other.EndPass();
    name_ = std::move(other.name_);
    image_ = std::move(other.image_);
    width_ = other.width_;
    height_ = other.height_;
    fontName_ = std::move(other.fontName_);
    fontSize_ = other.fontSize_;
    fontColor_ = other.fontColor_;
    bold_ = other.bold_;
    fontStretch_ = other.fontStretch_;
    penColor_ = other.penColor_;
    penWidth_ = other.penWidth_;
    brushColor_ = other.brushColor_;
    face_ = nullptr;
    drawn_ = true;
    recording_ = other.recording_;
    records_ = std::move(other.records_);
    return *this;
}

Canvas::~Canvas() { EndPass(); }

void Canvas::BeginPass() {
    if (pass_) return;
    pass_ = std::make_unique<QPainter>(&image_);
}

void Canvas::EndPass() { pass_.reset(); }

bool Canvas::TakeDrawn() { return std::exchange(drawn_, false); }

QPainter& Canvas::Painter(std::unique_ptr<QPainter>& own) {
    drawn_ = true;
    if (!pass_) {
        own = std::make_unique<QPainter>(&image_);
        return *own;
    }
    // What an operation may have left set; each operation sets its pen, brush and font.
    pass_->setRenderHint(QPainter::Antialiasing, false);
    pass_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    return *pass_;
}

void Canvas::Resize(int width, int height, double deviceScale) {
    EndPass();
    drawn_ = true;
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    const double scale = deviceScale > 0 ? deviceScale : 1.0;
    image_ = QImage(qRound(width_ * scale), qRound(height_ * scale), QImage::Format_RGB32);
    image_.setDevicePixelRatio(scale);
    image_.fill(Qt::black);
}

int Canvas::PointsToPixels(int points) {
    // MulDiv rounds half away from zero.
    const long long n = static_cast<long long>(points) * 96;
    const long long q = (std::llabs(n) + 36) / 72;
    return static_cast<int>(n < 0 ? -q : q);
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
    int w = 0;
    const int h = face.height;
    if (!text.isEmpty()) {
        FaceRegistry::OfThread().KeepCellsInBudget();
        Face::Layout& layout = face.LayoutOf(text);
        w = layout.width;
        const bool again = std::exchange(layout.drawn, true);
        if (again && !layout.shaped) face.Shape(text, layout);
        std::unique_ptr<QPainter> own;
        QPainter& p = Painter(own);
        // A whole-number device scale maps the cell onto whole pixels wherever it lands, so a
        // copy of the rendered cell is the drawing itself.
        const double scale = image_.devicePixelRatio();
        const int wholeScale = static_cast<int>(scale);
        const QImage* cell = nullptr;
        const bool keepable =
            again && !layout.plain && w > 0 && h > 0 && brushColor_.alpha() == 255;
        bool copied = false;
        if (keepable && wholeScale == scale) {
            FaceRegistry& registry = FaceRegistry::OfThread();
            cell = face.CellOf(layout, fontColor_, brushColor_, wholeScale, registry.cellBytes);
        } else if (keepable && fontColor_.alpha() == 255 && x >= 0 && y >= 0) {
            // Other scales: the cell of the text's phase, written into the bitmap's pixels.
            const double deviceX = x * scale;
            const double deviceY = y * scale;
            const double startX = std::floor(deviceX);
            const double startY = std::floor(deviceY);
            FaceRegistry& registry = FaceRegistry::OfThread();
            const Face::PhasedCell* phased =
                face.PhasedCellOf(layout, fontColor_, brushColor_, scale, deviceX - startX,
                                  deviceY - startY, registry.cellBytes);
            if (phased != nullptr) {
                const QRect target(
                    QPoint(static_cast<int>(startX), static_cast<int>(startY)) + phased->offset,
                    phased->image.size());
                if (image_.rect().contains(target)) {
                    CopyPixels(phased->image, image_, target.topLeft());
                    copied = true;
                }
            }
        }
        if (cell != nullptr) {
            p.drawImage(QPoint(x, y), *cell);
        } else if (!copied) {
            p.fillRect(QRect(x, y, w, h), brushColor_);
            p.setPen(fontColor_);
            if (again && !layout.plain) {
                face.DrawGlyphs(p, layout, QPointF(x, y + face.ascent));
            } else {
                p.setFont(face.font);
                p.drawText(QPoint(x, y + face.ascent), text);
            }
        }
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

}  // namespace

void Canvas::FillRect(int x1, int y1, int x2, int y2) {
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    p.fillRect(Exclusive(x1, y1, x2, y2), brushColor_);
    RecordShape("fillrect", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    const QRect r = Exclusive(x1, y1, x2, y2);
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    p.fillRect(r, brushColor_);
    const int pw = penWidth_ > 0 ? penWidth_ : 1;
    if (r.width() > 0 && r.height() > 0) {
        // The outline lies inside the rectangle, as the Windows drawing API draws it.
        p.setPen(Qt::NoPen);
        p.setBrush(penColor_);
        p.drawRect(QRect(r.left(), r.top(), r.width(), std::min(pw, r.height())));
        p.drawRect(QRect(r.left(), r.bottom() - std::min(pw, r.height()) + 1, r.width(),
                         std::min(pw, r.height())));
        p.drawRect(QRect(r.left(), r.top(), std::min(pw, r.width()), r.height()));
        p.drawRect(QRect(r.right() - std::min(pw, r.width()) + 1, r.top(), std::min(pw, r.width()),
                         r.height()));
    }
    RecordShape("rectangle", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    const QRect r = Exclusive(x1, y1, x2, y2);
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(MakePen(penColor_, penWidth_));
    p.setBrush(brushColor_);
    const double half = (penWidth_ > 0 ? penWidth_ : 1) / 2.0;
    p.drawEllipse(QRectF(r).adjusted(half, half, -half, -half));
    RecordShape("ellipse", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Polygon(const std::vector<QPoint>& points) {
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(MakePen(penColor_, penWidth_));
    p.setBrush(brushColor_);
    p.drawPolygon(QPolygon(QList<QPoint>(points.begin(), points.end())));
    RecordShape("polygon", points);
}

void Canvas::Polyline(const std::vector<QPoint>& points) {
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    p.setRenderHint(QPainter::Antialiasing, penWidth_ > 1);
    p.setPen(MakePen(penColor_, penWidth_));
    p.drawPolyline(QPolygon(QList<QPoint>(points.begin(), points.end())));
    RecordShape("polyline", points);
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    const int pw = penWidth_ > 0 ? penWidth_ : 1;
    if (pw == 1 && (x1 == x2 || y1 == y2)) {
        // Axis-parallel one-pixel line: end pixel excluded.
        if (x1 == x2 && y1 == y2) {
            // nothing: a line to its own start draws no pixel
        } else if (y1 == y2) {
            p.fillRect(QRect(std::min(x1, x2 + (x2 > x1 ? 0 : 1)), y1, std::abs(x2 - x1), 1),
                       penColor_);
        } else {
            p.fillRect(QRect(x1, std::min(y1, y2 + (y2 > y1 ? 0 : 1)), 1, std::abs(y2 - y1)),
                       penColor_);
        }
    } else {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(MakePen(penColor_, pw));
        p.drawLine(QPoint(x1, y1), QPoint(x2, y2));
    }
    RecordShape("line", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::StretchDraw(int x1, int y1, int x2, int y2, const QImage& picture) {
    std::unique_ptr<QPainter> own;
    QPainter& p = Painter(own);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(Exclusive(x1, y1, x2, y2), picture);
    RecordShape("bitmap", {QPoint(x1, y1), QPoint(x2, y2)});
}

std::vector<DrawRecord> Canvas::TakeRecords() {
    std::vector<DrawRecord> out;
    out.swap(records_);
    return out;
}
