#pragma once
// The award view (view 6): the rows of the result table that the current award step reveals, in
// the reveal order chosen on the console, drawn over the final result frame without clearing it.
// Each "Go !" press draws it once and then advances the step HeatIndex.

#include <QString>
#include <optional>
#include <string>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// Whether row b of n is revealed at step k: all rows (Together), the last k + 1 (Upward) or the
// first k + 1 (Downward).
bool AwardRowVisible(RevealOrder order, int b, int k, int n);

// Draws the revealed rows of ResultTable at step HeatIndex in the order s.Reveal: plain rows with
// the couple tables' names under the column headings, or decorated plates with the final file's
// texts in the alternate layout. The plain layout stops at a row whose NumberText is not a
// decimal integer (after its placing).
void DrawAwardView(const Competition& s, RenderTarget& t);

// Row b as a decorated plate of the alternate layout.
void DrawDecoratedAwardRow(const Competition& s, RenderTarget& t, int b);

// The NumberText at which the plain layout stops at the current step, if any: the console then
// reports it with AwardNumberMessage and does not advance the step.
std::optional<std::string> InvalidAwardNumber(const Competition& s);
QString AwardNumberMessage(const std::string& numberText);
