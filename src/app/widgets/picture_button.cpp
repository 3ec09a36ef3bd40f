#include "app/widgets/picture_button.h"

#include <QMouseEvent>

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button());
    // The pressed look goes with the window's next repaint, not at once: the press's command
    // changed other parts of the window, which that one repaint shows with it, and a release
    // that has come already (a quick click) is taken before it, so the button is painted once.
    setUpdatesEnabled(false);
    QPushButton::mousePressEvent(event);
    setUpdatesEnabled(true);
}
