#pragma once
// The view commands of the console: Clean, Title, Judge, Final, Msg, the single-item switch, the
// screen hold, the enabled state of Final and the round-split choice of the progress message.

#include <QObject>

#include "app/console/operator_commands.h"

class PictureButton;
class QPushButton;
class QRadioButton;

struct ViewCommandControls {
    PictureButton* BitBtn2;   // Clean
    PictureButton* BitBtn1;   // Title
    PictureButton* BitBtn3;   // Judge
    PictureButton* BitBtn4;   // Msg
    PictureButton* BitBtn14;  // Final
    QPushButton* Button12;    // 単独
    QPushButton* Button17;    // Hold Scrn
    QRadioButton* D_TypeS;
    QRadioButton* D_TypeB;
};

class ViewCommandsController : public QObject {
    Q_OBJECT
  public:
    ViewCommandsController(const ViewCommandControls& controls, Competition& state,
                           OperatorCommands& commands, QObject* parent);

    void BitBtn2Click();
    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn4MouseDown(Qt::MouseButton button);
    void BitBtn14MouseDown(Qt::MouseButton button);
    void Button12Click();
    void Button17Click();
    void RoundSplitClick();
    // Final is offered only for a final (round 7 or more) of the current item.
    void EnableFinal(bool enabled);

  private:
    ViewCommandControls c_;
    Competition& s_;
    OperatorCommands& commands_;
};
