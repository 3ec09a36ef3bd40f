#pragma once
// One recorded drawing operation of a Canvas: what tests compare with the designed numbers and
// what the rehearsal mode writes out as JSON Lines.

#include <QColor>
#include <QJsonObject>
#include <QPoint>
#include <QString>
#include <vector>

struct DrawRecord {
    QString canvas;  // "Window.Control", e.g. "ScrForm.Image9"
    QString op;      // text, fillrect, rectangle, ellipse, polygon, polyline, line, bitmap
    // text
    int x = 0;
    int y = 0;
    QString text;
    QString font;
    int size = 0;  // points
    bool bold = false;
    int stretch = 100;  // percent of the face's width; below 100 the text is condensed
    QColor color;
    int w = 0;
    int h = 0;
    // shapes (and the background of a text)
    std::vector<QPoint> points;
    QColor pen;
    int penWidth = 0;
    QColor brush;

    QJsonObject ToJson() const;
};

QString ColorName(const QColor& c);  // "#rrggbb"
