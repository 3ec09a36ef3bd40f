#include "app/console/view_commands_controller.h"

#include "core/display/view_types.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/picture_button.h"

ViewCommandsController::ViewCommandsController(DspMain& console)
    : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    connect(ui.BitBtn2, &QPushButton::clicked, this, &ViewCommandsController::BitBtn2Click);
    connect(ui.BitBtn1, &QPushButton::clicked, this, &ViewCommandsController::BitBtn1Click);
    connect(ui.BitBtn4, &PictureButton::mouseDown, this, &ViewCommandsController::BitBtn4MouseDown);
    connect(ui.Button12, &QPushButton::clicked, this, &ViewCommandsController::Button12Click);
    connect(ui.Button17, &QPushButton::clicked, this, &ViewCommandsController::Button17Click);
    connect(ui.D_TypeS, &QRadioButton::clicked, this, &ViewCommandsController::RoundSplitClick);
    connect(ui.D_TypeB, &QRadioButton::clicked, this, &ViewCommandsController::RoundSplitClick);
}

void ViewCommandsController::BitBtn2Click() {
    console_.RenderView(kViewClean);
    console_.HighlightViewLabel(console_.form().Label75);
    console_.state().AwardReady = 0;
}

void ViewCommandsController::BitBtn1Click() {
    console_.RenderView(kViewWelcome);
    console_.HighlightViewLabel(console_.form().Label74);
    console_.state().AwardReady = 0;
}

void ViewCommandsController::BitBtn4MouseDown(Qt::MouseButton button) {
    // Left: current and next item; any other button: the current item alone.
    Competition& s = console_.state();
    s.SingleItemMode = button == Qt::LeftButton ? 1 : 0;  // 1 - wanted value, then toggled
    console_.ToggleIndicator(s.SingleItemMode, console_.form().Label21);
    console_.RenderView(kViewProgressMessage);
    console_.HighlightViewLabel(console_.form().Label77);
    s.AwardReady = 0;
}

void ViewCommandsController::Button12Click() {
    console_.ToggleIndicator(console_.state().SingleItemMode, console_.form().Label21);
    console_.RenderView(kViewProgressMessage);
}

void ViewCommandsController::Button17Click() {
    Competition& s = console_.state();
    console_.ToggleIndicator(s.HoldScreen, console_.form().Label3);
    console_.ShowHoldBanner();
    if (s.HoldScreen == 1) return;
    // Released: the programme item and the current view come back on the audience screen.
    console_.ShowProgrammeItem();
    console_.FollowProgrammeItem(true);
}

void ViewCommandsController::RoundSplitClick() {
    console_.state().RoundSplit = console_.form().D_TypeB->isChecked();
}
