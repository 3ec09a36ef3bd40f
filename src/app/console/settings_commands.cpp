#include "app/console/settings_commands.h"

#include "core/competition/view_types.h"
#include "core/data/display_config_file.h"
#include "core/platform/text_utils.h"

void SettingsCommands::SetTopTitleLine(int line, const std::string& text) {
    if (line < 0 || line >= 3) return;
    s_.Config.TopTitleLines[line] = text;
    ops_.RedrawTitleBanner();
}

void SettingsCommands::SetWelcomeTitleLine(int line, const std::string& text) {
    if (line < 0 || line >= 3) return;
    s_.Config.WelcomeTitleLines[line] = text;
    ops_.ShowView(kViewWelcome);
}

void SettingsCommands::SetTitleFont(const std::string& face) {
    s_.Config.TitleFont = face;
    ops_.ShowView(kViewWelcome);
}

void SettingsCommands::SetTopFont(const std::string& face) {
    s_.Config.TopFont = face;
    ops_.RedrawTitleBanner();
}

void SettingsCommands::SetMsgFont(const std::string& face) {
    s_.Config.MsgFont = face;
    ops_.RedrawTitleBanner();
}

void SettingsCommands::SetDataFont(const std::string& face) {
    // The Data Font shows in the headers: whatever is up is drawn again.
    s_.Config.DataFont = face;
    ops_.ShowView(s_.CurrentView);
}

void SettingsCommands::SetBaseColor(const std::string& hexText) {
    s_.Config.BaseColor = ApplyHexColor(hexText);
    ops_.ShowView(kViewClean);
}

void SettingsCommands::SetScreenLeft(int left) {
    s_.Config.ScreenLeft = left;
    notifier_.Announce(StateChange::ScreenOffsets);
}

void SettingsCommands::SetScreenTop(int top) {
    s_.Config.ScreenTop = top;
    notifier_.Announce(StateChange::ScreenOffsets);
}

void SettingsCommands::TakeOverFonts(const DisplayFonts& fonts) {
    s_.Config.TopFont = fonts.top;
    s_.Config.TitleFont = fonts.title;
    s_.Config.MsgFont = fonts.msg;
    s_.Config.DataFont = fonts.data;
}

void SettingsCommands::TakeOverTitleLines(const std::array<std::string, 3>& top,
                                          const std::array<std::string, 3>& welcome) {
    for (int i = 0; i < 3; ++i) {
        s_.Config.TopTitleLines[i] = TrimBlanks(top[i]);
        s_.Config.WelcomeTitleLines[i] = TrimBlanks(welcome[i]);
    }
}

void SettingsCommands::ChangeDataFolder(const std::string& folder) {
    s_.DataFolder = folder;
    ops_.DataReset();
    s_.CurrentProgrammeIndex = 0;
    ops_.ShowCurrentProgrammeItem();
    ops_.ShowView(kViewClean);
    notifier_.Announce(StateChange::ProgrammeList);
}

void SettingsCommands::ChooseResultRow(int row) { s_.ResultListRow = row; }

void SettingsCommands::ChooseResultListOrder(bool byCategory) {
    s_.ResultListByCategory = byCategory;
}

void SettingsCommands::RefillResultList() { ops_.ShowResultList(); }

void SettingsCommands::ChooseRevealOrder(RevealOrder order) { s_.Reveal = order; }

void SettingsCommands::ChooseRoundSplit(bool split) { s_.RoundSplit = split; }

void SettingsCommands::ChooseResultLink(bool linked) { s_.ResultLinkChecked = linked; }

void SettingsCommands::FollowEventCategory(int category) { ops_.SelectResultCategory(category); }
