#include "app/web/http_gate.h"

#include <QTcpSocket>

HttpGate::HttpGate(const RequestLimits& limits, int maxConnections, QObject* parent)
    : QTcpServer(parent), limits_(limits), maxConnections_(maxConnections) {}

void HttpGate::incomingConnection(qintptr socketDescriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    if (open_ >= maxConnections_) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        RequestGuard::Refuse(socket, 503, "too many connections, try again later\n",
                             "Retry-After: 30\r\n");
        return;
    }
    ++open_;
    // Counted until the socket goes, whoever ends up owning it (a WebSocket takes it over).
    connect(socket, &QObject::destroyed, this, [this] { --open_; });
    new RequestGuard(socket, limits_);
    addPendingConnection(socket);
}
