#pragma once
// The console's settings and choices as commands: the maintenance panel's title lines, fonts,
// Base Color and window offsets, the data folder, and the choices of the award section, the
// progress message and the event chooser that views and commands read. Like the operator
// commands they are the one way these reach the state, and they say what they changed.

#include <array>
#include <string>

#include "app/console/console_operations.h"
#include "core/competition/competition_state.h"
#include "core/competition/state_notifier.h"

// The four fonts of the maintenance panel, CP932.
struct DisplayFonts {
    std::string top;    // the title banner
    std::string title;  // the welcome screen
    std::string msg;    // the announcements
    std::string data;   // the headers and the heats
};

class SettingsCommands {
  public:
    SettingsCommands(Competition& state, ConsoleOperations& ops, StateNotifier& notifier)
        : s_(state), ops_(ops), notifier_(notifier) {}

    // The maintenance panel's fields, each applied with Enter (texts CP932).
    void SetTopTitleLine(int line, const std::string& text);
    void SetWelcomeTitleLine(int line, const std::string& text);
    void SetTitleFont(const std::string& face);
    void SetTopFont(const std::string& face);
    void SetMsgFont(const std::string& face);
    void SetDataFont(const std::string& face);
    // The Base Color typed in hexadecimal, blue first.
    void SetBaseColor(const std::string& hexText);
    void SetScreenLeft(int left);
    void SetScreenTop(int top);
    // The panel's fields taken over as they stand (at start and after a reload); the title lines
    // trimmed.
    void TakeOverFonts(const DisplayFonts& fonts);
    void TakeOverTitleLines(const std::array<std::string, 3>& top,
                            const std::array<std::string, 3>& welcome);

    // A new data folder: everything read from it, programme item 0, the clean screen.
    void ChangeDataFolder(const std::string& folder);

    // The award section: the chosen row of the result-category list, its order, the list filled
    // again in that order, and the order in which "Go !" reveals the rows.
    void ChooseResultRow(int row);
    void ChooseResultListOrder(bool byCategory);
    void RefillResultList();
    void ChooseRevealOrder(RevealOrder order);
    // "分離": the progress message shows a one-floor item in two lines.
    void ChooseRoundSplit(bool split);
    // Programme moves onto a final choose its category in the result list.
    void ChooseResultLink(bool linked);
    // The event chooser's step with the link on: the result list follows the chosen event.
    void FollowEventCategory(int category);

  private:
    Competition& s_;
    ConsoleOperations& ops_;
    StateNotifier& notifier_;
};
