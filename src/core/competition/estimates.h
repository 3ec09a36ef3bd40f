#pragma once
// Start-time estimates of the day: when each programme item from the current one on will start,
// how long it takes and when the day ends. Pure computation on the loaded tables: the time now,
// when the current item began, its heat step and the pace are passed in (PaceTracker learns the
// pace), nothing here reads a clock or a file. Times are seconds since midnight.

#include <optional>
#include <string>
#include <vector>

#include "core/competition/competition_state.h"
#include "core/competition/pace_tracker.h"

// What a programme item is. Competition items come from seqdat.csv; the others are recognised
// from their text.
enum class ItemKind {
    Competition,
    Ceremony,            // 開会式, 閉会式, other 式
    Awards,              // 表彰式
    JudgesIntroduction,  // 審査員紹介
    Demonstration,       // デモンストレーション, エキシビション
    Break,               // 休憩
    Lunch,               // 昼休み, 昼食, ランチ
    Other,
};

struct EstimateSettings {
    int presentationSeconds = 180;  // a final's presentation of the finalists, before its heats
    int changeoverSeconds = 45;     // a competition item's call to the floor, before its heats
    // A span that begins late is shortened, but keeps at least this share of its length (%).
    int lateSpanPercent = 50;
    // Lengths of the items that are not competitions, when their text names no span.
    int ceremonySeconds = 600;
    int awardsSeconds = 900;
    int judgesIntroductionSeconds = 300;
    int demonstrationSeconds = 300;
    int breakSeconds = 600;
    int lunchSeconds = 3000;
    int otherSeconds = 300;

    int DefaultSeconds(ItemKind kind) const;
};

// The kind of a non-competition item from its text (CP932).
ItemKind KindOfText(const std::string& text);
// The kind's name for the pages and their JSON: "competition", "ceremony", "awards", "judges",
// "demonstration", "break", "lunch", "other".
const char* KindName(ItemKind kind);

// A time an item's text names: "昼休み（１２：００～１２：５０）", "12:00-12:50", "表彰式 15:00～",
// "13時30分". Full- and half-width digits and colons; "～", "〜", "~", "-", "−", "－" between
// the two times. end is -1 when the text names a start only.
struct FixedTime {
    int start = -1;
    int end = -1;
};
std::optional<FixedTime> FixedTimeOf(const std::string& text);

struct ItemEstimate {
    int item = 0;  // programme item
    ItemKind kind = ItemKind::Other;
    int event = -1;  // a competition item's row of EventTable (-1 for the others)
    int start = 0;
    int length = 0;
    bool fixed = false;          // the text names a time: it starts no earlier than that
    bool defaultLength = false;  // the length is the kind's default, not worked out
    // Competition items: the heat steps of the round (heats x dances, the larger floor), the
    // first step still to come with the time it begins (later steps follow at the pace), and for
    // the current item the step on the floor now with the time it began (-1: none).
    int dances = 0;
    int heatSteps = 0;
    int nextStep = 0;
    int nextStepAt = 0;
    int onFloorStep = -1;
    int onFloorAt = -1;

    int End() const { return start + length; }
    // When heat step `step` (0-based) begins; -1 for a step already danced.
    int StepAt(int step, int secondsPerHeat) const {
        if (step == onFloorStep) return onFloorAt;
        if (step < nextStep) return -1;
        return nextStepAt + (step - nextStep) * secondsPerHeat;
    }
};

// Where the day stands.
struct LiveProgress {
    int now = 0;
    int currentItem = 0;       // CurrentProgrammeIndex
    int currentStartedAt = 0;  // when it became current
    // The current round's heat step shown (0-based) and when the operator stepped to it; -1 while
    // the first heat is shown as loaded and not stepped to.
    int heatStep = -1;
    int heatStepAt = -1;
    int secondsPerHeat = 100;    // PaceTracker::SecondsPerHeat
    int changeoverSeconds = -1;  // PaceTracker::ChangeoverSeconds; -1: the settings' figure
};

struct DayEstimate {
    std::vector<ItemEstimate> items;  // from the current item to the last one
    int end = 0;                      // the end of the last item
    int secondsPerHeat = 0;

    // The estimate of programme item `item`, nullptr when it is not in the list.
    const ItemEstimate* Find(int item) const;
};

// The event a programme item runs: -1 for a non-competition item, a code starting with "X" (it
// carries on an event already counted) or a code seqdat.csv does not know; these take the
// default length of their kind (Other).
int EventOfItem(const Competition& s, int item);

// Estimates every item from live.currentItem on. The current item starts when it became current;
// while its heats are stepped it ends after the heats left at the pace, never before now. The
// following ones start one after the other, an item with a time in its text no earlier than that
// time, and what follows a span no earlier than its end (a span begun late keeps lateSpanPercent
// of its length).
DayEstimate EstimateDay(const Competition& s, const LiveProgress& live,
                        const EstimateSettings& settings = {});

// The heat step of the loaded round as the console steps it, for LiveProgress::heatStep.
int CurrentHeatStep(const Competition& s);

// LiveProgress as the console holds it: CurrentProgrammeIndex and when it became current; the
// heat step shown only once the tracker saw a step in this item (the loaded round may still be
// an earlier item's until the heat view is shown); the tracker's pace and call to the floor.
LiveProgress LiveProgressOf(const Competition& s, const PaceTracker& tracker, int now,
                            int currentStartedAt, const EstimateSettings& settings = {});
