#pragma once
// The view commands of the console: Clean, Title, Msg, the single-item switch, the screen hold
// and the round-split choice of the progress message.

#include <QObject>

class DspMain;

class ViewCommandsController : public QObject {
    Q_OBJECT
  public:
    explicit ViewCommandsController(DspMain& console);

    void BitBtn2Click();
    void BitBtn1Click();
    void BitBtn4MouseDown(Qt::MouseButton button);
    void Button12Click();
    void Button17Click();
    void RoundSplitClick();

  private:
    DspMain& console_;
};
