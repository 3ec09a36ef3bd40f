// pgm.txt of any content: the programme items, then the programme walked and selected row by
// row, the progress message in each mode and the programme list.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/competition/programme_item.h"
#include "core/competition/view_types.h"
#include "core/data/programme_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("pgm.txt", data, size);
    auto s = std::make_unique<Competition>(DemoCompetition());
    FUZZ_CHECK(ReadProgramme(s->DataFolder, *s));
    // One item per line of the file: a line is never read as two. The last line may lack its end.
    FUZZ_CHECK(s->ProgrammeCount >= 0 && s->ProgrammeCount <= kProgrammeRows);
    FUZZ_CHECK(s->ProgrammeCount <= CountLineEnds(data, size) + 1);
    WalkProgramme(*s, 1);
    for (const int y : {0, 19, 20, 1999, 3999}) {
        SelectProgrammeRow(*s, y);
        ShowProgrammeItem(*s);
        for (const int single : {0, 1}) {
            s->SingleItemMode = single;
            s->RoundSplit = single == 1;
            DrawView(*s, kViewProgressMessage);
        }
    }
    DrawEverything(*s);
    return 0;
}
