#include "core/competition/round_load_guard.h"

#include "core/platform/file_read_recorder.h"

GuardedRoundLoad LoadRoundIfReadable(Competition& s) {
    GuardedRoundLoad result;
    if (s.CurrentEventIndex < 0) return result;  // no round to load
    // The load writes the dances, the heat table and the counters as it goes: undone as a whole.
    const Competition before = s;
    const FileReadRecorder reads;
    result.load = LoadRound(s);
    if (!reads.AllRead()) {
        s = before;
        result.load = RoundLoad{};
        result.unreadable = true;
    }
    return result;
}
