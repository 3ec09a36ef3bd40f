// A final file of any content for one of the categories, then the result table it gives, the
// console's result list and the award sequence in the layout and reveal order the input chooses.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/competition/programme_item.h"
#include "core/data/data_file_names.h"
#include "core/data/final_file.h"
#include "core/platform/data_file.h"
#include "fuzz_support.h"

namespace {

constexpr int kDemoCategories = 12;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static std::string previous;
    // The first input byte chooses the category; the rest is the file.
    const int choice = data[0];
    const int category = 1 + choice % kDemoCategories;
    const std::string name = FinalFileName(category);
    if (!previous.empty() && previous != name) RestoreDemoFile(previous);
    previous = name;
    ++data;
    --size;
    WriteScratchFile(name, data, size);

    auto s = std::make_unique<Competition>(DemoCompetition());
    FUZZ_CHECK(LoadFinalFile(s->DataFolder, category, s->Config.Mod, *s));
    FUZZ_CHECK(s->ResultRowCount >= 0 && s->ResultRowCount <= kResultRows);
    // The title line and one row per further line: a line is never read as two.
    FUZZ_CHECK(s->LastFinalRead.rows >= 0 && s->LastFinalRead.rows <= CountLineEnds(data, size));

    FillResultList(*s, true);
    s->ResultListRow = ResultListRowOf(*s, category, kResultListRows);
    // The layout and the reveal order come from the choice byte too, so every pairing is reached.
    s->AltResultLayout = (choice / kDemoCategories) % 2;
    constexpr RevealOrder kOrders[] = {RevealOrder::Together, RevealOrder::Upward,
                                       RevealOrder::Downward};
    RunAwardSequence(*s, kOrders[(choice / kDemoCategories / 2) % 3]);
    return 0;
}
