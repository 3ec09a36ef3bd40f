#pragma once
// The operator console window: builds its form and puts the console together — the stage that
// draws both windows, the presenter, the command sets and one small controller per area of the
// console, each given the controls it owns by name. The window itself keeps only the exit, the
// keys of presenter clickers and the first activation.

#include <QWidget>
#include <memory>

#include "app/console/app_start.h"
#include "app/console/operator_commands.h"
#include "app/console/presenter.h"
#include "app/console/settings_commands.h"
#include "app/console/stage.h"
#include "core/competition/competition_state.h"
#include "core/competition/state_notifier.h"

class QLabel;
class ScrForm;
class VenueController;
class AnnouncementsController;
class AwardController;
class ClockController;
class DataWatchController;
class EventChooserController;
class FolderPanel;
class MaintenancePanel;
class ProgrammeListController;
class ProgressController;
class StepHintController;
class DaySchedule;
class EstimateColumn;
class LabelLooks;
class ViewCommandsController;
namespace Ui {
class DspMain;
}

class DspMain : public QWidget {
    Q_OBJECT
  public:
    // state: the process-wide tables, created by the entry before the windows.
    DspMain(Competition& state, const StartOptions& options, QWidget* parent = nullptr);
    ~DspMain() override;

    // The audience window, created after the console; takes over its logo. A first activation
    // that came before it runs the start-up now.
    void AttachAudience(ScrForm* audience);
    // First activation: runs the start-up once and shows the Clean view.
    void FormActivate();
    // Prepares, once the start-up has run, the texts of the views whose first showing would
    // draw many new texts (a live run calls it when the console is idle after the start).
    void WarmUp();
    // The clock timer's tick (Timer1, run in clock mode).
    void Timer1Timer();
    // The operator's commands, for whatever else commands the display (the web remote).
    OperatorCommands& Commands() { return *commands_; }
    // The day's start-time estimates, for the web and the rehearsal.
    const DaySchedule& Schedule() const { return *schedule_; }
    DaySchedule& Schedule() { return *schedule_; }

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A close request asks first: the console's end is the program's end.
    void closeEvent(QCloseEvent* event) override;
    // Presenter clickers and the keyboard: Page Down / Right / B forward, Page Up / Left back.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The clicker's keys go to the console again.
    void ReturnFocus();
    void NameCanvases();
    void CreateControllers(const StartOptions& options);
    void ShowAfterHallPicture();
    // The labels and estimates a step to `next` (the next heat, the next item) changes, painted
    // ahead.
    void PaintStepAhead(const Competition& next, bool programmeStep);
    void ShowWindows();
    void BitBtn30Click();
    bool ConfirmExit();

    std::unique_ptr<Ui::DspMain> ui;
    Competition& state_;
    StateNotifier notifier_;
    std::unique_ptr<Stage> stage_;
    std::unique_ptr<Presenter> presenter_;
    std::unique_ptr<OperatorCommands> commands_;
    std::unique_ptr<SettingsCommands> settings_;
    ScrForm* audience_ = nullptr;
    bool firstActivation_ = true;
    bool glyphsApplied_ = false;
    bool consoleAfterHallPicture_ = false;
    int consoleShowLatestMs_ = 0;  // StartOptions::consoleShowLatestMs
    bool startUpWaiting_ = false;

    std::unique_ptr<VenueController> venue_;
    std::unique_ptr<StepHintController> stepHint_;
    std::unique_ptr<DaySchedule> schedule_;
    QLabel* scheduleLabel_ = nullptr;
    EstimateColumn* estimateColumn_ = nullptr;
    LabelLooks* looks_ = nullptr;
    std::unique_ptr<FolderPanel> folderPanel_;
    std::unique_ptr<MaintenancePanel> maintenancePanel_;
    std::unique_ptr<ProgrammeListController> programmeList_;
    std::unique_ptr<ProgressController> progress_;
    std::unique_ptr<ViewCommandsController> viewCommands_;
    std::unique_ptr<AwardController> award_;
    std::unique_ptr<EventChooserController> eventChooser_;
    std::unique_ptr<AnnouncementsController> announcements_;
    std::unique_ptr<ClockController> clock_;
    std::unique_ptr<DataWatchController> dataWatch_;
};
