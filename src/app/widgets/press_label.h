#pragma once
// A label that reports mouse presses, for captions that act as a button (the data folder line).

#include <QLabel>

class QMouseEvent;

class PressLabel : public QLabel {
    Q_OBJECT

  public:
    explicit PressLabel(QWidget* parent = nullptr);

  signals:
    void mouseDown(Qt::MouseButton button);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};
