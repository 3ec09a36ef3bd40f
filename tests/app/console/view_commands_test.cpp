// The view commands controller against a fake of the console operations: which operations each
// press asks for, in order, and which flags it leaves.
#include <QRadioButton>
#include <QtTest>

#include "app/console/console_operations.h"
#include "app/console/operator_commands.h"
#include "app/console/view_commands_controller.h"
#include "app/widgets/picture_button.h"
#include "core/display/view_types.h"

namespace {

class FakeOperations : public ConsoleOperations {
  public:
    QStringList calls;

    void ShowView(int type) override { calls << QString("view %1").arg(type); }
    void LoadAndShowRound() override { calls << "round"; }
    bool ShowFinalResult() override {
        calls << "view 5";
        return true;
    }
    void ShowCurrentProgrammeItem() override { calls << "item"; }
    void FollowProgrammeItem(bool forward) override { calls << QString("follow %1").arg(forward); }
    void ShowFollowLinks() override { calls << "links"; }
    void RedrawProgrammeList() override { calls << "list"; }
    void ReloadProgramme() override { calls << "programme"; }
    void RedrawTitleBanner() override { calls << "banner"; }
    void ShowIndicator(Indicator indicator, int flag) override {
        calls << QString("indicator %1=%2").arg(int(indicator)).arg(flag);
    }
    void ShowHoldBanner(bool shown) override { calls << QString("banner %1").arg(shown); }
    void ShowHeatsFigure() override { calls << "figure"; }
    void SelectResultCategory(int category) override {
        calls << QString("category %1").arg(category);
    }
    void DataReset() override { calls << "reset"; }
    void MoveAudienceWindow() override { calls << "move"; }
    void ShowAnnouncement(int kind, const std::string&) override {
        calls << QString("announce %1").arg(kind);
    }
    void ShowClock(bool shown) override { calls << QString("clock %1").arg(shown); }
};

void Press(QWidget* w, Qt::MouseButton button) {
    QTest::mousePress(w, button, {}, QPoint(5, 5));
    QTest::mouseRelease(w, button, {}, QPoint(5, 5));
}

}  // namespace

class ViewCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void pressesAskForTheirOperations_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("mouse");
        QTest::addColumn<int>("holdBefore");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("singleItem");
        QTest::addColumn<int>("hold");
        const int single = int(Indicator::SingleItem);
        const int hold = int(Indicator::Hold);
        QTest::newRow("Clean") << "BitBtn2" << int(Qt::LeftButton) << 0
                               << QStringList{"view 0"} << 0
                               << 0;
        QTest::newRow("Msg, left: current and next")
            << "BitBtn4" << int(Qt::LeftButton) << 0
            << QStringList{QString("indicator %1=0").arg(single), "view 7"}
            << 0 << 0;
        QTest::newRow("Msg, right: the current item alone")
            << "BitBtn4" << int(Qt::RightButton) << 0
            << QStringList{QString("indicator %1=1").arg(single), "view 7"}
            << 1 << 0;
        QTest::newRow("single-item switch")
            << "Button12" << int(Qt::LeftButton) << 0
            << QStringList{QString("indicator %1=1").arg(single), "view 7"} << 1 << 0;
        QTest::newRow("hold: nothing is drawn")
            << "Button17" << int(Qt::LeftButton) << 0
            << QStringList{QString("indicator %1=1").arg(hold), "banner 1"} << 0 << 1;
        QTest::newRow("release: the item and its view come back")
            << "Button17" << int(Qt::LeftButton) << 1
            << QStringList{QString("indicator %1=0").arg(hold), "banner 0", "item", "follow 1"} << 0
            << 0;
    }
    void pressesAskForTheirOperations() {
        QFETCH(QString, control);
        QFETCH(int, mouse);
        QFETCH(int, holdBefore);
        QFETCH(QStringList, calls);
        QFETCH(int, singleItem);
        QFETCH(int, hold);

        Competition s;
        s.AwardReady = 1;
        s.HoldScreen = holdBefore;
        FakeOperations ops;
        OperatorCommands commands(s, ops);
        QWidget panel;
        PictureButton clean(&panel), title(&panel), judge(&panel), msgButton(&panel), final(&panel);
        QPushButton single(&panel), holdButton(&panel);
        QRadioButton standard(&panel), split(&panel);
        const ViewCommandControls controls{&clean,  &title,      &judge,    &msgButton, &final,
                                           &single, &holdButton, &standard, &split};
        ViewCommandsController controller(controls, s, commands, nullptr);
        const std::map<QString, QWidget*> byName{{"BitBtn2", &clean},
                                                 {"BitBtn4", &msgButton},
                                                 {"Button12", &single},
                                                 {"Button17", &holdButton}};

        Press(byName.at(control), Qt::MouseButton(mouse));

        QCOMPARE(ops.calls, calls);
        QCOMPARE(s.SingleItemMode, singleItem);
        QCOMPARE(s.HoldScreen, hold);
        // Clean and Msg disarm the award; the switches leave it armed.
        QCOMPARE(s.AwardReady, control == "BitBtn2" || control == "BitBtn4" ? 0 : 1);
    }

    void heatStepOnlyWithTheHeatViewUp() {
        Competition s;
        FakeOperations ops;
        OperatorCommands commands(s, ops);
        s.CurrentView = kViewClean;
        commands.HeatStep(true);
        QVERIFY(ops.calls.isEmpty());
        s.CurrentView = kViewHeat;
        s.HeatRowsA = 3;
        s.HeatsPerDance = 3;
        s.HeatCount = 3;
        s.HeatIndex = 0;
        commands.HeatStep(true);
        QCOMPARE(ops.calls, (QStringList{"figure", "view 3"}));
        QCOMPARE(s.HeatIndex, 1);
        ops.calls.clear();
        commands.HeatStep(false);  // back: the heats figure stays
        QCOMPARE(ops.calls, QStringList{"view 3"});
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "view_commands_test.moc"
