// The C-runtime text-mode reader: line ends, buffer limits and the end-of-file flag, which every
// loader's "a last line without a line end is not read" rule depends on.
#include "core/platform/text_file_reader.h"

#include <QtTest>

#include "support/test_files.h"

class TextFileReaderTest : public QObject {
    Q_OBJECT
  private slots:
    void lines_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("buffer");
        QTest::addColumn<QStringList>("lines");  // each read, '|' marks eof after it
        QTest::newRow("CR LF read as LF")
            << QByteArray("ab\r\ncd\r\n") << 256 << QStringList{"ab\n", "cd\n", "|"};
        QTest::newRow("LF only") << QByteArray("ab\ncd\n") << 256
                                 << QStringList{"ab\n", "cd\n", "|"};
        QTest::newRow("last line without line end")
            << QByteArray("ab\r\ncd") << 256 << QStringList{"ab\n", "cd|"};
        QTest::newRow("lone CR stays")
            << QByteArray("a\rb\r\n") << 256 << QStringList{"a\rb\n", "|"};
        QTest::newRow("CR at end of file") << QByteArray("ab\r") << 256 << QStringList{"ab\r|"};
        QTest::newRow("over-long line: the rest is skipped")
            << QByteArray("abcdefg\r\nh\r\n") << 4 << QStringList{"abc", "h\n", "|"};
        QTest::newRow("over-long last line without line end")
            << QByteArray("abcdefg") << 4 << QStringList{"abc|"};
        QTest::newRow("line end exactly at the limit")
            << QByteArray("abc\r\nd\r\n") << 5 << QStringList{"abc\n", "d\n", "|"};
        QTest::newRow("CR LF across the buffer edge: no empty line after it")
            << QByteArray("abc\r\nd\r\n") << 4 << QStringList{"abc", "d\n", "|"};
        QTest::newRow("empty file") << QByteArray() << 256 << QStringList{"|"};
        QTest::newRow("blank line")
            << QByteArray("\r\n\r\n") << 256 << QStringList{"\n", "\n", "|"};
    }
    void lines() {
        QFETCH(QByteArray, content);
        QFETCH(int, buffer);
        QFETCH(QStringList, lines);
        TestFolder dir;
        dir.WriteBytes("f.txt", content.toStdString());
        TextFileReader reader;
        QVERIFY(reader.Open(dir.Path() + "/f.txt"));
        QStringList got;
        std::string line;
        for (int guard = 0; guard < 20; ++guard) {
            const bool read = reader.ReadLine(line, buffer);
            QString entry = QString::fromLatin1(line.data(), static_cast<int>(line.size()));
            if (reader.Eof()) entry += "|";
            if (!read && !reader.Eof()) QFAIL("nothing read but no end of file");
            got << entry;
            if (reader.Eof()) break;
        }
        QCOMPARE(got, lines);
    }

    void missingFileAndFolder() {
        TestFolder dir;
        TextFileReader reader;
        QVERIFY(!reader.Open(dir.Path() + "/none.txt"));
        QVERIFY(!reader.Open(dir.Path()));  // a folder is not a file
        std::string line = "x";
        QVERIFY(!reader.ReadLine(line, 256));
        QVERIFY(line.empty());
    }
};

QTEST_GUILESS_MAIN(TextFileReaderTest)
#include "text_file_reader_test.moc"
