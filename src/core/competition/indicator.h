#pragma once
// Yes/No indicator labels of the console: each shows one operator flag.

#include <QColor>

struct IndicatorLook {
    const char* text;
    QColor background;
    QColor foreground;
};

// "Yes" on blue for a set flag, "No" on red otherwise; white text either way.
IndicatorLook LookOf(int flag);

// Inverts a 0/1 flag. Setting a flag to a wanted value v is storing 1 - v and toggling, so the
// label is always refreshed through the same path.
void ToggleIndicator(int& flag);
