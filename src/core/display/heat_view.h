#pragma once
// The heat view (view 3, wide surface): the couples of the heat dancing now and of the next heat
// as grids of back numbers, on one floor or on floors A and B, between the Now and Next headers.

#include <QString>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

void DrawHeatView(const Competition& s, RenderTarget& t);

// Title of the heat in HeatTable row `row`: "Heat-n", with the dance name when the heats are
// shuffled or the operator shows dance names.
QString HeatTitle(const Competition& s, int row);

// The 20 numbers of one HeatTable row in two lines of ten from (x0, y), columns dx apart, lines
// pitch apart; a row with no second line is moved down to the middle. A row outside the table
// draws an empty grid.
void DrawHeatGrid(const Competition& s, RenderTarget& t, int row, int y, int pitch, int x0, int dx);
