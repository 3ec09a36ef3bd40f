#pragma once
// Shapes given in design units on a render target: every point goes through Scaled, and a colour
// that sets both pen and brush, as the decorated result and award pictures draw them.

#include <QColor>
#include <QPoint>
#include <initializer_list>

#include "core/display/render_target.h"

void SetShapeColor(RenderTarget& t, const QColor& c);
void ScaledRectangle(RenderTarget& t, int x1, int y1, int x2, int y2);
void ScaledEllipse(RenderTarget& t, int x1, int y1, int x2, int y2);
void ScaledPolygon(RenderTarget& t, std::initializer_list<QPoint> points);
void ScaledPolyline(RenderTarget& t, std::initializer_list<QPoint> points);
