#include "app/console/day_schedule.h"

#include <QEvent>
#include <QTime>
#include <QWidget>
#include <cstdlib>

#include "app/console/console_hooks.h"
#include "core/competition/now_json.h"
#include "core/competition/programme_item.h"
#include "core/competition/view_types.h"

namespace {

QString Minutes(int seconds) {
    return QStringLiteral("%1分%2秒").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

}  // namespace

DaySchedule::DaySchedule(const Competition& state, const StateNotifier& notifier,
                         int secondsPerHeat, QObject* parent)
    : QObject(parent), s_(state), pace_(PaceSettings{.defaultSecondsPerHeat = secondsPerHeat}) {
    connect(&notifier, &StateNotifier::changed, this, &DaySchedule::StateChanged);
    timer_.setObjectName(QStringLiteral("EstimateTimer"));
    timer_.setInterval(30000);
    connect(&timer_, &QTimer::timeout, this, &DaySchedule::Refresh);
    timer_.start();
}

int DaySchedule::Now() const {
    const QTime t = Hooks().now ? Hooks().now() : QTime::currentTime();
    return t.isValid() ? t.msecsSinceStartOfDay() / 1000 : 0;
}

void DaySchedule::StateChanged(StateChanges what) {
    if (what.testFlag(StateChange::TablesReloaded) || what.testFlag(StateChange::Programme)) {
        // A new day's tables: the first estimate is made again from them.
        firstEnd_.reset();
    }
    if (s_.CurrentProgrammeIndex != lastItem_) {
        const int now = Now();
        lastItem_ = s_.CurrentProgrammeIndex;
        currentStartedAt_ = now;
        lastStep_ = -1;
        pace_.StartItem(now, FinalAllowed(s_));
    }
    if (what.testFlag(StateChange::Round)) lastStep_ = CurrentHeatStep(s_);
    if (what.testFlag(StateChange::View) && s_.CurrentView == kViewHeat) {
        // A step forward in the item's heats is a heat danced; a new round or a step back is not.
        const int step = CurrentHeatStep(s_);
        if (lastStep_ >= 0 && step > lastStep_) pace_.Step(Now());
        lastStep_ = step;
    }
    // One estimate after the command, however many changes it announced. It is queued as an
    // event, not a timer: posted events come before the windows' repaint, so the estimates
    // reach the screen in the same repaint as the command's picture.
    if (refreshPending_) return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &DaySchedule::Settle, Qt::QueuedConnection);
}

void DaySchedule::SettleBeforeRepaintOf(QWidget* window) { window->installEventFilter(this); }

bool DaySchedule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::UpdateRequest) Settle();
    return QObject::eventFilter(watched, event);
}

void DaySchedule::Settle() {
    if (!refreshPending_) return;
    refreshPending_ = false;
    Refresh();
}

void DaySchedule::Refresh() {
    day_ =
        EstimateDay(s_, LiveProgressOf(s_, pace_, Now(), currentStartedAt_, settings_), settings_);
    if (!firstEnd_ && !day_.items.empty()) firstEnd_ = day_.end;
    emit estimated();
}

std::vector<DaySchedule::Foreseen> DaySchedule::ForeseeHeatStep(const Competition& next) const {
    std::vector<Foreseen> foreseen;
    if (next.CurrentProgrammeIndex != lastItem_ || next.CurrentView != kViewHeat) return foreseen;
    const int now = Now();
    for (const int at : {now, now + pace_.SecondsPerHeat()}) {
        // As StateChanged takes the step, then Refresh.
        PaceTracker pace = pace_;
        if (lastStep_ >= 0 && CurrentHeatStep(next) > lastStep_) pace.Step(at);
        DayEstimate day = EstimateDay(
            next, LiveProgressOf(next, pace, at, currentStartedAt_, settings_), settings_);
        QString status = StatusTextOf(day, pace);
        foreseen.push_back({std::move(day), std::move(status)});
    }
    return foreseen;
}

std::vector<DaySchedule::Foreseen> DaySchedule::ForeseeProgrammeStep(
    const Competition& next) const {
    if (next.CurrentProgrammeIndex == lastItem_) return {};
    // As StateChanged takes the new item, then Refresh: the item starts now, with no step yet.
    const int now = Now();
    PaceTracker pace = pace_;
    pace.StartItem(now, FinalAllowed(next));
    DayEstimate day = EstimateDay(next, LiveProgressOf(next, pace, now, now, settings_), settings_);
    QString status = StatusTextOf(day, pace);
    return {{std::move(day), std::move(status)}};
}

QString DaySchedule::StatusTextOf(const DayEstimate& day, const PaceTracker& pace) const {
    if (day.items.empty()) return {};
    QString drift;
    const int moved = day.end - firstEnd_.value_or(day.end);
    const int minutes = (std::abs(moved) + 30) / 60;
    if (minutes == 0) {
        drift = QStringLiteral(u"予定どおり");
    } else {
        drift = QStringLiteral(u"予定より %1 分%2").arg(minutes).arg(moved > 0 ? u"遅れ" : u"早い");
    }
    return QStringLiteral(u"終了 %1ごろ（%2）\n1 ヒート %3（%4）")
        .arg(ClockOf(day.end), drift, Minutes(day.secondsPerHeat),
             pace.FromSteps() ? QStringLiteral(u"実測") : QStringLiteral(u"既定"));
}
