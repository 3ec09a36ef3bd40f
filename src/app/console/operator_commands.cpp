#include "app/console/operator_commands.h"

#include "app/console/console_hooks.h"
#include "core/competition/indicator.h"
#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/display/award_view.h"
#include "core/display/view_types.h"

void OperatorCommands::Toggle(int& flag, Indicator indicator) {
    ToggleIndicator(flag);
    ops_.ShowIndicator(indicator, flag);
}

void OperatorCommands::SetFlag(int& flag, int value, Indicator indicator) {
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
    if (s_.AwardReady != 1) return;
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
}

void OperatorCommands::HeatStep(bool forward) {
    if (s_.CurrentView != kViewHeat) return;
    const HeatStepResult step = forward ? NextHeat(s_) : PreviousHeat(s_);
    if (step.lastDanceChanged) ops_.ShowIndicator(Indicator::LastDance, s_.LastDance);
    if (!step.redraw) return;
    // Only the forward step rewrites the heats figure; a step back leaves the label as it is.
    if (forward) ops_.ShowHeatsFigure();
    ops_.ShowView(kViewHeat);
}

void OperatorCommands::Msg(bool currentItemOnly) {
    SetFlag(s_.SingleItemMode, currentItemOnly ? 1 : 0, Indicator::SingleItem);
    ops_.ShowView(kViewProgressMessage);
    s_.AwardReady = 0;
}

void OperatorCommands::ToggleSingleItem() {
    Toggle(s_.SingleItemMode, Indicator::SingleItem);
    ops_.ShowView(kViewProgressMessage);
}

void OperatorCommands::ToggleHold() {
    Toggle(s_.HoldScreen, Indicator::Hold);
    ops_.ShowHoldBanner(s_.HoldScreen == 1);
    if (s_.HoldScreen == 1) return;
    // Released: the programme item and the current view come back on the audience screen.
    ops_.ShowCurrentProgrammeItem();
    ops_.FollowProgrammeItem(true);
}

void OperatorCommands::ToggleLastDance() { Toggle(s_.LastDance, Indicator::LastDance); }

void OperatorCommands::ToggleDanceName() {
    Toggle(s_.DanceNameShown, Indicator::DanceName);
    ops_.ShowView(kViewHeat);
}

void OperatorCommands::ProgrammeStep(bool forward) {
    if (forward) {
        ProgrammeStepForward(s_);
    } else {
        ProgrammeStepBack(s_);
    }
    ops_.ShowCurrentProgrammeItem();
    ops_.FollowProgrammeItem(forward);
}

void OperatorCommands::RefreshProgrammeLinks() {
    ops_.RedrawProgrammeList();
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
    // The screen switches single-item mode on; the view label and CurrentView stay as they are.
    ops_.ShowAnnouncement(kind, text);
    ops_.ShowIndicator(Indicator::SingleItem, s_.SingleItemMode);
}

void OperatorCommands::ToggleClock() {
    Toggle(s_.ClockShown, Indicator::Clock);
    ops_.ShowClock(s_.ClockShown == 1);
}
