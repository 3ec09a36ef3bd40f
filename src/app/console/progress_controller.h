#pragma once
// The progress control panel: the current programme item's floors, categories, rounds and
// figures, loading the round, stepping heats and dances, and the "Last D ?" and "Dance D ?"
// switches with their indicators. It shows the state as the commands announce its changes.

#include <QObject>
#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "app/console/operator_commands.h"
#include "core/competition/programme_item.h"

class LabelLooks;
class PictureButton;
class QGroupBox;
class QLabel;
class QPushButton;

struct ProgressControls {
    PictureButton* BitBtn5;   // Heat
    PictureButton* BitBtn28;  // heat step
    QPushButton* Button20;    // Last D ?
    QPushButton* Button1;     // Dance D ?
    QLabel* Label29;          // LastDance
    QLabel* Label91;          // DanceNameShown
    // The current item: floors, codes, rounds, heats and survivors.
    QLabel *Label70, *Label71, *Label72, *Label73, *Label67, *Label68;
    QGroupBox *GroupBox2, *GroupBox3;
    QLabel *Label8, *Label4, *Label9, *Label18, *Label10, *Label11, *Label26, *Label12, *Label13;
    QLabel* Label5;   // heat
    QLabel* Label92;  // dance
    QLabel* Label31;  // shuffled heats
    // The round's dances.
    QGroupBox *GroupBox5, *GroupBox6, *GroupBox8;
    std::array<QLabel*, 10> danceLetters;  // Label41 ... Label54, positions W T V F Q S C R P J
    std::array<QLabel*, 5> teamSlots;      // Label103 ... Label107
    QLabel *Label48, *Label55, *Label108;  // dance counts
};

class ProgressController : public QObject {
    Q_OBJECT
  public:
    ProgressController(const ProgressControls& controls, const Competition& state,
                       OperatorCommands& commands, QObject* parent);

    void BitBtn5Click();
    void BitBtn28MouseDown(Qt::MouseButton button);
    void Button20Click();
    void Button1Click();
    // Paints ahead the heat's and the dance's numbers and the heats figure as a step to `next`
    // shows them.
    void PaintAhead(const Competition& next, LabelLooks& looks) const;

  private:
    void StateChanged(StateChanges what);
    void ShowItem();
    // The item panel's labels and their texts for `l` (those of the group boxes when shown).
    std::vector<std::pair<QLabel*, QString>> ItemTexts(const ProgrammeItemLabels& l) const;
    // A round just loaded: its dance panels, the shuffle label and the heat figures.
    void ShowRoundLoad();
    void ShowHeatPosition();
    void ShowHeatsFigure();
    void ShowShuffleLabel();

    ProgressControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
};
