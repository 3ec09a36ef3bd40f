#pragma once
// The operator's commands, one named operation each: the console's buttons call them, the
// rehearsal drives those buttons, and anything else that commands the display (the web remote)
// calls the same operations. Each says what it changed through the state notifier.

#include <QString>
#include <string>

#include "app/console/console_operations.h"
#include "core/competition/competition_state.h"
#include "core/competition/state_notifier.h"

class OperatorCommands {
  public:
    OperatorCommands(Competition& state, ConsoleOperations& ops, StateNotifier& notifier)
        : s_(state), ops_(ops), notifier_(notifier) {}

    void Clean();
    void Title();
    void Judge();
    // The finalists of the current event, or of the event on floor B.
    void Final(bool floorB);
    // The award ceremony: the result frame of the chosen category, then one step per Go.
    void Ready();
    void Go();
    void Heat();
    // One heat forward or back; only while the heat view is up.
    void HeatStep(bool forward);
    // The progress message: current and next item, or the current item alone.
    void Msg(bool currentItemOnly);
    void ToggleSingleItem();
    void ToggleHold();
    void ToggleLastDance();
    void ToggleDanceName();
    // Next or previous programme item, and what follows it.
    void ProgrammeStep(bool forward);
    void RefreshProgrammeLinks();
    // The programme item under a press at y of the progress list bitmap.
    void SelectProgrammeItemAt(int bitmapY);
    void ReloadProgramme();
    // The clicker's step: with the heat view up one heat, else one programme item.
    void Step(bool forward);
    void DataReset();
    // An announcement screen; the free message (kind 9) shows text.
    void Announce(int kind, const std::string& text);
    void ToggleClock();
    // The clock's tick: the minute it reads now ("HH:mm").
    void ClockTick(const QString& hhmm);

    // Where the commands say what they changed.
    const StateNotifier& Notifier() const { return notifier_; }

  private:
    void SetFlag(int& flag, int value, StateChange indicator);
    void Toggle(int& flag, StateChange indicator);

    Competition& s_;
    ConsoleOperations& ops_;
    StateNotifier& notifier_;
};
