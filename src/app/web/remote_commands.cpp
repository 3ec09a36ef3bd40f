#include "app/web/remote_commands.h"

#include <functional>
#include <vector>

#include "app/console/operator_commands.h"
#include "core/competition/programme_item.h"
#include "core/display/message_screen.h"

namespace {

struct RemoteCommand {
    const char* name;
    std::function<void(OperatorCommands&)> run;
};

// The picture buttons' left-button meanings: floor A's finalists, current and next item.
const std::vector<RemoteCommand>& Commands() {
    static const std::vector<RemoteCommand> commands{
        {"heat-next", [](OperatorCommands& c) { c.HeatStep(true); }},
        {"heat-prev", [](OperatorCommands& c) { c.HeatStep(false); }},
        {"item-next", [](OperatorCommands& c) { c.ProgrammeStep(true); }},
        {"item-prev", [](OperatorCommands& c) { c.ProgrammeStep(false); }},
        {"heat", [](OperatorCommands& c) { c.Heat(); }},
        {"clean", [](OperatorCommands& c) { c.Clean(); }},
        {"title", [](OperatorCommands& c) { c.Title(); }},
        {"msg", [](OperatorCommands& c) { c.Msg(false); }},
        {"hold", [](OperatorCommands& c) { c.ToggleHold(); }},
        {"judge", [](OperatorCommands& c) { c.Judge(); }},
        {"final", [](OperatorCommands& c) { c.Final(false); }},
        {"ready", [](OperatorCommands& c) { c.Ready(); }},
        {"go", [](OperatorCommands& c) { c.Go(); }},
        {"break", [](OperatorCommands& c) { c.Announce(kMessageBreak, {}); }},
        {"lunch", [](OperatorCommands& c) { c.Announce(kMessageLunch, {}); }},
        {"event", [](OperatorCommands& c) { c.Announce(kMessageCeremony, {}); }},
        {"wait", [](OperatorCommands& c) { c.Announce(kMessageWait, {}); }},
        {"bye", [](OperatorCommands& c) { c.Announce(kMessageGoodbye, {}); }},
        {"check", [](OperatorCommands& c) { c.Announce(kMessageCheck, {}); }},
        {"dance-time", [](OperatorCommands& c) { c.Announce(kMessageDanceTime, {}); }},
        {"ceremony", [](OperatorCommands& c) { c.Announce(kMessageAwardCeremony, {}); }},
    };
    return commands;
}

}  // namespace

const QStringList& RemoteCommandNames() {
    static const QStringList names = [] {
        QStringList out;
        for (const RemoteCommand& c : Commands()) out.append(QLatin1String(c.name));
        return out;
    }();
    return names;
}

RemoteResult RunRemoteCommand(const QString& name, OperatorCommands& commands,
                              const Competition& s) {
    for (const RemoteCommand& c : Commands()) {
        if (name != QLatin1String(c.name)) continue;
        if (name == u"final" && !FinalAllowed(s)) return RemoteResult::NotNow;
        c.run(commands);
        return RemoteResult::Done;
    }
    return RemoteResult::Unknown;
}
