// The console driven as the operator drives it, on the demo competition: start-up state,
// view commands and their highlight, the hold, programme moves, the heat steps and the
// maintenance panel.
#include <QtTest>

#include "core/competition/competition_state.h"
#include "app/audience/scr_form.h"
#include "core/display/view_types.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "ui_scr_form.h"
#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/widget_colors.h"

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
    Ui::DspMain& ui() { return windows.console->form(); }
    Competition& s() { return windows.console->state(); }
    Canvas& audienceNormal() { return windows.audience->NormalSurface(); }
    Canvas& audienceWide() { return windows.audience->WideSurface(); }

    QList<QLabel*> HighlightedViewLabels() {
        QList<QLabel*> out;
        for (QLabel* l :
             {ui().Label74, ui().Label75, ui().Label76, ui().Label77, ui().Label78, ui().Label79}) {
            if (BackgroundOf(l) == QColor(255, 0, 0)) out << l;
        }
        return out;
    }

  private slots:
    void initTestCase() {
        Hooks().showMessage = [this](const QString& text, const QString&) { messages << text; };
        StartOptions options;
        options.dataFolder = DemoFolder();
        options.markerPath = "/nonexistent/Tamik";
        windows = CreateWindows(options);
        windows.console->show();
        windows.console->FormActivate();
        QVERIFY(messages.isEmpty());
        for (Canvas* c : {&audienceNormal(), &audienceWide(), &ui().Image1->canvas()}) {
            c->SetRecording(true);
        }
    }

    void startUpState() {
        QCOMPARE(ui().Label61->text(), QString::fromStdString(DemoFolder()));
        QCOMPARE(ui().Label29->text(), QStringLiteral("Yes"));
        QCOMPARE(ui().Label91->text(), QStringLiteral("Yes"));
        QCOMPARE(BackgroundOf(ui().Label29), QColor(0, 0, 255));
        QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{ui().Label75});
        QCOMPARE(s().CurrentView, kViewClean);
        QVERIFY(console().windowTitle().startsWith(QString::fromUtf8(
            " ■ 競技会情報(進行・結果)表示システム ( Ver. 3.10 - '16.09.15 ) >>> ")));
        QVERIFY(console().windowTitle().size() > 50);
        QVERIFY(!ui().Panel12->isVisible());
        QVERIFY(windows.audience->isVisible());
        QCOMPARE(s().CurrentProgrammeIndex, 0);
        QVERIFY(s().ProgrammeCount > 30);
        QVERIFY(s().EventCount > 30);
        QVERIFY(!ui().Edit4->text().isEmpty());
        QCOMPARE(ui().Edit1->text().toInt(), s().Config.ScreenLeft);
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
        QTest::newRow("Heat on a ceremony")
            << "BitBtn5" << int(Qt::LeftButton) << "Label78" << kViewClean;
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
        Press(ui().BitBtn4, Qt::RightButton);
        QCOMPARE(s().SingleItemMode, 1);
        QCOMPARE(ui().Label21->text(), QStringLiteral("Yes"));
        Press(ui().BitBtn4, Qt::LeftButton);
        QCOMPARE(s().SingleItemMode, 0);
        QCOMPARE(ui().Label21->text(), QStringLiteral("No"));
        QTest::mouseClick(ui().Button12, Qt::LeftButton);
        QCOMPARE(s().SingleItemMode, 1);
        QTest::mouseClick(ui().Button12, Qt::LeftButton);
        QCOMPARE(s().SingleItemMode, 0);
    }

    void holdFreezesTheAudienceAcrossSurfaces() {
        QTest::mouseClick(ui().BitBtn2, Qt::LeftButton);
        audienceNormal().TakeRecords();
        audienceWide().TakeRecords();
        QTest::mouseClick(ui().Button17, Qt::LeftButton);
        QCOMPARE(s().HoldScreen, 1);
        QVERIFY(ui().Panel12->isVisible());
        QCOMPARE(ui().Label3->text(), QStringLiteral("Yes"));
        QTest::mouseClick(ui().BitBtn1, Qt::LeftButton);  // Title into the preview only
        QVERIFY(audienceNormal().Records().empty());
        QVERIFY(!ui().Image1->canvas().TakeRecords().empty());
        // Moving onto a competition item with the heat view: wide surface in the preview only.
        s().CurrentProgrammeIndex = 1;
        s().CurrentView = kViewHeat;
        Press(ui().BitBtn16, Qt::LeftButton);
        QVERIFY(audienceWide().Records().empty());
        QVERIFY(audienceNormal().Records().empty());
        QVERIFY(windows.audience->form().Panel5->isVisible());
        QVERIFY(!windows.audience->form().PanelW->isVisible());
        QVERIFY(ui().PanelW->isVisible());
        // Release: the current view comes back on the audience screen.
        QTest::mouseClick(ui().Button17, Qt::LeftButton);
        QCOMPARE(s().HoldScreen, 0);
        QVERIFY(!ui().Panel12->isVisible());
        QVERIFY(!audienceWide().TakeRecords().empty());
        QVERIFY(windows.audience->form().PanelW->isVisible());
        QVERIFY(!windows.audience->form().Panel5->isVisible());
    }

    void programmeMovesAndHeatSteps() {
        // Item 2 of the demo: two floors, event 001 (+002).
        s().CurrentProgrammeIndex = 1;
        Press(ui().BitBtn16, Qt::LeftButton);
        QCOMPARE(s().CurrentProgrammeIndex, 2);
        QVERIFY(s().CurrentEventIndex >= 0);
        QVERIFY(ui().GroupBox2->isVisibleTo(&console()));
        QVERIFY(ui().Label71->isVisibleTo(&console()));
        QTest::mouseClick(ui().BitBtn5, Qt::LeftButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        QCOMPARE(ui().Label5->text(), QStringLiteral("1"));
        QCOMPARE(ui().Label92->text(), QStringLiteral("1"));
        QCOMPARE(ui().Label29->text(), QStringLiteral("No"));
        QVERIFY(ui().GroupBox5->isVisibleTo(&console()));
        // The forward step writes the heats figure; the step back leaves it alone.
        ui().Label18->setText(QStringLiteral("untouched"));
        Press(ui().BitBtn28, Qt::LeftButton);
        QCOMPARE(ui().Label5->text(), QStringLiteral("2"));
        QCOMPARE(ui().Label18->text(), QString("/ %1H").arg(s().HeatCount));
        ui().Label18->setText(QStringLiteral("untouched"));
        Press(ui().BitBtn28, Qt::RightButton);
        QCOMPARE(ui().Label5->text(), QStringLiteral("1"));
        QCOMPARE(ui().Label18->text(), QStringLiteral("untouched"));
        // Back onto a ceremony with the right button keeps the heat view; left switches to Msg.
        Press(ui().BitBtn16, Qt::RightButton);
        QCOMPARE(s().CurrentView, kViewHeat);
        Press(ui().BitBtn16, Qt::RightButton);
        Press(ui().BitBtn16, Qt::LeftButton);  // item 1 is a ceremony too
        QCOMPARE(s().CurrentEventIndex, -1);
        QCOMPARE(s().CurrentView, kViewProgressMessage);
        QCOMPARE(HighlightedViewLabels(), QList<QLabel*>{ui().Label77});
        // The heat step does nothing unless the heat view is up.
        const QString before = ui().Label5->text();
        Press(ui().BitBtn28, Qt::LeftButton);
        QCOMPARE(ui().Label5->text(), before);
    }

    void progressListClickAndScroll() {
        QTest::mousePress(ui().Image6, Qt::LeftButton, {}, QPoint(100, 20 * 4 + 5));
        QCOMPARE(s().CurrentProgrammeIndex, 4);
        QCOMPARE(ui().ScrollBar1->value(), 3);
        QCOMPARE(ui().Image6->y(), -60);
        QTest::mouseClick(ui().BitBtn18, Qt::LeftButton);
        QVERIFY(!ui().Panel10->isVisibleTo(&console()));
        QTest::mouseClick(ui().BitBtn18, Qt::LeftButton);
        QVERIFY(ui().Panel10->isVisibleTo(&console()));
    }

    void maintenancePanel() {
        QTest::mouseClick(ui().BitBtn29, Qt::LeftButton);
        QVERIFY(ui().Panel6->isVisibleTo(&console()));
        QVERIFY(!ui().Panel8->isVisibleTo(&console()));
        const int left = s().Config.ScreenLeft;
        ui().Edit1->setText("abc");
        messages.clear();
        QTest::keyClick(ui().Edit1, Qt::Key_Return);
        QCOMPARE(messages, QStringList{QString::fromUtf8("'abc' は整数ではありません")});
        QCOMPARE(s().Config.ScreenLeft, left);
        ui().Edit1->setText(QString::number(left));
        for (int i = 0; i < 3; ++i) QTest::mouseClick(ui().Button27, Qt::LeftButton);
        QCOMPARE(ui().Edit1->text(), QString::number(left + 3));
        QCOMPARE(windows.audience->x(), left + 3);
        QTest::mouseClick(ui().Button28, Qt::LeftButton);
        QCOMPARE(ui().Edit3->text(), QStringLiteral("-31"));
        // A Welcome line edited live switches the audience screen to the Welcome view.
        ui().Edit7->setText(QString::fromUtf8("ようこそ リハーサル"));
        audienceNormal().TakeRecords();
        QTest::keyClick(ui().Edit7, Qt::Key_Return);
        QCOMPARE(s().CurrentView, kViewWelcome);
        bool found = false;
        for (const DrawRecord& r : audienceNormal().TakeRecords()) {
            found = found || r.text == QString::fromUtf8("ようこそ リハーサル");
        }
        QVERIFY(found);
        // Base Color 0000FF is pure red.
        ui().Edit12->setText("0000FF");
        QTest::keyClick(ui().Edit12, Qt::Key_Return);
        QCOMPARE(audienceNormal().Image().pixelColor(500, 300), QColor(255, 0, 0));
        // "<-Award" stays on screen beside the panel and still flips the progress list.
        QVERIFY(!ui().Panel10->isHidden());
        QTest::mouseClick(ui().BitBtn18, Qt::LeftButton);
        QVERIFY(ui().Panel10->isHidden());
        QTest::mouseClick(ui().BitBtn18, Qt::LeftButton);
        QVERIFY(!ui().Panel10->isHidden());
        QTest::mouseClick(ui().BitBtn31, Qt::LeftButton);
        QVERIFY(!ui().Panel6->isVisibleTo(&console()));
        QVERIFY(ui().Panel8->isVisibleTo(&console()));
    }

    void dataResetReloadsAndReturnsToTheControls() {
        QTest::mouseClick(ui().BitBtn29, Qt::LeftButton);
        s().ProgrammeCount = 0;
        QTest::mouseClick(ui().BitBtn19, Qt::LeftButton);
        QVERIFY(s().ProgrammeCount > 30);
        QVERIFY(!ui().Panel6->isVisibleTo(&console()));
        QVERIFY(ui().Panel8->isVisibleTo(&console()));
        QCOMPARE(ui().ComboBox1->currentIndex(), -1);
        QCOMPARE(ui().ComboBox1->count(), s().CategoryCount);
    }

    void folderPanelCancelHidesTheSyncLabel() {
        QVERIFY(ui().Label60->isVisibleTo(&console()));
        Press(ui().Label59, Qt::LeftButton);
        QVERIFY(ui().Panel4->isVisibleTo(&console()));
        QTest::mouseClick(ui().Button30, Qt::LeftButton);
        QVERIFY(!ui().Panel4->isVisibleTo(&console()));
        QVERIFY(!ui().Label60->isVisibleTo(&console()));
        QCOMPARE(s().DataFolder, DemoFolder());
    }
};

QTEST_MAIN(ConsoleTest)
#include "console_test.moc"
