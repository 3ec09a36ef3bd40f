#include "app/web/http_gate.h"

#include <QTcpSocket>
#include <QTimer>

#include "app/web/request_guard.h"
#include "app/web/web_socket_link.h"

namespace {

// After the system refused a connection (out of file handles), accepting starts again after this.
constexpr int kAcceptAgainMs = 500;
// A connection refused here holds a file handle only this long: a flood of them cannot keep the
// handles the served ones need.
constexpr int kRefusedLingerMs = 1000;

// An IPv4 client of a listener on every interface shows as ::ffff:a.b.c.d: counted as a.b.c.d.
QString AddressKey(const QHostAddress& address) {
    bool v4 = false;
    const quint32 ip4 = address.toIPv4Address(&v4);
    return v4 ? QHostAddress(ip4).toString() : address.toString();
}

// A child of a counted socket: its place is given back when the socket goes.
template <typename Release>
class Ticket : public QObject {
  public:
    Ticket(QObject* socket, Release release) : QObject(socket), release_(std::move(release)) {}
    ~Ticket() override { release_(); }

  private:
    Release release_;
};

}  // namespace

HttpGate::HttpGate(const WebLimits& limits, int maxConnections, QObject* parent)
    : QTcpServer(parent), limits_(limits), maxConnections_(maxConnections) {
    // The system refuses connections while the process has no file handle left, and the toolkit
    // then stops accepting for good.
    connect(this, &QTcpServer::acceptError, this,
            [this] { QTimer::singleShot(kAcceptAgainMs, this, &QTcpServer::resumeAccepting); });
}

void HttpGate::incomingConnection(qintptr socketDescriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    const QString address = AddressKey(socket->peerAddress());
    const bool addressFull = counts_->perAddress.value(address) >= limits_.connectionsPerAddress;
    if (addressFull || counts_->open >= maxConnections_) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        RequestGuard::Refuse(socket, addressFull ? 429 : 503,
                             addressFull ? "too many connections from this address\n"
                                         : "too many connections, try again later\n",
                             "Retry-After: 30\r\n", kRefusedLingerMs);
        return;
    }
    ++counts_->open;
    ++counts_->perAddress[address];
    new Ticket(socket, [counts = counts_, address] {
        --counts->open;
        const auto it = counts->perAddress.find(address);
        if (it != counts->perAddress.end() && --it.value() <= 0) counts->perAddress.erase(it);
    });
    auto* guard = new RequestGuard(socket, limits_.requests, limits_.webSockets);
    connect(guard, &RequestGuard::upgraded, this, &HttpGate::webSocketOpened);
    addPendingConnection(socket);
}
