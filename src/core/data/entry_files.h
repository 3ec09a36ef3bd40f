#pragma once
// The entry files of the data folder: Mem.csv (couples by back number) and seqdat.csv (events).

#include "core/data/tables.h"

// Reads Mem.csv into CoupleNames and CoupleAffiliations. The tables are not cleared first: a back
// number the file does not mention keeps its texts. A missing file changes nothing.
void LoadEntries(const std::string& dataFolder, CoupleTables& s);

// Reads seqdat.csv into EventNames, EventTable and EventCount. A file that cannot be read changes
// nothing (false). True when the file was read (the event chooser is then refilled by the
// console).
bool LoadEvents(const std::string& dataFolder, EventTables& s);
