#pragma once
// The maintenance panel: Data Reset, the title lines, fonts, Base Color and the audience window
// offset, each applied when the operator presses Enter in its field (until the next reload).

#include <QObject>

class DspMain;
class QLineEdit;

class MaintenancePanel : public QObject {
    Q_OBJECT
  public:
    explicit MaintenancePanel(DspMain& console);

    void BitBtn29Click();
    void BitBtn31Click();
    void BitBtn19Click();
    // Enter in a field; true when the key was used (consumed).
    bool EditEnter(QLineEdit* edit);
    void Button26Click();
    void Button27Click();
    void Button28Click();
    void Button29Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MoveLeft(int delta);
    void MoveTop(int delta);
    bool ReadInteger(QLineEdit* edit, int& value);

    DspMain& console_;
};
