#pragma once
// The progress list on the console: programme moves with BitBtn16 and the mouse, scrolling,
// rereading pgm.txt, and showing or hiding the list over the award section.

#include <QObject>
#include <QPoint>

class DspMain;

class ProgrammeListController : public QObject {
    Q_OBJECT
  public:
    explicit ProgrammeListController(DspMain& console);

    void BitBtn16MouseDown(Qt::MouseButton button);
    void Image6MouseDown(Qt::MouseButton button, QPoint pos);
    void ScrollBar1Change(int position);
    void BitBtn33Click();
    void BitBtn18Click();

  private:
    DspMain& console_;
};
