#pragma once
// Headless Chromium for the tests of the web pages, driven over its DevTools protocol on the
// loopback address: the browser process, and a page in it that navigates, waits for a value of
// a JavaScript expression and takes screenshots.
#include <unistd.h>

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebSocket>

class HeadlessChromium {
  public:
    static constexpr int kWaitMs = 40'000;

    ~HeadlessChromium() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(kWaitMs);
    }

    // Starts the browser; its DevTools endpoint, or an empty address with the reason the browser
    // is not there or cannot run (the caller skips).
    QUrl Start(QString* why) {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (program.isEmpty()) {
            *why = QStringLiteral("chromium is not installed (scripts/install-deps.sh)");
            return {};
        }
        QStringList args{QStringLiteral("--headless=new"),
                         QStringLiteral("--disable-gpu"),
                         QStringLiteral("--no-first-run"),
                         QStringLiteral("--no-default-browser-check"),
                         QStringLiteral("--hide-scrollbars"),
                         QStringLiteral("--remote-debugging-address=127.0.0.1"),
                         QStringLiteral("--remote-debugging-port=0"),
                         QStringLiteral("--user-data-dir=") + profile_.path(),
                         QStringLiteral("about:blank")};
        // As root (CI) the browser's sandbox cannot start.
        if (geteuid() == 0) args.prepend(QStringLiteral("--no-sandbox"));
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.setReadChannel(QProcess::StandardError);
        process_.start(program, args);
        if (!process_.waitForStarted(kWaitMs)) {
            *why = QStringLiteral("chromium does not start");
            return {};
        }
        QByteArray output;
        while (!output.contains("DevTools listening on ") && process_.waitForReadyRead(kWaitMs)) {
            output += process_.readAllStandardError();
        }
        output += process_.readAllStandardError();
        const qsizetype at = output.indexOf("ws://");
        if (at < 0) {
            *why = QStringLiteral("chromium cannot run: ") + QString::fromLocal8Bit(output.left(300));
            return {};
        }
        return QUrl(QString::fromLatin1(output.mid(at, output.indexOf('\n', at) - at).trimmed()));
    }

  private:
    QProcess process_;
    QTemporaryDir profile_;
};

// A page of the browser.
class BrowserPage {
  public:
    static constexpr int kWaitMs = HeadlessChromium::kWaitMs;

    bool Open(const QUrl& browserEndpoint, QString* error) {
        QSignalSpy connected(&socket_, &QWebSocket::connected);
        socket_.open(browserEndpoint);
        if (connected.isEmpty() && !connected.wait(kWaitMs)) {
            *error = QStringLiteral("no DevTools connection");
            return false;
        }
        const QJsonObject target = Call("Target.createTarget", {{"url", "about:blank"}}, false);
        const QJsonObject attached = Call(
            "Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}}, false);
        session_ = attached["sessionId"].toString();
        if (session_.isEmpty()) *error = QStringLiteral("no browser page");
        return !session_.isEmpty();
    }

    QJsonObject Call(const char* method, const QJsonObject& params = {}, bool inPage = true) {
        const int id = nextId_++;
        QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
        if (inPage) message["sessionId"] = session_;
        QSignalSpy received(&socket_, &QWebSocket::textMessageReceived);
        socket_.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson()));
        while (received.wait(kWaitMs)) {
            while (!received.isEmpty()) {
                const QJsonObject answer =
                    QJsonDocument::fromJson(received.takeFirst().at(0).toString().toUtf8())
                        .object();
                if (answer["id"].toInt() == id) return answer["result"].toObject();
            }
        }
        return {};
    }

    // Phone (390 px, three device pixels a pixel) or desktop.
    void Size(int width, int height, double scale, bool mobile) {
        Call("Emulation.setDeviceMetricsOverride", {{"width", width},
                                                    {"height", height},
                                                    {"deviceScaleFactor", scale},
                                                    {"mobile", mobile}});
    }

    void Go(const QUrl& url) {
        Call("Page.enable");
        Call("Page.navigate", {{"url", url.toString()}});
    }

    // Evaluates a JavaScript expression in the page until it gives a value (not null, undefined
    // or false; the page's own timer looks, up to 30 s); the value as text, empty after 30 s.
    QString WaitFor(const QString& expression) {
        const QString script =
            QStringLiteral(
                "new Promise((resolve) => { const t0 = Date.now(); const look = () => {"
                " let v = null; try { v = (%1); } catch (e) {}"
                " if (v !== null && v !== undefined && v !== false) resolve(String(v));"
                " else if (Date.now() - t0 > 30000) resolve(''); else setTimeout(look, 50); };"
                " look(); })")
                .arg(expression);
        const QJsonObject r =
            Call("Runtime.evaluate",
                 {{"expression", script}, {"awaitPromise", true}, {"returnByValue", true}});
        return r["result"].toObject()["value"].toString();
    }

    QImage Screenshot() {
        const QJsonObject r = Call("Page.captureScreenshot", {{"format", "png"}});
        return QImage::fromData(QByteArray::fromBase64(r["data"].toString().toLatin1()), "PNG");
    }

  private:
    QWebSocket socket_;
    QString session_;
    int nextId_ = 1;
};
