#include "app/console/view_commands_controller.h"

#include <QLabel>
#include <QRadioButton>

#include "app/widgets/indicator_label.h"
#include "app/widgets/picture_button.h"
#include "core/competition/programme_item.h"

ViewCommandsController::ViewCommandsController(const ViewCommandControls& controls,
                                               const Competition& state, OperatorCommands& commands,
                                               SettingsCommands& settings, QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands), settings_(settings) {
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
    connect(&commands_.Notifier(), &StateNotifier::changed, this,
            &ViewCommandsController::StateChanged);
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

void ViewCommandsController::RoundSplitClick() {
    settings_.ChooseRoundSplit(c_.D_TypeB->isChecked());
}

void ViewCommandsController::StateChanged(StateChanges what) {
    // Final is offered only for a final (or later round) of the current item.
    if (what.testFlag(StateChange::ProgrammeItem)) c_.BitBtn14->setEnabled(FinalAllowed(s_));
    if (what.testFlag(StateChange::SingleItemFlag)) ShowIndicator(c_.Label21, s_.SingleItemMode);
    if (what.testFlag(StateChange::HoldFlag)) {
        ShowIndicator(c_.Label3, s_.HoldScreen);
        c_.Panel12->setVisible(s_.HoldScreen == 1);
    }
}
