#include "app/widgets/button_glyphs.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>
#include <array>
#include <cmath>
#include <numbers>

#include "app/widgets/picture_button.h"

namespace {

// Every glyph is drawn into a 40 x 40 square.
constexpr int kGlyph = 40;
constexpr int kSmallGlyph = 18;

const QColor kInk(32, 48, 64);
const QColor kScreen(0, 64, 0);
const QColor kAccent(0, 96, 192);
const QColor kGold(214, 168, 40);
const QColor kRed(200, 32, 32);
const QColor kGreen(24, 150, 48);

QPen Stroke(const QColor& c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Screen(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kScreen);
    p.drawRect(QRectF(4, 6, 32, 22));
    p.drawLine(QPointF(20, 28), QPointF(20, 33));
    p.drawLine(QPointF(12, 34), QPointF(28, 34));
}

void Banner(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({{2, 10}, {38, 10}, {34, 20}, {38, 30}, {2, 30}, {6, 20}}));
    QFont f;
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 10, 40, 20), Qt::AlignCenter, QStringLiteral("T"));
}

void People(QPainter& p) {
    p.setPen(Stroke(kInk, 1.5));
    p.setBrush(kAccent);
    for (int x : {9, 20, 31}) {
        p.drawEllipse(QPointF(x, 13), 4, 4);
        p.drawPie(QRectF(x - 7, 19, 14, 18), 0, 180 * 16);
    }
    p.setPen(Stroke(kInk, 2));
    p.drawLine(QPointF(2, 30), QPointF(38, 30));
}

void HeatGrid(QPainter& p) {
    p.setPen(Stroke(kInk, 1));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.setBrush(row == 0 ? kGold : kAccent);
            p.drawRect(QRectF(4 + col * 11.5, 5 + row * 10.5, 9, 8));
        }
    }
}

void Stepper(QPainter& p) {
    p.setPen(Stroke(kInk, 1.5));
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({{20, 2}, {34, 17}, {6, 17}}));
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({{6, 23}, {34, 23}, {20, 38}}));
    p.setPen(Stroke(Qt::white, 2.5));
    p.drawLine(QPointF(16, 12), QPointF(24, 12));
    p.drawLine(QPointF(20, 8), QPointF(20, 16));
    p.drawLine(QPointF(16, 28), QPointF(24, 28));
}

void Podium(QPainter& p) {
    p.setPen(Stroke(kInk, 1.5));
    p.setBrush(QColor(192, 192, 200));
    p.drawRect(QRectF(3, 20, 11, 16));
    p.setBrush(kGold);
    p.drawRect(QRectF(14, 12, 12, 24));
    p.setBrush(QColor(200, 128, 64));
    p.drawRect(QRectF(26, 24, 11, 12));
    QFont f;
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(14, 12, 12, 14), Qt::AlignCenter, QStringLiteral("1"));
    p.setBrush(kGold);
    p.drawEllipse(QPointF(20, 6), 4, 4);
}

void Envelope(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 9, 32, 22));
    p.drawPolyline(QPolygonF({{4, 9}, {20, 22}, {36, 9}}));
}

void Clock(QPainter& p) {
    p.setPen(Stroke(kRed, 2.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(20, 20), 16, 16);
    p.setPen(Stroke(kInk, 3));
    p.drawLine(QPointF(20, 20), QPointF(20, 10));
    p.setPen(Stroke(kAccent, 2));
    p.drawLine(QPointF(20, 20), QPointF(28, 25));
}

void Gear(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.save();
    p.translate(20, 20);
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-3, -17, 6, 8));
        p.rotate(45);
    }
    p.restore();
    p.drawEllipse(QPointF(20, 20), 12, 12);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(20, 20), 5, 5);
}

void Document(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{8, 3}, {26, 3}, {33, 10}, {33, 37}, {8, 37}}));
    p.drawPolyline(QPolygonF({{26, 3}, {26, 10}, {33, 10}}));
    p.setPen(Stroke(kAccent, 1.5));
    for (int y = 16; y <= 31; y += 5) p.drawLine(QPointF(12, y), QPointF(29, y));
}

void Cup(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(150, 90, 40));
    p.drawRoundedRect(QRectF(6, 15, 21, 19), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(22, 18, 12, 11), -90 * 16, 180 * 16);
    p.setPen(Stroke(kInk, 1.5));
    for (int x : {12, 17, 22}) p.drawArc(QRectF(x - 2, 3, 4, 9), 90 * 16, 180 * 16);
}

void Bowl(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.drawLine(QPointF(14, 4), QPointF(30, 20));
    p.drawLine(QPointF(20, 3), QPointF(33, 18));
    p.setBrush(kRed);
    p.drawChord(QRectF(4, 6, 32, 30), 180 * 16, 180 * 16);
    p.drawLine(QPointF(14, 36), QPointF(26, 36));
}

void Star(QPainter& p) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 17 : 7;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << QPointF(20 + r * std::cos(a), 21 + r * std::sin(a));
    }
    p.setPen(Stroke(kInk, 1.5));
    p.setBrush(kGold);
    p.drawPolygon(star);
}

void Hourglass(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.drawLine(QPointF(8, 4), QPointF(32, 4));
    p.drawLine(QPointF(8, 36), QPointF(32, 36));
    p.setBrush(QColor(240, 220, 160));
    p.drawPolygon(QPolygonF({{11, 6}, {29, 6}, {20, 20}}));
    p.drawPolygon(QPolygonF({{20, 20}, {29, 34}, {11, 34}}));
    p.setBrush(kGold);
    p.drawPolygon(QPolygonF({{15, 34}, {25, 34}, {20, 26}}));
}

void Hand(QPainter& p) {
    p.setPen(Stroke(kInk, 1.5));
    p.setBrush(QColor(250, 210, 170));
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(11 + i * 5, 5 + (i == 0 || i == 3) * 3, 5, 16), 2.5, 2.5);
    p.drawRoundedRect(QRectF(5, 19, 13, 6), 3, 3);
    p.drawRoundedRect(QRectF(11, 17, 20, 19), 5, 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(kAccent, 1.5));
    p.drawArc(QRectF(30, 4, 8, 14), -60 * 16, 120 * 16);
    p.drawArc(QRectF(1, 4, 8, 14), 120 * 16, 120 * 16);
}

void CheckMark(QPainter& p) {
    p.setPen(Stroke(kGreen, 6));
    p.drawPolyline(QPolygonF({{6, 21}, {16, 31}, {34, 9}}));
}

void Note(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(13, 31), 6, 4.5);
    p.drawEllipse(QPointF(29, 27), 6, 4.5);
    p.drawLine(QPointF(18, 31), QPointF(18, 7));
    p.drawLine(QPointF(34, 27), QPointF(34, 4));
    p.setPen(Stroke(kInk, 4));
    p.drawLine(QPointF(18, 8), QPointF(34, 5));
}

void Ribbon(QPainter& p) {
    p.setPen(Stroke(kInk, 1.5));
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({{14, 20}, {20, 22}, {15, 38}, {11, 33}, {7, 35}}));
    p.drawPolygon(QPolygonF({{26, 20}, {20, 22}, {25, 38}, {29, 33}, {33, 35}}));
    p.setBrush(kGold);
    p.drawEllipse(QPointF(20, 15), 11, 11);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(20, 15), 7, 7);
}

void Speech(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(Qt::white);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(3, 4, 34, 24), 8, 8);
    QPainterPath tail;
    tail.addPolygon(QPolygonF({{10, 26}, {18, 26}, {8, 36}}));
    tail.closeSubpath();
    p.drawPath(bubble.united(tail));
    p.setPen(Stroke(kRed, 4));
    p.drawLine(QPointF(20, 9), QPointF(20, 18));
    p.drawPoint(QPointF(20, 24));
}

void Play(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({{10, 5}, {34, 20}, {10, 35}}));
}

void Go(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({{4, 7}, {20, 20}, {4, 33}}));
    p.drawPolygon(QPolygonF({{19, 7}, {35, 20}, {19, 33}}));
}

void ArrowLeft(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({{3, 20}, {18, 6}, {18, 14}, {37, 14}, {37, 26}, {18, 26}, {18, 34}}));
}

void ArrowDown(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({{20, 37}, {6, 22}, {14, 22}, {14, 3}, {26, 3}, {26, 22}, {34, 22}}));
}

void Power(QPainter& p) {
    p.setPen(Stroke(kRed, 5));
    p.drawArc(QRectF(6, 7, 28, 28), 120 * 16, 300 * 16);
    p.drawLine(QPointF(20, 3), QPointF(20, 19));
}

void Reload(QPainter& p) {
    p.setPen(Stroke(kGreen, 5));
    p.drawArc(QRectF(7, 7, 26, 26), 30 * 16, 290 * 16);
    p.setPen(Stroke(kGreen, 2));
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({{38, 4}, {38, 18}, {24, 18}}));
}

void Dot(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(20, 20), 12, 12);
}

using GlyphFn = void (*)(QPainter&);

struct Glyph {
    const char* button;
    GlyphFn draw;
};

constexpr std::array<Glyph, 27> kGlyphs{{
    {"BitBtn2", Screen},      // Clean
    {"BitBtn1", Banner},      // Title (welcome)
    {"BitBtn3", People},      // Judge
    {"BitBtn5", HeatGrid},    // Heat
    {"BitBtn28", Stepper},    // heat (+/-)
    {"BitBtn16", Stepper},    // programme (+/-)
    {"BitBtn14", Podium},     // Final
    {"BitBtn4", Envelope},    // Msg
    {"BitBtn32", Clock},      // Clock
    {"BitBtn29", Gear},       // Ment.
    {"BitBtn33", Document},   // PGM.txt
    {"BitBtn6", Cup},         // Break
    {"BitBtn7", Bowl},        // Lunch
    {"BitBtn8", Star},        // Event
    {"BitBtn9", Hourglass},   // Wait
    {"BitBtn10", Hand},       // Bye
    {"BitBtn12", CheckMark},  // Check
    {"BitBtn20", Note},       // D.Time
    {"BitBtn17", Ribbon},     // Title (award ceremony)
    {"BitBtn11", Speech},     // Say !
    {"BitBtn13", Play},       // Ready
    {"BitBtn15", Go},         // Go !
    {"BitBtn18", ArrowLeft},  // <-Award
    {"BitBtn30", Power},      // EXIT
    {"BitBtn21", ArrowDown},  // Next
    {"BitBtn19", Reload},     // Data Reset
    {"BitBtn31", ArrowLeft},  // Back
}};

QIcon GlyphIcon(GlyphFn draw) {
    QPixmap pm(kGlyph, kGlyph);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pm);
}

GlyphFn FindGlyph(const QString& name) {
    for (const Glyph& g : kGlyphs) {
        if (name == QLatin1String(g.button)) return g.draw;
    }
    return Dot;
}

}  // namespace

void ApplyButtonGlyphs(QWidget* root) {
    if (root == nullptr) return;
    for (PictureButton* button : root->findChildren<PictureButton*>()) {
        button->setIcon(GlyphIcon(FindGlyph(button->objectName())));
        const int size = button->text().isEmpty() ? kGlyph : kSmallGlyph;
        button->setIconSize(QSize(size, size));
    }
}
