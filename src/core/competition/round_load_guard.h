#pragma once
// The round load as the console runs it: when a heat file of the round cannot be read (missing,
// not a regular file, unreadable, or still being written), the competition state is left exactly
// as it was, so the audience keeps the last good heats instead of empty grids.

#include "core/competition/progress.h"

struct GuardedRoundLoad {
    RoundLoad load;           // load.loaded: the round was read and is the loaded round now
    bool unreadable = false;  // a heat file of the round could not be read: nothing changed
};

GuardedRoundLoad LoadRoundIfReadable(Competition& s);
