#pragma once
// The progress control panel: loading the current event's round, stepping heats and dances,
// and the "Last D ?" and "Dance D ?" switches.

#include <QObject>

struct RoundLoad;
class DspMain;

class ProgressController : public QObject {
    Q_OBJECT
  public:
    explicit ProgressController(DspMain& console);

    void BitBtn5Click();
    void BitBtn28MouseDown(Qt::MouseButton button);
    void Button20Click();
    void Button1Click();

    // Shows a round just loaded: its dance panels, the shuffle label, the heat figures, the
    // first heat on screen and LastDance.
    void ShowRoundLoad(const RoundLoad& load);

  private:
    DspMain& console_;
};
