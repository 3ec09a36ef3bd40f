#include "app/console/console_hooks.h"

#include <QMessageBox>

ConsoleHooks& Hooks() {
    static ConsoleHooks hooks{[](const QString& text, const QString& caption) {
                                  QMessageBox::information(nullptr, caption, text, QMessageBox::Ok);
                              },
                              [](const QString& text, const QString& caption) {
                                  return QMessageBox::question(nullptr, caption, text) ==
                                         QMessageBox::Yes;
                              },
                              [] { return QTime::currentTime(); }};
    return hooks;
}
