// The web server on the loopback address, driven as a remote and the phones drive it: the pages,
// /now.json and the mirror's picture after commands (one floor, two floors, shuffled heats, a
// final, an announcement), the token, refused and malformed requests, connections that end after
// their answer, a viewer that never reads, and the limits an attacker runs into: a ping flood,
// thousands of WebSockets in a row, headers a byte at a time, many connections from one address.
#include "app/web/web_server.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QWebSocket>
#include <QtTest>
#include <functional>
#include <map>
#include <utility>
#include <vector>
#include <memory>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/web/demo_web.h"
#include "app/web/picture_encoder.h"
#include "app/web/web_panel.h"
#include "core/competition/view_types.h"
#include "core/platform/canvas.h"

namespace {

constexpr int kWaitMs = 10'000;

struct Reply {
    int status = 0;
    QByteArray body;
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// The texts of the heat view's grids drawn on the audience screen, in drawing order.
QStringList DrawnNumbers(const std::vector<DrawRecord>& records) {
    QStringList out;
    for (const DrawRecord& r : records) {
        const QString t = r.text.trimmed();
        bool number = false;
        t.toInt(&number);
        if (r.op == u"text" && number) out << t;
    }
    return out;
}

QStringList JsonNumbers(const QJsonArray& floors) {
    QStringList out;
    for (const QJsonValue& floor : floors) {
        for (const QJsonValue& n : floor.toArray()) out << QString::number(n.toInt());
    }
    return out;
}

// One request on a connection of its own; the answer as read until the server closes.
QByteArray Raw(quint16 port, const QByteArray& request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(kWaitMs)) return {};
    socket.write(request);
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(kWaitMs)) {
        answer += socket.readAll();
    }
    return answer + socket.readAll();
}

int StatusOf(const QByteArray& answer) {
    const QList<QByteArray> words = answer.left(answer.indexOf('\r')).split(' ');
    return words.size() >= 2 ? words[1].toInt() : 0;
}

const QByteArray kHandshake =
    "GET /ws?state HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
    "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n";

// Reads up to the end of an answer's head; the head, or what came before the connection ended.
QByteArray ReadHead(QTcpSocket& socket) {
    QByteArray head;
    while (!head.contains("\r\n\r\n") && socket.waitForReadyRead(kWaitMs)) {
        head += socket.read(4096 - head.size());
    }
    return head;
}

// The resident memory of this process (the server's threads and the clients).
qint64 ResidentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

}  // namespace

class WebServerTest : public QObject {
    Q_OBJECT

    AppWindows windows;
    std::unique_ptr<WebServer> web;
    QNetworkAccessManager net;

    void Start(const std::function<void(WebLimits&)>& limits = {}) {
        web = StartDemoWithWeb(windows);
        WebServerOptions o;
        o.address = QStringLiteral("127.0.0.1");
        // The sequences below send commands faster than a hand would.
        o.limits.commandBurst = 1000;
        if (limits) limits(o.limits);
        QString error;
        QVERIFY2(web->Start(o, &error), qPrintable(error));
    }

    quint16 Port() const { return static_cast<quint16>(web->MirrorUrl().port()); }
    QByteArray Token() const {
        return QUrlQuery(web->RemoteUrl()).queryItemValue(QStringLiteral("token")).toUtf8();
    }
    QUrl Url(const QString& pathAndQuery) const {
        return web->MirrorUrl().resolved(QUrl(pathAndQuery));
    }

    Reply Http(const QByteArray& method, const QString& pathAndQuery) {
        QNetworkReply* r = net.sendCustomRequest(QNetworkRequest(Url(pathAndQuery)), method);
        QSignalSpy done(r, &QNetworkReply::finished);
        if (!r->isFinished()) done.wait(kWaitMs);
        Reply reply{r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), r->readAll()};
        r->deleteLater();
        return reply;
    }
    Reply Command(const QString& name) {
        return Http("POST", QStringLiteral("/api/command/%1?token=%2").arg(name, Token()));
    }

    // A viewer of the live feed, connected.
    std::unique_ptr<QWebSocket> Viewer(const QString& feed) {
        auto socket = std::make_unique<QWebSocket>();
        QSignalSpy connected(socket.get(), &QWebSocket::connected);
        QUrl url = Url(QStringLiteral("/ws") + feed);
        url.setScheme(QStringLiteral("ws"));
        // Every picture from the first on, also those that come before a test's spy.
        QWebSocket* s = socket.get();
        connect(s, &QWebSocket::binaryMessageReceived, this,
                [this, s](const QByteArray& m) { received_[s].push_back(m); });
        socket->open(url);
        if (connected.isEmpty()) connected.wait(kWaitMs);
        return socket;
    }

    // Waits until the viewer shows the picture the venue shows now: the first message is the
    // whole picture, and a patch is painted over what the viewer shows.
    bool SeesVenuePicture(QWebSocket& viewer, QSignalSpy& pictures) {
        const QImage venue = windows.audience->Picture();
        QImage& shown = shown_[&viewer];
        std::vector<QByteArray>& received = received_[&viewer];
        for (int i = 0; i < 50; ++i) {
            while (!received.empty()) {
                const QByteArray message = received.front();
                received.erase(received.begin());
                if (!message.startsWith("TRQP")) {
                    shown = QImage::fromData(message, "PNG").convertToFormat(QImage::Format_RGB32);
                } else if (!PictureEncoder::ApplyPatch(message, shown)) {
                    return false;
                }
                if (shown == venue) return true;
            }
            if (!pictures.wait(kWaitMs)) return false;
            pictures.clear();
        }
        return false;
    }
    std::map<const QWebSocket*, QImage> shown_;
    std::map<const QWebSocket*, std::vector<QByteArray>> received_;

    // Steps the programme until the event of that name is current.
    bool GoToEvent(const QString& event) {
        for (int i = 0; i < 60; ++i) {
            if (Http("GET", QStringLiteral("/now.json")).json()["event"].toString() == event) {
                return true;
            }
            if (Command(QStringLiteral("item-next")).status != 200) return false;
        }
        return false;
    }

  private slots:
    void init() {
        Hooks().showMessage = [](const QString&, const QString&) {};
    }
    void cleanup() {
        shown_.clear();
        received_.clear();
        web.reset();
        windows = AppWindows();
    }

    void pages() {
        Start();
        // The first picture is encoded on its own thread a moment after the start.
        QTRY_COMPARE_WITH_TIMEOUT(Http("GET", QStringLiteral("/picture.png")).status, 200, kWaitMs);
        const struct {
            const char* path;
            int status;
            const char* contains;
        } cases[] = {
            {"/", 200, "trqConnect('',"},
            {"/?bare", 200, "bare"},
            {"/heats?number=12", 200, "わたしの背番号"},
            {"/remote", 200, "cmd-heat-next"},
            {"/live.js", 200, "function trqConnect"},
            {"/picture.png", 200, "PNG"},
            {"/now.json", 200, "\"view\":0"},
            {"/now.json", 200, "\"schedule\":{\"end\""},
            {"/schedule", 200, "タイムテーブル"},
            // The couple's next heat: 1 dances in event 001's drawn heats; 9999 in none.
            {"/next.json?no=1", 200, "\"status\":\"heat\""},
            {"/next.json?no=1", 200, "\"event\":\"001\""},
            {"/next.json?no=9999", 200, "\"status\":\"none\""},
            {"/next.json?no=x", 400, "back number"},
            {"/next.json?no=12345", 400, "back number"},
            {"/ws", 426, "WebSocket only"},
            {"/nothing-here", 404, "not found"},
        };
        for (const auto& c : cases) {
            const Reply r = Http("GET", QString::fromUtf8(c.path));
            QCOMPARE(r.status, c.status);
            QVERIFY2(r.body.contains(c.contains), c.path);
        }
        QCOMPARE(Http("POST", QStringLiteral("/heats")).status, 405);
        QCOMPARE(Http("GET", QStringLiteral("/api/command/heat?token=") + Token()).status, 405);

        // Behind a relay on this computer, people are given the relay's address (its port on
        // this computer's network address), the remote's token unchanged.
        const QByteArray token = Token();
        web->ServeThroughRelay(QUrl(QStringLiteral("http://127.0.0.1:8090/pub/")));
        QCOMPARE(web->MirrorUrl().port(), 8090);
        QCOMPARE(web->MirrorUrl().path(), QStringLiteral("/"));
        QCOMPARE(web->RemoteUrl().path(), QStringLiteral("/remote"));
        QCOMPARE(Token(), token);
        web->ServeThroughRelay(QUrl(QStringLiteral("https://localhost/pub/")));
        QCOMPARE(web->MirrorUrl().port(), -1);
        QCOMPARE(web->MirrorUrl().scheme(), QStringLiteral("https"));
    }

    // Nobody watching: the changes are not encoded, yet /picture.png gives the picture the hall
    // shows now, and a viewer who comes gets it too.
    void pictureWithoutViewers() {
        Start();
        QTRY_COMPARE_WITH_TIMEOUT(Http("GET", QStringLiteral("/picture.png")).status, 200, kWaitMs);
        for (const char* command : {"title", "judge", "clean", "title"}) {
            QCOMPARE(Command(QString::fromLatin1(command)).status, 200);
        }
        const Reply r = Http("GET", QStringLiteral("/picture.png"));
        QCOMPARE(r.status, 200);
        QCOMPARE(QImage::fromData(r.body, "PNG").convertToFormat(QImage::Format_RGB32),
                 windows.audience->Picture());
        QCOMPARE(Command(QStringLiteral("judge")).status, 200);
        auto viewer = Viewer(QStringLiteral("?picture"));
        QSignalSpy pictures(viewer.get(), &QWebSocket::binaryMessageReceived);
        QVERIFY(SeesVenuePicture(*viewer, pictures));
    }

    void commandSequences_data() {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("floors");
        QTest::addColumn<int>("heat");
        QTest::newRow("one floor")
            << "005" << QStringList{"heat", "heat-next", "heat-next"} << kViewHeat << 1 << 3;
        QTest::newRow("one floor, next dance")
            << "005" << QStringList{"heat", "heat-next", "heat-next", "heat-next", "heat-prev"}
            << kViewHeat << 1 << 3;
        QTest::newRow("two floors")
            << "001" << QStringList{"heat", "heat-next"} << kViewHeat << 2 << 2;
        QTest::newRow("shuffled") << "010" << QStringList{"heat", "heat-next", "heat-next"}
                                  << kViewHeat << 1 << 1;
        QTest::newRow("held: the hall's heat stays")
            << "005" << QStringList{"heat", "hold", "heat-next", "heat-next"} << kViewHeat << 1
            << 1;
        QTest::newRow("an announcement")
            << "005" << QStringList{"heat", "lunch"} << kViewHeat << 1 << 1;
        QTest::newRow("Msg") << "005" << QStringList{"msg"} << kViewProgressMessage << 1 << -1;
    }
    void commandSequences() {
        QFETCH(QString, event);
        QFETCH(QStringList, commands);
        QFETCH(int, view);
        QFETCH(int, floors);
        QFETCH(int, heat);
        Start();
        auto viewer = Viewer(QStringLiteral("?picture&state"));
        QSignalSpy pictures(viewer.get(), &QWebSocket::binaryMessageReceived);
        QVERIFY(GoToEvent(event));
        Canvas& wide = windows.audience->WideSurface();
        wide.SetRecording(true);
        QJsonObject answer;
        for (const QString& command : commands) {
            wide.TakeRecords();
            const Reply r = Command(command);
            QCOMPARE(r.status, 200);
            answer = r.json();
            // Each answer is the new /now.json.
            QCOMPARE(answer, Http("GET", QStringLiteral("/now.json")).json());
        }
        // The mirror shows the venue's picture.
        QVERIFY(SeesVenuePicture(*viewer, pictures));
        QCOMPARE(answer["view"].toInt(), view);
        QCOMPARE(answer["event"].toString(), event);
        QCOMPARE(answer["floors"].toArray().size(), floors);
        QCOMPARE(answer["heat"].toInt(-1), heat);
        QCOMPARE(answer["hold"].toBool(), commands.contains(QStringLiteral("hold")));
        if (heat < 0 || commands.contains(QStringLiteral("hold")) ||
            commands.contains(QStringLiteral("lunch"))) {
            return;
        }

        // What the heat view drew is what the pages list as now and next.
        const std::vector<DrawRecord> drawn = wide.TakeRecords();
        QCOMPARE(JsonNumbers(answer["now"].toArray()) + JsonNumbers(answer["next"].toArray()),
                 DrawnNumbers(drawn));
        QString title;
        for (const DrawRecord& r : drawn) {
            if (title.isEmpty() && r.text.startsWith(u"Heat-")) title = r.text;
        }
        QVERIFY2(title.startsWith(QStringLiteral("Heat-%1").arg(heat)), qPrintable(title));
        if (title.contains(u'[')) QVERIFY(title.contains(answer["dance"].toString()));
        // The heats of the dance: the current one marked, with the Now block's numbers; every
        // number has its couple.
        int marked = 0;
        for (const QJsonValue& h : answer["heats"].toArray()) {
            const QJsonObject o = h.toObject();
            if (!o["now"].toBool()) continue;
            ++marked;
            QCOMPARE(o["heat"].toInt(), heat);
            QCOMPARE(o["floors"].toArray(), answer["now"].toArray());
        }
        QCOMPARE(marked, 1);
        for (const QString& n : JsonNumbers(answer["now"].toArray())) {
            QVERIFY2(answer["couples"].toObject()[n].toObject()["names"].toString().contains(u'/'),
                     qPrintable(n));
        }
    }

    void finalOnlyForAFinal() {
        Start();
        QVERIFY(GoToEvent(QStringLiteral("005")));
        const int view = windows.state->CurrentView;
        QCOMPARE(Command(QStringLiteral("final")).status, 409);
        QCOMPARE(windows.state->CurrentView, view);
        // The programme's first final.
        for (int i = 0; i < 100 && !windows.state->CurrentEvent().IsFinal(); ++i) {
            QCOMPARE(Command(QStringLiteral("item-next")).status, 200);
        }
        const Reply r = Command(QStringLiteral("final"));
        QCOMPARE(r.status, 200);
        QCOMPARE(r.json()["view"].toInt(), kViewFinalists);
        QCOMPARE(r.json()["floors"].toArray()[0].toObject()["round"].toString(),
                 QString::fromUtf8("決　勝"));
    }

    void commandsNeedTheToken_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("view");
        QTest::newRow("right token") << "token=%1" << 200 << kViewWelcome;
        QTest::newRow("no token") << "" << 403 << kViewClean;
        QTest::newRow("wrong token")
            << "token=0123456789abcdef0123456789abcdef" << 403 << kViewClean;
        QTest::newRow("token twice as long") << "token=%1%1" << 403 << kViewClean;
    }
    void commandsNeedTheToken() {
        QFETCH(QString, query);
        QFETCH(int, status);
        QFETCH(int, view);
        Start();
        const QString q = query.contains(u"%1") ? query.arg(QString::fromLatin1(Token())) : query;
        QCOMPARE(Http("POST", QStringLiteral("/api/command/title?") + q).status, status);
        QCOMPARE(windows.state->CurrentView, view);
        QCOMPARE(Http("GET", QStringLiteral("/now.json")).json()["view"].toInt(), view);
    }

    void unknownCommandAndFlood() {
        Start();
        QCOMPARE(Command(QStringLiteral("launch")).status, 404);
        web.reset();
        // The usual limits: a stuck button.
        web = std::make_unique<WebServer>(*windows.state, *windows.audience,
                                          windows.console->Commands());
        WebServerOptions o;
        o.address = QStringLiteral("127.0.0.1");
        QVERIFY(web->Start(o, nullptr));
        std::vector<QNetworkReply*> replies;
        const QUrl url = Url(QStringLiteral("/api/command/hold?token=") + Token());
        for (int i = 0; i < 30; ++i) {
            replies.push_back(net.sendCustomRequest(QNetworkRequest(url), "POST"));
        }
        int done = 0;
        int refused = 0;
        for (QNetworkReply* r : replies) {
            QSignalSpy finished(r, &QNetworkReply::finished);
            if (!r->isFinished()) QVERIFY(finished.wait(kWaitMs));
            const int status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            done += status == 200;
            refused += status == 429;
            r->deleteLater();
        }
        QCOMPARE(done + refused, 30);
        QVERIFY(refused > 0);
        // Every command answered 200 ran, no other did.
        QCOMPARE(windows.state->HoldScreen, done % 2);
    }

    void malformedRequests_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        const QByteArray host = "Host: 127.0.0.1\r\n";
        QTest::newRow("garbage") << QByteArray("GARBAGE\r\n\r\n") << 400;
        QTest::newRow("not HTTP/1") << QByteArray("GET / HTTP/2.0\r\n\r\n") << 400;
        QTest::newRow("header line without colon")
            << QByteArray("GET / HTTP/1.1\r\n" + host + "nonsense\r\n\r\n") << 400;
        QTest::newRow("unknown path")
            << QByteArray("GET /etc/passwd HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n")
            << 404;
        QTest::newRow("binary garbage")
            << QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11) << 400;
        QTest::newRow("NUL in the method") << QByteArray("GE\0T / HTTP/1.1\r\n", 17) << 400;
        QTest::newRow("control byte in a header")
            << QByteArray("GET / HTTP/1.1\r\nX: a\x01b\r\n\r\n") << 400;
        QTest::newRow("lines ending in LF alone")
            << QByteArray("GET /now.json HTTP/1.1\nHost: 127.0.0.1\nConnection: close\n\n") << 200;
        QTest::newRow("method") << QByteArray("DELETE / HTTP/1.1\r\n" + host + "\r\n") << 405;
        QTest::newRow("long target")
            << QByteArray("GET /" + QByteArray(5000, 'a') + " HTTP/1.1\r\n\r\n") << 414;
        QTest::newRow("huge header")
            << QByteArray("GET / HTTP/1.1\r\nX: " + QByteArray(20000, 'a') + "\r\n\r\n") << 431;
        QTest::newRow("chunked body")
            << QByteArray("POST /api/command/heat HTTP/1.1\r\n" + host +
                          "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n")
            << 411;
        QTest::newRow("10 MB body")
            << QByteArray("POST /api/command/heat HTTP/1.1\r\n" + host +
                          "Content-Length: 10485760\r\n\r\n" + QByteArray(10 * 1024 * 1024, 'x'))
            << 413;
        QTest::newRow("10 KB body, lines ending in LF alone")
            << QByteArray(
                   "POST /api/command/heat HTTP/1.1\nHost: 127.0.0.1\nContent-Length: 10000\n\n" +
                   QByteArray(10000, 'x'))
            << 413;
        QByteArray handshake = kHandshake;
        QTest::newRow("WebSocket handshake by POST")
            << QByteArray(handshake).replace("GET", "POST") << 400;
        QTest::newRow("WebSocket handshake without a key")
            << QByteArray(handshake).replace("Sec-WebSocket-Key", "X-Key") << 400;
        QTest::newRow("WebSocket handshake without Connection: Upgrade")
            << QByteArray(handshake).replace("Connection: Upgrade", "Connection: keep-alive")
            << 400;
        QTest::newRow("WebSocket elsewhere")
            << QByteArray("GET /remote HTTP/1.1\r\n" + host +
                          "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
                          "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n")
            << 404;
    }
    void malformedRequests() {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        Start();
        QCOMPARE(StatusOf(Raw(Port(), request)), status);
        QCOMPARE(windows.state->CurrentView, kViewClean);
        QCOMPARE(Http("GET", QStringLiteral("/now.json")).status, 200);
    }

    // A request that asks for it, or one of HTTP/1.0, ends the connection with its answer; any
    // other keeps it open for the next request.
    void connectionsEndWhenAsked_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("ends");
        const QByteArray get = "GET /now.json ";
        QTest::newRow("HTTP/1.1") << get + "HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n" << false;
        QTest::newRow("Connection: close")
            << get + "HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"
            << true;
        QTest::newRow("HTTP/1.0") << get + "HTTP/1.0\r\n\r\n" << true;
        QTest::newRow("HTTP/1.0, keep-alive") << get + "HTTP/1.0\r\nConnection: keep-alive\r\n\r\n"
                                              << false;
        QTest::newRow("another protocol asked for")
            << get + "HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: Upgrade\r\nUpgrade: h2c\r\n\r\n"
            << true;
    }
    void connectionsEndWhenAsked() {
        QFETCH(QByteArray, request);
        QFETCH(bool, ends);
        Start();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, Port());
        QVERIFY(socket.waitForConnected(kWaitMs));
        socket.write(request);
        QCOMPARE(StatusOf(ReadHead(socket)), 200);
        const bool ended = socket.state() == QAbstractSocket::UnconnectedState ||
                           socket.waitForDisconnected(ends ? kWaitMs : 300);
        QCOMPARE(ended, ends);
    }

    // Headers a byte at a time: the request's deadline runs from its first byte, later bytes do
    // not move it.
    void slowHeadersAreCutAtTheDeadline() {
        Start([](WebLimits& l) { l.requests.requestTimeoutMs = 800; });
        QTcpSocket slow;
        slow.connectToHost(QHostAddress::LocalHost, Port());
        QVERIFY(slow.waitForConnected(kWaitMs));
        slow.write("GET /now.json HTTP/1.1\r\n");
        QElapsedTimer clock;
        clock.start();
        QByteArray answer;
        while (slow.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 5000) {
            slow.write("X");
            if (slow.waitForReadyRead(100)) answer += slow.readAll();
        }
        answer += slow.readAll();
        QCOMPARE(StatusOf(answer), 408);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    // Connections from one address beyond its share are refused; one that closes gives its place
    // back.
    void connectionsPerAddress() {
        Start([](WebLimits& l) { l.connectionsPerAddress = 3; });
        std::vector<std::unique_ptr<QTcpSocket>> held;
        for (int i = 0; i < 3; ++i) {
            held.push_back(std::make_unique<QTcpSocket>());
            held.back()->connectToHost(QHostAddress::LocalHost, Port());
            QVERIFY(held.back()->waitForConnected(kWaitMs));
        }
        const QByteArray request =
            "GET /now.json HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        QCOMPARE(StatusOf(Raw(Port(), request)), 429);
        held.front()->abort();
        QTRY_COMPARE_WITH_TIMEOUT(StatusOf(Raw(Port(), request)), 200, kWaitMs);
    }

    // A client that pings as fast as it can and never reads: the server's memory stays bounded,
    // and the web goes on serving.
    void pingFloodKeepsMemoryBounded() {
        Start();
        QTcpSocket flood;
        flood.setReadBufferSize(4096);
        flood.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        flood.connectToHost(QHostAddress::LocalHost, Port());
        QVERIFY(flood.waitForConnected(kWaitMs));
        flood.write(kHandshake);
        QCOMPARE(StatusOf(ReadHead(flood)), 101);
        // Masked pings of 125 bytes each, whose pongs would be as large.
        QByteArray pings;
        for (int i = 0; i < 500; ++i) {
            pings += QByteArray("\x89\xfd\x01\x02\x03\x04", 6) + QByteArray(125, 'p');
        }
        const qint64 before = ResidentBytes();
        QElapsedTimer clock;
        clock.start();
        qint64 sent = 0;
        while (sent < (256 << 20) && clock.elapsed() < 4000 &&
               flood.state() == QAbstractSocket::ConnectedState) {
            flood.write(pings);
            if (!flood.waitForBytesWritten(kWaitMs)) break;
            sent += pings.size();
        }
        const qint64 grown = ResidentBytes() - before;
        QVERIFY2(sent > (16 << 20), qPrintable(QString::number(sent)));
        QVERIFY2(grown < (100 << 20), qPrintable(QStringLiteral("%1 MB more after %2 MB of pings")
                                                     .arg(grown >> 20)
                                                     .arg(sent >> 20)));
        QCOMPARE(Http("GET", QStringLiteral("/now.json")).status, 200);
    }

    // Every connection gives its place back when it ends, a WebSocket's too: far more of them in a
    // row than the limit of open connections, then a page.
    void thousandsOfWebSocketsInARow() {
        Start();
        for (int i = 0; i < 3000; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, Port());
            QVERIFY(socket.waitForConnected(kWaitMs));
            socket.write(kHandshake);
            const int status = StatusOf(ReadHead(socket));
            QVERIFY2(status == 101,
                     qPrintable(QStringLiteral("connection %1: %2").arg(i).arg(status)));
        }
        QCOMPARE(Http("GET", QStringLiteral("/")).status, 200);
    }

    void viewerThatNeverReads() {
        Start();
        // A WebSocket handshake, then nothing is read any more.
        QTcpSocket stuck;
        stuck.setReadBufferSize(4096);
        stuck.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        stuck.connectToHost(QHostAddress::LocalHost, Port());
        QVERIFY(stuck.waitForConnected(kWaitMs));
        stuck.write(
            "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n");
        QVERIFY(stuck.waitForBytesWritten(kWaitMs));
        auto viewer = Viewer(QString());
        QSignalSpy pictures(viewer.get(), &QWebSocket::binaryMessageReceived);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(Command(i % 2 == 0 ? QStringLiteral("title") : QStringLiteral("judge")).status,
                     200);
        }
        // The reading viewer keeps up with the venue; the console keeps answering.
        QVERIFY(SeesVenuePicture(*viewer, pictures));
        QCOMPARE(web->Viewers(), 2);
        QCOMPARE(Command(QStringLiteral("clean")).status, 200);
        QVERIFY(SeesVenuePicture(*viewer, pictures));
        // A viewer's ping is answered.
        QSignalSpy pong(viewer.get(), &QWebSocket::pong);
        viewer->ping("are you there");
        QVERIFY(pong.wait(kWaitMs));
        QCOMPARE(pong.first().at(1).toByteArray(), QByteArray("are you there"));
    }

    void viewerLimit() {
        Start([](WebLimits& l) { l.maxViewers = 2; });
        QSignalSpy counted(web.get(), &WebServer::viewersChanged);
        auto first = Viewer(QString());
        auto second = Viewer(QStringLiteral("?state"));
        while (web->Viewers() < 2 && counted.wait(kWaitMs)) {
        }
        QCOMPARE(web->Viewers(), 2);
        auto third = Viewer(QString());
        if (third->state() != QAbstractSocket::UnconnectedState) {
            QSignalSpy closed(third.get(), &QWebSocket::disconnected);
            QVERIFY(closed.wait(kWaitMs));
        }
        QCOMPARE(int(third->closeCode()), kCloseFull);
        QCOMPARE(web->Viewers(), 2);
        // The console's panel counts them.
        auto* panel = windows.console->findChild<QWidget*>(QStringLiteral("Panel6"));
        auto* mainPanel = windows.console->findChild<QWidget*>(QStringLiteral("Panel8"));
        new WebPanel(panel, mainPanel, *web);
        auto* label = panel->findChild<QLabel*>(QStringLiteral("WebLabel"));
        // The main panel, always in sight: the mirror's address with the viewers, and its code.
        auto* address = mainPanel->findChild<QLabel*>(QStringLiteral("WebAddressLabel"));
        QVERIFY(address->text().contains(web->MirrorUrl().toString()));
        QVERIFY(address->text().contains(QString::fromUtf8("視聴 2 人")));
        QVERIFY(!mainPanel->findChild<QLabel*>(QStringLiteral("WebQrImage"))->pixmap().isNull());
        QVERIFY(label->text().contains(web->MirrorUrl().toString()));
        QVERIFY(label->text().contains(QString::fromUtf8("視聴 2 人")));
        QVERIFY(!panel->findChild<QLabel*>(QStringLiteral("WebQr"))->pixmap().isNull());
        first.reset();
        while (web->Viewers() > 1 && counted.wait(kWaitMs)) {
        }
        QVERIFY(label->text().contains(QString::fromUtf8("視聴 1 人")));
    }
};

QTEST_MAIN(WebServerTest)
#include "web_server_test.moc"
