#pragma once
// The welcome screen (view 1): the three welcome title lines, centred, on the Base Color.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

void DrawWelcomeView(const Competition& s, RenderTarget& t);
