#pragma once
// The older event chooser beneath the progress panel: stepping through the events, and the
// switches that link it (and the programme) to the round load and the result list.

#include <QObject>

#include "app/console/console_operations.h"
#include "core/competition/competition_state.h"

class QCheckBox;
class QComboBox;
class QPushButton;

struct EventChooserControls {
    QComboBox* ComboBox3;   // the events
    QPushButton* Button15;  // - ↑
    QPushButton* Button16;  // + ↓
    QCheckBox* CheckBox1;   // reload the round with the chosen event
    QCheckBox* CheckBox2;   // " 表示連動 →": follow finals in the result-category list
};

class EventChooserController : public QObject {
    Q_OBJECT
  public:
    EventChooserController(const EventChooserControls& controls, const Competition& state,
                           ConsoleOperations& ops, QObject* parent);

    void Button15Click();
    void Button16Click();
    void ComboBox3Change();
    void CheckBoxClick();

    // The events just read, the first one chosen.
    void ShowEvents();
    bool ResultLinkChecked() const;

  private:
    void AfterStep();

    EventChooserControls c_;
    const Competition& s_;
    ConsoleOperations& ops_;
};
