#include "app/console/clock_controller.h"

#include <QTimer>

#include "app/audience/scr_form.h"
#include "app/console/console_hooks.h"
#include "app/widgets/image_control.h"
#include "app/widgets/indicator_label.h"
#include "app/widgets/picture_button.h"
#include "core/display/clock_view.h"

ClockController::ClockController(const ClockControls& controls, const Competition& state,
                                 OperatorCommands& commands, QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands) {
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(900);
    connect(timer1_, &QTimer::timeout, this, &ClockController::Timer1Timer);
    connect(c_.BitBtn32, &QPushButton::clicked, this, &ClockController::BitBtn32Click);
    connect(&commands_.Notifier(), &StateNotifier::changed, this, [this](StateChanges what) {
        if (!what.testFlag(StateChange::ClockFlag)) return;
        ShowIndicator(c_.Label63, s_.ClockShown);
        Show(s_.ClockShown == 1);
    });
}

void ClockController::BitBtn32Click() { commands_.ToggleClock(); }

void ClockController::Show(bool shown) {
    if (shown) {
        timer1_->start();
    } else {
        timer1_->stop();
    }
    c_.Image4->setVisible(!shown);
    c_.Panel3->setVisible(shown);
    if (audience_ != nullptr) audience_->ShowClock(shown);
}

void ClockController::Timer1Timer() { commands_.ClockTick(ClockMinuteText(Hooks().now())); }
