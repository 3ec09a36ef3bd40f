#pragma once
// The final result view (view 5): reads the final file of the category chosen in the result list
// and draws the frame of the award announcement, in the standard layout (Result header and column
// headings) or the alternate one (gradient and banner with the category name). The console's
// result list Image5 shows what the read found.

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"
#include "core/platform/canvas.h"

// Runs once per pass: reads F_cc.dat of the category of result-list row ResultListRow into
// ResultTable (no file read when no row is chosen), then draws the frame. The standard layout
// draws the header and so clears AwardReady; the alternate layout leaves it.
void DrawFinalResultView(Competition& s, RenderTarget& t);

// The console's result list (Image5, 400 x 164 pixels, unscaled): the teal field, then the title
// line and the rows of the last read of a final file.
void DrawResultList(const Competition& s, Canvas& image5);
