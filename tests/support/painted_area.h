#pragma once
// The pixels the widgets it watches (installEventFilter) are asked to paint, counted over every
// paint event's region.

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRect>

struct PaintedArea : QObject {
    qint64 area = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region()) {
                area += qint64(r.width()) * r.height();
            }
        }
        return false;
    }
};
