#include "app/widgets/press_label.h"

#include <QMouseEvent>

PressLabel::PressLabel(QWidget* parent) : QLabel(parent) {}

void PressLabel::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    QLabel::mousePressEvent(event);
}
