#include "core/platform/png_bytes.h"

#include <QBuffer>
#include <QImageWriter>

namespace {

QByteArray Encode(const QImage& picture, int quality) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(quality);
    writer.write(picture.convertToFormat(QImage::Format_RGB888));
    return png;
}

}  // namespace

QByteArray PngBytes(const QImage& picture) { return Encode(picture, 80); }

QByteArray SmallestPngBytes(const QImage& picture) { return Encode(picture, 0); }
