// The clock of the top band: where the hands end, where the digits go, and that a tick draws only
// when the minute changes.
#include "core/display/clock_view.h"

#include <QtTest>

#include "support/test_files.h"

class ClockViewTest : public QObject {
    Q_OBJECT

  private slots:
    void pass_data() {
        QTest::addColumn<QString>("hhmm");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPoint>("hourEnd");
        QTest::addColumn<QPoint>("minuteEnd");
        // The cardinal positions end one pixel short (pi as 3.141592, truncated end points).
        QTest::newRow("00:00") << "00:00" << 1.0 << QPoint(64, 35) << QPoint(64, 19);
        QTest::newRow("00:00 preview") << "00:00" << 0.5 << QPoint(32, 17) << QPoint(32, 9);
        QTest::newRow("12:00") << "12:00" << 1.0 << QPoint(64, 35) << QPoint(64, 19);
        QTest::newRow("12:00 preview") << "12:00" << 0.5 << QPoint(32, 17) << QPoint(32, 9);
        QTest::newRow("03:00") << "03:00" << 1.0 << QPoint(94, 64) << QPoint(64, 19);
        QTest::newRow("18:00") << "18:00" << 1.0 << QPoint(65, 94) << QPoint(64, 19);
        QTest::newRow("09:30") << "09:30" << 1.0 << QPoint(36, 57) << QPoint(65, 110);
        QTest::newRow("09:30 preview") << "09:30" << 0.5 << QPoint(18, 28) << QPoint(32, 55);
        QTest::newRow("15:45") << "15:45" << 1.0 << QPoint(92, 76) << QPoint(19, 65);
        QTest::newRow("15:45 preview") << "15:45" << 0.5 << QPoint(46, 38) << QPoint(9, 32);
    }

    void pass() {
        QFETCH(QString, hhmm);
        QFETCH(double, scale);
        QFETCH(QPoint, hourEnd);
        QFETCH(QPoint, minuteEnd);
        Canvas canvas(int(130 * scale), int(160 * scale), QStringLiteral("ScrForm.Image2"));
        canvas.SetRecording(true);
        RenderTarget t{&canvas, scale};
        DrawClockPass(hhmm, t);
        const auto records = canvas.TakeRecords();
        const auto at = [scale](int x, int y) { return QPoint(int(x * scale), int(y * scale)); };
        const int half = scale == 1.0 ? 1 : 2;

        // Black box, red dial, white hour hand, aqua minute hand, all from the centre.
        const auto shapes = [&](const char* op) { return RecordsOf(records, op); };
        QCOMPARE(shapes("rectangle").at(0).points, (std::vector{at(0, 0), at(130, 160)}));
        QCOMPARE(shapes("rectangle").at(0).brush, QColor(Qt::black));
        QCOMPARE(shapes("ellipse").at(0).points, (std::vector{at(15, 15), at(115, 115)}));
        QCOMPARE(shapes("ellipse").at(0).pen, QColor(255, 0, 0));
        const auto hands = shapes("line");
        QCOMPARE(hands.size(), size_t(2));
        QCOMPARE(hands[0].points, (std::vector{at(65, 65), hourEnd}));
        QCOMPARE(QPair(hands[0].pen, hands[0].penWidth), QPair(QColor(Qt::white), 6 / half));
        QCOMPARE(hands[1].points, (std::vector{at(65, 65), minuteEnd}));
        QCOMPARE(QPair(hands[1].pen, hands[1].penWidth), QPair(QColor(0, 255, 255), 4 / half));

        const auto digits = RecordsOf(records, "text");
        QCOMPARE(digits.size(), size_t(1));
        QCOMPARE(digits[0].text, hhmm);
        QCOMPARE(digits[0].font, QStringLiteral(u"ＭＳ ゴシック"));
        QCOMPARE(digits[0].size, 30 / half);
        QVERIFY(!digits[0].bold);
        QCOMPARE(digits[0].color, QColor(0, 255, 0));
        QCOMPARE(digits[0].brush, QColor(Qt::black));
        QCOMPARE(digits[0].x, int(65 * scale - digits[0].w / 2));
        QCOMPARE(digits[0].y, 122 / half);
    }

    // Both clocks: the audience's at full size, then the preview at half size.
    void drawsBothClocks() {
        Canvas audience(130, 160, QStringLiteral("ScrForm.Image2"));
        Canvas preview(65, 80, QStringLiteral("DspMain.Image3"));
        audience.SetRecording(true);
        preview.SetRecording(true);
        DrawClock(QStringLiteral("10:15"), audience, preview);
        const auto a = RecordsOf(audience.TakeRecords(), "text");
        const auto p = RecordsOf(preview.TakeRecords(), "text");
        QCOMPARE(a.size(), size_t(1));
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(QPoint(a[0].size, a[0].y), QPoint(30, 122));
        QCOMPARE(QPoint(p[0].size, p[0].y), QPoint(15, 61));
    }

    void minuteTextHasTwoDigitsEach() {
        QCOMPARE(ClockMinuteText(QTime(7, 5, 59)), QStringLiteral("07:05"));
        QCOMPARE(ClockMinuteText(QTime(23, 59)), QStringLiteral("23:59"));
    }
};

QTEST_MAIN(ClockViewTest)
#include "clock_view_test.moc"
