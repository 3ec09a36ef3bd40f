#pragma once
// The current programme item: which event it makes current, the texts of the progress panel,
// the moves through the programme, what follows a move, and the rows of the result-category list.
// Texts are CP932.

#include <optional>
#include <string>
#include <vector>

#include "core/competition/competition_state.h"
#include "core/competition/progress.h"

struct ProgrammeItemLabels {
    bool shown = false;        // false: no item at CurrentProgrammeIndex, nothing changed
    bool secondFloor = false;  // Label71, Label72, Label73 and Label68 visible
    std::string label70, label71, label67, label68;
    bool groupsShown = false;  // GroupBox2 and GroupBox3 visible; the texts below are valid
    std::string label8, label4, label9, label18, label10, label11, label26, label12, label13;
    bool finalEnabled = false;  // BitBtn14
    int scrollPosition = 0;     // ScrollBar1
};

// Makes item CurrentProgrammeIndex current: sets CurrentEventIndex (-1 for a non-competition
// item; unchanged for a code starting with "X"; else the first event whose number matches the
// code's, or EventCount when none does) and returns the panel's texts.
ProgrammeItemLabels ShowProgrammeItem(Competition& s);
// The panel's texts of item CurrentProgrammeIndex as ShowProgrammeItem made it current.
ProgrammeItemLabels ProgrammeItemLabelsOf(const Competition& s);

// Whether the Final command (the finalists) is offered now: the current item is a competition
// whose round is the final or later.
bool FinalAllowed(const Competition& s);

// The event a competition item's code refers to: the first event whose number equals the code's,
// or EventCount (an empty record) when none does.
int MatchEvent(const EventTables& s, const std::string& code);

// The number an event name or a programme code starts with: its first three characters, blanks
// trimmed, read as a decimal number. -1 when they are not one (such a code matches nothing).
int LeadingEventNumber(const std::string& text);

// BitBtn16: next / previous item. True when CurrentProgrammeIndex moved; the console shows the
// item and follows it either way.
bool ProgrammeStepForward(Competition& s);
bool ProgrammeStepBack(Competition& s);
// Mouse press on the progress list at bitmap row y: one item per 20 pixels. A press below the
// last item selects an empty row, which ShowProgrammeItem then leaves alone.
void SelectProgrammeRow(Competition& s, int bitmapY);

struct FollowActions {
    bool switchToMessage = false;  // CurrentView is now 7: highlight "Msg"
    bool reloadRound = false;      // the round was reloaded: show `round` as after LoadRound
    bool roundUnreadable = false;  // its heat files could not be read: round and picture stay
    RoundLoad round;
    bool hasEvent = false;      // an event is current
    bool shuffleShown = false;  // Label31 visible (always hidden without an event)
    int resultCategory = 0;     // category (1-based) to select in the result-category list, 0 none
};

// What a programme step forward would draw: the state as the step leaves it (the next item made
// current, its round read when the step reads one) and the view it shows then. Nothing when the
// step would draw no new picture (the last item, a round that cannot be read, finalists being
// written). `s` is not changed; for a picture drawn ahead.
struct ProgrammeStepPicture {
    Competition state;
    int view = 0;
};
std::optional<ProgrammeStepPicture> PictureAfterProgrammeStep(const Competition& s);

// What follows a programme move, as far as it touches the state: a forward move onto a
// non-competition item switches to the progress message, with the heat view up the round is
// reloaded (LoadRoundIfReadable); then the shuffle label and the result-list link are worked out
// (RefreshFollowLinks). The console then draws CurrentView, unless the round could not be read,
// and the programme list.
// With `keep`, a reloaded round keeps that heat position when it still has it (the release of a
// hold shows what the preview prepared).
FollowActions PlanFollowProgrammeItem(Competition& s, bool forward, bool linkChecked,
                                      const std::optional<HeatPosition>& keep = std::nullopt);
// The shuffle label and the result-list link alone (BitBtn16 with a button other than left or
// right). Sets HeatFileCategory and HeatFileRound from the current event. Without a current event
// the label is hidden and the link is skipped.
FollowActions RefreshFollowLinks(Competition& s, bool linkChecked);

inline constexpr int kResultListRows = kCategoryRows;

// Refills ResultListCategories and returns the rows of ComboBox1: every category in order, or
// every final (and final on floor B) in event order. At most 40 rows; further ones are dropped.
std::vector<std::string> FillResultList(Competition& s, bool categoryOrder);
// The row of the result-category list that holds category (1-based), among the first `rows` rows
// (the rows the list really has); -1 when none does. The list's order is ResultListCategories'.
int ResultListRowOf(const Competition& s, int category, int rows);

// The rows that "Data Reset" puts into ComboBox1 ("%-4s " code + name per category);
// ResultListCategories is left as it was.
std::vector<std::string> DataResetResultRows(const Competition& s);
