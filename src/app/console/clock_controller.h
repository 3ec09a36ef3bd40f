#pragma once
// Clock mode: the "Clock" switch with its indicator, the console's only timer Timer1 (900 ms) and
// the clock boxes that replace the logos on the audience window and in the console preview.

#include <QObject>

#include "app/console/operator_commands.h"

class ImageControl;
class PictureButton;
class QLabel;
class QTimer;
class QWidget;
class ScrForm;

struct ClockControls {
    PictureButton* BitBtn32;  // Clock
    QLabel* Label63;          // ClockShown
    ImageControl* Image4;     // the logo in the preview
    QWidget* Panel3;          // the clock box in the preview
};

class ClockController : public QObject {
    Q_OBJECT
  public:
    ClockController(const ClockControls& controls, const Competition& state,
                    OperatorCommands& commands, QObject* parent);

    void SetAudience(ScrForm* audience) { audience_ = audience; }
    void BitBtn32Click();
    // The clock drawn again when the minute has changed since it was last drawn.
    void Timer1Timer();

  private:
    void Show(bool shown);

    ClockControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
    ScrForm* audience_ = nullptr;
    QTimer* timer1_ = nullptr;
};
