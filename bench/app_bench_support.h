#pragma once
// What the benchmarks of the running windows share beyond bench_support.h: the console and the
// audience window, started on a data folder.

#include <QCoreApplication>
#include <string>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/console/operator_commands.h"
#include "bench/bench_support.h"

namespace bench {

// The console and the audience window, shown (offscreen) and started on a data folder.
struct RunningWindows {
    AppWindows windows;
    explicit RunningWindows(const std::string& folder) {
        EnsureApplication();
        Hooks().showMessage = [](const QString&, const QString&) {};
        StartOptions options;
        options.dataFolder = folder;
        options.markerPath = "/nonexistent/Tamik";
        windows = CreateWindows(options);
        windows.console->show();
        windows.audience->show();
        windows.console->FormActivate();
        QCoreApplication::processEvents();
    }
    OperatorCommands& Commands() { return windows.console->Commands(); }
    // The heat view of the first programme item whose round runs on two floors, or on one.
    void ShowFirstHeatRound(bool twoFloors) {
        const Competition& s = *windows.state;
        const auto found = [&] {
            return s.CurrentEventIndex >= 0 && s.CurrentEvent().HasFloorB() == twoFloors;
        };
        for (int i = 0; i < 100 && !found(); ++i) Commands().ProgrammeStep(true);
        Commands().Heat();
        QCoreApplication::processEvents();
    }
};

}  // namespace bench
