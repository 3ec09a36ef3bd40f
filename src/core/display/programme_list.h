#pragma once
// The progress list of the console: every programme slot as one 20-pixel row of the tall list
// bitmap (Image6), code and text, the current item on blue.

#include <array>
#include <string>

#include "core/competition/competition_state.h"
#include "core/platform/canvas.h"

// What the list is drawn from: states with equal inputs draw the same list.
struct ProgrammeListInputs {
    int current = 0;
    std::array<std::string, kProgrammeRows> codes;
    std::array<std::string, kProgrammeRows> texts;
    bool operator==(const ProgrammeListInputs&) const = default;
};
ProgrammeListInputs ProgrammeListInputsOf(const Competition& s);

void DrawProgrammeList(const ProgrammeListInputs& list, Canvas& image6);
inline void DrawProgrammeList(const Competition& s, Canvas& image6) {
    DrawProgrammeList(ProgrammeListInputsOf(s), image6);
}
