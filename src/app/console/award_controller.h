#pragma once
// The award section of the console: the result-category list with its order choice and stepping
// button, and the small result preview.

#include <QObject>
#include <string>
#include <vector>

#include "core/competition/competition_state.h"

class ImageControl;
class PictureButton;
class QComboBox;
class QRadioButton;

struct AwardControls {
    QComboBox* ComboBox1;        // result-category list
    QRadioButton* RadioButton4;  // " 競技区分順"
    QRadioButton* RadioButton5;  // "決勝実施順"
    PictureButton* BitBtn21;     // Next ↓
    ImageControl* Image5;        // result preview
};

class AwardController : public QObject {
    Q_OBJECT
  public:
    AwardController(const AwardControls& controls, Competition& state, QObject* parent);

    void RadioButtonClick(bool checked);
    void BitBtn21MouseDown(Qt::MouseButton button);
    void ComboBox1Change(int row);

    // The list in the chosen order, its first row selected.
    void ShowResultList();
    // The rows Data Reset puts into the list, none selected.
    void ShowDataResetRows();
    // Selects the row that holds a category (1-based) and clears the preview; a category no row
    // holds changes nothing.
    void SelectCategory(int category);
    void ClearResultPreview();

  private:
    void SetRows(const std::vector<std::string>& rows);

    AwardControls c_;
    Competition& s_;
};
