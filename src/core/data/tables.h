#pragma once
// The fixed-size tables the loaders fill, one group per file of the data folder. They hold plain
// data only; the competition state is made of them. Texts are CP932 byte strings.

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kCategoryRows = 40;
inline constexpr int kJudgeRows = 50;
inline constexpr int kCoupleRows = 1000;
inline constexpr int kEventRows = 100;
inline constexpr int kProgrammeRows = 100;
inline constexpr int kHeatRows = 50;
inline constexpr int kHeatSlots = 20;
inline constexpr int kDances = 10;
inline constexpr int kResultRows = 10;

// One line of seqdat.csv: ints 1-12 are the numbers after the name; 0, 13 and 14 stay 0.
struct EventRecord {
    std::array<int, 15> Ints{};
    int operator[](int k) const { return k >= 0 && k < 15 ? Ints[k] : 0; }
};

// The look of the audience screen: title lines, window position, fonts, Base Color, Mod.
struct DisplayConfig {
    std::array<std::string, 3> TopTitleLines;
    std::array<std::string, 3> WelcomeTitleLines;
    int ScreenLeft = 0;
    int ScreenTop = -30;
    std::string TopFont;
    std::string TitleFont;
    std::string MsgFont;
    std::string DataFont;
    uint32_t BaseColor = 0x004000;  // bytes 00 BB GG RR
    int Mod = 1000;
};

// Conf.txt: the display configuration, the category and the judge tables.
struct ConfigTables {
    DisplayConfig Config;
    std::array<std::string, kCategoryRows> CategoryCodes;
    std::array<std::string, kCategoryRows> CategoryNames;
    std::array<std::string, kCategoryRows> CategoryShortNames;
    std::array<std::array<int8_t, kDances>, kCategoryRows> CategoryDanceRounds{};
    std::array<int, kCategoryRows> CategoryRedance{};
    int CategoryCount = 0;
    std::array<std::string, kJudgeRows> JudgeCodes;
    std::array<std::string, kJudgeRows> JudgeNames;
    std::array<std::string, kJudgeRows> JudgeNotes;
    int JudgeCount = 0;
};

// Mem.csv: couples by back number.
struct CoupleTables {
    std::array<std::string, kCoupleRows> CoupleNames;
    std::array<std::string, kCoupleRows> CoupleAffiliations;
};

// seqdat.csv: the events.
struct EventTables {
    std::array<std::string, kEventRows> EventNames;
    std::array<EventRecord, kEventRows> EventTable{};
    int EventCount = 0;
};

// pgm.txt: the running order.
struct ProgrammeTables {
    std::array<int, kProgrammeRows> ProgrammeNonCompetition{};
    std::array<std::string, kProgrammeRows> ProgrammeCodes;
    std::array<std::string, kProgrammeRows> ProgrammeCodesB;
    std::array<std::string, kProgrammeRows> ProgrammeTexts;
    std::array<std::string, kProgrammeRows> ProgrammeTextsB;
    int ProgrammeCount = 0;
};

// The heat files of the loaded round.
struct HeatTables {
    std::array<std::array<int, kHeatSlots>, kHeatRows> HeatTable{};
    int HeatRowsA = 0;
    int HeatRowsB = 0;
    int HeatsPerDance = 0;
    int ShuffledHeats = 0;
    int HeatFileCategory = 0;
    int HeatFileRound = 0;
    // What the last heat load really found. The stepping raises HeatRowsA, HeatRowsB and
    // HeatsPerDance to at least 1; the two-floor view must not take a raised count for rows.
    int FloorARowsLoaded = 0;
    int FloorBRowsLoaded = 0;
    int FloorBFirstRow = 0;   // the row of floor B's first heat, after floor A's last row
    int HeatRowsDropped = 0;  // lines of the heat files past the end of the table
};

// F_cc.dat: one couple of a final's result.
struct ResultRow {
    std::string PlacingText;
    std::string NumberText;
    std::string CoupleText;
    std::string AffiliationText;
};

// What the last read of a final file gave the console's result list: whether the file opened,
// its title line without the line end, and the rows that read filled.
struct FinalFileRead {
    bool opened = false;
    std::string titleLine;
    int rows = 0;
};

// F_cc.dat: the result of the chosen final, kept for the whole run and never cleared. A read
// overwrites only the rows it fills and sets ResultRowCount only when it fills one.
struct ResultTables {
    std::array<ResultRow, kResultRows> ResultTable;
    int ResultRowCount = 0;
    FinalFileRead LastFinalRead;
};

// A back number as shown on screen: its remainder modulo mod (1000 for a mod of 0 or below).
inline int ModuloNumber(int backNumber, int mod) { return backNumber % (mod > 0 ? mod : 1000); }
