#include "core/data/data_file_names.h"

#include "core/platform/data_file.h"

std::string HeatFileName(int category, int round) {
    return FormatName("H_%02d_%d.dat", category, round);
}

std::string ShuffledHeatFileName(int category, int round) {
    return FormatName("SH_%02d_%d.dat", category, round);
}

std::string AssistHeatFileName(int category, int round) {
    return std::string("Assist") + kPathSeparator + HeatFileName(category, round);
}

std::string FinalFileName(int category) { return FormatName("F_%02d.dat", category); }

RoundFileNames RoundFilesOf(const EventRecord& event) {
    RoundFileNames names{ShuffledHeatFileName(event.Category(), event.Round()),
                         HeatFileName(event.Category(), event.Round()),
                         {},
                         {}};
    if (event.HasFloorB()) {
        names.assistB = AssistHeatFileName(event.FloorBCategory(), event.FloorBRound());
        names.plainB = HeatFileName(event.FloorBCategory(), event.FloorBRound());
    }
    return names;
}

std::string FinalistsFileName(const EventRecord& event, bool floorB) {
    if (!floorB) return HeatFileName(event.Category(), event.Round());
    // The heat files are named by category: floor B's final is its category's, as the header
    // shows it; the floor-B event number only says that there is one.
    if (!event.HasFloorB()) return {};
    return HeatFileName(event.FloorBCategory(), kFinalRound);
}
