#pragma once
// The whole competition as the console holds it for the run: settings, display configuration,
// category and judge tables, couples, events, programme, the loaded round's heats, the operator
// flags and the result table. Every table has its fixed size; texts are CP932 byte strings.

#include <array>
#include <string>

#include "core/data/tables.h"

enum class RevealOrder { Together, Upward, Downward };

// Dance positions marked for a round. Standard and latin dances mark their own letter labels
// (positions W T V F Q S C R P J); the team match (category 5) marks the five numbered slots of
// the team panel in dancing order instead.
struct DanceMarks {
    std::array<bool, kDances> letterMarked{};
    std::array<bool, 5> teamSlotMarked{};
    bool standardShown = false;
    bool latinShown = false;
    bool teamShown = false;
    int standardCount = 0;
    int latinCount = 0;
    int teamCount = 0;
    int danceCount = 1;  // dances of the round as stepping counts them, at least 1
};

struct Competition : ConfigTables,
                     CoupleTables,
                     EventTables,
                     ProgrammeTables,
                     HeatTables,
                     FinalistsTables,
                     ResultTables {
    // Start-time switch and folders.
    int AltResultLayout = 0;
    std::string ProgramFolder;
    std::string DataFolder;

    // The tables of Conf.txt, Mem.csv, seqdat.csv, pgm.txt and the heat files are the bases.
    int CurrentEventIndex = -1;
    int SecondFloorFinal = 0;

    int CurrentProgrammeIndex = 0;
    // The rows of the result-category list and the category row each stands for.
    std::array<std::string, kCategoryRows> ResultListRows;
    int ResultListRowCount = 0;
    std::array<int, kCategoryRows> ResultListCategories{};

    // The loaded round.
    std::array<std::string, kDances> RoundDances;
    DanceMarks RoundMarks;
    // The current event's round has a per-dance shuffled heat file, as last looked up.
    bool CurrentRoundShuffled = false;
    int HeatIndex = -1;
    int HeatCount = 0;
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
    // The announcement screen drawn last: its kind and the free message's text (CP932).
    int AnnouncementKind = -1;
    std::string AnnouncementText;
    std::string ClockText = "??:??";

    // The operator's choices on the console that views and commands read.
    bool RoundSplit = false;  // "分離" chosen for the progress message
    RevealOrder Reveal = RevealOrder::Together;
    int ResultListRow = 0;             // selected row of the result-category list, -1 for none
    bool ResultListByCategory = true;  // the list in category order, else finals in event order
    bool ResultLinkChecked = false;    // a programme move onto a final selects its category

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
