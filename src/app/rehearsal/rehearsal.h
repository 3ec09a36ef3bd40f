#pragma once
// The rehearsal mode: "--rehearse SCRIPT --out OUT [--data DIR] [--marker FILE]" starts the
// console and the audience window offscreen, runs the operator actions of SCRIPT and writes
// pictures, draw records and control states to OUT after start-up and after every action.

#include <QString>
#include <functional>
#include <optional>

struct AppWindows;

struct RehearsalOptions {
    QString script;
    QString out;
    std::optional<QString> dataFolder;
    // Looked for instead of the marker file that selects the alternate result layouts.
    std::optional<QString> markerFile;
};

// Reads the options from argv[1] on, in any order. Returns an error message or an empty string.
QString ParseRehearsalArgs(int argc, char** argv, RehearsalOptions& options);

// What the program adds to a run (publishing to a relay): called once the windows are up, after
// every step's records are written, and before the windows close.
struct RehearsalHooks {
    std::function<void(AppWindows&)> started;
    std::function<void()> stepDone;
    std::function<void()> finishing;
};

// The whole run; the process's exit status: 0 when every action ran, 2 on a bad command line,
// an unreadable or faulty script, or an action that cannot be carried out (the message names
// the script line).
int RunRehearsal(int argc, char** argv, const RehearsalHooks& hooks = {});
