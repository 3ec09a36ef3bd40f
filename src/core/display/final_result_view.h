#pragma once
// The final result view (view 5): the frame of the award announcement for the category chosen in
// the result list, in the standard layout (Result header and column headings) or the alternate
// one (gradient and banner with the category name). The command reads the final file first
// (ReadFinalResult); the console's result list Image5 shows what that read found.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"
#include "core/platform/canvas.h"

void DrawFinalResultView(const Competition& s, RenderTarget& t);

// The console's result list (Image5, 400 x 164 pixels, unscaled): the teal field, then the title
// line and the rows of the last read of a final file.
void DrawResultList(const Competition& s, Canvas& image5);
