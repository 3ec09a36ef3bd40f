#pragma once
// A push button that carries a picture and reports which mouse button went down on it, so one
// control can step forward with the left button and back with the right one.

#include <QPushButton>

class QMouseEvent;

class PictureButton : public QPushButton {
    Q_OBJECT

  public:
    explicit PictureButton(QWidget* parent = nullptr);

  signals:
    // Emitted for every press (left, right, middle), before the button's own handling.
    void mouseDown(Qt::MouseButton button);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};
