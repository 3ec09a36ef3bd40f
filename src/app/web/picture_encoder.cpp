#include "app/web/picture_encoder.h"

#include <QMutexLocker>

#include "core/platform/png_bytes.h"

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
    const QByteArray png = PngBytes(picture);
    last_ = std::move(picture);
    emit encoded(png);
}
