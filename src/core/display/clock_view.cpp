#include "core/display/clock_view.h"

#include <QColor>
#include <QLatin1StringView>
#include <cmath>
#include <utility>

namespace {

// The clock's own value of pi: with it and the truncated end points the hands on the cardinal
// positions end one pixel short, as the venue's clock always has.
constexpr double kPi = 3.141592;

// A hand of the given length in design units at `turn` (0 to 1 from twelve o'clock, clockwise).
// The angle runs from the left (+90 degrees) and is subtracted from the centre, which turns the
// hand upwards at 0 and clockwise on a screen whose y axis points down.
void DrawHand(RenderTarget& t, double turn, int length, int width, const QColor& color) {
    const double angle = (turn * 360 + 90) * kPi / 180;
    const double dx = std::cos(angle) * length * t.scale;
    const double dy = std::sin(angle) * length * t.scale;
    t->SetPenColor(color);
    t->SetPenWidth(t.Scaled(width));
    t->Line(t.Scaled(65), t.Scaled(65), static_cast<int>(65 * t.scale - dx),
            static_cast<int>(65 * t.scale - dy));
}

}  // namespace

QString ClockMinuteText(const QTime& time) { return time.toString(QStringLiteral("HH:mm")); }

void DrawClockPass(const QString& hhmm, RenderTarget& t) {
    t->SetPenWidth(1);
    t->SetPenColor(Qt::black);
    t->SetBrushColor(Qt::black);
    t->Rectangle(0, 0, t.Scaled(130), t.Scaled(160));
    t->SetPenColor(QColor(255, 0, 0));
    t->Ellipse(t.Scaled(15), t.Scaled(15), t.Scaled(115), t.Scaled(115));

    const int h = QStringView(hhmm).mid(0, 2).toInt() % 12;
    const int m = QStringView(hhmm).mid(3, 2).toInt();
    DrawHand(t, (h * 60 + m) / 720.0, 30, 6, Qt::white);
    DrawHand(t, m / 60.0, 46, 4, QColor(0, 255, 255));

    t->SetFontName(QStringLiteral(u"ＭＳ ゴシック"));
    t->SetBold(false);
    t->SetFontColor(QColor(0, 255, 0));
    t->SetFontSize(t.Scaled(30));
    const int halfWidth = t->TextWidth(hhmm) / 2;
    // The font's height attribute: the character height in pixels, negative for a point size.
    const int height = -Canvas::PointsToPixels(t->FontSize());
    t->TextOut(static_cast<int>(65 * t.scale - halfWidth), static_cast<int>(162 * t.scale + height),
               hhmm);
}

void DrawClock(const QString& hhmm, Canvas& audienceClock, Canvas& previewClock) {
    for (auto [canvas, scale] : {std::pair(&audienceClock, 1.0), std::pair(&previewClock, 0.5)}) {
        CanvasPass painting(*canvas);
        RenderTarget t{canvas, scale};
        DrawClockPass(hhmm, t);
    }
}
