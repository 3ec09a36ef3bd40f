#include "app/console/step_hint_controller.h"

#include <QLabel>

#include "app/widgets/label_looks.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/operator_guide.h"

StepHintController::StepHintController(const StepHintControls& controls,
                                       const Competition& state, const StateNotifier& notifier,
                                       QObject* parent)
    : QObject(parent), c_(controls), s_(state) {
    // Every change may change the next step; a reason stays until the next change.
    connect(&notifier, &StateNotifier::changed, this, &StepHintController::ShowHint);
    connect(&notifier, &StateNotifier::nothingDone, this, &StepHintController::ShowReason);
    ShowHint();
}

StepHintController::Hint StepHintController::HintOf(const Competition& state) {
    const QString hint = NextStepHint(state);
    const bool nothing = hint.startsWith(u'■');
    return {hint, nothing ? QColor(255, 255, 192) : QColor(224, 240, 255),
            nothing ? QColor(128, 0, 0) : QColor(0, 0, 128)};
}

void StepHintController::ShowHint() {
    const Hint h = HintOf(s_);
    c_.NextStepLabel->setText(h.text);
    SetColors(c_.NextStepLabel, h.background, h.textColour);
}

void StepHintController::PaintAhead(const Competition& next, LabelLooks& looks) const {
    const Hint h = HintOf(next);
    looks.Prepare(c_.NextStepLabel, h.text, h.background, h.textColour);
}

void StepHintController::ShowReason(const QString& reason) {
    c_.NextStepLabel->setText(reason);
    SetColors(c_.NextStepLabel, QColor(255, 0, 0), Qt::white);
}
