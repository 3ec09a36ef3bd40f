#include "app/console/presenter.h"

#include <QDir>
#include <QFileInfo>

#include "app/audience/venue_screen.h"
#include "app/console/console_hooks.h"
#include "app/console/stage.h"
#include "core/competition/indicator.h"
#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/competition/round_load_guard.h"
#include "core/competition/view_data.h"
#include "core/competition/view_types.h"
#include "core/data/data_file_names.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/programme_file.h"
#include "core/data/settings_file.h"
#include "core/display/clock_view.h"
#include "core/platform/cp932.h"
#include "core/platform/data_file.h"
#include "core/platform/file_read_recorder.h"

Presenter::Presenter(Competition& state, Stage& stage, StateNotifier& notifier)
    : s_(state), stage_(stage), notifier_(notifier) {}

bool Presenter::ReadStartSettings(const StartOptions& options) {
    s_.Config.TopFont = Sjis("AR P隷書体M");
    s_.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s_.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s_.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    // The program folder is the current directory at start: the settings file and the logo are
    // looked for there.
    s_.ProgramFolder = EncodePath(QDir::currentPath());
    s_.ClockText = "??:??";
    s_.SingleItemMode = 0;
    s_.HoldScreen = 0;
    s_.Config.BaseColor = 0x004000;

    const SettingsResult settings = ReadSettings(s_.ProgramFolder);
    offeredFolder_ = Hooks().rememberedDataFolder ? Hooks().rememberedDataFolder() : std::nullopt;
    s_.DataFolder = options.dataFolder ? *options.dataFolder : settings.DataFolder;
    s_.Config.Mod = settings.Mod;
    if (settings.FolderFound || options.dataFolder) return true;
    // The message names where it looked, what it uses instead, and what to do.
    const bool settingsFileThere =
        QFileInfo(DecodePath(s_.ProgramFolder) + u'/' + QLatin1String(kSettingsFileName)).isFile();
    const QString lookedFor =
        !settingsFileThere ? QString::fromUtf8("（この場所に TRQsys.ini がありません）")
        : settings.NamedFolder.empty() ? QString::fromUtf8("（TRQsys.ini に Path がありません）")
                                       : DecodePath(settings.NamedFolder);
    QString next = QString::fromUtf8("\n\nデータフォルダーを選んで「↓ Select」を押してください。");
    if (offeredFolder_) {
        next += QString::fromUtf8("\n前回使ったフォルダーを選んであります: %1").arg(*offeredFolder_);
    }
    next += QString::fromUtf8("\n「Cancel ×」なら、使うフォルダーのままです。");
    Hooks().showMessage(QString::fromUtf8("運用しているフォルダーが見つかりません。"
                                          "取りあえずの環境を選択します。\n\n"
                                          "探したフォルダー: %1\n使うフォルダー: %2")
                                .arg(lookedFor, DecodePath(s_.ProgramFolder)) +
                            next,
                        QString::fromUtf8(">>> データフォルダー"));
    s_.DataFolder = s_.ProgramFolder;
    return false;
}

void Presenter::RunStartUp(int designedScreenLeft, const std::function<void()>& showWindows) {
    s_.Config.ScreenLeft = designedScreenLeft;
    s_.Config.ScreenTop = kDesignedTop;
    ReadTables();
    ReloadProgramme();
    ShowResultList();

    // The window position of Conf.txt does not move the audience window at start.
    s_.Config.ScreenLeft = designedScreenLeft;
    Announce(StateChange::ScreenOffsets);

    // Both switches start on, set through their indicators.
    s_.LastDance = 0;
    ToggleIndicator(s_.LastDance);
    s_.DanceNameShown = 0;
    ToggleIndicator(s_.DanceNameShown);
    Announce(StateChange::LastDanceFlag | StateChange::DanceNameFlag);

    showWindows();
    Announce(StateChange::ScreenOffsets);

    s_.CurrentProgrammeIndex = 0;
    ShowCurrentProgrammeItem();
}

void Presenter::RedrawAudience() {
    if (!stage_.Bound()) return;
    RedrawTitleBanner();
    s_.ClockText = "??:??";
    if (s_.ClockShown == 1) ShowClockMinute(ClockMinuteText(Hooks().now()));
    ShowView(s_.CurrentView);
}

void Presenter::ReadTables() {
    const FileReadRecorder reads;
    ReloadDisplayConfig();
    LoadEntries(s_.DataFolder, s_);
    ReloadEvents();
    notifier_.Report({FileReport::Kind::Tables, reads.Reads()});
}

void Presenter::ReloadDisplayConfig() {
    if (!LoadDisplayConfig(s_.DataFolder, s_)) return;
    RedrawTitleBanner();
    Announce(StateChange::Config);
}

void Presenter::ReloadEvents() {
    if (LoadEvents(s_.DataFolder, s_)) Announce(StateChange::Events);
}

void Presenter::ShowView(int type) {
    if (type == kViewHeat && !roundReady_) return;
    const FileReadRecorder reads;
    const bool ready = ReadViewInputs(s_, type);
    if (!reads.Reads().empty()) notifier_.Report({FileReport::Kind::Tables, reads.Reads()});
    // The finalists' file is being written: the screen stays as it is.
    if (!ready) return;
    Present(type);
}

void Presenter::Present(int type) {
    stage_.DrawView(type);
    ApplyViewEffects(s_, type);
    Announce(StateChange::View);
    if (type == kViewHeat) drawAhead_.Post();
    const std::array<int, 6> item = {s_.CurrentProgrammeIndex, s_.CurrentEventIndex,
                                     s_.CurrentView,           s_.HoldScreen,
                                     s_.LastDance,             s_.DanceNameShown};
    if (item != itemAheadFor_) {
        itemAheadFor_ = item;
        drawItemAhead_.Post();
    }
}

void Presenter::DrawNextHeatAhead() {
    if (s_.CurrentView != kViewHeat || !roundReady_) return;
    bool nextHeat = false;
    WithNextHeat(s_, [this, &nextHeat] {
        stage_.DrawAhead(kViewHeat, s_, kNextHeatSlot);
        if (consoleAhead_) consoleAhead_(s_, false);
        nextHeat = true;
    });
    if (nextHeat) {
        // The next heat waits in the windows' buffers: the step only shows it.
        stage_.PrepareAhead(kNextHeatSlot);
        // The programme step drawn ahead at the round's start is compared with this heat now,
        // not when the operator takes it, and waits in the buffers where the heat does not:
        // taken, only the parts they share are copied.
        stage_.RebaseAhead(kNextItemSlot);
        stage_.PrepareAhead(kNextItemSlot, true);
    } else {
        DrawProgrammeStepAhead(true, true);
    }
}

void Presenter::DrawNextItemAhead() {
    const bool heatShown = s_.CurrentView == kViewHeat && roundReady_;
    bool nextHeat = false;
    if (heatShown) WithNextHeat(s_, [&nextHeat] { nextHeat = true; });
    DrawProgrammeStepAhead(heatShown, heatShown && !nextHeat);
    // The judges, asked for at any time, fifty names drawn afresh.
    if (s_.CurrentView != kViewJudges) stage_.DrawAhead(kViewJudges, s_, kJudgesSlot);
}

void Presenter::DrawProgrammeStepAhead(bool heatShown, bool roundsEnd) {
    const std::optional<ProgrammeStepPicture> next = PictureAfterProgrammeStep(s_);
    if (!next) return;
    stage_.DrawAhead(next->view, next->state, kNextItemSlot);
    if (consoleAhead_) consoleAhead_(next->state, true);
    // At the round's last heat the operator's next step is the programme's: its picture, drawn
    // over the screens' as they are, waits in the windows' buffers. Before, it waits beside the
    // next heat's.
    if (heatShown) stage_.PrepareAhead(kNextItemSlot, !roundsEnd);
}

void Presenter::LoadAndShowRound() {
    const FileReadRecorder reads;
    const GuardedRoundLoad round = LoadRoundIfReadable(s_);
    NoteRoundLoad(reads, round.load.loaded, round.unreadable);
    ShowLoadedRound(round.load);
}

void Presenter::NoteRoundLoad(const FileReadRecorder& reads, bool loaded, bool unreadable) {
    const RoundFileNames round =
        s_.CurrentEventIndex >= 0 ? RoundFilesOf(s_.CurrentEvent()) : RoundFileNames{};
    if (unreadable && round != loadedRound_) roundReady_ = false;
    if (loaded) {
        roundReady_ = true;
        loadedRound_ = round;
    }
    notifier_.Report({FileReport::Kind::Round, reads.Reads(), loaded, unreadable});
}

bool Presenter::ShowLoadedRound(const RoundLoad& load) {
    if (!load.loaded) return false;
    s_.CurrentRoundShuffled = s_.ShuffledHeats == 1;
    Announce(StateChange::Round);
    ShowView(kViewHeat);
    Announce(StateChange::LastDanceFlag);
    if (load.rowsDropped > 0) {
        stage_.AppendMemoLine(
            QStringLiteral(u"ヒート表は50行まで: %1 行を読み捨てました").arg(load.rowsDropped));
    }
    return true;
}

bool Presenter::ShowFinalResult() {
    const FileReadRecorder reads;
    const bool read = ReadFinalResult(s_);
    notifier_.Report({FileReport::Kind::FinalResult, reads.Reads(), read});
    if (!read) return false;
    Present(kViewFinalResult);
    return true;
}

void Presenter::ShowCurrentProgrammeItem() {
    if (ShowProgrammeItem(s_).shown) Announce(StateChange::ProgrammeItem);
}

void Presenter::FollowProgrammeItem(bool forward) { Follow(forward, std::nullopt); }

void Presenter::ReleaseHold() {
    const HeatPosition prepared = CurrentHeatPosition(s_);
    ShowCurrentProgrammeItem();
    Follow(true, prepared);
}

void Presenter::Follow(bool forward, const std::optional<HeatPosition>& keep) {
    const FileReadRecorder reads;
    const FollowActions a = PlanFollowProgrammeItem(s_, forward, s_.ResultLinkChecked, keep);
    NoteRoundLoad(reads, a.reloadRound, a.roundUnreadable);
    // A round loaded for the new item is shown as its heat view, which is then the current view:
    // the picture is drawn once.
    const bool roundShown = a.reloadRound && ShowLoadedRound(a.round);
    if (!roundShown) ShowView(s_.CurrentView);
    Announce(StateChange::ProgrammeList);
    ShowLinks(a);
}

void Presenter::ShowFollowLinks() { ShowLinks(RefreshFollowLinks(s_, s_.ResultLinkChecked)); }

void Presenter::ShowLinks(const FollowActions& a) {
    s_.CurrentRoundShuffled = a.hasEvent && a.shuffleShown;
    Announce(StateChange::RoundShuffle);
    if (a.resultCategory > 0) SelectResultCategory(a.resultCategory);
}

void Presenter::ReloadProgramme() {
    const FileReadRecorder reads;
    const bool read = ReadProgramme(s_.DataFolder, s_);
    notifier_.Report({FileReport::Kind::Tables, reads.Reads()});
    // A programme that cannot be read changes nothing on the audience screen.
    if (read) ShowView(kViewProgressMessage);
    Announce(StateChange::Programme);
}

void Presenter::RedrawTitleBanner() { stage_.DrawTitleBanner(); }

void Presenter::SelectResultCategory(int category) {
    const int row = ResultListRowOf(s_, category, s_.ResultListRowCount);
    if (row < 0) return;
    s_.ResultListRow = row;
    Announce(StateChange::ResultRow);
}

void Presenter::SetResultRows(const std::vector<std::string>& rows) {
    s_.ResultListRowCount = 0;
    for (const std::string& row : rows) {
        if (s_.ResultListRowCount >= kResultListRows) break;
        s_.ResultListRows[s_.ResultListRowCount++] = row;
    }
}

void Presenter::ShowResultList() {
    SetResultRows(FillResultList(s_, s_.ResultListByCategory));
    Announce(StateChange::ResultList);
}

void Presenter::DataReset() {
    ReadTables();
    // The rows of every category; the categories they stand for stay as they were.
    SetResultRows(DataResetResultRows(s_));
    Announce(StateChange::ResultListReset);
    ReloadProgramme();
    Announce(StateChange::TablesReloaded);
}

void Presenter::ShowAnnouncement(int kind, const std::string& text) {
    s_.AnnouncementKind = kind;
    s_.AnnouncementText = text;
    stage_.DrawAnnouncement(kind, text);
    Announce(StateChange::Announcement);
}

void Presenter::ShowClockMinute(const QString& hhmm) {
    if (!stage_.HasAudience()) return;
    if (hhmm == QString::fromStdString(s_.ClockText)) return;
    s_.ClockText = hhmm.toStdString();
    stage_.DrawClock(hhmm);
}
