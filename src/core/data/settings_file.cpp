#include "core/data/settings_file.h"

#include <QDir>
#include <QFile>
#include <QString>

#include "core/data/data_file_names.h"
#include "core/platform/cp932.h"
#include "core/platform/data_file.h"
#include "core/platform/profile_reader.h"

namespace {

constexpr int kDefaultMod = 1000;

bool IsAbsolutePath(const QString& path) {
    if (path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'))) return true;
    // A drive letter: "C:\..." (only meaningful on Windows, never found elsewhere).
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter();
}

// The CP932 path of the settings file as a path of this machine.
std::string LocalPath(const std::string& cp932Path, const std::string& programFolder) {
    QString path = FromCp932(cp932Path);
#ifndef _WIN32
    // The scoring system writes Windows paths; a relative one ("..\data") still works here.
    // Decoded first, so the 5C trail byte of a character such as "表" is no separator.
    if (!IsAbsolutePath(path)) path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    if (!IsAbsolutePath(path)) {
        // Joined and tidied ("." names the program folder itself, not "folder/.").
        path = QDir::cleanPath(DecodePath(programFolder) + QLatin1Char('/') + path);
    }
    return EncodePath(path);
}

}  // namespace

SettingsResult ReadSettings(const std::string& programFolder) {
    static const std::string kFolderSection = Sjis("データ保存");
    static const std::string kSpecialSection = Sjis("特殊");

    ProfileReader ini;
    ini.Load(DataFilePath(programFolder, kSettingsFileName));

    SettingsResult result;
    const std::string path = ini.ReadString(kFolderSection, "Path", "");
    if (!path.empty()) {
        const std::string folder = LocalPath(path, programFolder);
        result.NamedFolder = folder;
        if (IsDirectory(folder)) {
            result.DataFolder = folder;
            result.FolderFound = true;
        }
    }
    if (!result.FolderFound) result.DataFolder = programFolder;

    const std::optional<int> mod = ini.ReadInteger(kSpecialSection, "Mod");
    result.Mod = mod.has_value() && *mod > 0 ? *mod : kDefaultMod;
    return result;
}
