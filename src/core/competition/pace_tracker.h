#pragma once
// The pace of the day: the time per heat, learnt from the operator's own heat steps of this run.
// Times are seconds since midnight and are always passed in: the tracker never reads a clock, so
// the rehearsal's scripted clock and the tests drive it.

#include <vector>

struct PaceSettings {
    int defaultSecondsPerHeat = 100;     // 1 min 40 s, until enough steps were seen
    int minimumIntervals = 3;            // intervals needed before the steps' own pace is used
    int recentIntervals = 24;            // the newest intervals the pace is taken from
    int longestHeatSeconds = 300;        // a longer interval is a pause or a break, not a heat
    int shortestHeatSeconds = 20;        // a shorter one is a correction (a step back and forth)
    int longestChangeoverSeconds = 600;  // a longer call to the floor was a pause
};

class PaceTracker {
  public:
    explicit PaceTracker(PaceSettings settings = {}) : settings_(settings) {}

    // The operator stepped to the next heat at `time`.
    void Step(int time);
    // A new programme item became current at `time`: the next step's interval spans a changeover
    // and is not a heat. Its first step, one heat after the call to the floor, shows how long the
    // call took (a final's presentation is not a call: `final` leaves it out).
    void StartItem(int time, bool final = false);
    // Forgets every step (a new day, a new data folder).
    void Reset();

    // Seconds per heat: the median of the recent heat intervals, or the default before
    // minimumIntervals of them were seen.
    int SecondsPerHeat() const;
    // True when SecondsPerHeat comes from the steps, false while it is the default.
    bool FromSteps() const;
    // Seconds from an item becoming current to its first heat: the median of the recent items'
    // once two were seen, else `fallback`.
    int ChangeoverSeconds(int fallback) const;
    // The time of the newest step, -1 before the first one of the current item.
    int LastStepAt() const { return lastStep_; }
    const PaceSettings& Settings() const { return settings_; }

  private:
    PaceSettings settings_;
    std::vector<int> intervals_;  // accepted heat intervals, oldest first
    std::vector<int> changeovers_;
    int lastStep_ = -1;
    int itemStart_ = -1;  // the current item's start while its first step is awaited
};
