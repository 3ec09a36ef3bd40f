#include "app/console/award_controller.h"

#include <QComboBox>
#include <QRadioButton>

#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"
#include "core/competition/view_types.h"
#include "core/display/clean_view.h"
#include "core/display/final_result_view.h"
#include "core/platform/cp932.h"

AwardController::AwardController(const AwardControls& controls, const Competition& state,
                                 OperatorCommands& commands, SettingsCommands& settings,
                                 QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands), settings_(settings) {
    connect(c_.BitBtn13, &QPushButton::clicked, this, &AwardController::BitBtn13Click);
    connect(c_.BitBtn15, &QPushButton::clicked, this, &AwardController::BitBtn15Click);
    for (QRadioButton* order : {c_.RadioButton1, c_.RadioButton2, c_.RadioButton3}) {
        connect(order, &QRadioButton::toggled, this, &AwardController::RevealOrderClick);
    }
    RevealOrderClick();
    // The list's order is kept with its buttons; a click fills the list again.
    const auto keepOrder = [this] {
        settings_.ChooseResultListOrder(c_.RadioButton4->isChecked());
    };
    connect(c_.RadioButton4, &QRadioButton::toggled, this, keepOrder);
    keepOrder();
    connect(c_.RadioButton4, &QRadioButton::clicked, this, &AwardController::RadioButtonClick);
    connect(c_.RadioButton5, &QRadioButton::clicked, this, &AwardController::RadioButtonClick);
    connect(c_.BitBtn21, &PictureButton::mouseDown, this, &AwardController::BitBtn21MouseDown);
    connect(c_.ComboBox1, &QComboBox::currentIndexChanged, this, &AwardController::ComboBox1Change);
    connect(&commands_.Notifier(), &StateNotifier::changed, this, &AwardController::StateChanged);
}

void AwardController::StateChanged(StateChanges what) {
    if (what.testFlag(StateChange::ResultList)) {
        ShowRows();
        c_.ComboBox1->setCurrentIndex(c_.ComboBox1->count() > 0 ? 0 : -1);
    }
    if (what.testFlag(StateChange::ResultListReset)) {
        // The first row's text shows, but no row is chosen until the operator picks one.
        ShowRows();
        c_.ComboBox1->setPlaceholderText(s_.ResultListRowCount > 0 ? FromCp932(s_.ResultListRows[0])
                                                                   : QString());
        c_.ComboBox1->setCurrentIndex(-1);
    }
    if (what.testFlag(StateChange::ResultRow)) {
        c_.ComboBox1->setCurrentIndex(s_.ResultListRow);
        ClearResultPreview();
    }
    if (what.testFlag(StateChange::View) && s_.CurrentView == kViewFinalResult) {
        ShowResultPreview();
    }
}

void AwardController::ShowRows() {
    c_.ComboBox1->clear();
    for (int i = 0; i < s_.ResultListRowCount && i < kCategoryRows; ++i) {
        c_.ComboBox1->addItem(FromCp932(s_.ResultListRows[i]));
    }
}

void AwardController::RadioButtonClick(bool checked) {
    if (checked) settings_.RefillResultList();
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

void AwardController::ComboBox1Change(int row) { settings_.ChooseResultRow(row); }

void AwardController::BitBtn13Click() { commands_.Ready(); }

void AwardController::BitBtn15Click() { commands_.Go(); }

void AwardController::RevealOrderClick() {
    if (c_.RadioButton2->isChecked()) {
        settings_.ChooseRevealOrder(RevealOrder::Upward);
    } else if (c_.RadioButton3->isChecked()) {
        settings_.ChooseRevealOrder(RevealOrder::Downward);
    } else {
        settings_.ChooseRevealOrder(RevealOrder::Together);
    }
}

void AwardController::ShowResultPreview() {
    DrawResultList(s_, c_.Image5->canvas());
    c_.Image5->update();
}

void AwardController::ClearResultPreview() {
    Canvas& c = c_.Image5->canvas();
    c.SetPenColor(kTeal);
    c.SetBrushColor(kTeal);
    c.Rectangle(-5, -5, 410, 170);
    c_.Image5->update();
}
