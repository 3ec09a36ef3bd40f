#pragma once
// The finalists view (view 4): the couples of the first line of a heat file, one per row with
// back number, names and affiliation, under the HeatList header. The Final command shows the
// current event's final, or with the right button the final of the event on floor B.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// Reads the heat file afresh on every pass: H_cc_r.dat of the current event, or with
// SecondFloorFinal set H_cc_7.dat of the floor-B event's category (nothing when the event has no
// floor B).
void DrawHeatListView(Competition& s, RenderTarget& t);
