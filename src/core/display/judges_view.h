#pragma once
// The judges view (view 2): the caption, the chief judge on a line of its own and the panel in two
// columns (three from 20 judges on), with code, name and note on each line.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// Draws over the Judges header.
void DrawJudgesView(const Competition& s, RenderTarget& t);
