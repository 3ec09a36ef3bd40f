#include "command_line.h"

#include <QFile>
#include <QStringList>
#include <algorithm>

std::optional<int> ParseHeatTime(const QString& text) {
    bool ok = false;
    int seconds = 0;
    const QStringList parts = text.split(u':');
    if (parts.size() == 1) {
        seconds = parts[0].toInt(&ok);
    } else if (parts.size() == 2 && parts[1].size() == 2) {
        bool minutesOk = false;
        const int minutes = parts[0].toInt(&minutesOk);
        seconds = minutes * 60 + parts[1].toInt(&ok);
        ok = ok && minutesOk && minutes >= 0 && parts[1].toInt() < 60;
    }
    if (!ok || seconds < 20 || seconds > 900) return std::nullopt;
    return seconds;
}

PublishArgs TakePublishArgs(std::vector<char*>& args) {
    PublishArgs p;
    std::optional<QString> url;
    std::optional<QString> tokenFile;
    for (size_t i = 1; i < args.size();) {
        const QString option = QString::fromLocal8Bit(args[i]);
        if (option != u"--publish" && option != u"--publish-token-file") {
            ++i;
            continue;
        }
        std::optional<QString>& target = option == u"--publish" ? url : tokenFile;
        if (i + 1 >= args.size() || args[i + 1][0] == '\0' || target) {
            p.error = target ? QStringLiteral("%1 given twice").arg(option)
                             : QStringLiteral("%1 needs a value").arg(option);
            return p;
        }
        target = QString::fromLocal8Bit(args[i + 1]);
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i + 2));
    }
    if (!url) {
        if (tokenFile) p.error = QStringLiteral("--publish-token-file without --publish URL");
        return p;
    }
    const QUrl parsed(*url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.host().isEmpty() ||
        (parsed.scheme() != u"http" && parsed.scheme() != u"https") || !parsed.query().isEmpty() ||
        !parsed.userInfo().isEmpty()) {
        p.error = QStringLiteral("--publish \"%1\": not an http:// or https:// address "
                                 "without user or query")
                      .arg(*url);
        return p;
    }
    if (tokenFile) {
        QFile file(*tokenFile);
        if (!file.open(QIODevice::ReadOnly)) {
            p.error = QStringLiteral("--publish-token-file %1: %2").arg(*tokenFile, file.errorString());
            return p;
        }
        p.secret = file.read(4096).split('\n').value(0).trimmed();
    } else {
        p.secret = qgetenv("TRQ_PUBLISH_TOKEN").trimmed();
    }
    // The secret travels in a header: no line breaks or other controls.
    const bool printable = std::all_of(p.secret.begin(), p.secret.end(),
                                       [](char c) { return c > ' ' && c < 127; });
    if (p.secret.isEmpty() || !printable) {
        p.error = QStringLiteral(
            "--publish needs the relay's secret: one line of printable characters in "
            "--publish-token-file FILE or in TRQ_PUBLISH_TOKEN");
        p.secret.clear();
        return p;
    }
    p.url = parsed;
    return p;
}

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine c;
    for (int i = 1; i < argc; ++i) {
        // The rehearsal reads its own options, in any order.
        if (QString::fromLocal8Bit(argv[i]) == u"--rehearse") {
            c.action = CommandLine::Action::Rehearse;
            return c;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const QString option = QString::fromLocal8Bit(argv[i]);
        if (option == u"--help" || option == u"-h") {
            c.action = CommandLine::Action::Help;
            return c;
        }
        if (option == u"--version") {
            c.action = CommandLine::Action::Version;
            return c;
        }
        if (option == u"--list-screens") {
            c.action = CommandLine::Action::ListScreens;
            continue;
        }
        if (option == u"--web") {
            if (i + 1 >= argc || c.web) {
                c.action = CommandLine::Action::Error;
                c.error = c.web ? QStringLiteral("--web given twice")
                                : QStringLiteral("--web needs [ADDRESS:]PORT");
                return c;
            }
            const QString value = QString::fromLocal8Bit(argv[++i]);
            c.web = ParseWebListen(value);
            if (!c.web) {
                c.action = CommandLine::Action::Error;
                c.error = QStringLiteral("--web \"%1\": not [ADDRESS:]PORT").arg(value);
                return c;
            }
            continue;
        }
        if (option == u"--heat-time") {
            // M:SS or seconds: what a heat takes before the day's own steps show it.
            const QString value = i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString();
            const std::optional<int> seconds = ParseHeatTime(value);
            if (!seconds || c.secondsPerHeat) {
                c.action = CommandLine::Action::Error;
                c.error = c.secondsPerHeat ? QStringLiteral("--heat-time given twice")
                                           : QStringLiteral("--heat-time \"%1\": not M:SS or "
                                                            "seconds (20 to 900)")
                                                 .arg(value);
                return c;
            }
            c.secondsPerHeat = seconds;
            continue;
        }
        if (option == u"--data" || option == u"--screen") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                c.action = CommandLine::Action::Error;
                c.error = QStringLiteral("%1 needs a value").arg(option);
                return c;
            }
            const QString value = QString::fromLocal8Bit(argv[++i]);
            std::optional<QString>& target = option == u"--data" ? c.dataFolder : c.screenName;
            if (target) {
                c.action = CommandLine::Action::Error;
                c.error = QStringLiteral("%1 given twice").arg(option);
                return c;
            }
            target = value;
            continue;
        }
        c.action = CommandLine::Action::Error;
        c.error = QStringLiteral("unknown option \"%1\"").arg(option);
        return c;
    }
    return c;
}

QString UsageText() {
    return QStringLiteral(
        "usage: trqdisplay [--data DIR] [--screen NAME] [--web [ADDRESS:]PORT] [--heat-time M:SS]\n"
        "                  [--publish URL [--publish-token-file FILE]]\n"
        "       trqdisplay --list-screens\n"
        "       trqdisplay --rehearse SCRIPT --out OUT [--data DIR] [--marker FILE]\n"
        "                  [--publish URL [--publish-token-file FILE]]\n"
        "       trqdisplay --help | --version\n"
        "\n"
        "Shows the competition of the data folder on the operator console and on the venue\n"
        "screen. Without options the data folder comes from TRQsys.ini in the current directory.\n"
        "\n"
        "  --data DIR       use DIR as the data folder instead of the one TRQsys.ini names\n"
        "  --screen NAME    show the audience picture on the screen of that name\n"
        "                   (default: the screen right of the primary one)\n"
        "  --web [ADDRESS:]PORT\n"
        "                   serve the audience picture, the heats and the operator's remote on\n"
        "                   this port (ADDRESS: every interface by default; 127.0.0.1 for this\n"
        "                   computer only; port 0: any free one); prints the addresses\n"
        "  --heat-time M:SS what a heat takes (call to the floor not included) before the day's\n"
        "                   own heat steps show it; the start-time estimates use it (1:40)\n"
        "  --publish URL    send the audience picture, the heats and the day's estimates to a\n"
        "                   relay for spectators outside the hall (URL: the relay's publisher\n"
        "                   address, e.g. https://relay.example.org/pub/)\n"
        "  --publish-token-file FILE\n"
        "                   the relay's secret, on the file's first line (else from the\n"
        "                   environment variable TRQ_PUBLISH_TOKEN)\n"
        "  --list-screens   print the screens' names and geometries, then exit\n"
        "  --rehearse ...   run an operator script offscreen and write pictures of every step\n"
        "  --help           print this text\n"
        "  --version        print the version\n"
        "\n"
        "Keys on the console (and presenter clickers): Page Down, Right or B steps the heat\n"
        "forward while the heat view is up, else the programme item; Page Up or Left steps "
        "back.\n");
}

QString VersionText() { return QStringLiteral("trqdisplay %1").arg(QStringLiteral(TRQ_VERSION)); }
