#pragma once
// "When do I dance": a couple's next heat by back number, from the heat files drawn so far and the
// day's estimate. Rounds not drawn yet give their item's estimated start.

#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/competition/estimates.h"

// The heats of one event as drawn: floor A's and floor B's heats in dancing order, full back
// numbers (0 is an empty place). A shuffled floor A holds one block of heatsPerDance heats per
// dance; a plain one dances the same heats in every dance.
struct DrawnHeats {
    int event = -1;  // row of EventTable
    std::vector<HeatRow> floorA;
    std::vector<HeatRow> floorB;
    int heatsPerDance = 0;  // floor A's heats in one dance
    bool shuffled = false;

    bool Drawn() const { return !floorA.empty() || !floorB.empty(); }
    // Heat steps of one dance: the floor with more heats sets them.
    int StepsPerDance() const;
    // The back number dances heat step `step` on floor A (1) or floor B (2); 0 when it does not.
    int FloorOf(int backNumber, int step) const;
    // The rows that dance heat step `step`: floor A's and floor B's, null where a floor has none.
    std::pair<const HeatRow*, const HeatRow*> RowsOf(int step) const;
    // The back number appears in floor A's (false) or floor B's (true) heats.
    bool Lists(int backNumber, bool floorB) const;
};

// The heat files of event `event` in s.DataFolder, read through the round's heat loader with
// full back numbers (no modulo). Empty floors when the round is not drawn yet.
DrawnHeats ReadDrawnHeats(const Competition& s, int event);

struct CoupleHeat {
    enum class Status {
        Heat,    // the couple is in a drawn heat: dance, heat and its estimated start
        Round,   // a later round of its category is not drawn yet: the item's estimated start
        NoHeat,  // the back number is in no heat still to come
    };
    Status status = Status::NoHeat;
    int item = -1;
    int event = -1;
    bool floorB = false;
    int dance = 0;  // 0-based dance of the round
    int heat = 0;   // 1-based heat within the dance
    int start = 0;  // seconds since midnight
};

// The next heat of `backNumber` from now on, along the day's items: the first drawn heat still to
// come that lists it, or the first undrawn round of a category it danced in and was not left out
// of (a drawn round before the final without it ends the category for it; the final and the lower
// final are alternatives). `drawn` holds the events whose heat files are known, in any order.
CoupleHeat NextHeatOf(const Competition& s, const DayEstimate& day,
                      const std::vector<DrawnHeats>& drawn, int backNumber);

// The same for many back numbers: the drawn heats are gone through once, then each number is
// answered without going through them again (every couple of a day in a few milliseconds).
class CoupleHeatIndex {
  public:
    CoupleHeatIndex(const Competition& s, const DayEstimate& day,
                    const std::vector<DrawnHeats>& drawn);
    CoupleHeat Next(int backNumber) const;

  private:
    struct DrawnEvent {
        const DrawnHeats* heats = nullptr;
        std::unordered_set<int> onA, onB;  // the back numbers each floor lists
    };
    struct FirstStep {
        int step = 0;
        bool floorB = false;
        int at = 0;
    };
    const Competition& s_;
    const DayEstimate& day_;
    std::map<int, DrawnEvent> byEvent_;
    // By item of the day (its place in day.items): each listed number's first step still to come.
    std::vector<std::unordered_map<int, FirstStep>> firstSteps_;
};
