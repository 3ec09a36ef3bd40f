#pragma once
// Looks at every request on one connection before the HTTP server parses it. A request line that
// is not HTTP/1.x (refused as soon as its first bytes show it), a header block or body over the
// limits, an unknown method, chunked bodies and malformed WebSocket handshakes are answered with
// a 4xx and the connection is closed; so is a request whose head and body have not arrived by the
// deadline, however slowly the bytes come. Lines may end in LF alone, as the HTTP server accepts
// them. A request that asks for the connection to close (Connection: close, HTTP/1.0 without
// keep-alive) gets its answer and nothing more. A WebSocket handshake for /ws is answered here
// and the connection becomes a WebSocketLink; the HTTP server never sees it.

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "app/web/web_limits.h"

class QTcpSocket;
class WebSocketLink;

class RequestGuard : public QObject {
    Q_OBJECT
  public:
    // How long a refused or ending connection may take to close before it is cut.
    static constexpr int kLingerMs = 3000;

    // Watches socket; must be created before anything else connects to its readyRead, so that
    // it sees every byte first. Lives as the socket's child.
    RequestGuard(QTcpSocket* socket, const RequestLimits& limits,
                 const WebSocketLimits& webSockets);

    // The answer to the oldest unanswered request on socket was written: a connection whose
    // request asked to close is closed once that answer has gone out.
    static void Answered(QTcpSocket* socket);

    // Answers with status and a short text, then closes the connection politely: the rest of
    // what the client sends is read and dropped, so that it sees the answer, not a reset; after
    // lingerMs the connection is cut and the socket deleted.
    static void Refuse(QTcpSocket* socket, int status, const QByteArray& text,
                       const QByteArray& extraHeaders = {}, int lingerMs = kLingerMs);

  signals:
    // A viewer's WebSocket opened on this connection.
    void upgraded(WebSocketLink* link);

  private:
    enum class Phase {
        Head,       // between requests, or reading a head
        Body,       // reading a body
        Closing,    // the last request is in; its answer ends the connection
        WebSocket,  // handed to the link
        Done,       // refused or closed
    };
    struct Head;

    void ReadyRead();
    // Consumes the bytes of data that belong to the requests; false once the connection was
    // refused or taken over.
    bool Check(const QByteArray& data);
    Head ParseHead(const QByteArray& head) const;
    void StartRequest();
    void RequestDone();
    void Upgrade(const Head& head, qsizetype consumed);
    void Refuse(int status, const QByteArray& text = {}, const QByteArray& extraHeaders = {});
    void Timeout();
    void End();

    QTcpSocket* socket_;
    RequestLimits limits_;
    WebSocketLimits webSockets_;
    Phase phase_ = Phase::Head;
    QByteArray head_;
    qint64 bodyLeft_ = 0;
    int requests_ = 0;               // requests passed to the HTTP server
    int answered_ = 0;               // of them, answered
    int closeAfter_ = 0;             // the request whose answer ends the connection (0: none yet)
    bool doneInChunk_ = false;       // a request ended in the bytes being checked
    QTimer timer_;                   // the request's deadline, or the idle time between requests
    WebSocketLink* link_ = nullptr;  // a sibling: both go with the socket
};
