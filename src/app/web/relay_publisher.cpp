#include "app/web/relay_publisher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <map>
#include <set>

namespace {

constexpr int kFirstRetryMs = 1000;
constexpr int kLongestRetryMs = 30'000;
// A relay that takes longer than this to take one body is treated as unreachable.
constexpr int kSendTimeoutMs = 10'000;
constexpr int kCheckEveryMs = 30'000;
const char kSecretHeader[] = "X-Trq-Secret";

QUrl WithTrailingSlash(QUrl url) {
    if (!url.path().endsWith(u'/')) url.setPath(url.path() + u'/');
    return url;
}

}  // namespace

// Lives on the publisher's thread: takes the newest bodies and posts them, one request per
// channel at a time.
class RelaySender : public QObject {
  public:
    RelaySender(RelayPublisher& owner, const QUrl& base, const QByteArray& secret)
        : owner_(owner), base_(base), secret_(secret) {}

    void Pump() {
        if (network_ == nullptr) {
            network_ = new QNetworkAccessManager(this);
            retry_ = new QTimer(this);
            retry_->setSingleShot(true);
            connect(retry_, &QTimer::timeout, this, &RelaySender::Pump);
            check_ = new QTimer(this);
            check_->setInterval(checkEveryMs_);
            connect(check_, &QTimer::timeout, this, &RelaySender::Check);
            check_->start();
        }
        if (retry_->isActive()) return;
        std::vector<std::pair<QString, RelayPublisher::Body>> out;
        {
            QMutexLocker lock(&owner_.mutex_);
            for (auto it = owner_.waiting_.begin(); it != owner_.waiting_.end();) {
                if (busy_.count(it->first) != 0) {
                    ++it;
                    continue;
                }
                busy_.insert(it->first);
                out.emplace_back(it->first, std::move(it->second));
                it = owner_.waiting_.erase(it);
                ++owner_.inFlight_;
            }
        }
        for (auto& [channel, body] : out) Post(channel, std::move(body));
    }

    void SetCheckInterval(int ms) {
        checkEveryMs_ = ms;
        if (check_ != nullptr) check_->setInterval(ms);
    }

  private:
    // While idle: does the relay still hold the state? A relay started again answers 404 (and
    // one that is down does not answer): what was sent last goes out again.
    void Check() {
        if (lastSent_.empty() || !busy_.empty() || retry_->isActive()) return;
        {
            QMutexLocker lock(&owner_.mutex_);
            if (!owner_.waiting_.empty()) return;
            ++owner_.inFlight_;
        }
        QNetworkRequest request(base_.resolved(QUrl(QStringLiteral("now"))));
        request.setRawHeader(kSecretHeader, secret_);
        request.setTransferTimeout(kSendTimeoutMs);
        QNetworkReply* reply = network_->get(request);
        busy_.insert(QString());
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            reply->deleteLater();
            busy_.erase(QString());
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            const bool answered = status == 200 || status == 404;
            if (status == 404 || !answered) {
                QMutexLocker lock(&owner_.mutex_);
                for (const auto& [channel, body] : lastSent_) owner_.waiting_.try_emplace(channel, body);
            }
            if (!answered && !retry_->isActive()) {
                retryMs_ = kFirstRetryMs;
                retry_->start(retryMs_);
            }
            owner_.Sent(answered, answered ? 200 : status,
                        status == 0 ? reply->errorString() : QString());
            if (answered) Pump();
        });
    }

    void Post(const QString& channel, RelayPublisher::Body body) {
        QNetworkRequest request(base_.resolved(QUrl(channel)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, body.contentType);
        request.setRawHeader(kSecretHeader, secret_);
        request.setTransferTimeout(kSendTimeoutMs);
        QNetworkReply* reply = network_->post(request, body.bytes);
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, channel, body = std::move(body)]() mutable {
                    reply->deleteLater();
                    const int status =
                        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                    const bool ok = reply->error() == QNetworkReply::NoError && status >= 200 &&
                                    status < 300;
                    busy_.erase(channel);
                    if (ok) lastSent_[channel] = body;
                    if (!ok) {
                        // Sent again after the pause, unless something newer is waiting.
                        QMutexLocker lock(&owner_.mutex_);
                        owner_.waiting_.try_emplace(channel, std::move(body));
                    }
                    if (ok) {
                        retryMs_ = 0;
                    } else if (!retry_->isActive()) {
                        retryMs_ = retryMs_ == 0 ? kFirstRetryMs
                                                 : std::min(2 * retryMs_, kLongestRetryMs);
                        retry_->start(retryMs_);
                    }
                    owner_.Sent(ok, status, status == 0 ? reply->errorString() : QString());
                    if (ok) Pump();
                });
    }

    RelayPublisher& owner_;
    const QUrl base_;
    const QByteArray secret_;
    QNetworkAccessManager* network_ = nullptr;
    QTimer* retry_ = nullptr;
    QTimer* check_ = nullptr;
    int checkEveryMs_ = kCheckEveryMs;
    int retryMs_ = 0;
    std::set<QString> busy_;
    // The last body each channel's relay took, to send again to a relay that lost it.
    std::map<QString, RelayPublisher::Body> lastSent_;
};

RelayPublisher::RelayPublisher(const QUrl& base, const QByteArray& secret, QObject* parent)
    : QObject(parent), base_(WithTrailingSlash(base)) {
    qRegisterMetaType<RelayStatus>();
    thread_.setObjectName(QStringLiteral("relay publisher"));
    sender_ = new RelaySender(*this, base_, secret);
    sender_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, sender_, &QObject::deleteLater);
    thread_.start();
}

RelayPublisher::~RelayPublisher() {
    thread_.quit();
    thread_.wait();
}

void RelayPublisher::Offer(const QString& channel, const QByteArray& body,
                           const QByteArray& contentType) {
    {
        QMutexLocker lock(&mutex_);
        waiting_[channel] = Body{body, contentType};
    }
    RelaySender* sender = sender_;
    QMetaObject::invokeMethod(sender, [sender] { sender->Pump(); }, Qt::QueuedConnection);
}

bool RelayPublisher::WaitSent(int ms) {
    QDeadlineTimer deadline(ms);
    QMutexLocker lock(&mutex_);
    // A relay that is down is not waited for: the sends go on in the background.
    if (status_.state == RelayStatus::State::Unreachable ||
        status_.state == RelayStatus::State::Refused) {
        return false;
    }
    const quint64 failuresBefore = failures_;
    while ((!waiting_.empty() || inFlight_ > 0) && failures_ == failuresBefore) {
        if (!settled_.wait(&mutex_, deadline)) break;
    }
    return waiting_.empty() && inFlight_ == 0;
}

void RelayPublisher::SetCheckInterval(int ms) {
    RelaySender* sender = sender_;
    QMetaObject::invokeMethod(sender, [sender, ms] { sender->SetCheckInterval(ms); });
}

RelayStatus RelayPublisher::Status() const {
    QMutexLocker lock(&mutex_);
    return status_;
}

void RelayPublisher::Sent(bool ok, int httpStatus, const QString& error) {
    std::optional<RelayStatus> changed;
    {
        QMutexLocker lock(&mutex_);
        --inFlight_;
        const RelayStatus before = status_;
        if (ok) {
            if (before.state != RelayStatus::State::Reachable) {
                status_ = RelayStatus{.state = RelayStatus::State::Reachable,
                                      .since = QDateTime::currentDateTime()};
                if (before.state != RelayStatus::State::Waiting) status_.backAfter = before.since;
                changed = status_;
            }
        } else {
            ++failures_;
            const auto state = httpStatus == 401 || httpStatus == 403
                                   ? RelayStatus::State::Refused
                                   : RelayStatus::State::Unreachable;
            const QString detail =
                httpStatus != 0 ? QStringLiteral("HTTP %1").arg(httpStatus) : error;
            if (before.state != state || before.detail != detail) {
                const bool stillDown = before.state == RelayStatus::State::Unreachable ||
                                       before.state == RelayStatus::State::Refused;
                status_ = RelayStatus{.state = state,
                                      .since = stillDown ? before.since
                                                         : QDateTime::currentDateTime(),
                                      .detail = detail};
                changed = status_;
            }
        }
        settled_.wakeAll();
    }
    if (changed) emit statusChanged(*changed);
}

QString RelayPublisher::Describe(const RelayStatus& status) {
    const auto clock = [](const QDateTime& t) { return t.toString(QStringLiteral("HH:mm:ss")); };
    switch (status.state) {
        case RelayStatus::State::Waiting:
            return QString::fromUtf8("中継: 接続待ち");
        case RelayStatus::State::Reachable:
            if (status.backAfter) {
                return QString::fromUtf8("中継: %1 再開").arg(clock(status.since));
            }
            return QString::fromUtf8("中継: 送信中");
        case RelayStatus::State::Unreachable:
            return QString::fromUtf8("中継: %1 から不通").arg(clock(status.since));
        case RelayStatus::State::Refused:
            return QString::fromUtf8("中継: %1 から拒否").arg(clock(status.since));
    }
    return {};
}

QString RelayPublisher::Explain(const RelayStatus& status) {
    switch (status.state) {
        case RelayStatus::State::Waiting:
        case RelayStatus::State::Reachable:
            if (status.backAfter) {
                return QString::fromUtf8("中継サーバーへの送信は %1 から %2 まで途絶えました。"
                                         "再開後、最新の画面と状態を送りました")
                    .arg(status.backAfter->toString(QStringLiteral("HH:mm:ss")),
                         status.since.toString(QStringLiteral("HH:mm:ss")));
            }
            return QString::fromUtf8("会場の画面・ヒート・予定時刻を中継サーバーへ送っています（会場"
                                     "外の観客向け）");
        case RelayStatus::State::Unreachable:
            return QString::fromUtf8("中継サーバーに届きません（%1）。会場の画面と会場内の Web は影響"
                                     "を受けません。届き次第、最新の画面を送ります")
                .arg(status.detail);
        case RelayStatus::State::Refused:
            return QString::fromUtf8("中継サーバーが送信を拒否しています（%1）。鍵"
                                     "（--publish-token-file）と送信元のアドレスを確認してください")
                .arg(status.detail);
    }
    return {};
}
