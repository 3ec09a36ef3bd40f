#include "app/console/app_start.h"

#include "app/audience/scr_form.h"
#include "core/platform/data_file.h"
#include "app/console/dsp_main_form.h"

AppWindows::AppWindows() = default;
AppWindows::~AppWindows() = default;
AppWindows::AppWindows(AppWindows&&) noexcept = default;
AppWindows& AppWindows::operator=(AppWindows&&) noexcept = default;

int MarkerFileLayout(const std::string& path) { return IsRegularFile(path) ? 1 : 0; }

AppWindows CreateWindows(const StartOptions& options) {
    AppWindows w;
    const int altLayout = MarkerFileLayout(options.markerPath);
    w.console = std::make_unique<DspMain>(options);
    w.console->state().AltResultLayout = altLayout;
    w.audience = std::make_unique<ScrForm>(w.console->state().ProgramFolder);
    w.console->AttachAudience(w.audience.get());
    return w;
}
