// The judges view: the chief judge's line, the panel in two or three columns, and the shrunk
// panel that keeps every judge of a large panel on the surface.
#include "core/display/judges_view.h"

#include <QtTest>
#include <map>

#include "core/competition/view_types.h"
#include "core/display/renderer.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

const QColor kYellow(255, 255, 0);

QString NameOf(int k) { return QStringLiteral(u"審判%1").arg(k); }

Competition JudgesState(int count) {
    Competition s;
    for (int k = 0; k < std::max(count, 1); ++k) {
        s.JudgeCodes[k] = ToCp932(QString(QChar(u'A' + k / 26)) + QChar(u'A' + k % 26));
        s.JudgeNames[k] = ToCp932(NameOf(k));
        s.JudgeNotes[k] = Sjis("ＪＤＳＦ");
    }
    s.JudgeCount = count;
    return s;
}

// A judge's line: code, name and note, drawn in that order; by judge.
struct JudgeLine {
    DrawRecord code, name, note;
};

std::map<int, JudgeLine> Draw(Competition& s, double scale, std::vector<DrawRecord>* all = {}) {
    Canvas canvas(int(1024 * scale), int(600 * scale), QStringLiteral("ScrForm.Image9"));
    canvas.SetRecording(true);
    RenderTarget t{&canvas, scale};
    DrawViewType(kViewJudges, s, t);
    const auto texts = RecordsOf(canvas.Records(), "text");
    std::map<int, JudgeLine> lines;
    for (size_t i = 1; i + 1 < texts.size(); ++i) {
        const int k = texts[i].text.mid(2).toInt();
        if (texts[i].text == NameOf(k)) lines[k] = {texts[i - 1], texts[i], texts[i + 1]};
    }
    if (all != nullptr) *all = canvas.TakeRecords();
    return lines;
}

}  // namespace

class JudgesViewTest : public QObject {
    Q_OBJECT

  private slots:
    void panel_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<QList<int>>>("spots");  // {judge, design x of the name, design y}
        QTest::newRow("none: the chief's line still") << 0 << QList<QList<int>>{};
        QTest::newRow("8: one column of 8 rows")
            << 8 << QList<QList<int>>{{1, 80, 160}, {7, 80, 430}};
        QTest::newRow("9") << 9 << QList<QList<int>>{{4, 80, 295}, {5, 580, 160}, {8, 580, 295}};
        QTest::newRow("15") << 15 << QList<QList<int>>{{7, 80, 430}, {8, 580, 160}, {14, 580, 430}};
        QTest::newRow("19") << 19
                            << QList<QList<int>>{{9, 80, 520}, {10, 580, 160}, {18, 580, 520}};
        QTest::newRow("20: three columns, the last at 520")
            << 20
            << QList<QList<int>>{
                   {6, 80, 385}, {7, 400, 160}, {13, 720, 160}, {18, 720, 385}, {19, 720, 520}};
        QTest::newRow("30") << 30
                            << QList<QList<int>>{{10, 80, 565}, {28, 720, 475}, {29, 720, 520}};
    }

    void panel() {
        QFETCH(int, count);
        QFETCH(QList<QList<int>>, spots);
        const std::map<int, int> noteRight{{80, 350}, {580, 750}, {400, 670}, {720, 990}};
        for (double scale : {1.0, 0.5}) {
            Competition s = JudgesState(count);
            const auto lines = Draw(s, scale);
            QCOMPARE(int(lines.size()), std::max(count, 1));
            QCOMPARE(lines.at(0).name.y, int(100 * scale));
            for (const QList<int>& spot : spots) {
                const DrawRecord& name = lines.at(spot[0]).name;
                QCOMPARE(QPoint(name.x, name.y),
                         QPoint(int(spot[1] * scale), int(spot[2] * scale)));
            }
            QSet<QPair<int, int>> places;
            for (int k = 1; k < count; ++k) {
                const auto& [code, name, note] = lines.at(k);
                const int nameX = int(name.x / scale);
                QCOMPARE(code.x, int((nameX - 40) * scale - code.w / 2));
                QCOMPARE(note.x, int(noteRight.at(nameX) * scale - note.w));
                QCOMPARE(QPoint(code.y, note.y), QPoint(name.y, name.y));
                QCOMPARE(code.color, kYellow);
                QCOMPARE(QList({name.color, note.color}), QList<QColor>(2, Qt::white));
                QCOMPARE(name.font, QStringLiteral(u"HGP創英角ｺﾞｼｯｸUB"));
                QCOMPARE(QPair(name.size, name.bold), QPair(int(24 * scale), false));
                places.insert({name.x, name.y});
            }
            QCOMPARE(int(places.size()), std::max(count - 1, 0));
        }
    }

    // From 33 judges rows would start below the surface, and with 29, 31 and 32 another judge
    // already stands where the last one goes: the panel shrinks instead.
    void shrunkPanel_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pitch");
        for (auto [count, pitch] : {std::pair{29, 44}, {31, 44}, {32, 40}, {33, 40}, {50, 25}}) {
            QTest::addRow("%d", count) << count << pitch;
        }
    }

    void shrunkPanel() {
        QFETCH(int, count);
        QFETCH(int, pitch);
        for (double scale : {1.0, 0.5}) {
            Competition s = JudgesState(count);
            const auto lines = Draw(s, scale);
            QCOMPARE(int(lines.size()), count);
            std::map<int, std::vector<DrawRecord>> columns;  // by x of the names
            for (int k = 1; k < count; ++k) columns[lines.at(k).name.x].push_back(lines.at(k).name);
            QCOMPARE(int(columns.size()), 3);
            QCOMPARE(int(columns[int(80 * scale)].size()), count / 3);
            QCOMPARE(int(columns[int(400 * scale)].size()), count / 3);
            QCOMPARE(lines.at(2).name.y, int((160 + pitch) * scale));
            int lowest = 0;
            for (auto& [x, column] : columns) {
                QCOMPARE(column.front().y, int(160 * scale));
                for (size_t i = 0; i + 1 < column.size(); ++i) {
                    QVERIFY(column[i + 1].y >= column[i].y + column[i].h);
                }
                QVERIFY(column.back().y + column.back().h <= int(600 * scale));
                lowest = std::max(lowest, column.back().y);
            }
            const DrawRecord& last = lines.at(count - 1).name;
            QCOMPARE(QPoint(last.x, last.y), QPoint(int(720 * scale), lowest));
        }
    }

    void headerCaptionAndChief() {
        for (double scale : {1.0, 0.5}) {
            Competition s = JudgesState(3);
            s.JudgeNotes[0] = Sjis("日本ダンススポーツ連盟 公認審判員");  // longer than its room
            std::vector<DrawRecord> records;
            const JudgeLine chief = Draw(s, scale, &records).at(0);
            const auto at = [scale](int x, int y) {
                return QPoint(int(x * scale), int(y * scale));
            };
            QCOMPARE(records.front().op, QStringLiteral("rectangle"));
            QCOMPARE(RecordsOf(records, "line").at(0).points,
                     (std::vector{at(20, 60), at(999, 60)}));

            const auto texts = RecordsOf(records, "text");
            QCOMPARE(texts[0].text, QStringLiteral(u"[ 審判員 ] "));
            QCOMPARE(QPoint(texts[0].x, texts[0].y), at(40, 10));
            QCOMPARE(texts[0].font, QStringLiteral("Microsoft Sans Serif"));
            QCOMPARE(QPair(texts[0].size, texts[0].bold), QPair(int(22 * scale), true));
            QCOMPARE(texts[0].color, kYellow);

            QCOMPARE(chief.code.x, int(40 * scale - chief.code.w / 2));
            QCOMPARE(QPoint(chief.name.x, chief.name.y), at(80, 100));
            // A note too long for the line is narrowed with the name: it ends at 500 and leaves
            // the name uncovered.
            QCOMPARE(chief.note.x, int(500 * scale - chief.note.w));
            QVERIFY(chief.note.x >= chief.name.x + chief.name.w);
            QVERIFY(chief.note.stretch < 100 && chief.name.stretch == chief.note.stretch);
            const DrawRecord* marker = FindText(texts, QStringLiteral(u"※ 審判長"));
            QVERIFY(marker != nullptr);
            QCOMPARE(QPoint(marker->x, marker->y), at(520, 100));
            QCOMPARE(marker->color, QColor(0, 255, 255));
        }
    }
};

QTEST_MAIN(JudgesViewTest)
#include "judges_view_test.moc"
