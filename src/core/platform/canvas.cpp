#include "core/platform/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/platform/font_substitution.h"

Canvas::Canvas(int width, int height, QString name)
    : name_(std::move(name)),
      fontName_(QStringLiteral("Microsoft Sans Serif")) {
    Resize(width, height);
}

void Canvas::Resize(int width, int height, double deviceScale) {
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
    if (name != fontName_) fontValid_ = false;
    fontName_ = name;
}

void Canvas::SetFontSize(int points) {
    if (points != fontSize_) fontValid_ = false;
    fontSize_ = points;
}

void Canvas::SetFontColor(const QColor& c) { fontColor_ = c; }

void Canvas::SetBold(bool bold) {
    if (bold != bold_) fontValid_ = false;
    bold_ = bold;
}

void Canvas::SetPenColor(const QColor& c) { penColor_ = c; }
void Canvas::SetPenWidth(int width) { penWidth_ = width; }
void Canvas::SetBrushColor(const QColor& c) { brushColor_ = c; }

const QFont& Canvas::CurrentFont() {
    if (!fontValid_) {
        font_ = ResolveFont(fontName_, PointsToPixels(fontSize_), bold_);
        fontValid_ = true;
    }
    return font_;
}

int Canvas::TextWidth(const QString& text) {
    if (text.isEmpty()) return 0;
    return QFontMetrics(CurrentFont()).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString&) {
    const QFontMetrics m(CurrentFont());
    return m.ascent() + m.descent();
}

void Canvas::TextOut(int x, int y, const QString& text) {
    const QFont& font = CurrentFont();
    const QFontMetrics m(font);
    const int w = text.isEmpty() ? 0 : m.horizontalAdvance(text);
    const int h = m.ascent() + m.descent();
    if (!text.isEmpty()) {
        QPainter p(&image_);
        p.fillRect(QRect(x, y, w, h), brushColor_);
        p.setFont(font);
        p.setPen(fontColor_);
        p.drawText(QPoint(x, y + m.ascent()), text);
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
    QPainter p(&image_);
    p.fillRect(Exclusive(x1, y1, x2, y2), brushColor_);
    RecordShape("fillrect", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    const QRect r = Exclusive(x1, y1, x2, y2);
    QPainter p(&image_);
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
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(MakePen(penColor_, penWidth_));
    p.setBrush(brushColor_);
    const double half = (penWidth_ > 0 ? penWidth_ : 1) / 2.0;
    p.drawEllipse(QRectF(r).adjusted(half, half, -half, -half));
    RecordShape("ellipse", {QPoint(x1, y1), QPoint(x2, y2)});
}

void Canvas::Polygon(const std::vector<QPoint>& points) {
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(MakePen(penColor_, penWidth_));
    p.setBrush(brushColor_);
    p.drawPolygon(QPolygon(QList<QPoint>(points.begin(), points.end())));
    RecordShape("polygon", points);
}

void Canvas::Polyline(const std::vector<QPoint>& points) {
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, penWidth_ > 1);
    p.setPen(MakePen(penColor_, penWidth_));
    p.drawPolyline(QPolygon(QList<QPoint>(points.begin(), points.end())));
    RecordShape("polyline", points);
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    QPainter p(&image_);
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
    QPainter p(&image_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(Exclusive(x1, y1, x2, y2), picture);
    RecordShape("bitmap", {QPoint(x1, y1), QPoint(x2, y2)});
}

std::vector<DrawRecord> Canvas::TakeRecords() {
    std::vector<DrawRecord> out;
    out.swap(records_);
    return out;
}
