#pragma once
// The server side of one viewer's WebSocket (RFC 6455), on a connection the request guard took
// over after the handshake. Kept small so that everything a client can make the server hold is
// bounded: a message goes out as one frame; pings are answered a few a second at most, and only
// while nothing else waits to be sent; what the browser sends is read frame by frame and dropped;
// a frame or message over the limit, an unmasked or malformed frame end the connection, and so do
// unsent bytes past the limit. Lives as the socket's child and goes with it.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include "app/web/web_limits.h"

class QTcpSocket;

class WebSocketLink : public QObject {
    Q_OBJECT
  public:
    // socket: the connection, the handshake answered on it; target: the handshake's request
    // target ("/ws?picture").
    WebSocketLink(QTcpSocket* socket, const QByteArray& target, const WebSocketLimits& limits);

    const QByteArray& Target() const { return target_; }
    // Bytes queued for the client that the system has not taken yet.
    qint64 BytesToWrite() const;
    // One message, handed to the system at once; nothing is sent once the closing has begun.
    void SendText(const QByteArray& utf8);
    void SendBinary(const QByteArray& bytes);
    // Sends a close frame and ends the connection when the client answers it, or after a short
    // wait.
    void Close(int code, const QByteArray& reason);
    // Ends the connection at once.
    void Abort();

    // Reads what the client sent. The request guard calls it: it sees the socket's bytes first.
    void ReadAvailable();

    // Sec-WebSocket-Accept for a handshake's Sec-WebSocket-Key.
    static QByteArray AcceptKey(const QByteArray& key);

  signals:
    // The system took bytes; BytesToWrite() may be 0 now.
    void written();
    // The connection ended; the link goes with its socket soon after.
    void closed();

  private:
    void Send(int opcode, const QByteArray& payload);
    // Handles the frame at the start of the unread input; false when it is not complete yet.
    bool NextFrame();
    // A control frame; its payload is read (unmasked) only when it is used.
    void Control(int opcode, const char* masked, qint64 length, const unsigned char* mask);
    bool TakePongToken();
    // The client broke the protocol or a limit: close with that code and read nothing more.
    void Fail(int code);

    QTcpSocket* socket_;
    QByteArray target_;
    WebSocketLimits limits_;
    QByteArray input_;  // read and not handled yet: the start of a frame
    qsizetype inputPos_ = 0;
    bool inMessage_ = false;  // a fragmented message is being received
    qint64 messageBytes_ = 0;
    bool closeSent_ = false;
    bool failed_ = false;
    bool ended_ = false;
    double pongTokens_;
    QElapsedTimer pongClock_;
};
