#pragma once
// Puts the competition on the screens: the steps the operator commands share (ConsoleOperations),
// each reading the files it needs once, drawing through the stage, applying its effects to the
// state and announcing what changed. Also the start-up sequence and the redraw after the venue
// screen's scale changed.

#include <array>
#include <functional>
#include <optional>

#include "app/console/app_start.h"
#include "app/console/console_operations.h"
#include "app/widgets/after_repaint.h"
#include "core/competition/competition_state.h"
#include "core/competition/progress.h"
#include "core/competition/state_notifier.h"
#include "core/data/data_file_names.h"

class FileReadRecorder;
class Stage;
struct FollowActions;
struct RoundLoad;

class Presenter : public ConsoleOperations {
  public:
    Presenter(Competition& state, Stage& stage, StateNotifier& notifier);

    // The state at start: the design fonts, the program folder (the current directory), the data
    // folder and Mod of its settings file (or the data folder given). False when the settings
    // name no data folder and none was given: the program folder stands in, and a message box
    // says where it looked.
    bool ReadStartSettings(const StartOptions& options);
    // The data folder used at the last start, when it still exists: offered when the settings
    // name none.
    const std::optional<QString>& OfferedFolder() const { return offeredFolder_; }

    // The start-up, once the surfaces are bound: the tables in the start-up order, the result
    // list, the audience window at the designed left, the start-up flags, then (after
    // showWindows) programme item 0.
    void RunStartUp(int designedScreenLeft, const std::function<void()>& showWindows);
    // Every audience surface drawn again: the banner, the clock and the current view.
    void RedrawAudience();
    // The console's part of drawing a step ahead: called with the state after the next heat step
    // (for the call only) or after a programme step (a copy, `programmeStep`), it paints ahead
    // what the console's controls will show then; it reads the state and announces nothing.
    using ConsoleAhead = std::function<void(const Competition& next, bool programmeStep)>;
    void SetConsoleAhead(ConsoleAhead ahead) { consoleAhead_ = std::move(ahead); }

    void ShowView(int type) override;
    void LoadAndShowRound() override;
    bool ShowFinalResult() override;
    void ShowCurrentProgrammeItem() override;
    void FollowProgrammeItem(bool forward) override;
    void ReleaseHold() override;
    void ShowFollowLinks() override;
    void ReloadProgramme() override;
    void RedrawTitleBanner() override;
    void SelectResultCategory(int category) override;
    void ShowResultList() override;
    void DataReset() override;
    void ShowAnnouncement(int kind, const std::string& text) override;
    void ShowClockMinute(const QString& hhmm) override;

  private:
    // Draws view `type` from the state as it is, applies its effects and announces it.
    void Present(int type);
    // Once the heat view is on the screens and the event loop has nothing else to do, the next
    // heat's picture is drawn ahead: a step forward then only takes it. At the round's last heat
    // it is the programme step's picture, drawn over the screens' as they are.
    void DrawNextHeatAhead();
    // Then the picture of a programme step forward is drawn ahead too, once per item and view
    // (its round read into a copy of the state, nothing else touched), and the judges' picture.
    void DrawNextItemAhead();
    // The programme step's picture drawn ahead. While a heat is on the screens it waits in the
    // windows' buffers too: in whole at the round's end (its last heat), otherwise beside the
    // next heat's.
    void DrawProgrammeStepAhead(bool heatShown, bool roundsEnd);
    void ReadTables();
    void ReloadDisplayConfig();
    void ReloadEvents();
    void NoteRoundLoad(const FileReadRecorder& reads, bool loaded, bool unreadable);
    // Whether it showed the round (its heat view).
    bool ShowLoadedRound(const RoundLoad& load);
    // What follows a programme move; `keep` is the heat a reloaded round stays at.
    void Follow(bool forward, const std::optional<HeatPosition>& keep);
    void ShowLinks(const FollowActions& actions);
    void SetResultRows(const std::vector<std::string>& rows);
    void Announce(StateChanges what) { notifier_.Announce(what); }

    Competition& s_;
    ConsoleAhead consoleAhead_;
    std::optional<QString> offeredFolder_;
    Stage& stage_;
    StateNotifier& notifier_;
    // False before a round was read and after another event's round could not be read: the heat
    // view would show other heats, or none, under the current event's header. The round's own
    // file being rewritten leaves its last good heats, which may still be stepped.
    bool roundReady_ = false;
    RoundFileNames loadedRound_;
    // The next heat is drawn ahead once the picture is on the screens: a frame's time after the
    // repaint, the window system's work is done, and an operator's next press is far off.
    static constexpr int kAheadDelayMs = 20;
    AfterRepaint drawAhead_{[this] { DrawNextHeatAhead(); }, kAheadDelayMs};
    // The next item's picture later, so that a press soon after a picture waits for one drawing
    // ahead at most; drawn again when the item, the view or a switch the picture shows changed.
    static constexpr int kItemAheadDelayMs = 60;
    AfterRepaint drawItemAhead_{[this] { DrawNextItemAhead(); }, kItemAheadDelayMs};
    std::array<int, 6> itemAheadFor_{};
    // Where the surfaces keep the pictures drawn ahead.
    static constexpr int kNextHeatSlot = 0;
    static constexpr int kNextItemSlot = 1;
    static constexpr int kJudgesSlot = 2;
};
