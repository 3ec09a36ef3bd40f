#pragma once
// The points where the console meets the world outside its windows: the modal message box and
// the local time. The rehearsal mode replaces them to run without a display and with a scripted
// clock.

#include <QString>
#include <QTime>
#include <functional>

struct ConsoleHooks {
    // Shows a modal message box with one OK button and waits for it.
    std::function<void(const QString& text, const QString& caption)> showMessage;
    // Asks a yes/no question in a modal box; true for yes.
    std::function<bool(const QString& text, const QString& caption)> confirm;
    // The local time the clock reads.
    std::function<QTime()> now;
};

// The process's hooks; the defaults use QMessageBox and the system clock.
ConsoleHooks& Hooks();
