#include "app/web/request_guard.h"

#include <QTcpSocket>
#include <algorithm>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {

constexpr qint64 kDrainBytes = 64LL * 1024 * 1024;
constexpr int kDrainMs = 3000;

QByteArray ReasonPhrase(int status) {
    switch (status) {
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 409:
            return "Conflict";
        case 411:
            return "Length Required";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 426:
            return "Upgrade Required";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 503:
            return "Service Unavailable";
        default:
            return "Error";
    }
}

bool IsTokenChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr);
}

bool IsToken(QByteArrayView text) {
    if (text.isEmpty()) return false;
    for (char c : text) {
        if (!IsTokenChar(c)) return false;
    }
    return true;
}

bool HasControlOrSpace(QByteArrayView text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return true;
    }
    return false;
}

// Stops sending on a socket: the client reads the answer to its end, then closes its side.
void ShutdownSending(QTcpSocket* socket) {
#ifdef _WIN32
    ::shutdown(static_cast<SOCKET>(socket->socketDescriptor()), SD_SEND);
#else
    ::shutdown(static_cast<int>(socket->socketDescriptor()), SHUT_WR);
#endif
}

}  // namespace

RequestGuard::RequestGuard(QTcpSocket* socket, const RequestLimits& limits)
    : QObject(socket), socket_(socket), limits_(limits) {
    connect(socket_, &QTcpSocket::readyRead, this, &RequestGuard::ReadyRead);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RequestGuard::Timeout);
    timer_.start(limits_.idleTimeoutMs);
}

void RequestGuard::ReadyRead() {
    // The HTTP server re-emits readyRead later for what it left unread; the socket may be closed
    // by then.
    if (!socket_->isOpen()) return;
    // The HTTP server reads everything that has arrived after this: the bytes seen here are new.
    const QByteArray data = socket_->peek(socket_->bytesAvailable());
    if (!Check(data)) return;
    if (phase_ == Phase::Upgraded) {
        // From here on the bytes are WebSocket frames, the WebSocket's business.
        disconnect(socket_, &QTcpSocket::readyRead, this, &RequestGuard::ReadyRead);
        timer_.stop();
        return;
    }
    const bool started = phase_ == Phase::Body || !head_.isEmpty();
    timer_.start(started ? limits_.headerTimeoutMs : limits_.idleTimeoutMs);
}

bool RequestGuard::Check(const QByteArray& data) {
    qsizetype pos = 0;
    while (pos < data.size()) {
        if (phase_ == Phase::Body) {
            const qint64 take = std::min<qint64>(bodyLeft_, data.size() - pos);
            bodyLeft_ -= take;
            pos += take;
            if (bodyLeft_ == 0) phase_ = Phase::Head;
            continue;
        }
        if (phase_ == Phase::Upgraded) return true;
        // Empty lines before a request line are allowed.
        if (head_.isEmpty() && (data[pos] == '\r' || data[pos] == '\n')) {
            ++pos;
            continue;
        }
        const qsizetype before = head_.size();
        head_.append(data.constData() + pos, data.size() - pos);
        const qsizetype end = head_.indexOf("\r\n\r\n");
        if (end < 0) {
            if (head_.size() > limits_.headerBytes) {
                Refuse(431, "request header too large\n");
                return false;
            }
            return true;
        }
        if (end + 4 > limits_.headerBytes) {
            Refuse(431, "request header too large\n");
            return false;
        }
        const int status = CheckHead(head_.left(end + 2));
        if (status != 0) {
            Refuse(status, ReasonPhrase(status).toLower() + '\n');
            return false;
        }
        pos += end + 4 - before;
        head_.clear();
        phase_ = upgrade_ ? Phase::Upgraded : (bodyLeft_ > 0 ? Phase::Body : Phase::Head);
    }
    return true;
}

int RequestGuard::CheckHead(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    // Each line ends in CR LF; the split leaves the CR and one empty piece at the end.
    const QByteArray requestLine = lines.front().chopped(lines.front().endsWith('\r') ? 1 : 0);
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || !IsToken(parts[0])) return 400;
    const QByteArray& target = parts[1];
    if (target.size() > limits_.targetBytes) return 414;
    if (!target.startsWith('/') || HasControlOrSpace(target)) return 400;
    if (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0") return 400;
    if (parts[0] != "GET" && parts[0] != "POST") return 405;

    qint64 length = 0;
    bool hasLength = false;
    bool chunked = false;
    bool upgradeHeader = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (!line.endsWith('\r')) {
            if (i == lines.size() - 1 && line.isEmpty()) break;
            return 400;
        }
        line.chop(1);
        if (line.isEmpty()) break;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !IsToken(QByteArrayView(line).first(colon))) return 400;
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            bool ok = false;
            const qint64 v = value.toLongLong(&ok);
            const bool digits =
                !value.isEmpty() && std::all_of(value.begin(), value.end(),
                                                [](char c) { return c >= '0' && c <= '9'; });
            if (!ok || !digits || (hasLength && v != length)) return 400;
            hasLength = true;
            length = v;
        } else if (name == "transfer-encoding") {
            chunked = true;
        } else if (name == "upgrade") {
            upgradeHeader = value.toLower().contains("websocket");
        }
    }
    // No page takes a body bigger than a few bytes: the commands carry none.
    if (chunked) return 411;
    if (length > limits_.bodyBytes) return 413;
    upgrade_ = upgradeHeader && parts[0] == "GET";
    if (upgrade_) {
        const qsizetype query = target.indexOf('?');
        if (target.left(query < 0 ? target.size() : query) != "/ws") return 404;
    }
    bodyLeft_ = length;
    return 0;
}

void RequestGuard::Timeout() {
    if (phase_ == Phase::Head && head_.isEmpty()) {
        socket_->disconnectFromHost();
        return;
    }
    Refuse(408, "request not complete in time\n");
}

void RequestGuard::Refuse(int status, const QByteArray& text, const QByteArray& extraHeaders) {
    phase_ = Phase::Upgraded;  // nothing more to check
    timer_.stop();
    // Nobody else parses this connection any more.
    disconnect(socket_, &QTcpSocket::readyRead, nullptr, nullptr);
    Refuse(socket_, status, text, extraHeaders);
}

void RequestGuard::Refuse(QTcpSocket* socket, int status, const QByteArray& text,
                          const QByteArray& extraHeaders) {
    // A transaction the HTTP server opened would keep every dropped byte.
    if (socket->isTransactionStarted()) socket->commitTransaction();
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) +
                        "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                        QByteArray::number(text.size()) + "\r\nConnection: close\r\n" +
                        extraHeaders + "\r\n" + text;
    socket->write(answer);
    auto drained = std::make_shared<qint64>(0);
    const auto drain = [socket, drained] {
        *drained += socket->skip(socket->bytesAvailable());
        if (*drained > kDrainBytes) socket->abort();
    };
    QObject::connect(socket, &QTcpSocket::readyRead, socket, drain);
    drain();
    const auto closeSending = [socket] {
        if (socket->bytesToWrite() == 0 && socket->state() == QAbstractSocket::ConnectedState) {
            ShutdownSending(socket);
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, closeSending);
    if (socket->bytesToWrite() == 0) closeSending();
    // A client that never closes its side is cut off.
    QTimer::singleShot(kDrainMs, socket, [socket] { socket->abort(); });
}
