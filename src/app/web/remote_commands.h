#pragma once
// The operator's live commands by the names the remote and other programs use
// (POST /api/command/NAME): each runs the operator command of one console button.

#include <QString>
#include <QStringList>

#include "core/competition/competition_state.h"

class OperatorCommands;

enum class RemoteResult {
    Done,
    Unknown,  // no command of that name
    NotNow,   // the console's button is out of reach now (Final before the final): nothing ran
};

// heat-next, heat-prev, item-next, item-prev, heat, clean, title, msg, hold, judge, final, ready,
// go and the announcements break, lunch, event, wait, bye, check, dance-time, ceremony.
const QStringList& RemoteCommandNames();

RemoteResult RunRemoteCommand(const QString& name, OperatorCommands& commands,
                              const Competition& s);
