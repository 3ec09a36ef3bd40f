#pragma once
// The award section of the console: the result-category list with its order choice and stepping
// button, the small result preview, "Ready" and "Go !" with the reveal order.

#include <QObject>
#include <string>
#include <vector>

#include "app/console/operator_commands.h"
#include "app/console/settings_commands.h"

class ImageControl;
class PictureButton;
class QComboBox;
class QRadioButton;

struct AwardControls {
    QComboBox* ComboBox1;        // result-category list
    QRadioButton* RadioButton4;  // " 競技区分順"
    QRadioButton* RadioButton5;  // "決勝実施順"
    PictureButton* BitBtn21;     // Next ↓
    PictureButton* BitBtn13;     // Ready
    PictureButton* BitBtn15;     // Go !
    QRadioButton* RadioButton1;  // "同時": every row at once
    QRadioButton* RadioButton2;  // "昇順↑": from the last placing up
    QRadioButton* RadioButton3;  // "降順↓": from the first placing down
    ImageControl* Image5;        // result preview
};

class AwardController : public QObject {
    Q_OBJECT
  public:
    AwardController(const AwardControls& controls, const Competition& state,
                    OperatorCommands& commands, SettingsCommands& settings, QObject* parent);

    void RadioButtonClick(bool checked);
    void BitBtn21MouseDown(Qt::MouseButton button);
    void ComboBox1Change(int row);
    void BitBtn13Click();
    void BitBtn15Click();
    // The reveal order the award view reads, kept with the order buttons.
    void RevealOrderClick();

  private:
    void StateChanged(StateChanges what);
    // The list's rows as the state has them.
    void ShowRows();
    void ClearResultPreview();
    // The preview of the final file just read for the result view.
    void ShowResultPreview();

    AwardControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
    SettingsCommands& settings_;
};
