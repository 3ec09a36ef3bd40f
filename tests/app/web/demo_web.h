#pragma once
// The web tests' start: both windows on the demo competition, started as at the venue, and the
// web server on them, not yet listening.

#include <memory>

#include "app/console/app_start.h"
#include "app/console/dsp_main_form.h"
#include "app/web/web_server.h"

inline std::unique_ptr<WebServer> StartDemoWithWeb(AppWindows& windows) {
    StartOptions options;
    options.dataFolder = qEnvironmentVariable("TRQ_SOURCE_DIR").toStdString() + "/data/demo";
    options.markerPath = "/nonexistent/Tamik";
    windows = CreateWindows(options);
    windows.console->show();
    windows.console->FormActivate();
    auto web = std::make_unique<WebServer>(*windows.state, *windows.audience,
                                           windows.console->Commands());
    web->SetSchedule(&windows.console->Schedule());
    return web;
}
