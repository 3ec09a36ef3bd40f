#include "app/console/console_hooks.h"

#include <QMessageBox>

ConsoleHooks& Hooks() {
    static ConsoleHooks hooks{[](const QString& text, const QString& caption) {
                                  QMessageBox::information(nullptr, caption, text, QMessageBox::Ok);
                              },
                              [] { return QTime::currentTime(); }};
    return hooks;
}
