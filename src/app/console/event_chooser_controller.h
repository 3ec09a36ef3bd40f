#pragma once
// The older event chooser beneath the progress panel: stepping through the events, and the
// switches that link it (and the programme) to the round load and the result list.

#include <QObject>

#include "app/console/operator_commands.h"
#include "app/console/settings_commands.h"

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
                           OperatorCommands& commands, SettingsCommands& settings, QObject* parent);

    void Button15Click();
    void Button16Click();
    void ComboBox3Change();
    void CheckBoxClick();

  private:
    void AfterStep();
    // The events just read, the first one chosen.
    void ShowEvents();

    EventChooserControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
    SettingsCommands& settings_;
};
