// Data-file lookup: exact names first, else the one name that differs only in letter case.
#include "core/platform/data_file.h"

#include <QtTest>

#include "support/test_files.h"

class DataFileTest : public QObject {
    Q_OBJECT
  private slots:
    void lookup() {
        TestFolder dir;
        dir.WriteBytes("CONF.TXT", "x");
        dir.WriteBytes("Mem.csv", "x");
        dir.WriteBytes("ASSIST/h_03_2.DAT", "x");
        dir.WriteBytes("pgm.txt", "x");
        dir.WriteBytes("PGM.TXT", "x");
        const std::string p = dir.Path();
        QCOMPARE(DataFilePath(p, "Conf.txt"), p + "/CONF.TXT");
        QCOMPARE(DataFilePath(p, "Mem.csv"), p + "/Mem.csv");
        QCOMPARE(DataFilePath(p, "Assist/H_03_2.dat"), p + "/ASSIST/h_03_2.DAT");
        // Two candidates differing only in case: the exact one wins; else none is guessed.
        QCOMPARE(DataFilePath(p, "pgm.txt"), p + "/pgm.txt");
        QCOMPARE(DataFilePath(p, "Pgm.txt"), p + "/Pgm.txt");
        QCOMPARE(DataFilePath(p, "seqdat.csv"), p + "/seqdat.csv");
        QVERIFY(!IsRegularFile(DataFilePath(p, "seqdat.csv")));
        QVERIFY(IsDirectory(p));
        QVERIFY(!IsDirectory(p + "/Mem.csv"));
        // Names that come, go or change after a lookup are found as they are now.
        dir.WriteBytes("SEQDAT.CSV", "x");
        QCOMPARE(DataFilePath(p, "seqdat.csv"), p + "/SEQDAT.CSV");
        QVERIFY(QFile::rename(QString::fromStdString(p + "/SEQDAT.CSV"),
                              QString::fromStdString(p + "/SeqDat.csv")));
        QCOMPARE(DataFilePath(p, "seqdat.csv"), p + "/SeqDat.csv");
        QVERIFY(QFile::remove(QString::fromStdString(p + "/SeqDat.csv")));
        QCOMPARE(DataFilePath(p, "seqdat.csv"), p + "/seqdat.csv");
    }
};

QTEST_GUILESS_MAIN(DataFileTest)
#include "data_file_test.moc"
