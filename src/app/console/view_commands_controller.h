#pragma once
// The view commands of the console: Clean, Title, Judge, Final, Msg, the single-item switch, the
// screen hold with its banner, the enabled state of Final and the round-split choice of the
// progress message.

#include <QObject>

#include "app/console/operator_commands.h"
#include "app/console/settings_commands.h"

class PictureButton;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

struct ViewCommandControls {
    PictureButton* BitBtn2;   // Clean
    PictureButton* BitBtn1;   // Title
    PictureButton* BitBtn3;   // Judge
    PictureButton* BitBtn4;   // Msg
    PictureButton* BitBtn14;  // Final
    QPushButton* Button12;    // 単独
    QPushButton* Button17;    // Hold Scrn
    QLabel* Label21;          // SingleItemMode
    QLabel* Label3;           // HoldScreen
    QWidget* Panel12;         // the banner that says the screen is held
    QRadioButton* D_TypeS;
    QRadioButton* D_TypeB;
};

class ViewCommandsController : public QObject {
    Q_OBJECT
  public:
    ViewCommandsController(const ViewCommandControls& controls, const Competition& state,
                           OperatorCommands& commands, SettingsCommands& settings, QObject* parent);

    void BitBtn2Click();
    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn4MouseDown(Qt::MouseButton button);
    void BitBtn14MouseDown(Qt::MouseButton button);
    void Button12Click();
    void Button17Click();
    void RoundSplitClick();

  private:
    void StateChanged(StateChanges what);

    ViewCommandControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
    SettingsCommands& settings_;
};
