#pragma once
// The progress list of the console: every programme slot as one 20-pixel row of the tall list
// bitmap (Image6), code and text, the current item on blue.

#include "core/competition/competition_state.h"
#include "core/platform/canvas.h"

void DrawProgrammeList(const Competition& s, Canvas& image6);
