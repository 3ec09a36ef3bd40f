#pragma once
// pgm.txt, the day's running order: one programme item per line in fixed columns.

#include "core/data/tables.h"

// Clears the 100 programme items, then reads pgm.txt into them and sets ProgrammeCount. A file
// that cannot be read changes nothing (false). Draws nothing.
bool ReadProgramme(const std::string& dataFolder, ProgrammeTables& s);
