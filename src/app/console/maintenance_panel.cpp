#include "app/console/maintenance_panel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/console/console_hooks.h"
#include "app/widgets/picture_button.h"
#include "core/platform/cp932.h"

MaintenancePanel::MaintenancePanel(const MaintenanceControls& controls, const Competition& state,
                                   OperatorCommands& commands, SettingsCommands& settings,
                                   QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands), settings_(settings) {
    connect(c_.BitBtn29, &QPushButton::clicked, this, &MaintenancePanel::BitBtn29Click);
    connect(c_.BitBtn31, &QPushButton::clicked, this, &MaintenancePanel::BitBtn31Click);
    connect(c_.BitBtn19, &QPushButton::clicked, this, &MaintenancePanel::BitBtn19Click);
    connect(c_.Button26, &QPushButton::clicked, this, &MaintenancePanel::Button26Click);
    connect(c_.Button27, &QPushButton::clicked, this, &MaintenancePanel::Button27Click);
    connect(c_.Button28, &QPushButton::clicked, this, &MaintenancePanel::Button28Click);
    connect(c_.Button29, &QPushButton::clicked, this, &MaintenancePanel::Button29Click);
    for (QLineEdit* edit :
         {c_.Edit1, c_.Edit2, c_.Edit3, c_.Edit10, c_.Edit11, c_.Edit12, c_.Edit13}) {
        edit->installEventFilter(this);
    }
    for (int i = 0; i < 3; ++i) {
        c_.topTitles[i]->installEventFilter(this);
        c_.welcomeTitles[i]->installEventFilter(this);
    }
    connect(&commands_.Notifier(), &StateNotifier::changed, this, &MaintenancePanel::StateChanged);
    TakeOverFontFields();
}

void MaintenancePanel::StateChanged(StateChanges what) {
    if (what.testFlag(StateChange::Config)) ShowConfigFields();
    if (what.testFlag(StateChange::ScreenOffsets) && !applying_) ShowOffsets();
    if (what.testFlag(StateChange::TablesReloaded)) {
        TakeOverFontFields();
        TakeOverTitleFields();
        Close();
    }
}

bool MaintenancePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return EditEnter(static_cast<QLineEdit*>(watched));
        }
    }
    return QObject::eventFilter(watched, event);
}

void MaintenancePanel::BitBtn29Click() {
    c_.Panel6->show();
    c_.Panel8->hide();
}

void MaintenancePanel::BitBtn31Click() { Close(); }

void MaintenancePanel::BitBtn19Click() { commands_.DataReset(); }

void MaintenancePanel::Close() {
    c_.Panel6->hide();
    c_.Panel8->show();
}

bool MaintenancePanel::EditEnter(QLineEdit* edit) {
    const std::string text = ToCp932(edit->text());
    for (int i = 0; i < 3; ++i) {
        if (edit == c_.topTitles[i]) {
            settings_.SetTopTitleLine(i, text);
            return true;
        }
        if (edit == c_.welcomeTitles[i]) {
            settings_.SetWelcomeTitleLine(i, text);
            return true;
        }
    }
    const QScopedValueRollback applying(applying_, true);
    int value = 0;
    if (edit == c_.Edit10) {
        settings_.SetTitleFont(text);
    } else if (edit == c_.Edit11) {
        settings_.SetTopFont(text);
    } else if (edit == c_.Edit13) {
        settings_.SetMsgFont(text);
    } else if (edit == c_.Edit2) {
        settings_.SetDataFont(text);
    } else if (edit == c_.Edit12) {
        settings_.SetBaseColor(text);
    } else if (edit == c_.Edit1) {
        if (ReadInteger(c_.Edit1, value)) settings_.SetScreenLeft(value);
    } else if (edit == c_.Edit3) {
        if (ReadInteger(c_.Edit3, value)) settings_.SetScreenTop(value);
    } else {
        return false;
    }
    return true;
}

bool MaintenancePanel::ReadInteger(QLineEdit* edit, int& value) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok, 10);
    if (!ok) {
        // The toolkit's conversion message; nothing changes.
        Hooks().showMessage(QString::fromUtf8("'%1' は整数ではありません").arg(edit->text()),
                            QString::fromUtf8("エラー"));
        return false;
    }
    value = v;
    return true;
}

void MaintenancePanel::ShowConfigFields() {
    c_.Edit1->setText(QString::number(s_.Config.ScreenLeft));
    for (int i = 0; i < 3; ++i) {
        c_.topTitles[i]->setText(FromCp932(s_.Config.TopTitleLines[i]));
        c_.welcomeTitles[i]->setText(FromCp932(s_.Config.WelcomeTitleLines[i]));
    }
}

void MaintenancePanel::ShowOffsets() {
    c_.Edit1->setText(QString::number(s_.Config.ScreenLeft));
    c_.Edit3->setText(QString::number(s_.Config.ScreenTop));
}

void MaintenancePanel::TakeOverFontFields() {
    settings_.TakeOverFonts({.top = ToCp932(c_.Edit11->text()),
                             .title = ToCp932(c_.Edit10->text()),
                             .msg = ToCp932(c_.Edit13->text()),
                             .data = ToCp932(c_.Edit2->text())});
}

void MaintenancePanel::TakeOverTitleFields() {
    std::array<std::string, 3> top;
    std::array<std::string, 3> welcome;
    for (int i = 0; i < 3; ++i) {
        top[i] = ToCp932(c_.topTitles[i]->text());
        welcome[i] = ToCp932(c_.welcomeTitles[i]->text());
    }
    settings_.TakeOverTitleLines(top, welcome);
}

namespace {

// A nudge stops at the ends of the int range: the field and Conf.txt can hold 2147483647.
int Nudged(int value, int delta) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{value} + delta, INT_MIN, INT_MAX));
}

}  // namespace

void MaintenancePanel::MoveLeft(int delta) {
    const QScopedValueRollback applying(applying_, true);
    const int left = Nudged(s_.Config.ScreenLeft, delta);
    c_.Edit1->setText(QString::number(left));
    settings_.SetScreenLeft(left);
}

void MaintenancePanel::MoveTop(int delta) {
    const QScopedValueRollback applying(applying_, true);
    const int top = Nudged(s_.Config.ScreenTop, delta);
    c_.Edit3->setText(QString::number(top));
    settings_.SetScreenTop(top);
}

void MaintenancePanel::Button26Click() { MoveLeft(-1); }
void MaintenancePanel::Button27Click() { MoveLeft(1); }
void MaintenancePanel::Button28Click() { MoveTop(-1); }
void MaintenancePanel::Button29Click() { MoveTop(1); }
