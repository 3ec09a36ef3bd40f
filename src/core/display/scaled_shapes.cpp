#include "core/display/scaled_shapes.h"

#include <vector>

namespace {

std::vector<QPoint> ScaledPoints(const RenderTarget& t, std::initializer_list<QPoint> points) {
    std::vector<QPoint> out;
    out.reserve(points.size());
    for (const QPoint& p : points) out.emplace_back(t.Scaled(p.x()), t.Scaled(p.y()));
    return out;
}

}  // namespace

void SetShapeColor(RenderTarget& t, const QColor& c) {
    t->SetPenColor(c);
    t->SetBrushColor(c);
}

void ScaledRectangle(RenderTarget& t, int x1, int y1, int x2, int y2) {
    t->Rectangle(t.Scaled(x1), t.Scaled(y1), t.Scaled(x2), t.Scaled(y2));
}

void ScaledEllipse(RenderTarget& t, int x1, int y1, int x2, int y2) {
    t->Ellipse(t.Scaled(x1), t.Scaled(y1), t.Scaled(x2), t.Scaled(y2));
}

void ScaledPolygon(RenderTarget& t, std::initializer_list<QPoint> points) {
    t->Polygon(ScaledPoints(t, points));
}

void ScaledPolyline(RenderTarget& t, std::initializer_list<QPoint> points) {
    t->Polyline(ScaledPoints(t, points));
}
