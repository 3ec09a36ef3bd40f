#pragma once
// One browser on the live feed (a WebSocket): it is sent the newest audience picture and the
// newest state, and never more than one message waits for it. A slow viewer skips the pictures
// it had no time for; one that stops reading altogether is dropped after a while.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class WebSocketLink;

// The newest picture (PNG) and state (UTF-8 JSON), each with a serial number that changes with
// it; shared by every viewer.
struct LiveFeed {
    QByteArray picture;
    quint64 pictureSerial = 0;
    QByteArray state;
    quint64 stateSerial = 0;
};

class Viewer : public QObject {
    Q_OBJECT
  public:
    // stuckMs: how long a message may wait for the viewer to take it.
    Viewer(WebSocketLink* link, const LiveFeed& feed, bool pictures, bool state, int stuckMs,
           QObject* parent = nullptr);
    // Ends the connection if it is still open.
    ~Viewer() override;

    // Sends what is newer than what this viewer has, when nothing is waiting for it.
    void Offer();
    // Ends the connection with a close code and reason.
    void Close(int code, const QByteArray& reason);

  signals:
    void gone(Viewer* viewer);

  private:
    void Written();

    QPointer<WebSocketLink> link_;
    const LiveFeed& feed_;
    bool pictures_;
    bool state_;
    int stuckMs_;
    quint64 pictureSent_ = 0;
    quint64 stateSent_ = 0;
    // Since when a message has been waiting for this viewer to read it.
    QElapsedTimer waiting_;
};
