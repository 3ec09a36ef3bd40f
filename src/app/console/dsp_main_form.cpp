#include "app/console/dsp_main_form.h"

#include "core/platform/data_file.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/console/award_controller.h"
#include "core/data/entry_files.h"
#include "app/console/event_chooser_controller.h"
#include "core/competition/indicator.h"
#include "core/data/programme_file.h"
#include "core/competition/programme_item.h"
#include "core/display/programme_list.h"
#include "app/console/programme_list_controller.h"
#include "app/console/progress_controller.h"
#include "app/console/view_commands_controller.h"
#include "app/audience/scr_form.h"
#include "core/display/title_banner.h"
#include "core/display/view_types.h"
#include "core/platform/cp932.h"
#include "core/platform/font_substitution.h"
#include "core/platform/text_utils.h"
#include "app/console/console_hooks.h"
#include "core/data/display_config_file.h"
#include "app/console/folder_panel.h"
#include "app/console/maintenance_panel.h"
#include "core/data/settings_file.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/button_glyphs.h"
#include "app/widgets/image_control.h"
#include "app/widgets/widget_colors.h"

namespace {

const QColor kPanel9Background(157, 232, 157);
const QColor kTeal(0, 128, 128);

int PrimaryScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 1024;
}

}  // namespace

DspMain::DspMain(const StartOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::DspMain>()) {
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
    ui->ComboBox1->setCurrentIndex(ui->ComboBox1->count() > 0 ? 0 : -1);

    state_.Config.BaseColor = 0x004000;
    ui->Label25->setText(QStringLiteral("( Ver. 3.10 - '16.09.15 )"));

    state_.Config.Mod = 1000;
    const SettingsResult settings = ReadSettings(state_.ProgramFolder);
    state_.DataFolder = settings.DataFolder;
    if (options.dataFolder) state_.DataFolder = *options.dataFolder;
    if (!settings.FolderFound && !options.dataFolder) {
        Hooks().showMessage(QString::fromUtf8("運用しているフォルダーが見つかりません。"
                                              "取りあえずの環境を選択します。"),
                            QString::fromUtf8(">>> データフォルダー"));
        state_.DataFolder = state_.ProgramFolder;
    }
    ui->Label61->setText(DecodePath(state_.DataFolder));
    state_.Config.Mod = settings.Mod;
    ui->Label101->setText(QString::number(state_.Config.Mod));
    ui->Label101->setVisible(state_.Config.Mod < 1000);

    ApplyFontFields();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(900);
    connect(timer1_, &QTimer::timeout, this, &DspMain::Timer1Timer);

    connect(ui->BitBtn30, &QPushButton::clicked, this, &DspMain::BitBtn30Click);
    folderPanel_ = std::make_unique<FolderPanel>(*this);
    maintenancePanel_ = std::make_unique<MaintenancePanel>(*this);
    programmeList_ = std::make_unique<ProgrammeListController>(*this);
    progress_ = std::make_unique<ProgressController>(*this);
    viewCommands_ = std::make_unique<ViewCommandsController>(*this);
    award_ = std::make_unique<AwardController>(*this);
    eventChooser_ = std::make_unique<EventChooserController>(*this);
}

DspMain::~DspMain() = default;

void DspMain::NameCanvases() {
    for (ImageControl* image : findChildren<ImageControl*>()) {
        image->SetCanvasName(QStringLiteral("DspMain.") + image->objectName());
    }
}

void DspMain::AttachAudience(ScrForm* audience) {
    audience_ = audience;
    ui->Image4->SetPicture(audience_->Logo());
}

void DspMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void DspMain::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    move(x(), 0);
    while (audience_ == nullptr || !audience_->Ready()) {
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    RunStartUp();
    viewCommands_->BitBtn2Click();
}

void DspMain::RunStartUp() {
    state_.Config.ScreenLeft = PrimaryScreenWidth() - 4;
    state_.Config.ScreenTop = -30;
    renderer_.Bind({&audience_->NormalSurface(), &ui->Image1->canvas(), &audience_->WideSurface(),
                    &ui->ImageW->canvas()},
                   this);
    LoadDisplayConfig();
    ::LoadEntries(state_.DataFolder, state_);
    LoadEvents();
    LoadProgramme();
    FillResultList();

    // The window position of Conf.txt does not move the audience window at start.
    state_.Config.ScreenLeft = PrimaryScreenWidth() - 4;
    MoveAudienceWindow();
    ui->Edit1->setText(QString::number(state_.Config.ScreenLeft));
    ui->Edit3->setText(QString::number(state_.Config.ScreenTop));

    state_.LastDance = 0;
    ToggleIndicator(state_.LastDance, ui->Label29);
    state_.DanceNameShown = 0;
    ToggleIndicator(state_.DanceNameShown, ui->Label91);

    move(10, 10);
    setWindowTitle(QString::fromUtf8(" ■ 競技会情報(進行・結果)表示システム ") +
                   ui->Label25->text() + QStringLiteral(" >>> ") +
                   FromCp932(state_.Config.TopTitleLines[0]));

    audience_->show();
    MoveAudienceWindow();

    state_.CurrentProgrammeIndex = 0;
    ShowProgrammeItem();
}

void DspMain::Timer1Timer() {
    // Clock mode is the only user of the timer; it stays off until the clock is switched on.
}

void DspMain::RenderView(int type) {
    renderer_.RenderView(type);
    if (type == kViewHeat) {
        ui->Label5->setText(QString::number(state_.HeatIndex + 1));
        ui->Label92->setText(QString::number(state_.DanceIndex + 1));
    }
    ui->Image1->update();
    ui->ImageW->update();
    audience_->RefreshSurfaces();
}

void DspMain::ShowAudienceSurface(bool wide) { audience_->ShowWide(wide); }

void DspMain::ShowPreviewSurface(bool wide) {
    ui->Panel1->setVisible(!wide);
    ui->PanelW->setVisible(wide);
}

void DspMain::ClearMemo() { ui->Memo1->clear(); }

void DspMain::LoadDisplayConfig() {
    if (!::LoadDisplayConfig(state_.DataFolder, state_)) return;
    DrawTitleBanner();
    ui->Edit1->setText(QString::number(state_.Config.ScreenLeft));
    const auto titles = TitleEdits();
    for (int i = 0; i < 3; ++i) {
        titles[i]->setText(FromCp932(state_.Config.TopTitleLines[i]));
        titles[i + 3]->setText(FromCp932(state_.Config.WelcomeTitleLines[i]));
    }
}

void DspMain::DrawTitleBanner() {
    ::DrawTitleBanner(state_, audience_->BannerSurface(), ui->Image2->canvas());
    ui->Image2->update();
    audience_->RefreshSurfaces();
}

void DspMain::LoadEvents() {
    if (!::LoadEvents(state_.DataFolder, state_)) return;
    ui->ComboBox3->clear();
    for (int i = 0; i < state_.EventCount && i < kEventRows; ++i) {
        ui->ComboBox3->addItem(FromCp932(state_.EventNames[i]));
    }
    ui->ComboBox3->setCurrentIndex(ui->ComboBox3->count() > 0 ? 0 : -1);
}

void DspMain::LoadProgramme() {
    ::ReadProgramme(state_.DataFolder, state_);
    RenderView(kViewProgressMessage);
    ui->Image6->SetBitmapSize(420, 4000);
    ui->Image6->move(4, 0);
    DrawProgrammeList();
    ui->ScrollBar1->setMaximum(std::max(0, state_.ProgrammeCount - 15));
}

void DspMain::DrawProgrammeList() {
    ::DrawProgrammeList(state_, ui->Image6->canvas());
    ui->Image6->update();
}

void DspMain::ShowProgrammeItem() {
    const ProgrammeItemLabels l = ::ShowProgrammeItem(state_);
    if (!l.shown) return;
    for (QWidget* w : {static_cast<QWidget*>(ui->Label71), static_cast<QWidget*>(ui->Label72),
                       static_cast<QWidget*>(ui->Label73), static_cast<QWidget*>(ui->Label68)}) {
        w->setVisible(l.secondFloor);
    }
    ui->Label70->setText(FromCp932(l.label70));
    ui->Label71->setText(FromCp932(l.label71));
    ui->Label68->setText(FromCp932(l.label68));
    ui->Label67->setText(FromCp932(l.label67));
    ui->GroupBox2->setVisible(l.groupsShown);
    ui->GroupBox3->setVisible(l.groupsShown);
    ui->BitBtn14->setEnabled(l.finalEnabled);
    ui->ScrollBar1->setValue(l.scrollPosition);
    if (!l.groupsShown) return;
    const std::pair<QLabel*, const std::string*> texts[] = {
        {ui->Label8, &l.label8},   {ui->Label4, &l.label4},   {ui->Label9, &l.label9},
        {ui->Label18, &l.label18}, {ui->Label10, &l.label10}, {ui->Label11, &l.label11},
        {ui->Label26, &l.label26}, {ui->Label12, &l.label12}, {ui->Label13, &l.label13}};
    for (const auto& [label, text] : texts) label->setText(FromCp932(*text));
}

void DspMain::FollowProgrammeItem(bool forward) {
    const FollowActions a = PlanFollowProgrammeItem(state_, forward, ui->CheckBox2->isChecked(),
                                                    ui->ComboBox1->count());
    if (a.switchToMessage) HighlightViewLabel(ui->Label77);
    if (a.reloadRound) progress_->ShowRoundLoad(a.round);
    RenderView(state_.CurrentView);
    DrawProgrammeList();
    ApplyFollowLinks(a);
}

void DspMain::ApplyFollowLinks(const FollowActions& a) {
    ui->Label31->setVisible(a.hasEvent && a.shuffleShown);
    if (a.resultRowToSelect >= 0 && a.resultRowToSelect < ui->ComboBox1->count()) {
        ui->ComboBox1->setCurrentIndex(a.resultRowToSelect);
        award_->ClearResultPreview();
    }
}

void DspMain::FillResultList() { award_->FillResultList(); }

void DspMain::LoadRound() { progress_->ShowRoundLoad(::LoadRound(state_)); }

void DspMain::HighlightViewLabel(QLabel* label) {
    for (QLabel* l :
         {ui->Label74, ui->Label75, ui->Label76, ui->Label77, ui->Label78, ui->Label79}) {
        if (l == label) {
            SetColors(l, QColor(255, 0, 0), Qt::white);
        } else {
            SetColors(l, kPanel9Background, kTeal);
        }
    }
}

void DspMain::DataReset() {
    LoadDisplayConfig();
    ::LoadEntries(state_.DataFolder, state_);
    LoadEvents();
    award_->FillDataResetRows();
    LoadProgramme();
    ApplyFontFields();
    const auto titles = TitleEdits();
    for (int i = 0; i < 3; ++i) {
        state_.Config.TopTitleLines[i] = TrimBlanks(ToCp932(titles[i]->text()));
        state_.Config.WelcomeTitleLines[i] = TrimBlanks(ToCp932(titles[i + 3]->text()));
    }
    ui->Panel6->hide();
    ui->Panel8->show();
}

std::array<QLineEdit*, 6> DspMain::TitleEdits() const {
    return {ui->Edit4, ui->Edit5, ui->Edit6, ui->Edit7, ui->Edit8, ui->Edit9};
}

void DspMain::ApplyFontFields() {
    state_.Config.TopFont = ToCp932(ui->Edit11->text());
    state_.Config.TitleFont = ToCp932(ui->Edit10->text());
    state_.Config.MsgFont = ToCp932(ui->Edit13->text());
    state_.Config.DataFont = ToCp932(ui->Edit2->text());
}

void DspMain::ShowIndicator(QLabel* label, int flag) {
    const IndicatorLook look = LookOf(flag);
    label->setText(QString::fromLatin1(look.text));
    SetColors(label, look.background, look.foreground);
}

void DspMain::ToggleIndicator(int& flag, QLabel* label) {
    ::ToggleIndicator(flag);
    ShowIndicator(label, flag);
}

void DspMain::MoveAudienceWindow() {
    if (audience_ != nullptr) audience_->move(state_.Config.ScreenLeft, state_.Config.ScreenTop);
}

void DspMain::ShowHoldBanner() { ui->Panel12->setVisible(state_.HoldScreen == 1); }

void DspMain::BitBtn30Click() {
    // Ends at once: nothing is ever saved, so there is nothing to wind down.
    std::fflush(nullptr);
    std::_Exit(1);
}
