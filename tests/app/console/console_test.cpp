// The console driven as the operator drives it, on the demo competition: start-up state,
// view commands and their highlight, the hold, programme moves, the heat steps and the
// maintenance panel.
#include <QCheckBox>
#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/day_schedule.h"
#include "app/console/dsp_main_form.h"
#include "app/console/estimate_column.h"
#include "app/rehearsal/control_driver.h"
#include "app/rehearsal/script.h"
#include "app/widgets/image_control.h"
#include "app/widgets/scroll_bar_look.h"
#include "app/widgets/label_looks.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/competition_state.h"
#include "core/competition/round_names.h"
#include "core/competition/view_types.h"
#include "core/platform/cp932.h"
#include "support/painted_area.h"
#include "support/test_files.h"

namespace {

std::string DemoFolder() {
    return qEnvironmentVariable("TRQ_SOURCE_DIR").toStdString() + "/data/demo";
}

void Press(QWidget* w, Qt::MouseButton button) {
    QTest::mousePress(w, button, {}, QPoint(5, 5));
    QTest::mouseRelease(w, button, {}, QPoint(5, 5));
}

}  // namespace

class ConsoleTest : public QObject {
    Q_OBJECT

    AppWindows windows;
    QStringList messages;

    DspMain& console() { return *windows.console; }
    Competition& s() { return *windows.state; }
    template <class T>
    T* Find(const char* name) {
        T* w = windows.console->findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control %s", name);
        return w;
    }
    QWidget* W(const char* name) { return Find<QWidget>(name); }
    QLabel* Label(const char* name) { return Find<QLabel>(name); }
    QImage PreviewImage() {
        return std::as_const(Find<ImageControl>("ImageW")->canvas())
            .Image()
            .convertToFormat(QImage::Format_RGB32);
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    Canvas& audienceNormal() { return windows.audience->NormalSurface(); }
    Canvas& audienceWide() { return windows.audience->WideSurface(); }

    QList<QLabel*> HighlightedViewLabels() {
        QList<QLabel*> out;
        for (const char* name :
             {"Label74", "Label75", "Label76", "Label77", "Label78", "Label79"}) {
            if (BackgroundOf(Label(name)) == QColor(255, 0, 0)) out << Label(name);
        }
        return out;
    }

  private slots:
    // Every test starts from freshly started windows on the demo competition.
    void init() {
        Hooks().showMessage = [this](const QString& text, const QString&) { messages << text; };
        messages.clear();
        StartOptions options;
        options.dataFolder = DemoFolder();
        options.markerPath = "/nonexistent/Tamik";
        windows = CreateWindows(options);
        windows.console->show();
        windows.console->FormActivate();
        QVERIFY(messages.isEmpty());
        for (Canvas* c :
             {&audienceNormal(), &audienceWide(), &Find<ImageControl>("Image1")->canvas()}) {
            c->SetRecording(true);
        }
    }

    void cleanup() { windows = AppWindows(); }

    void startUpState() {
        QCOMPARE(Label("Label61")->text(), QString::fromStdString(DemoFolder()));
        QCOMPARE(Label("Label29")->text(), QStringLiteral("Yes"));
        QCOMPARE(Label("Label91")->text(), QStringLiteral("Yes"));
        QCOMPARE(BackgroundOf(Label("Label29")), QColor(0, 0, 255));
        QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{Label("Label75")});
        QCOMPARE(s().CurrentView, kViewClean);
        QVERIFY(console().windowTitle().startsWith(QString::fromUtf8(
            " ■ 競技会情報(進行・結果)表示システム ( Ver. 3.10 - '16.09.15 ) >>> ")));
        QVERIFY(console().windowTitle().size() > 50);
        QVERIFY(!W("Panel12")->isVisible());
        QVERIFY(windows.audience->isVisible());
        QCOMPARE(s().CurrentProgrammeIndex, 0);
        QVERIFY(s().ProgrammeCount > 30);
        QVERIFY(s().EventCount > 30);
        QVERIFY(!Edit("Edit4")->text().isEmpty());
        QCOMPARE(Edit("Edit1")->text().toInt(), s().Config.ScreenLeft);
    }

    void viewCommandsHighlightExactlyOne_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("mouse");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("view");
        QTest::newRow("Title") << "BitBtn1" << int(Qt::LeftButton) << "Label74" << kViewWelcome;
        QTest::newRow("Msg") << "BitBtn4" << int(Qt::LeftButton) << "Label77"
                             << kViewProgressMessage;
        QTest::newRow("Clean") << "BitBtn2" << int(Qt::LeftButton) << "Label75" << kViewClean;
        // Nothing is drawn: the label keeps naming what the venue sees.
        QTest::newRow("Heat on a ceremony")
            << "BitBtn5" << int(Qt::LeftButton) << "Label75" << kViewClean;
    }
    void viewCommandsHighlightExactlyOne() {
        QFETCH(QString, button);
        QFETCH(int, mouse);
        QFETCH(QString, label);
        QFETCH(int, view);
        s().AwardReady = 1;
        Press(console().findChild<QWidget*>(button), Qt::MouseButton(mouse));
        QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{console().findChild<QLabel*>(label)});
        QCOMPARE(s().CurrentView, view);
        if (button != "BitBtn5") QCOMPARE(s().AwardReady, 0);
    }

    void msgButtonChoosesSingleItem() {
        Press(W("BitBtn4"), Qt::RightButton);
        QCOMPARE(s().SingleItemMode, 1);
        QCOMPARE(Label("Label21")->text(), QStringLiteral("Yes"));
        Press(W("BitBtn4"), Qt::LeftButton);
        QCOMPARE(s().SingleItemMode, 0);
        QCOMPARE(Label("Label21")->text(), QStringLiteral("No"));
        QTest::mouseClick(W("Button12"), Qt::LeftButton);
        QCOMPARE(s().SingleItemMode, 1);
        QTest::mouseClick(W("Button12"), Qt::LeftButton);
        QCOMPARE(s().SingleItemMode, 0);
    }

    void holdFreezesTheAudienceAcrossSurfaces() {
        QTest::mouseClick(W("BitBtn2"), Qt::LeftButton);
        audienceNormal().TakeRecords();
        audienceWide().TakeRecords();
        QTest::mouseClick(W("Button17"), Qt::LeftButton);
        QCOMPARE(s().HoldScreen, 1);
        QVERIFY(W("Panel12")->isVisible());
        QCOMPARE(Label("Label3")->text(), QStringLiteral("Yes"));
        QTest::mouseClick(W("BitBtn1"), Qt::LeftButton);  // Title into the preview only
        QVERIFY(audienceNormal().Records().empty());
        QVERIFY(!Find<ImageControl>("Image1")->canvas().TakeRecords().empty());
        // Moving onto a competition item with the heat view: wide surface in the preview only.
        s().CurrentProgrammeIndex = 1;
        s().CurrentView = kViewHeat;
        Press(W("BitBtn16"), Qt::LeftButton);
        QVERIFY(audienceWide().Records().empty());
        QVERIFY(audienceNormal().Records().empty());
        QVERIFY(windows.audience->findChild<QWidget*>("Panel5")->isVisible());
        QVERIFY(!windows.audience->findChild<QWidget*>("PanelW")->isVisible());
        QVERIFY(W("PanelW")->isVisible());
        // Release: the current view comes back on the audience screen.
        QTest::mouseClick(W("Button17"), Qt::LeftButton);
        QCOMPARE(s().HoldScreen, 0);
        QVERIFY(!W("Panel12")->isVisible());
        QVERIFY(!audienceWide().TakeRecords().empty());
        QVERIFY(windows.audience->findChild<QWidget*>("PanelW")->isVisible());
        QVERIFY(!windows.audience->findChild<QWidget*>("Panel5")->isVisible());
    }

    void programmeMovesAndHeatSteps() {
        // Item 2 of the demo: two floors, event 001 (+002).
        s().CurrentProgrammeIndex = 1;
        Press(W("BitBtn16"), Qt::LeftButton);
        QCOMPARE(s().CurrentProgrammeIndex, 2);
        QVERIFY(s().CurrentEventIndex >= 0);
        QVERIFY(W("GroupBox2")->isVisibleTo(&console()));
        QVERIFY(Label("Label71")->isVisibleTo(&console()));
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        QCOMPARE(Label("Label5")->text(), QStringLiteral("1"));
        QCOMPARE(Label("Label92")->text(), QStringLiteral("1"));
        QCOMPARE(Label("Label29")->text(), QStringLiteral("No"));
        QVERIFY(W("GroupBox5")->isVisibleTo(&console()));
        // The forward step writes the heats figure; the step back leaves it alone.
        Label("Label18")->setText(QStringLiteral("untouched"));
        Press(W("BitBtn28"), Qt::LeftButton);
        QCOMPARE(Label("Label5")->text(), QStringLiteral("2"));
        QCOMPARE(Label("Label18")->text(), QString("/ %1H").arg(s().HeatCount));
        Label("Label18")->setText(QStringLiteral("untouched"));
        Press(W("BitBtn28"), Qt::RightButton);
        QCOMPARE(Label("Label5")->text(), QStringLiteral("1"));
        QCOMPARE(Label("Label18")->text(), QStringLiteral("untouched"));
        // Back onto a ceremony with the right button keeps the heat view; left switches to Msg.
        Press(W("BitBtn16"), Qt::RightButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        Press(W("BitBtn16"), Qt::RightButton);
        Press(W("BitBtn16"), Qt::LeftButton);  // item 1 is a ceremony too
        QCOMPARE(s().CurrentEventIndex, -1);
        QCOMPARE(s().CurrentView, kViewProgressMessage);
        QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{Label("Label77")});
        // The heat step does nothing unless the heat view is up.
        const QString before = Label("Label5")->text();
        Press(W("BitBtn28"), Qt::LeftButton);
        QCOMPARE(Label("Label5")->text(), before);
    }

    // A programme step onto an item whose round is loaded draws its heat view once: the same
    // operations as the Heat button's drawing of that view.
    void programmeStepDrawsTheHeatViewOnce() {
        s().CurrentProgrammeIndex = 1;
        Press(W("BitBtn16"), Qt::LeftButton);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        const auto json = [](const std::vector<DrawRecord>& records) {
            QList<QJsonObject> out;
            for (const DrawRecord& r : records) out << r.ToJson();
            return out;
        };
        audienceWide().TakeRecords();
        Press(W("BitBtn16"), Qt::LeftButton);
        QCOMPARE(s().CurrentProgrammeIndex, 3);
        QCOMPARE(s().CurrentView, kViewHeat);
        const QList<QJsonObject> step = json(audienceWide().TakeRecords());
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        const QList<QJsonObject> heat = json(audienceWide().TakeRecords());
        QVERIFY(!heat.isEmpty());
        QCOMPARE(step, heat);
    }

    void progressListClickAndScroll() {
        QTest::mousePress(Find<ImageControl>("Image6"), Qt::LeftButton, {},
                          QPoint(100, 20 * 4 + 5));
        QCOMPARE(s().CurrentProgrammeIndex, 4);
        QCOMPARE(Find<QScrollBar>("ScrollBar1")->value(), 3);
        QCOMPARE(Find<ImageControl>("Image6")->y(), -60);
        QTest::mouseClick(W("BitBtn18"), Qt::LeftButton);
        QVERIFY(!W("Panel10")->isVisibleTo(&console()));
        QTest::mouseClick(W("BitBtn18"), Qt::LeftButton);
        QVERIFY(W("Panel10")->isVisibleTo(&console()));
    }

    void maintenancePanel() {
        QTest::mouseClick(W("BitBtn29"), Qt::LeftButton);
        QVERIFY(W("Panel6")->isVisibleTo(&console()));
        QVERIFY(!W("Panel8")->isVisibleTo(&console()));
        const int left = s().Config.ScreenLeft;
        Edit("Edit1")->setText("abc");
        messages.clear();
        QTest::keyClick(Edit("Edit1"), Qt::Key_Return);
        QCOMPARE(messages, QStringList{QString::fromUtf8("'abc' は整数ではありません")});
        QCOMPARE(s().Config.ScreenLeft, left);
        Edit("Edit1")->setText(QString::number(left));
        for (int i = 0; i < 3; ++i) QTest::mouseClick(W("Button27"), Qt::LeftButton);
        QCOMPARE(Edit("Edit1")->text(), QString::number(left + 3));
        QCOMPARE(windows.audience->x(), left + 3);
        QTest::mouseClick(W("Button28"), Qt::LeftButton);
        QCOMPARE(Edit("Edit3")->text(), QStringLiteral("-31"));
        // A Welcome line edited live switches the audience screen to the Welcome view.
        Edit("Edit7")->setText(QString::fromUtf8("ようこそ リハーサル"));
        audienceNormal().TakeRecords();
        QTest::keyClick(Edit("Edit7"), Qt::Key_Return);
        QCOMPARE(s().CurrentView, kViewWelcome);
        bool found = false;
        for (const DrawRecord& r : audienceNormal().TakeRecords()) {
            found = found || r.text == QString::fromUtf8("ようこそ リハーサル");
        }
        QVERIFY(found);
        // Base Color 0000FF is pure red.
        Edit("Edit12")->setText("0000FF");
        QTest::keyClick(Edit("Edit12"), Qt::Key_Return);
        QCOMPARE(audienceNormal().Image().pixelColor(500, 300), QColor(255, 0, 0));
        // "<-Award" stays on screen beside the panel and still flips the progress list.
        QVERIFY(!W("Panel10")->isHidden());
        QTest::mouseClick(W("BitBtn18"), Qt::LeftButton);
        QVERIFY(W("Panel10")->isHidden());
        QTest::mouseClick(W("BitBtn18"), Qt::LeftButton);
        QVERIFY(!W("Panel10")->isHidden());
        QTest::mouseClick(W("BitBtn31"), Qt::LeftButton);
        QVERIFY(!W("Panel6")->isVisibleTo(&console()));
        QVERIFY(W("Panel8")->isVisibleTo(&console()));
    }

    void dataResetReloadsAndReturnsToTheControls() {
        QTest::mouseClick(W("BitBtn29"), Qt::LeftButton);
        s().ProgrammeCount = 0;
        QTest::mouseClick(W("BitBtn19"), Qt::LeftButton);
        QVERIFY(s().ProgrammeCount > 30);
        QVERIFY(!W("Panel6")->isVisibleTo(&console()));
        QVERIFY(W("Panel8")->isVisibleTo(&console()));
        QCOMPARE(Find<QComboBox>("ComboBox1")->currentIndex(), -1);
        QCOMPARE(Find<QComboBox>("ComboBox1")->count(), s().CategoryCount);
    }

    void eventChooserFollowsFinalsInEitherListOrder() {
        // In "決勝実施順" the list's rows are the finals in running order: the row of an event's
        // category is found through the list's own categories, never as category - 1.
        for (const char* order : {"RadioButton5", "RadioButton4"}) {
            QTest::mouseClick(W(order), Qt::LeftButton);
            QVERIFY(Find<QCheckBox>("CheckBox2")->isChecked());  // linked from the start
            auto* list = Find<QComboBox>("ComboBox1");
            auto* events = Find<QComboBox>("ComboBox3");
            int followed = 0;
            for (int row = 1; row < events->count(); ++row) {
                const int before = list->currentIndex();
                QTest::mouseClick(W("Button16"), Qt::LeftButton);
                QCOMPARE(events->currentIndex(), row);
                const int category = s().EventTable[row].Category();
                int expected = -1;
                for (int r = 0; r < list->count() && expected < 0; ++r) {
                    if (s().ResultListCategories[r] + 1 == category) expected = r;
                }
                QCOMPARE(list->currentIndex(), expected >= 0 ? expected : before);
                if (expected >= 0) {
                    ++followed;
                    QVERIFY(
                        list->currentText().contains(FromCp932(CategoryCode(s(), category - 1))));
                }
            }
            QVERIFY(followed > 10);
            events->setCurrentIndex(0);
        }
    }

    // The award sequence: Ready arms it, each Go reveals one step; Go before Ready or after
    // Clean draws nothing.
    void awardSequence() {
        Find<QComboBox>("ComboBox1")->setCurrentIndex(5);  // category 6: ten couples
        audienceNormal().TakeRecords();
        QTest::mouseClick(W("BitBtn15"), Qt::LeftButton);
        QVERIFY(audienceNormal().TakeRecords().empty());
        QTest::mouseClick(W("RadioButton2"), Qt::LeftButton);
        QTest::mouseClick(W("BitBtn13"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewFinalResult);
        QCOMPARE(s().AwardReady, 1);
        QCOMPARE(s().ResultRowCount, 10);
        QVERIFY(!Find<ImageControl>("Image5")->canvas().Image().isNull());
        for (int step = 0; step < 3; ++step) {
            audienceNormal().TakeRecords();
            QTest::mouseClick(W("BitBtn15"), Qt::LeftButton);
            QCOMPARE(s().CurrentView, kViewAward);
            // Upward: the last step + 1 placings, each row's placing drawn once.
            int placings = 0;
            for (const DrawRecord& r : audienceNormal().TakeRecords()) {
                placings += r.op == "text" && r.text.endsWith(QString::fromUtf8("位"));
            }
            QCOMPARE(placings, step + 1);
        }
        QCOMPARE(s().HeatIndex, 3);
        QTest::mouseClick(W("BitBtn2"), Qt::LeftButton);
        audienceNormal().TakeRecords();
        QTest::mouseClick(W("BitBtn15"), Qt::LeftButton);
        QVERIFY(audienceNormal().TakeRecords().empty());
        QCOMPARE(s().HeatIndex, 3);
    }

    void finalButtonChoosesTheFloor() {
        QTest::mousePress(Find<ImageControl>("Image6"), Qt::LeftButton, {},
                          QPoint(100, 20 * 32 + 5));
        QVERIFY(W("BitBtn14")->isEnabled());
        s().AwardReady = 1;
        for (const auto& [button, floorB] : {std::pair{Qt::RightButton, 1}, {Qt::LeftButton, 0}}) {
            Press(W("BitBtn14"), button);
            QCOMPARE(s().SecondFloorFinal, floorB);
            QCOMPARE(s().CurrentView, kViewFinalists);
            QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{Label("Label79")});
            QCOMPARE(s().AwardReady, 0);
        }
        // A preliminary offers no Final.
        QTest::mousePress(Find<ImageControl>("Image6"), Qt::LeftButton, {},
                          QPoint(100, 20 * 2 + 5));
        QVERIFY(!W("BitBtn14")->isEnabled());
    }

    // Announcements switch single-item mode on and leave the view, its label and the award alone;
    // while held only the preview changes.
    void announcementsLeaveTheView() {
        QTest::mouseClick(W("BitBtn1"), Qt::LeftButton);
        s().AwardReady = 1;
        QTest::mouseClick(W("BitBtn6"), Qt::LeftButton);
        QCOMPARE(Label("Label21")->text(), QStringLiteral("Yes"));
        QCOMPARE(s().SingleItemMode, 1);
        QCOMPARE(s().CurrentView, kViewWelcome);
        QCOMPARE(s().AwardReady, 1);
        QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{Label("Label74")});
        QTest::mouseClick(W("Button17"), Qt::LeftButton);
        audienceNormal().TakeRecords();
        Edit("Edit14")->setText(QString::fromUtf8("お知らせ"));
        QTest::mouseClick(W("BitBtn11"), Qt::LeftButton);
        QVERIFY(audienceNormal().TakeRecords().empty());
        QVERIFY(FindText(Find<ImageControl>("Image1")->canvas().TakeRecords(),
                         QString::fromUtf8("お知らせ")) != nullptr);
    }

    void clockPressedTwice() {
        auto* timer = console().findChild<QTimer*>("Timer1");
        QWidget* logo = windows.audience->findChild<QWidget*>("Image1");
        QWidget* clockBox = windows.audience->findChild<QWidget*>("Panel2");
        QTest::mouseClick(W("BitBtn32"), Qt::LeftButton);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 900);
        QCOMPARE(Label("Label63")->text(), QStringLiteral("Yes"));
        QVERIFY(clockBox->isVisibleTo(windows.audience.get()) &&
                !logo->isVisibleTo(windows.audience.get()));
        QVERIFY(W("Panel3")->isVisibleTo(&console()) && !W("Image4")->isVisibleTo(&console()));
        QTest::mouseClick(W("BitBtn32"), Qt::LeftButton);
        QVERIFY(!timer->isActive());
        QCOMPARE(Label("Label63")->text(), QStringLiteral("No"));
        QVERIFY(!clockBox->isVisibleTo(windows.audience.get()) &&
                logo->isVisibleTo(windows.audience.get()));
        QVERIFY(!W("Panel3")->isVisibleTo(&console()) && W("Image4")->isVisibleTo(&console()));
    }

    // A tick draws both clocks only when the minute changes; the first tick always draws.
    void clockDrawsOncePerMinute() {
        QTest::mouseClick(W("BitBtn32"), Qt::LeftButton);
        Canvas& audienceClock = windows.audience->ClockSurface();
        Canvas& previewClock = Find<ImageControl>("Image3")->canvas();
        audienceClock.SetRecording(true);
        previewClock.SetRecording(true);
        const struct {
            const char* time;
            bool draws;
        } ticks[] = {{"10:15", true},  {"10:15", false}, {"10:16", true},
                     {"10:16", false}, {"22:16", true},  {"10:16", true}};
        for (const auto& tick : ticks) {
            const QTime now = QTime::fromString(QString::fromLatin1(tick.time), "HH:mm");
            Hooks().now = [now] { return now; };
            console().Timer1Timer();
            QCOMPARE(s().ClockText, std::string(tick.time));
            const size_t drawn = tick.draws ? 1 : 0;
            QCOMPARE(RecordsOf(audienceClock.TakeRecords(), "text").size(), drawn);
            QCOMPARE(RecordsOf(previewClock.TakeRecords(), "text").size(), drawn);
        }
        Hooks().now = [] { return QTime::currentTime(); };
    }

    // A new estimate repaints the rows whose start it changed, and the column then shows what a
    // full repaint shows.
    void estimateColumnRepaintsChangedRows() {
        auto* column = W("EstimateColumn");
        auto* schedule = console().findChild<DaySchedule*>();
        QVERIFY(column != nullptr && schedule != nullptr);
        PaintedArea painted;
        column->installEventFilter(&painted);
        const QRect box(column->mapTo(&console(), QPoint(0, 0)), column->size());
        const auto shown = [&] {
            return console().screen()->grabWindow(console().winId()).toImage().copy(box);
        };
        const auto repainted = [&] { return console().grab(box).toImage(); };
        // The first item became current at nine, so at ten it runs long and every start after it
        // follows the clock, whatever the time of day the test runs at.
        Hooks().now = [] { return QTime(9, 0); };
        s().CurrentProgrammeIndex = 0;
        Press(W("BitBtn16"), Qt::LeftButton);
        Press(W("BitBtn16"), Qt::RightButton);
        QCOMPARE(s().CurrentProgrammeIndex, 0);
        QCoreApplication::processEvents();
        // Half a minute moves the starts whose seconds cross a minute, not the others.
        const struct {
            const char* time;
            bool paints;
            bool someRows;  // not the whole column
        } refreshes[] = {
            {"10:00:10", true, false}, {"10:00:10", false, false}, {"10:00:40", true, true}};
        for (const auto& r : refreshes) {
            const QTime now = QTime::fromString(QString::fromLatin1(r.time), "HH:mm:ss");
            Hooks().now = [now] { return now; };
            painted.area = 0;
            schedule->Refresh();
            QCoreApplication::processEvents();
            QCOMPARE(painted.area > 0, r.paints);
            if (r.someRows) QVERIFY(painted.area < qint64(column->width()) * column->height());
            QCOMPARE(shown().convertToFormat(QImage::Format_RGB32),
                     repainted().convertToFormat(QImage::Format_RGB32));
        }
        Hooks().now = [] { return QTime::currentTime(); };
    }

    // A quick click, its release there by the time the press's command is done, paints its button
    // once, with the rest of the console's repaint.
    void quickClickPaintsItsButtonOnce() {
        QWidget* button = W("BitBtn16");
        QCoreApplication::processEvents();
        PaintedArea painted;
        button->installEventFilter(&painted);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(painted.area, qint64(0));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::processEvents();
        QCOMPARE(painted.area, qint64(button->width()) * button->height());
    }

    // While the console waits on a heat, what a step forward changes in it (the next-step line, the
    // on-air line, the heat's number, the estimates) is painted ahead, and so is a programme
    // step's item panel: the step's repaint copies it, and the console then shows what painting
    // it shows.
    void stepsPaintedAhead() {
        // A clock that stands: the estimates the step brings are those foreseen.
        Hooks().now = [] { return QTime(10, 0); };
        s().CurrentProgrammeIndex = 1;
        Press(W("BitBtn16"), Qt::LeftButton);
        QTest::mouseClick(W("BitBtn5"), Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        auto* looks = console().findChild<LabelLooks*>();
        auto* column = console().findChild<EstimateColumn*>();
        QVERIFY(looks != nullptr && column != nullptr);
        const Canvas& list = qobject_cast<ImageControl*>(W("Image6"))->canvas();
        const auto* bar = W("ScrollBar1")->findChild<ScrollBarLook*>();
        QVERIFY(bar != nullptr);
        const auto shown = [&] {
            return console()
                .screen()
                ->grabWindow(console().winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        // Painted afresh: a bitmap of another format than the window's takes no copies (the
        // group boxes' faint shades come out otherwise in it: the changed controls are compared).
        const auto painted = [&] {
            QImage out(console().size(), QImage::Format_ARGB32);
            out.fill(Qt::black);
            console().render(&out);
            return out.convertToFormat(QImage::Format_RGB32);
        };
        // Forward, forward, back (it meets looks painted before), then the next programme item.
        // A step forward copies the line, the on-air line, the heat's number or the item's name,
        // and the estimates' status line (foreseen for a step now, and for a heat step also one a
        // heat later), and estimate rows: over the list as it is, or as drawn ahead for the next
        // item.
        const struct {
            const char* button;
            Qt::MouseButton mouse;
            std::size_t copies;
        } steps[] = {{"BitBtn28", Qt::LeftButton, 4},
                     {"BitBtn28", Qt::LeftButton, 4},
                     {"BitBtn28", Qt::RightButton, 0},
                     {"BitBtn16", Qt::LeftButton, 4}};
        for (const auto& step : steps) {
            QTest::qWait(200);
            const std::size_t labels = looks->Copied();
            const std::size_t rows = column->CopiedRows();
            const std::size_t paintedRows = column->PaintedRows();
            const QString item = Label("Label70")->text();
            const QString heat = Label("Label5")->text();
            const QImage previewBefore = PreviewImage();
            Press(W(step.button), step.mouse);
            QCoreApplication::processEvents();
            const bool heatStep = std::string_view(step.button) == "BitBtn28";
            QVERIFY(heatStep ? Label("Label5")->text() != heat : Label("Label70")->text() != item);
            if (step.copies > 0) {
                QVERIFY(looks->Copied() >= labels + step.copies);
                // Every row it repaints, those the list's edge cuts too.
                QVERIFY(column->CopiedRows() > rows);
                QCOMPARE(column->PaintedRows(), paintedRows);
                // The programme list and its scroll bar painted ahead for the next item.
                if (!heatStep) QVERIFY(list.TookAhead() && bar->Copied() > 0);
            }
            const QImage now = shown();
            const QImage fresh = painted();
            for (const char* name : {"NextStepLabel", "OnAirLabel", "Label5", "Label70",
                                     "ScheduleLabel", "Panel11", "ScrollBar1"}) {
                const QWidget* w = W(name);
                const QRect area(w->mapTo(&console(), QPoint(0, 0)), w->size());
                QVERIFY2(now.copy(area) == fresh.copy(area), name);
            }
            // The preview: where its picture changed (elsewhere the next programme item may
            // wait in the buffer, not shown).
            const QImage preview = PreviewImage();
            const QImage held =
                now.copy(QRect(W("ImageW")->mapTo(&console(), QPoint(0, 0)), preview.size()));
            for (int y = 0; y < preview.height(); ++y) {
                for (int x = 0; x < preview.width(); ++x) {
                    const QRgb want = preview.pixel(x, y);
                    if (want != previewBefore.pixel(x, y)) QCOMPARE(held.pixel(x, y), want);
                }
            }
        }
        Hooks().now = [] { return QTime::currentTime(); };
    }

    // A command that names the programme list without changing it (the links' refresh) does not
    // draw it again; the next step still takes the list drawn ahead for it.
    void unchangedListIsNotDrawnAgain() {
        const Canvas& list = qobject_cast<ImageControl*>(W("Image6"))->canvas();
        s().CurrentProgrammeIndex = 1;
        Press(W("BitBtn16"), Qt::LeftButton);
        QTest::qWait(200);
        Press(W("BitBtn16"), Qt::LeftButton);
        QVERIFY(list.TookAhead());
        QTest::qWait(200);
        const QImage before = list.Image().copy();
        Press(W("BitBtn16"), Qt::MiddleButton);
        // No pass since the step's, which took its list.
        QVERIFY(list.TookAhead());
        QCOMPARE(list.Image(), before);
        Press(W("BitBtn16"), Qt::LeftButton);
        QVERIFY(list.TookAhead());
        QCOMPARE(list.Image(), list.FullRepaint());
    }

    // Through the whole demo day, the marked view label names the view on the venue screen (the
    // last view drawn there; a held screen keeps its label until the release draws again).
    void viewLabelNamesTheViewOnAir() {
        QFile file(QString::fromStdString(DemoFolder() + "/rehearsal.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const Script script = ParseScript(file.readAll());
        QVERIFY(!script.error);
        ControlDriver driver(
            windows.console.get(), windows.audience.get(), [](QTime) {}, [] {});
        const std::map<int, const char*> labels{
            {kViewClean, "Label75"},     {kViewWelcome, "Label74"},
            {kViewJudges, "Label76"},    {kViewHeat, "Label78"},
            {kViewFinalists, "Label79"}, {kViewProgressMessage, "Label77"}};
        int onAir = kViewClean;
        int checked = 0;
        for (const ScriptAction& action : script.actions) {
            if (action.name == "BitBtn30" || action.name == "Button22") continue;
            QVERIFY2(driver.Perform(action).isEmpty(), qPrintable(action.name));
            if (s().HoldScreen == 0 && labels.count(s().CurrentView) > 0) onAir = s().CurrentView;
            if (labels.count(onAir) == 0) continue;
            QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{Label(labels.at(onAir))});
            ++checked;
        }
        QVERIFY(checked > 100);
    }

    void folderPanelCancelHidesTheSyncLabel() {
        QVERIFY(Label("Label60")->isVisibleTo(&console()));
        Press(Label("Label59"), Qt::LeftButton);
        QVERIFY(W("Panel4")->isVisibleTo(&console()));
        QTest::mouseClick(W("Button30"), Qt::LeftButton);
        QVERIFY(!W("Panel4")->isVisibleTo(&console()));
        QVERIFY(!Label("Label60")->isVisibleTo(&console()));
        QCOMPARE(s().DataFolder, DemoFolder());
    }
};

QTEST_MAIN(ConsoleTest)
#include "console_test.moc"
