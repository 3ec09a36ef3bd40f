#pragma once
// Heat files of the data folder: per category and round the heats of a round, one heat per line,
// twenty 4-character back-number fields. H_cc_r.dat, per-dance shuffled SH_cc_r.dat, and the
// second floor's Assist/H_cc_r.dat.

#include <array>
#include <string>

#include "core/data/tables.h"

// The 20 fields of one line: each 4-byte field read as leading white space and decimal digits
// (no digits: 0, an empty slot); fields past the end of the line are 0. Values are 0-9999.
HeatRow ParseHeatLine(const std::string& line);

// The first line of the file at path, as written (no modulo); empty when it cannot be read.
HeatLine ReadHeatLine(const std::string& path);

// The per-dance shuffled heat file SH_cc_r.dat of a category and round, when the folder has one.
bool HasShuffledHeatFile(const std::string& dataFolder, int category, int round);

// Loads the heats of event r into HeatTable: floor A from SH_ (ShuffledHeats 1) or H_ from row 0,
// floor B (when r has one) from Assist/H_ or H_ in the rows after floor A's last. Sets
// HeatRowsA, HeatRowsB, HeatsPerDance, ShuffledHeats, HeatFileCategory, HeatFileRound and what
// the load found. Stored numbers are taken modulo Mod; lines that would pass the 50 rows of the
// table are dropped and counted in HeatRowsDropped.
void LoadHeatFiles(const std::string& dataFolder, int mod, const EventRecord& r, int danceCount,
                   HeatTables& s);
