// seqdat.csv of any content: the event table, then the programme walked with every round loaded
// and stepped, every view drawn and the finals shown.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/competition/programme_item.h"
#include "core/data/entry_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("seqdat.csv", data, size);
    auto s = std::make_unique<Competition>(DemoCompetition());
    FUZZ_CHECK(LoadEvents(s->DataFolder, *s));
    // One event per line of the file: a line is never read as two.
    FUZZ_CHECK(s->EventCount >= 0 &&
               s->EventCount <= std::min(kEventRows, CountLineEnds(data, size)));
    for (const bool categoryOrder : {false, true}) {
        FUZZ_CHECK(FillResultList(*s, categoryOrder).size() <= kResultListRows);
    }
    WalkProgramme(*s, 1);
    DrawEverything(*s);
    ShowFinals(*s, 1);
    return 0;
}
