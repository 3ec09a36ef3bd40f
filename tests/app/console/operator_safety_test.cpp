// What keeps surprises off the venue screen, driven as the operator drives the console (the
// rehearsal's actions on the demo day): the hold's release shows what the preview prepared, the
// clicker keys reach the console after every panel, questions default to no, the programme list
// scrolls with the wheel and keeps its current item in sight, every control explains itself, and
// the on-air line and the next-step line say exactly what the hall sees and what comes next.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/day_schedule.h"
#include "app/console/dsp_main_form.h"
#include "app/rehearsal/control_driver.h"
#include "app/rehearsal/script.h"
#include "app/widgets/image_control.h"
#include "app/widgets/press_label.h"
#include "core/competition/now_json.h"
#include "core/competition/view_types.h"
#include "core/platform/data_file.h"
#include "support/picture_checks.h"

namespace {

// The texts of the last picture on a surface, in drawing order, without their positions.
QStringList PictureTexts(Canvas& canvas, std::vector<DrawRecord>& kept, int width) {
    for (DrawRecord& r : canvas.TakeRecords()) kept.push_back(std::move(r));
    QStringList texts;
    for (const DrawRecord& r : LastPictureTexts(kept, width)) texts << r.text;
    return texts;
}

}  // namespace

class OperatorSafetyTest : public QObject {
    Q_OBJECT

    AppWindows windows_;
    std::unique_ptr<ControlDriver> driver_;
    QTime now_;

    Competition& S() { return *windows_.state; }
    QString Text(const char* control) {
        return windows_.console->findChild<QLabel*>(QLatin1String(control))->text();
    }
    // Runs script lines; a line the driver refuses fails the test.
    void Do(const char* lines) {
        const Script script = ParseScript(QByteArray(lines));
        QVERIFY2(!script.error, qPrintable(script.error ? script.error->message : QString()));
        for (const ScriptAction& a : script.actions) {
            const QString error = driver_->Perform(a);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCoreApplication::processEvents();
        }
    }

  private slots:
    void init() {
        Hooks().showMessage = [](const QString&, const QString&) {};
        Hooks().now = [this] { return now_; };
        now_ = QTime(9, 0);
        StartOptions options;
        options.dataFolder =
            EncodePath(qEnvironmentVariable("TRQ_SOURCE_DIR") + QStringLiteral("/data/demo"));
        options.markerPath = "/nonexistent/Tamik";
        windows_ = CreateWindows(options);
        windows_.console->show();
        windows_.console->FormActivate();
        windows_.console->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(windows_.console.get()));
        driver_ = std::make_unique<ControlDriver>(
            windows_.console.get(), windows_.audience.get(), [](QTime) {}, [] {});
        for (Canvas* c : {&windows_.audience->NormalSurface(),
                          &windows_.console->findChild<ImageControl*>("Image1")->canvas()}) {
            c->SetRecording(true);
        }
    }
    void cleanup() {
        driver_.reset();
        windows_ = AppWindows();
    }

    // Heat 2 on air, held; two steps prepare the next dance's first heat in the preview; the
    // release puts exactly that on the venue screen.
    void holdReleaseShowsThePreparedHeat() {
        Do("key PageDown\nkey PageDown\nclick BitBtn5\nkey PageDown\n");
        QCOMPARE(S().HeatIndex, 1);
        Do("click Button17\n");
        const QString heldOnAir = Text("OnAirLabel");
        Do("key PageDown\nkey PageDown\n");
        const int heat = S().HeatIndex;
        const int dance = S().DanceIndex;
        QVERIFY(heat != 1 || dance != 0);
        QVERIFY2(Text("OnAirLabel").startsWith(heldOnAir.section(QStringLiteral(u"／"), 0, 0)),
                 qPrintable(Text("OnAirLabel")));
        QVERIFY(Text("OnAirLabel").contains(QStringLiteral(u"／準備: Heat-")));

        std::vector<DrawRecord> hall, preview;
        Canvas& audience = windows_.audience->NormalSurface();
        Canvas& image1 = windows_.console->findChild<ImageControl*>("Image1")->canvas();
        PictureTexts(audience, hall, 1024);
        PictureTexts(image1, preview, 512);
        Do("click Button17\n");
        QCOMPARE(S().HoldScreen, 0);
        QCOMPARE(S().HeatIndex, heat);
        QCOMPARE(S().DanceIndex, dance);
        const QStringList onHall = PictureTexts(audience, hall, 1024);
        QVERIFY(!onHall.isEmpty());
        QCOMPARE(onHall, PictureTexts(image1, preview, 512));
        QVERIFY(!Text("OnAirLabel").contains(QStringLiteral(u"準備")));
    }

    // The clicker's Page Down moves the programme whatever has the focus after a panel or a
    // choice, except a text field being typed in.
    void keysReachTheConsole_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("moves");
        QTest::newRow("after the maintenance panel")
            << "click BitBtn29\nfocus Edit4\nclick BitBtn31\n" << 1;
        QTest::newRow("after the folder panel")
            << "click Label59\nfocus DriveComboBox1\nclick Button30\n" << 1;
        QTest::newRow("after choosing an event") << "select ComboBox3 2\n" << 1;
        QTest::newRow("after an announcement") << "click BitBtn6\n" << 1;
        QTest::newRow("typing a message") << "focus Edit14\n" << 0;
    }
    void keysReachTheConsole() {
        QFETCH(QString, before);
        QFETCH(int, moves);
        // "focus NAME": the operator clicked into that field (to type in it).
        for (const QString& line : before.split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith("focus ")) {
                windows_.console->findChild<QWidget*>(line.mid(6).trimmed())->setFocus();
            } else {
                Do((line + '\n').toUtf8().constData());
            }
        }
        const int item = S().CurrentProgrammeIndex;
        Do("key PageDown\n");
        QCOMPARE(S().CurrentProgrammeIndex, item + moves);
    }

    // Escape and a stray Enter both answer no; yes needs its own button.
    void questionsDefaultToNo_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void questionsDefaultToNo() {
        QFETCH(int, key);
        const std::unique_ptr<QMessageBox> box = QuestionBox("終了しますか？", "確認");
        QCOMPARE(box->defaultButton()->text(), QString::fromUtf8(kNoButton));
        QCOMPARE(box->escapeButton(), static_cast<QAbstractButton*>(box->defaultButton()));
        QTimer::singleShot(0, box.get(), [&box, key] {
            QTest::keyClick(box.get(), static_cast<Qt::Key>(key));
        });
        box->exec();
        QCOMPARE(box->clickedButton()->text(), QString::fromUtf8(kNoButton));
    }

    // The wheel over the list scrolls it; a programme move brings the current item fully into
    // the list's panel, whatever the scroll position was.
    void programmeListWheelAndCurrentItem() {
        auto* bar = windows_.console->findChild<QAbstractSlider*>("ScrollBar1");
        auto* list = windows_.console->findChild<QWidget*>("Image6");
        QCOMPARE(bar->value(), 0);
        Do("wheel Image6 2\n");
        QVERIFY(bar->value() > 0);
        Do("wheel Image6 -5\n");
        QCOMPARE(bar->value(), 0);
        const QRect panel = list->parentWidget()->rect();
        for (int step = 0; step < S().ProgrammeCount + 2; ++step) {
            Do("mousedown BitBtn16 left\n");
            const int top = list->y() + S().CurrentProgrammeIndex * 20;
            QVERIFY2(top >= 0 && top + 20 <= panel.height(),
                     qPrintable(QStringLiteral("item %1 at %2").arg(S().CurrentProgrammeIndex).arg(top)));
        }
        QVERIFY(bar->geometry().bottom() < panel.height());
        QVERIFY(bar->height() >= panel.height() - 4);
    }

    // Every control the operator can press, type in or choose says what it does.
    void everyControlHasATooltip() {
        QStringList missing;
        for (QWidget* w : windows_.console->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
                                 qobject_cast<ImageControl*>(w) || qobject_cast<PressLabel*>(w);
            const QString name = w->objectName();
            if (!control || name.isEmpty() || name.startsWith("qt_") || !w->isEnabled()) continue;
            if (w->toolTip().trimmed().isEmpty()) missing << name;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
        const QString order = windows_.console->findChild<QWidget*>("RadioButton2")->toolTip();
        QVERIFY(order.contains(QStringLiteral(u"最下位から")) && order.contains(QStringLiteral(u"１位が最後")));
    }

    // The on-air line after each kind of picture, and the next-step line beside the progress
    // panel, or the reason when a command did nothing.
    void onAirAndNextStep_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("onAir");
        QTest::addColumn<QString>("next");
        QTest::newRow("start") << "" << " 会場: Clean" << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("title") << "click BitBtn1\n" << " 会場: Title" << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("judges") << "click BitBtn3\n" << " 会場: Judge" << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("message alone") << "mousedown BitBtn4 right\n" << " 会場: Msg 単独"
                                       << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("heat without heats") << "click BitBtn5\n" << " 会場: Clean"
                                            << "■ この項目は競技ではありません（ヒートなし）";
        QTest::newRow("heat") << "key PageDown\nkey PageDown\nclick BitBtn5\n"
                              << " 会場: Heat-1/3 W" << "▶ Heat-2/3 W へ";
        QTest::newRow("last heat") << "key PageDown\nkey PageDown\nclick BitBtn5\n"
                                      "key PageDown\nkey PageDown\nkey PageDown\nkey PageDown\n"
                                      "key PageDown\nkey PageDown\nkey PageDown\nkey PageDown\n"
                                   << " 会場: Heat-3/3 Q" << "■ ラウンドの最後のヒートです";
        QTest::newRow("go before ready") << "click BitBtn15\n" << " 会場: Clean"
                                         << "■ 先に Ready を押してください";
        QTest::newRow("result") << "check RadioButton2\nclick BitBtn13\n" << " 会場: Ready（結果）"
                                << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("award step") << "check RadioButton2\nclick BitBtn13\nclick BitBtn15\n"
                                       "click BitBtn15\nclick BitBtn15\n"
                                    << " 会場: 表彰 3/6" << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("announcement") << "click BitBtn6\n" << " 会場: お知らせ 休憩"
                                      << "▶ 審査員紹介 へ（会場も変わる）";
        QTest::newRow("clean before a competition") << "key PageDown\nclick BitBtn2\n"
                                                    << " 会場: Clean" << "▶ No. 001 へ（会場はそのまま）";
        QTest::newRow("held") << "click Button17\nclick BitBtn3\n" << " 会場: Clean／準備: Judge"
                              << "▶ 審査員紹介 へ（準備のみ）";
    }
    void estimatesFollowThePace();

    void onAirAndNextStep() {
        QFETCH(QString, script);
        QFETCH(QString, onAir);
        QFETCH(QString, next);
        Do(script.toUtf8().constData());
        QCOMPARE(Text("OnAirLabel"), onAir);
        QCOMPARE(Text("NextStepLabel"), next);
    }
};

// The day's estimates follow the operator's own pace: the default before steps, then the heats'
// real length; the list's header says the end and how far it moved, the web's state the same.
void OperatorSafetyTest::estimatesFollowThePace() {
    Do("key PageDown\nkey PageDown\nclick BitBtn5\n");
    const QString before = Text("ScheduleLabel");
    QVERIFY2(before.contains(QStringLiteral(u"1 ヒート 1分40秒（既定）")), qPrintable(before));
    for (int minute = 2; minute <= 8; minute += 2) {
        now_ = QTime(9, minute);
        Do("key PageDown\n");
    }
    const QString after = Text("ScheduleLabel");
    QVERIFY2(after.contains(QStringLiteral(u"1 ヒート 2分00秒（実測）")), qPrintable(after));
    QVERIFY2(after.contains(QStringLiteral(u"遅れ")), qPrintable(after));
    const DaySchedule& schedule = windows_.console->Schedule();
    QCOMPARE(schedule.Day().secondsPerHeat, 120);
    QVERIFY(schedule.Drift() > 0);
    NowJsonFeed feed;
    const QJsonObject json =
        QJsonDocument::fromJson(feed.Next(S(), &schedule.Day(), &schedule.Pace())).object();
    QCOMPARE(json["pace"].toObject()["secondsPerHeat"].toInt(), 120);
    QVERIFY(json["schedule"].toObject()["estimate"].toBool());
    QCOMPARE(json["schedule"].toObject()["items"].toArray().size(), int(schedule.Day().items.size()));

    // A command's estimate is made once, before the console's next repaint, even a repaint that
    // comes before the event loop (a button repaints itself as it goes down).
    QSignalSpy estimated(&schedule, &DaySchedule::estimated);
    const Script step = ParseScript("key PageDown\n");
    QVERIFY(driver_->Perform(step.actions.front()).isEmpty());
    QCOMPARE(estimated.count(), 0);
    QEvent repaint(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(windows_.console.get(), &repaint);
    QCOMPARE(estimated.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(estimated.count(), 1);
}

QTEST_MAIN(OperatorSafetyTest)
#include "operator_safety_test.moc"
