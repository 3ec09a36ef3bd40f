#include "app/console/maintenance_panel.h"

#include <QKeyEvent>

#include "core/display/view_types.h"
#include "core/platform/cp932.h"
#include "app/console/console_hooks.h"
#include "core/data/display_config_file.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"

MaintenancePanel::MaintenancePanel(DspMain& console) : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    connect(ui.BitBtn29, &QPushButton::clicked, this, &MaintenancePanel::BitBtn29Click);
    connect(ui.BitBtn31, &QPushButton::clicked, this, &MaintenancePanel::BitBtn31Click);
    connect(ui.BitBtn19, &QPushButton::clicked, this, &MaintenancePanel::BitBtn19Click);
    connect(ui.Button26, &QPushButton::clicked, this, &MaintenancePanel::Button26Click);
    connect(ui.Button27, &QPushButton::clicked, this, &MaintenancePanel::Button27Click);
    connect(ui.Button28, &QPushButton::clicked, this, &MaintenancePanel::Button28Click);
    connect(ui.Button29, &QPushButton::clicked, this, &MaintenancePanel::Button29Click);
    for (QLineEdit* edit : {ui.Edit1, ui.Edit2, ui.Edit3, ui.Edit4, ui.Edit5, ui.Edit6, ui.Edit7,
                            ui.Edit8, ui.Edit9, ui.Edit10, ui.Edit11, ui.Edit12, ui.Edit13}) {
        edit->installEventFilter(this);
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
    console_.form().Panel6->show();
    console_.form().Panel8->hide();
}

void MaintenancePanel::BitBtn31Click() {
    console_.form().Panel6->hide();
    console_.form().Panel8->show();
}

void MaintenancePanel::BitBtn19Click() { console_.DataReset(); }

bool MaintenancePanel::EditEnter(QLineEdit* edit) {
    Ui::DspMain& ui = console_.form();
    DisplayConfig& config = console_.state().Config;
    const std::string text = ToCp932(edit->text());
    QLineEdit* const top[3] = {ui.Edit4, ui.Edit5, ui.Edit6};
    QLineEdit* const welcome[3] = {ui.Edit7, ui.Edit8, ui.Edit9};
    for (int i = 0; i < 3; ++i) {
        if (edit == top[i]) {
            config.TopTitleLines[i] = text;
            console_.DrawTitleBanner();
            return true;
        }
        if (edit == welcome[i]) {
            config.WelcomeTitleLines[i] = text;
            console_.RenderView(kViewWelcome);
            return true;
        }
    }
    if (edit == ui.Edit10) {
        config.TitleFont = text;
        console_.RenderView(kViewWelcome);
    } else if (edit == ui.Edit11) {
        config.TopFont = text;
        console_.DrawTitleBanner();
    } else if (edit == ui.Edit13) {
        config.MsgFont = text;
        console_.DrawTitleBanner();
    } else if (edit == ui.Edit2) {
        // The Data Font shows in the headers: redraw whatever is up.
        config.DataFont = text;
        console_.RenderView(console_.state().CurrentView);
    } else if (edit == ui.Edit12) {
        config.BaseColor = ApplyHexColor(text);
        console_.RenderView(kViewClean);
    } else if (edit == ui.Edit1) {
        int value = 0;
        if (ReadInteger(ui.Edit1, value)) {
            config.ScreenLeft = value;
            console_.MoveAudienceWindow();
        }
    } else if (edit == ui.Edit3) {
        int value = 0;
        if (ReadInteger(ui.Edit3, value)) {
            config.ScreenTop = value;
            console_.MoveAudienceWindow();
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

void MaintenancePanel::MoveLeft(int delta) {
    DisplayConfig& config = console_.state().Config;
    config.ScreenLeft += delta;
    console_.form().Edit1->setText(QString::number(config.ScreenLeft));
    console_.MoveAudienceWindow();
}

void MaintenancePanel::MoveTop(int delta) {
    DisplayConfig& config = console_.state().Config;
    config.ScreenTop += delta;
    console_.form().Edit3->setText(QString::number(config.ScreenTop));
    console_.MoveAudienceWindow();
}

void MaintenancePanel::Button26Click() { MoveLeft(-1); }
void MaintenancePanel::Button27Click() { MoveLeft(1); }
void MaintenancePanel::Button28Click() { MoveTop(-1); }
void MaintenancePanel::Button29Click() { MoveTop(1); }
