#pragma once
// The two simplest pictures: the clean screen in the Base Color (view 0) and the welcome screen
// with its three title lines (view 1).

#include <QColor>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// Base Color (bytes 00 BB GG RR) as a colour.
QColor BgrColor(uint32_t bgr);

void ClearTarget(const Competition& s, RenderTarget& t);
void DrawWelcomeView(const Competition& s, RenderTarget& t);
