#pragma once
// The finalists view (view 4): the couples of the first line of a heat file, one per row with
// back number, names and affiliation, under the HeatList header. The Final command shows the
// current event's final, or with the right button the final of the event on floor B.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// Lists FinalistsLine, the heat-file line the Final command read (ReadFinalists).
void DrawHeatListView(const Competition& s, RenderTarget& t);
