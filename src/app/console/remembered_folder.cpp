#include "app/console/remembered_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString RememberedFolderFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/trqdisplay/last-data-folder");
}

std::optional<QString> RememberedDataFolder() {
    QFile file(RememberedFolderFile());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // One line, the folder's path in UTF-8; anything longer than a path is not ours.
    const QString folder = QString::fromUtf8(file.read(4096)).section(u'\n', 0, 0).trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return std::nullopt;
    return QDir::cleanPath(folder);
}

void RememberDataFolder(const QString& folder) {
    const QString path = RememberedFolderFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).toUtf8() + '\n');
    file.commit();
}
