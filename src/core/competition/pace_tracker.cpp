#include "core/competition/pace_tracker.h"

#include <algorithm>

namespace {

// The median of the newest `count` values (at least one value).
int RecentMedian(const std::vector<int>& values, int count) {
    const size_t n = std::min(values.size(), static_cast<size_t>(std::max(count, 1)));
    std::vector<int> recent(values.end() - static_cast<long>(n), values.end());
    std::sort(recent.begin(), recent.end());
    return n % 2 == 1 ? recent[n / 2] : (recent[n / 2 - 1] + recent[n / 2] + 1) / 2;
}

// The mean of the newest `count` values without their lowest and highest quarter: as steady as a
// mean against the heats' ordinary spread, as deaf as a median to a single odd one.
int RecentTrimmedMean(const std::vector<int>& values, int count) {
    const size_t n = std::min(values.size(), static_cast<size_t>(std::max(count, 1)));
    std::vector<int> recent(values.end() - static_cast<long>(n), values.end());
    std::sort(recent.begin(), recent.end());
    const size_t cut = n / 4;
    long sum = 0;
    for (size_t i = cut; i < n - cut; ++i) sum += recent[i];
    const long kept = static_cast<long>(n - 2 * cut);
    return static_cast<int>((sum + kept / 2) / kept);
}

// Drops the oldest values once there are twice as many as the recent ones that count.
void Trim(std::vector<int>& values, int recent) {
    const size_t keep = static_cast<size_t>(std::max(recent, 1));
    if (values.size() > 2 * keep)
        values.erase(values.begin(), values.end() - static_cast<long>(keep));
}

}  // namespace

void PaceTracker::Step(int time) {
    if (itemStart_ >= 0) {
        // The first step of an item: the call to the floor and one heat lie behind it.
        const int changeover = time - itemStart_ - SecondsPerHeat();
        if (changeover >= 0 && changeover <= settings_.longestChangeoverSeconds) {
            changeovers_.push_back(changeover);
            Trim(changeovers_, settings_.recentIntervals);
        }
        itemStart_ = -1;
    }
    if (lastStep_ >= 0) {
        const int interval = time - lastStep_;
        if (interval >= settings_.shortestHeatSeconds && interval <= settings_.longestHeatSeconds) {
            intervals_.push_back(interval);
            Trim(intervals_, settings_.recentIntervals);
        }
    }
    lastStep_ = time;
}

void PaceTracker::StartItem(int time, bool final) {
    lastStep_ = -1;
    itemStart_ = final ? -1 : time;
}

void PaceTracker::Reset() {
    intervals_.clear();
    changeovers_.clear();
    lastStep_ = -1;
    itemStart_ = -1;
}

bool PaceTracker::FromSteps() const {
    return static_cast<int>(intervals_.size()) >= std::max(settings_.minimumIntervals, 1);
}

int PaceTracker::SecondsPerHeat() const {
    if (!FromSteps()) return settings_.defaultSecondsPerHeat;
    // A single slow heat (a fall, a dress repaired) does not move it.
    return RecentTrimmedMean(intervals_, settings_.recentIntervals);
}

int PaceTracker::ChangeoverSeconds(int fallback) const {
    if (changeovers_.size() < 2) return fallback;
    return RecentMedian(changeovers_, settings_.recentIntervals);
}
