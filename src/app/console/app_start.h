#pragma once
// The entry's steps: the marker file decides the alternate result layouts, then the console and
// the audience window are created (the console first, so the program folder is known).

#include <memory>
#include <optional>
#include <string>

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
