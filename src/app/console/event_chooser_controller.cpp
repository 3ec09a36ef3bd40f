#include "app/console/event_chooser_controller.h"

#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/widget_colors.h"

EventChooserController::EventChooserController(DspMain& console)
    : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    connect(ui.Button15, &QPushButton::clicked, this, &EventChooserController::Button15Click);
    connect(ui.Button16, &QPushButton::clicked, this, &EventChooserController::Button16Click);
    // Only the operator's own choice reloads; selections made by the program do not.
    connect(ui.ComboBox3, &QComboBox::activated, this, &EventChooserController::ComboBox3Change);
    connect(ui.CheckBox1, &QCheckBox::clicked, this, &EventChooserController::CheckBoxClick);
    connect(ui.CheckBox2, &QCheckBox::clicked, this, &EventChooserController::CheckBoxClick);
}

void EventChooserController::Button15Click() {
    QComboBox* chooser = console_.form().ComboBox3;
    if (chooser->currentIndex() > 0) chooser->setCurrentIndex(chooser->currentIndex() - 1);
    AfterStep();
}

void EventChooserController::Button16Click() {
    QComboBox* chooser = console_.form().ComboBox3;
    if (chooser->currentIndex() + 1 < chooser->count()) {
        chooser->setCurrentIndex(chooser->currentIndex() + 1);
    }
    AfterStep();
}

void EventChooserController::AfterStep() {
    Ui::DspMain& ui = console_.form();
    if (ui.CheckBox1->isChecked()) console_.LoadRound();
    const int row = ui.ComboBox3->currentIndex();
    if (ui.CheckBox2->isChecked() && row >= 0 && row < kEventRows) {
        const int category = console_.state().EventTable[row][1];
        if (category >= 1 && category <= ui.ComboBox1->count()) {
            ui.ComboBox1->setCurrentIndex(category - 1);
        }
    }
}

void EventChooserController::ComboBox3Change() {
    if (console_.form().CheckBox1->isChecked()) console_.LoadRound();
}

void EventChooserController::CheckBoxClick() {
    Ui::DspMain& ui = console_.form();
    SetTextColor(ui.CheckBox1, ui.CheckBox1->isChecked() ? QColor(255, 0, 0) : QColor(0, 0, 255));
    if (ui.CheckBox1->isChecked()) console_.LoadRound();
}
