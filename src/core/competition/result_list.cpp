#include "core/competition/result_list.h"

int ResultListCategory(const Competition& s, int row) {
    if (row < 0 || row >= kCategoryRows) return 0;
    return s.ResultListCategories[row] + 1;
}
