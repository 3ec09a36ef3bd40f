// Entry: the console and the audience window, then the message loop. Started without arguments
// the program reads no command line; "--rehearse" runs the scripted offscreen rehearsal instead.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstring>
#include <exception>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/dsp_main_form.h"
#include "app/rehearsal/rehearsal.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--rehearse") == 0) return RunRehearsal(argc, argv);

    QApplication app(argc, argv);
    try {
        AppWindows windows = CreateWindows(StartOptions{});
        windows.console->show();
        // The first activation runs the start-up; platforms that do not activate a new window
        // get the same call once the loop runs (it happens only once either way).
        QTimer::singleShot(0, windows.console.get(), &DspMain::FormActivate);
        app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QString(), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
