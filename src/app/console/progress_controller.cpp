#include "app/console/progress_controller.h"

#include <QGroupBox>
#include <QLabel>

#include "app/widgets/indicator_label.h"
#include "app/widgets/label_looks.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/competition/view_types.h"
#include "core/platform/cp932.h"

ProgressController::ProgressController(const ProgressControls& controls, const Competition& state,
                                       OperatorCommands& commands, QObject* parent)
    : QObject(parent), c_(controls), s_(state), commands_(commands) {
    connect(c_.BitBtn5, &QPushButton::clicked, this, &ProgressController::BitBtn5Click);
    connect(c_.BitBtn28, &PictureButton::mouseDown, this, &ProgressController::BitBtn28MouseDown);
    connect(c_.Button20, &QPushButton::clicked, this, &ProgressController::Button20Click);
    connect(c_.Button1, &QPushButton::clicked, this, &ProgressController::Button1Click);
    connect(&commands_.Notifier(), &StateNotifier::changed, this,
            &ProgressController::StateChanged);
}

void ProgressController::BitBtn5Click() { commands_.Heat(); }

void ProgressController::BitBtn28MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        commands_.HeatStep(button == Qt::LeftButton);
    }
}

void ProgressController::Button20Click() { commands_.ToggleLastDance(); }

void ProgressController::Button1Click() { commands_.ToggleDanceName(); }

void ProgressController::StateChanged(StateChanges what) {
    if (what.testFlag(StateChange::ProgrammeItem)) ShowItem();
    if (what.testFlag(StateChange::Round)) ShowRoundLoad();
    if (what.testFlag(StateChange::View) && s_.CurrentView == kViewHeat) ShowHeatPosition();
    if (what.testFlag(StateChange::HeatsFigure)) ShowHeatsFigure();
    if (what.testFlag(StateChange::RoundShuffle)) ShowShuffleLabel();
    if (what.testFlag(StateChange::LastDanceFlag)) ShowIndicator(c_.Label29, s_.LastDance);
    if (what.testFlag(StateChange::DanceNameFlag)) ShowIndicator(c_.Label91, s_.DanceNameShown);
}

void ProgressController::ShowItem() {
    const ProgrammeItemLabels l = ProgrammeItemLabelsOf(s_);
    if (!l.shown) return;
    for (const auto& [label, text] : ItemTexts(l)) label->setText(text);
    for (QLabel* w : {c_.Label71, c_.Label72, c_.Label73, c_.Label68}) w->setVisible(l.secondFloor);
    c_.GroupBox2->setVisible(l.groupsShown);
    c_.GroupBox3->setVisible(l.groupsShown);
}

std::vector<std::pair<QLabel*, QString>> ProgressController::ItemTexts(
    const ProgrammeItemLabels& l) const {
    std::vector<std::pair<QLabel*, QString>> texts;
    const std::pair<QLabel*, const std::string*> items[] = {
        {c_.Label70, &l.label70}, {c_.Label71, &l.label71}, {c_.Label68, &l.label68},
        {c_.Label67, &l.label67}, {c_.Label8, &l.label8},   {c_.Label4, &l.label4},
        {c_.Label9, &l.label9},   {c_.Label18, &l.label18}, {c_.Label10, &l.label10},
        {c_.Label11, &l.label11}, {c_.Label26, &l.label26}, {c_.Label12, &l.label12},
        {c_.Label13, &l.label13}};
    // The group boxes' texts are valid only while the boxes are shown.
    for (const auto& [label, text] : items) {
        if (texts.size() == 4 && !l.groupsShown) break;
        texts.emplace_back(label, FromCp932(*text));
    }
    return texts;
}

void ProgressController::ShowRoundLoad() {
    c_.Label5->setText(QStringLiteral("1"));
    const QColor plain = BackgroundOf(c_.GroupBox5);
    const QColor marked(255, 255, 0);
    const DanceMarks& m = s_.RoundMarks;
    for (int d = 0; d < kDances; ++d) {
        QLabel* letter = c_.danceLetters[d];
        SetColors(letter, m.letterMarked[d] ? marked : plain,
                  letter->palette().color(QPalette::WindowText));
    }
    for (int k = 0; k < 5; ++k) {
        QLabel* slot = c_.teamSlots[k];
        SetColors(slot, m.teamSlotMarked[k] ? marked : plain,
                  slot->palette().color(QPalette::WindowText));
    }
    // Each box set once: one that stays is not hidden and shown again, which repaints it whole.
    if (m.standardShown) c_.Label48->setText(QString::number(m.standardCount));
    if (m.latinShown) c_.Label55->setText(QString::number(m.latinCount));
    if (m.teamShown) c_.Label108->setText(QString::number(m.teamCount));
    c_.GroupBox5->setVisible(m.standardShown);
    c_.GroupBox6->setVisible(m.latinShown);
    c_.GroupBox8->setVisible(m.teamShown);
    ShowShuffleLabel();
    ShowHeatsFigure();
}

void ProgressController::ShowHeatPosition() {
    c_.Label5->setText(QString::number(s_.HeatIndex + 1));
    c_.Label92->setText(QString::number(s_.DanceIndex + 1));
}

void ProgressController::ShowHeatsFigure() { c_.Label18->setText(FromCp932(HeatsFigure(s_))); }

void ProgressController::PaintAhead(const Competition& next, LabelLooks& looks) const {
    if (next.CurrentProgrammeIndex != s_.CurrentProgrammeIndex) {
        const ProgrammeItemLabels l = ProgrammeItemLabelsOf(next);
        if (l.shown) {
            for (const auto& [label, text] : ItemTexts(l)) looks.Prepare(label, text);
        }
    }
    looks.Prepare(c_.Label5, QString::number(next.HeatIndex + 1));
    looks.Prepare(c_.Label92, QString::number(next.DanceIndex + 1));
    looks.Prepare(c_.Label18, FromCp932(HeatsFigure(next)));
}

void ProgressController::ShowShuffleLabel() { c_.Label31->setVisible(s_.CurrentRoundShuffled); }
