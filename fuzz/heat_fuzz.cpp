// A heat file of any content in one of the places a round reads (plain, shuffled, floor B, the
// team match, a final), then every event that reads it loaded, stepped heat by heat and drawn,
// and its finalists shown.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/data/heat_files.h"
#include "fuzz_support.h"

namespace {

struct Place {
    const char* name;
    int category;
    int round;
    bool floorA;  // read for an event's own heats
    bool floorB;  // read for the heats of the event beside it
};

// The first input byte chooses the file; the rest is its content. The shuffled file is floor A's
// only; the second floor's folder floor B's only; a plain file serves either.
constexpr Place kPlaces[] = {
    {"H_01_1.dat", 1, 1, true, true},         {"SH_01_2.dat", 1, 2, true, false},
    {"Assist/H_03_1.dat", 3, 1, false, true}, {"H_05_1.dat", 5, 1, true, true},
    {"H_01_7.dat", 1, 7, true, true},         {"H_12_1.dat", 12, 1, true, true},
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const Place* previous = nullptr;
    const Place& place = kPlaces[data[0] % std::size(kPlaces)];
    if (previous != nullptr && previous != &place) RestoreDemoFile(previous->name);
    previous = &place;
    ++data;
    --size;
    WriteScratchFile(place.name, data, size);
    const int lines = CountLineEnds(data, size);

    const std::string path = ScratchFolder() + "/" + place.name;
    const HeatLine first = ReadHeatLine(path);
    FUZZ_CHECK(first.count >= 0 && first.count <= kHeatSlots);
    for (const int n : first.numbers) FUZZ_CHECK(n >= 0 && n <= 9999);

    auto s = std::make_unique<Competition>(DemoCompetition());
    for (int k = 0; k < s->EventCount && k < kEventRows; ++k) {
        const EventRecord& r = s->EventTable[k];
        const bool readsA =
            place.floorA && r.Category() == place.category && r.Round() == place.round;
        const bool readsB = place.floorB && r.HasFloorB() && r.FloorBCategory() == place.category &&
                            r.FloorBRound() == place.round;
        if (!readsA && !readsB) continue;
        s->CurrentEventIndex = k;
        StepRound(*s, true);
        FUZZ_CHECK(s->FloorARowsLoaded + s->FloorBRowsLoaded <= kHeatRows);
        // One heat per line of the file: a line is never read as two.
        if (readsA) FUZZ_CHECK(s->FloorARowsLoaded <= lines + 1);
        if (readsB) FUZZ_CHECK(s->FloorBRowsLoaded <= lines + 1);
    }
    return 0;
}
