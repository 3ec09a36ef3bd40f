#include "app/widgets/buffer_settler.h"

#include <QBackingStore>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

BufferSettler::BufferSettler(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
}

void BufferSettler::Settle(QWidget* window, const QRegion& parts) {
    QBackingStore* store = window->backingStore();
    const QWindow* handle = window->windowHandle();
    if (store == nullptr || parts.isEmpty() || !window->isVisible() || handle == nullptr ||
        handle->format().hasAlpha()) {
        return;
    }
    store->beginPaint(parts);
    store->endPaint();
}

bool BufferSettler::eventFilter(QObject* watched, QEvent* event) {
    // The toolkit repaints and hands over the window's changed parts on this request.
    if (watched == window_ && event->type() == QEvent::UpdateRequest && !pending_) {
        pending_ = true;
        QTimer::singleShot(kDelayMs, this, [this] {
            pending_ = false;
            Settle(window_, QRegion(window_->rect()));
        });
    }
    return QObject::eventFilter(watched, event);
}
