#pragma once
// An operator who presses at random: each action is chosen among the controls of both windows
// that are visible and enabled at that moment (never EXIT), with values that a person could type
// or pick, and is written as a line of the rehearsal script language.

#include <QString>
#include <random>

class QWidget;

class RandomOperator {
  public:
    RandomOperator(QWidget* console, QWidget* audience, std::mt19937::result_type seed);

    // The next action as a script line ("click DspMain.BitBtn5"); empty when no control can be
    // operated.
    QString NextLine();

  private:
    QString LineFor(QWidget* control);
    QString TypedText();
    int Below(int n);

    QWidget* console_;
    QWidget* audience_;
    std::mt19937 rng_;
    // The edit typed into last: an operator usually presses Enter next.
    QWidget* typedInto_ = nullptr;
};
