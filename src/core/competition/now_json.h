#pragma once
// What the audience is shown, as data for the web pages and other programs: the view on the
// screen, the programme item, the current event and the heats of the current dance with the
// couples in them. Texts are decoded from CP932 here, once per change.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "core/competition/competition_state.h"
#include "core/competition/estimates.h"
#include "core/competition/pace_tracker.h"

// view, hold, item, itemB, event, floors (event, category and round of each floor), dance, heat
// (1-based) and heats (every heat of the current dance, each floor a list of back numbers as
// shown, the current one marked now), now and next (the floors of the heat view's Now and Next
// blocks) and couples (names and affiliation by back number). Nulls where nothing is current.
QJsonObject NowJson(const Competition& s);

// "14:25" of seconds since midnight (past midnight wraps), as the estimates are shown.
QString ClockOf(int seconds);

// The day's estimates, always labelled as such: "pace" {secondsPerHeat, measured (false while
// the default is assumed)}, "schedule" {end ("HH:MM"), items: [{item, text, start ("HH:MM"),
// minutes, kind, fixed, defaultLength, current}]}.
void AddScheduleJson(QJsonObject& json, const Competition& s, const DayEstimate& day,
                     const PaceTracker& pace);

// The state as the pages are served it, one change after another: while the screen is held, the
// state as it was when the hold began (what the hall sees), with `hold` true. The web server and
// the rehearsal's NNN-now.json use the same feed.
class NowJsonFeed {
  public:
    // With the day's estimates: "pace" and "schedule" too (ScheduleJson).
    QByteArray Next(const Competition& s, const DayEstimate* day = nullptr,
                    const PaceTracker* pace = nullptr);

  private:
    QJsonObject onAir_;
};
