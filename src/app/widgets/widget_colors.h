#pragma once
// Background and text colour of a console control, kept in its palette (where the rehearsal
// mode and the tests read them back).

#include <QColor>
#include <QPalette>

class QWidget;

void SetColors(QWidget* w, const QColor& background, const QColor& text);
// The palette SetColors gives `w`.
QPalette ColoredPalette(const QWidget* w, const QColor& background, const QColor& text);
void SetTextColor(QWidget* w, const QColor& text);
QColor BackgroundOf(const QWidget* w);
