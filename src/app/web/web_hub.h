#pragma once
// The HTTP and WebSocket side of the web server, on a thread of its own so that no client can
// slow the console: the pages, /now.json, /picture.png, the live feed (/ws) and the remote's
// commands. It holds copies of what the console publishes and never touches the competition
// state: commands go to the console as requests and come back as answers.

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QHttpServerResponder>
#include <QPointer>
#include <unordered_map>
#include <vector>

#include "app/web/request_guard.h"
#include "app/web/viewer.h"
#include "app/web/web_limits.h"

class QTcpSocket;
class WebSocketLink;

class WebHub : public QAbstractHttpServer {
    Q_OBJECT
  public:
    WebHub(const QByteArray& token, const WebLimits& limits, QObject* parent = nullptr);
    ~WebHub() override;

    // Listens on address and port (0: a free one); the port, or 0 with the reason in error.
    quint16 Listen(const QHostAddress& address, quint16 port, QString* error);

    // The whole picture of frame `frame` as PNG, and frame `frame` as a patch over the one before.
    void SetPicture(quint64 frame, const QByteArray& png);
    void AddPatch(quint64 frame, const QByteArray& patch);
    // The hall's picture changed and was not encoded (nobody was watching): a request for
    // /picture.png waits for the encoding it asks for.
    void SetPictureStale();
    void SetState(const QByteArray& json);
    // The console's answer to command request `id`: the status and the state after it.
    void Answer(quint64 id, int status, const QByteArray& json);
    // The console's answer to next-heat request `id` for a back number; kept until the state
    // changes, so a page that asks again is answered here.
    void AnswerNextHeat(quint64 id, int number, const QByteArray& json);

  signals:
    // A remote command with a valid token, for the console to run; answered with Answer.
    void commandRequested(quint64 id, const QString& name);
    // A couple's next heat (/next.json?no=N), for the console to work out; answered with
    // AnswerNextHeat.
    void nextHeatRequested(quint64 id, int number);
    void viewersChanged(int count);
    // Someone asks for the picture while it is stale or only patched: the console encodes it.
    void pictureWanted();

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    void Respond(const QHttpServerRequest& request, QTcpSocket* socket);
    void Command(const QHttpServerRequest& request, QTcpSocket* socket, const QString& name);
    void NextHeat(const QHttpServerRequest& request, QTcpSocket* socket);
    // The responder waits for the console's answer; its request's id.
    quint64 Wait(QHttpServerResponder responder, QTcpSocket* socket);
    void AcceptViewer(WebSocketLink* link);
    void OfferAll();
    void ViewerGone(Viewer* viewer);

    struct Pending {
        QHttpServerResponder responder;
        QPointer<QTcpSocket> socket;
    };

    QByteArray token_;
    WebLimits limits_;
    LiveFeed feed_;
    std::vector<Viewer*> viewers_;
    std::unordered_map<quint64, Pending> pending_;
    quint64 nextId_ = 1;
    // A burst of `burst`, then `perSecond` a second.
    class RateLimit {
      public:
        RateLimit(int burst, double perSecond)
            : burst_(burst), perSecond_(perSecond), tokens_(burst) {
            clock_.start();
        }
        bool Take();

      private:
        int burst_;
        double perSecond_;
        double tokens_;
        QElapsedTimer clock_;
    };
    RateLimit commands_;
    RateLimit nextHeatQuestions_;
    // Next heats worked out since the state last changed, by back number.
    std::unordered_map<int, QByteArray> nextHeats_;
    bool pictureStale_ = false;
    // The whole picture is asked for and not here yet.
    bool wholeAsked_ = false;
    std::vector<Pending> waitingForPicture_;
};
