#include "core/competition/round_load_guard.h"

#include "core/platform/file_read_recorder.h"

namespace {

// What a round load writes: the heat tables, the round's dances and marks, and the stepping
// counters. Kept apart from the rest of the state, which a copy of the whole would take a tenth
// of a millisecond to copy on every programme step.
struct RoundFields {
    HeatTables heats;
    std::array<std::string, kDances> dances;
    DanceMarks marks;
    int heatIndex;
    int heatCount;
    int danceIndex;
    int danceCount;
    int lastDance;

    explicit RoundFields(const Competition& s)
        : heats(s),
          dances(s.RoundDances),
          marks(s.RoundMarks),
          heatIndex(s.HeatIndex),
          heatCount(s.HeatCount),
          danceIndex(s.DanceIndex),
          danceCount(s.DanceCount),
          lastDance(s.LastDance) {}

    void RestoreInto(Competition& s) const {
        static_cast<HeatTables&>(s) = heats;
        s.RoundDances = dances;
        s.RoundMarks = marks;
        s.HeatIndex = heatIndex;
        s.HeatCount = heatCount;
        s.DanceIndex = danceIndex;
        s.DanceCount = danceCount;
        s.LastDance = lastDance;
    }
};

}  // namespace

GuardedRoundLoad LoadRoundIfReadable(Competition& s) {
    GuardedRoundLoad result;
    if (s.CurrentEventIndex < 0) return result;  // no round to load
    // The load writes the dances, the heat table and the counters as it goes: undone as a whole.
    const RoundFields before(s);
    const FileReadRecorder reads;
    result.load = LoadRound(s);
    if (!reads.AllRead()) {
        before.RestoreInto(s);
        result.load = RoundLoad{};
        result.unreadable = true;
    }
    return result;
}
