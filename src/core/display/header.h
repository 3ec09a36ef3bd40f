#pragma once
// The common header band of the competition views: the programme step dancing now or next, or
// the category of a list or result, in the Data Font over a white rule. A command that draws it
// ends a running award sequence (ApplyViewEffects).

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

enum class HeaderMode { Next = 0, Now = 1, Judges = 2, HeatList = 3, Result = 4 };

// Every mode but Next clears the target first; Next is drawn over the picture Now just drew.
void DrawHeader(const Competition& s, RenderTarget& t, HeaderMode mode);
