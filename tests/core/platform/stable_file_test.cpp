// Whole-file reads of the data folder: what is refused without blocking, a file that is still
// being written, the size cap, and the recorder the console's notes come from.
#include "core/platform/stable_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QtTest>

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
        const FileContents c = ReadStableFile(read, kMaxDataFileBytes, [] {});
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
        const FileContents c = ReadStableFile(path, kMaxDataFileBytes, [&] {
            ++pauses;
            dir.Remove("H_01_1.dat");
            dir.WriteBytes("H_01_1.dat", "   1   2\r\n");
        });
        QCOMPARE(pauses, 1);
        QVERIFY(c.Ok());
        QCOMPARE(c.bytes, std::string("   1   2\r\n"));
    }

    void largerFilesAreReadUpToTheCap() {
        TestFolder dir;
        dir.WriteBytes("big.dat", std::string(100, 'x'));
        const FileContents c = ReadStableFile(dir.Path() + "/big.dat", 10);
        QVERIFY(c.Ok());
        QCOMPARE(c.bytes, std::string(10, 'x'));
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
