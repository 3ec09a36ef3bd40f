#include "app/web/viewer.h"

#include <QWebSocket>

namespace {

// A viewer that has not taken a single message in this time has stopped reading.
constexpr qint64 kStuckMs = 60'000;
// Viewers send nothing the server reads; anything large is not a viewer.
constexpr quint64 kIncomingBytes = 1024;

}  // namespace

Viewer::Viewer(std::unique_ptr<QWebSocket> socket, const LiveFeed& feed, bool pictures, bool state,
               QObject* parent)
    : QObject(parent), socket_(std::move(socket)), feed_(feed), pictures_(pictures), state_(state) {
    socket_->setMaxAllowedIncomingFrameSize(kIncomingBytes);
    socket_->setMaxAllowedIncomingMessageSize(kIncomingBytes);
    connect(socket_.get(), &QWebSocket::bytesWritten, this, &Viewer::Written);
    connect(socket_.get(), &QWebSocket::disconnected, this, [this] { emit gone(this); });
}

Viewer::~Viewer() {
    // Closing the socket emits its signals: nobody is listening any more.
    socket_->disconnect(this);
}

void Viewer::Offer() {
    if (socket_->bytesToWrite() > 0) {
        if (!waiting_.isValid()) waiting_.start();
        if (waiting_.elapsed() > kStuckMs) socket_->abort();
        return;
    }
    waiting_.invalidate();
    if (state_ && stateSent_ != feed_.stateSerial) {
        stateSent_ = feed_.stateSerial;
        socket_->sendTextMessage(QString::fromUtf8(feed_.state));
    }
    if (pictures_ && pictureSent_ != feed_.pictureSerial && !feed_.picture.isEmpty()) {
        pictureSent_ = feed_.pictureSerial;
        socket_->sendBinaryMessage(feed_.picture);
    }
    // Into the system's buffer at once: the first viewers need not wait for the last ones'
    // copies, and the program keeps none of its own for a viewer that reads in time.
    socket_->flush();
}

void Viewer::Written() {
    if (socket_->bytesToWrite() == 0) Offer();
}

void Viewer::Close(int code, const QString& reason) {
    socket_->close(static_cast<QWebSocketProtocol::CloseCode>(code), reason);
}
