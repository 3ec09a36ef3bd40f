#pragma once
// The result-category list of the award section (ComboBox1): which category a row stands for.

#include "core/competition/competition_state.h"

// The 1-based category number of result-list row `row` (ResultListCategories[row] + 1), or 0
// when no row is chosen (-1) or the row lies outside the list's 40 rows.
int ResultListCategory(const Competition& s, int row);
