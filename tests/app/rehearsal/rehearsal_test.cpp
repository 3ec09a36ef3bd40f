// The rehearsal mode: the script reader on its own, and the built program run as a rehearsal
// on small data folders made here (steps and file names, pictures, draw records, control states,
// recorded messages, the data folder option, the scripted clock, and the errors that stop a run).
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>
#include <array>

#include "app/rehearsal/script.h"
#include "support/test_files.h"

namespace {

constexpr int kNoPosition = -99999;

const char* const kSettings = "[データ保存]\nPath=.\n";
const char* const kConf =
    "!//TT\n第１回　テスト大会\n二行目の題\n三行目の題\n"
    "!//WC\nようこそ\nテスト選手権\n開始 10:00\n";

struct RunResult {
    int exitCode = -1;
    QString errors;
    QString out;
};

QString Program() { return QCoreApplication::applicationDirPath() + "/trqdisplay"; }

// Runs the program in folder with the script text; the pictures go to folder/out.
RunResult Rehearse(const TestFolder& folder, const std::string& script,
                   const QStringList& extra = {}) {
    folder.WriteBytes("day.txt", script);
    RunResult r;
    r.out = QString::fromStdString(folder.Path()) + "/out";
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(folder.Path()));
    p.start(Program(), QStringList{"--rehearse", "day.txt", "--out", r.out} + extra);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.errors = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString StepFile(const QString& out, int step, const char* kind) {
    return QStringLiteral("%1/%2-%3").arg(out).arg(step, 3, 10, QChar('0')).arg(kind);
}

QJsonObject Controls(const QString& out, int step) {
    QFile f(StepFile(out, step, "controls.json"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QJsonObject Control(const QString& out, int step, const char* name) {
    return Controls(out, step)["controls"].toObject()[name].toObject();
}

// The draw records of a step; a line that is not a JSON object fails the test.
QList<QJsonObject> Draws(const QString& out, int step) {
    QList<QJsonObject> records;
    QFile f(StepFile(out, step, "draw.jsonl"));
    if (!f.open(QIODevice::ReadOnly)) return records;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()) {
            QTest::qFail(("not a JSON object: " + line).constData(), __FILE__, __LINE__);
            return {};
        }
        records << doc.object();
    }
    return records;
}

QStringList TextsOn(const QList<QJsonObject>& records, const QString& canvas) {
    QStringList texts;
    for (const QJsonObject& r : records) {
        if (r["canvas"].toString() == canvas && r["op"].toString() == "text") {
            texts << r["text"].toString();
        }
    }
    return texts;
}

int CountOn(const QList<QJsonObject>& records, const QString& canvas) {
    int n = 0;
    for (const QJsonObject& r : records) n += r["canvas"].toString() == canvas ? 1 : 0;
    return n;
}

void WriteCompetition(const TestFolder& folder) {
    folder.WriteCp932("TRQsys.ini", kSettings);
    folder.WriteCp932("Conf.txt", kConf);
}

}  // namespace

class RehearsalTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(Program()).isExecutable(),
                 qPrintable("the program is built beside the tests: " + Program()));
    }

    void readsActions_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<int>("number");
        QTest::addColumn<QTime>("time");
        const QPoint none(kNoPosition, kNoPosition);
        const auto add = [&](const char* tag, const char* line, ActionKind kind, const char* name,
                             const char* text, Qt::MouseButton button, QPoint pos, int number,
                             QTime time) {
            QTest::newRow(tag) << QString::fromUtf8(line) << int(kind) << QString::fromUtf8(name)
                               << QString::fromUtf8(text) << int(button) << pos << number << time;
        };
        const auto L = Qt::LeftButton;
        add("click", "click BitBtn1", ActionKind::Click, "BitBtn1", "", L, none, 0, {});
        add("indented, tabs, CR", "\t click\tBitBtn5 \r", ActionKind::Click, "BitBtn5", "", L, none,
            0, {});
        add("qualified name", "click ScrForm.Image1", ActionKind::Click, "ScrForm.Image1", "", L,
            none, 0, {});
        add("mousedown right", "mousedown BitBtn16 right", ActionKind::MouseDown, "BitBtn16", "",
            Qt::RightButton, none, 0, {});
        add("mousedown at", "mousedown Image6 middle 12 340", ActionKind::MouseDown, "Image6", "",
            Qt::MiddleButton, QPoint(12, 340), 0, {});
        add("enter", "enter Edit7", ActionKind::Enter, "Edit7", "", L, none, 0, {});
        add("type keeps blanks", "type Edit7   全角　と blanks  ", ActionKind::Type, "Edit7",
            "  全角　と blanks  ", L, none, 0, {});
        add("type a hash", "type Edit14 # is text", ActionKind::Type, "Edit14", "# is text", L,
            none, 0, {});
        add("type nothing", "type Edit7", ActionKind::Type, "Edit7", "", L, none, 0, {});
        add("select", "select ComboBox1 3", ActionKind::Select, "ComboBox1", "", L, none, 3, {});
        add("check", "check RadioButton2", ActionKind::Check, "RadioButton2", "", L, none, 0, {});
        add("scroll", "scroll ScrollBar1 12", ActionKind::Scroll, "ScrollBar1", "", L, none, 12,
            {});
        add("clock", "clock 09:05", ActionKind::Clock, "", "", L, none, 0, QTime(9, 5));
        add("clock one-digit hour", "clock 7:30", ActionKind::Clock, "", "", L, none, 0,
            QTime(7, 30));
        add("key", "key PageDown", ActionKind::Key, "PageDown", "", L, none, 0, {});
        add("wheel back", "wheel Image6 -3", ActionKind::Wheel, "Image6", "", L, none, -3, {});
    }

    void readsActions() {
        QFETCH(QString, line);
        const Script script = ParseScript("# heading\n\n" + line.toUtf8() + "\n");
        QVERIFY2(!script.error, qPrintable(script.error ? script.error->message : QString()));
        QCOMPARE(script.actions.size(), size_t(1));
        const ScriptAction& a = script.actions[0];
        QCOMPARE(a.line, 3);
        QTEST(int(a.kind), "kind");
        QTEST(a.name, "name");
        QTEST(a.text, "text");
        QTEST(int(a.button), "button");
        QTEST(a.position.value_or(QPoint(kNoPosition, kNoPosition)), "position");
        QTEST(a.number, "number");
        QTEST(a.time, "time");
    }

    void refusesBadLines_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown action") << QByteArray("click A\njump A\n") << 2 << "unknown action";
        QTest::newRow("no name") << QByteArray("click\n") << 1 << "needs a control name";
        QTest::newRow("button word") << QByteArray("mousedown A up\n") << 1 << "left, right";
        QTest::newRow("no button") << QByteArray("mousedown A\n") << 1 << "left, right";
        QTest::newRow("x without y") << QByteArray("mousedown A left 5\n") << 1 << "bad position";
        QTest::newRow("x not a number")
            << QByteArray("mousedown A left five 5\n") << 1 << "bad position";
        QTest::newRow("row not a number") << QByteArray("select A x\n") << 1 << "bad row";
        QTest::newRow("negative row") << QByteArray("select A -1\n") << 1 << "bad row";
        QTest::newRow("position") << QByteArray("scroll A 1.5\n") << 1 << "bad position";
        QTest::newRow("hour 24") << QByteArray("clock 24:00\n") << 1 << "bad time";
        QTest::newRow("minute 60") << QByteArray("clock 10:60\n") << 1 << "bad time";
        QTest::newRow("one-digit minute") << QByteArray("clock 10:5\n") << 1 << "bad time";
        QTest::newRow("extra word") << QByteArray("click A B\n") << 1 << "unexpected \"B\"";
        QTest::newRow("unknown key") << QByteArray("key F5\n") << 1 << "PageDown, PageUp";
        QTest::newRow("no notches") << QByteArray("wheel A 0\n") << 1 << "bad number of notches";
        QTest::newRow("after CR LF lines")
            << QByteArray("# a\r\n\r\nclick A\r\nenter A B\r\n") << 4 << "unexpected";
        QTest::newRow("not UTF-8 bytes") << QByteArray("\x83\x5C A\n") << 1 << "unknown action";
    }

    void refusesBadLines() {
        QFETCH(QByteArray, script);
        const Script s = ParseScript(script);
        QVERIFY(s.error.has_value());
        QTEST(s.error->line, "line");
        QFETCH(QString, message);
        QVERIFY2(s.error->message.contains(message), qPrintable(s.error->message));
    }

    // EXIT asks first (recorded with its buttons and the default), then ends the program: the
    // step's records are written, the run ends there with the program's status.
    void exitStepWritesItsRecords() {
        TestFolder folder;
        WriteCompetition(folder);
        const RunResult r = Rehearse(folder, "key PageDown\nclick BitBtn30\nclick BitBtn2\n");
        QCOMPARE(r.exitCode, 1);
        QVERIFY(QFileInfo::exists(StepFile(r.out, 2, "audience.png")));
        QVERIFY(!QFileInfo::exists(StepFile(r.out, 3, "controls.json")));
        const QJsonArray messages = Controls(r.out, 2)["messages"].toArray();
        QCOMPARE(messages.size(), 1);
        const QJsonObject question = messages[0].toObject();
        QCOMPARE(question["buttons"].toArray(), (QJsonArray{"はい", "いいえ"}));
        QCOMPARE(question["default"].toString(), QString("いいえ"));
        QCOMPARE(question["answer"].toString(), QString("はい"));
        QVERIFY(!Control(r.out, 0, "DspMain.BitBtn28")["tooltip"].toString().isEmpty());
    }

    void writesEveryStep() {
        TestFolder folder;
        WriteCompetition(folder);
        const RunResult r = Rehearse(folder,
                                     "click BitBtn1\n"
                                     "# the Welcome view, then one programme step and Clean\n"
                                     "mousedown BitBtn16 left\n"
                                     "click BitBtn2\n");
        QVERIFY2(r.exitCode == 0, qPrintable(r.errors));

        QStringList expected;
        for (int step = 0; step <= 3; ++step) {
            for (const char* kind :
                 {"audience.png", "console.png", "controls.json", "draw.jsonl", "now.json"}) {
                expected << QFileInfo(StepFile(r.out, step, kind)).fileName();
            }
        }
        QCOMPARE(QDir(r.out).entryList(QDir::Files, QDir::Name), expected);

        for (int step = 0; step <= 3; ++step) {
            const QImage audience(StepFile(r.out, step, "audience.png"));
            QCOMPARE(audience.size(), QSize(1024, 768));
            QVERIFY(!QImage(StepFile(r.out, step, "console.png")).isNull());
            for (const QJsonObject& record : Draws(r.out, step)) {
                QVERIFY(record["canvas"].isString());
                QVERIFY(record["op"].isString());
            }
            const QJsonObject label = Control(r.out, step, "DspMain.Label75");
            for (const char* key :
                 {"class", "text", "visible", "enabled", "bg", "fg", "geometry"}) {
                QVERIFY2(label.contains(key), key);
            }
            QCOMPARE(Controls(r.out, step)["messages"].toArray().size(), 0);
            // What the web serves after the step: the view on the hall.
            QFile now(StepFile(r.out, step, "now.json"));
            QVERIFY(now.open(QIODevice::ReadOnly));
            const QJsonObject state = QJsonDocument::fromJson(now.readAll()).object();
            QCOMPARE(state["view"].toInt(), (std::array{0, 1, 7, 0})[step]);
            QCOMPARE(state["hold"].toBool(), false);
        }

        // Start-up draws the banner; Title draws the Welcome lines in its own step only.
        QVERIFY(TextsOn(Draws(r.out, 0), "ScrForm.Image3").contains("第１回　テスト大会"));
        QVERIFY(!TextsOn(Draws(r.out, 0), "ScrForm.Image9").contains("ようこそ"));
        QVERIFY(TextsOn(Draws(r.out, 1), "ScrForm.Image9").contains("ようこそ"));
        QVERIFY(TextsOn(Draws(r.out, 1), "DspMain.Image1").contains("ようこそ"));

        // The highlighted view label follows the commands: Clean, Title, ..., Clean.
        QCOMPARE(Control(r.out, 0, "DspMain.Label75")["bg"].toString(), "#ff0000");
        QVERIFY(Control(r.out, 1, "DspMain.Label75")["bg"].toString() != "#ff0000");
        QCOMPARE(Control(r.out, 3, "DspMain.Label75")["bg"].toString(), "#ff0000");

        // The audience picture: the black top band and the base colour below it.
        const QImage welcome(StepFile(r.out, 1, "audience.png"));
        QCOMPARE(welcome.pixelColor(500, 160), QColor(Qt::black));
        QCOMPARE(welcome.pixelColor(5, 760), QColor(0, 64, 0));

        const QJsonObject window = Controls(r.out, 0)["window"].toObject();
        QVERIFY(window["console"].toObject()["title"].toString().contains("第１回　テスト大会"));
        QCOMPARE(window["audience"].toObject()["geometry"].toArray().size(), 4);
    }

    void stopsAtBadLine_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("stepsWritten");
        // A faulty line is found before the run starts; a control that cannot take the action
        // stops the run at its line, after the steps before it.
        QTest::newRow("unknown action")
            << QByteArray("click BitBtn1\njump BitBtn1\n") << 2 << "unknown action" << 0;
        QTest::newRow("unknown control")
            << QByteArray("click BitBtn1\n\nclick NoSuchControl\n") << 3 << "unknown control" << 2;
        QTest::newRow("wrong window")
            << QByteArray("click ScrForm.BitBtn1\n") << 1 << "unknown control" << 1;
        QTest::newRow("button as combo")
            << QByteArray("select BitBtn1 0\n") << 1 << "not a combo box" << 1;
        QTest::newRow("enter on a button")
            << QByteArray("enter BitBtn1\n") << 1 << "not an edit" << 1;
        QTest::newRow("click on an edit")
            << QByteArray("click Edit14\n") << 1 << "not a button or label" << 1;
        QTest::newRow("row past the end")
            << QByteArray("select ComboBox1 999\n") << 1 << "no row 999" << 1;
        QTest::newRow("scroll out of range")
            << QByteArray("scroll ScrollBar1 -5\n") << 1 << "not to -5" << 1;
        QTest::newRow("outside the control")
            << QByteArray("mousedown BitBtn4 left 5000 5\n") << 1 << "lies outside" << 1;
        QTest::newRow("hidden panel")
            << QByteArray("click BitBtn1\ntype Edit7 abc\n") << 2 << "not visible" << 2;
    }

    void stopsAtBadLine() {
        QFETCH(QByteArray, script);
        QFETCH(int, line);
        QFETCH(QString, message);
        QFETCH(int, stepsWritten);
        TestFolder folder;
        WriteCompetition(folder);
        const RunResult r = Rehearse(folder, script.toStdString());
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.errors.contains(QStringLiteral("rehearsal: day.txt:%1: ").arg(line)),
                 qPrintable(r.errors));
        QVERIFY2(r.errors.contains(message), qPrintable(r.errors));
        for (int step = 0; step <= stepsWritten; ++step) {
            QCOMPARE(QFileInfo::exists(StepFile(r.out, step, "controls.json")),
                     step < stepsWritten);
        }
    }

    void recordsMissingSettingsMessage() {
        TestFolder folder;
        folder.WriteCp932("Conf.txt", kConf);
        const RunResult r = Rehearse(folder, "click BitBtn2\n");
        QVERIFY2(r.exitCode == 0, qPrintable(r.errors));

        const QJsonArray messages = Controls(r.out, 0)["messages"].toArray();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].toObject()["caption"].toString(), ">>> データフォルダー");
        const QString text = messages[0].toObject()["text"].toString();
        QVERIFY(text.startsWith(
            "運用しているフォルダーが見つかりません。取りあえずの環境を選択します。\n\n"
            "探したフォルダー: （この場所に TRQsys.ini がありません）\n使うフォルダー: "));
        QCOMPARE(Controls(r.out, 1)["messages"].toArray().size(), 0);

        // The program's own folder stands in, so its Conf.txt is read.
        const QString shown = Control(r.out, 0, "DspMain.Label61")["text"].toString();
        QCOMPARE(QFileInfo(shown).canonicalFilePath(),
                 QFileInfo(QString::fromStdString(folder.Path())).canonicalFilePath());
        QVERIFY(TextsOn(Draws(r.out, 0), "ScrForm.Image3").contains("第１回　テスト大会"));
    }

    void dataOptionReplacesFolder() {
        TestFolder folder;
        WriteCompetition(folder);
        TestFolder other;
        other.WriteCp932("Conf.txt", "!//TT\n別フォルダの大会\n\n\n");
        const QString dir = QString::fromStdString(other.Path());

        const RunResult r = Rehearse(folder, "", {"--data", dir});
        QVERIFY2(r.exitCode == 0, qPrintable(r.errors));
        QCOMPARE(Control(r.out, 0, "DspMain.Label61")["text"].toString(), dir);
        QCOMPARE(Controls(r.out, 0)["messages"].toArray().size(), 0);
        const QStringList banner = TextsOn(Draws(r.out, 0), "ScrForm.Image3");
        QVERIFY(banner.contains("別フォルダの大会"));
        QVERIFY(!banner.contains("第１回　テスト大会"));

        const RunResult missing = Rehearse(folder, "", {"--data", dir + "/none"});
        QCOMPARE(missing.exitCode, 2);
        QVERIFY2(missing.errors.contains("--data"), qPrintable(missing.errors));
    }

    void typedTextKeepsBlanks() {
        TestFolder folder;
        WriteCompetition(folder);
        const RunResult r = Rehearse(folder,
                                     "click BitBtn29\n"
                                     "type Edit7   新しい　題 \n"
                                     "enter Edit7\n");
        QVERIFY2(r.exitCode == 0, qPrintable(r.errors));
        QCOMPARE(Control(r.out, 1, "DspMain.Panel6")["visible"].toBool(), true);
        QCOMPARE(Control(r.out, 1, "DspMain.Panel8")["visible"].toBool(), false);
        QCOMPARE(Control(r.out, 2, "DspMain.Edit7")["text"].toString(), "  新しい　題 ");
        // Typing alone changes nothing on the screen; Enter applies it.
        QCOMPARE(CountOn(Draws(r.out, 2), "ScrForm.Image9"), 0);
        bool drawn = false;
        for (const QString& t : TextsOn(Draws(r.out, 3), "ScrForm.Image9")) {
            drawn = drawn || t.contains("新しい　題");
        }
        QVERIFY(drawn);
    }

    void clockMovesOnlyWithScript() {
        TestFolder folder;
        WriteCompetition(folder);
        const RunResult r = Rehearse(folder,
                                     "clock 08:15\n"
                                     "click BitBtn32\n"
                                     "clock 09:30\n"
                                     "clock 09:30\n"
                                     "clock 21:45\n"
                                     "click BitBtn32\n");
        QVERIFY2(r.exitCode == 0, qPrintable(r.errors));
        QCOMPARE(Control(r.out, 2, "DspMain.Label63")["text"].toString(), "Yes");
        // Clock mode swaps the logos for the clock boxes, and back.
        for (const auto& [step, clock] : {std::pair{2, true}, {6, false}}) {
            QCOMPARE(Control(r.out, step, "ScrForm.Panel2")["visible"].toBool(), clock);
            QCOMPARE(Control(r.out, step, "ScrForm.Image1")["visible"].toBool(), !clock);
            QCOMPARE(Control(r.out, step, "DspMain.Panel3")["visible"].toBool(), clock);
            QCOMPARE(Control(r.out, step, "DspMain.Image4")["visible"].toBool(), !clock);
        }
        // The timer was off for the first clock line and does not tick by itself.
        for (int step : {1, 2}) QCOMPARE(CountOn(Draws(r.out, step), "ScrForm.Image2"), 0);
        QCOMPARE(TextsOn(Draws(r.out, 3), "ScrForm.Image2"), QStringList{"09:30"});
        QCOMPARE(TextsOn(Draws(r.out, 3), "DspMain.Image3"), QStringList{"09:30"});
        // The same minute draws nothing; a new one draws again.
        QCOMPARE(CountOn(Draws(r.out, 4), "ScrForm.Image2"), 0);
        QCOMPARE(TextsOn(Draws(r.out, 5), "ScrForm.Image2"), QStringList{"21:45"});
    }

    void refusesBadCommandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no out") << QStringList{"--rehearse", "day.txt"} << "--out";
        QTest::newRow("no value") << QStringList{"--rehearse", "day.txt", "--out"}
                                  << "needs a value";
        QTest::newRow("unknown option")
            << QStringList{"--rehearse", "day.txt", "--out", "o", "--fast"} << "--fast";
        QTest::newRow("missing script")
            << QStringList{"--rehearse", "none.txt", "--out", "o"} << "none.txt";
        QTest::newRow("options in any order")
            << QStringList{"--rehearse", "day.txt", "--data", "nowhere", "--out", "o"} << "nowhere";
    }

    void refusesBadCommandLines() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        TestFolder folder;
        folder.WriteBytes("day.txt", "click BitBtn1\n");
        QProcess p;
        p.setWorkingDirectory(QString::fromStdString(folder.Path()));
        p.start(Program(), arguments);
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 2);
        const QString errors = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(errors.startsWith("rehearsal: ") && errors.contains(message), qPrintable(errors));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(folder.Path()) + "/o/000-draw.jsonl"));
    }
};

QTEST_GUILESS_MAIN(RehearsalTest)
#include "rehearsal_test.moc"
