#include "app/web/web_hub.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <algorithm>
#include <utility>

#include "app/web/http_gate.h"
#include "app/web/remote_commands.h"
#include "app/web/request_guard.h"
#include "app/web/web_socket_link.h"

namespace {

using Status = QHttpServerResponder::StatusCode;

// At most this many commands wait for the console at once.
constexpr size_t kPendingCommands = 8;

// A page or script of the resources.
QByteArray Resource(const QString& name) {
    QFile file(QStringLiteral(":/web/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SameToken(const QByteArray& a, const QByteArray& b) {
    if (a.isEmpty() || a.size() != b.size()) return false;
    // Every byte is compared, so the time taken tells nothing about a wrong guess.
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i) difference |= a[i] ^ b[i];
    return difference == 0;
}

void Write(QHttpServerResponder& r, Status status, const QByteArray& type, const QByteArray& body,
           bool cached = false) {
    r.write(body,
            {{"Content-Type", type},
             {"Cache-Control", cached ? "max-age=60" : "no-store"},
             {"X-Content-Type-Options", "nosniff"},
             {"Referrer-Policy", "no-referrer"}},
            status);
}

void WriteText(QHttpServerResponder& r, Status status, const QByteArray& text) {
    Write(r, status, "text/plain; charset=utf-8", text + '\n');
}

// Too many at once: 429, to be tried again in a second.
void WriteTooMany(QHttpServerResponder& r, const QByteArray& text) {
    r.write(text + '\n', {{"Content-Type", "text/plain; charset=utf-8"}, {"Retry-After", "1"}},
            Status::TooManyRequests);
}

}  // namespace

WebHub::WebHub(const QByteArray& token, const WebLimits& limits, QObject* parent)
    : QAbstractHttpServer(parent),
      token_(token),
      limits_(limits),
      commands_(limits.commandBurst, limits.commandsPerSecond),
      nextHeatQuestions_(limits.nextHeatBurst, limits.nextHeatsPerSecond) {}

WebHub::~WebHub() {
    // The viewers read the feed, a member: they go first.
    for (Viewer* v : std::exchange(viewers_, {})) {
        disconnect(v, nullptr, this, nullptr);
        delete v;
    }
}

quint16 WebHub::Listen(const QHostAddress& address, quint16 port, QString* error) {
    // Room for every viewer and a few page loads besides.
    auto* gate = new HttpGate(limits_, limits_.maxViewers + 64, this);
    if (!gate->listen(address, port)) {
        if (error != nullptr) *error = gate->errorString();
        delete gate;
        return 0;
    }
    connect(gate, &HttpGate::webSocketOpened, this, &WebHub::AcceptViewer);
    bind(gate);
    return gate->serverPort();
}

void WebHub::AddPatch(quint64 frame, const QByteArray& patch) {
    // Only patches in a row up to the newest frame are of use.
    if (!feed_.patches.empty() && feed_.patches.back().first + 1 != frame) feed_.patches.clear();
    feed_.patches.emplace_back(frame, patch);
    while (feed_.patches.size() > LiveFeed::kKeptPatches) feed_.patches.pop_front();
    feed_.frame = frame;
    OfferAll();
}

void WebHub::SetPicture(quint64 frame, const QByteArray& png) {
    if (frame < feed_.frame) return;
    if (frame > feed_.frame) {
        feed_.patches.clear();
        feed_.frame = frame;
    }
    feed_.picture = png;
    feed_.pictureFrame = frame;
    pictureStale_ = false;
    wholeAsked_ = false;
    for (Pending& waiting : waitingForPicture_) {
        if (waiting.socket.isNull()) continue;
        Write(waiting.responder, Status::Ok, "image/png", png);
        RequestGuard::Answered(waiting.socket);
    }
    waitingForPicture_.clear();
    OfferAll();
}

void WebHub::SetPictureStale() { pictureStale_ = true; }

void WebHub::SetState(const QByteArray& json) {
    if (json == feed_.state) return;
    feed_.state = json;
    // The estimates or the heats moved: next heats are worked out again when asked.
    nextHeats_.clear();
    ++feed_.stateSerial;
    OfferAll();
}

void WebHub::OfferAll() {
    // A viewer cut off while it is offered leaves the list at once (and is deleted later).
    const std::vector<Viewer*> viewers = viewers_;
    for (Viewer* v : viewers) v->Offer();
}

bool WebHub::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    // WebSocket handshakes never come here: the request guard answers them.
    Respond(request, socket);
    return true;
}

void WebHub::Respond(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QString path = request.url().path();
    const bool get = request.method() == QHttpServerRequest::Method::Get;
    static const QString kCommandPrefix = QStringLiteral("/api/command/");
    if (path.startsWith(kCommandPrefix)) {
        if (request.method() != QHttpServerRequest::Method::Post) {
            QHttpServerResponder r = makeResponder(request, socket);
            r.write("POST only\n", {{"Content-Type", "text/plain"}, {"Allow", "POST"}},
                    Status::MethodNotAllowed);
            RequestGuard::Answered(socket);
            return;
        }
        Command(request, socket, path.mid(kCommandPrefix.size()));
        return;
    }
    if (path == u"/next.json" && get) {
        NextHeat(request, socket);
        return;
    }

    QHttpServerResponder r = makeResponder(request, socket);
    static const QHash<QString, std::pair<QString, QByteArray>> kFiles{
        {QStringLiteral("/"), {QStringLiteral("mirror.html"), "text/html; charset=utf-8"}},
        {QStringLiteral("/heats"), {QStringLiteral("heats.html"), "text/html; charset=utf-8"}},
        {QStringLiteral("/remote"), {QStringLiteral("remote.html"), "text/html; charset=utf-8"}},
        {QStringLiteral("/schedule"),
         {QStringLiteral("schedule.html"), "text/html; charset=utf-8"}},
        {QStringLiteral("/live.js"), {QStringLiteral("live.js"), "text/javascript; charset=utf-8"}},
    };
    const auto file = kFiles.constFind(path);
    const bool known = file != kFiles.cend() || path == u"/now.json" || path == u"/picture.png" ||
                       path == u"/ws" || path == u"/next.json";
    if (!known) {
        WriteText(r, Status::NotFound, "not found");
    } else if (!get) {
        r.write("GET only\n", {{"Content-Type", "text/plain"}, {"Allow", "GET"}},
                Status::MethodNotAllowed);
    } else if (file != kFiles.cend()) {
        Write(r, Status::Ok, file->second, Resource(file->first), true);
    } else if (path == u"/now.json") {
        Write(r, Status::Ok, "application/json; charset=utf-8", feed_.state);
    } else if (path == u"/picture.png" &&
               (pictureStale_ || feed_.pictureFrame != feed_.frame) &&
               waitingForPicture_.size() < 64) {
        // The picture on the hall is newer than the one kept whole: answered once it is
        // encoded.
        waitingForPicture_.push_back(Pending{std::move(r), QPointer<QTcpSocket>(socket)});
        if (waitingForPicture_.size() == 1) emit pictureWanted();
        return;
    } else if (path == u"/picture.png") {
        if (feed_.picture.isEmpty()) {
            WriteText(r, Status::ServiceUnavailable, "no picture yet");
        } else {
            Write(r, Status::Ok, "image/png", feed_.picture);
        }
    } else {
        WriteText(r, Status::UpgradeRequired, "WebSocket only");
    }
    RequestGuard::Answered(socket);
}

void WebHub::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder r = makeResponder(request, socket);
    WriteText(r, Status::NotFound, "not found");
    RequestGuard::Answered(socket);
}

bool WebHub::RateLimit::Take() {
    const double seconds = clock_.restart() / 1000.0;
    tokens_ = std::min<double>(burst_, tokens_ + seconds * perSecond_);
    if (tokens_ < 1.0) return false;
    tokens_ -= 1.0;
    return true;
}

void WebHub::Command(const QHttpServerRequest& request, QTcpSocket* socket, const QString& name) {
    QHttpServerResponder r = makeResponder(request, socket);
    const QByteArray token = request.query().queryItemValue(QStringLiteral("token")).toUtf8();
    if (!SameToken(token, token_)) {
        WriteText(r, Status::Forbidden, "wrong or missing token");
        RequestGuard::Answered(socket);
        return;
    }
    if (!RemoteCommandNames().contains(name)) {
        WriteText(r, Status::NotFound, "no such command");
        RequestGuard::Answered(socket);
        return;
    }
    if (pending_.size() >= kPendingCommands || !commands_.Take()) {
        WriteTooMany(r, "too many commands, slow down");
        RequestGuard::Answered(socket);
        return;
    }
    emit commandRequested(Wait(std::move(r), socket), name);
}

quint64 WebHub::Wait(QHttpServerResponder responder, QTcpSocket* socket) {
    const quint64 id = nextId_++;
    pending_.emplace(id, Pending{std::move(responder), QPointer<QTcpSocket>(socket)});
    return id;
}

void WebHub::NextHeat(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder r = makeResponder(request, socket);
    const QString text = request.query().queryItemValue(QStringLiteral("no"));
    bool ok = text.size() <= 4;
    const int number = ok ? text.toInt(&ok, 10) : 0;
    if (!ok || number <= 0) {
        WriteText(r, Status::BadRequest, "no=N: a back number from 1 to 9999");
        RequestGuard::Answered(socket);
        return;
    }
    if (const auto known = nextHeats_.find(number); known != nextHeats_.end()) {
        Write(r, Status::Ok, "application/json; charset=utf-8", known->second);
        RequestGuard::Answered(socket);
        return;
    }
    if (pending_.size() >= kPendingCommands * 8 || !nextHeatQuestions_.Take()) {
        WriteTooMany(r, "too many questions, ask again in a moment");
        RequestGuard::Answered(socket);
        return;
    }
    emit nextHeatRequested(Wait(std::move(r), socket), number);
}

void WebHub::AnswerNextHeat(quint64 id, int number, const QByteArray& json) {
    if (nextHeats_.size() < 10000) nextHeats_[number] = json;
    Answer(id, 200, json);
}

void WebHub::Answer(quint64 id, int status, const QByteArray& json) {
    const auto it = pending_.find(id);
    if (it == pending_.end()) return;
    // The client may have gone while the console worked: then there is nobody to answer.
    if (!it->second.socket.isNull()) {
        Write(it->second.responder, static_cast<Status>(status), "application/json; charset=utf-8",
              json);
        RequestGuard::Answered(it->second.socket);
    }
    pending_.erase(it);
}

void WebHub::AcceptViewer(WebSocketLink* link) {
    const QUrlQuery query(QUrl::fromEncoded(link->Target()));
    const bool state = query.hasQueryItem(QStringLiteral("state"));
    const bool pictures = query.hasQueryItem(QStringLiteral("picture")) || !state;
    auto* viewer = new Viewer(link, feed_, pictures, state, limits_.webSockets.stuckMs, this);
    connect(viewer, &Viewer::gone, this, &WebHub::ViewerGone);
    connect(viewer, &Viewer::wholeWanted, this, [this] {
        if (!std::exchange(wholeAsked_, true)) emit pictureWanted();
    });
    if (static_cast<int>(viewers_.size()) >= limits_.maxViewers) {
        // The page says the hall is full and retries after a while.
        viewer->Close(kCloseFull, "too many viewers");
        QTimer::singleShot(5000, viewer, [viewer] { viewer->deleteLater(); });
        return;
    }
    viewers_.push_back(viewer);
    viewer->Offer();
    emit viewersChanged(static_cast<int>(viewers_.size()));
}

void WebHub::ViewerGone(Viewer* viewer) {
    viewer->deleteLater();
    const auto it = std::find(viewers_.begin(), viewers_.end(), viewer);
    if (it == viewers_.end()) return;  // a viewer refused for the limit
    viewers_.erase(it);
    emit viewersChanged(static_cast<int>(viewers_.size()));
}
