#include "app/console/console_hooks.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "app/console/remembered_folder.h"

std::unique_ptr<QMessageBox> QuestionBox(const QString& text, const QString& caption) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, caption, text);
    QPushButton* yes = box->addButton(QString::fromUtf8(kYesButton), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QString::fromUtf8(kNoButton), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("QuestionYes"));
    no->setObjectName(QStringLiteral("QuestionNo"));
    box->setDefaultButton(no);
    box->setEscapeButton(no);
    return box;
}

ConsoleHooks& Hooks() {
    static ConsoleHooks hooks{
        [](const QString& text, const QString& caption) {
            QMessageBox::information(nullptr, caption, text, QMessageBox::Ok);
        },
        [](const QString& text, const QString& caption) {
            const std::unique_ptr<QMessageBox> box = QuestionBox(text, caption);
            box->exec();
            return box->clickedButton() != nullptr &&
                   box->clickedButton()->objectName() == QStringLiteral("QuestionYes");
        },
        [] { return QTime::currentTime(); },
        [](int status) {
            // Nothing is ever saved, so there is nothing to wind down.
            std::fflush(nullptr);
            std::_Exit(status);
        },
        [] { return RememberedDataFolder(); },
        [](const QString& folder) { RememberDataFolder(folder); }};
    return hooks;
}
