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
    if (pictures_ && pictureSent_ != feed_.pictureSerial && !feed_.picture.isEmpty()) {
        pictureSent_ = feed_.pictureSerial;
        link_->SendBinary(feed_.picture);
    }
}

void Viewer::Written() {
    if (!link_.isNull() && link_->BytesToWrite() == 0) Offer();
}

void Viewer::Close(int code, const QByteArray& reason) {
    if (!link_.isNull()) link_->Close(code, reason);
}
