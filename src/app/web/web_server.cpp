#include "app/web/web_server.h"

#include <QApplication>
#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>

#include "app/audience/scr_form.h"
#include "app/console/operator_commands.h"
#include "app/console/console_hooks.h"
#include "app/console/day_schedule.h"
#include "core/competition/now_json.h"
#include "core/platform/cp932.h"
#include "core/platform/text_utils.h"
#include "app/web/picture_encoder.h"
#include "app/web/relay_publisher.h"
#include "app/web/remote_commands.h"
#include "app/web/web_hub.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

// Every viewer holds a connection: make room for them in the process's open files, as far as
// the system allows.
void AllowOpenFiles(int wanted) {
#ifndef _WIN32
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= rlim_t(wanted)) return;
    limit.rlim_cur =
        limit.rlim_max == RLIM_INFINITY ? rlim_t(wanted) : std::min(limit.rlim_max, rlim_t(wanted));
    setrlimit(RLIMIT_NOFILE, &limit);
#else
    Q_UNUSED(wanted);
#endif
}

QByteArray NewToken() {
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex();
}

// The address people on the network reach this computer at: the first IPv4 address of an
// interface that is up and not the loopback one.
QString NetworkHost() {
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& e : i.addressEntries()) {
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol) return e.ip().toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}

}  // namespace

WebServer::WebServer(const Competition& state, ScrForm& audience, OperatorCommands& commands,
                     QObject* parent)
    : QObject(parent),
      state_(state),
      audience_(audience),
      commands_(commands),
      token_(NewToken()),
      encoder_(std::make_unique<PictureEncoder>()) {
    webThread_.setObjectName(QStringLiteral("web"));
    encoderThread_.setObjectName(QStringLiteral("picture encoder"));
}

WebServer::~WebServer() {
    if (hub_ != nullptr) {
        WebHub* hub = hub_;
        QMetaObject::invokeMethod(
            hub, [hub] { delete hub; }, Qt::BlockingQueuedConnection);
    }
    webThread_.quit();
    webThread_.wait();
    encoderThread_.quit();
    encoderThread_.wait();
}

bool WebServer::Start(const WebServerOptions& options, QString* error) {
    const QHostAddress address =
        options.address.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(options.address);
    AllowOpenFiles(options.limits.maxViewers + 256);
    webThread_.start();
    encoderThread_.start();
    encoder_->moveToThread(&encoderThread_);

    // The hub and its sockets are made on the web thread, where they live.
    auto* anchor = new QObject;
    anchor->moveToThread(&webThread_);
    QString listenError;
    QMetaObject::invokeMethod(
        anchor,
        [&] {
            hub_ = new WebHub(token_, options.limits);
            port_ = hub_->Listen(address, options.port, &listenError);
        },
        Qt::BlockingQueuedConnection);
    anchor->deleteLater();
    if (port_ == 0) {
        if (error != nullptr) *error = listenError;
        return false;
    }
    host_ = address == QHostAddress(QHostAddress::Any) || address == QHostAddress::AnyIPv4 ||
                    address == QHostAddress::AnyIPv6
                ? NetworkHost()
                : address.toString();

    connect(encoder_.get(), &PictureEncoder::wholeEncoded, hub_, &WebHub::SetPicture);
    connect(encoder_.get(), &PictureEncoder::patchEncoded, hub_, &WebHub::AddPatch);
    connect(hub_, &WebHub::commandRequested, this, &WebServer::RunCommand);
    connect(hub_, &WebHub::nextHeatRequested, this, &WebServer::NextHeat);
    connect(hub_, &WebHub::pictureWanted, this, &WebServer::EncodeStalePicture);
    connect(hub_, &WebHub::viewersChanged, this, [this](int count) {
        viewers_ = count;
        if (count > 0 && pictureStale_) EncodeStalePicture();
        emit viewersChanged(count);
    });
    StartFeeds();
    return true;
}

void WebServer::StartWithoutListening() {
    encoderThread_.start();
    encoder_->moveToThread(&encoderThread_);
    StartFeeds();
}

void WebServer::StartFeeds() {
    feedsStarted_ = true;
    connect(&audience_, &ScrForm::pictureChanged, this, &WebServer::PictureChanged);
    // The hold, a heat step without a new picture on the hall's screen, the programme moving on:
    // the pages follow every change the commands announce.
    connect(&commands_.Notifier(), &StateNotifier::changed, this, &WebServer::StateChanged);
    pictureQueued_ = true;
    Publish();
}

void WebServer::SetRelay(RelayPublisher* relay) {
    relay_ = relay;
    if (relay_ == nullptr) return;
    // Straight from the encoder's thread: the publisher keeps only the newest picture.
    connect(
        encoder_.get(), &PictureEncoder::encoded, relay_,
        [relay](const QByteArray& png) { relay->Offer(QStringLiteral("picture"), png, "image/png"); },
        Qt::DirectConnection);
    // Every new picture whole. Set before the start, the first picture is the first one; set
    // after it, the one on air now goes out whole (with a hub, SetFullPicturesWanted asks for it).
    SetFullPicturesWanted(true);
    if (!feedsStarted_) return;
    if (hub_ == nullptr) encoder_->Request(audience_.PictureLayers(), true);
    StateChanged();
}

QUrl WebServer::MirrorUrl() const {
    QUrl url;
    url.setScheme(scheme_);
    url.setHost(host_);
    if (port_ != (scheme_ == u"https" ? 443 : 80)) url.setPort(port_);
    url.setPath(QStringLiteral("/"));
    return url;
}

void WebServer::ServeThroughRelay(const QUrl& relay) {
    host_ = NetworkHost();
    port_ = static_cast<quint16>(relay.port(relay.scheme() == u"https" ? 443 : 80));
    scheme_ = relay.scheme();
}

QUrl WebServer::RemoteUrl() const {
    QUrl url = MirrorUrl();
    url.setPath(QStringLiteral("/remote"));
    url.setQuery(QStringLiteral("token=") + QString::fromLatin1(token_));
    return url;
}

void WebServer::EncodeStalePicture() {
    // A change not published yet is the picture asked for.
    if (publishQueued_) Publish();
    if (!pictureStale_) {
        // Only patches went out since the last whole picture.
        encoder_->RequestWhole();
        return;
    }
    pictureStale_ = false;
    encoder_->Request(audience_.PictureLayers(), true);
}

void WebServer::SetFullPicturesWanted(bool wanted) {
    if (wanted == fullWanted_) return;
    fullWanted_ = wanted;
    encoder_->SetWholeWanted(wanted);
    if (!wanted || hub_ == nullptr) return;
    // The picture on air now, whole, and every one after it.
    if (pictureStale_) {
        EncodeStalePicture();
    } else {
        encoder_->Request(audience_.PictureLayers(), true);
    }
}

void WebServer::PictureChanged() {
    pictureQueued_ = true;
    // The hub knows at once that the picture it keeps is not the one on air: a page asked for
    // just after a command waits for the new one rather than getting the one before it.
    if (WebHub* hub = hub_) QMetaObject::invokeMethod(hub, [hub] { hub->SetPictureStale(); });
    StateChanged();
}

void WebServer::StateChanged() {
    if (publishQueued_) return;
    publishQueued_ = true;
    publishAfterRepaint_.Post();
}

void WebServer::Publish() {
    publishQueued_ = false;
    if (pictureQueued_) {
        // Nobody watching: nothing is composed or encoded until someone comes or asks.
        if (viewers_ > 0 || !everEncoded_ || fullWanted_) {
            encoder_->Request(audience_.PictureLayers());
            everEncoded_ = true;
            pictureStale_ = false;
        } else if (!pictureStale_) {
            pictureStale_ = true;
            if (WebHub* staleHub = hub_) {
                QMetaObject::invokeMethod(staleHub, [staleHub] { staleHub->SetPictureStale(); });
            }
        }
    }
    pictureQueued_ = false;
    const QByteArray json = StateJson();
    if (WebHub* hub = hub_) QMetaObject::invokeMethod(hub, [hub, json] { hub->SetState(json); });
    if (relay_ != nullptr) {
        // The relay's subscribers get a state only when it changed.
        if (json != lastRelayState_) relay_->Offer(QStringLiteral("now"), json, "application/json");
        lastRelayState_ = json;
        PublishHeats();
    }
}

bool WebServer::WaitPublished(int ms) {
    if (publishQueued_) Publish();
    if (encoderThread_.isRunning()) {
        // Runs after the encodings queued before it: their pictures have been offered then.
        QMetaObject::invokeMethod(encoder_.get(), [] {}, Qt::BlockingQueuedConnection);
    }
    return relay_ == nullptr || relay_->WaitSent(ms);
}

void WebServer::PublishHeats() {
    // Worked out again on every change (a heat step moves every couple's next heat), but at most
    // once in a few seconds: a change inside that time is taken up when it ends.
    constexpr qint64 kHeatsAtMostEveryMs = 5'000;
    const bool newItem = heatsItem_ != state_.CurrentProgrammeIndex;
    if (!newItem && heatsAge_.isValid() && heatsAge_.elapsed() < kHeatsAtMostEveryMs) {
        if (!heatsQueued_) {
            heatsQueued_ = true;
            QTimer::singleShot(kHeatsAtMostEveryMs - heatsAge_.elapsed(), this, [this] {
                heatsQueued_ = false;
                if (relay_ != nullptr) PublishHeats();
            });
        }
        return;
    }
    heatsItem_ = state_.CurrentProgrammeIndex;
    heatsAge_.start();
    QByteArray json = HeatsJson();
    if (json == lastHeats_) return;
    lastHeats_ = json;
    relay_->Offer(QStringLiteral("heats"), json, "application/json");
}

QByteArray WebServer::StateJson() {
    if (schedule_ == nullptr) return feed_.Next(state_);
    schedule_->Settle();
    return feed_.Next(state_, &schedule_->Day(), &schedule_->Pace());
}

void WebServer::SetSchedule(DaySchedule* schedule) {
    schedule_ = schedule;
    // A new estimate (the clock moved on) reaches the pages like any other change.
    if (schedule_ != nullptr) connect(schedule_, &DaySchedule::estimated, this, &WebServer::StateChanged);
}

void WebServer::NextHeat(quint64 id, int number) {
    const QByteArray json = NextHeatJson(number);
    WebHub* hub = hub_;
    QMetaObject::invokeMethod(hub, [hub, id, number, json] { hub->AnswerNextHeat(id, number, json); });
}

QByteArray WebServer::NextHeatJson(int number) {
    return QJsonDocument(NextHeatObject(number)).toJson(QJsonDocument::Compact);
}

QByteArray WebServer::HeatsJson() {
    const QTime now = Hooks().now ? Hooks().now() : QTime::currentTime();
    QJsonObject numbers;
    if (schedule_ != nullptr && !schedule_->Day().items.empty()) {
        // Every couple of the entry list, and every back number drawn in a heat of the day.
        ReadDrawnHeatsWhenDue();
        std::vector<bool> known(kCoupleRows, false);
        for (int n = 1; n < kCoupleRows; ++n) known[n] = !TrimBlanks(state_.CoupleNames[n]).empty();
        for (const DrawnHeats& heats : drawn_) {
            for (const auto* floor : {&heats.floorA, &heats.floorB}) {
                for (const HeatRow& row : *floor) {
                    for (int n : row) {
                        if (n > 0 && n < kCoupleRows) known[n] = true;
                    }
                }
            }
        }
        const CoupleHeatIndex index(state_, schedule_->Day(), drawn_);
        ItemTexts texts;
        for (int n = 1; n < kCoupleRows; ++n) {
            if (!known[n]) continue;
            QJsonObject next = NextHeatObject(n, index.Next(n), &texts);
            // A couple with no heat to come is simply not listed.
            if (next.value("status").toString() == u"none") continue;
            numbers.insert(QString::number(n), next);
        }
    }
    const QJsonObject out{{"estimate", true},
                          {"at", ClockOf(now.msecsSinceStartOfDay() / 1000)},
                          {"numbers", numbers}};
    return QJsonDocument(out).toJson(QJsonDocument::Compact);
}

void WebServer::ReadDrawnHeatsWhenDue() {
    if (drawnItem_ == state_.CurrentProgrammeIndex && drawnAge_.isValid() &&
        drawnAge_.elapsed() <= 60'000) {
        return;
    }
    drawn_.clear();
    for (const ItemEstimate& e : schedule_->Day().items) {
        if (e.event < 0) continue;
        DrawnHeats heats = ReadDrawnHeats(state_, e.event);
        if (heats.Drawn()) drawn_.push_back(std::move(heats));
    }
    drawnItem_ = state_.CurrentProgrammeIndex;
    drawnAge_.start();
}

QJsonObject WebServer::NextHeatObject(int number) {
    if (schedule_ == nullptr || schedule_->Day().items.empty()) {
        return {{"number", number}, {"estimate", true}, {"status", "unknown"}};
    }
    ReadDrawnHeatsWhenDue();
    return NextHeatObject(number, NextHeatOf(state_, schedule_->Day(), drawn_, number));
}

QJsonObject WebServer::NextHeatObject(int number, const CoupleHeat& next, ItemTexts* texts) {
    QJsonObject out{{"number", number}, {"estimate", true}};
    static const char* const kStatus[] = {"heat", "round", "none"};
    out["status"] = QLatin1String(kStatus[static_cast<int>(next.status)]);
    if (next.status == CoupleHeat::Status::NoHeat) return out;
    const QTime now = Hooks().now ? Hooks().now() : QTime::currentTime();
    const int left = std::max(0, next.start - now.msecsSinceStartOfDay() / 1000);
    const bool inTable = next.item >= 0 && next.item < kProgrammeRows;
    out["item"] = next.item;
    const auto decode = [&] {
        return std::pair{
            FromCp932(TrimBlanks(state_.EventNameAt(next.event).substr(0, 3))),
            inTable ? FromCp932(TrimBlanks(state_.ProgrammeTexts[next.item])) : QString()};
    };
    const auto [event, text] =
        texts == nullptr ? decode() : texts->try_emplace(next.item, decode()).first->second;
    out["event"] = event;
    out["text"] = text;
    out["floor"] = next.floorB ? QStringLiteral("B") : QStringLiteral("A");
    out["dance"] = next.dance + 1;
    out["heat"] = next.heat;
    out["start"] = ClockOf(next.start);
    out["minutes"] = (left + 30) / 60;
    return out;
}

void WebServer::RunCommand(quint64 id, const QString& name) {
    // A message box of the console waits for the operator: its buttons are out of reach, and
    // so are the remote's.
    const RemoteResult result = QApplication::activeModalWidget() != nullptr
                                    ? RemoteResult::NotNow
                                    : RunRemoteCommand(name, commands_, state_);
    const QByteArray json = StateJson();
    const int status = result == RemoteResult::Done     ? 200
                       : result == RemoteResult::NotNow ? 409
                                                        : 404;
    WebHub* hub = hub_;
    QMetaObject::invokeMethod(hub, [hub, id, status, json] {
        hub->SetState(json);
        hub->Answer(id, status, json);
    });
}
