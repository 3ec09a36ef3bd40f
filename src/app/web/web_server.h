#pragma once
// The display as a small web server (trqdisplay --web): the audience picture live in any
// browser, the heats for the couples' phones, and a remote with the operator's live commands.
// This object lives on the console's thread: it publishes the audience picture whenever the
// audience screen changes and the state whenever a command announces a change, and runs the
// remote's commands through the operator commands; the HTTP side (WebHub) and the picture encoding
// run on threads of their own.

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QThread>
#include <QUrl>
#include <memory>
#include <unordered_map>
#include <utility>

#include "app/web/web_limits.h"
#include "app/widgets/after_repaint.h"
#include "core/competition/competition_state.h"
#include "core/competition/couple_heats.h"
#include "core/competition/now_json.h"

class DaySchedule;
class OperatorCommands;
class PictureEncoder;
class RelayPublisher;
class ScrForm;
class WebHub;

struct WebServerOptions {
    QString address;  // empty: every interface
    quint16 port = 0;
    WebLimits limits;
};

class WebServer : public QObject {
    Q_OBJECT
  public:
    WebServer(const Competition& state, ScrForm& audience, OperatorCommands& commands,
              QObject* parent = nullptr);
    ~WebServer() override;

    // Listens and publishes the current picture; false with the reason when it cannot listen.
    bool Start(const WebServerOptions& options, QString* error);
    // Publishing to a relay without serving anyone here (--publish without --web).
    void StartWithoutListening();
    // Everything the pages show goes to the relay too: every new picture (encoded whether or not
    // anyone watches here), the state on every change and the couples' next heats.
    void SetRelay(RelayPublisher* relay);
    // Publishes a change still waiting, lets the encoder finish, then waits (at most `ms`) until
    // the relay has taken everything; false when it has not. For the rehearsal, step by step.
    bool WaitPublished(int ms);

    // The mirror's and the remote's addresses (the remote's with its token), for people on the
    // network: a listening address of every interface is shown as this computer's address.
    QUrl MirrorUrl() const;
    QUrl RemoteUrl() const;
    // A relay on this computer in front of the program (hall mode: the program's server on the
    // loopback address, the relay at `relay`, a loopback publish URL): the addresses people are
    // given are the relay's, on this computer's network address and the relay's port.
    void ServeThroughRelay(const QUrl& relay);
    int Viewers() const { return viewers_; }
    // The day's estimates: the pages' schedule and the couples' next heats come from them.
    void SetSchedule(DaySchedule* schedule);
    // Every new audience picture encoded whole (PictureEncoder::encoded), viewers or not.
    void SetFullPicturesWanted(bool wanted);
    PictureEncoder& Encoder() { return *encoder_; }

  signals:
    void viewersChanged(int count);

  private:
    void PictureChanged();
    void StateChanged();
    void Publish();
    // Encodes the hall's picture when a change left it unencoded (nobody was watching then).
    void EncodeStalePicture();
    // The state as the pages show it: while the screen is held, what the hall still sees.
    QByteArray StateJson();
    void RunCommand(quint64 id, const QString& name);
    // /next.json?no=N: the couple's next heat with its estimated start.
    void NextHeat(quint64 id, int number);
    QByteArray NextHeatJson(int number);
    QJsonObject NextHeatObject(int number);
    // The item's event and text, decoded once for many couples.
    using ItemTexts = std::unordered_map<int, std::pair<QString, QString>>;
    QJsonObject NextHeatObject(int number, const CoupleHeat& next, ItemTexts* texts = nullptr);
    // Every known couple's next heat, for the relay's heats page: {estimate, at, numbers}.
    QByteArray HeatsJson();
    void PublishHeats();
    // The heat files of the day's events, read again when the item changes or after a minute.
    void ReadDrawnHeatsWhenDue();
    void StartFeeds();

    const Competition& state_;
    ScrForm& audience_;
    OperatorCommands& commands_;
    QByteArray token_;
    QString host_;
    QString scheme_ = QStringLiteral("http");
    quint16 port_ = 0;
    int viewers_ = 0;
    bool publishQueued_ = false;
    // A command draws several surfaces one after the other; they are published together, once
    // the windows have been repainted with them (already published when the rehearsal waited).
    AfterRepaint publishAfterRepaint_{[this] {
                                          if (publishQueued_) Publish();
                                      },
                                      0};
    bool pictureQueued_ = false;
    bool pictureStale_ = false;
    bool everEncoded_ = false;
    bool fullWanted_ = false;
    NowJsonFeed feed_;
    DaySchedule* schedule_ = nullptr;
    // The drawn heats of the day's events, read again when the item changes or after a minute.
    std::vector<DrawnHeats> drawn_;
    int drawnItem_ = -1;
    QElapsedTimer drawnAge_;

    RelayPublisher* relay_ = nullptr;
    // The relay's heats: worked out at once when the item changes, else at most every 5 s.
    QElapsedTimer heatsAge_;
    int heatsItem_ = -1;
    bool heatsQueued_ = false;
    QByteArray lastHeats_;
    QByteArray lastRelayState_;
    bool feedsStarted_ = false;

    QThread webThread_;
    QThread encoderThread_;
    WebHub* hub_ = nullptr;
    std::unique_ptr<PictureEncoder> encoder_;
};
