#pragma once
// The operations that several areas of the console share. The console window implements them;
// each controller and the operator commands reach the rest of the console only through them, so a
// controller can be tested against a fake.

#include <string>

enum class Indicator { Hold, SingleItem, Clock, LastDance, DanceName };

class ConsoleOperations {
  public:
    virtual ~ConsoleOperations() = default;

    // Draws a view type on the audience screen and the preview and refreshes both windows; the
    // view label of the view on the audience screen is the one marked.
    virtual void ShowView(int type) = 0;
    // Loads the current event's round and shows it on the progress panel and the screen.
    virtual void LoadAndShowRound() = 0;
    // Ready's picture, the result frame of the chosen category. False when its final file cannot
    // be read: then nothing is drawn and the award stays as it was.
    virtual bool ShowFinalResult() = 0;
    // Makes programme item CurrentProgrammeIndex current and fills the progress panel.
    virtual void ShowCurrentProgrammeItem() = 0;
    // What follows a programme move: the view, the progress list and the links.
    virtual void FollowProgrammeItem(bool forward) = 0;
    // The shuffle label and the result-list link alone.
    virtual void ShowFollowLinks() = 0;
    virtual void RedrawProgrammeList() = 0;
    // Rereads pgm.txt, draws the progress message and the progress list.
    virtual void ReloadProgramme() = 0;
    virtual void RedrawTitleBanner() = 0;
    // Shows a flag as "Yes" or "No" on its indicator label.
    virtual void ShowIndicator(Indicator indicator, int flag) = 0;
    virtual void ShowHoldBanner(bool shown) = 0;
    // The heats figure of the loaded round on the progress panel.
    virtual void ShowHeatsFigure() = 0;
    // Selects the row of the result-category list that holds a category (1-based); no row holds
    // it: nothing changes.
    virtual void SelectResultCategory(int category) = 0;
    virtual void DataReset() = 0;
    virtual void MoveAudienceWindow() = 0;
    // An announcement screen of a kind (the free message's text in CP932) on both normal
    // surfaces, the preview only while held.
    virtual void ShowAnnouncement(int kind, const std::string& text) = 0;
    // Clock mode on or off: the timer, and the clock boxes instead of the logos.
    virtual void ShowClock(bool shown) = 0;
};
