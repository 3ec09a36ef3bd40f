#include "core/competition/indicator.h"

IndicatorLook LookOf(int flag) {
    if (flag != 0) return {"Yes", QColor(0, 0, 255), QColor(255, 255, 255)};
    return {"No", QColor(255, 0, 0), QColor(255, 255, 255)};
}

void ToggleIndicator(int& flag) { flag = flag != 0 ? 0 : 1; }
