#include "app/web/picture_encoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QMutexLocker>

void PictureEncoder::Request(std::vector<PictureLayer> layers) {
    bool queued = false;
    {
        const QMutexLocker lock(&mutex_);
        queued = waiting_.has_value();
        waiting_ = std::move(layers);
    }
    if (!queued)
        QMetaObject::invokeMethod(this, &PictureEncoder::EncodeNewest, Qt::QueuedConnection);
}

QByteArray PictureEncoder::EncodePng(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Flat colours and text: zlib's fastest level is hardly larger than its best and takes a
    // third of the time; three bytes a pixel are less to compress than four.
    writer.setQuality(80);
    writer.write(picture.convertToFormat(QImage::Format_RGB888));
    return png;
}

void PictureEncoder::EncodeNewest() {
    std::vector<PictureLayer> layers;
    {
        const QMutexLocker lock(&mutex_);
        if (!waiting_) return;
        layers = std::move(*waiting_);
        waiting_.reset();
    }
    QImage picture = ScrForm::ComposePicture(layers);
    // The console's bitmaps are let go at once: a drawing on them need not copy them first.
    layers.clear();
    if (picture == last_) return;
    const QByteArray png = EncodePng(picture);
    last_ = std::move(picture);
    emit encoded(png);
}
