// Start-up from the program folder: the marker file, the logo bitmap, the settings file with its
// message when the data folder is missing, and confirming a folder on the folder panel.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/remembered_folder.h"
#include "app/console/dsp_main_form.h"
#include "app/widgets/image_control.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/view_types.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

struct Message {
    QString text;
    QString caption;
};

// Runs the start as the entry does, in `folder` as the current directory.
AppWindows StartIn(const std::string& folder, std::vector<Message>& messages,
                   const std::string& marker = "/nonexistent/Tamik",
                   bool consoleAfterHallPicture = false) {
    QDir::setCurrent(QString::fromStdString(folder));
    Hooks().showMessage = [&messages](const QString& text, const QString& caption) {
        messages.push_back({text, caption});
    };
    StartOptions options;
    options.markerPath = marker;
    options.consoleAfterHallPicture = consoleAfterHallPicture;
    // The order is the expose's, not that of the time limit for a window never exposed (which a
    // test machine under load could reach first).
    options.consoleShowLatestMs = 60000;
    AppWindows w = CreateWindows(options);
    w.console->FormActivate();
    return w;
}

}  // namespace

class StartTest : public QObject {
    Q_OBJECT
    QString startDir_ = QDir::currentPath();

  private slots:
    void cleanup() { QDir::setCurrent(startDir_); }

    void markerFileMustBeAFile() {
        TestFolder dir;
        dir.WriteBytes("Tamik", "");
        QDir(QString::fromStdString(dir.Path())).mkdir("TamikFolder");
        QCOMPARE(MarkerFileLayout(dir.Path() + "/Tamik"), 1);
        QCOMPARE(MarkerFileLayout(dir.Path() + "/TamikFolder"), 0);
        QCOMPARE(MarkerFileLayout(dir.Path() + "/none"), 0);
        std::vector<Message> messages;
        AppWindows w = StartIn(dir.Path(), messages, dir.Path() + "/Tamik");
        QCOMPARE((*w.state).AltResultLayout, 1);
    }

    void missingSettingsFileFallsBackToTheProgramFolder() {
        TestFolder dir;
        dir.WriteCp932("Conf.txt", "!//TT\nタイトル一\nタイトル二\n\n");
        QFile::remove(RememberedFolderFile());
        std::vector<Message> messages;
        AppWindows w = StartIn(dir.Path(), messages);
        QCOMPARE(messages.size(), size_t(1));
        // The system's message, then where it looked, what it uses and what to do.
        QCOMPARE(
            messages[0].text,
            QString::fromUtf8("運用しているフォルダーが見つかりません。取りあえずの環境を選択し"
                              "ます。\n\n探したフォルダー: （この場所に TRQsys.ini がありません）"
                              "\n使うフォルダー: ") +
                QDir::currentPath() +
                QString::fromUtf8("\n\nデータフォルダーを選んで「↓ Select」を押してください。"
                                  "\n「Cancel ×」なら、使うフォルダーのままです。"));
        QCOMPARE(messages[0].caption, QString::fromUtf8(">>> データフォルダー"));
        const QString here = QDir::currentPath();
        QCOMPARE(w.console->findChild<QLabel*>("Label61")->text(), here);
        // The folder panel is open to choose the data folder; the start did not wait for it.
        QVERIFY(w.console->findChild<QWidget*>("Panel4")->isVisibleTo(w.console.get()));
        // Conf.txt of the program folder was read: the title carries its first line.
        QVERIFY(w.console->windowTitle().endsWith(QString::fromUtf8(" >>> タイトル一")));
        QVERIFY(!w.console->findChild<QLabel*>("Label101")->isVisibleTo(w.console.get()));
        // Without a logo file the hall sees the built-in logo, as the preview does.
        QVERIFY(!w.audience->HasLogoFile());
        QVERIFY(!w.audience->findChild<QWidget*>("Panel2")->isVisibleTo(w.audience.get()));
        QVERIFY(w.audience->findChild<ImageControl*>("Image1")->isVisibleTo(w.audience.get()));
        QVERIFY(w.audience->findChild<ImageControl*>("Image1")->ShowsPicture());
    }

    // Settings without a Path say so; the folder used at the last start is offered, and a
    // folder in use is remembered for the next start (never in the data folder).
    void firstRunOffersTheFolderUsedLast() {
        TestFolder program;
        TestFolder used;
        program.WriteCp932("TRQsys.ini", "[特殊]\nMod=100\n");
        RememberDataFolder(QString::fromStdString(used.Path()));
        std::vector<Message> messages;
        {
            AppWindows w = StartIn(program.Path(), messages);
            QCOMPARE(messages.size(), size_t(1));
            QVERIFY(messages[0].text.contains(QString::fromUtf8("（TRQsys.ini に Path がありません）")));
            QVERIFY(messages[0].text.contains(
                QString::fromUtf8("前回使ったフォルダーを選んであります: ") +
                QString::fromStdString(used.Path())));
            QTest::mouseClick(w.console->findChild<QWidget*>("Button22"), Qt::LeftButton);
            QCOMPARE((*w.state).DataFolder, used.Path());
        }
        // A path typed into the folder box (Enter) is the folder chosen.
        TestFolder typed;
        {
            AppWindows w = StartIn(program.Path(), messages);
            auto* box = w.console->findChild<QComboBox*>("DriveComboBox1");
            box->setEditText(QString::fromStdString(typed.Path()));
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
            QTest::mouseClick(w.console->findChild<QWidget*>("Button22"), Qt::LeftButton);
            QCOMPARE((*w.state).DataFolder, typed.Path());
        }
        QCOMPARE(RememberedDataFolder(), QString::fromStdString(typed.Path()));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(typed.Path()) + "/last-data-folder"));
        QVERIFY(RememberedFolderFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    }

    void settingsNameTheFolderAndMod() {
        TestFolder program;
        TestFolder data;
        program.WriteCp932("TRQsys.ini",
                           "[データ保存]\nPath=" + data.Path() + "\n[特殊]\nMod=100\n");
        std::vector<Message> messages;
        AppWindows w = StartIn(program.Path(), messages);
        QVERIFY(messages.empty());
        QVERIFY(!w.console->findChild<QWidget*>("Panel4")->isVisibleTo(w.console.get()));
        QCOMPARE((*w.state).DataFolder, data.Path());
        QCOMPARE(w.console->findChild<QLabel*>("Label101")->text(), QStringLiteral("100"));
        QVERIFY(w.console->findChild<QLabel*>("Label101")->isVisibleTo(w.console.get()));
        QCOMPARE((*w.state).ShownNumber(1234), 34);
    }

    void logoBitmapReplacesTheBuiltInLogo() {
        TestFolder dir;
        QImage logo(40, 30, QImage::Format_RGB32);
        logo.fill(QColor(200, 10, 10));
        QVERIFY(logo.save(QString::fromStdString(dir.Path() + "/_GRF.bmp"), "BMP"));
        std::vector<Message> messages;
        AppWindows w = StartIn(dir.Path(), messages);
        QVERIFY(w.audience->HasLogoFile());
        QVERIFY(!w.audience->findChild<QWidget*>("Panel2")->isVisibleTo(w.audience.get()));
        QVERIFY(w.audience->findChild<ImageControl*>("Image1")->ShowsPicture());
        QVERIFY(w.console->findChild<ImageControl*>("Image4")->ShowsPicture());
        const QImage shown = w.audience->findChild<ImageControl*>("Image1")->grab().toImage();
        QCOMPARE(shown.size(), QSize(120, 120));
        QCOMPARE(shown.pixelColor(60, 60), QColor(200, 10, 10));
    }

    void secondActivationReloadsNothing() {
        TestFolder dir;
        std::vector<Message> messages;
        AppWindows w = StartIn(dir.Path(), messages);
        // The start-up shows the console (after the hall's window), its buttons with their
        // pictures.
        QVERIFY(w.console->isVisible());
        QVERIFY(!w.console->findChild<QPushButton*>("BitBtn2")->icon().isNull());
        (*w.state).ProgrammeCount = 77;
        w.console->FormActivate();
        QCOMPARE((*w.state).ProgrammeCount, 77);
    }

    // As the program starts: the console comes up once the hall's window has painted.
    void consoleComesUpAfterTheHallsPicture() {
        struct Order : QObject {
            QStringList seen;
            bool eventFilter(QObject* o, QEvent* e) override {
                auto* w = qobject_cast<QWidget*>(o);
                if (w == nullptr) return false;
                if (e->type() == QEvent::Paint && w->window()->inherits("ScrForm")) {
                    seen << "hall painted";
                }
                if (e->type() == QEvent::Show && w->inherits("DspMain")) seen << "console shown";
                return false;
            }
        } order;
        qApp->installEventFilter(&order);
        TestFolder dir;
        std::vector<Message> messages;
        AppWindows w = StartIn(dir.Path(), messages, "/nonexistent/Tamik", true);
        QTRY_VERIFY(w.console->isVisible());
        qApp->removeEventFilter(&order);
        QVERIFY(order.seen.contains("console shown"));
        QCOMPARE(order.seen.first(), QStringLiteral("hall painted"));
    }

    void confirmingTheFolderInUseReloadsEverything() {
        TestFolder program;
        program.WriteCp932("TRQsys.ini", "[データ保存]\nPath=.\n");
        program.WriteCp932("pgm.txt", "1 001   開会式\n");
        std::vector<Message> messages;
        AppWindows w = StartIn(program.Path(), messages);
        const auto ui = [&w](const char* name) { return w.console->findChild<QWidget*>(name); };
        QCOMPARE((*w.state).ProgrammeCount, 1);
        program.WriteCp932("pgm.txt", "1 001   開会式\n1 002   休憩\n");
        QTest::mouseClick(ui("BitBtn1"), Qt::LeftButton);
        QTest::mousePress(ui("Label59"), Qt::LeftButton);
        QVERIFY(ui("Panel4")->isVisibleTo(w.console.get()));
        QTest::mouseClick(ui("Button22"), Qt::LeftButton);
        QVERIFY(!ui("Panel4")->isVisibleTo(w.console.get()));
        QVERIFY(!ui("Label60")->isVisibleTo(w.console.get()));
        QCOMPARE((*w.state).ProgrammeCount, 2);
        QCOMPARE((*w.state).CurrentProgrammeIndex, 0);
        QCOMPARE((*w.state).CurrentView, kViewClean);
        QCOMPARE(BackgroundOf(ui("Label75")), QColor(255, 0, 0));
        QCOMPARE(w.console->findChild<QLabel*>("Label61")->text(),
                 QString::fromStdString(program.Path()));
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"
