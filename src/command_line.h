#pragma once
// The program's command line: run the display (optionally on a data folder and a named venue
// screen, with the web server on), list the screens, print the usage or the version, or run a
// rehearsal.

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

#include "app/web/web_listen.h"

struct CommandLine {
    enum class Action { Run, Rehearse, ListScreens, Help, Version, Error };
    Action action = Action::Run;
    std::optional<QString> dataFolder;  // --data DIR
    std::optional<QString> screenName;  // --screen NAME
    std::optional<WebListen> web;       // --web [ADDRESS:]PORT
    std::optional<int> secondsPerHeat;  // --heat-time M:SS
    QString error;                      // Action::Error: what was wrong
};

CommandLine ParseCommandLine(int argc, char** argv);

// --publish URL [--publish-token-file FILE]: the relay to publish to and its secret (from the
// file's first line, else from the environment variable TRQ_PUBLISH_TOKEN, so that it never
// shows among a process's arguments). Taken out of `args`, for the display and the rehearsal.
struct PublishArgs {
    std::optional<QUrl> url;
    QByteArray secret;
    QString error;  // what was wrong; nothing else is set then
};
PublishArgs TakePublishArgs(std::vector<char*>& args);
// "1:40" or "100": seconds from 20 to 900; nothing else.
std::optional<int> ParseHeatTime(const QString& text);

// The usage text printed by --help and after a command-line error.
QString UsageText();
QString VersionText();
