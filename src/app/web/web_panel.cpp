#include "app/web/web_panel.h"

#include <QLabel>
#include <QPixmap>

#include "app/web/qr_code.h"
#include "app/web/web_server.h"

namespace {

constexpr int kQrSide = 124;

}  // namespace

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
}
