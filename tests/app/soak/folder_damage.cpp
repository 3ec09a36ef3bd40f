#include "folder_damage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <array>
#include <functional>
#include <vector>

namespace {

int Below(std::mt19937& rng, qsizetype n) {
    return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

// Each damage changes the bytes of one file (or the file itself) and names what it did.
using Damage = std::function<QString(const QString& path, std::mt19937& rng)>;

const std::vector<Damage>& Damages() {
    static const std::vector<Damage> damages = {
        [](const QString& path, std::mt19937& rng) {
            QByteArray b = Read(path);
            b.truncate(Below(rng, b.size()));
            Write(path, b);
            return QStringLiteral("cut to %1 bytes").arg(b.size());
        },
        [](const QString& path, std::mt19937&) {
            Write(path, {});
            return QStringLiteral("emptied");
        },
        [](const QString& path, std::mt19937&) {
            QFile::remove(path);
            return QStringLiteral("removed");
        },
        [](const QString& path, std::mt19937&) {
            QFile::remove(path);
            QDir().mkpath(path);
            return QStringLiteral("replaced by a folder");
        },
        [](const QString& path, std::mt19937& rng) {
            QByteArray b = Read(path);
            const int n = 1 + Below(rng, 8);
            for (int i = 0; i < n && !b.isEmpty(); ++i) {
                b[Below(rng, b.size())] = static_cast<char>(Below(rng, 256));
            }
            Write(path, b);
            return QStringLiteral("%1 bytes garbled").arg(n);
        },
        [](const QString& path, std::mt19937& rng) {
            QByteArray b = Read(path);
            const qsizetype at = b.isEmpty() ? 0 : b.indexOf('\n', Below(rng, b.size())) + 1;
            const int length = 300 + Below(rng, 3000);
            b.insert(at, QByteArray(length, '1') + "\r\n");
            Write(path, b);
            return QStringLiteral("a line of %1 bytes inserted").arg(length);
        },
        [](const QString& path, std::mt19937& rng) {
            static const std::array<const char*, 5> edges = {"-2147483648", "2147483647",
                                                             "99999999999", "-1", "0"};
            QByteArray b = Read(path);
            static const QRegularExpression number(QStringLiteral("[0-9]+"));
            const QString text = QString::fromLatin1(b);
            std::vector<QRegularExpressionMatch> found;
            for (auto it = number.globalMatch(text); it.hasNext();) found.push_back(it.next());
            if (found.empty()) return QStringLiteral("no number to change");
            const QRegularExpressionMatch& m = found[static_cast<size_t>(Below(rng, found.size()))];
            const char* edge = edges[static_cast<size_t>(Below(rng, edges.size()))];
            b.replace(m.capturedStart(), m.capturedLength(), edge);
            Write(path, b);
            return QStringLiteral("number at byte %1 made %2").arg(m.capturedStart()).arg(edge);
        },
        [](const QString& path, std::mt19937& rng) {
            QByteArray b = Read(path);
            const int copies = 1 + Below(rng, 60);
            const QByteArray once = b;
            for (int i = 0; i < copies; ++i) b += once;
            Write(path, b);
            return QStringLiteral("written %1 times over").arg(copies + 1);
        },
        [](const QString& path, std::mt19937&) {
            QByteArray b = Read(path);
            b.replace("\r\n", "\r");
            Write(path, b);
            return QStringLiteral("line ends made CR");
        },
    };
    return damages;
}

}  // namespace

bool CopyFolder(const QString& from, const QString& to) {
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    if (!QDir().mkpath(to)) return false;
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + source.relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) return false;
    }
    return true;
}

QStringList DamageFolder(const QString& folder, std::mt19937& rng, int count) {
    QStringList done;
    const QDir dir(folder);
    for (int i = 0; i < count; ++i) {
        QStringList files;
        for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            files << dir.relativeFilePath(it.next());
        }
        if (files.isEmpty()) break;
        files.sort();
        const QString file = files[Below(rng, files.size())];
        const Damage& damage = Damages()[static_cast<size_t>(Below(rng, Damages().size()))];
        done << file + QStringLiteral(": ") + damage(folder + u'/' + file, rng);
    }
    return done;
}
