// Publishing to a real relay: nginx with the shipped configuration, started by scripts/relay.sh
// on a free loopback port. The publisher keeps the newest body per channel, says when the relay
// is down, refused or back, and catches up with the newest state, also after a relay restart
// while nothing changed; a rehearsal with --publish puts
// every step's state and picture on the relay's channels.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>

#include "app/web/relay_publisher.h"

namespace {

constexpr int kWaitMs = 30'000;

QString SourceDir() { return QString::fromLocal8Bit(qgetenv("TRQ_SOURCE_DIR")); }

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The relay of scripts/relay.sh in a folder of its own.
class Relay {
  public:
    Relay() : port_(FreePort()) {}
    ~Relay() { Stop(); }

    bool Start() {
        QProcess script;
        script.start(QStringLiteral("bash"),
                     {SourceDir() + QStringLiteral("/scripts/relay.sh"), QStringLiteral("start"),
                      QString::number(port_), dir_.path()});
        if (!script.waitForFinished(kWaitMs) || script.exitCode() != 0) {
            qWarning("%s", script.readAllStandardError().constData());
            return false;
        }
        started_ = true;
        return true;
    }
    void Stop() {
        if (!started_) return;
        QProcess::execute(QStringLiteral("bash"), {SourceDir() + QStringLiteral("/scripts/relay.sh"),
                                                   QStringLiteral("stop"), dir_.path()});
        started_ = false;
    }
    QUrl PublishUrl() const { return Url(QStringLiteral("/pub/")); }
    QUrl Url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
    }
    QByteArray Secret() const {
        QFile file(dir_.filePath(QStringLiteral("secret")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }
    QString SecretFile() const { return dir_.filePath(QStringLiteral("secret")); }
    QByteArray Log() const {
        QFile file(dir_.filePath(QStringLiteral("access.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The channel's newest message, as a subscriber that connects now gets it.
    QByteArray Newest(const QString& channel) {
        QNetworkRequest request(Url(QStringLiteral("/sub/") + channel));
        request.setTransferTimeout(5000);
        QNetworkReply* reply = network_.get(request);
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(kWaitMs);
        reply->deleteLater();
        return reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    }

  private:
    QTemporaryDir dir_;
    quint16 port_;
    bool started_ = false;
    QNetworkAccessManager network_;
};

}  // namespace

class RelayPublishTest : public QObject {
    Q_OBJECT
  private slots:
    // Down while offers come: the line says since when; back: the newest alone goes out.
    void keepsTheNewestAndCatchesUp() {
        Relay relay;
        QVERIFY(relay.Start());
        RelayPublisher publisher(relay.PublishUrl(), relay.Secret());
        QSignalSpy changes(&publisher, &RelayPublisher::statusChanged);
        const auto offer = [&](const char* body) {
            publisher.Offer(QStringLiteral("now"), body, "application/json");
        };
        offer("{\"v\":1}");
        offer("{\"v\":2}");
        QVERIFY(publisher.WaitSent(kWaitMs));
        QCOMPARE(relay.Newest(QStringLiteral("now")), QByteArray("{\"v\":2}"));
        QCOMPARE(publisher.Status().state, RelayStatus::State::Reachable);

        relay.Stop();
        offer("{\"v\":3}");
        QTRY_COMPARE_WITH_TIMEOUT(publisher.Status().state, RelayStatus::State::Unreachable,
                                  kWaitMs);
        QVERIFY(RelayPublisher::Describe(publisher.Status()).contains(QString::fromUtf8("から不通")));
        // A relay that is down is not waited for.
        QVERIFY(!publisher.WaitSent(kWaitMs));
        offer("{\"v\":4}");
        offer("{\"v\":5}");

        QVERIFY(relay.Start());
        QTRY_COMPARE_WITH_TIMEOUT(publisher.Status().state, RelayStatus::State::Reachable,
                                  kWaitMs);
        QVERIFY(publisher.Status().backAfter.has_value());
        QVERIFY(RelayPublisher::Describe(publisher.Status()).contains(QString::fromUtf8("再開")));
        QVERIFY(publisher.WaitSent(kWaitMs));
        QCOMPARE(relay.Newest(QStringLiteral("now")), QByteArray("{\"v\":5}"));
        // Reachable, unreachable, reachable again: one signal each.
        QCOMPARE(changes.size(), 3);

        // A relay started again while nothing changes has lost the state: the idle publisher
        // finds out and sends it again.
        publisher.SetCheckInterval(200);
        relay.Stop();
        QVERIFY(relay.Start());
        QTRY_COMPARE_WITH_TIMEOUT(relay.Newest(QStringLiteral("now")), QByteArray("{\"v\":5}"),
                                  kWaitMs);
    }

    // Without the relay's secret nothing is published, and the line says so.
    void refusedWithoutTheSecret() {
        Relay relay;
        QVERIFY(relay.Start());
        RelayPublisher publisher(relay.PublishUrl(), "not-the-secret");
        publisher.Offer(QStringLiteral("now"), "{\"v\":1}", "application/json");
        QTRY_COMPARE_WITH_TIMEOUT(publisher.Status().state, RelayStatus::State::Refused, kWaitMs);
        QCOMPARE(publisher.Status().detail, QStringLiteral("HTTP 403"));
        QVERIFY(RelayPublisher::Describe(publisher.Status()).contains(QString::fromUtf8("拒否")));
        QVERIFY(relay.Newest(QStringLiteral("now")).isEmpty());
    }

    // A subscriber that was there all along receives every step's state in order; the picture
    // on the relay is the last step's audience picture.
    void rehearsalPublishesEveryStep() {
        Relay relay;
        QVERIFY(relay.Start());
        QTemporaryDir work;
        const QString data = work.filePath(QStringLiteral("data"));
        QVERIFY(QProcess::execute(QStringLiteral("cp"),
                                  {QStringLiteral("-r"), SourceDir() + QStringLiteral("/data/demo"),
                                   data}) == 0);
        QFile script(work.filePath(QStringLiteral("script.txt")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        // Two items on, Heat, two heat steps.
        script.write("mousedown BitBtn16 left\nmousedown BitBtn16 left\nclick BitBtn5\n"
                     "key PageDown\nkey PageDown\n");
        script.close();

        QWebSocket subscriber;
        QStringList received;
        connect(&subscriber, &QWebSocket::textMessageReceived, this,
                [&received](const QString& message) { received << message; });
        QSignalSpy connected(&subscriber, &QWebSocket::connected);
        QUrl sub = relay.Url(QStringLiteral("/sub/now"));
        sub.setScheme(QStringLiteral("ws"));
        subscriber.open(sub);
        QVERIFY(connected.wait(kWaitMs));

        const QString out = work.filePath(QStringLiteral("out"));
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QDir(QCoreApplication::applicationDirPath()).filePath("trqdisplay"),
                      {"--rehearse", script.fileName(), "--out", out, "--data", data,
                       "--publish", relay.PublishUrl().toString(), "--publish-token-file",
                       relay.SecretFile()});
        QVERIFY(program.waitForFinished(120'000));
        QCOMPARE(program.exitCode(), 0);

        QStringList expected;
        for (int step = 0; step <= 5; ++step) {
            QFile now(QStringLiteral("%1/%2-now.json").arg(out).arg(step, 3, 10, QLatin1Char('0')));
            QVERIFY(now.open(QIODevice::ReadOnly));
            const QString json = QString::fromUtf8(now.readAll()).trimmed();
            if (expected.isEmpty() || expected.last() != json) expected << json;
        }
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), expected.size(), kWaitMs);
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(QJsonDocument::fromJson(received[i].toUtf8()),
                     QJsonDocument::fromJson(expected[i].toUtf8()));
        }
        // Every step that changed the hall's picture put that picture on the relay.
        int changes = 0;
        QImage before;
        for (int step = 0; step <= 5; ++step) {
            const QImage picture(QStringLiteral("%1/%2-audience.png").arg(out).arg(step, 3, 10, QLatin1Char('0')));
            if (picture.convertToFormat(QImage::Format_RGB32) != before) ++changes;
            before = picture.convertToFormat(QImage::Format_RGB32);
        }
        QCOMPARE(relay.Log().count("\"POST /pub/picture\" 20"), changes);
        const QImage published = QImage::fromData(relay.Newest(QStringLiteral("picture")), "PNG");
        const QImage last(out + QStringLiteral("/005-audience.png"));
        QVERIFY(!published.isNull());
        QCOMPARE(published.convertToFormat(QImage::Format_RGB32),
                 last.convertToFormat(QImage::Format_RGB32));
        // Every couple's next heat, labelled as an estimate, as /next.json answers for one.
        const QJsonObject heats = QJsonDocument::fromJson(relay.Newest(QStringLiteral("heats"))).object();
        QVERIFY(heats.value("estimate").toBool());
        const QJsonObject numbers = heats.value("numbers").toObject();
        QVERIFY(numbers.size() > 10);
        const QJsonObject first = numbers.begin()->toObject();
        QCOMPARE(first.value("number").toInt(), numbers.begin().key().toInt());
        QVERIFY(QStringList({"heat", "round"}).contains(first.value("status").toString()));
    }
};

QTEST_MAIN(RelayPublishTest)
#include "relay_publish_test.moc"
