#include "core/display/programme_list.h"

#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

const QColor kTeal(0, 128, 128);
const QColor kBlue(0, 0, 255);
const QString kCodeFont = QStringLiteral(u"ＭＳ ゴシック");
const QString kTextFont = QStringLiteral(u"ＭＳ Ｐゴシック");

Competition ProgrammeState() {
    Competition s;
    s.ProgrammeCount = 3;
    s.ProgrammeCodes[0] = "101";
    s.ProgrammeTexts[0] = Sjis("ジュニア ラテン 準決勝");
    s.ProgrammeCodesB[0] = "201";
    s.ProgrammeTextsB[0] = Sjis("シニア 決勝");
    s.ProgrammeNonCompetition[1] = 1;
    s.ProgrammeTexts[1] = Sjis("休憩");
    s.ProgrammeCodes[2] = "X";
    s.ProgrammeTexts[2] = Sjis("表彰式");
    return s;
}

std::vector<DrawRecord> Draw(const Competition& s) {
    Canvas image6(420, 4000, QStringLiteral("DspMain.Image6"));
    image6.SetRecording(true);
    DrawProgrammeList(s, image6);
    return image6.TakeRecords();
}

}  // namespace

class ProgrammeListTest : public QObject {
    Q_OBJECT

  private slots:
    void rows_data() {
        QTest::addColumn<int>("current");
        QTest::newRow("first item current") << 0;
        QTest::newRow("third item current") << 2;
        QTest::newRow("an empty slot current") << 57;
        QTest::newRow("below the list: no row marked") << 150;
    }

    void rows() {
        QFETCH(int, current);
        Competition s = ProgrammeState();
        s.CurrentProgrammeIndex = current;
        const auto records = Draw(s);

        const auto fills = RecordsOf(records, "fillrect");
        const bool marked = current < kProgrammeRows;
        QCOMPARE(int(fills.size()), marked ? 2 : 1);
        QCOMPARE(fills[0].points, (std::vector<QPoint>{{-10, -10}, {425, 4000}}));
        QCOMPARE(fills[0].brush, kTeal);
        if (marked) {
            QCOMPARE(fills[1].points,
                     (std::vector<QPoint>{{-10, 20 * current}, {425, 20 * current + 21}}));
            QCOMPARE(fills[1].brush, kBlue);
        }

        // A rule above the first row and under each of the 100 slots.
        const auto lines = RecordsOf(records, "line");
        QCOMPARE(lines.size(), size_t(101));
        for (int i = 0; i <= kProgrammeRows; ++i) {
            QCOMPARE(lines[i].points, (std::vector<QPoint>{{0, 20 * i}, {425, 20 * i}}));
            QCOMPARE(lines[i].pen, QColor(Qt::white));
            QCOMPARE(lines[i].penWidth, 1);
        }

        struct Row {
            QString code;
            QString text;
        };
        const Row rows[3] = {
            {"101", u"ジュニア ラテン 準決勝"_s}, {"", u"休憩"_s}, {"X", u"表彰式"_s}};
        for (int i = 0; i < 3; ++i) {
            const QColor background = i == current ? kBlue : kTeal;
            if (!rows[i].code.isEmpty()) {
                const DrawRecord* code = FindText(records, rows[i].code);
                QVERIFY(code != nullptr);
                QCOMPARE(code->x, 30 - code->w);
                QCOMPARE(code->y, 20 * i + 2);
                QCOMPARE(code->font, kCodeFont);
                QCOMPARE(code->size, 11);
                QCOMPARE(code->color, QColor(Qt::white));
                QCOMPARE(code->brush, background);
            }
            const DrawRecord* text = FindText(records, rows[i].text);
            QVERIFY(text != nullptr);
            QCOMPARE(QPoint(text->x, text->y), QPoint(50, 20 * i + 2));
            QCOMPARE(text->font, kTextFont);
            QCOMPARE(text->size, 11);
            QCOMPARE(text->brush, background);
        }
        // Floor-B codes and texts are not listed.
        QVERIFY(FindText(records, QStringLiteral("201")) == nullptr);
        QVERIFY(FindText(records, u"シニア 決勝"_s) == nullptr);
    }

    void currentRowIsBlueOnTheBitmap() {
        Competition s = ProgrammeState();
        s.CurrentProgrammeIndex = 1;
        Canvas image6(420, 4000, QStringLiteral("DspMain.Image6"));
        DrawProgrammeList(s, image6);
        QCOMPARE(image6.Image().pixelColor(300, 30), kBlue);
        QCOMPARE(image6.Image().pixelColor(300, 10), kTeal);
        QCOMPARE(image6.Image().pixelColor(300, 3990), kTeal);
        QCOMPARE(image6.Image().pixelColor(300, 40), QColor(Qt::white));
    }

    // The list sets font name, size and colour, but the style stays as the canvas has it.
    void keepsTheFontStyle() {
        for (bool bold : {false, true}) {
            Canvas image6(420, 4000, QStringLiteral("DspMain.Image6"));
            image6.SetBold(bold);
            image6.SetRecording(true);
            DrawProgrammeList(ProgrammeState(), image6);
            const auto texts = RecordsOf(image6.TakeRecords(), "text");
            QVERIFY(!texts.empty());
            for (const DrawRecord& r : texts) QCOMPARE(r.bold, bold);
        }
    }
};

QTEST_MAIN(ProgrammeListTest)
#include "programme_list_test.moc"
