#pragma once
// Looks at every request on one connection before the HTTP server parses it: a request line that
// is not HTTP/1.x, a header block or body over the limits, an unknown method, chunked bodies and
// WebSocket upgrades to any path but /ws are answered with a 4xx and the connection is closed.
// The HTTP server of the toolkit would buffer such a request whole, or drop the connection
// without an answer.

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "app/web/web_limits.h"

class QTcpSocket;

class RequestGuard : public QObject {
    Q_OBJECT
  public:
    // Watches socket; must be created before anything else connects to its readyRead, so that
    // it sees every byte first. Lives as the socket's child.
    RequestGuard(QTcpSocket* socket, const RequestLimits& limits);

    // Answers with status and a short text, then closes the connection politely: the rest of
    // what the client sends is read and dropped, so that it sees the answer, not a reset.
    static void Refuse(QTcpSocket* socket, int status, const QByteArray& text,
                       const QByteArray& extraHeaders = {});

  private:
    enum class Phase { Head, Body, Upgraded };
    void ReadyRead();
    // Consumes the bytes of data that belong to the current request; false once refused.
    bool Check(const QByteArray& data);
    // The status for a complete header block, 0 when it may pass.
    int CheckHead(const QByteArray& head);
    void Refuse(int status, const QByteArray& text, const QByteArray& extraHeaders = {});
    void Timeout();

    QTcpSocket* socket_;
    RequestLimits limits_;
    Phase phase_ = Phase::Head;
    QByteArray head_;
    qint64 bodyLeft_ = 0;
    bool upgrade_ = false;
    QTimer timer_;
};
