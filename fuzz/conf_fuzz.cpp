// Conf.txt of any content: the title lines, the category and judge tables and the window
// position, then everything that reads them: the result list, the dances of every round, the
// programme walked round by round, every view, the finals.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/competition/round_names.h"
#include "core/data/display_config_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("Conf.txt", data, size);
    auto s = std::make_unique<Competition>(DemoCompetition());
    FUZZ_CHECK(LoadDisplayConfig(s->DataFolder, *s));
    FUZZ_CHECK(s->CategoryCount >= 0 && s->CategoryCount <= kCategoryRows);
    FUZZ_CHECK(s->JudgeCount >= 0 && s->JudgeCount <= kJudgeRows);
    FUZZ_CHECK(s->CategoryCount <= CountLineEnds(data, size));
    FUZZ_CHECK(s->JudgeCount <= CountLineEnds(data, size));
    s->Config.BaseColor = ApplyHexColor(s->Config.TopTitleLines[0]);

    for (int c = -1; c <= kCategoryRows + 1; ++c) {
        CategoryCode(*s, c);
        for (int round = 0; round <= 9; ++round) {
            PlanRoundDances(*s, c, round);
            RoundName(round - 1, s->CategoryRedanceAt(c));
        }
    }
    for (const bool categoryOrder : {true, false}) {
        FUZZ_CHECK(FillResultList(*s, categoryOrder).size() <= kResultListRows);
    }
    FUZZ_CHECK(DataResetResultRows(*s).size() <= kResultListRows);
    WalkProgramme(*s, 1);
    DrawEverything(*s);
    ShowFinals(*s, 1);
    return 0;
}
