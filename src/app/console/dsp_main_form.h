#pragma once
// The operator console window: owns its form, the renderer, the operator commands and one small
// controller per area of the console. The operations the areas share are implemented here,
// privately; nothing outside reaches the form or the state through the window.

#include <QWidget>
#include <memory>

#include "app/console/app_start.h"
#include "app/console/console_operations.h"
#include "core/competition/competition_state.h"
#include "core/display/renderer.h"

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
class OperatorCommands;
class ProgrammeListController;
class ProgressController;
class ViewCommandsController;
struct RoundLoad;
namespace Ui {
class DspMain;
}

class DspMain : public QWidget, private RendererHost, private ConsoleOperations {
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
    // The clock timer's tick (Timer1, run in clock mode).
    void Timer1Timer();
    // The operator's commands, for whatever else commands the display (the web remote).
    OperatorCommands& Commands();

  protected:
    void changeEvent(QEvent* event) override;
    // A close request asks first: the console's end is the program's end.
    void closeEvent(QCloseEvent* event) override;
    // Presenter clickers and the keyboard: Page Down / Right / B forward, Page Up / Left back.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RunStartUp();
    void NameCanvases();
    void CreateControllers();
    void ReloadDisplayConfig();
    void ReloadEvents();
    void ShowLoadedRound(const RoundLoad& load);
    void AppendMemoLine(const QString& line);
    void BitBtn30Click();
    bool ConfirmExit();
    // Every audience surface drawn again: the banner, the clock and the current view.
    void RedrawAudience();
    enum class ViewLabel { Title, Clean, Judge, Msg, Heat, Final };
    void HighlightViewLabel(ViewLabel label);

    // RendererHost
    void ShowAudienceSurface(bool wide) override;
    void ShowPreviewSurface(bool wide) override;
    void ClearMemo() override;

    // ConsoleOperations
    void ShowView(int type) override;
    void LoadAndShowRound() override;
    bool ShowFinalResult() override;
    void ShowCurrentProgrammeItem() override;
    void FollowProgrammeItem(bool forward) override;
    void ShowFollowLinks() override;
    void RedrawProgrammeList() override;
    void ReloadProgramme() override;
    void RedrawTitleBanner() override;
    void ShowIndicator(Indicator indicator, int flag) override;
    void ShowHoldBanner(bool shown) override;
    void ShowHeatsFigure() override;
    void SelectResultCategory(int category) override;
    void DataReset() override;
    void MoveAudienceWindow() override;
    void ShowAnnouncement(int kind, const std::string& text) override;
    void ShowClock(bool shown) override;

    std::unique_ptr<Ui::DspMain> ui;
    Competition& state_;
    Renderer renderer_{state_};
    ScrForm* audience_ = nullptr;
    bool firstActivation_ = true;
    bool startUpWaiting_ = false;

    std::unique_ptr<OperatorCommands> commands_;
    std::unique_ptr<VenueController> venue_;
    QString venueView_;
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
