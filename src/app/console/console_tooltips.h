#pragma once
// The console's tooltips: what each picture button does, with its right-click meaning and keys.

class QWidget;

void ApplyConsoleTooltips(QWidget* console);
