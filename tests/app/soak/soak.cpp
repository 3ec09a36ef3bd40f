// The random-operator soak: starts the program offscreen on a copy of the demo folder (damaged or
// not), then drives random operator actions on the visible, enabled controls of both windows.
// Each action is written to a rehearsal script before it runs, so a run that fails replays with
// "trqdisplay --rehearse". Run under ASan and UBSan by scripts/soak.sh.
// Usage: trq_soak --demo DIR --out DIR --actions N --seed S [--damage K]
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <random>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/rehearsal/control_driver.h"
#include "app/rehearsal/script.h"
#include "folder_damage.h"
#include "random_operator.h"

namespace {

struct SoakOptions {
    QString demo;
    QString out;
    int actions = 0;
    unsigned seed = 0;
    int damages = 0;
};

std::optional<SoakOptions> ParseArgs(const QStringList& args) {
    SoakOptions o;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& value = args[i + 1];
        if (args[i] == u"--demo") {
            o.demo = QFileInfo(value).absoluteFilePath();
        } else if (args[i] == u"--out") {
            o.out = QFileInfo(value).absoluteFilePath();
        } else if (args[i] == u"--actions") {
            o.actions = value.toInt();
        } else if (args[i] == u"--seed") {
            o.seed = value.toUInt();
        } else if (args[i] == u"--damage") {
            o.damages = value.toInt();
        } else {
            return std::nullopt;
        }
    }
    if (args.size() % 2 == 0 || o.demo.isEmpty() || o.out.isEmpty()) return std::nullopt;
    return o;
}

// The program's clock moves only with the script's clock lines, as in a rehearsal.
class TickSwallower : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::Timer || QObject::eventFilter(watched, event);
    }
};

// A dialog opened without the hooks would wait for a person: acknowledge it as a rehearsal does.
void AcknowledgeDialogs() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            box->accept();
        } else {
            dialog->reject();
        }
    }
}

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void Fail(const QString& message) { std::fprintf(stderr, "soak: %s\n", qUtf8Printable(message)); }

// Prepares the folder and the script's head; false when the folder cannot be made.
bool Prepare(const SoakOptions& o, QFile& script, bool alternate) {
    QDir(o.out).removeRecursively();
    const QString data = o.out + QStringLiteral("/data");
    if (!CopyFolder(o.demo, data)) return false;
    std::mt19937 rng(o.seed);
    const QStringList damages = DamageFolder(data, rng, o.damages);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray head = "# Random operator, seed " + QByteArray::number(o.seed) + ", " +
                      QByteArray::number(o.damages) + " damages to the demo folder\n";
    for (const QString& d : damages) head += "#   " + d.toUtf8() + '\n';
    head += "# Replay: cd " + QFileInfo(data).absoluteFilePath().toUtf8() +
            " && trqdisplay --rehearse ../soak.txt --out ../replay --data ." +
            (alternate ? " --marker ../soak.txt" : "") + '\n';
    script.write(head);
    return script.flush();
}

int Run(const SoakOptions& o) {
    QFile script(o.out + QStringLiteral("/soak.txt"));
    // Odd seeds run the alternate result layouts (the marker names an existing file).
    const bool alternate = o.seed % 2 == 1;
    if (!Prepare(o, script, alternate)) {
        Fail(QStringLiteral("cannot prepare %1").arg(o.out));
        return 2;
    }
    const QString data = QFileInfo(o.out + QStringLiteral("/data")).absoluteFilePath();
    QDir::setCurrent(data);

    Hooks().showMessage = [](const QString&, const QString&) {};
    Hooks().confirm = [](const QString&, const QString&) { return true; };
    QTimer dialogWatch;
    dialogWatch.setInterval(50);
    QObject::connect(&dialogWatch, &QTimer::timeout, &AcknowledgeDialogs);
    dialogWatch.start();

    StartOptions start;
    start.dataFolder = data.toStdString();
    start.markerPath = alternate ? script.fileName().toStdString() : std::string("no-marker");
    AppWindows windows = CreateWindows(start);
    DspMain* console = windows.console.get();
    ScrForm* audience = windows.audience.get();
    TickSwallower swallowTicks;
    QTimer* timer1 = console->findChild<QTimer*>(QStringLiteral("Timer1"));
    if (timer1 != nullptr) timer1->installEventFilter(&swallowTicks);
    console->show();
    audience->show();
    console->FormActivate();
    Settle();

    ControlDriver driver(
        console, audience, [](QTime t) { Hooks().now = [t] { return t; }; },
        [console, timer1] {
            if (timer1 != nullptr && timer1->isActive()) console->Timer1Timer();
        });
    RandomOperator op(console, audience, o.seed);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < o.actions; ++i) {
        const QString line = op.NextLine();
        script.write(line.toUtf8() + '\n');
        script.flush();
        const Script parsed = ParseScript(line.toUtf8());
        if (parsed.error || parsed.actions.size() != 1) {
            Fail(QStringLiteral("action %1 \"%2\" does not parse").arg(i + 1).arg(line));
            return 1;
        }
        if (const QString error = driver.Perform(parsed.actions[0]); !error.isEmpty()) {
            Fail(QStringLiteral("action %1 \"%2\": %3").arg(i + 1).arg(line, error));
            return 1;
        }
        Settle();
    }
    std::printf("soak: seed %u, %d damages: %d actions in %.1f s\n", o.seed, o.damages, o.actions,
                static_cast<double>(clock.elapsed()) / 1000.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::optional<SoakOptions> options = ParseArgs(QApplication::arguments());
    if (!options) {
        Fail(QStringLiteral(
            "usage: trq_soak --demo DIR --out DIR --actions N --seed S [--damage K]"));
        return 2;
    }
    return Run(*options);
}
