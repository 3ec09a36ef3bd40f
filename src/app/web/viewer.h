#pragma once
// One browser on the live feed (a WebSocket): it is sent the newest audience picture and the
// newest state, and never more than one message waits for it. A viewer that has a picture gets
// the patches since (all it missed in one message); one that has none, or is too far behind,
// the whole picture. One that stops reading altogether is dropped after a while.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <deque>
#include <utility>

class WebSocketLink;

// The pictures and the newest state (UTF-8 JSON, with a serial number that changes with it);
// shared by every viewer. Frames are numbered by the encoder: the newest, the one the whole PNG
// shows, and the patches of the frames before the newest (each over the one before it, in a row
// up to the newest).
struct LiveFeed {
    quint64 frame = 0;
    QByteArray picture;
    quint64 pictureFrame = 0;
    std::deque<std::pair<quint64, QByteArray>> patches;
    QByteArray state;
    quint64 stateSerial = 0;

    // Patches kept for viewers that fall behind.
    static constexpr std::size_t kKeptPatches = 16;
    // A viewer at `frame` can be brought to the newest by patches.
    bool Patches(quint64 from) const {
        return from != 0 && !patches.empty() && patches.front().first <= from + 1 &&
               patches.back().first == frame;
    }
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
    // The viewer needs the newest picture whole.
    void wholeWanted();

  private:
    void Written();

    QPointer<WebSocketLink> link_;
    const LiveFeed& feed_;
    bool pictures_;
    bool state_;
    int stuckMs_;
    quint64 frameSent_ = 0;
    quint64 stateSent_ = 0;
    // Since when a message has been waiting for this viewer to read it.
    QElapsedTimer waiting_;
};
