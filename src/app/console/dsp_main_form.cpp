#include "app/console/dsp_main_form.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "app/audience/scr_form.h"
#include "app/console/announcements_controller.h"
#include "app/console/award_controller.h"
#include "app/console/clock_controller.h"
#include "app/console/console_hooks.h"
#include "app/console/data_watch_controller.h"
#include "app/console/console_tooltips.h"
#include "app/console/event_chooser_controller.h"
#include "app/console/folder_panel.h"
#include "app/console/maintenance_panel.h"
#include "app/console/operator_commands.h"
#include "app/console/programme_list_controller.h"
#include "app/console/progress_controller.h"
#include "app/console/venue_controller.h"
#include "app/console/view_commands_controller.h"
#include "app/widgets/button_glyphs.h"
#include "app/widgets/image_control.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/indicator.h"
#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/programme_file.h"
#include "core/data/settings_file.h"
#include "core/display/clean_view.h"
#include "core/display/message_screen.h"
#include "core/display/title_banner.h"
#include "core/display/view_types.h"
#include "core/platform/cp932.h"
#include "core/platform/data_file.h"
#include "core/platform/file_read_recorder.h"
#include "core/platform/font_substitution.h"
#include "ui_dsp_main_form.h"

namespace {

const QColor kPanel9Background(157, 232, 157);

// The console's name of a view type, as the operator knows it from the buttons.
QString ViewName(int type) {
    static const char* const kNames[] = {"Clean", "Title",         "Judge",        "Heat",
                                         "Final", "Ready（結果）", "Go !（表彰）", "Msg"};
    return type >= 0 && type < 8 ? QString::fromUtf8(kNames[type]) : QString();
}

}  // namespace

DspMain::DspMain(Competition& state, const StartOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::DspMain>()),
      state_(state) {
    InstallFontSubstitutions();
    ui->setupUi(this);
    setObjectName(QStringLiteral("DspMain"));
    ApplyButtonGlyphs(this);
    NameCanvases();

    state_.Config.TopFont = Sjis("AR P隷書体M");
    state_.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    state_.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    state_.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");

    // The program folder is the current directory at start: the settings file and the logo
    // are looked for there.
    state_.ProgramFolder = EncodePath(QDir::currentPath());
    state_.ClockText = "??:??";
    state_.SingleItemMode = 0;
    state_.HoldScreen = 0;

    setFixedWidth(948);
    move(0, 0);
    ui->Panel6->hide();
    ui->Panel4->hide();
    ui->PanelW->hide();

    state_.Config.BaseColor = 0x004000;
    ui->Label25->setText(QStringLiteral("( Ver. 3.10 - '16.09.15 )"));

    state_.Config.Mod = 1000;
    const SettingsResult settings = ReadSettings(state_.ProgramFolder);
    state_.DataFolder = settings.DataFolder;
    if (options.dataFolder) state_.DataFolder = *options.dataFolder;
    if (!settings.FolderFound && !options.dataFolder) {
        // The message names where it looked and what it uses instead.
        const QString lookedFor =
            settings.NamedFolder.empty()
                ? QString::fromUtf8("（TRQsys.ini に Path がありません）")
                : DecodePath(settings.NamedFolder);
        Hooks().showMessage(QString::fromUtf8("運用しているフォルダーが見つかりません。"
                                              "取りあえずの環境を選択します。\n\n"
                                              "探したフォルダー: %1\n使うフォルダー: %2")
                                .arg(lookedFor, DecodePath(state_.ProgramFolder)),
                            QString::fromUtf8(">>> データフォルダー"));
        state_.DataFolder = state_.ProgramFolder;
    }
    state_.Config.Mod = settings.Mod;
    ui->Label101->setText(QString::number(state_.Config.Mod));
    ui->Label101->setVisible(state_.Config.Mod < 1000);

    connect(ui->BitBtn30, &QPushButton::clicked, this, &DspMain::BitBtn30Click);

    auto* onAir = new QLabel(ui->Panel7);
    onAir->setObjectName(QStringLiteral("OnAirLabel"));
    // Beside the version line, in the top panel: always in sight.
    onAir->setGeometry(268, 27, 148, 18);
    QFont small = onAir->font();
    small.setPointSize(8);
    onAir->setFont(small);
    onAir->setAutoFillBackground(true);
    venue_ = std::make_unique<VenueController>(
        options, state_, onAir, [this] { RedrawAudience(); }, this);
    ApplyConsoleTooltips(this);
    qApp->installEventFilter(this);

    CreateControllers();
    folderPanel_->ShowDataFolder();
    // Started without a data folder (from the desktop menu, say), the folder panel asks for one;
    // it stays open over the console without holding up the start.
    if (!settings.FolderFound && !options.dataFolder) folderPanel_->Label59MouseDown();
    maintenancePanel_->TakeOverFontFields();
}

DspMain::~DspMain() = default;

void DspMain::CreateControllers() {
    Ui::DspMain& f = *ui;
    ConsoleOperations& ops = *this;
    commands_ = std::make_unique<OperatorCommands>(state_, ops);
    OperatorCommands& commands = *commands_;
    folderPanel_ = std::make_unique<FolderPanel>(
        FolderControls{f.Label59, f.Label60, f.Label61, f.Panel4, f.DriveComboBox1,
                       f.DirectoryListBox1, f.Button22, f.Button30},
        state_, ops, commands, this);
    maintenancePanel_ =
        std::make_unique<MaintenancePanel>(MaintenanceControls{f.Panel6,
                                                               f.Panel8,
                                                               f.BitBtn29,
                                                               f.BitBtn31,
                                                               f.BitBtn19,
                                                               f.Button26,
                                                               f.Button27,
                                                               f.Button28,
                                                               f.Button29,
                                                               f.Edit1,
                                                               f.Edit3,
                                                               {f.Edit4, f.Edit5, f.Edit6},
                                                               {f.Edit7, f.Edit8, f.Edit9},
                                                               f.Edit10,
                                                               f.Edit11,
                                                               f.Edit13,
                                                               f.Edit2,
                                                               f.Edit12},
                                           state_, ops, commands, this);
    programmeList_ = std::make_unique<ProgrammeListController>(
        ProgrammeListControls{f.BitBtn16, f.Image6, f.ScrollBar1, f.BitBtn33, f.BitBtn18,
                              f.Panel10},
        state_, commands, this);
    progress_ = std::make_unique<ProgressController>(
        ProgressControls{f.BitBtn5,
                         f.BitBtn28,
                         f.Button20,
                         f.Button1,
                         f.Label70,
                         f.Label71,
                         f.Label72,
                         f.Label73,
                         f.Label67,
                         f.Label68,
                         f.GroupBox2,
                         f.GroupBox3,
                         f.Label8,
                         f.Label4,
                         f.Label9,
                         f.Label18,
                         f.Label10,
                         f.Label11,
                         f.Label26,
                         f.Label12,
                         f.Label13,
                         f.Label5,
                         f.Label92,
                         f.Label31,
                         f.GroupBox5,
                         f.GroupBox6,
                         f.GroupBox8,
                         {f.Label41, f.Label42, f.Label45, f.Label46, f.Label47, f.Label50,
                          f.Label51, f.Label52, f.Label53, f.Label54},
                         {f.Label103, f.Label104, f.Label105, f.Label106, f.Label107},
                         f.Label48,
                         f.Label55,
                         f.Label108},
        state_, commands, this);
    viewCommands_ = std::make_unique<ViewCommandsController>(
        ViewCommandControls{f.BitBtn2, f.BitBtn1, f.BitBtn3, f.BitBtn4, f.BitBtn14, f.Button12,
                            f.Button17, f.D_TypeS, f.D_TypeB},
        state_, commands, this);
    award_ = std::make_unique<AwardController>(
        AwardControls{f.ComboBox1, f.RadioButton4, f.RadioButton5, f.BitBtn21, f.BitBtn13,
                      f.BitBtn15, f.RadioButton1, f.RadioButton2, f.RadioButton3, f.Image5},
        state_, commands, this);
    eventChooser_ = std::make_unique<EventChooserController>(
        EventChooserControls{f.ComboBox3, f.Button15, f.Button16, f.CheckBox1, f.CheckBox2}, state_,
        ops, this);
    announcements_ = std::make_unique<AnnouncementsController>(
        AnnouncementControls{{f.BitBtn6, f.BitBtn7, f.BitBtn8, f.BitBtn9, f.BitBtn10, f.BitBtn12,
                              f.BitBtn20, f.BitBtn17},
                             f.BitBtn11,
                             f.Edit14},
        commands, this);
    clock_ = std::make_unique<ClockController>(
        ClockControls{f.BitBtn32, f.Image4, f.Panel3, f.Image3}, state_, commands, this);
    dataWatch_ = std::make_unique<DataWatchController>(
        DataWatchControls{f.Panel9, f.Panel8, f.Label7, f.BitBtn5, f.BitBtn13}, state_, this);
}

void DspMain::NameCanvases() {
    for (ImageControl* image : findChildren<ImageControl*>()) {
        image->SetCanvasName(QStringLiteral("DspMain.") + image->objectName());
    }
}

void DspMain::AttachAudience(ScrForm* audience) {
    audience_ = audience;
    ui->Image4->SetPicture(audience_->Logo());
    venue_->SetAudience(audience_);
    clock_->SetAudience(audience_);
    if (startUpWaiting_) {
        startUpWaiting_ = false;
        FormActivate();
    }
}

void DspMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void DspMain::FormActivate() {
    if (!firstActivation_) return;
    if (audience_ == nullptr) {
        // The start-up draws on the audience window: it runs once that window is there.
        startUpWaiting_ = true;
        return;
    }
    firstActivation_ = false;
    move(x(), 0);
    RunStartUp();
    commands_->Clean();
}

void DspMain::RunStartUp() {
    state_.Config.ScreenLeft = venue_->DesignedScreenLeft();
    state_.Config.ScreenTop = kDesignedTop;
    renderer_.Bind({&audience_->NormalSurface(), &ui->Image1->canvas(), &audience_->WideSurface(),
                    &ui->ImageW->canvas()},
                   this);
    const FileReadRecorder reads;
    ReloadDisplayConfig();
    LoadEntries(state_.DataFolder, state_);
    ReloadEvents();
    dataWatch_->NoteReads(reads);
    ReloadProgramme();
    award_->ShowResultList();

    // The window position of Conf.txt does not move the audience window at start.
    state_.Config.ScreenLeft = venue_->DesignedScreenLeft();
    MoveAudienceWindow();
    maintenancePanel_->ShowOffsets();

    state_.LastDance = 0;
    ToggleIndicator(state_.LastDance);
    ShowIndicator(Indicator::LastDance, state_.LastDance);
    state_.DanceNameShown = 0;
    ToggleIndicator(state_.DanceNameShown);
    ShowIndicator(Indicator::DanceName, state_.DanceNameShown);

    move(10, 10);
    setWindowTitle(QString::fromUtf8(" ■ 競技会情報(進行・結果)表示システム ") +
                   ui->Label25->text() + QStringLiteral(" >>> ") +
                   FromCp932(state_.Config.TopTitleLines[0]));

    audience_->show();
    MoveAudienceWindow();

    state_.CurrentProgrammeIndex = 0;
    ShowCurrentProgrammeItem();
}

void DspMain::Timer1Timer() { clock_->Timer1Timer(); }

OperatorCommands& DspMain::Commands() { return *commands_; }

void DspMain::ShowView(int type) {
    // Without the round of the current programme read, the heat view would show other heats (or
    // "Heat-0") under this event's header: the audience keeps its picture.
    if (type == kViewHeat && !dataWatch_->HeatViewReady()) return;
    renderer_.RenderView(type);
    if (type == kViewHeat) progress_->ShowHeatPosition();
    if (type == kViewFinalResult) award_->ShowResultPreview();
    // The marked view label and the on-air line name what the venue sees; while the screen is
    // held that is the frozen picture, and only the preview follows.
    static const std::pair<int, ViewLabel> kLabels[] = {
        {kViewClean, ViewLabel::Clean},     {kViewWelcome, ViewLabel::Title},
        {kViewJudges, ViewLabel::Judge},    {kViewHeat, ViewLabel::Heat},
        {kViewFinalists, ViewLabel::Final}, {kViewProgressMessage, ViewLabel::Msg}};
    const bool held = state_.HoldScreen == 1;
    if (!held) {
        for (const auto& [view, label] : kLabels) {
            if (view == type) HighlightViewLabel(label);
        }
        venueView_ = ViewName(type);
    }
    venue_->ShowOnAir(venueView_, ViewName(type), held);
    ui->Image1->UpdateIfDrawn();
    ui->ImageW->UpdateIfDrawn();
    audience_->RefreshSurfaces();
}

void DspMain::ShowAudienceSurface(bool wide) { audience_->ShowWide(wide); }

void DspMain::ShowPreviewSurface(bool wide) {
    if (ui->Panel1->isHidden() == !wide) ui->Panel1->setVisible(!wide);
    if (ui->PanelW->isHidden() == wide) ui->PanelW->setVisible(wide);
}

void DspMain::ClearMemo() { ui->Memo1->clear(); }

void DspMain::ReloadDisplayConfig() {
    if (!LoadDisplayConfig(state_.DataFolder, state_)) return;
    RedrawTitleBanner();
    maintenancePanel_->ShowConfigFields();
}

void DspMain::RedrawTitleBanner() {
    DrawTitleBanner(state_, audience_->BannerSurface(), ui->Image2->canvas());
    ui->Image2->update();
    audience_->RefreshSurfaces();
}

void DspMain::ReloadEvents() {
    if (LoadEvents(state_.DataFolder, state_)) eventChooser_->ShowEvents();
}

void DspMain::ReloadProgramme() {
    const FileReadRecorder reads;
    const bool read = ReadProgramme(state_.DataFolder, state_);
    dataWatch_->NoteReads(reads);
    // A programme that cannot be read changes nothing on the audience screen.
    if (read) ShowView(kViewProgressMessage);
    programmeList_->ShowProgramme();
}

void DspMain::RedrawProgrammeList() { programmeList_->Redraw(); }

void DspMain::ShowCurrentProgrammeItem() {
    const ProgrammeItemLabels l = ShowProgrammeItem(state_);
    if (!l.shown) return;
    progress_->ShowItem(l);
    viewCommands_->EnableFinal(l.finalEnabled);
    programmeList_->ScrollTo(l.scrollPosition);
}

void DspMain::FollowProgrammeItem(bool forward) {
    const FileReadRecorder reads;
    const FollowActions a =
        PlanFollowProgrammeItem(state_, forward, eventChooser_->ResultLinkChecked());
    dataWatch_->NoteRoundLoad(reads, a.reloadRound, a.roundUnreadable);
    if (a.switchToMessage) HighlightViewLabel(ViewLabel::Msg);
    if (a.reloadRound) ShowLoadedRound(a.round);
    ShowView(state_.CurrentView);
    programmeList_->Redraw();
    progress_->ShowShuffleLabel(a.hasEvent && a.shuffleShown);
    if (a.resultCategory > 0) award_->SelectCategory(a.resultCategory);
}

void DspMain::ShowFollowLinks() {
    const FollowActions a = RefreshFollowLinks(state_, eventChooser_->ResultLinkChecked());
    progress_->ShowShuffleLabel(a.hasEvent && a.shuffleShown);
    if (a.resultCategory > 0) award_->SelectCategory(a.resultCategory);
}

void DspMain::LoadAndShowRound() { ShowLoadedRound(dataWatch_->LoadRound()); }

bool DspMain::ShowFinalResult() {
    return dataWatch_->ShowFinalResult([this] { ShowView(kViewFinalResult); });
}

void DspMain::ShowLoadedRound(const RoundLoad& load) {
    if (!load.loaded) return;
    progress_->ShowRoundLoad(load);
    ShowView(kViewHeat);
    ShowIndicator(Indicator::LastDance, state_.LastDance);
    if (load.rowsDropped > 0) {
        AppendMemoLine(
            QStringLiteral(u"ヒート表は50行まで: %1 行を読み捨てました").arg(load.rowsDropped));
    }
}

void DspMain::AppendMemoLine(const QString& line) { ui->Memo1->appendPlainText(line); }

void DspMain::HighlightViewLabel(ViewLabel label) {
    const std::pair<ViewLabel, QLabel*> labels[] = {
        {ViewLabel::Title, ui->Label74}, {ViewLabel::Clean, ui->Label75},
        {ViewLabel::Judge, ui->Label76}, {ViewLabel::Msg, ui->Label77},
        {ViewLabel::Heat, ui->Label78},  {ViewLabel::Final, ui->Label79}};
    for (const auto& [which, l] : labels) {
        if (which == label) {
            SetColors(l, QColor(255, 0, 0), Qt::white);
        } else {
            SetColors(l, kPanel9Background, kTeal);
        }
    }
}

void DspMain::ShowIndicator(Indicator indicator, int flag) {
    QLabel* label = nullptr;
    switch (indicator) {
        case Indicator::Hold:
            label = ui->Label3;
            break;
        case Indicator::SingleItem:
            label = ui->Label21;
            break;
        case Indicator::Clock:
            label = ui->Label63;
            break;
        case Indicator::LastDance:
            label = ui->Label29;
            break;
        case Indicator::DanceName:
            label = ui->Label91;
            break;
    }
    const IndicatorLook look = LookOf(flag);
    label->setText(QString::fromLatin1(look.text));
    SetColors(label, look.background, look.foreground);
}

void DspMain::ShowHoldBanner(bool shown) { ui->Panel12->setVisible(shown); }

void DspMain::ShowHeatsFigure() { progress_->ShowHeatsFigure(); }

void DspMain::SelectResultCategory(int category) { award_->SelectCategory(category); }

void DspMain::DataReset() {
    const FileReadRecorder reads;
    ReloadDisplayConfig();
    LoadEntries(state_.DataFolder, state_);
    ReloadEvents();
    dataWatch_->NoteReads(reads);
    award_->ShowDataResetRows();
    ReloadProgramme();
    maintenancePanel_->TakeOverFontFields();
    maintenancePanel_->TakeOverTitleFields();
    maintenancePanel_->Close();
}

void DspMain::MoveAudienceWindow() { venue_->Place(); }

void DspMain::RedrawAudience() {
    if (!renderer_.Bound()) return;
    RedrawTitleBanner();
    state_.ClockText = "??:??";
    if (state_.ClockShown == 1) clock_->Timer1Timer();
    ShowView(state_.CurrentView);
}

void DspMain::closeEvent(QCloseEvent* event) {
    if (ConfirmExit()) {
        BitBtn30Click();
    }
    event->ignore();
}

bool DspMain::ConfirmExit() {
    return Hooks().confirm(QString::fromUtf8("表示システムを終了しますか？\n会場の画面も消えます。"),
                           QString::fromUtf8("終了の確認"));
}

bool DspMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return QWidget::eventFilter(watched, event);
    // Keys that edit text stay with the fields and lists that take them.
    if (qobject_cast<QLineEdit*>(widget) != nullptr ||
        qobject_cast<QComboBox*>(widget) != nullptr ||
        qobject_cast<QAbstractItemView*>(widget) != nullptr ||
        qobject_cast<QAbstractItemView*>(widget->parentWidget()) != nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
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

void DspMain::ShowAnnouncement(int kind, const std::string& text) {
    ShowMessageScreen(state_, renderer_, kind, text);
    // No view label names an announcement; the on-air line does.
    const bool held = state_.HoldScreen == 1;
    if (!held) venueView_ = QString::fromUtf8("お知らせ");
    venue_->ShowOnAir(venueView_, QString::fromUtf8("お知らせ"), held);
    ui->Image1->UpdateIfDrawn();
    audience_->RefreshSurfaces();
}

void DspMain::ShowClock(bool shown) { clock_->Show(shown); }

void DspMain::BitBtn30Click() {
    if (sender() == ui->BitBtn30 && !ConfirmExit()) return;
    // Ends at once: nothing is ever saved, so there is nothing to wind down.
    std::fflush(nullptr);
    std::_Exit(1);
}
