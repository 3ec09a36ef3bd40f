#pragma once
// Publishing to a relay (trqdisplay --publish URL): the audience picture, the state the pages
// show and the couples' next heats go out by HTTP POST to the relay's publisher channels
// (URL + "picture", "now", "heats"), with the secret in a header. The relay, not this computer,
// serves the spectators.
//
// Sending runs on a thread of its own and never waits on the console: each channel keeps only
// its newest body (one superseded before it went out is dropped), so memory stays bounded
// whatever the relay does. A failed send is retried with growing pauses (1 s up to 30 s) and
// the newest body then goes out; the status (sending, unreachable since when, refused, back)
// reaches the console as a signal.

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <QUrl>
#include <QWaitCondition>
#include <map>
#include <optional>

struct RelayStatus {
    enum class State {
        Waiting,      // nothing sent yet
        Reachable,    // the last send was taken
        Unreachable,  // no answer, or not a 2xx answer other than a refusal
        Refused,      // the relay answered 401 or 403: the secret or this address is not let in
    };
    State state = State::Waiting;
    QDateTime since;  // when the relay stopped taking what was sent (Unreachable, Refused)
    QString detail;   // the network error or the HTTP status
    // Reachable after a failure: when the failure began.
    std::optional<QDateTime> backAfter;
};

class RelaySender;

class RelayPublisher : public QObject {
    Q_OBJECT
  public:
    // `base`: the publisher URL, channels are appended ("http://relay/pub/" + "now").
    RelayPublisher(const QUrl& base, const QByteArray& secret, QObject* parent = nullptr);
    ~RelayPublisher() override;

    QUrl Base() const { return base_; }

    // From any thread: the newest body of a channel, replacing one that has not gone out yet.
    void Offer(const QString& channel, const QByteArray& body, const QByteArray& contentType);

    // Waits until everything offered so far has been taken by the relay, or a send has failed
    // since the call, at most `ms`; true when everything went out. The rehearsal waits after
    // each step so that every step's state reaches the relay.
    bool WaitSent(int ms);

    RelayStatus Status() const;

    // How often an idle publisher asks the relay whether its channels still hold their messages
    // (a relay started again has lost them; they are then sent again). 30 s unless set.
    void SetCheckInterval(int ms);
    // The status as the console's short line says it, and the line's tooltip.
    static QString Describe(const RelayStatus& status);
    static QString Explain(const RelayStatus& status);

  signals:
    // On the publisher's own thread (the owner's): whenever the state changes.
    void statusChanged(const RelayStatus& status);

  private:
    friend class RelaySender;
    struct Body {
        QByteArray bytes;
        QByteArray contentType;
    };
    // Called by the sender (its thread).
    void Sent(bool ok, int httpStatus, const QString& error);

    const QUrl base_;
    QThread thread_;
    RelaySender* sender_ = nullptr;

    mutable QMutex mutex_;
    QWaitCondition settled_;
    std::map<QString, Body> waiting_;  // by channel, the newest not yet sent
    int inFlight_ = 0;
    quint64 failures_ = 0;  // sends that failed so far
    RelayStatus status_;
};

Q_DECLARE_METATYPE(RelayStatus)
