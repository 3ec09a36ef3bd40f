#pragma once
// The older event chooser beneath the progress panel: stepping through the events, and the
// switches that link it (and the programme) to the round load and the result list.

#include <QObject>

class DspMain;

class EventChooserController : public QObject {
    Q_OBJECT
  public:
    explicit EventChooserController(DspMain& console);

    void Button15Click();
    void Button16Click();
    void ComboBox3Change();
    void CheckBoxClick();

  private:
    void AfterStep();

    DspMain& console_;
};
