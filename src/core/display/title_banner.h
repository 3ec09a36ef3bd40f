#pragma once
// The title banner of the top band: up to three centred title lines in the Top Font, drawn into
// the audience window's banner image and, at half size, into the console's banner preview.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"
#include "core/platform/canvas.h"

// One pass onto a banner canvas at the target's scale.
void DrawTitleBannerPass(const Competition& s, RenderTarget& t);

// Both passes: the audience banner at full size, then the preview banner at half size.
void DrawTitleBanner(const Competition& s, Canvas& audienceBanner, Canvas& previewBanner);
