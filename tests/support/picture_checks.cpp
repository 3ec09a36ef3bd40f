#include "support/picture_checks.h"

#include <QRect>
#include <map>
#include <tuple>

#include "core/platform/canvas.h"

namespace {

QRect Box(const DrawRecord& r) { return QRect(r.x, r.y, r.w, r.h); }

QString Describe(const DrawRecord& r) {
    return QStringLiteral("\"%1\" at %2,%3 (%4 x %5, %6 pt)")
        .arg(r.text)
        .arg(r.x)
        .arg(r.y)
        .arg(r.w)
        .arg(r.h)
        .arg(r.size);
}

}  // namespace

std::vector<DrawRecord> LastPictureTexts(const std::vector<DrawRecord>& records, int width) {
    size_t start = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const DrawRecord& r = records[i];
        const bool clears = (r.op == u"rectangle" || r.op == u"fillrect") && r.points.size() == 2 &&
                            r.points[0].x() <= 0 && r.points[0].y() <= 0 &&
                            r.points[1].x() >= width;
        if (clears) start = i;
    }
    std::map<std::tuple<QString, int, int>, DrawRecord> texts;
    for (size_t i = start; i < records.size(); ++i) {
        const DrawRecord& r = records[i];
        if (r.op == u"text" && r.w > 0) texts[{r.text, r.x, r.y}] = r;
    }
    std::vector<DrawRecord> out;
    for (const auto& [key, r] : texts) out.push_back(r);
    return out;
}

QStringList PictureFaults(const std::vector<DrawRecord>& texts, QSize surface) {
    QStringList faults;
    const QRect area(QPoint(0, 0), surface);
    for (size_t i = 0; i < texts.size(); ++i) {
        const DrawRecord& a = texts[i];
        const int pixels = Canvas::PointsToPixels(a.size);
        if (a.h * 100 > pixels * 112 + 100) {
            faults << QStringLiteral("cell taller than 1.12 em: %1").arg(Describe(a));
        }
        if (!area.contains(Box(a)))
            faults << QStringLiteral("off the surface: %1").arg(Describe(a));
        for (size_t j = i + 1; j < texts.size(); ++j) {
            if (Box(a).intersects(Box(texts[j]))) {
                faults << QStringLiteral("%1 meets %2").arg(Describe(a), Describe(texts[j]));
            }
        }
    }
    return faults;
}
