#include "app/web/viewer.h"

#include "app/web/web_socket_link.h"

Viewer::Viewer(WebSocketLink* link, const LiveFeed& feed, bool pictures, bool state, int stuckMs,
               QObject* parent)
    : QObject(parent),
      link_(link),
      feed_(feed),
      pictures_(pictures),
      state_(state),
      stuckMs_(stuckMs) {
    connect(link, &WebSocketLink::written, this, &Viewer::Written);
    connect(link, &WebSocketLink::closed, this, [this] { emit gone(this); });
    // The socket may go without a word (the server shutting down).
    connect(link, &QObject::destroyed, this, [this] { emit gone(this); });
}

Viewer::~Viewer() {
    if (link_.isNull()) return;
    // Ending the connection emits its signals: nobody is listening any more.
    link_->disconnect(this);
    link_->Abort();
}

void Viewer::Offer() {
    if (link_.isNull()) return;
    if (link_->BytesToWrite() > 0) {
        if (!waiting_.isValid()) waiting_.start();
        if (waiting_.elapsed() > stuckMs_) link_->Abort();
        return;
    }
    waiting_.invalidate();
    if (state_ && stateSent_ != feed_.stateSerial) {
        stateSent_ = feed_.stateSerial;
        link_->SendText(feed_.state);
    }
    if (!pictures_ || frameSent_ == feed_.frame) return;
    if (feed_.Patches(frameSent_)) {
        QByteArray message;
        for (const auto& [frame, patch] : feed_.patches) {
            if (frame <= frameSent_) continue;
            // One patch as it is; the ones after it without their leading mark.
            message += message.isEmpty() ? patch : patch.mid(4);
        }
        frameSent_ = feed_.frame;
        link_->SendBinary(message);
    } else if (feed_.pictureFrame == feed_.frame && !feed_.picture.isEmpty()) {
        frameSent_ = feed_.frame;
        link_->SendBinary(feed_.picture);
    } else {
        emit wholeWanted();
    }
}

void Viewer::Written() {
    if (!link_.isNull() && link_->BytesToWrite() == 0) Offer();
}

void Viewer::Close(int code, const QByteArray& reason) {
    if (!link_.isNull()) link_->Close(code, reason);
}
