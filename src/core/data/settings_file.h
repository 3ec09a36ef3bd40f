#pragma once
// The settings file TRQsys.ini shared with the scoring system: the data folder and Mod.

#include <string>

struct SettingsResult {
    // The data folder as a path of this machine's file system (converted from the CP932 of the
    // file), or programFolder when the file names no existing folder.
    std::string DataFolder;
    // False when the settings name no existing folder: the console then tells the operator and
    // works on the program folder.
    bool FolderFound = false;
    // The folder the settings name (as a local path), found or not; empty when they name none.
    std::string NamedFolder;
    // Back numbers are shown modulo this; 1000 when absent, unparsable, 0 or below.
    int Mod = 1000;
};

// Reads programFolder/TRQsys.ini: "Path" of section "データ保存" (a relative path is taken from
// programFolder) and "Mod" of section "特殊". Shows nothing.
SettingsResult ReadSettings(const std::string& programFolder);
