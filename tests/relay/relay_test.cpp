// The relay (scripts/relay.sh with nginx and nchan) on a free loopback port: publishing needs
// the secret; a subscriber that comes after two messages gets the newer one at once, by each
// delivery the pages use; feeds are counted per address; hall mode passes the remote's command
// through; the pages show what was published in headless Chromium (driven over its DevTools
// protocol on the loopback address). Skipped where nginx or nchan is missing. Set
// TRQ_BROWSER_SHOTS to a folder to keep a screenshot of each page.

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>

#include "support/browser_page.h"

namespace {

constexpr int kWaitMs = 20'000;

QString SourceDir() { return qEnvironmentVariable("TRQ_SOURCE_DIR", QStringLiteral(".")); }

// A PNG of one colour with a mark, size w x h.
QByteArray Png(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The body of the first EventSource message of a reply ("data:" lines up to a blank line).
QByteArray FirstEvent(QNetworkReply* reply) {
    QByteArray text;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kWaitMs) {
        text += reply->readAll();
        QByteArray data;
        for (const QByteArray& block : text.split('\n')) {
            if (block.startsWith("data: ")) data += (data.isEmpty() ? "" : "\n") + block.mid(6);
            if (block.isEmpty() && !data.isEmpty()) return data;
        }
        QSignalSpy more(reply, &QIODevice::readyRead);
        more.wait(500);
    }
    return {};
}

}  // namespace

class RelayTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    QString dir;
    quint16 port = 0;
    QByteArray secret;
    QNetworkAccessManager net;
    bool started = false;
    HeadlessChromium chromium;
    BrowserPage browser;
    bool browserOpen = false;

    QUrl At(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path));
    }

    QNetworkReply* Wait(QNetworkReply* reply) {
        if (!reply->isFinished()) {
            QSignalSpy done(reply, &QNetworkReply::finished);
            done.wait(kWaitMs);
        }
        return reply;
    }

    int Publish(const QString& path, const QByteArray& body, const QByteArray& type,
                const QByteArray& key) {
        QNetworkRequest request(At(path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, type);
        if (!key.isNull()) request.setRawHeader("X-Trq-Secret", key);
        std::unique_ptr<QNetworkReply> reply(Wait(net.post(request, body)));
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    int Publish(const QString& channel, const QByteArray& body) {
        const QByteArray type = channel == u"picture" ? "image/png" : "application/json";
        return Publish(QStringLiteral("/pub/") + channel, body, type, secret);
    }

    int RunScript(const QStringList& args, QByteArray* output = nullptr) {
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        script.start(QStringLiteral("bash"),
                     QStringList{SourceDir() + QStringLiteral("/scripts/relay.sh")} + args);
        if (!script.waitForFinished(kWaitMs)) return -1;
        if (output != nullptr) *output = script.readAllStandardOutput();
        return script.exitCode();
    }

  private slots:
    void initTestCase() {
        const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")};
        if (QStandardPaths::findExecutable(QStringLiteral("nginx"), sbin).isEmpty() ||
            !QFile::exists(QStringLiteral("/usr/lib/nginx/modules/ngx_nchan_module.so"))) {
            QSKIP("nginx or libnginx-mod-nchan is not installed (scripts/install-deps.sh)");
        }
        QVERIFY(temp.isValid());
        // nginx's workers (nobody, when the test runs as root) may need to enter it.
        QFile::setPermissions(temp.path(),
                              QFile::permissions(temp.path()) | QFile::ExeOther | QFile::ExeGroup);
        dir = temp.filePath(QStringLiteral("relay"));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
        probe.close();

        QByteArray output;
        QCOMPARE(RunScript({QStringLiteral("start"), QString::number(port), dir}, &output), 0);
        started = true;
        const QString expected = QStringLiteral(
                                     "publish URL: http://127.0.0.1:%1/pub/\n"
                                     "secret file: %2/secret\n"
                                     "pages:       http://127.0.0.1:%1/\n")
                                     .arg(port)
                                     .arg(dir);
        QCOMPARE(QString::fromUtf8(output), expected);
        QFile file(dir + QStringLiteral("/secret"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        secret = file.readAll().trimmed();
        QCOMPARE(secret.size(), 32);
        // Nobody but its owner reads it.
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QVERIFY((file.permissions() & others) == 0);
    }

    void cleanupTestCase() {
        if (!started) return;
        QCOMPARE(RunScript({QStringLiteral("stop"), dir}), 0);
        QVERIFY(!QFile::exists(dir + QStringLiteral("/nginx.pid")));
    }

    void publish_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("status");
        QTest::newRow("with the secret") << "/pub/now"
                                         << "secret" << 202;
        QTest::newRow("without a secret") << "/pub/now"
                                          << "" << 403;
        QTest::newRow("a wrong secret") << "/pub/heats"
                                        << "wrong" << 403;
        QTest::newRow("the secret in capitals") << "/pub/picture"
                                                << "upper" << 403;
        QTest::newRow("to a subscriber's address") << "/sub/now"
                                                   << "secret" << 405;
    }

    void publish() {
        QFETCH(QString, path);
        QFETCH(QString, key);
        QFETCH(int, status);
        QByteArray header;
        if (key == u"secret") header = secret;
        if (key == u"upper") header = secret.toUpper();
        if (key == u"wrong") header = QByteArray(32, 'a');
        const int got = Publish(path, "{\"view\":3}", "application/json", header);
        // Accepted is any 2xx (nchan says 201 or 202, by whether anyone listens).
        QCOMPARE(got / 100 == 2 ? 202 : got, status);
    }

    void newestOnConnect_data() {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("delivery");
        QTest::newRow("now over WebSocket") << "now"
                                            << "websocket";
        QTest::newRow("heats over EventSource") << "heats"
                                                << "eventsource";
        QTest::newRow("the picture by GET") << "picture"
                                            << "get";
    }

    void newestOnConnect() {
        QFETCH(QString, channel);
        QFETCH(QString, delivery);
        const bool picture = channel == u"picture";
        const QByteArray older = picture ? Png(32, 24, qRgb(200, 0, 0)) : "{\"estimate\":1}";
        const QByteArray newer = picture ? Png(32, 24, qRgb(0, 0, 200)) : "{\"estimate\":2}";
        QCOMPARE(Publish(channel, older), 202);
        QCOMPARE(Publish(channel, newer), 202);

        QByteArray got;
        const QString path = QStringLiteral("/sub/") + channel;
        if (delivery == u"websocket") {
            QWebSocket ws;
            QSignalSpy message(&ws, &QWebSocket::textMessageReceived);
            ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(port).arg(path)));
            QVERIFY(message.wait(kWaitMs));
            got = message.first().first().toString().toUtf8();
        } else {
            QNetworkRequest request(At(path));
            if (delivery == u"eventsource") request.setRawHeader("Accept", "text/event-stream");
            std::unique_ptr<QNetworkReply> reply(net.get(request));
            if (delivery == u"eventsource") {
                got = FirstEvent(reply.get());
            } else {
                got = Wait(reply.get())->readAll();
                QCOMPARE(reply->rawHeader("Content-Type"), QByteArray("image/png"));
                QCOMPARE(reply->rawHeader("Cache-Control"), QByteArray("no-store"));
            }
        }
        QCOMPARE(got, newer);
    }

    // 32 feeds from one address, the 33rd refused; another address is counted on its own.
    // (127.0.0.2 and 127.0.0.3 are loopback addresses too, but not the one left uncounted.)
    void feedsPerAddress() {
        std::vector<std::unique_ptr<QTcpSocket>> sockets;
        auto open = [&](const char* from) {
            auto socket = std::make_unique<QTcpSocket>();
            socket->bind(QHostAddress(QString::fromLatin1(from)));
            socket->connectToHost(QHostAddress::LocalHost, port);
            if (!socket->waitForConnected(kWaitMs)) return false;
            socket->write(
                "GET /sub/now HTTP/1.1\r\nHost: relay\r\nUpgrade: websocket\r\n"
                "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                "Sec-WebSocket-Version: 13\r\n\r\n");
            QByteArray head;
            while (!head.contains("\r\n") && socket->waitForReadyRead(kWaitMs)) {
                head += socket->readAll();
            }
            sockets.push_back(std::move(socket));
            return head.startsWith("HTTP/1.1 101");
        };
        int opened = 0;
        for (int i = 0; i < 33; ++i) opened += open("127.0.0.2") ? 1 : 0;
        QCOMPARE(opened, 32);
        QVERIFY(open("127.0.0.3"));
    }

    // Hall mode: the remote's command goes through to the program as it came, token and all,
    // and the token stays out of the relay's log.
    void hallModePassesTheRemote() {
        QTcpServer program;
        QVERIFY(program.listen(QHostAddress::LocalHost, 0));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 hallPort = probe.serverPort();
        probe.close();
        const QString hall = temp.filePath(QStringLiteral("hall"));
        QCOMPARE(RunScript({QStringLiteral("start"), QString::number(hallPort), hall,
                            QStringLiteral("--program"),
                            QStringLiteral("127.0.0.1:%1").arg(program.serverPort())}),
                 0);
        const QByteArray target = "/api/command/heat-next?token=a%2Bb%2F";
        QNetworkRequest command(
            QUrl::fromEncoded("http://127.0.0.1:" + QByteArray::number(hallPort) + target));
        command.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
        std::unique_ptr<QNetworkReply> reply(net.post(command, QByteArray()));
        QByteArray request;
        QSignalSpy came(&program, &QTcpServer::newConnection);
        if (came.wait(kWaitMs)) {
            QTcpSocket* socket = program.nextPendingConnection();
            while (!request.contains("\r\n\r\n") && socket->waitForReadyRead(kWaitMs)) {
                request += socket->readAll();
            }
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n{}\n");
            socket->flush();
        }
        Wait(reply.get());
        QCOMPARE(RunScript({QStringLiteral("stop"), hall}), 0);
        QCOMPARE(request.left(request.indexOf("\r\n")), "POST " + target + " HTTP/1.1");
        QCOMPARE(reply->readAll(), QByteArray("{}\n"));
        QFile log(hall + QStringLiteral("/access.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray logged = log.readAll();
        QVERIFY(logged.contains("/api/command/heat-next"));
        QVERIFY(!logged.contains("token"));
    }

    // The live page's loop: a GET that names the picture it has waits for the next one.
    void pictureFollowsLongPoll() {
        const QByteArray shown = Png(40, 30, qRgb(0, 120, 0));
        const QByteArray next = Png(40, 30, qRgb(120, 120, 0));
        QCOMPARE(Publish(QStringLiteral("picture"), shown) / 100, 2);
        std::unique_ptr<QNetworkReply> first(Wait(net.get(QNetworkRequest(At("/sub/picture")))));
        QCOMPARE(first->readAll(), shown);

        QNetworkRequest again(At("/sub/picture"));
        again.setRawHeader("If-None-Match", first->rawHeader("Etag"));
        again.setRawHeader("If-Modified-Since", first->rawHeader("Last-Modified"));
        std::unique_ptr<QNetworkReply> waiting(net.get(again));
        QSignalSpy done(waiting.get(), &QNetworkReply::finished);
        QVERIFY(!done.wait(300));  // nothing new yet: it waits
        QCOMPARE(Publish(QStringLiteral("picture"), next) / 100, 2);
        QCOMPARE(Wait(waiting.get())->readAll(), next);
    }

    // The pages in headless Chromium after the program published a picture, now and heats.
    void pagesInBrowser_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected");
        // Back number 31 dances heat 2 now and heat 3 of the next dance.
        QTest::newRow("heats: my number marked")
            << "/heats?no=31"
            << "document.querySelector('article.now li button.mine').textContent"
            << "31";
        QTest::newRow("heats: its next heat")
            << "/heats?no=31"
            << "document.getElementById('next').textContent"
            << "次の出番: No. 12 ワルツ Heat-3 — 14:25ごろ（あと約18分）";
        QTest::newRow("live: the picture shown")
            << "/"
            << "document.getElementById('picture').naturalWidth || null"
            << "64";
        QTest::newRow("live: the heat on air")
            << "/"
            << "document.querySelector('#onair .dance').textContent"
            << "Waltz  Heat-2";
        QTest::newRow("schedule: the day")
            << "/schedule"
            << "document.querySelector('#rows tr.current td.time').textContent"
            << "14:05";
    }

    void pagesInBrowser() {
        QFETCH(QString, page);
        QFETCH(QString, expression);
        QFETCH(QString, expected);
        if (!browserOpen) {
            const QByteArray now = R"({"view":3,"hold":false,"item":"No.12 ワルツ","itemB":null,
                "event":"12","floors":[{"name":"","event":"12","category":"ワルツ","round":"1次予選"}],
                "dance":"Waltz","heat":2,
                "heats":[{"heat":1,"floors":[[11,12]],"now":false},
                         {"heat":2,"floors":[[21,31]],"now":true}],
                "now":[[21,31]],"next":[[41,42]],"couples":{},
                "pace":{"secondsPerHeat":100,"measured":false},
                "schedule":{"estimate":true,"end":"17:40","items":[
                    {"item":3,"text":"No.12 ワルツ","start":"14:05","minutes":20,"kind":"competition",
                     "fixed":false,"defaultLength":false,"current":true}]}})";
            const QByteArray heats = R"({"estimate":true,"at":"14:07","numbers":{
                "31":{"number":31,"estimate":true,"status":"heat","item":3,"event":"12",
                      "text":"ワルツ","floor":"A","dance":"Waltz","heat":3,"start":"14:25",
                      "minutes":18}}})";
            QCOMPARE(Publish(QStringLiteral("now"), now) / 100, 2);
            QCOMPARE(Publish(QStringLiteral("heats"), heats) / 100, 2);
            QCOMPARE(Publish(QStringLiteral("picture"), Png(64, 48, qRgb(0, 0, 90))) / 100, 2);

            QString why;
            const QUrl endpoint = chromium.Start(&why);
            if (endpoint.isEmpty()) QSKIP(qPrintable(why));
            QVERIFY2(browser.Open(endpoint, &why), qPrintable(why));
            browser.Size(390, 844, 2, true);
            browserOpen = true;
        }
        browser.Go(At(page));
        // An empty text is no answer yet: the page fills it from the feeds.
        QCOMPARE(browser.WaitFor(QStringLiteral("(%1) || null").arg(expression)), expected);
        const QString shots = qEnvironmentVariable("TRQ_BROWSER_SHOTS");
        if (!shots.isEmpty()) {
            QString tag = QString::fromUtf8(QTest::currentDataTag()).remove(u':');
            browser.Screenshot().save(
                QDir(shots).filePath(QStringLiteral("relay-%1.png").arg(tag.replace(u' ', u'-'))));
        }
    }
};

QTEST_GUILESS_MAIN(RelayTest)
#include "relay_test.moc"
