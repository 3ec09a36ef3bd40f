#pragma once
// The window system reads a window's buffer from shared memory after the toolkit hands parts of it
// over; before painting over parts it handed over, the toolkit waits for the window system to
// answer a request. Right after a picture, that wait is the window system's whole work on it, and
// the next repaint of the same parts (a button's look, a label's text) pays it. Settling asks
// while nothing is being drawn: an empty paint over the parts handed over, which hold what was
// shown (an empty paint changes no pixel).

#include <QObject>
#include <QRegion>

class QWidget;

class BufferSettler : public QObject {
  public:
    // Settles `window` (a top-level widget, which owns the settler) a while after each of its
    // repaints.
    explicit BufferSettler(QWidget* window);

    // The empty paint over `parts` (window pixels) of the window's buffer, now; nothing for a
    // hidden window or one with an alpha channel (whose buffer a paint clears first).
    static void Settle(QWidget* window, const QRegion& parts);
    // Long after the window system has taken a picture's parts, short against an operator's keys.
    static constexpr int kDelayMs = 30;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    bool pending_ = false;
};
