#include "app/widgets/picture_button.h"

#include <QMouseEvent>

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    QPushButton::mousePressEvent(event);
}
