#pragma once
// The Windows font names that the screens are designed with, mapped to installed fonts of a
// fitting look; registered with Qt's substitution table so widgets that name them work too.

#include <QFont>
#include <QString>

// Registers every known substitution once (idempotent).
void InstallFontSubstitutions();

// A font for a design font name at a pixel size: the substituted family, and the heavy weight for
// the ultra-bold designs whatever the bold flag says; stretch condenses it (percent).
QFont ResolveFont(const QString& designName, int pixelSize, bool bold, int stretch = 100);
