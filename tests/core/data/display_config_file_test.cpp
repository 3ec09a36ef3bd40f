// Conf.txt on real CP932 files: every section, fixed byte columns with double-byte names, the
// dropped last byte, over-long lines cut at 255 bytes, the end-of-file rule, repeated sections,
// table limits, and the hexadecimal Base Color.
#include "core/data/display_config_file.h"

#include <QRandomGenerator>
#include <QtTest>

#include "core/competition/competition_state.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

// CP932 text padded with blanks (or cut) to exactly width bytes.
std::string Pad(const char* utf8, size_t width) {
    std::string s = Sjis(utf8);
    s.resize(width, ' ');
    return s;
}

std::string CnLine(const char* code, const char* name, const char* shortName, const char* dances,
                   const char* flag = "") {
    return Pad(code, 6) + Pad(name, 40) + Pad(shortName, 20) + Pad(dances, 10) + flag;
}

std::string JgLine(const char* code, const char* name, const char* rest) {
    return Pad(code, 2) + Pad(name, 16) + Sjis(rest);
}

// Section line and data lines, each ended with CR LF.
std::string Section(const char* key, const std::vector<std::string>& lines) {
    std::string out = std::string("!//") + key + "\r\n";
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

QStringList Decoded(const std::array<std::string, 3>& lines) {
    return {FromCp932(lines[0]), FromCp932(lines[1]), FromCp932(lines[2])};
}

QList<int> Cells(const std::array<int8_t, kDances>& row) {
    QList<int> out;
    for (int8_t c : row) out << c;
    return out;
}

Competition Loaded(const std::string& confBytes, const char* fileName = "Conf.txt") {
    TestFolder dir;
    dir.WriteBytes(fileName, confBytes);
    Competition s;
    s.DataFolder = dir.Path();
    if (!LoadDisplayConfig(s.DataFolder, s)) qWarning("Conf.txt not read");
    return s;
}

}  // namespace

class DisplayConfigFileTest : public QObject {
    Q_OBJECT
  private slots:
    void titles_data() {
        QTest::addColumn<QByteArray>("conf");
        QTest::addColumn<QStringList>("top");
        QTest::addColumn<QStringList>("welcome");
        auto row = [](const char* name, const char* utf8, QStringList top, QStringList welcome) {
            QTest::newRow(name) << QByteArray::fromStdString(Cp932Lines(utf8)) << top << welcome;
        };
        row("three lines each; top trimmed, welcome not",
            "!//TT\n 第１回　競技会 \n タイトル　 \nＢ\n!//WC\n ようこそ \nW2\nW3\n",
            {"第１回　競技会", "タイトル　", "Ｂ"}, {" ようこそ ", "W2", "W3"});
        row("lines from the fourth on ignored", "!//TT\nA\nB\nC\nD\nE\n", {"A", "B", "C"},
            {"", "", ""});
        row("blank line counts", "!//WC\nA\n\nC\n", {"", "", ""}, {"A", "", "C"});
        row("repeated section starts again", "!//TT\nA\nB\nC\n!//TT\nX\n", {"X", "B", "C"},
            {"", "", ""});
        row("last line without line end not read", "!//TT\nA\nB", {"A", "", ""}, {"", "", ""});
        row("data lines before the first section ignored", "junk\n\n!//TT\nA\n", {"A", "", ""},
            {"", "", ""});
        row("unknown and lower-case keys skip their lines", "!//TT\nA\n!//tt\nB\n!//XY\nC\n",
            {"A", "", ""}, {"", "", ""});
        row("SF lines change no title", "!//TT\nA\n!//SF\n1\n2\n3\n", {"A", "", ""}, {"", "", ""});
        row("CP932-only characters", "!//WC\n髙﨑①\n", {"", "", ""}, {"髙﨑①", "", ""});
        QTest::newRow("LF-only line ends") << QByteArray("!//TT\nAB\nC\n")
                                           << QStringList{"AB", "C", ""} << QStringList{"", "", ""};
        QTest::newRow("NUL ends the line as in C")
            << QByteArray("!//WC\r\nab\0cd\r\n", 14) << QStringList{"", "", ""}
            << QStringList{"a", "", ""};
    }
    void titles() {
        QFETCH(QByteArray, conf);
        QFETCH(QStringList, top);
        QFETCH(QStringList, welcome);
        const Competition s = Loaded(conf.toStdString());
        QCOMPARE(Decoded(s.Config.TopTitleLines), top);
        QCOMPARE(Decoded(s.Config.WelcomeTitleLines), welcome);
    }

    void overLongLinesKeepTheirFirst255Bytes() {
        // 300 bytes: the first 255 lose their last byte; the rest of the line is no line of its
        // own, so the next line is the second title.
        Competition s = Loaded(Section("TT", {std::string(300, 'a'), "b"}));
        QCOMPARE(s.Config.TopTitleLines[0], std::string(254, 'a'));
        QCOMPARE(s.Config.TopTitleLines[1], std::string("b"));
        // 127 double-byte characters and one more: the cut falls after the next lead byte, which
        // is the byte dropped.
        std::string wide;
        for (int i = 0; i < 127; ++i) wide += Sjis("あ");
        s = Loaded(Section("WC", {wide + Sjis("い"), "b"}));
        QCOMPARE(s.Config.WelcomeTitleLines[0], wide);
        QCOMPARE(s.Config.WelcomeTitleLines[1], std::string("b"));
    }

    void categories_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<QList<int>>("dances");
        QTest::addColumn<int>("redance");
        auto row = [](const char* tag, const std::string& line, QString code, QString name,
                      QString shortName, QList<int> dances, int redance) {
            QTest::newRow(tag) << QByteArray::fromStdString(line) << code << name << shortName
                               << dances << redance;
        };
        const QList<int> none(10, -48);
        row("full line with R", CnLine("A01", " スタンダード Ａ級", "Ｓ-Ａ", "1234567 12", "R"),
            "A01", "スタンダード Ａ級", "Ｓ-Ａ", {1, 2, 3, 4, 5, 6, 7, 8, 1, 2}, 1);
        row("lower-case r sets nothing", CnLine("A01", "x", "y", "1111111111", "r"), "A01", "x",
            "y", QList<int>(10, 1), 0);
        row("R must be in column 77", CnLine("A01", "x", "y", "1111111111", " R"), "A01", "x", "y",
            QList<int>(10, 1), 0);
        row("blank cells are round 8", CnLine("L1", "ラテン", "Ｌ", "          "), "L1", "ラテン",
            "Ｌ", QList<int>(10, 8), 0);
        row("70 characters: cells 5-10 are -48",
            CnLine("A01", "x", "y", "1234567890").substr(0, 70), "A01", "x", "y",
            {1, 2, 3, 4, -48, -48, -48, -48, -48, -48}, 0);
        row("double-byte name filling its 40 bytes",
            CnLine("B", "髙﨑①髙﨑①髙﨑①髙﨑①髙﨑①髙﨑①髙﨑", "短い名前", "5555500000"), "B",
            "髙﨑①髙﨑①髙﨑①髙﨑①髙﨑①髙﨑①髙﨑", "短い名前", {5, 5, 5, 5, 5, 0, 0, 0, 0, 0}, 0);
        row("letters in the cells", CnLine("C", "", "", "A0/1"), "C", "", "",
            {17, 0, -1, 1, 8, 8, 8, 8, 8, 8}, 0);
        row("code only", "\tC1", "C1", "", "", none, 0);
        row("blank line is an empty entry", "", "", "", "", none, 0);
    }
    void categories() {
        QFETCH(QByteArray, line);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QFETCH(QList<int>, dances);
        QFETCH(int, redance);
        const Competition s = Loaded(Section("CN", {line.toStdString(), "NEXT"}));
        QCOMPARE(s.CategoryCount, 2);
        QCOMPARE(FromCp932(s.CategoryCodes[0]), code);
        QCOMPARE(FromCp932(s.CategoryNames[0]), name);
        QCOMPARE(FromCp932(s.CategoryShortNames[0]), shortName);
        QCOMPARE(Cells(s.CategoryDanceRounds[0]), dances);
        QCOMPARE(s.CategoryRedance[0], redance);
        QCOMPARE(s.CategoryCodes[1], std::string("NEXT"));
    }

    void categoryTableLimitsAndRepeats() {
        std::vector<std::string> many;
        for (int i = 1; i <= 45; ++i)
            many.push_back(CnLine(qPrintable(QString("C%1").arg(i)), "n", "s", "1111111111", "R"));
        Competition s = Loaded(Section("CN", many));
        QCOMPARE(s.CategoryCount, 40);
        QCOMPARE(s.CategoryCodes[39], std::string("C40"));

        // The second CN section rewrites from row 0; its count wins; rows past it keep old texts.
        const std::string twice =
            Section("CN", {CnLine("A", "", "", "", "R"), CnLine("B", "", "", "", "R"),
                           CnLine("C", "", "", "", "R")}) +
            Section("JG", {"01x"}) +
            Section("CN", {CnLine("X", "", "", ""), CnLine("Y", "", "", "")});
        s = Loaded(twice);
        QCOMPARE(s.CategoryCount, 2);
        QCOMPARE(s.CategoryCodes[0], std::string("X"));
        QCOMPARE(s.CategoryCodes[2], std::string("C"));
        QCOMPARE(s.CategoryRedance[0], 0);  // the flag of the earlier section does not linger
        QCOMPARE(s.CategoryRedance[2], 1);
    }

    void judges_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("note");
        auto row = [](const char* tag, const std::string& line, QString code, QString name,
                      QString note) {
            QTest::newRow(tag) << QByteArray::fromStdString(line) << code << name << note;
        };
        row("# in column 19: note from column 20", JgLine("01", "髙橋　一郎", "#東京都連盟"), "01",
            "髙橋　一郎", "東京都連盟");
        row("no #: note from column 19", JgLine("02", "鈴木", "大阪府連盟"), "02", "鈴木",
            "大阪府連盟");
        row("# then 15 bytes", JgLine("03", "x", "#123456789012345678"), "03", "x",
            "123456789012345");
        row("no # then 16 bytes", JgLine("04", "x", "1234567890123456789"), "04", "x",
            "1234567890123456");
        row("# in column 20 is text", JgLine("05", "x", " #abc"), "05", "x", "#abc");
        row("# alone", JgLine("06", "x", "#"), "06", "x", "");
        row("short line", Sjis("7 﨑"), "7", "﨑", "");
        row("blank line is an empty entry", "", "", "", "");
    }
    void judges() {
        QFETCH(QByteArray, line);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, note);
        const Competition s = Loaded(Section("JG", {line.toStdString()}));
        QCOMPARE(s.JudgeCount, 1);
        QCOMPARE(FromCp932(s.JudgeCodes[0]), code);
        QCOMPARE(FromCp932(s.JudgeNames[0]), name);
        QCOMPARE(FromCp932(s.JudgeNotes[0]), note);
    }

    void judgeTableLimit() {
        std::vector<std::string> many(55, JgLine("01", "x", "y"));
        many[49] = JgLine("50", "last", "");
        const Competition s = Loaded(Section("JG", many));
        QCOMPARE(s.JudgeCount, 50);
        QCOMPARE(s.JudgeNames[49], std::string("last"));
    }

    void screenLeft_data() {
        QTest::addColumn<QByteArray>("conf");
        QTest::addColumn<int>("left");  // 777 = unchanged
        auto row = [](const char* tag, const char* utf8, int left) {
            QTest::newRow(tag) << QByteArray::fromStdString(Cp932Lines(utf8)) << left;
        };
        row("plain", "!//LP\n1436\n", 1436);
        row("blanks and sign", "!//LP\n  -20\n", -20);
        row("number then text", "!//LP\n+12px\n", 12);
        row("no number keeps the value", "!//LP\nabc\n", 777);
        row("blank line keeps the value", "!//LP\n\n", 777);
        row("every line applied, last number wins", "!//LP\n100\nx\n200\n", 200);
        row("last line without line end", "!//LP\n99", 777);
        row("full-width digits are no number", "!//LP\n１２\n", 777);
        row("huge number saturates", "!//LP\n99999999999999\n", 2147483647);
        row("SF numbers do not move the window", "!//SF\n5\n6\n", 777);
    }
    void screenLeft() {
        QFETCH(QByteArray, conf);
        QFETCH(int, left);
        TestFolder dir;
        dir.WriteBytes("Conf.txt", conf.toStdString());
        Competition s;
        s.DataFolder = dir.Path();
        s.Config.ScreenLeft = 777;
        QVERIFY(LoadDisplayConfig(s.DataFolder, s));
        QCOMPARE(s.Config.ScreenLeft, left);
    }

    void missingFileChangesNothing() {
        TestFolder dir;
        Competition s;
        s.DataFolder = dir.Path();
        s.Config.TopTitleLines[0] = "T";
        s.Config.WelcomeTitleLines[2] = "W";
        s.Config.ScreenLeft = 5;
        s.CategoryCount = 3;
        s.CategoryRedance[1] = 1;
        s.JudgeCount = 4;
        QVERIFY(!LoadDisplayConfig(s.DataFolder, s));
        QCOMPARE(s.Config.TopTitleLines[0], std::string("T"));
        QCOMPARE(s.Config.WelcomeTitleLines[2], std::string("W"));
        QCOMPARE(s.Config.ScreenLeft, 5);
        QCOMPARE(s.CategoryCount, 3);
        QCOMPARE(s.CategoryRedance[1], 1);
        QCOMPARE(s.JudgeCount, 4);
    }

    void fileNameLetterCase() {
        const Competition s = Loaded(Section("TT", {"A"}), "CONF.TXT");
        QCOMPARE(s.Config.TopTitleLines[0], std::string("A"));
    }

    void reloadClearsTitlesAndFlags() {
        TestFolder dir;
        dir.WriteBytes("Conf.txt",
                       Section("TT", {"A", "B"}) + Section("CN", {CnLine("X", "", "", "", "R")}));
        Competition s;
        s.DataFolder = dir.Path();
        QVERIFY(LoadDisplayConfig(s.DataFolder, s));
        dir.WriteBytes("Conf.txt", Section("TT", {"C"}) + Section("LP", {}));
        QVERIFY(LoadDisplayConfig(s.DataFolder, s));
        QCOMPARE(s.Config.TopTitleLines[0], std::string("C"));
        QCOMPARE(s.Config.TopTitleLines[1], std::string());
        QCOMPARE(s.CategoryRedance[0], 0);
        QCOMPARE(s.CategoryCount, 1);  // no CN section this time: the count stays
    }

    void hexColor_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("color");
        QTest::newRow("designed value") << "004000" << 0x004000u;
        QTest::newRow("red (blue highest)") << "0000FF" << 0x0000FFu;
        QTest::newRow("blue") << "FF0000" << 0xFF0000u;
        QTest::newRow("lower case") << "00ff00" << 0x00FF00u;
        QTest::newRow("non-hex letter is 0") << "00G0FF" << 0x0000FFu;
        QTest::newRow("full-width letter is one non-hex character") << "Ｆ1" << 0x001u;
        QTest::newRow("empty") << "" << 0u;
        QTest::newRow("only the last eight digits survive") << "1234567890" << 0x34567890u;
        QTest::newRow("31 characters at most") << QString(31, '1') + QString(9, 'F') << 0x11111111u;
    }
    void hexColor() {
        QFETCH(QString, text);
        QFETCH(uint, color);
        QCOMPARE(ApplyHexColor(ToCp932(text)), uint32_t(color));
    }

    void garbageDoesNotCrash() {
        QRandomGenerator rng(1436);
        const char* pieces[] = {"!//TT", "!//WC", "!//CN",    "!//JG", "!//LP", "!//SF",
                                "!//",   "\r\n",  "\n",       "R",     "#",     " ",
                                "-",     "9",     "\x81\x40", "\x83"};
        TestFolder dir;
        for (int round = 0; round < 200; ++round) {
            std::string bytes;
            const int parts = rng.bounded(200);
            for (int i = 0; i < parts; ++i) {
                if (rng.bounded(4) == 0) {
                    bytes += std::string(rng.bounded(300), static_cast<char>(rng.bounded(256)));
                } else {
                    bytes += pieces[rng.bounded(int(std::size(pieces)))];
                }
            }
            dir.WriteBytes("Conf.txt", bytes);
            Competition s;
            s.DataFolder = dir.Path();
            // An empty file after one with content is taken for one being rewritten.
            QCOMPARE(LoadDisplayConfig(s.DataFolder, s), !bytes.empty());
            QVERIFY(s.CategoryCount >= 0 && s.CategoryCount <= kCategoryRows);
            QVERIFY(s.JudgeCount >= 0 && s.JudgeCount <= kJudgeRows);
            for (const std::string& t : s.Config.TopTitleLines) FromCp932(t);
        }
    }
};

QTEST_MAIN(DisplayConfigFileTest)
#include "display_config_file_test.moc"
