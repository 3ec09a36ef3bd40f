#pragma once
// The operator console window: owns its form, the competition state, the renderer and one small
// controller per area of the console. The named operations that several areas share (RenderView,
// LoadRound, ShowProgrammeItem, HighlightViewLabel, DataReset ...) are its public members.

#include <QWidget>
#include <array>
#include <memory>

#include "core/competition/competition_state.h"
#include "core/display/renderer.h"
#include "app/console/app_start.h"

class QLabel;
class QLineEdit;
class QTimer;
class ScrForm;
class FolderPanel;
class MaintenancePanel;
class ProgrammeListController;
class ProgressController;
class ViewCommandsController;
class AwardController;
class EventChooserController;
struct FollowActions;
namespace Ui {
class DspMain;
}

class DspMain : public QWidget, private RendererHost {
    Q_OBJECT
  public:
    explicit DspMain(const StartOptions& options, QWidget* parent = nullptr);
    ~DspMain() override;

    // The audience window, created after the console; takes over its logo when it has one.
    void AttachAudience(ScrForm* audience);
    // First activation: runs the start-up once and shows the Clean view.
    void FormActivate();
    Q_INVOKABLE void Timer1Timer();
    QTimer* Timer1() const { return timer1_; }

    Competition& state() { return state_; }
    Ui::DspMain& form() { return *ui; }
    ScrForm& audience() { return *audience_; }

    // Shared operations.
    void RunStartUp();
    void RenderView(int type);
    void LoadDisplayConfig();
    void DrawTitleBanner();
    void LoadEvents();
    void LoadProgramme();
    void ShowProgrammeItem();
    void FollowProgrammeItem(bool forward);
    void ApplyFollowLinks(const FollowActions& actions);
    void DrawProgrammeList();
    void FillResultList();
    void LoadRound();
    void HighlightViewLabel(QLabel* label);
    void DataReset();
    void ShowIndicator(QLabel* label, int flag);
    void ToggleIndicator(int& flag, QLabel* label);
    void MoveAudienceWindow();
    void ApplyFontFields();
    void ShowHoldBanner();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void ShowAudienceSurface(bool wide) override;
    void ShowPreviewSurface(bool wide) override;
    void ClearMemo() override;
    void NameCanvases();
    // The maintenance fields of the top title lines, then of the Welcome lines.
    std::array<QLineEdit*, 6> TitleEdits() const;
    void BitBtn30Click();

    std::unique_ptr<Ui::DspMain> ui;
    Competition state_;
    Renderer renderer_{state_};
    ScrForm* audience_ = nullptr;
    QTimer* timer1_ = nullptr;
    bool firstActivation_ = true;

    std::unique_ptr<FolderPanel> folderPanel_;
    std::unique_ptr<MaintenancePanel> maintenancePanel_;
    std::unique_ptr<ProgrammeListController> programmeList_;
    std::unique_ptr<ProgressController> progress_;
    std::unique_ptr<ViewCommandsController> viewCommands_;
    std::unique_ptr<AwardController> award_;
    std::unique_ptr<EventChooserController> eventChooser_;
};
