#pragma once
// The entry's steps: the marker file decides the alternate result layouts, then the console and
// the audience window are created (the console first, so the program folder is known).

#include <memory>
#include <optional>
#include <string>

#include "app/audience/venue_screen.h"

struct Competition;
class DspMain;
class ScrForm;

#ifdef _WIN32
inline constexpr const char* kMarkerPath = "C:\\Tamik";
#else
inline constexpr const char* kMarkerPath = "/Tamik";
#endif

struct StartOptions {
    // Replaces the data folder as if the settings file named it (rehearsal mode only).
    std::optional<std::string> dataFolder;
    std::string markerPath = kMarkerPath;
    // The audience window covers the venue screen (a normal run). Off, it is placed at the
    // configured left and top as they stand (rehearsals and window tests).
    bool venueDisplay = false;
    std::optional<QString> venueScreenName;  // --screen NAME
    // The screens, and a hook that calls back whenever they change; the system's by default.
    ScreenList screens = SystemScreens;
    std::function<void(std::function<void()>)> watchScreens;
    // The time per heat the estimates assume until the operator's own steps show the pace.
    int secondsPerHeat = 100;
    // The start-up shows the console once the window system has exposed the hall's window and
    // its first picture is painted (the program's own start); off, at once (rehearsals, tests).
    bool consoleAfterHallPicture = false;
    // The longest the console waits for that (a window system that never exposes the hall's
    // window, or one slow to).
    int consoleShowLatestMs = 200;
};

struct AppWindows {
    // The process-wide tables; the console works on them for the whole run.
    std::unique_ptr<Competition> state;
    std::unique_ptr<DspMain> console;
    std::unique_ptr<ScrForm> audience;
    AppWindows();
    ~AppWindows();
    AppWindows(AppWindows&&) noexcept;
    AppWindows& operator=(AppWindows&&) noexcept;
};

// 1 when a regular file (not a folder) exists at path.
int MarkerFileLayout(const std::string& path);

// Creates both windows (not shown yet) and connects them.
AppWindows CreateWindows(const StartOptions& options);
