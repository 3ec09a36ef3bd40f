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

// The round number of a final; rounds from it on are finals (8 is the lower final).
inline constexpr int kFinalRound = 7;

// The numbers of a seqdat.csv line by name. Every field a caller does not name is 0.
struct EventFields {
    int category = 0;        // floor A's category number (1-based)
    int round = 0;           // 1-5 preliminaries (or redance), 6 semi-final, 7 final, 8 lower final
    int heats = 0;           // heats of the round
    int couplesPassing = 0;  // couples that pass to the next round
    int floorBEvent = 0;     // the event danced at the same time on floor B; 0: one floor only
    int floorBCategory = 0;
    int floorBRound = 0;
    int floorBHeats = 0;
    int floorBCouplesPassing = 0;
};

// One line of seqdat.csv. The loader keeps the numbers as the file gives them (Ints[k] is the
// k-th number after the name, k = 1-12; 0, 13 and 14 stay 0); everything else reads them by name.
struct EventRecord {
    // Where each named number sits among the line's numbers.
    enum Position {
        kCategoryAt = 1,
        kRoundAt = 2,
        kHeatsAt = 3,
        kCouplesPassingAt = 4,
        kFloorBEventAt = 6,
        kFloorBCategoryAt = 7,
        kFloorBRoundAt = 8,
        kFloorBHeatsAt = 9,
        kFloorBCouplesPassingAt = 10,
    };

    std::array<int, 15> Ints{};

    EventRecord() = default;
    explicit EventRecord(const EventFields& f);

    int Category() const { return Ints[kCategoryAt]; }
    int Round() const { return Ints[kRoundAt]; }
    int Heats() const { return Ints[kHeatsAt]; }
    int CouplesPassing() const { return Ints[kCouplesPassingAt]; }
    int FloorBEvent() const { return Ints[kFloorBEventAt]; }
    int FloorBCategory() const { return Ints[kFloorBCategoryAt]; }
    int FloorBRound() const { return Ints[kFloorBRoundAt]; }
    int FloorBHeats() const { return Ints[kFloorBHeatsAt]; }
    int FloorBCouplesPassing() const { return Ints[kFloorBCouplesPassingAt]; }

    // A second event runs on floor B at the same time.
    bool HasFloorB() const { return FloorBEvent() != 0; }
    // The round is the final (the lower final is not).
    bool IsFinal() const { return Round() == kFinalRound; }
    bool FloorBIsFinal() const { return HasFloorB() && FloorBRound() == kFinalRound; }
};

inline EventRecord::EventRecord(const EventFields& f) {
    Ints[kCategoryAt] = f.category;
    Ints[kRoundAt] = f.round;
    Ints[kHeatsAt] = f.heats;
    Ints[kCouplesPassingAt] = f.couplesPassing;
    Ints[kFloorBEventAt] = f.floorBEvent;
    Ints[kFloorBCategoryAt] = f.floorBCategory;
    Ints[kFloorBRoundAt] = f.floorBRound;
    Ints[kFloorBHeatsAt] = f.floorBHeats;
    Ints[kFloorBCouplesPassingAt] = f.floorBCouplesPassing;
}

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

using HeatRow = std::array<int, kHeatSlots>;

// The first line of a heat file: the finalists of a final, as its heat file lists them.
struct HeatLine {
    HeatRow numbers{};
    int count = 0;  // fields that are not 0
};

// The finalists the Final command read, for the finalists view.
struct FinalistsTables {
    HeatLine FinalistsLine;
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
