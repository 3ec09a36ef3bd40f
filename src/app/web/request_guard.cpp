#include "app/web/request_guard.h"

#include <QTcpSocket>
#include <algorithm>
#include <cstring>
#include <memory>

#include "app/web/web_socket_link.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {

constexpr qint64 kDrainBytes = 64LL * 1024 * 1024;
// The longest method name that may start a request line (those served are shorter).
constexpr qsizetype kMethodBytes = 16;

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

// A header value: visible characters, blanks and tabs, and the bytes of other encodings.
bool IsFieldValue(QByteArrayView text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f) return false;
    }
    return true;
}

// Just past the empty line that ends a head, its lines ending in CR LF or in LF alone; -1 while
// it has not come. Looks from `from` on.
qsizetype HeadEnd(const QByteArray& head, qsizetype from) {
    for (qsizetype i = std::max<qsizetype>(from, 0); i < head.size(); ++i) {
        if (head[i] != '\n') continue;
        if (i + 1 < head.size() && head[i + 1] == '\n') return i + 2;
        if (i + 2 < head.size() && head[i + 1] == '\r' && head[i + 2] == '\n') return i + 3;
    }
    return -1;
}

QByteArrayView WithoutCr(QByteArrayView line) {
    return line.endsWith('\r') ? line.chopped(1) : line;
}

// The status for a request line, or for as much of it as has come (complete: false); 0 while it
// may be a request we serve.
int CheckRequestLine(QByteArrayView line, bool complete, const RequestLimits& limits) {
    const qsizetype space = line.indexOf(' ');
    const QByteArrayView method = space < 0 ? line : line.first(space);
    if (!method.isEmpty() && !IsToken(method)) return 400;
    if (method.size() > kMethodBytes) return 400;
    if (space < 0) return complete ? 400 : 0;
    if (method != "GET" && method != "POST") return IsToken(method) ? 405 : 400;
    const QByteArrayView rest = line.sliced(space + 1);
    const qsizetype space2 = rest.indexOf(' ');
    const QByteArrayView target = space2 < 0 ? rest : rest.first(space2);
    if (target.size() > limits.targetBytes) return 414;
    if (!complete && space2 < 0) return 0;
    if (!target.startsWith('/') || HasControlOrSpace(target)) return 400;
    if (!complete) return 0;
    const QByteArrayView version = rest.sliced(space2 + 1);
    return version == "HTTP/1.1" || version == "HTTP/1.0" ? 0 : 400;
}

// A Sec-WebSocket-Key: 16 bytes in base64.
bool IsWebSocketKey(const QByteArray& key) {
    const auto decoded =
        QByteArray::fromBase64Encoding(key, QByteArray::AbortOnBase64DecodingErrors);
    return key.size() == 24 && decoded && decoded.decoded.size() == 16;
}

// The comma-separated tokens of a header value, in lower case.
QList<QByteArray> Tokens(const QByteArray& value) {
    QList<QByteArray> tokens;
    for (const QByteArray& t : value.split(',')) tokens << t.trimmed().toLower();
    return tokens;
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

struct RequestGuard::Head {
    int status = 0;
    bool close = false;    // the connection ends with this request's answer
    bool upgrade = false;  // a WebSocket handshake for /ws
    qint64 length = 0;
    QByteArray target;
    QByteArray key;
};

RequestGuard::RequestGuard(QTcpSocket* socket, const RequestLimits& limits,
                           const WebSocketLimits& webSockets)
    : QObject(socket), socket_(socket), limits_(limits), webSockets_(webSockets) {
    connect(socket_, &QTcpSocket::readyRead, this, &RequestGuard::ReadyRead);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RequestGuard::Timeout);
    timer_.start(limits_.idleTimeoutMs);
}

void RequestGuard::ReadyRead() {
    // The HTTP server re-emits readyRead later for what it left unread; the socket may be closed
    // by then.
    if (!socket_->isOpen()) return;
    if (phase_ == Phase::WebSocket) {
        link_->ReadAvailable();
        return;
    }
    if (phase_ == Phase::Closing || phase_ == Phase::Done) {
        // Nothing more is for the HTTP server, which reads after this: what it read into a
        // request it will never finish is dropped, and the new bytes are dropped here.
        if (socket_->isTransactionStarted()) socket_->commitTransaction();
        socket_->skip(socket_->bytesAvailable());
        return;
    }
    // The HTTP server reads everything that has arrived after this: the bytes seen here are new.
    Check(socket_->peek(socket_->bytesAvailable()));
}

bool RequestGuard::Check(const QByteArray& data) {
    doneInChunk_ = false;
    qsizetype pos = 0;
    while (pos < data.size()) {
        if (phase_ == Phase::Body) {
            const qint64 take = std::min<qint64>(bodyLeft_, data.size() - pos);
            bodyLeft_ -= take;
            pos += take;
            if (bodyLeft_ == 0) RequestDone();
            continue;
        }
        // Closing: bytes after the last request in the same read reach the HTTP server as they
        // are; the connection ends with the last request's answer all the same.
        if (phase_ != Phase::Head) return true;
        // Empty lines before a request line are allowed; they start no request.
        if (head_.isEmpty() && (data[pos] == '\r' || data[pos] == '\n')) {
            ++pos;
            continue;
        }
        if (head_.isEmpty()) StartRequest();
        const qsizetype before = head_.size();
        head_.append(data.constData() + pos, data.size() - pos);
        const qsizetype end = HeadEnd(head_, before - 2);
        if (end < 0) {
            // Not a request we serve: refused before the rest of it comes.
            const qsizetype lineEnd = head_.indexOf('\n');
            const QByteArrayView line =
                lineEnd < 0 ? QByteArrayView(head_) : QByteArrayView(head_).first(lineEnd);
            int status = CheckRequestLine(WithoutCr(line), lineEnd >= 0, limits_);
            if (status == 0 && head_.size() > limits_.headerBytes) status = 431;
            if (status != 0) {
                Refuse(status);
                return false;
            }
            return true;
        }
        if (end > limits_.headerBytes) {
            Refuse(431);
            return false;
        }
        const Head head = ParseHead(head_.left(end));
        if (head.status != 0) {
            Refuse(head.status);
            return false;
        }
        pos += end - before;
        head_.clear();
        ++requests_;
        if (head.close) closeAfter_ = requests_;
        if (head.upgrade) {
            // The handshake must be the only request in these bytes: one before it is the HTTP
            // server's, which would read the handshake too.
            if (doneInChunk_) {
                Refuse(400);
                return false;
            }
            Upgrade(head, pos);
            return false;
        }
        bodyLeft_ = head.length;
        if (bodyLeft_ > 0) {
            phase_ = Phase::Body;
        } else {
            RequestDone();
        }
    }
    return true;
}

RequestGuard::Head RequestGuard::ParseHead(const QByteArray& head) const {
    Head h;
    QList<QByteArray> lines = head.split('\n');
    // Each line ends in LF, most in CR LF; the split leaves empty pieces at the end.
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    h.status = CheckRequestLine(lines.front(), true, limits_);
    if (h.status != 0) return h;
    const QList<QByteArray> parts = lines.front().split(' ');
    const bool get = parts[0] == "GET";
    const bool http10 = parts[2] == "HTTP/1.0";
    h.target = parts[1];

    bool hasLength = false;
    bool chunked = false;
    bool closeToken = false;
    bool keepAlive = false;
    bool connectionUpgrade = false;
    bool upgradeHeader = false;
    bool webSocket = false;
    int keys = 0;
    QByteArray version;
    const auto refuse = [&h](int status) {
        h.status = status;
        return h;
    };
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty()) break;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !IsToken(QByteArrayView(line).first(colon))) return refuse(400);
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        // A CR inside a line, or any other control character, is no header.
        if (!IsFieldValue(value)) return refuse(400);
        if (name == "content-length") {
            bool ok = false;
            const qint64 v = value.toLongLong(&ok);
            const bool digits =
                !value.isEmpty() && std::all_of(value.begin(), value.end(),
                                                [](char c) { return c >= '0' && c <= '9'; });
            if (!ok || !digits || (hasLength && v != h.length)) return refuse(400);
            hasLength = true;
            h.length = v;
        } else if (name == "transfer-encoding") {
            chunked = true;
        } else if (name == "connection") {
            for (const QByteArray& t : Tokens(value)) {
                closeToken = closeToken || t == "close";
                keepAlive = keepAlive || t == "keep-alive";
                connectionUpgrade = connectionUpgrade || t == "upgrade";
            }
        } else if (name == "upgrade") {
            upgradeHeader = true;
            webSocket = webSocket || Tokens(value).contains("websocket");
        } else if (name == "sec-websocket-key") {
            h.key = value;
            ++keys;
        } else if (name == "sec-websocket-version") {
            version = value;
        }
    }
    // No page takes a body bigger than a few bytes: the commands carry none.
    if (chunked) return refuse(411);
    if (h.length > limits_.bodyBytes) return refuse(413);
    h.close = http10 ? !keepAlive : closeToken;
    if (webSocket) {
        const bool handshake = get && !http10 && connectionUpgrade && version == "13" &&
                               keys == 1 && IsWebSocketKey(h.key) && h.length == 0;
        if (!handshake) return refuse(400);
        const qsizetype query = h.target.indexOf('?');
        if (h.target.left(query < 0 ? h.target.size() : query) != "/ws") return refuse(404);
        h.upgrade = true;
        h.close = false;
    } else if (upgradeHeader) {
        // Another protocol (h2c): answered as HTTP/1.1, then the connection ends, since what the
        // client sends next may be no HTTP/1.1.
        h.close = true;
    }
    return h;
}

void RequestGuard::StartRequest() {
    // The deadline runs from the request's first byte; later bytes do not move it.
    timer_.start(limits_.requestTimeoutMs);
}

void RequestGuard::RequestDone() {
    doneInChunk_ = true;
    phase_ = closeAfter_ == requests_ ? Phase::Closing : Phase::Head;
    // Until the next request, or (closing) until the answer went out.
    timer_.start(limits_.idleTimeoutMs);
}

void RequestGuard::Upgrade(const Head& head, qsizetype consumed) {
    // The HTTP server reads this connection no more: its request, half parsed at most, is
    // dropped, and only the guard hears of new bytes.
    if (socket_->isTransactionStarted()) socket_->commitTransaction();
    disconnect(socket_, &QTcpSocket::readyRead, nullptr, nullptr);
    connect(socket_, &QTcpSocket::readyRead, this, &RequestGuard::ReadyRead);
    socket_->skip(consumed);
    phase_ = Phase::WebSocket;
    timer_.stop();
    socket_->write(
        "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
        "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
        WebSocketLink::AcceptKey(head.key) + "\r\n\r\n");
    socket_->flush();
    link_ = new WebSocketLink(socket_, head.target, webSockets_);
    emit upgraded(link_);
    // Frames right behind the handshake.
    if (socket_->bytesAvailable() > 0) link_->ReadAvailable();
}

void RequestGuard::Answered(QTcpSocket* socket) {
    auto* guard = socket->findChild<RequestGuard*>(QString(), Qt::FindDirectChildrenOnly);
    if (guard == nullptr) return;
    ++guard->answered_;
    if (guard->phase_ == Phase::Closing && guard->answered_ >= guard->closeAfter_) {
        // After the HTTP server is done with the request; the answer is written out first.
        QTimer::singleShot(0, guard, &RequestGuard::End);
    }
}

void RequestGuard::Timeout() {
    if (phase_ == Phase::Body || (phase_ == Phase::Head && !head_.isEmpty())) {
        Refuse(408, "request not complete in time\n");
        return;
    }
    // Idle between requests, or an answer that never came.
    End();
}

void RequestGuard::End() {
    phase_ = Phase::Done;
    timer_.stop();
    socket_->disconnectFromHost();
    // The HTTP server deletes a socket that closes; one it let go of is deleted here.
    QTimer::singleShot(kLingerMs, socket_, [socket = socket_] {
        socket->abort();
        socket->deleteLater();
    });
}

void RequestGuard::Refuse(int status, const QByteArray& text, const QByteArray& extraHeaders) {
    phase_ = Phase::Done;
    timer_.stop();
    // Nobody else parses this connection any more.
    disconnect(socket_, &QTcpSocket::readyRead, nullptr, nullptr);
    Refuse(socket_, status, text.isEmpty() ? ReasonPhrase(status).toLower() + '\n' : text,
           extraHeaders);
}

void RequestGuard::Refuse(QTcpSocket* socket, int status, const QByteArray& text,
                          const QByteArray& extraHeaders, int lingerMs) {
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
    // A client that never closes its side is cut off; the socket goes, whoever held it.
    QTimer::singleShot(lingerMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
}
