#include "core/competition/pace_tracker.h"

#include <algorithm>

void PaceTracker::Step(int time) {
    if (lastStep_ >= 0) {
        const int interval = time - lastStep_;
        if (interval >= settings_.shortestHeatSeconds && interval <= settings_.longestHeatSeconds) {
            intervals_.push_back(interval);
            // Only the recent ones count; keep a few more than that, not the whole day.
            const size_t keep = static_cast<size_t>(std::max(settings_.recentIntervals, 1));
            if (intervals_.size() > 2 * keep) {
                intervals_.erase(intervals_.begin(), intervals_.end() - static_cast<long>(keep));
            }
        }
    }
    lastStep_ = time;
}

void PaceTracker::StartItem(int /*time*/) { lastStep_ = -1; }

void PaceTracker::Reset() {
    intervals_.clear();
    lastStep_ = -1;
}

bool PaceTracker::FromSteps() const {
    return static_cast<int>(intervals_.size()) >= std::max(settings_.minimumIntervals, 1);
}

int PaceTracker::SecondsPerHeat() const {
    if (!FromSteps()) return settings_.defaultSecondsPerHeat;
    const size_t n =
        std::min(intervals_.size(), static_cast<size_t>(std::max(settings_.recentIntervals, 1)));
    std::vector<int> recent(intervals_.end() - static_cast<long>(n), intervals_.end());
    std::sort(recent.begin(), recent.end());
    // The median: a single slow heat (a fall, a dress repaired) does not move it.
    return n % 2 == 1 ? recent[n / 2] : (recent[n / 2 - 1] + recent[n / 2] + 1) / 2;
}
