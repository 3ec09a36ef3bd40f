#include "app/web/qr_code.h"

#include <qrencode.h>

#include <QPainter>
#include <memory>

QImage QrCodeImage(const QByteArray& text, int moduleSize) {
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_L, QR_MODE_8, 1), &QRcode_free);
    if (!code || moduleSize < 1) return {};
    constexpr int kQuietZone = 4;
    const int width = code->width;
    const int side = (width + 2 * kQuietZone) * moduleSize;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int y = 0; y < width; ++y) {
        for (int x = 0; x < width; ++x) {
            // Bit 0 of each module byte: dark.
            if ((code->data[y * width + x] & 1) == 0) continue;
            p.fillRect((x + kQuietZone) * moduleSize, (y + kQuietZone) * moduleSize, moduleSize,
                       moduleSize, Qt::black);
        }
    }
    return image;
}
