#include "app/web/picture_encoder.h"

#include <QMutexLocker>
#include <QPainter>
#include <QtEndian>

#include "app/widgets/image_control.h"
#include "core/platform/png_bytes.h"

#include <utility>

namespace {

constexpr char kPatchMagic[] = "TRQP";

}  // namespace

void PictureEncoder::Request(std::vector<PictureLayer> layers, bool whole) {
    bool queued = false;
    {
        const QMutexLocker lock(&mutex_);
        queued = waiting_.has_value();
        waiting_ = std::move(layers);
        wholeAsked_ = wholeAsked_ || whole;
    }
    if (!queued)
        QMetaObject::invokeMethod(this, &PictureEncoder::EncodeNewest, Qt::QueuedConnection);
}

void PictureEncoder::RequestWhole() {
    QMetaObject::invokeMethod(this, &PictureEncoder::EncodeWhole, Qt::QueuedConnection);
}

void PictureEncoder::SetWholeWanted(bool wanted) {
    const QMutexLocker lock(&mutex_);
    wholeWanted_ = wanted;
}

void PictureEncoder::EncodeNewest() {
    std::vector<PictureLayer> layers;
    bool wholeAsked = false;
    bool wholeWanted = false;
    {
        const QMutexLocker lock(&mutex_);
        if (!waiting_) return;
        layers = std::move(*waiting_);
        waiting_.reset();
        wholeAsked = std::exchange(wholeAsked_, false);
        wholeWanted = wholeWanted_;
    }
    QImage picture = ScrForm::ComposePicture(layers);
    // The console's bitmaps are let go at once: a drawing on them need not copy them first.
    layers.clear();
    const bool first = last_.isNull();
    const QRegion changed = first ? QRegion(picture.rect())
                                  : ImageControl::ChangedTiles(picture, last_);
    if (!changed.isEmpty()) {
        ++frame_;
        if (!first) emit patchEncoded(frame_, Patch(picture, changed));
        last_ = std::move(picture);
    }
    const bool fresh = !changed.isEmpty();
    if ((fresh && (first || wholeWanted)) || wholeAsked) {
        if (wholeFrame_ != frame_) {
            whole_ = CompactPngBytes(last_);
            wholeFrame_ = frame_;
        }
        if (fresh || wholeWanted) emit encoded(whole_);
        emit wholeEncoded(frame_, whole_);
    }
}

void PictureEncoder::EncodeWhole() {
    if (last_.isNull()) return;
    if (wholeFrame_ != frame_) {
        whole_ = CompactPngBytes(last_);
        wholeFrame_ = frame_;
    }
    emit wholeEncoded(frame_, whole_);
}

QByteArray PictureEncoder::Patch(const QImage& picture, const QRegion& changed) {
    QByteArray out(kPatchMagic, 4);
    for (const QRect& r : changed) {
        const QByteArray png = CompactPngBytes(picture.copy(r));
        char head[12];
        qToBigEndian<quint16>(quint16(r.x()), head);
        qToBigEndian<quint16>(quint16(r.y()), head + 2);
        qToBigEndian<quint16>(quint16(r.width()), head + 4);
        qToBigEndian<quint16>(quint16(r.height()), head + 6);
        qToBigEndian<quint32>(quint32(png.size()), head + 8);
        out.append(head, sizeof head);
        out.append(png);
    }
    return out;
}

bool PictureEncoder::ApplyPatch(const QByteArray& patch, QImage& picture) {
    if (!patch.startsWith(kPatchMagic) || picture.isNull()) return false;
    QPainter p(&picture);
    for (qsizetype at = 4; at + 12 <= patch.size();) {
        const char* head = patch.constData() + at;
        const int x = qFromBigEndian<quint16>(head);
        const int y = qFromBigEndian<quint16>(head + 2);
        const qsizetype length = qFromBigEndian<quint32>(head + 8);
        if (at + 12 + length > patch.size()) return false;
        const QImage part = QImage::fromData(patch.mid(at + 12, length), "PNG");
        if (part.isNull()) return false;
        p.drawImage(QPoint(x, y), part);
        at += 12 + length;
    }
    return true;
}
