// Whole-file reads of the data folder: what is refused without blocking, a file that is still
// being written or written a moment ago, a file that suddenly reads empty, the size cap, and the
// recorder the console's notes come from.
#include "core/platform/stable_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <thread>

#include "support/test_files.h"

class StableFileTest : public QObject {
    Q_OBJECT
  private slots:
    void outcomes_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("failure");
        QTest::newRow("regular file") << "file" << int(ReadFailure::None);
        QTest::newRow("missing") << "missing" << int(ReadFailure::Missing);
        QTest::newRow("missing folder") << "no folder" << int(ReadFailure::Missing);
        QTest::newRow("folder") << "folder" << int(ReadFailure::NotRegular);
        QTest::newRow("pipe without a writer does not block")
            << "fifo" << int(ReadFailure::NotRegular);
        QTest::newRow("link to /dev/zero") << "zero" << int(ReadFailure::NotRegular);
        // Its size says 0 but it gives bytes, different ones each time: it never settles.
        QTest::newRow("file that never settles") << "proc" << int(ReadFailure::Unsettled);
    }
    void outcomes() {
        QFETCH(QString, kind);
        QFETCH(int, failure);
        TestFolder dir;
        const std::string path = dir.Path() + "/f.dat";
        if (kind == "file") dir.WriteBytes("f.dat", "abc\r\n");
        if (kind == "folder") QDir().mkpath(QString::fromStdString(path));
        if (kind == "fifo") QCOMPARE(mkfifo(path.c_str(), 0600), 0);
        if (kind == "zero") QCOMPARE(symlink("/dev/zero", path.c_str()), 0);
        if (kind == "proc") QCOMPARE(symlink("/proc/self/status", path.c_str()), 0);
        const std::string read = kind == "no folder" ? dir.Path() + "/gone/f.dat" : path;
        const FileReadRecorder recorder;
        const FileContents c = ReadStableFile(read, {}, [] {});
        QCOMPARE(int(c.failure), failure);
        QCOMPARE(c.bytes, std::string(c.Ok() ? "abc\r\n" : ""));
        QCOMPARE(c.stamp, c.Ok() ? StampOf(path) : FileStamp{});
        QCOMPARE(recorder.Reads().size(), size_t(1));
        QCOMPARE(int(recorder.Reads()[0].failure), failure);
        QCOMPARE(recorder.AllRead(), c.Ok());
    }

    // The writer finishes during the pause: the second try reads the finished file.
    void settlesAfterAPause() {
        TestFolder dir;
        const std::string path = dir.Path() + "/H_01_1.dat";
        QCOMPARE(symlink("/proc/self/status", path.c_str()), 0);
        int pauses = 0;
        const FileContents c = ReadStableFile(path, {}, [&] {
            ++pauses;
            dir.Remove("H_01_1.dat");
            dir.WriteBytes("H_01_1.dat", "   1   2\r\n");
        });
        QCOMPARE(pauses, 1);
        QVERIFY(c.Ok());
        QCOMPARE(c.bytes, std::string("   1   2\r\n"));
    }

    void largerFilesAreRefused() {
        TestFolder dir;
        dir.WriteBytes("big.dat", std::string(100, 'x'));
        const FileContents c = ReadStableFile(dir.Path() + "/big.dat", {.maxBytes = 10});
        QCOMPARE(int(c.failure), int(ReadFailure::TooLarge));
        QVERIFY(c.bytes.empty());
        QVERIFY(ReadStableFile(dir.Path() + "/big.dat", {.maxBytes = 100}).Ok());
    }

    // A file whose last good read had bytes and that reads empty now is being rewritten; one that
    // was empty from the start is read as it is.
    void emptyAfterContent() {
        TestFolder dir;
        const std::string path = dir.Path() + "/seqdat.csv";
        const struct {
            const char* bytes;
            ReadFailure failure;
        } steps[] = {{"", ReadFailure::None},
                     {"a,1\r\n", ReadFailure::None},
                     {"", ReadFailure::Empty},
                     {"", ReadFailure::Empty},
                     {"b,2\r\n", ReadFailure::None}};
        for (const auto& step : steps) {
            dir.WriteBytes("seqdat.csv", step.bytes);
            const FileContents c = ReadStableFile(path);
            QCOMPARE(int(c.failure), int(step.failure));
            QCOMPARE(c.bytes, std::string(c.Ok() ? step.bytes : ""));
        }
    }

    // Reads that wait for a file to settle: a file written a moment ago is refused at once, one
    // written earlier is read, and one whose time lies ahead (a share's clock) is read once it has
    // been seen unchanged for the settle time. Other reads take a file at once.
    void settle_data() {
        QTest::addColumn<int>("writtenMsAgo");
        QTest::addColumn<bool>("settled");
        QTest::addColumn<int>("failure");
        QTest::newRow("just written") << 0 << true << int(ReadFailure::Unsettled);
        QTest::newRow("written a second ago") << 1000 << true << int(ReadFailure::None);
        QTest::newRow("an hour ahead") << -3'600'000 << true << int(ReadFailure::Unsettled);
        QTest::newRow("not waiting") << 0 << false << int(ReadFailure::None);
    }
    void settle() {
        QFETCH(int, writtenMsAgo);
        QFETCH(bool, settled);
        QFETCH(int, failure);
        SetFileSettleTime(std::chrono::milliseconds(100));
        TestFolder dir;
        dir.WriteBytes("H_01_1.dat", "   1   2\r\n");
        const std::string path = dir.Path() + "/H_01_1.dat";
        if (writtenMsAgo != 0) {
            QFile file(QString::fromStdString(path));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addMSecs(-writtenMsAgo),
                                     QFileDevice::FileModificationTime));
        }
        int pauses = 0;
        const FileContents c = ReadStableFile(path, {.settled = settled}, [&] { ++pauses; });
        QCOMPARE(int(c.failure), failure);
        QCOMPARE(pauses, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        QVERIFY(ReadStableFile(path, {.settled = settled}).Ok());
        SetFileSettleTime({});
    }

    void recordersNest() {
        TestFolder dir;
        dir.WriteBytes("a.dat", "a");
        FileReadRecorder outer;
        {
            FileReadRecorder inner;
            ReadStableFile(dir.Path() + "/a.dat");
            QCOMPARE(inner.Reads().size(), size_t(1));
        }
        ReadStableFile(dir.Path() + "/b.dat");
        QCOMPARE(outer.Reads().size(), size_t(2));
        QVERIFY(!outer.AllRead());
    }
};

QTEST_GUILESS_MAIN(StableFileTest)
#include "stable_file_test.moc"
