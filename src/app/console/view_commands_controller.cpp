#include "app/console/view_commands_controller.h"

#include <QRadioButton>

#include "app/widgets/picture_button.h"

ViewCommandsController::ViewCommandsController(const ViewCommandControls& controls,
                                               Competition& state, OperatorCommands& commands,
                                               QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands) {
    connect(c_.BitBtn2, &QPushButton::clicked, this, &ViewCommandsController::BitBtn2Click);
    connect(c_.BitBtn1, &QPushButton::clicked, this, &ViewCommandsController::BitBtn1Click);
    connect(c_.BitBtn3, &QPushButton::clicked, this, &ViewCommandsController::BitBtn3Click);
    connect(c_.BitBtn4, &PictureButton::mouseDown, this, &ViewCommandsController::BitBtn4MouseDown);
    connect(c_.BitBtn14, &PictureButton::mouseDown, this,
            &ViewCommandsController::BitBtn14MouseDown);
    connect(c_.Button12, &QPushButton::clicked, this, &ViewCommandsController::Button12Click);
    connect(c_.Button17, &QPushButton::clicked, this, &ViewCommandsController::Button17Click);
    connect(c_.D_TypeS, &QRadioButton::clicked, this, &ViewCommandsController::RoundSplitClick);
    connect(c_.D_TypeB, &QRadioButton::clicked, this, &ViewCommandsController::RoundSplitClick);
}

void ViewCommandsController::BitBtn2Click() { commands_.Clean(); }

void ViewCommandsController::BitBtn1Click() { commands_.Title(); }

void ViewCommandsController::BitBtn3Click() { commands_.Judge(); }

void ViewCommandsController::BitBtn4MouseDown(Qt::MouseButton button) {
    // Left: current and next item; any other button: the current item alone.
    commands_.Msg(button != Qt::LeftButton);
}

void ViewCommandsController::BitBtn14MouseDown(Qt::MouseButton button) {
    // The right button shows the final running on floor B.
    commands_.Final(button == Qt::RightButton);
}

void ViewCommandsController::Button12Click() { commands_.ToggleSingleItem(); }

void ViewCommandsController::Button17Click() { commands_.ToggleHold(); }

void ViewCommandsController::RoundSplitClick() { s_.RoundSplit = c_.D_TypeB->isChecked(); }

void ViewCommandsController::EnableFinal(bool enabled) { c_.BitBtn14->setEnabled(enabled); }
