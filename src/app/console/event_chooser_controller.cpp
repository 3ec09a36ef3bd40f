#include "app/console/event_chooser_controller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/widgets/widget_colors.h"
#include "core/platform/cp932.h"

EventChooserController::EventChooserController(const EventChooserControls& controls,
                                               const Competition& state, OperatorCommands& commands,
                                               SettingsCommands& settings, QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands), settings_(settings) {
    connect(c_.Button15, &QPushButton::clicked, this, &EventChooserController::Button15Click);
    connect(c_.Button16, &QPushButton::clicked, this, &EventChooserController::Button16Click);
    // Only the operator's own choice reloads; selections made by the program do not.
    connect(c_.ComboBox3, &QComboBox::activated, this, &EventChooserController::ComboBox3Change);
    connect(c_.CheckBox1, &QCheckBox::clicked, this, &EventChooserController::CheckBoxClick);
    connect(c_.CheckBox2, &QCheckBox::clicked, this, &EventChooserController::CheckBoxClick);
    // The link is kept with its switch, whatever turns it.
    const auto keepLink = [this] { settings_.ChooseResultLink(c_.CheckBox2->isChecked()); };
    connect(c_.CheckBox2, &QCheckBox::toggled, this, keepLink);
    keepLink();
    connect(&commands_.Notifier(), &StateNotifier::changed, this, [this](StateChanges what) {
        if (what.testFlag(StateChange::Events)) ShowEvents();
    });
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
    if (c_.CheckBox1->isChecked()) commands_.Heat();
    const int row = c_.ComboBox3->currentIndex();
    if (c_.CheckBox2->isChecked() && row >= 0 && row < kEventRows) {
        settings_.FollowEventCategory(s_.EventTable[row].Category());
    }
}

void EventChooserController::ComboBox3Change() {
    if (c_.CheckBox1->isChecked()) commands_.Heat();
}

void EventChooserController::CheckBoxClick() {
    SetTextColor(c_.CheckBox1, c_.CheckBox1->isChecked() ? QColor(255, 0, 0) : QColor(0, 0, 255));
    if (c_.CheckBox1->isChecked()) commands_.Heat();
}

void EventChooserController::ShowEvents() {
    c_.ComboBox3->clear();
    for (int i = 0; i < s_.EventCount && i < kEventRows; ++i) {
        c_.ComboBox3->addItem(FromCp932(s_.EventNames[i]));
    }
    c_.ComboBox3->setCurrentIndex(c_.ComboBox3->count() > 0 ? 0 : -1);
}
