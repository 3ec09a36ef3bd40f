#include "core/competition/progress.h"

#include <algorithm>

#include "core/competition/round_names.h"
#include "core/data/heat_files.h"

namespace {

constexpr std::array<int, 5> kStandardOrder{0, 1, 2, 3, 4};
constexpr std::array<int, 5> kLatinOrder{5, 6, 7, 8, 9};
constexpr std::array<int, 10> kTeamOrder{5, 6, 7, 8, 9, 0, 1, 2, 3, 4};

bool ShuffledWithFloorB(const Competition& s) {
    return s.ShuffledHeats != 0 && s.FloorBRowsLoaded > 0;
}

// The row counts of a load are 0 when a file is missing; stepping treats them as 1.
void SettleHeatCount(Competition& s) {
    if (s.HeatsPerDance <= 0) s.HeatsPerDance = 1;
    if (s.HeatRowsA <= 0) s.HeatRowsA = 1;
    if (s.HeatRowsB <= 0) s.HeatRowsB = 1;
    s.HeatCount = std::max(s.HeatRowsA, s.HeatRowsB);
    // Floor B's heats are danced again in every dance block of a shuffled floor A.
    if (ShuffledWithFloorB(s)) {
        s.HeatCount = std::max(s.HeatRowsA, StepsPerDance(s) * std::max(s.DanceCount, 1));
    }
}

}  // namespace

DanceMarks PlanRoundDances(Competition& s, int category, int round) {
    DanceMarks marks;
    for (int k = 0; k < 5; ++k) s.RoundDances[k].clear();
    const int row = ZeroBasedIndex(category);
    if (row < 0 || row >= kCategoryRows) return marks;
    const auto& firstRounds = s.CategoryDanceRounds[row];
    const auto danced = [&](int position) { return firstRounds[position] <= round; };
    const auto& names = DanceNames();

    if (category == kTeamMatchCategory) {
        int k = 0;
        for (int position : kTeamOrder) {
            if (!danced(position)) continue;
            // Only five slots on the team panel; later dances are danced but not marked.
            if (k < static_cast<int>(marks.teamSlotMarked.size())) marks.teamSlotMarked[k] = true;
            s.RoundDances[k] = names[position];
            ++k;
        }
        if (k > 0) {
            marks.teamCount = k;
            marks.teamShown = true;
            marks.danceCount = k;
        }
        return marks;
    }

    // Standard first, then latin from slot 0 again: a category with both groups keeps the latin
    // dances in RoundDances and steps through as many dances as it has latin ones.
    const auto markGroup = [&](const std::array<int, 5>& order) {
        int k = 0;
        for (int position : order) {
            if (!danced(position)) continue;
            marks.letterMarked[position] = true;
            s.RoundDances[k] = names[position];
            ++k;
        }
        return k;
    };
    if (const int k = markGroup(kStandardOrder); k > 0) {
        marks.standardCount = k;
        marks.standardShown = true;
        marks.danceCount = k;
    }
    if (const int k = markGroup(kLatinOrder); k > 0) {
        marks.latinCount = k;
        marks.latinShown = true;
        marks.danceCount = k;
    }
    return marks;
}

int RoundDanceCount(const ConfigTables& s, int category, int round) {
    const int row = ZeroBasedIndex(category);
    if (row < 0 || row >= kCategoryRows) return 1;
    const auto& firstRounds = s.CategoryDanceRounds[row];
    const auto count = [&](int from, int to) {
        int n = 0;
        for (int position = from; position < to; ++position) n += firstRounds[position] <= round;
        return n;
    };
    const int standard = count(0, 5);
    const int latin = count(5, kDances);
    // As PlanRoundDances: the team match dances all of them; otherwise latin wins over standard.
    if (category == kTeamMatchCategory) return std::max(standard + latin, 1);
    return latin > 0 ? latin : std::max(standard, 1);
}

RoundLoad LoadRound(Competition& s) {
    RoundLoad load;
    if (s.CurrentEventIndex < 0) return load;
    const EventRecord event = s.CurrentEvent();
    s.HeatIndex = 0;
    load.marks = PlanRoundDances(s, event.Category(), event.Round());
    s.RoundMarks = load.marks;
    LoadHeatFiles(s.DataFolder, s.Config.Mod, event, load.marks.danceCount, s);
    s.HeatIndex = -1;
    s.DanceCount = load.marks.danceCount;
    s.DanceIndex = 0;
    NextHeat(s);
    s.LastDance = 0;
    load.loaded = true;
    load.rowsDropped = s.HeatRowsDropped;
    return load;
}

HeatPosition CurrentHeatPosition(const Competition& s) {
    return {.heatIndex = s.HeatIndex, .danceIndex = s.DanceIndex, .lastDance = s.LastDance};
}

bool RestoreHeatPosition(Competition& s, const HeatPosition& position) {
    SettleHeatCount(s);
    if (position.heatIndex < 0 || position.heatIndex >= s.HeatCount) return false;
    if (position.danceIndex < 0 || position.danceIndex >= std::max(s.DanceCount, 1)) return false;
    s.HeatIndex = position.heatIndex;
    s.DanceIndex = position.danceIndex;
    s.LastDance = position.lastDance != 0 ? 1 : 0;
    return true;
}

HeatStepResult NextHeat(Competition& s) {
    HeatStepResult step;
    SettleHeatCount(s);
    if (s.HeatIndex + 1 < s.HeatCount) {
        s.HeatIndex = std::max(s.HeatIndex + 1, 0);
        // A shuffled file holds one block of heats per dance: entering the first step of a block
        // enters the next dance, so DanceIndex stays HeatIndex / StepsPerDance.
        if (s.ShuffledHeats != 0 && s.HeatIndex > 0 && s.HeatIndex % StepsPerDance(s) == 0) {
            s.DanceIndex = std::min(s.DanceIndex + 1, std::max(s.DanceCount - 1, 0));
        }
    } else {
        s.DanceIndex += 1;
        s.LastDance = s.DanceIndex + 1 >= s.DanceCount ? 1 : 0;
        step.lastDanceChanged = true;
        if (s.DanceIndex + 1 > s.DanceCount) {
            s.DanceIndex = std::max(s.DanceCount - 1, 0);
            return step;
        }
        s.HeatIndex = 0;
    }
    step.redraw = true;
    return step;
}

void WithNextHeat(Competition& s, const std::function<void()>& look) {
    // What NextHeat and the count it settles first may move.
    const std::array<int, 7> kept = {s.HeatIndex,     s.HeatCount, s.DanceIndex, s.LastDance,
                                     s.HeatsPerDance, s.HeatRowsA, s.HeatRowsB};
    if (NextHeat(s).redraw) look();
    s.HeatIndex = kept[0];
    s.HeatCount = kept[1];
    s.DanceIndex = kept[2];
    s.LastDance = kept[3];
    s.HeatsPerDance = kept[4];
    s.HeatRowsA = kept[5];
    s.HeatRowsB = kept[6];
}

HeatStepResult PreviousHeat(Competition& s) {
    HeatStepResult step;
    SettleHeatCount(s);
    if (s.HeatIndex > 0) {
        // The award sequence reuses HeatIndex as its step counter and may leave it past the
        // round's heats: step back from the last heat then.
        s.HeatIndex = std::min(s.HeatIndex, s.HeatCount) - 1;
        if (s.ShuffledHeats != 0 && (s.HeatIndex + 1) % StepsPerDance(s) == 0 && s.DanceIndex > 0) {
            s.DanceIndex -= 1;
        }
        step.redraw = true;
    } else if (s.DanceIndex > 0) {
        s.DanceIndex -= 1;
        s.HeatIndex = s.HeatCount - 1;
        s.LastDance = s.DanceIndex + 1 == s.DanceCount ? 1 : 0;
        step.lastDanceChanged = true;
        step.redraw = true;
    }
    return step;
}

int StepsPerDance(const Competition& s) {
    const int perDance = std::max(s.HeatsPerDance, 1);
    return ShuffledWithFloorB(s) ? std::max(perDance, s.FloorBRowsLoaded) : perDance;
}

int HeatOfStep(const Competition& s, int step) {
    return s.ShuffledHeats != 0 ? step % StepsPerDance(s) : step;
}

int FloorARow(const Competition& s, int step) {
    if (step < 0) return -1;
    int row = step;
    if (s.ShuffledHeats != 0) {
        // Dance d's heats are rows d x HeatsPerDance on; steps past them dance on floor B only.
        const int perDance = std::max(s.HeatsPerDance, 1);
        const int heat = HeatOfStep(s, step);
        if (heat >= perDance) return -1;
        row = step / StepsPerDance(s) * perDance + heat;
    }
    // The stepping raises a missing floor's count to 1: only the rows the file gave count.
    return row < s.FloorARowsLoaded ? row : -1;
}

int FloorBRow(const Competition& s, int step) {
    if (step < 0) return -1;
    const int heat = HeatOfStep(s, step);
    return heat < s.FloorBRowsLoaded ? s.FloorBFirstRow + heat : -1;
}

std::string HeatsFigure(const Competition& s) { return HeatsFigure(std::to_string(s.HeatCount)); }
