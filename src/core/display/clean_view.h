#pragma once
// The clean screen (view 0): the whole target in the Base Color. Every view that starts from a
// clean picture clears with it.

#include <QColor>
#include <cstdint>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// The teal of the console's lists and of the unmarked view labels.
inline const QColor kTeal(0, 128, 128);

// Base Color (bytes 00 BB GG RR) as a colour.
QColor BgrColor(uint32_t bgr);

void ClearTarget(const Competition& s, RenderTarget& t);
