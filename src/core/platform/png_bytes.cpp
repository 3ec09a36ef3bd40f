#include "core/platform/png_bytes.h"

#include <QBuffer>
#include <QImageWriter>

QByteArray PngBytes(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80);
    writer.write(picture.convertToFormat(QImage::Format_RGB888));
    return png;
}
