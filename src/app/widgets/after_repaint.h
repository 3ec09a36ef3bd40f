#pragma once
// A job run once the windows have been repainted, and then, with a delay, once the window system
// has had the time to put the pictures on the screens: the toolkit queues a window's repaint
// request at its low priority, and a job posted after it at that priority comes after it in the
// queue (a zero timer or a queued call would run before the repaint).

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

class AfterRepaint : public QObject {
  public:
    AfterRepaint(std::function<void()> job, int delayMs)
        : job_(std::move(job)), delayMs_(delayMs) {}

    // Runs the job after the repaints asked for so far; once, however often it is asked for
    // before it runs.
    void Post() {
        if (pending_) return;
        pending_ = true;
        QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::LowEventPriority);
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        QTimer::singleShot(delayMs_, Qt::PreciseTimer, this, [this] {
            pending_ = false;
            job_();
        });
        return true;
    }

  private:
    std::function<void()> job_;
    int delayMs_ = 0;
    bool pending_ = false;
};
