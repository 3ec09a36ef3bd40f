#include "app/rehearsal/rehearsal.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/day_schedule.h"
#include "app/console/dsp_main_form.h"
#include "app/rehearsal/control_driver.h"
#include "app/rehearsal/script.h"
#include "app/rehearsal/snapshot.h"
#include "app/widgets/image_control.h"
#include "core/competition/now_json.h"
#include "core/platform/data_file.h"

namespace {

constexpr int kBadRun = 2;
constexpr const char* kUsage =
    "usage: trqdisplay --rehearse SCRIPT --out OUT [--data DIR] [--marker FILE]";

void Fail(const QString& message) {
    std::fprintf(stderr, "rehearsal: %s\n", message.toLocal8Bit().constData());
}

// The clock of a rehearsal moves only with the script's clock lines: the console's timer does
// not tick by itself, so the pictures of a run do not depend on how long it took.
class TickSwallower : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Timer) return true;
        return QObject::eventFilter(watched, event);
    }
};

// Puts the process's hooks back when the run ends, so nothing points into the finished run.
class HooksRestorer {
  public:
    HooksRestorer() : saved_(Hooks()) {}
    ~HooksRestorer() { Hooks() = std::move(saved_); }
    HooksRestorer(const HooksRestorer&) = delete;
    HooksRestorer& operator=(const HooksRestorer&) = delete;

  private:
    ConsoleHooks saved_;
};

// A dialog that some code opens directly instead of through the hooks would wait for a person
// who is not there: record a message box as the hook does and acknowledge it, close any other.
void AcknowledgeDialogs(std::vector<RecordedMessage>& messages) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            messages.push_back(PlainMessage(box->text(), box->windowTitle()));
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

QString Located(const RehearsalOptions& options, int line, const QString& message) {
    return QStringLiteral("%1:%2: %3").arg(options.script).arg(line).arg(message);
}

}  // namespace

QString ParseRehearsalArgs(int argc, char** argv, RehearsalOptions& options) {
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        const QString option = QString::fromLocal8Bit(argv[i]);
        if (option != u"--rehearse" && option != u"--out" && option != u"--data" &&
            option != u"--marker") {
            return QStringLiteral("unknown option \"%1\"").arg(option);
        }
        if (i + 1 >= argc) return QStringLiteral("%1 needs a value").arg(option);
        const QString value = QString::fromLocal8Bit(argv[++i]);
        if (value.isEmpty()) return QStringLiteral("%1 needs a value").arg(option);
        if (option == u"--rehearse") {
            if (haveScript) return QStringLiteral("--rehearse given twice");
            options.script = value;
            haveScript = true;
        } else if (option == u"--out") {
            if (!options.out.isEmpty()) return QStringLiteral("--out given twice");
            options.out = value;
        } else if (option == u"--marker") {
            if (options.markerFile) return QStringLiteral("--marker given twice");
            options.markerFile = value;
        } else {
            if (options.dataFolder) return QStringLiteral("--data given twice");
            options.dataFolder = value;
        }
    }
    if (!haveScript) return QStringLiteral("no script (--rehearse SCRIPT)");
    if (options.out.isEmpty()) return QStringLiteral("no output folder (--out OUT)");
    return {};
}

int RunRehearsal(int argc, char** argv, const RehearsalHooks& hooks) {
    RehearsalOptions options;
    if (const QString error = ParseRehearsalArgs(argc, argv, options); !error.isEmpty()) {
        Fail(error);
        std::fprintf(stderr, "%s\n", kUsage);
        return kBadRun;
    }

    QFile scriptFile(options.script);
    if (!scriptFile.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("%1: cannot read (%2)").arg(options.script, scriptFile.errorString()));
        return kBadRun;
    }
    const Script script = ParseScript(scriptFile.readAll());
    scriptFile.close();
    if (script.error) {
        Fail(Located(options, script.error->line, script.error->message));
        return kBadRun;
    }
    if (options.dataFolder && !QFileInfo(*options.dataFolder).isDir()) {
        Fail(QStringLiteral("--data %1: no such folder").arg(*options.dataFolder));
        return kBadRun;
    }
    if (!QDir().mkpath(options.out)) {
        Fail(QStringLiteral("--out %1: cannot create the folder").arg(options.out));
        return kBadRun;
    }

    std::vector<RecordedMessage> messages;
    HooksRestorer restoreHooks;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit sees no options: the command line belongs to the rehearsal.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);

    Hooks().showMessage = [&messages](const QString& text, const QString& caption) {
        messages.push_back(PlainMessage(text, caption));
    };
    // A question (the exit confirmation) is recorded with its buttons and answered yes.
    Hooks().confirm = [&messages](const QString& text, const QString& caption) {
        const QString yes = QString::fromUtf8(kYesButton);
        const QString no = QString::fromUtf8(kNoButton);
        messages.push_back({.text = text,
                            .caption = caption,
                            .buttons = {yes, no},
                            .defaultButton = no,
                            .answer = yes});
        return true;
    };
    // A rehearsal remembers no data folder and is offered none: it writes only its records.
    Hooks().rememberedDataFolder = [] { return std::optional<QString>(); };
    Hooks().rememberDataFolder = [](const QString&) {};
    // The clock of a run reads 09:00 until a script's clock line sets it, so the estimates of the
    // day (and everything else that reads the time) come out the same in every run.
    Hooks().now = [] { return QTime(9, 0); };
    // The program's end ends the rehearsal after the step's records are written.
    std::optional<int> ended;
    Hooks().exit = [&ended](int status) { ended = status; };
    QTimer dialogWatch;
    dialogWatch.setInterval(50);
    QObject::connect(&dialogWatch, &QTimer::timeout, [&messages] { AcknowledgeDialogs(messages); });
    dialogWatch.start();

    StartOptions start;
    if (options.dataFolder) start.dataFolder = EncodePath(*options.dataFolder);
    if (options.markerFile) start.markerPath = EncodePath(*options.markerFile);

    std::optional<AppWindows> windows;
    try {
        windows.emplace(CreateWindows(start));
    } catch (const std::exception& e) {
        Fail(QStringLiteral("start-up failed: %1").arg(QString::fromLocal8Bit(e.what())));
        return kBadRun;
    }
    // What the program added goes before the windows do.
    struct Finishing {
        const RehearsalHooks& hooks;
        ~Finishing() {
            if (hooks.finishing) hooks.finishing();
        }
    } finishing{hooks};
    DspMain* console = windows->console.get();
    ScrForm* audience = windows->audience.get();
    for (QWidget* window : {static_cast<QWidget*>(console), static_cast<QWidget*>(audience)}) {
        for (ImageControl* image : window->findChildren<ImageControl*>()) {
            image->canvas().SetRecording(true);
        }
    }
    TickSwallower swallowTicks;
    QTimer* timer1 = console->findChild<QTimer*>(QStringLiteral("Timer1"));
    if (timer1 != nullptr) timer1->installEventFilter(&swallowTicks);
    if (auto* estimates = console->findChild<QTimer*>(QStringLiteral("EstimateTimer"))) {
        estimates->installEventFilter(&swallowTicks);
    }

    int step = 0;
    NowJsonFeed feed;
    const auto writeStep = [&]() {
        const QString error =
            WriteStep(options.out, step, console, audience, messages,
                      feed.Next(*windows->state, &console->Schedule().Day(),
                                &console->Schedule().Pace()));
        messages.clear();
        if (!error.isEmpty()) Fail(error);
        if (hooks.stepDone) hooks.stepDone();
        return error.isEmpty();
    };

    console->show();
    audience->show();
    console->FormActivate();
    Settle();
    if (hooks.started) hooks.started(*windows);
    if (!writeStep()) return kBadRun;

    ControlDriver driver(
        console, audience, [](QTime t) { Hooks().now = [t] { return t; }; },
        [console, timer1] {
            if (timer1 != nullptr && timer1->isActive()) console->Timer1Timer();
        });
    for (const ScriptAction& action : script.actions) {
        ++step;
        const QString error = driver.Perform(action);
        if (!error.isEmpty()) {
            Fail(Located(options, action.line, error));
            return kBadRun;
        }
        Settle();
        if (!writeStep()) return kBadRun;
        if (ended) return *ended;
    }
    return 0;
}
