#include "app/console/event_chooser_controller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/widgets/widget_colors.h"
#include "core/platform/cp932.h"

EventChooserController::EventChooserController(const EventChooserControls& controls,
                                               const Competition& state, ConsoleOperations& ops,
                                               QObject* parent)
    : QObject(parent), c_(controls), s_(state), ops_(ops) {
    connect(c_.Button15, &QPushButton::clicked, this, &EventChooserController::Button15Click);
    connect(c_.Button16, &QPushButton::clicked, this, &EventChooserController::Button16Click);
    // Only the operator's own choice reloads; selections made by the program do not.
    connect(c_.ComboBox3, &QComboBox::activated, this, &EventChooserController::ComboBox3Change);
    connect(c_.CheckBox1, &QCheckBox::clicked, this, &EventChooserController::CheckBoxClick);
    connect(c_.CheckBox2, &QCheckBox::clicked, this, &EventChooserController::CheckBoxClick);
}

void EventChooserController::Button15Click() {
    QComboBox* chooser = c_.ComboBox3;
    if (chooser->currentIndex() > 0) chooser->setCurrentIndex(chooser->currentIndex() - 1);
    AfterStep();
}

void EventChooserController::Button16Click() {
    QComboBox* chooser = c_.ComboBox3;
    if (chooser->currentIndex() + 1 < chooser->count()) {
        chooser->setCurrentIndex(chooser->currentIndex() + 1);
    }
    AfterStep();
}

void EventChooserController::AfterStep() {
    if (c_.CheckBox1->isChecked()) ops_.LoadAndShowRound();
    const int row = c_.ComboBox3->currentIndex();
    if (ResultLinkChecked() && row >= 0 && row < kEventRows) {
        ops_.SelectResultCategory(s_.EventTable[row].Category());
    }
}

void EventChooserController::ComboBox3Change() {
    if (c_.CheckBox1->isChecked()) ops_.LoadAndShowRound();
}

void EventChooserController::CheckBoxClick() {
    SetTextColor(c_.CheckBox1, c_.CheckBox1->isChecked() ? QColor(255, 0, 0) : QColor(0, 0, 255));
    if (c_.CheckBox1->isChecked()) ops_.LoadAndShowRound();
}

void EventChooserController::ShowEvents() {
    c_.ComboBox3->clear();
    for (int i = 0; i < s_.EventCount && i < kEventRows; ++i) {
        c_.ComboBox3->addItem(FromCp932(s_.EventNames[i]));
    }
    c_.ComboBox3->setCurrentIndex(c_.ComboBox3->count() > 0 ? 0 : -1);
}

bool EventChooserController::ResultLinkChecked() const { return c_.CheckBox2->isChecked(); }
