#include "app/console/dsp_main_form.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <utility>

#include "app/audience/scr_form.h"
#include "app/console/announcements_controller.h"
#include "app/console/award_controller.h"
#include "app/console/clock_controller.h"
#include "app/console/console_hooks.h"
#include "app/console/console_tooltips.h"
#include "app/console/data_watch_controller.h"
#include "app/console/day_schedule.h"
#include "app/console/estimate_column.h"
#include "app/console/event_chooser_controller.h"
#include "app/console/folder_panel.h"
#include "app/console/maintenance_panel.h"
#include "app/console/programme_list_controller.h"
#include "app/console/step_hint_controller.h"
#include "app/console/progress_controller.h"
#include "app/console/venue_controller.h"
#include "app/console/view_commands_controller.h"
#include "app/widgets/buffer_settler.h"
#include "app/widgets/button_glyphs.h"
#include "app/widgets/image_control.h"
#include "app/widgets/label_looks.h"
#include "app/widgets/widget_colors.h"
#include "core/platform/cp932.h"
#include "core/platform/data_file.h"
#include "core/platform/font_substitution.h"
#include "ui_dsp_main_form.h"

DspMain::DspMain(Competition& state, const StartOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::DspMain>()),
      state_(state) {
    InstallFontSubstitutions();
    ui->setupUi(this);
    setObjectName(QStringLiteral("DspMain"));
    NameCanvases();

    Ui::DspMain& f = *ui;
    stage_ = std::make_unique<Stage>(StageControls{.Panel1 = f.Panel1,
                                                   .PanelW = f.PanelW,
                                                   .Image1 = f.Image1,
                                                   .ImageW = f.ImageW,
                                                   .Image2 = f.Image2,
                                                   .Image3 = f.Image3,
                                                   .Memo1 = f.Memo1},
                                     state_);
    presenter_ = std::make_unique<Presenter>(state_, *stage_, notifier_);
    commands_ = std::make_unique<OperatorCommands>(state_, *presenter_, notifier_);
    settings_ = std::make_unique<SettingsCommands>(state_, *presenter_, notifier_);

    // The settings file names the data folder; the message box tells where it looked when not.
    const bool folderFound = presenter_->ReadStartSettings(options);
    consoleAfterHallPicture_ = options.consoleAfterHallPicture;
    consoleShowLatestMs_ = options.consoleShowLatestMs;

    setFixedWidth(948);
    move(0, 0);
    ui->Panel6->hide();
    ui->Panel4->hide();
    ui->PanelW->hide();
    ui->Label25->setText(QStringLiteral("( Ver. 3.10 - '16.09.15 )"));
    ui->Label101->setText(QString::number(state_.Config.Mod));
    ui->Label101->setVisible(state_.Config.Mod < 1000);
    connect(ui->BitBtn30, &QPushButton::clicked, this, &DspMain::BitBtn30Click);

    CreateControllers(options);
    looks_ = new LabelLooks(this);
    presenter_->SetConsoleAhead([this](const Competition& next, bool programmeStep) {
        PaintStepAhead(next, programmeStep);
    });
    ApplyConsoleTooltips(this);
    // The console takes the keys whenever nothing else does, and a click on its background
    // gives them back to it.
    setFocusPolicy(Qt::ClickFocus);
    qApp->installEventFilter(this);
    // Started without a data folder (from the desktop menu, say), the folder panel asks for one;
    // it stays open over the console without holding up the start.
    if (!folderFound) {
        folderPanel_->Open(presenter_->OfferedFolder());
    } else if (Hooks().rememberDataFolder) {
        Hooks().rememberDataFolder(DecodePath(state_.DataFolder));
    }
}

DspMain::~DspMain() = default;

void DspMain::CreateControllers(const StartOptions& options) {
    Ui::DspMain& f = *ui;
    OperatorCommands& commands = *commands_;
    SettingsCommands& settings = *settings_;

    auto* onAir = new QLabel(ui->Panel7);
    onAir->setObjectName(QStringLiteral("OnAirLabel"));
    // Beside the version line, in the top panel: always in sight.
    onAir->setGeometry(224, 27, 192, 18);
    QFont small = onAir->font();
    small.setPointSize(8);
    onAir->setFont(small);
    onAir->setAutoFillBackground(true);
    // Right of the progress panel's title and its hold switch, above the programme button.
    auto* nextStep = new QLabel(ui->Panel9);
    nextStep->setObjectName(QStringLiteral("NextStepLabel"));
    nextStep->setGeometry(349, 2, 112, 33);
    nextStep->setFont(small);
    nextStep->setWordWrap(true);
    nextStep->setAutoFillBackground(true);
    stepHint_ = std::make_unique<StepHintController>(
        StepHintControls{.NextStepLabel = nextStep}, state_, notifier_, this);
    // The day's estimates: the pace and the end on the list's header line, the starts beside the
    // upcoming items.
    schedule_ = std::make_unique<DaySchedule>(state_, notifier_, options.secondsPerHeat, this);
    schedule_->SettleBeforeRepaintOf(this);
    // A click's button, hovered and shown just before, is painted again at once.
    new BufferSettler(this);
    auto* status = new QLabel(ui->Panel8);
    status->setObjectName(QStringLiteral("ScheduleLabel"));
    status->setGeometry(200, 329, 216, 33);
    status->setFont(small);
    status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Opaque, in the heading's colour: a new estimate repaints the label alone, not the heading
    // and the award section's file stamp under it, which it covers while the list is up.
    SetColors(status, BackgroundOf(ui->Label1), Qt::white);
    scheduleLabel_ = status;
    auto* column = new EstimateColumn(*schedule_, f.Image6, status, f.Panel11);
    column->setObjectName(QStringLiteral("EstimateColumn"));
    column->setGeometry(300, 0, 96, f.Panel11->height());
    column->raise();
    estimateColumn_ = column;
    f.ScrollBar1->raise();
    venue_ = std::make_unique<VenueController>(
        options,
        VenueControls{.OnAirLabel = onAir,
                      .Label74 = f.Label74,
                      .Label75 = f.Label75,
                      .Label76 = f.Label76,
                      .Label77 = f.Label77,
                      .Label78 = f.Label78,
                      .Label79 = f.Label79},
        state_, notifier_, [this] { presenter_->RedrawAudience(); }, this);

    folderPanel_ =
        std::make_unique<FolderPanel>(FolderControls{.Label59 = f.Label59,
                                                     .Label60 = f.Label60,
                                                     .Label61 = f.Label61,
                                                     .Panel4 = f.Panel4,
                                                     .DriveComboBox1 = f.DriveComboBox1,
                                                     .DirectoryListBox1 = f.DirectoryListBox1,
                                                     .Button22 = f.Button22,
                                                     .Button30 = f.Button30},
                                      state_, settings, this);
    maintenancePanel_ = std::make_unique<MaintenancePanel>(
        MaintenanceControls{.Panel6 = f.Panel6,
                            .Panel8 = f.Panel8,
                            .BitBtn29 = f.BitBtn29,
                            .BitBtn31 = f.BitBtn31,
                            .BitBtn19 = f.BitBtn19,
                            .Button26 = f.Button26,
                            .Button27 = f.Button27,
                            .Button28 = f.Button28,
                            .Button29 = f.Button29,
                            .Edit1 = f.Edit1,
                            .Edit3 = f.Edit3,
                            .topTitles = {f.Edit4, f.Edit5, f.Edit6},
                            .welcomeTitles = {f.Edit7, f.Edit8, f.Edit9},
                            .Edit10 = f.Edit10,
                            .Edit11 = f.Edit11,
                            .Edit13 = f.Edit13,
                            .Edit2 = f.Edit2,
                            .Edit12 = f.Edit12},
        state_, commands, settings, this);
    programmeList_ =
        std::make_unique<ProgrammeListController>(ProgrammeListControls{.BitBtn16 = f.BitBtn16,
                                                                        .Image6 = f.Image6,
                                                                        .ScrollBar1 = f.ScrollBar1,
                                                                        .BitBtn33 = f.BitBtn33,
                                                                        .BitBtn18 = f.BitBtn18,
                                                                        .Panel10 = f.Panel10},
                                                  state_, commands, this);
    progress_ = std::make_unique<ProgressController>(
        ProgressControls{.BitBtn5 = f.BitBtn5,
                         .BitBtn28 = f.BitBtn28,
                         .Button20 = f.Button20,
                         .Button1 = f.Button1,
                         .Label29 = f.Label29,
                         .Label91 = f.Label91,
                         .Label70 = f.Label70,
                         .Label71 = f.Label71,
                         .Label72 = f.Label72,
                         .Label73 = f.Label73,
                         .Label67 = f.Label67,
                         .Label68 = f.Label68,
                         .GroupBox2 = f.GroupBox2,
                         .GroupBox3 = f.GroupBox3,
                         .Label8 = f.Label8,
                         .Label4 = f.Label4,
                         .Label9 = f.Label9,
                         .Label18 = f.Label18,
                         .Label10 = f.Label10,
                         .Label11 = f.Label11,
                         .Label26 = f.Label26,
                         .Label12 = f.Label12,
                         .Label13 = f.Label13,
                         .Label5 = f.Label5,
                         .Label92 = f.Label92,
                         .Label31 = f.Label31,
                         .GroupBox5 = f.GroupBox5,
                         .GroupBox6 = f.GroupBox6,
                         .GroupBox8 = f.GroupBox8,
                         .danceLetters = {f.Label41, f.Label42, f.Label45, f.Label46, f.Label47,
                                          f.Label50, f.Label51, f.Label52, f.Label53, f.Label54},
                         .teamSlots = {f.Label103, f.Label104, f.Label105, f.Label106, f.Label107},
                         .Label48 = f.Label48,
                         .Label55 = f.Label55,
                         .Label108 = f.Label108},
        state_, commands, this);
    viewCommands_ =
        std::make_unique<ViewCommandsController>(ViewCommandControls{.BitBtn2 = f.BitBtn2,
                                                                     .BitBtn1 = f.BitBtn1,
                                                                     .BitBtn3 = f.BitBtn3,
                                                                     .BitBtn4 = f.BitBtn4,
                                                                     .BitBtn14 = f.BitBtn14,
                                                                     .Button12 = f.Button12,
                                                                     .Button17 = f.Button17,
                                                                     .Label21 = f.Label21,
                                                                     .Label3 = f.Label3,
                                                                     .Panel12 = f.Panel12,
                                                                     .D_TypeS = f.D_TypeS,
                                                                     .D_TypeB = f.D_TypeB},
                                                 state_, commands, settings, this);
    award_ = std::make_unique<AwardController>(AwardControls{.ComboBox1 = f.ComboBox1,
                                                             .RadioButton4 = f.RadioButton4,
                                                             .RadioButton5 = f.RadioButton5,
                                                             .BitBtn21 = f.BitBtn21,
                                                             .BitBtn13 = f.BitBtn13,
                                                             .BitBtn15 = f.BitBtn15,
                                                             .RadioButton1 = f.RadioButton1,
                                                             .RadioButton2 = f.RadioButton2,
                                                             .RadioButton3 = f.RadioButton3,
                                                             .Image5 = f.Image5},
                                               state_, commands, settings, this);
    eventChooser_ =
        std::make_unique<EventChooserController>(EventChooserControls{.ComboBox3 = f.ComboBox3,
                                                                      .Button15 = f.Button15,
                                                                      .Button16 = f.Button16,
                                                                      .CheckBox1 = f.CheckBox1,
                                                                      .CheckBox2 = f.CheckBox2},
                                                 state_, commands, settings, this);
    announcements_ = std::make_unique<AnnouncementsController>(
        AnnouncementControls{.kindButtons = {f.BitBtn6, f.BitBtn7, f.BitBtn8, f.BitBtn9, f.BitBtn10,
                                             f.BitBtn12, f.BitBtn20, f.BitBtn17},
                             .BitBtn11 = f.BitBtn11,
                             .Edit14 = f.Edit14},
        commands, this);
    clock_ = std::make_unique<ClockController>(
        ClockControls{
            .BitBtn32 = f.BitBtn32, .Label63 = f.Label63, .Image4 = f.Image4, .Panel3 = f.Panel3},
        state_, commands, this);
    dataWatch_ = std::make_unique<DataWatchController>(DataWatchControls{.Panel9 = f.Panel9,
                                                                         .Panel8 = f.Panel8,
                                                                         .Label7 = f.Label7,
                                                                         .BitBtn5 = f.BitBtn5,
                                                                         .BitBtn13 = f.BitBtn13},
                                                       state_, notifier_, this);
    // Over the award section's file stamp while the list is up; hidden with the list.
    scheduleLabel_->raise();
}

void DspMain::NameCanvases() {
    for (ImageControl* image : findChildren<ImageControl*>()) {
        image->SetCanvasName(QStringLiteral("DspMain.") + image->objectName());
    }
}

void DspMain::AttachAudience(ScrForm* audience) {
    audience_ = audience;
    ui->Image4->SetPicture(audience_->Logo());
    stage_->AttachAudience(audience_);
    venue_->SetAudience(audience_);
    clock_->SetAudience(audience_);
    if (startUpWaiting_) {
        startUpWaiting_ = false;
        FormActivate();
    }
}

void DspMain::showEvent(QShowEvent* event) {
    // The buttons' pictures are drawn before the console's first paint, not at its making: the
    // start-up shows the hall's window first, and its picture does not wait for them.
    if (!std::exchange(glyphsApplied_, true)) ApplyButtonGlyphs(this);
    QWidget::showEvent(event);
}

void DspMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// The folder tree is made this long after the start-up's pictures, when the program is idle.
constexpr int kFolderTreeDelayMs = 250;

void DspMain::FormActivate() {
    if (!firstActivation_) return;
    if (audience_ == nullptr) {
        // The start-up draws on the audience window: it runs once that window is there.
        startUpWaiting_ = true;
        return;
    }
    firstActivation_ = false;
    move(x(), 0);
    const int designedLeft = venue_->DesignedScreenLeft();
    stage_->Bind();
    venue_->PrepareStartUp();
    presenter_->RunStartUp(designedLeft, [this] { ShowWindows(); });
    commands_->Clean();
    venue_->ShowAfterStartUp();
    ShowAfterHallPicture();
    QTimer::singleShot(kFolderTreeDelayMs, folderPanel_.get(), &FolderPanel::EnsureTree);
}

namespace {

// Runs `shown` once, after the first expose of the window it watches has been handled.
class ExposeWatch : public QObject {
  public:
    ExposeWatch(QWindow* window, std::function<void()> shown)
        : QObject(window), shown_(std::move(shown)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && shown_) {
            // Queued: the window paints in its expose, which goes on after this filter.
            QMetaObject::invokeMethod(parent(), std::exchange(shown_, {}), Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

  private:
    std::function<void()> shown_;
};

}  // namespace

void DspMain::ShowAfterHallPicture() {
    // The console, shown in the same turn as the hall's window, is made ready for the screen
    // (its windows, its pictures, its buttons' pictures: several milliseconds) before the hall's
    // window is painted, which waits for the window system's expose. Shown after that paint,
    // it keeps the hall's first picture waiting for nothing.
    QWindow* hall = audience_->isVisible() ? audience_->windowHandle() : nullptr;
    if (!consoleAfterHallPicture_ || hall == nullptr || hall->isExposed()) {
        show();
        return;
    }
    QPointer<DspMain> self(this);
    const auto showConsole = [self] {
        if (self != nullptr && !self->isVisible()) self->show();
    };
    new ExposeWatch(hall, showConsole);
    QTimer::singleShot(consoleShowLatestMs_, this, showConsole);
}

void DspMain::PaintStepAhead(const Competition& next, bool programmeStep) {
    looks_->PrepareFor(programmeStep ? LabelLooks::kNextItem : LabelLooks::kNextHeat);
    stepHint_->PaintAhead(next, *looks_);
    venue_->PaintAhead(next, *looks_);
    progress_->PaintAhead(next, *looks_);
    if (programmeStep) {
        int listTop = 0;
        const QImage* list = programmeList_->PaintAhead(next, &listTop);
        for (const DaySchedule::Foreseen& f : schedule_->ForeseeProgrammeStep(next)) {
            looks_->Prepare(scheduleLabel_, f.status);
            if (list != nullptr) estimateColumn_->PaintAhead(f.day, *list, listTop);
        }
        return;
    }
    for (const DaySchedule::Foreseen& f : schedule_->ForeseeHeatStep(next)) {
        looks_->Prepare(scheduleLabel_, f.status);
        estimateColumn_->PaintAhead(f.day);
    }
}

void DspMain::ShowWindows() {
    move(10, 10);
    setWindowTitle(QString::fromUtf8(" ■ 競技会情報(進行・結果)表示システム ") +
                   ui->Label25->text() + QStringLiteral(" >>> ") +
                   FromCp932(state_.Config.TopTitleLines[0]));
    if (!venue_->StartingUp()) audience_->show();
}

void DspMain::WarmUp() {
    if (!firstActivation_) stage_->WarmUp();
}

void DspMain::Timer1Timer() { clock_->Timer1Timer(); }

void DspMain::closeEvent(QCloseEvent* event) {
    if (ConfirmExit()) {
        BitBtn30Click();
    }
    event->ignore();
}

bool DspMain::ConfirmExit() {
    return Hooks().confirm(
        QString::fromUtf8("表示システムを終了しますか？\n会場の画面も消えます。"),
        QString::fromUtf8("終了の確認"));
}

namespace {

// A control that takes the keys as text: a writable line or text field, an editable combo box,
// and the folder panel's tree, which steps through folders with the same keys.
bool TakesTypedKeys(QWidget* w) {
    if (w == nullptr || !w->isVisible()) return false;
    if (auto* line = qobject_cast<QLineEdit*>(w)) return !line->isReadOnly();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) return !text->isReadOnly();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->isEditable();
    return qobject_cast<QAbstractItemView*>(w) != nullptr ||
           qobject_cast<QAbstractItemView*>(w->parentWidget()) != nullptr;
}

}  // namespace

bool DspMain::eventFilter(QObject* watched, QEvent* event) {
    // Closing a panel gives the keys back to the console, not to a field the panel leaves behind.
    if (watched == ui->Panel10 &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        scheduleLabel_->setVisible(event->type() == QEvent::Show);
    }
    if (event->type() == QEvent::Hide && (watched == ui->Panel6 || watched == ui->Panel4)) {
        ReturnFocus();
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return QWidget::eventFilter(watched, event);
    QWidget* window = widget->window();
    if (window != this && (audience_ == nullptr || window != audience_)) {
        return QWidget::eventFilter(watched, event);
    }
    // An open list (a combo box's) and a field being typed in keep their keys, also when a key
    // the field leaves travels on to its panel.
    if (QApplication::activePopupWidget() != nullptr || TakesTypedKeys(widget) ||
        TakesTypedKeys(QApplication::focusWidget())) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return QWidget::eventFilter(watched, event);
    }
    const int key = keyEvent->key();
    if (key == Qt::Key_PageDown || key == Qt::Key_Right || key == Qt::Key_B) {
        commands_->Step(true);
        return true;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_Left) {
        commands_->Step(false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DspMain::ReturnFocus() { setFocus(Qt::OtherFocusReason); }

void DspMain::BitBtn30Click() {
    if (sender() == ui->BitBtn30 && !ConfirmExit()) return;
    Hooks().exit(1);
}
