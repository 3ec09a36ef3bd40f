#include "core/platform/draw_record.h"

#include <QJsonArray>

QString ColorName(const QColor& c) { return c.name(QColor::HexRgb); }

QJsonObject DrawRecord::ToJson() const {
    QJsonObject o;
    o["canvas"] = canvas;
    o["op"] = op;
    if (op == "text") {
        o["x"] = x;
        o["y"] = y;
        o["text"] = text;
        o["font"] = font;
        o["size"] = size;
        o["bold"] = bold;
        // Only a condensed text says so: the records of every other text stay as they were.
        if (stretch != 100) o["stretch"] = stretch;
        o["color"] = ColorName(color);
        o["brush"] = ColorName(brush);
        o["w"] = w;
        o["h"] = h;
        return o;
    }
    QJsonArray pts;
    for (const QPoint& p : points) pts.append(QJsonArray{p.x(), p.y()});
    o["points"] = pts;
    o["pen"] = ColorName(pen);
    o["penWidth"] = penWidth;
    o["brush"] = ColorName(brush);
    return o;
}
