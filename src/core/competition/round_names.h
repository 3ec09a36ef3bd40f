#pragma once
// Texts of a round and of a category for the console and the audience screen (CP932).

#include <string>

#include "core/competition/competition_state.h"

// The 0-based index of a 1-based category or round number as the files give it: number - 1, or
// -1 (outside every table and list) for a number below 1, so that no value of a file overflows.
int ZeroBasedIndex(int number);

// roundIndex = round number - 1; redance = the category's redance flag. "---" outside 0-7.
const std::string& RoundName(int roundIndex, int redance);

// The heats figure of the progress panel: "/ " + the heat count as shown + "H".
std::string HeatsFigure(const std::string& heats);

// The category code of row categoryIndex (category number - 1), "---" outside the loaded rows.
std::string CategoryCode(const Competition& s, int categoryIndex);
