#include "app/console/app_start.h"

#include "app/audience/scr_form.h"
#include "app/console/dsp_main_form.h"
#include "core/competition/competition_state.h"
#include "core/platform/data_file.h"

AppWindows::AppWindows() = default;
AppWindows::~AppWindows() = default;
AppWindows::AppWindows(AppWindows&&) noexcept = default;
AppWindows& AppWindows::operator=(AppWindows&& other) noexcept {
    // The windows go before the tables they work on.
    audience.reset();
    console.reset();
    state = std::move(other.state);
    console = std::move(other.console);
    audience = std::move(other.audience);
    return *this;
}

int MarkerFileLayout(const std::string& path) { return IsRegularFile(path) ? 1 : 0; }

AppWindows CreateWindows(const StartOptions& options) {
    AppWindows w;
    const int altLayout = MarkerFileLayout(options.markerPath);
    w.state = std::make_unique<Competition>();
    w.state->AltResultLayout = altLayout;
    w.console = std::make_unique<DspMain>(*w.state, options);
    w.audience = std::make_unique<ScrForm>(w.state->ProgramFolder);
    w.console->AttachAudience(w.audience.get());
    return w;
}
