#include "app/console/progress_controller.h"

#include "core/competition/progress.h"
#include "core/display/view_types.h"
#include "core/platform/cp932.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/widget_colors.h"

ProgressController::ProgressController(DspMain& console) : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    connect(ui.BitBtn5, &QPushButton::clicked, this, &ProgressController::BitBtn5Click);
    connect(ui.BitBtn28, &PictureButton::mouseDown, this, &ProgressController::BitBtn28MouseDown);
    connect(ui.Button20, &QPushButton::clicked, this, &ProgressController::Button20Click);
    connect(ui.Button1, &QPushButton::clicked, this, &ProgressController::Button1Click);
}

void ProgressController::BitBtn5Click() {
    console_.HighlightViewLabel(console_.form().Label78);
    console_.LoadRound();
}

void ProgressController::BitBtn28MouseDown(Qt::MouseButton button) {
    Competition& s = console_.state();
    if (s.CurrentView != kViewHeat) return;
    HeatStep step;
    if (button == Qt::LeftButton) {
        step = NextHeat(s);
    } else if (button == Qt::RightButton) {
        step = PreviousHeat(s);
    } else {
        return;
    }
    Ui::DspMain& ui = console_.form();
    if (step.lastDanceChanged) console_.ShowIndicator(ui.Label29, s.LastDance);
    if (step.redraw) {
        // Only the forward step rewrites the heats figure; a step back leaves the label as it is.
        if (button == Qt::LeftButton) ui.Label18->setText(FromCp932(HeatsFigure(s)));
        console_.RenderView(kViewHeat);
    }
}

void ProgressController::Button20Click() {
    console_.ToggleIndicator(console_.state().LastDance, console_.form().Label29);
}

void ProgressController::Button1Click() {
    console_.ToggleIndicator(console_.state().DanceNameShown, console_.form().Label91);
    console_.RenderView(kViewHeat);
}

void ProgressController::ShowRoundLoad(const RoundLoad& load) {
    if (!load.loaded) return;
    Ui::DspMain& ui = console_.form();
    Competition& s = console_.state();
    ui.Label5->setText(QStringLiteral("1"));
    ui.GroupBox5->hide();
    ui.GroupBox6->hide();
    ui.GroupBox8->hide();
    QLabel* const letters[kDances] = {ui.Label41, ui.Label42, ui.Label45, ui.Label46, ui.Label47,
                                      ui.Label50, ui.Label51, ui.Label52, ui.Label53, ui.Label54};
    QLabel* const team[5] = {ui.Label103, ui.Label104, ui.Label105, ui.Label106, ui.Label107};
    const QColor plain = BackgroundOf(ui.GroupBox5);
    const QColor marked(255, 255, 0);
    const DanceMarks& m = load.marks;
    for (int d = 0; d < kDances; ++d) {
        SetColors(letters[d], m.letterMarked[d] ? marked : plain,
                  letters[d]->palette().color(QPalette::WindowText));
    }
    for (int k = 0; k < 5; ++k) {
        SetColors(team[k], m.teamSlotMarked[k] ? marked : plain,
                  team[k]->palette().color(QPalette::WindowText));
    }
    if (m.standardShown) {
        ui.Label48->setText(QString::number(m.standardCount));
        ui.GroupBox5->show();
    }
    if (m.latinShown) {
        ui.Label55->setText(QString::number(m.latinCount));
        ui.GroupBox6->show();
    }
    if (m.teamShown) {
        ui.Label108->setText(QString::number(m.teamCount));
        ui.GroupBox8->show();
    }
    ui.Label31->setVisible(s.ShuffledHeats == 1);
    ui.Label18->setText(FromCp932(HeatsFigure(s)));
    console_.RenderView(kViewHeat);
    ui.Memo1->clear();
    console_.ShowIndicator(ui.Label29, s.LastDance);
}
