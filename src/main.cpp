// Entry: the console and the audience window (and the web server with --web, the relay's
// publisher with --publish), then the message loop; the command line chooses the data folder and the venue screen, prints the usage, the
// version or the screens, or runs the scripted offscreen rehearsal.

#include <malloc.h>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "app/audience/venue_screen.h"
#include "app/console/app_start.h"
#include "app/console/dsp_main_form.h"
#include "app/rehearsal/rehearsal.h"
#include "app/web/relay_publisher.h"
#include "app/web/web_panel.h"
#include "app/web/web_server.h"
#include "command_line.h"
#include "core/platform/data_file.h"
#include "core/platform/font_warm_up.h"
#include "core/platform/stable_file.h"

namespace {

// The console is idle by then after its start-up, and no operator has pressed a button yet.
constexpr int kWarmUpDelayMs = 300;

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The relay's state changes, for the terminal or the journal.
void Report(const RelayStatus& status) {
    const auto clock = [](const QDateTime& t) { return t.toString(QStringLiteral("HH:mm:ss")); };
    switch (status.state) {
        case RelayStatus::State::Waiting:
            return;
        case RelayStatus::State::Reachable:
            Print(stderr, status.backAfter
                              ? QStringLiteral("trqdisplay: relay: reachable again at %1 (down "
                                               "since %2); the newest picture and state go out\n")
                                    .arg(clock(status.since), clock(*status.backAfter))
                              : QStringLiteral("trqdisplay: relay: publishing\n"));
            return;
        case RelayStatus::State::Unreachable:
        case RelayStatus::State::Refused:
            Print(stderr, QStringLiteral("trqdisplay: relay: %1 since %2 (%3); retrying\n")
                              .arg(status.state == RelayStatus::State::Refused
                                       ? QStringLiteral("refused")
                                       : QStringLiteral("unreachable"),
                                   clock(status.since), status.detail));
            return;
    }
}

// The relay's publisher and the feed that fills it: the web server's, listening or not.
struct Publishing {
    std::unique_ptr<RelayPublisher> relay;
    std::unique_ptr<WebServer> web;  // goes first: it feeds the relay

    void Attach(const PublishArgs& publish, AppWindows& windows, WebServer* listening) {
        relay = std::make_unique<RelayPublisher>(*publish.url, publish.secret);
        QObject::connect(relay.get(), &RelayPublisher::statusChanged, relay.get(), &Report);
        if (listening == nullptr) {
            web = std::make_unique<WebServer>(*windows.state, *windows.audience,
                                              windows.console->Commands());
            web->SetSchedule(&windows.console->Schedule());
            // The relay is there before the first picture.
            web->SetRelay(relay.get());
            web->StartWithoutListening();
            return;
        }
        listening->SetRelay(relay.get());
    }
};

// A rehearsal that publishes: every step's picture and state reach the relay before the next
// step, as far as the relay takes them in time.
RehearsalHooks PublishingRehearsal(const PublishArgs& publish) {
    if (!publish.url) return {};
    auto publishing = std::make_shared<Publishing>();
    constexpr int kStepWaitMs = 3000;
    return {.started = [publishing, publish](AppWindows& w) { publishing->Attach(publish, w, nullptr); },
            .stepDone = [publishing] { publishing->web->WaitPublished(kStepWaitMs); },
            .finishing =
                [publishing] {
                    publishing->web->WaitPublished(kStepWaitMs);
                    publishing->web.reset();
                    publishing->relay.reset();
                }};
}

}  // namespace

int main(int argc, char** argv) {
    // Bitmaps of a megabyte and more (pictures drawn ahead, taken, let go) come from mappings of
    // their own, which go back to the system when freed: over a long day they do not leave the
    // heap with free space the size of a few pictures (the allocator would otherwise move its
    // threshold above the size of the first picture freed).
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    // The relay's options first: the display and the rehearsal take them alike.
    std::vector<char*> args(argv, argv + argc);
    const PublishArgs publish = TakePublishArgs(args);
    if (!publish.error.isEmpty()) {
        Print(stderr, QStringLiteral("trqdisplay: %1\n\n").arg(publish.error) + UsageText());
        return 2;
    }
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    switch (commandLine.action) {
        case CommandLine::Action::Rehearse:
            return RunRehearsal(argc, argv, PublishingRehearsal(publish));
        case CommandLine::Action::Help:
            Print(stdout, UsageText());
            return 0;
        case CommandLine::Action::Version:
            Print(stdout, VersionText() + QLatin1Char('\n'));
            return 0;
        case CommandLine::Action::Error:
            Print(stderr,
                  QStringLiteral("trqdisplay: %1\n\n").arg(commandLine.error) + UsageText());
            return 2;
        case CommandLine::Action::Run:
        case CommandLine::Action::ListScreens:
            break;
    }

    // Live, a file the scoring system is still writing is taken once it has settled.
    SetFileSettleTime(kDataFileSettleTime);
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    fonts.Join();
    if (commandLine.action == CommandLine::Action::ListScreens) {
        for (const ScreenInfo& screen : SystemScreens()) {
            const QRect& g = screen.geometry;
            Print(stdout, QStringLiteral("%1\t%2x%3+%4+%5%6\n")
                              .arg(screen.name)
                              .arg(g.width())
                              .arg(g.height())
                              .arg(g.x())
                              .arg(g.y())
                              .arg(screen.primary ? QStringLiteral("\tprimary") : QString()));
        }
        return 0;
    }
    try {
        StartOptions options;
        if (commandLine.dataFolder) options.dataFolder = EncodePath(*commandLine.dataFolder);
        options.venueScreenName = commandLine.screenName;
        options.venueDisplay = true;
        if (commandLine.secondsPerHeat) options.secondsPerHeat = *commandLine.secondsPerHeat;
        options.consoleAfterHallPicture = true;
        AppWindows windows = CreateWindows(options);
        Publishing publishing;
        std::unique_ptr<WebServer> web;
        if (commandLine.web) {
            web = std::make_unique<WebServer>(*windows.state, *windows.audience,
                                              windows.console->Commands());
            web->SetSchedule(&windows.console->Schedule());
            WebServerOptions webOptions;
            webOptions.address = commandLine.web->address;
            webOptions.port = static_cast<quint16>(commandLine.web->port);
            QString error;
            if (!web->Start(webOptions, &error)) {
                Print(stderr, QStringLiteral("trqdisplay: --web: %1\n").arg(error));
                return 2;
            }
            // Hall mode: the relay on this computer in front of the program's own server.
            if (publish.url && IsLoopbackHost(webOptions.address) &&
                IsLoopbackHost(publish.url->host())) {
                web->ServeThroughRelay(*publish.url);
            }
            Print(stdout, QStringLiteral("live picture and heats (for everyone): %1\n"
                                         "heats by back number:                 %1heats\n"
                                         "remote (operator's phone, keep private): %2\n")
                              .arg(web->MirrorUrl().toString(), web->RemoteUrl().toString()));
            // On the maintenance panel, beside its offsets, and on the main panel.
            auto* panel = windows.console->findChild<QWidget*>(QStringLiteral("Panel6"));
            auto* mainPanel = windows.console->findChild<QWidget*>(QStringLiteral("Panel8"));
            if (panel != nullptr) new WebPanel(panel, mainPanel, *web);
        }
        if (publish.url) {
            publishing.Attach(publish, windows, web.get());
            Print(stdout, QStringLiteral("publishing to the relay: %1\n")
                              .arg(publishing.relay->Base().toString()));
            if (auto* mainPanel = windows.console->findChild<QWidget*>(QStringLiteral("Panel8"))) {
                AddRelayLine(mainPanel, *publishing.relay);
            }
        }
        // The start-up runs once the loop runs and shows the console after the hall's first
        // picture (the audience's first picture waits neither for the console's first paint nor
        // for its making ready).
        QTimer::singleShot(0, windows.console.get(), &DspMain::FormActivate);
        // Once the first picture is up, the judges' names are made ready for their showing.
        QTimer::singleShot(kWarmUpDelayMs, windows.console.get(), &DspMain::WarmUp);
        return app.exec();
    } catch (const std::exception& e) {
        // Whatever went wrong is said where it is seen: on the terminal or in the journal, and
        // on the console's screen; the status tells a service manager that the program failed.
        Print(stderr, QStringLiteral("trqdisplay: %1\n").arg(QString::fromLocal8Bit(e.what())));
        QMessageBox::critical(nullptr, QStringLiteral("trqdisplay"),
                              QString::fromLocal8Bit(e.what()));
        return 1;
    } catch (...) {
        Print(stderr, QStringLiteral("trqdisplay: stopped by an unknown error\n"));
        return 1;
    }
}
