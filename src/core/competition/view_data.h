#pragma once
// What two views are drawn from beyond the tables, read by the command that shows them (once per
// command, so both passes draw the same), and what showing a view changes in the state. The
// drawing itself reads the state only.

#include "core/competition/competition_state.h"

// FinalistsLine: the first line of the current event's heat file, or with SecondFloorFinal set of
// the final of floor B's category. Empty when the event has no floor B or the file is missing.
// False, and FinalistsLine as it was, when the file is there but cannot be read now (being
// written, emptied): the view is not to be drawn.
bool ReadFinalists(Competition& s);

// The final file of the category chosen in the result list into ResultTable and LastFinalRead;
// with no row chosen LastFinalRead is cleared and nothing is read. False when the file cannot be
// read: then nothing changes.
bool ReadFinalResult(Competition& s);

// What view `type` needs read first: the finalists (4) or the final result (5); nothing for the
// others. False when the view is not to be drawn: the finalists' file could not be read now.
// (A final file that cannot be read leaves the result read before, which may be drawn.)
bool ReadViewInputs(Competition& s, int type);

// View `type` was drawn: it is CurrentView, and one with the common header (judges, heats,
// finalists, the final result in the standard layout) ends a running award sequence.
void ApplyViewEffects(Competition& s, int type);
