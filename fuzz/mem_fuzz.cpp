// Mem.csv of any content: the couple tables, then the views that show names and affiliations
// (finalists and the award in both layouts).
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/data/entry_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("Mem.csv", data, size);
    auto s = std::make_unique<Competition>(DemoCompetition());
    LoadEntries(s->DataFolder, *s);
    ShowFinals(*s, 2);
    return 0;
}
