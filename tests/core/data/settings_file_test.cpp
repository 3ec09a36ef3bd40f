// TRQsys.ini: the data folder with its fallback to the program folder, relative and Windows-style
// paths, a Japanese folder name, Mod with its refusal of 0 and below, and a settings "file" that
// is a pipe or a device.
#include "core/data/settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QtTest>

#include "core/competition/competition_state.h"
#include "support/test_files.h"

class SettingsFileTest : public QObject {
    Q_OBJECT
  private slots:
    void settings_data() {
        QTest::addColumn<QString>("fileName");  // empty: no settings file
        QTest::addColumn<QString>("ini");       // "%DIR%" stands for the program folder
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("folder");  // relative to the program folder; "." = itself
        QTest::addColumn<int>("mod");

        QTest::newRow("no settings file") << ""
                                          << "" << false << "." << 1000;
        QTest::newRow("absolute existing folder") << "TRQsys.ini"
                                                  << "[データ保存]\nPath=%DIR%/data\n"
                                                  << true << "data" << 1000;
        QTest::newRow("trailing separator kept") << "TRQsys.ini"
                                                 << "[データ保存]\nPath=%DIR%/data/\n"
                                                 << true << "data/" << 1000;
        QTest::newRow("relative to the program folder") << "TRQsys.ini"
                                                        << "[データ保存]\nPath=data\n"
                                                        << true << "data" << 1000;
        QTest::newRow("relative with Windows separators") << "TRQsys.ini"
                                                          << "[データ保存]\nPath=data\\sub\n"
                                                          << true << "data/sub" << 1000;
        QTest::newRow("Japanese folder name") << "TRQsys.ini"
                                              << "[データ保存]\nPath=表示データ\n"
                                              << true << "表示データ" << 1000;
        QTest::newRow("folder that does not exist") << "TRQsys.ini"
                                                    << "[データ保存]\nPath=nowhere\n"
                                                    << false << "." << 1000;
        QTest::newRow("empty path is no folder") << "TRQsys.ini"
                                                 << "[データ保存]\nPath=\n"
                                                 << false << "." << 1000;
        QTest::newRow("a file is no folder") << "TRQsys.ini"
                                             << "[データ保存]\nPath=TRQsys.ini\n"
                                             << false << "." << 1000;
        QTest::newRow("key in another section") << "TRQsys.ini"
                                                << "[特殊]\nPath=data\n"
                                                << false << "." << 1000;
        QTest::newRow("letter case of key and file name")
            << "trqsys.INI"
            << "[データ保存]\nPATH = data \n[特殊]\nmod=100\n"
            << true << "data" << 100;
        QTest::newRow("Mod decimal") << "TRQsys.ini"
                                     << "[特殊]\nMod=100\n"
                                     << false << "." << 100;
        QTest::newRow("Mod hexadecimal 0x") << "TRQsys.ini"
                                            << "[特殊]\nMod=0x3E8\n"
                                            << false << "." << 1000;
        QTest::newRow("Mod hexadecimal $") << "TRQsys.ini"
                                           << "[特殊]\nMod=$64\n"
                                           << false << "." << 100;
        QTest::newRow("Mod 0 refused") << "TRQsys.ini"
                                       << "[特殊]\nMod=0\n"
                                       << false << "." << 1000;
        QTest::newRow("Mod negative refused") << "TRQsys.ini"
                                              << "[特殊]\nMod=-10\n"
                                              << false << "." << 1000;
        QTest::newRow("Mod not a number") << "TRQsys.ini"
                                          << "[特殊]\nMod=10x\n"
                                          << false << "." << 1000;
    }
    void settings() {
        QFETCH(QString, fileName);
        QFETCH(QString, ini);
        QFETCH(bool, found);
        QFETCH(QString, folder);
        QFETCH(int, mod);
        TestFolder dir;
        const QString root = QString::fromStdString(dir.Path());
        for (const char* sub : {"data", "data/sub", "表示データ"}) QDir(root).mkpath(sub);
        if (!fileName.isEmpty()) {
            dir.WriteCp932(fileName.toStdString(), ini.replace("%DIR%", root).toStdString());
        }

        const SettingsResult r = ReadSettings(dir.Path());
        QCOMPARE(r.FolderFound, found);
        const QString expected = folder == "." ? root : root + "/" + folder;
        QCOMPARE(QString::fromStdString(r.DataFolder), expected);
        QCOMPARE(r.Mod, mod);
    }

    // A settings file that is no file reads as none, at once: a pipe would block the start for
    // ever, /dev/zero would fill the memory.
    void settingsThatAreNoFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << "fifo";
        QTest::newRow("link to /dev/zero") << "zero";
    }
    void settingsThatAreNoFile() {
        QFETCH(QString, kind);
        TestFolder dir;
        const std::string ini = dir.Path() + "/TRQsys.ini";
        QCOMPARE(kind == "fifo" ? mkfifo(ini.c_str(), 0600) : symlink("/dev/zero", ini.c_str()), 0);
        const SettingsResult r = ReadSettings(dir.Path());
        QVERIFY(!r.FolderFound);
        QCOMPARE(r.Mod, 1000);
    }
};

QTEST_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
