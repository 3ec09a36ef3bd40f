#pragma once
// A Yes / No indicator label of the console showing one operator flag.

class QLabel;

void ShowIndicator(QLabel* label, int flag);
