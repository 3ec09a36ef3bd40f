#pragma once
// The whole competition as the console holds it for the run: settings, display configuration,
// category and judge tables, couples, events, programme, the loaded round's heats, the operator
// flags and the result table. Every table has its fixed size; texts are CP932 byte strings.

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

struct ResultRow {
    std::string PlacingText;
    std::string NumberText;
    std::string CoupleText;
    std::string AffiliationText;
};

enum class RevealOrder { Together, Upward, Downward };

struct Competition {
    // Start-time switch and folders.
    int AltResultLayout = 0;
    std::string ProgramFolder;
    std::string DataFolder;

    DisplayConfig Config;

    // Category and judge tables (Conf.txt).
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

    // Couples by back number (Mem.csv).
    std::array<std::string, kCoupleRows> CoupleNames;
    std::array<std::string, kCoupleRows> CoupleAffiliations;

    // Events (seqdat.csv).
    std::array<std::string, kEventRows> EventNames;
    std::array<EventRecord, kEventRows> EventTable{};
    int EventCount = 0;
    int CurrentEventIndex = -1;
    int SecondFloorFinal = 0;

    // Programme (pgm.txt).
    std::array<int, kProgrammeRows> ProgrammeNonCompetition{};
    std::array<std::string, kProgrammeRows> ProgrammeCodes;
    std::array<std::string, kProgrammeRows> ProgrammeCodesB;
    std::array<std::string, kProgrammeRows> ProgrammeTexts;
    std::array<std::string, kProgrammeRows> ProgrammeTextsB;
    int ProgrammeCount = 0;
    int CurrentProgrammeIndex = 0;
    std::array<int, kCategoryRows> ResultListCategories{};

    // The loaded round.
    std::array<std::string, kDances> RoundDances;
    std::array<std::array<int, kHeatSlots>, kHeatRows> HeatTable{};
    int HeatIndex = -1;
    int HeatRowsA = 0;
    int HeatRowsB = 0;
    int HeatsPerDance = 0;
    int ShuffledHeats = 0;
    int HeatFileCategory = 0;
    int HeatFileRound = 0;
    int HeatCount = 0;
    // What the last heat load really found. The stepping raises HeatRowsA, HeatRowsB and
    // HeatsPerDance to at least 1; the two-floor view must not take a raised count for rows.
    int FloorARowsLoaded = 0;
    int FloorBRowsLoaded = 0;
    int FloorBFirstRow = 0;  // the row of floor B's first heat
    int DanceIndex = 0;
    int DanceCount = 1;

    // Operator flags.
    int SingleItemMode = 0;
    int HoldScreen = 0;
    int LastDance = 0;
    int ClockShown = 0;
    int DanceNameShown = 0;
    int AwardReady = 0;

    int CurrentView = 0;
    std::string ClockText = "??:??";

    // Final result of the chosen category.
    std::array<ResultRow, kResultRows> ResultTable;
    int ResultRowCount = 0;

    // Console choices that views read (copied from the controls by the console).
    bool RoundSplit = false;  // "分離" chosen for the progress message
    RevealOrder Reveal = RevealOrder::Together;
    int ResultListRow = 0;  // selected row of the result-category list, -1 for none

    // The event record at index i, or an empty record outside the table.
    const EventRecord& EventAt(int i) const;
    const std::string& EventNameAt(int i) const;
    const EventRecord& CurrentEvent() const { return EventAt(CurrentEventIndex); }
    // Category row c (0-based) or empty texts / flag 0 outside the table.
    const std::string& CategoryNameAt(int row) const;
    const std::string& CategoryShortNameAt(int row) const;
    int CategoryRedanceAt(int row) const;
    // A back number shown on screen: its remainder modulo Mod.
    int ShownNumber(int backNumber) const;
};

// The ten dance names, positions W T V F Q S C R P J.
const std::array<std::string, kDances>& DanceNames();
