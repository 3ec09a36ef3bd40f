#pragma once
// The progress message view (view 7): the current programme item and the next one in large
// centred text, or the current item alone, lower and larger, in single-item mode.

#include <QString>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

void DrawProgressMessageView(const Competition& s, RenderTarget& t);

// Font size for a message line: the first of 40, 38, ... 22 points (scaled) at which the text is
// narrower than 900 units; 22 when none fits.
void FitMessageFont(RenderTarget& t, const QString& text);

// A competition item with one floor is shown as two lines (before and after its last blank)
// when the operator has chosen the split display.
bool SplitRoundApplies(const Competition& s, int item);
