#pragma once
// Progress control of a round: which dances it has, loading its heats, and stepping heat by heat
// and dance by dance. These functions change the competition state only; they return what the
// console has to show or redraw.

#include <array>
#include <functional>
#include <string>

#include "core/competition/competition_state.h"

inline constexpr int kTeamMatchCategory = 5;

// Works out the dances of round `round` of category number `category` (1-based) from
// CategoryDanceRounds and writes their names into RoundDances. A category outside the table
// dances nothing, which counts as one dance.
DanceMarks PlanRoundDances(Competition& s, int category, int round);
// The dances PlanRoundDances would step through for that round (its danceCount), without
// touching the state: for the estimates of rounds not yet loaded.
int RoundDanceCount(const ConfigTables& s, int category, int round);

struct RoundLoad {
    bool loaded = false;  // false when no event is current: nothing changed
    DanceMarks marks;
    int rowsDropped = 0;  // heat-file lines the 50-row table had no room for
};

// Loads the round of the current event: its dances, its heat files, and makes heat 0 of dance 0
// current with LastDance off. When loaded, the console shows the marks, the shuffle label from
// ShuffledHeats, HeatsFigure on Label18, LastDance on Label29 and draws the heat view.
RoundLoad LoadRound(Competition& s);

struct HeatStepResult {
    bool redraw = false;            // the heat view must be drawn (NextHeat: and Label18)
    bool lastDanceChanged = false;  // LastDance was set: show it again on Label29
};

// Next heat; after the last heat of a dance, heat 0 of the next dance. At the last heat of the
// last dance nothing moves.
HeatStepResult NextHeat(Competition& s);
// Previous heat; at a dance's first heat, the last heat of the previous dance; stays at (0, 0).
HeatStepResult PreviousHeat(Competition& s);

// Runs `look` with the state one heat further on, as NextHeat moves it, when that step would
// draw; every field the step moves is put back afterwards. For a picture drawn ahead.
void WithNextHeat(Competition& s, const std::function<void()>& look);

// Heat steps of one dance. A shuffled floor A is stepped once through all its dance blocks, one
// block per dance; with a floor B beside it a dance takes as many steps as the floor with more
// heats, so neither floor's heats are cut short.
int StepsPerDance(const Competition& s);
// The heat number (0-based) within its dance of heat step `step`.
int HeatOfStep(const Competition& s, int step);
// HeatTable rows of floor A's and floor B's heat at heat step `step` of the loaded round; -1 where
// that floor dances no heat (its file is shorter, missing, or cut off by the table).
int FloorARow(const Competition& s, int step);
int FloorBRow(const Competition& s, int step);

// Where the stepping stands in the loaded round: the heat step, the dance and the last-dance flag.
struct HeatPosition {
    int heatIndex = 0;
    int danceIndex = 0;
    int lastDance = 0;
};
HeatPosition CurrentHeatPosition(const Competition& s);
// Puts the stepping back at `position` when the loaded round still has that heat step and that
// dance (a round read again after a hold); false, and nothing changed, when it has not.
bool RestoreHeatPosition(Competition& s, const HeatPosition& position);

// The heats figure of Label18 for the loaded round: HeatsFigure of HeatCount.
std::string HeatsFigure(const Competition& s);
