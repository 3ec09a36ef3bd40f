#include "app/console/award_controller.h"

#include <QComboBox>
#include <QRadioButton>

#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"
#include "core/competition/programme_item.h"
#include "core/display/clean_view.h"
#include "core/display/final_result_view.h"
#include "core/platform/cp932.h"

AwardController::AwardController(const AwardControls& controls, Competition& state,
                                 OperatorCommands& commands, QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands) {
    connect(c_.BitBtn13, &QPushButton::clicked, this, &AwardController::BitBtn13Click);
    connect(c_.BitBtn15, &QPushButton::clicked, this, &AwardController::BitBtn15Click);
    for (QRadioButton* order : {c_.RadioButton1, c_.RadioButton2, c_.RadioButton3}) {
        connect(order, &QRadioButton::toggled, this, &AwardController::RevealOrderClick);
    }
    RevealOrderClick();
    connect(c_.RadioButton4, &QRadioButton::clicked, this, &AwardController::RadioButtonClick);
    connect(c_.RadioButton5, &QRadioButton::clicked, this, &AwardController::RadioButtonClick);
    connect(c_.BitBtn21, &PictureButton::mouseDown, this, &AwardController::BitBtn21MouseDown);
    connect(c_.ComboBox1, &QComboBox::currentIndexChanged, this, &AwardController::ComboBox1Change);
}

void AwardController::SetRows(const std::vector<std::string>& rows) {
    c_.ComboBox1->clear();
    for (const std::string& row : rows) c_.ComboBox1->addItem(FromCp932(row));
}

void AwardController::ShowResultList() {
    SetRows(FillResultList(s_, c_.RadioButton4->isChecked()));
    c_.ComboBox1->setCurrentIndex(c_.ComboBox1->count() > 0 ? 0 : -1);
}

void AwardController::ShowDataResetRows() {
    // The first row's text shows, but no row is chosen until the operator picks one.
    const std::vector<std::string> rows = DataResetResultRows(s_);
    SetRows(rows);
    c_.ComboBox1->setPlaceholderText(rows.empty() ? QString() : FromCp932(rows.front()));
    c_.ComboBox1->setCurrentIndex(-1);
}

void AwardController::RadioButtonClick(bool checked) {
    if (checked) ShowResultList();
}

void AwardController::BitBtn21MouseDown(Qt::MouseButton button) {
    QComboBox* list = c_.ComboBox1;
    if (button == Qt::LeftButton) {
        // Stops at the last row.
        if (list->currentIndex() + 1 < list->count()) {
            list->setCurrentIndex(list->currentIndex() + 1);
        }
    } else if (button == Qt::RightButton) {
        if (list->currentIndex() > 0) list->setCurrentIndex(list->currentIndex() - 1);
    }
    ClearResultPreview();
}

void AwardController::ComboBox1Change(int row) { s_.ResultListRow = row; }

void AwardController::BitBtn13Click() { commands_.Ready(); }

void AwardController::BitBtn15Click() { commands_.Go(); }

void AwardController::RevealOrderClick() {
    if (c_.RadioButton2->isChecked()) {
        s_.Reveal = RevealOrder::Upward;
    } else if (c_.RadioButton3->isChecked()) {
        s_.Reveal = RevealOrder::Downward;
    } else {
        s_.Reveal = RevealOrder::Together;
    }
}

void AwardController::ShowResultPreview() {
    DrawResultList(s_, c_.Image5->canvas());
    c_.Image5->update();
}

void AwardController::SelectCategory(int category) {
    const int row = ResultListRowOf(s_, category, c_.ComboBox1->count());
    if (row < 0) return;
    c_.ComboBox1->setCurrentIndex(row);
    ClearResultPreview();
}

void AwardController::ClearResultPreview() {
    Canvas& c = c_.Image5->canvas();
    c.SetPenColor(kTeal);
    c.SetBrushColor(kTeal);
    c.Rectangle(-5, -5, 410, 170);
    c_.Image5->update();
}
