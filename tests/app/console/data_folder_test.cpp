// The console on a copy of the demo folder that misbehaves while the show runs: the folder
// deleted mid-run, heat and final files rewritten between two presses or slowly while the heats
// are pressed, files emptied or grown past any size, a round's shuffled or floor-B file gone, the
// note of unreadable files, the heat view before any round, and the screen-position nudges at the
// ends of int.
#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>
#include <atomic>
#include <thread>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/widgets/image_control.h"
#include "core/competition/competition_state.h"
#include "core/competition/view_types.h"
#include "core/platform/stable_file.h"
#include "support/test_files.h"

namespace {

void CopyDemo(const QString& to) {
    const QString from = qEnvironmentVariable("TRQ_SOURCE_DIR") + "/data/demo";
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}

void Press(QWidget* w, Qt::MouseButton button) {
    QTest::mousePress(w, button, {}, QPoint(5, 5));
    QTest::mouseRelease(w, button, {}, QPoint(5, 5));
}

QStringList Texts(const std::vector<DrawRecord>& records) {
    QStringList out;
    for (const DrawRecord& r : records) {
        if (r.op == QLatin1String("text")) out << r.text;
    }
    return out;
}

}  // namespace

class DataFolderTest : public QObject {
    Q_OBJECT

    TestFolder folder;
    AppWindows windows;

    Competition& s() { return *windows.state; }
    QWidget* W(const char* name) {
        auto* w = windows.console->findChild<QWidget*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control %s", name);
        return w;
    }
    QLabel* Label(const char* name) { return qobject_cast<QLabel*>(W(name)); }
    std::vector<Canvas*> AudienceCanvases() {
        ScrForm& a = *windows.audience;
        return {&a.NormalSurface(), &a.WideSurface(), &a.BannerSurface()};
    }
    // Everything drawn on the audience window since the last call.
    std::vector<DrawRecord> AudienceRecords() {
        std::vector<DrawRecord> all;
        for (Canvas* c : AudienceCanvases()) {
            for (DrawRecord& r : c->TakeRecords()) all.push_back(std::move(r));
        }
        return all;
    }
    void SelectItem(int item) {
        QTest::mousePress(W("Image6"), Qt::LeftButton, {}, QPoint(100, 20 * item + 5));
    }
    void Start() {
        StartOptions options;
        options.dataFolder = folder.Path() + "/demo";
        options.markerPath = "/nonexistent/Tamik";
        windows = CreateWindows(options);
        windows.console->show();
        windows.console->FormActivate();
        for (Canvas* c : AudienceCanvases()) c->SetRecording(true);
    }
    void Rewrite(const char* name, const std::string& bytes, const QTime& changed) {
        folder.WriteBytes(std::string("demo/") + name, bytes);
        QFile file(QString::fromStdString(folder.Path() + "/demo/" + name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate::currentDate(), changed),
                                 QFileDevice::FileModificationTime));
    }

  private slots:
    void init() {
        Hooks().showMessage = [](const QString&, const QString&) {};
        CopyDemo(QString::fromStdString(folder.Path() + "/demo"));
        Start();
    }
    void cleanup() {
        SetFileSettleTime({});
        windows = AppWindows();
        QDir(QString::fromStdString(folder.Path() + "/demo")).removeRecursively();
    }

    // After the folder is gone every press that reads it leaves the audience with its last
    // picture and the tables as they were, and the console names the files it could not read.
    void deletedFolderKeepsTheLastGoodPicture() {
        SelectItem(2);  // event 001 with 002 on floor B
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        const QImage picture = windows.audience->WideSurface().Image();
        const int programmeCount = s().ProgrammeCount;
        const int eventCount = s().EventCount;
        const auto heats = s().HeatTable;
        AudienceRecords();
        QVERIFY(!Label("FileNote")->isVisibleTo(windows.console.get()));
        QVERIFY(QDir(QString::fromStdString(folder.Path() + "/demo")).removeRecursively());

        const struct {
            const char* press;
            const char* named;
        } steps[] = {{"BitBtn16", "H_02_1.dat"},  // next item: its round cannot be read
                     {"BitBtn28", "H_02_1.dat"},  // a heat step draws no other round's heats
                     {"BitBtn5", "H_02_1.dat"},  {"BitBtn33", "pgm.txt"},
                     {"BitBtn13", "F_01.dat"},   {"BitBtn19", "seqdat.csv"}};
        for (const auto& step : steps) {
            if (QLatin1String(step.press) == "BitBtn19") Press(W("BitBtn29"), Qt::LeftButton);
            Press(W(step.press), Qt::LeftButton);
            QVERIFY2(AudienceRecords().empty(), step.press);
            QVERIFY(Label("FileNote")->isVisibleTo(windows.console.get()));
            QVERIFY2(Label("FileNote")->text().contains(QLatin1String(step.named)), step.press);
        }
        QVERIFY(Label("FileNote")
                    ->text()
                    .contains(QRegularExpression(
                        QStringLiteral(u"pgm.txt（ありません、\\d\\d:\\d\\d:\\d\\d から）"))));
        QCOMPARE(windows.audience->WideSurface().Image(), picture);
        QCOMPARE(s().ProgrammeCount, programmeCount);
        QCOMPARE(s().EventCount, eventCount);
        QVERIFY(s().HeatTable == heats);
        QCOMPARE(s().AwardReady, 0);
    }

    // Files rewritten between two presses: "更新" on Heat and Ready, nothing on the audience
    // screen by itself, the new data with the next press.
    void rewrittenFilesAreMarkedAndTakenByTheNextPress() {
        SelectItem(2);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QTest::mouseClick(W("BitBtn18"), Qt::LeftButton);  // the award section
        QTest::mouseClick(W("BitBtn13"), Qt::LeftButton);
        QVERIFY(Label("FinalFileStamp")->text().startsWith("F_01.dat "));
        AudienceRecords();
        QVERIFY(!Label("HeatUpdateMark")->isVisibleTo(windows.console.get()));
        QVERIFY(!Label("ReadyUpdateMark")->isVisibleTo(windows.console.get()));

        Rewrite("H_01_1.dat", " 901 902 903\r\n", QTime(14, 3, 27));
        const std::string result = "1st   " + std::string(60, ' ') + "    101 - x\r\n";
        Rewrite("F_01.dat", "title\r\n" + result, QTime(14, 5, 0));
        QTRY_VERIFY_WITH_TIMEOUT(Label("HeatUpdateMark")->isVisibleTo(windows.console.get()) &&
                                     Label("ReadyUpdateMark")->isVisibleTo(windows.console.get()),
                                 20000);
        QVERIFY(AudienceRecords().empty());

        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QVERIFY(Texts(AudienceRecords()).contains(QStringLiteral("901")));
        QVERIFY(!Label("HeatUpdateMark")->isVisibleTo(windows.console.get()));
        QVERIFY(Label("RoundFileStamp")->text().startsWith(QStringLiteral("H_01_1.dat 14:03:27")));
        QTest::mouseClick(W("BitBtn13"), Qt::LeftButton);
        QCOMPARE(s().ResultRowCount, 1);
        QVERIFY(!Label("ReadyUpdateMark")->isVisibleTo(windows.console.get()));
        QCOMPARE(Label("FinalFileStamp")->text(), QStringLiteral("F_01.dat 14:05:00"));
        // With the list up again, the day's schedule line over the award heading hides the
        // stamp: what shows there is the line alone.
        QTest::mouseClick(W("BitBtn18"), Qt::LeftButton);
        QWidget* console = windows.console.get();
        QWidget* schedule = W("ScheduleLabel");
        QVERIFY(schedule->isVisibleTo(console));
        const QRect line(schedule->mapTo(console, QPoint()), schedule->size());
        const QImage shown = console->grab(line).toImage();
        Label("FinalFileStamp")->clear();
        QCOMPARE(console->grab(line).toImage(), shown);
    }

    // A heat file rewritten a byte at a time while Heat and the heat steps are pressed: every
    // press finds the round's last good heats or the finished file, never a part of it, and the
    // note says that the file is being written.
    void slowWriterNeverPutsAPartialRoundOnAir() {
        SelectItem(2);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        SetFileSettleTime(kDataFileSettleTime);
        const auto before = s().HeatTable;
        const std::string path = folder.Path() + "/demo/H_01_1.dat";
        const std::string heats = " 901 902 903\r\n 904 905 906\r\n 907 908 909\r\n";
        std::atomic<bool> written = false;
        std::thread writer([&] {
            const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
            for (char c : heats) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (::write(fd, &c, 1) != 1) break;
            }
            ::close(fd);
            written = true;
        });
        std::vector<std::decay_t<decltype(before)>> loaded;
        bool writingNamed = false;
        int stepsNotDrawn = 0;
        while (!written) {
            QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
            loaded.push_back(s().HeatTable);
            writingNamed =
                writingNamed || Label("FileNote")->text().contains(QStringLiteral(u"書込み中"));
            // The heats shown still step, forward and back.
            AudienceRecords();
            Press(W("BitBtn28"), loaded.size() % 2 == 1 ? Qt::LeftButton : Qt::RightButton);
            stepsNotDrawn += AudienceRecords().empty() ? 1 : 0;
            QTest::qWait(20);
        }
        writer.join();
        // Once settled, the next press takes the finished file.
        const auto pressHeat = [&] {
            QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
            return s().HeatTable[2][2] == 909;
        };
        QTRY_VERIFY_WITH_TIMEOUT(pressHeat(), 5000);
        const auto after = s().HeatTable;
        for (const auto& table : loaded) QVERIFY(table == before || table == after);
        QCOMPARE(stepsNotDrawn, 0);
        QVERIFY(writingNamed);
        QVERIFY(!Label("FileNote")->isVisibleTo(windows.console.get()));
    }

    // A file emptied (a writer that truncates first) or grown past any size the scoring system
    // writes leaves the events or the programme as they were, and the note names it.
    void emptyOrHugeFilesKeepTheTables_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("size");  // 0: emptied
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty seqdat.csv")
            << "seqdat.csv" << 0LL << "BitBtn19" << QStringLiteral(u"空です");
        QTest::newRow("empty pgm.txt")
            << "pgm.txt" << 0LL << "BitBtn33" << QStringLiteral(u"空です");
        QTest::newRow("2 GB pgm.txt")
            << "pgm.txt" << (2LL << 30) << "BitBtn33" << QStringLiteral(u"大きすぎます");
    }
    void emptyOrHugeFilesKeepTheTables() {
        QFETCH(QString, file);
        QFETCH(qint64, size);
        QFETCH(QString, press);
        QFETCH(QString, reason);
        const int events = s().EventCount;
        const std::string firstEvent = s().EventNames[0];
        const int items = s().ProgrammeCount;
        const std::string firstItem = s().ProgrammeTexts[0];
        QFile f(QString::fromStdString(folder.Path() + "/demo/") + file);
        QVERIFY(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
        QVERIFY(f.resize(size));  // sparse: nothing is written
        f.close();
        if (press == u"BitBtn19") QTest::mouseClick(W("BitBtn29"), Qt::LeftButton);
        QTest::mouseClick(W(press.toLatin1()), Qt::LeftButton);
        QCOMPARE(s().EventCount, events);
        QCOMPARE(s().EventNames[0], firstEvent);
        QCOMPARE(s().ProgrammeCount, items);
        QCOMPARE(s().ProgrammeTexts[0], firstItem);
        QVERIFY2(Label("FileNote")->text().contains(file + QStringLiteral(u"（") + reason),
                 qPrintable(Label("FileNote")->text()));
    }

    // A round whose shuffled file or floor B's own file has gone loads from the plain heat file,
    // as the folder says, and one whose shuffled file has come loads from that; the note names
    // the file the round came from before and what it comes from now.
    void roundFileChangeIsNamed_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("gone");  // or, with "+", come
        QTest::addColumn<QString>("note");
        QTest::newRow("shuffled file gone")
            << 8 << "SH_01_2.dat"
            << QStringLiteral(u"SH_01_2.dat（ありません、H_01_2.dat を表示、");
        QTest::newRow("floor B's own file gone")
            << 2 << "Assist/H_03_1.dat"
            << QStringLiteral(u"Assist/H_03_1.dat（ありません、H_03_1.dat を表示、");
        QTest::newRow("shuffled file come")
            << 4 << "+SH_10_1.dat" << QStringLiteral(u"H_10_1.dat（SH_10_1.dat に替わりました、");
    }
    void roundFileChangeIsNamed() {
        QFETCH(int, item);
        QFETCH(QString, gone);
        QFETCH(QString, note);
        SelectItem(item);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QVERIFY(!Label("FileNote")->isVisibleTo(windows.console.get()));
        if (gone.startsWith(u'+')) {
            const QString demo = QString::fromStdString(folder.Path() + "/demo/");
            QVERIFY(QFile::copy(demo + "H_10_1.dat", demo + gone.mid(1)));
        } else {
            folder.Remove("demo/" + gone.toStdString());
        }
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        QVERIFY(Label("FileNote")->isVisibleTo(windows.console.get()));
        QVERIFY2(Label("FileNote")->text().contains(note), qPrintable(Label("FileNote")->text()));
        // Another round ends the note.
        SelectItem(item == 4 ? 5 : 4);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QVERIFY(!Label("FileNote")->isVisibleTo(windows.console.get()));
    }

    // The note of unreadable files: the newest first with their number, all of them in its
    // tooltip, and a file that reads well again leaves it without a press.
    void noteNewestFirstAndClearedWhenReadable() {
        folder.Remove("demo/H_02_1.dat");
        SelectItem(3);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);  // event 003: its round cannot be read
        folder.Remove("demo/Mem.csv");
        QTest::mouseClick(W("BitBtn29"), Qt::LeftButton);
        QTest::mouseClick(W("BitBtn19"), Qt::LeftButton);  // Data Reset
        QLabel* note = Label("FileNote");
        const QRegularExpression newestFirst(QStringLiteral(
            u"^読めないファイル 2 件: Mem.csv（ありません、[0-9:]+ から）、H_02_1.dat（"));
        QVERIFY2(note->text().contains(newestFirst), qPrintable(note->text()));
        QCOMPARE(note->toolTip().split(u'\n').size(), 3);
        folder.WriteBytes("demo/H_02_1.dat", "  12  13\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(
            note->text().startsWith(QStringLiteral(u"読めないファイル: Mem.csv（")), 10000);
    }

    // "Dance D ?" before any round is loaded draws no "Heat-0" (nor any heat view).
    void noHeatViewBeforeARound_data() {
        QTest::addColumn<bool>("programme");
        QTest::newRow("demo") << true;
        QTest::newRow("without pgm.txt") << false;
    }
    void noHeatViewBeforeARound() {
        QFETCH(bool, programme);
        if (!programme) {
            folder.Remove("demo/pgm.txt");
            Start();
            QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        }
        AudienceRecords();
        QTest::mouseClick(W("Button1"), Qt::LeftButton);
        for (const QString& text : Texts(AudienceRecords())) QVERIFY(!text.startsWith("Heat-"));
        QVERIFY(s().CurrentView != kViewHeat);
    }

    // The offset nudges stop at the ends of int instead of overflowing.
    void nudgesStopAtTheEndsOfInt_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("value");  // typed and entered; empty: from Conf.txt's LP
        QTest::addColumn<QString>("shown");
        QTest::newRow("top +") << "Edit3"
                               << "Button29"
                               << "2147483647"
                               << "2147483647";
        QTest::newRow("top -") << "Edit3"
                               << "Button28"
                               << "-2147483648"
                               << "-2147483648";
        QTest::newRow("left +") << "Edit1"
                                << "Button27"
                                << "2147483647"
                                << "2147483647";
        QTest::newRow("left + from Conf.txt") << "Edit1"
                                              << "Button27"
                                              << ""
                                              << "2147483647";
    }
    void nudgesStopAtTheEndsOfInt() {
        QFETCH(QString, edit);
        QFETCH(QString, button);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        auto* field = qobject_cast<QLineEdit*>(W(edit.toLatin1()));
        QTest::mouseClick(W("BitBtn29"), Qt::LeftButton);
        if (value.isEmpty()) {
            folder.WriteBytes("demo/Conf.txt", "!//LP\r\n99999999999\r\n");
            QTest::mouseClick(W("BitBtn19"), Qt::LeftButton);  // Data Reset
            QTest::mouseClick(W("BitBtn29"), Qt::LeftButton);
        } else {
            field->setText(value);
            QTest::keyClick(field, Qt::Key_Return);
        }
        QTest::mouseClick(W(button.toLatin1()), Qt::LeftButton);
        QCOMPARE(field->text(), shown);
    }
};

QTEST_MAIN(DataFolderTest)
#include "data_folder_test.moc"
