#pragma once
// The day's start-time estimates as the console keeps them: the pace learnt from the operator's
// heat steps, when the current item became current, the estimate of every item from it on and
// the day's end, and how far that end moved from the first estimate. Re-estimated on every change
// the commands announce and every half minute; the time comes from the console's clock hook, so a
// rehearsal's scripted clock drives it.

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <vector>

class QWidget;

#include "core/competition/competition_state.h"
#include "core/competition/estimates.h"
#include "core/competition/pace_tracker.h"
#include "core/competition/state_notifier.h"

class DaySchedule : public QObject {
    Q_OBJECT
  public:
    DaySchedule(const Competition& state, const StateNotifier& notifier, int secondsPerHeat,
                QObject* parent);

    const DayEstimate& Day() const { return day_; }
    const PaceTracker& Pace() const { return pace_; }
    // Seconds the day's end moved since the first estimate: + later, - earlier.
    int Drift() const { return firstEnd_ ? day_.end - *firstEnd_ : 0; }
    // "終了 17:40ごろ（予定より 12 分遅れ）\n1 ヒート 1分42秒（実測）"
    QString StatusText() const { return StatusTextOf(day_, pace_); }
    // An estimate the next heat step may bring, and its status line.
    struct Foreseen {
        DayEstimate day;
        QString status;
    };
    // The estimates a heat step to `next` brings if it comes now, and if it comes one heat's
    // time from now (the operator at the pace learnt).
    std::vector<Foreseen> ForeseeHeatStep(const Competition& next) const;
    // The estimate a programme step to `next` (another item) brings if it comes now.
    std::vector<Foreseen> ForeseeProgrammeStep(const Competition& next) const;
    // Estimates again now (the clock or the state moved).
    void Refresh();
    // Makes the estimate a command asked for now, when it is still waiting for the event loop
    // (an answer to the remote carries the estimate after the command).
    void Settle();
    // The estimate a command asked for is also made when `window` is about to be repainted,
    // whichever comes first: a button that repaints itself at once (a press) repaints the whole
    // window, and the estimates then come in that repaint, not in a second one.
    void SettleBeforeRepaintOf(QWidget* window);

  signals:
    void estimated();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StateChanged(StateChanges what);
    int Now() const;
    QString StatusTextOf(const DayEstimate& day, const PaceTracker& pace) const;

    const Competition& s_;
    PaceTracker pace_;
    EstimateSettings settings_;
    DayEstimate day_;
    std::optional<int> firstEnd_;
    int currentStartedAt_ = 0;
    int lastItem_ = -1;
    int lastStep_ = -1;
    QTimer timer_;
    bool refreshPending_ = false;
};
