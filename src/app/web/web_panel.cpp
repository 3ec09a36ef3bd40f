#include "app/web/web_panel.h"

#include <QLabel>
#include <QPixmap>
#include <algorithm>

#include "app/web/qr_code.h"
#include "app/web/relay_publisher.h"
#include "app/web/web_server.h"

namespace {

constexpr int kQrSide = 124;
constexpr int kMainQrSide = 58;

}  // namespace

WebPanel::WebPanel(QWidget* panel, QWidget* mainPanel, WebServer& server)
    : WebPanel(panel, server) {
    if (mainPanel == nullptr) return;
    // The mirror's code, two pixels a module with a two-module margin, on white.
    const QByteArray mirror = server_.MirrorUrl().toString(QUrl::FullyEncoded).toUtf8();
    auto* qr = new QLabel(mainPanel);
    qr->setObjectName(QStringLiteral("WebQrImage"));
    qr->setGeometry(127, 76, kMainQrSide, kMainQrSide);
    qr->setAlignment(Qt::AlignCenter);
    qr->setAutoFillBackground(true);
    qr->setStyleSheet(QStringLiteral("background: white;"));
    QImage code = QrCodeImage(mirror, 2);
    if (!code.isNull() && code.width() - 2 * 2 * 2 > kMainQrSide) code = QrCodeImage(mirror, 1);
    // The quiet zone is four modules; two of them are enough on a white label.
    const int margin = code.isNull() ? 0 : std::max(0, (code.width() - kMainQrSide) / 2);
    if (margin > 0) code = code.copy(margin, margin, kMainQrSide, kMainQrSide);
    qr->setPixmap(QPixmap::fromImage(code));
    qr->setToolTip(QString::fromUtf8("スマートフォンのカメラで読むと会場の画面とヒート表が見られます: ") +
                   server_.MirrorUrl().toString());
    qr->show();

    mainText_ = new QLabel(mainPanel);
    mainText_->setObjectName(QStringLiteral("WebAddressLabel"));
    // Under the free message's field, above the list's and the award's headers.
    mainText_->setGeometry(25, 315, 373, 13);
    QFont small = mainText_->font();
    small.setPointSize(8);
    mainText_->setFont(small);
    mainText_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mainText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mainText_->setStyleSheet(QStringLiteral("color: #004060;"));
    mainText_->setToolTip(QString::fromUtf8("スマートフォンで開くアドレス（上の QR コードでも）。"
                                            "リモートはメンテナンス画面の QR コード"));
    mainText_->show();
    mainText_->raise();
    ShowViewers(server_.Viewers());
}

WebPanel::WebPanel(QWidget* panel, WebServer& server)
    : QObject(panel), server_(server), text_(new QLabel(panel)) {
    auto* qr = new QLabel(panel);
    qr->setObjectName(QStringLiteral("WebQr"));
    qr->setGeometry(186, 488, kQrSide, kQrSide);
    qr->setAlignment(Qt::AlignCenter);
    const QByteArray remote = server_.RemoteUrl().toString(QUrl::FullyEncoded).toUtf8();
    QImage code = QrCodeImage(remote, 3);
    // The largest whole number of pixels per module that fits.
    if (!code.isNull() && code.width() > kQrSide) code = QrCodeImage(remote, 2);
    qr->setPixmap(QPixmap::fromImage(code));
    qr->setToolTip(QString::fromUtf8("リモート（進行ボタン）: ") + server_.RemoteUrl().toString());
    qr->show();

    text_->setObjectName(QStringLiteral("WebLabel"));
    text_->setGeometry(10, 616, 296, 54);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont small = text_->font();
    small.setPointSize(8);
    text_->setFont(small);
    text_->show();
    connect(&server_, &WebServer::viewersChanged, this, &WebPanel::ShowViewers);
    ShowViewers(server_.Viewers());
}

void WebPanel::ShowViewers(int count) {
    text_->setText(
        QString::fromUtf8("《 Web 》 %1\nヒート表: %1heats\n視聴 %2 人　リモート: 上の QR コード")
            .arg(server_.MirrorUrl().toString())
            .arg(count));
    if (mainText_ != nullptr) {
        mainText_->setText(QString::fromUtf8("Web: %1 （視聴 %2 人）")
                               .arg(server_.MirrorUrl().toString())
                               .arg(count));
    }
}

QLabel* AddRelayLine(QWidget* mainPanel, RelayPublisher& relay) {
    auto* line = new QLabel(mainPanel);
    line->setObjectName(QStringLiteral("RelayLabel"));
    // The web's address takes the left of the row under the free message's field.
    const bool besideWeb = mainPanel->findChild<QLabel*>(QStringLiteral("WebAddressLabel")) != nullptr;
    line->setGeometry(besideWeb ? QRect(248, 315, 150, 13) : QRect(25, 315, 373, 13));
    QFont small = line->font();
    small.setPointSize(8);
    line->setFont(small);
    line->setAlignment((besideWeb ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    const auto show = [line](const RelayStatus& status) {
        const bool down = status.state == RelayStatus::State::Unreachable ||
                          status.state == RelayStatus::State::Refused;
        line->setText(RelayPublisher::Describe(status));
        line->setToolTip(RelayPublisher::Explain(status));
        line->setStyleSheet(down ? QStringLiteral("color: #c00000; font-weight: bold;")
                                 : QStringLiteral("color: #004060;"));
    };
    show(relay.Status());
    QObject::connect(&relay, &RelayPublisher::statusChanged, line, show);
    line->show();
    line->raise();
    return line;
}
