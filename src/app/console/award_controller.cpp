#include "app/console/award_controller.h"

#include "core/competition/programme_item.h"
#include "core/platform/cp932.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"

AwardController::AwardController(DspMain& console) : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    connect(ui.RadioButton4, &QRadioButton::clicked, this, &AwardController::RadioButtonClick);
    connect(ui.RadioButton5, &QRadioButton::clicked, this, &AwardController::RadioButtonClick);
    connect(ui.BitBtn21, &PictureButton::mouseDown, this, &AwardController::BitBtn21MouseDown);
    connect(ui.ComboBox1, &QComboBox::currentIndexChanged, this, &AwardController::ComboBox1Change);
}

void AwardController::SetRows(const std::vector<std::string>& rows) {
    QComboBox* list = console_.form().ComboBox1;
    list->clear();
    for (const std::string& row : rows) list->addItem(FromCp932(row));
}

void AwardController::FillResultList() {
    SetRows(::FillResultList(console_.state(), console_.form().RadioButton4->isChecked()));
    console_.form().ComboBox1->setCurrentIndex(console_.form().ComboBox1->count() > 0 ? 0 : -1);
}

void AwardController::FillDataResetRows() {
    // The first row's text shows, but no row is chosen until the operator picks one.
    const std::vector<std::string> rows = DataResetResultRows(console_.state());
    SetRows(rows);
    QComboBox* list = console_.form().ComboBox1;
    list->setPlaceholderText(rows.empty() ? QString() : FromCp932(rows.front()));
    list->setCurrentIndex(-1);
}

void AwardController::RadioButtonClick() {
    if (sender() == nullptr || static_cast<QRadioButton*>(sender())->isChecked()) FillResultList();
}

void AwardController::BitBtn21MouseDown(Qt::MouseButton button) {
    QComboBox* list = console_.form().ComboBox1;
    if (button == Qt::LeftButton) {
        // Stops at the last row.
        if (list->currentIndex() + 1 < list->count())
            list->setCurrentIndex(list->currentIndex() + 1);
    } else if (button == Qt::RightButton) {
        if (list->currentIndex() > 0) list->setCurrentIndex(list->currentIndex() - 1);
    }
    ClearResultPreview();
}

void AwardController::ComboBox1Change(int row) { console_.state().ResultListRow = row; }

void AwardController::ClearResultPreview() {
    Canvas& c = console_.form().Image5->canvas();
    const QColor teal(0, 128, 128);
    c.SetPenColor(teal);
    c.SetBrushColor(teal);
    c.Rectangle(-5, -5, 410, 170);
    console_.form().Image5->update();
}
