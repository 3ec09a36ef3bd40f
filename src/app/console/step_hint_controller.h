#pragma once
// The line beside the progress panel's title that says what the next clicker press will do, and
// why when a command did nothing.

#include <QColor>
#include <QObject>
#include <QString>

#include "core/competition/competition_state.h"
#include "core/competition/state_notifier.h"

class LabelLooks;
class QLabel;

struct StepHintControls {
    QLabel* NextStepLabel;
};

class StepHintController : public QObject {
    Q_OBJECT
  public:
    StepHintController(const StepHintControls& controls, const Competition& state,
                       const StateNotifier& notifier, QObject* parent);

    // Paints ahead the line as it will read with `next` on.
    void PaintAhead(const Competition& next, LabelLooks& looks) const;

  private:
    struct Hint {
        QString text;
        QColor background;
        QColor textColour;
    };
    static Hint HintOf(const Competition& state);
    void ShowHint();
    void ShowReason(const QString& reason);

    StepHintControls c_;
    const Competition& s_;
};
