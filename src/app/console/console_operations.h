#pragma once
// The steps that several operator commands share: showing a view with what it needs read first,
// loading a round, following the programme, reading tables again. The presenter implements them;
// the command sets reach the state and the screens only through them (and announce the rest), so
// a command set can be tested against a fake.

#include <QString>
#include <string>

class ConsoleOperations {
  public:
    virtual ~ConsoleOperations() = default;

    // Reads what view `type` needs, draws it on the audience screen and the preview and applies
    // what showing it changes (CurrentView, the award sequence).
    virtual void ShowView(int type) = 0;
    // Loads the current event's round and shows it on the progress panel and the screen.
    virtual void LoadAndShowRound() = 0;
    // Ready's picture, the result frame of the chosen category. False when its final file cannot
    // be read: then nothing is drawn and the award stays as it was.
    virtual bool ShowFinalResult() = 0;
    // Makes programme item CurrentProgrammeIndex current.
    virtual void ShowCurrentProgrammeItem() = 0;
    // What follows a programme move: the round, the view, the progress list and the links.
    virtual void FollowProgrammeItem(bool forward) = 0;
    // The hold released: the programme item and what follows it on the audience screen, with a
    // reloaded round kept at the heat the preview prepared when the round still has it.
    virtual void ReleaseHold() = 0;
    // The shuffle label and the result-list link alone.
    virtual void ShowFollowLinks() = 0;
    // Rereads pgm.txt, draws the progress message and the progress list.
    virtual void ReloadProgramme() = 0;
    virtual void RedrawTitleBanner() = 0;
    // Chooses the row of the result-category list that holds a category (1-based); no row holds
    // it: nothing changes.
    virtual void SelectResultCategory(int category) = 0;
    // Fills the result-category list in the chosen order and chooses its first row.
    virtual void ShowResultList() = 0;
    // Conf.txt, Mem.csv, seqdat.csv and pgm.txt read again, in the order of the start.
    virtual void DataReset() = 0;
    // An announcement screen of a kind (the free message's text in CP932) on both normal
    // surfaces, the preview only while held.
    virtual void ShowAnnouncement(int kind, const std::string& text) = 0;
    // The clock drawn for the minute hhmm ("HH:mm") when it differs from the one on the screen.
    virtual void ShowClockMinute(const QString& hhmm) = 0;
};
