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

#include "app/web/web_limits.h"
#include "core/competition/competition_state.h"
#include "core/competition/couple_heats.h"
#include "core/competition/now_json.h"

class DaySchedule;
class OperatorCommands;
class PictureEncoder;
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

    // The mirror's and the remote's addresses (the remote's with its token), for people on the
    // network: a listening address of every interface is shown as this computer's address.
    QUrl MirrorUrl() const;
    QUrl RemoteUrl() const;
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

    const Competition& state_;
    ScrForm& audience_;
    OperatorCommands& commands_;
    QByteArray token_;
    QString host_;
    quint16 port_ = 0;
    int viewers_ = 0;
    bool publishQueued_ = false;
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

    QThread webThread_;
    QThread encoderThread_;
    WebHub* hub_ = nullptr;
    std::unique_ptr<PictureEncoder> encoder_;
};
