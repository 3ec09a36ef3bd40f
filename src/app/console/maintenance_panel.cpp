#include "app/console/maintenance_panel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/console/console_hooks.h"
#include "app/widgets/picture_button.h"
#include "core/data/display_config_file.h"
#include "core/display/view_types.h"
#include "core/platform/cp932.h"
#include "core/platform/text_utils.h"

MaintenancePanel::MaintenancePanel(const MaintenanceControls& controls, Competition& state,
                                   ConsoleOperations& ops, OperatorCommands& commands,
                                   QObject* parent)
    : QObject(parent), c_(controls), s_(state), ops_(ops), commands_(commands) {
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
    DisplayConfig& config = s_.Config;
    const std::string text = ToCp932(edit->text());
    for (int i = 0; i < 3; ++i) {
        if (edit == c_.topTitles[i]) {
            config.TopTitleLines[i] = text;
            ops_.RedrawTitleBanner();
            return true;
        }
        if (edit == c_.welcomeTitles[i]) {
            config.WelcomeTitleLines[i] = text;
            ops_.ShowView(kViewWelcome);
            return true;
        }
    }
    int value = 0;
    if (edit == c_.Edit10) {
        config.TitleFont = text;
        ops_.ShowView(kViewWelcome);
    } else if (edit == c_.Edit11) {
        config.TopFont = text;
        ops_.RedrawTitleBanner();
    } else if (edit == c_.Edit13) {
        config.MsgFont = text;
        ops_.RedrawTitleBanner();
    } else if (edit == c_.Edit2) {
        // The Data Font shows in the headers: redraw whatever is up.
        config.DataFont = text;
        ops_.ShowView(s_.CurrentView);
    } else if (edit == c_.Edit12) {
        config.BaseColor = ApplyHexColor(text);
        ops_.ShowView(kViewClean);
    } else if (edit == c_.Edit1) {
        if (ReadInteger(c_.Edit1, value)) {
            config.ScreenLeft = value;
            ops_.MoveAudienceWindow();
        }
    } else if (edit == c_.Edit3) {
        if (ReadInteger(c_.Edit3, value)) {
            config.ScreenTop = value;
            ops_.MoveAudienceWindow();
        }
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
    s_.Config.TopFont = ToCp932(c_.Edit11->text());
    s_.Config.TitleFont = ToCp932(c_.Edit10->text());
    s_.Config.MsgFont = ToCp932(c_.Edit13->text());
    s_.Config.DataFont = ToCp932(c_.Edit2->text());
}

void MaintenancePanel::TakeOverTitleFields() {
    for (int i = 0; i < 3; ++i) {
        s_.Config.TopTitleLines[i] = TrimBlanks(ToCp932(c_.topTitles[i]->text()));
        s_.Config.WelcomeTitleLines[i] = TrimBlanks(ToCp932(c_.welcomeTitles[i]->text()));
    }
}

namespace {

// A nudge stops at the ends of the int range: the field and Conf.txt can hold 2147483647.
int Nudged(int value, int delta) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{value} + delta, INT_MIN, INT_MAX));
}

}  // namespace

void MaintenancePanel::MoveLeft(int delta) {
    s_.Config.ScreenLeft = Nudged(s_.Config.ScreenLeft, delta);
    c_.Edit1->setText(QString::number(s_.Config.ScreenLeft));
    ops_.MoveAudienceWindow();
}

void MaintenancePanel::MoveTop(int delta) {
    s_.Config.ScreenTop = Nudged(s_.Config.ScreenTop, delta);
    c_.Edit3->setText(QString::number(s_.Config.ScreenTop));
    ops_.MoveAudienceWindow();
}

void MaintenancePanel::Button26Click() { MoveLeft(-1); }
void MaintenancePanel::Button27Click() { MoveLeft(1); }
void MaintenancePanel::Button28Click() { MoveTop(-1); }
void MaintenancePanel::Button29Click() { MoveTop(1); }
