#pragma once
// The maintenance panel: Data Reset, the title lines, fonts, Base Color and the audience window
// offset, each applied when the operator presses Enter in its field (until the next reload).
// After a reload the panel shows the title lines read and hands its fonts and titles back.

#include <QObject>
#include <array>

#include "app/console/operator_commands.h"
#include "app/console/settings_commands.h"

class PictureButton;
class QLineEdit;
class QPushButton;
class QWidget;

struct MaintenanceControls {
    QWidget* Panel6;                                         // the maintenance panel
    QWidget* Panel8;                                         // the left panel it replaces
    PictureButton* BitBtn29;                                 // Ment.
    PictureButton* BitBtn31;                                 // Back
    PictureButton* BitBtn19;                                 // Data Reset
    QPushButton *Button26, *Button27, *Button28, *Button29;  // offset -/+ left, -/+ top
    QLineEdit* Edit1;                                        // left offset
    QLineEdit* Edit3;                                        // top offset
    std::array<QLineEdit*, 3> topTitles;                     // Edit4 - Edit6
    std::array<QLineEdit*, 3> welcomeTitles;                 // Edit7 - Edit9
    QLineEdit* Edit10;                                       // Title Font
    QLineEdit* Edit11;                                       // Top Font
    QLineEdit* Edit13;                                       // Msg Font
    QLineEdit* Edit2;                                        // Data Font
    QLineEdit* Edit12;                                       // Base Color
};

class MaintenancePanel : public QObject {
    Q_OBJECT
  public:
    MaintenancePanel(const MaintenanceControls& controls, const Competition& state,
                     OperatorCommands& commands, SettingsCommands& settings, QObject* parent);

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
    void StateChanged(StateChanges what);
    // The fields of a Conf.txt just read: the left offset and the six title lines.
    void ShowConfigFields();
    void ShowOffsets();
    // The four font fields into the configuration.
    void TakeOverFontFields();
    // The six title fields into the configuration, blanks trimmed.
    void TakeOverTitleFields();
    // Back to the left panel.
    void Close();

    void MoveLeft(int delta);
    void MoveTop(int delta);
    bool ReadInteger(QLineEdit* edit, int& value);

    MaintenanceControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
    SettingsCommands& settings_;
    // The panel itself is changing the offsets: its fields show what the operator typed.
    bool applying_ = false;
};
