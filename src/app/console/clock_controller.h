#pragma once
// Clock mode: the "Clock" switch, the console's only timer Timer1 (900 ms) and the clock boxes
// that replace the logos on the audience window and in the console preview.

#include <QObject>

#include "app/console/operator_commands.h"

class ImageControl;
class PictureButton;
class QTimer;
class QWidget;
class ScrForm;

struct ClockControls {
    PictureButton* BitBtn32;  // Clock
    ImageControl* Image4;     // the logo in the preview
    QWidget* Panel3;          // the clock box in the preview
    ImageControl* Image3;     // the clock preview
};

class ClockController : public QObject {
    Q_OBJECT
  public:
    ClockController(const ClockControls& controls, Competition& state, OperatorCommands& commands,
                    QObject* parent);

    void SetAudience(ScrForm* audience) { audience_ = audience; }
    void BitBtn32Click();
    // Redraws the clock when the minute has changed since it was last drawn.
    void Timer1Timer();
    void Show(bool shown);

  private:
    ClockControls c_;
    Competition& s_;
    OperatorCommands& commands_;
    ScrForm* audience_ = nullptr;
    QTimer* timer1_ = nullptr;
};
