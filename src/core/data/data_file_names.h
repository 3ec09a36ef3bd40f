#pragma once
// The names of the files the scoring system writes into the data folder, relative to that folder:
// the one place that knows how a category and a round make a heat or a final file's name.

#include <string>

#include "core/data/tables.h"

inline constexpr const char* kConfFileName = "Conf.txt";
inline constexpr const char* kEntriesFileName = "Mem.csv";
inline constexpr const char* kEventsFileName = "seqdat.csv";
inline constexpr const char* kProgrammeFileName = "pgm.txt";
// In the program's folder, not the data folder.
inline constexpr const char* kSettingsFileName = "TRQsys.ini";
inline constexpr const char* kLogoFileName = "_GRF.bmp";

// H_cc_r.dat: the heats of a category's round, one heat per line.
std::string HeatFileName(int category, int round);
// SH_cc_r.dat: the same heats drawn anew for every dance, one block per dance.
std::string ShuffledHeatFileName(int category, int round);
// Assist/H_cc_r.dat: floor B's heats, from the second floor's own scoring.
std::string AssistHeatFileName(int category, int round);
// F_cc.dat: the result of a category's final.
std::string FinalFileName(int category);

// The heat files a round's load may read, in the order it looks for them: floor A's shuffled and
// plain file, then (with a floor B) floor B's Assist and plain file.
struct RoundFileNames {
    std::string shuffledA;
    std::string plainA;
    std::string assistB;  // empty without a floor B
    std::string plainB;   // empty without a floor B
    bool operator==(const RoundFileNames&) const = default;
};
RoundFileNames RoundFilesOf(const EventRecord& event);

// The heat file whose first line lists an event's finalists: its own round's, or with floorB the
// final of floor B's category. Empty when floorB is asked for and the event has no floor B.
std::string FinalistsFileName(const EventRecord& event, bool floorB);
