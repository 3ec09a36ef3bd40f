#pragma once
// Carries out the actions of a rehearsal script on the named controls of the two windows, the
// way an operator's mouse and keyboard would: mouse and key events are sent to the control, so
// the console's own handlers (and event filters) run as they do for a person.

#include <QString>
#include <QTime>
#include <functional>

#include "app/rehearsal/script.h"

class QWidget;

class ControlDriver {
  public:
    // The clock action sets the time through setTime, then ticks the console's timer through
    // tick when it runs.
    ControlDriver(QWidget* console, QWidget* audience, std::function<void(QTime)> setTime,
                  std::function<void()> tick);

    // Runs one action; returns an error message (unknown control, wrong kind of control, a
    // number out of range) or an empty string.
    QString Perform(const ScriptAction& action);

    // "NAME" on the console or else the audience window; "DspMain.NAME" / "ScrForm.NAME" on that
    // window only. Qt's own helper widgets ("qt_...") are not controls. Null when there is none.
    QWidget* FindControl(const QString& name) const;

  private:
    QWidget* console_;
    QWidget* audience_;
    std::function<void(QTime)> setTime_;
    std::function<void()> tick_;
};
