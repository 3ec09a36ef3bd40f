// TRQsys.ini of any content: the data folder it settles on and the Mod it gives, then the views
// that show back numbers drawn with that Mod.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/data/settings_file.h"
#include "core/platform/data_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("TRQsys.ini", data, size);
    const SettingsResult settings = ReadSettings(ScratchFolder());
    FUZZ_CHECK(settings.Mod > 0);
    FUZZ_CHECK(!settings.FolderFound || IsDirectory(settings.DataFolder));
    FUZZ_CHECK(settings.FolderFound || settings.DataFolder == ScratchFolder());

    auto s = std::make_unique<Competition>(DemoCompetition());
    s->Config.Mod = settings.Mod;
    WalkProgramme(*s, 1);
    ShowFinals(*s, 1);
    return 0;
}
