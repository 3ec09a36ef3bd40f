// The private-profile reader on real CP932 files: letter case, blanks, quotes, double-byte names
// whose trail bytes look like ASCII, the first-wins rule and the integer forms of Mod.
#include "core/platform/profile_reader.h"

#include <QRandomGenerator>
#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

Q_DECLARE_METATYPE(std::optional<int>)

class ProfileReaderTest : public QObject {
    Q_OBJECT
  private slots:
    void readString_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");  // "<def>" = the default came back

        QTest::newRow("exact") << "[データ保存]\nPath=C:\\TRQ\n"
                               << "データ保存"
                               << "Path"
                               << "C:\\TRQ";
        QTest::newRow("key letter case") << "[データ保存]\npath=x\n"
                                         << "データ保存"
                                         << "PATH"
                                         << "x";
        QTest::newRow("section letter case") << "[Special]\nMod=1\n"
                                             << "SPECIAL"
                                             << "mod"
                                             << "1";
        QTest::newRow("blanks around names and values")
            << "  [ データ保存 ]  \n\t Path \t=  C:\\My Data  \n"
            << "データ保存"
            << "Path"
            << "C:\\My Data";
        QTest::newRow("missing key") << "[データ保存]\nPat=x\n"
                                     << "データ保存"
                                     << "Path"
                                     << "<def>";
        QTest::newRow("missing section") << "[特殊]\nPath=x\n"
                                         << "データ保存"
                                         << "Path"
                                         << "<def>";
        QTest::newRow("trail byte is no letter: ア vs ヂ") << "[ア]\nk=1\n"
                                                           << "ヂ"
                                                           << "k"
                                                           << "<def>";
        QTest::newRow("trail byte ] inside the name") << "[ゾーン]\nk=2\n"
                                                      << "ゾーン"
                                                      << "k"
                                                      << "2";
        QTest::newRow("trail byte = inside the key") << "[s]\nゾ=3\n"
                                                     << "s"
                                                     << "ゾ"
                                                     << "3";
        QTest::newRow("backslash trail byte kept") << "[s]\nPath=D:\\表示\\データ\n"
                                                   << "s"
                                                   << "Path"
                                                   << "D:\\表示\\データ";
        QTest::newRow("CP932-only characters") << "[s]\nName=髙﨑①\n"
                                               << "s"
                                               << "name"
                                               << "髙﨑①";
        QTest::newRow("double quotes removed") << "[s]\nk=\" a b \"\n"
                                               << "s"
                                               << "k"
                                               << " a b ";
        QTest::newRow("single quotes removed") << "[s]\nk='x'\n"
                                               << "s"
                                               << "k"
                                               << "x";
        QTest::newRow("unmatched quote kept") << "[s]\nk=\"x\n"
                                              << "s"
                                              << "k"
                                              << "\"x";
        QTest::newRow("equals sign in the value") << "[s]\nk=a=b\n"
                                                  << "s"
                                                  << "k"
                                                  << "a=b";
        QTest::newRow("key without value") << "[s]\nk\n"
                                           << "s"
                                           << "k"
                                           << "";
        QTest::newRow("empty value is not the default") << "[s]\nk=\n"
                                                        << "s"
                                                        << "k"
                                                        << "";
        QTest::newRow("comment line") << "[s]\n;k=1\n"
                                      << "s"
                                      << ";k"
                                      << "<def>";
        QTest::newRow("first section wins") << "[s]\na=1\n[t]\n[S]\nk=2\n"
                                            << "s"
                                            << "k"
                                            << "<def>";
        QTest::newRow("first key wins") << "[s]\nk=1\nK=2\n"
                                        << "s"
                                        << "k"
                                        << "1";
        QTest::newRow("keys before any section belong to none") << "k=0\n[s]\nj=1\n"
                                                                << "s"
                                                                << "k"
                                                                << "<def>";
        QTest::newRow("last line without line end") << "[s]\nk=end"
                                                    << "s"
                                                    << "k"
                                                    << "end";
        QTest::newRow("section without closing bracket is no section") << "[s]\n[t\nk=1\n"
                                                                       << "s"
                                                                       << "k"
                                                                       << "1";
    }
    void readString() {
        QFETCH(QString, ini);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TestFolder dir;
        dir.WriteCp932("a.ini", ini.toStdString());
        ProfileReader reader;
        QVERIFY(reader.Load(dir.Path() + "/a.ini"));
        const std::string got = reader.ReadString(ToCp932(section), ToCp932(key), "<def>");
        QCOMPARE(FromCp932(got), expected);
    }

    void lfOnlyAndLongValue() {
        TestFolder dir;
        dir.WriteBytes("a.ini", "[s]\nlong=" + std::string(3000, 'v') + "\nnext=1\n");
        ProfileReader reader;
        QVERIFY(reader.Load(dir.Path() + "/a.ini"));
        QCOMPARE(reader.ReadString("s", "long", "").size(), ProfileReader::kMaxValueBytes);
        QCOMPARE(reader.ReadString("s", "next", ""), std::string("1"));
    }

    void readInteger_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<std::optional<int>>("expected");
        const std::optional<int> none;
        QTest::newRow("decimal") << "1000" << std::optional<int>(1000);
        QTest::newRow("0x") << "0x3E8" << std::optional<int>(1000);
        QTest::newRow("0X lower-case digits") << "0X3e8" << std::optional<int>(1000);
        QTest::newRow("dollar") << "$64" << std::optional<int>(100);
        QTest::newRow("negative") << "-5" << std::optional<int>(-5);
        QTest::newRow("plus sign") << "+7" << std::optional<int>(7);
        QTest::newRow("zero") << "0" << std::optional<int>(0);
        QTest::newRow("blanks around") << "  42  " << std::optional<int>(42);
        QTest::newRow("largest int") << "2147483647" << std::optional<int>(2147483647);
        QTest::newRow("smallest int") << "-2147483648" << std::optional<int>(-2147483647 - 1);
        QTest::newRow("hex takes 32 bits") << "0xFFFFFFFF" << std::optional<int>(-1);
        QTest::newRow("empty") << "" << none;
        QTest::newRow("trailing garbage") << "12abc" << none;
        QTest::newRow("inner blank") << "4 2" << none;
        QTest::newRow("letters") << "abc" << none;
        QTest::newRow("prefix only") << "0x" << none;
        QTest::newRow("dollar only") << "$" << none;
        QTest::newRow("sign only") << "-" << none;
        QTest::newRow("decimal overflow") << "2147483648" << none;
        QTest::newRow("hex overflow") << "0x100000000" << none;
        QTest::newRow("huge") << "99999999999999999999999" << none;
        QTest::newRow("full-width digits") << "１０００" << none;
        QTest::newRow("hex digit without prefix") << "3E8" << none;
    }
    void readInteger() {
        QFETCH(QString, value);
        QFETCH(std::optional<int>, expected);
        TestFolder dir;
        dir.WriteCp932("a.ini", ("[特殊]\nMod=" + value + "\n").toStdString());
        ProfileReader reader;
        QVERIFY(reader.Load(dir.Path() + "/a.ini"));
        QCOMPARE(reader.ReadInteger(Sjis("特殊"), "mod"), expected);
    }

    void missingFileForgetsEarlierOne() {
        TestFolder dir;
        dir.WriteCp932("a.ini", "[s]\nk=1\n");
        ProfileReader reader;
        QVERIFY(reader.Load(dir.Path() + "/a.ini"));
        QVERIFY(!reader.Load(dir.Path() + "/none.ini"));
        QCOMPARE(reader.ReadString("s", "k", "d"), std::string("d"));
        QCOMPARE(reader.ReadInteger("s", "k"), std::optional<int>());
    }

    void garbageDoesNotCrash() {
        QRandomGenerator rng(20240601);
        const char alphabet[] = "[]=;\"' \t\r\n$0x9aZ\x83\x5d\x81\x40\xff";
        TestFolder dir;
        for (int round = 0; round < 300; ++round) {
            std::string bytes(rng.bounded(600), '\0');
            for (char& c : bytes) {
                c = rng.bounded(3) == 0 ? static_cast<char>(rng.bounded(256))
                                        : alphabet[rng.bounded(int(sizeof(alphabet) - 1))];
            }
            dir.WriteBytes("g.ini", bytes);
            ProfileReader reader;
            reader.Load(dir.Path() + "/g.ini");
            QVERIFY(reader.ReadString("a", "b", "").size() <= ProfileReader::kMaxValueBytes);
            reader.ReadInteger("", "0x9aZ");
        }
    }
};

QTEST_MAIN(ProfileReaderTest)
#include "profile_reader_test.moc"
