// The view commands controller and the operator commands against a fake of the console
// operations: which operations each press asks for and which changes it announces, in order, and
// which flags it leaves.
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

#include "app/console/console_operations.h"
#include "app/console/operator_commands.h"
#include "app/console/settings_commands.h"
#include "app/console/view_commands_controller.h"
#include "app/widgets/picture_button.h"
#include "core/competition/view_types.h"
#include "core/display/message_screen.h"

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
    void ReleaseHold() override { calls << "release"; }
    void ShowFollowLinks() override { calls << "links"; }
    void ReloadProgramme() override { calls << "programme"; }
    void RedrawTitleBanner() override { calls << "banner"; }
    void SelectResultCategory(int category) override {
        calls << QString("category %1").arg(category);
    }
    void ShowResultList() override { calls << "result list"; }
    void DataReset() override { calls << "reset"; }
    void ShowAnnouncement(int kind, const std::string&) override {
        calls << QString("announce %1").arg(kind);
    }
    void ShowClockMinute(const QString& hhmm) override { calls << "clock " + hhmm; }
};

// The operations asked for and the changes announced, in one sequence.
struct Recorder {
    Competition s;
    FakeOperations ops;
    StateNotifier notifier;
    OperatorCommands commands{s, ops, notifier};
    SettingsCommands settings{s, ops, notifier};
    Recorder() {
        QObject::connect(&notifier, &StateNotifier::changed, [this](StateChanges what) {
            ops.calls << QString("changed %1").arg(what.toInt(), 0, 16);
        });
    }
};

QString Changed(StateChanges what) { return QString("changed %1").arg(what.toInt(), 0, 16); }

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
        const QString single = Changed(StateChange::SingleItemFlag);
        const QString hold = Changed(StateChange::HoldFlag);
        QTest::newRow("Clean") << "BitBtn2" << int(Qt::LeftButton) << 0 << QStringList{"view 0"}
                               << 0 << 0;
        QTest::newRow("Msg, left: current and next")
            << "BitBtn4" << int(Qt::LeftButton) << 0 << QStringList{single, "view 7"} << 0 << 0;
        QTest::newRow("Msg, right: the current item alone")
            << "BitBtn4" << int(Qt::RightButton) << 0 << QStringList{single, "view 7"} << 1 << 0;
        QTest::newRow("single-item switch")
            << "Button12" << int(Qt::LeftButton) << 0 << QStringList{single, "view 7"} << 1 << 0;
        QTest::newRow("hold: nothing is drawn")
            << "Button17" << int(Qt::LeftButton) << 0 << QStringList{hold} << 0 << 1;
        QTest::newRow("release: the item and its view come back")
            << "Button17" << int(Qt::LeftButton) << 1 << QStringList{hold, "release"} << 0
            << 0;
    }
    void pressesAskForTheirOperations() {
        QFETCH(QString, control);
        QFETCH(int, mouse);
        QFETCH(int, holdBefore);
        QFETCH(QStringList, calls);
        QFETCH(int, singleItem);
        QFETCH(int, hold);

        Recorder r;
        r.s.AwardReady = 1;
        r.s.HoldScreen = holdBefore;
        QWidget panel;
        PictureButton clean(&panel), title(&panel), judge(&panel), msgButton(&panel), final(&panel);
        QPushButton single(&panel), holdButton(&panel);
        QLabel singleLabel(&panel), holdLabel(&panel), holdBanner(&panel);
        holdBanner.setVisible(holdBefore == 1);
        QRadioButton standard(&panel), split(&panel);
        const ViewCommandControls controls{.BitBtn2 = &clean,
                                           .BitBtn1 = &title,
                                           .BitBtn3 = &judge,
                                           .BitBtn4 = &msgButton,
                                           .BitBtn14 = &final,
                                           .Button12 = &single,
                                           .Button17 = &holdButton,
                                           .Label21 = &singleLabel,
                                           .Label3 = &holdLabel,
                                           .Panel12 = &holdBanner,
                                           .D_TypeS = &standard,
                                           .D_TypeB = &split};
        ViewCommandsController controller(controls, r.s, r.commands, r.settings, nullptr);
        const std::map<QString, QWidget*> byName{{"BitBtn2", &clean},
                                                 {"BitBtn4", &msgButton},
                                                 {"Button12", &single},
                                                 {"Button17", &holdButton}};

        Press(byName.at(control), Qt::MouseButton(mouse));

        QCOMPARE(r.ops.calls, calls);
        QCOMPARE(r.s.SingleItemMode, singleItem);
        QCOMPARE(r.s.HoldScreen, hold);
        // Clean and Msg disarm the award; the switches leave it armed.
        QCOMPARE(r.s.AwardReady, control == "BitBtn2" || control == "BitBtn4" ? 0 : 1);
        // The indicators and the hold banner follow the announcements.
        const bool singleShown = calls.contains(Changed(StateChange::SingleItemFlag));
        QCOMPARE(singleLabel.text(),
                 singleShown ? QString(singleItem == 1 ? "Yes" : "No") : QString());
        QCOMPARE(holdBanner.isVisibleTo(&panel), hold == 1);
    }

    void heatStepOnlyWithTheHeatViewUp() {
        Recorder r;
        r.s.CurrentView = kViewClean;
        r.commands.HeatStep(true);
        QVERIFY(r.ops.calls.isEmpty());
        r.s.CurrentView = kViewHeat;
        r.s.HeatRowsA = 3;
        r.s.HeatsPerDance = 3;
        r.s.HeatCount = 3;
        r.s.HeatIndex = 0;
        r.commands.HeatStep(true);
        QCOMPARE(r.ops.calls, (QStringList{"view 3", Changed(StateChange::HeatsFigure)}));
        QCOMPARE(r.s.HeatIndex, 1);
        r.ops.calls.clear();
        r.commands.HeatStep(false);  // back: the heats figure stays
        QCOMPARE(r.ops.calls, QStringList{"view 3"});
    }

    // An announcement switches single-item mode on and says so; the view stays.
    void announcementSwitchesSingleItemOn() {
        Recorder r;
        r.s.CurrentView = kViewHeat;
        r.commands.Announce(kMessageLunch, {});
        QCOMPARE(r.ops.calls, (QStringList{"announce 1", Changed(StateChange::SingleItemFlag)}));
        QCOMPARE(r.s.SingleItemMode, 1);
        QCOMPARE(r.s.CurrentView, kViewHeat);
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "view_commands_test.moc"
