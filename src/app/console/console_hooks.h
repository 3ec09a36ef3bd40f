#pragma once
// The points where the console meets the world outside its windows: the modal message box, the
// yes/no question, the local time and the end of the program. The rehearsal mode replaces them
// to run without a display, with a scripted clock, and to write its records before it ends.

#include <QString>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>

class QMessageBox;

struct ConsoleHooks {
    // Shows a modal message box with one OK button and waits for it.
    std::function<void(const QString& text, const QString& caption)> showMessage;
    // Asks a yes/no question in a modal box; true for yes. The box's default is no.
    std::function<bool(const QString& text, const QString& caption)> confirm;
    // The local time the clock reads.
    std::function<QTime()> now;
    // Ends the program with an exit status, at once.
    std::function<void(int status)> exit;
    // The data folder used last, kept for the user between starts (remembered_folder.h).
    std::function<std::optional<QString>()> rememberedDataFolder;
    std::function<void(const QString& folder)> rememberDataFolder;
};

// The process's hooks; the defaults use QMessageBox, the system clock and _Exit.
ConsoleHooks& Hooks();

// The buttons of every question, in the order shown; the second is the default, and Escape or
// closing the box answers it too: a stray Enter never does what the question asks.
inline constexpr const char* kYesButton = "はい";
inline constexpr const char* kNoButton = "いいえ";

// The question's box as the console shows it (not yet shown).
std::unique_ptr<QMessageBox> QuestionBox(const QString& text, const QString& caption);
