#include "app/console/operator_commands.h"

#include "app/console/console_hooks.h"
#include "core/competition/indicator.h"
#include "core/competition/operator_guide.h"
#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/competition/view_types.h"
#include "core/display/award_view.h"

void OperatorCommands::Toggle(int& flag, StateChange indicator) {
    ToggleIndicator(flag);
    notifier_.Announce(indicator);
}

void OperatorCommands::SetFlag(int& flag, int value, StateChange indicator) {
    flag = 1 - value;  // set through the toggle, so the label is always refreshed the same way
    Toggle(flag, indicator);
}

void OperatorCommands::Clean() {
    ops_.ShowView(kViewClean);
    s_.AwardReady = 0;
}

void OperatorCommands::Title() {
    ops_.ShowView(kViewWelcome);
    s_.AwardReady = 0;
}

void OperatorCommands::Judge() {
    ops_.ShowView(kViewJudges);
    s_.AwardReady = 0;
}

void OperatorCommands::Final(bool floorB) {
    s_.SecondFloorFinal = floorB ? 1 : 0;
    ops_.ShowView(kViewFinalists);
    s_.AwardReady = 0;
}

void OperatorCommands::Ready() {
    if (!ops_.ShowFinalResult()) return;
    s_.AwardReady = 1;
    s_.HeatIndex = 0;
}

void OperatorCommands::Go() {
    if (s_.AwardReady != 1) {
        notifier_.Explain(NothingDone::kReadyFirst);
        return;
    }
    ops_.ShowView(kViewAward);
    // A back number the final file garbled stops the step where it is, with the toolkit's
    // conversion message.
    if (const std::optional<std::string> bad = InvalidAwardNumber(s_)) {
        Hooks().showMessage(AwardNumberMessage(*bad), QString::fromUtf8("エラー"));
        return;
    }
    s_.HeatIndex += 1;
}

void OperatorCommands::Heat() {
    ops_.LoadAndShowRound();
    if (s_.CurrentEventIndex < 0) notifier_.Explain(NothingDone::kNoEvent);
}

void OperatorCommands::HeatStep(bool forward) {
    if (s_.CurrentView != kViewHeat) {
        notifier_.Explain(NothingDone::kNotHeatView);
        return;
    }
    const HeatStepResult step = forward ? NextHeat(s_) : PreviousHeat(s_);
    if (step.lastDanceChanged) notifier_.Announce(StateChange::LastDanceFlag);
    if (!step.redraw) {
        notifier_.Explain(forward ? NothingDone::kLastHeat : NothingDone::kFirstHeat);
        return;
    }
    ops_.ShowView(kViewHeat);
    // Only the forward step rewrites the heats figure; a step back leaves the label as it is.
    // Told after the picture: the console's labels follow the hall's new heat, not precede it.
    if (forward) notifier_.Announce(StateChange::HeatsFigure);
}

void OperatorCommands::Msg(bool currentItemOnly) {
    SetFlag(s_.SingleItemMode, currentItemOnly ? 1 : 0, StateChange::SingleItemFlag);
    ops_.ShowView(kViewProgressMessage);
    s_.AwardReady = 0;
}

void OperatorCommands::ToggleSingleItem() {
    Toggle(s_.SingleItemMode, StateChange::SingleItemFlag);
    ops_.ShowView(kViewProgressMessage);
}

void OperatorCommands::ToggleHold() {
    Toggle(s_.HoldScreen, StateChange::HoldFlag);
    if (s_.HoldScreen == 1) return;
    // Released: the hall gets what the preview prepared.
    ops_.ReleaseHold();
}

void OperatorCommands::ToggleLastDance() { Toggle(s_.LastDance, StateChange::LastDanceFlag); }

void OperatorCommands::ToggleDanceName() {
    Toggle(s_.DanceNameShown, StateChange::DanceNameFlag);
    ops_.ShowView(kViewHeat);
}

void OperatorCommands::ProgrammeStep(bool forward) {
    const bool moved = forward ? ProgrammeStepForward(s_) : ProgrammeStepBack(s_);
    ops_.ShowCurrentProgrammeItem();
    ops_.FollowProgrammeItem(forward);
    if (!moved) notifier_.Explain(forward ? NothingDone::kLastItem : NothingDone::kFirstItem);
}

void OperatorCommands::RefreshProgrammeLinks() {
    notifier_.Announce(StateChange::ProgrammeList);
    ops_.ShowFollowLinks();
}

void OperatorCommands::SelectProgrammeItemAt(int bitmapY) {
    SelectProgrammeRow(s_, bitmapY);
    ops_.ShowCurrentProgrammeItem();
    ops_.FollowProgrammeItem(true);
}

void OperatorCommands::Step(bool forward) {
    if (s_.CurrentView == kViewHeat) {
        HeatStep(forward);
    } else {
        ProgrammeStep(forward);
    }
}

void OperatorCommands::ReloadProgramme() { ops_.ReloadProgramme(); }

void OperatorCommands::DataReset() { ops_.DataReset(); }

void OperatorCommands::Announce(int kind, const std::string& text) {
    // An announcement switches single-item mode on; CurrentView stays as it is.
    s_.SingleItemMode = 1;
    ops_.ShowAnnouncement(kind, text);
    notifier_.Announce(StateChange::SingleItemFlag);
}

void OperatorCommands::ToggleClock() { Toggle(s_.ClockShown, StateChange::ClockFlag); }

void OperatorCommands::ClockTick(const QString& hhmm) { ops_.ShowClockMinute(hhmm); }
