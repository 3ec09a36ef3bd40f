#include "app/widgets/image_control.h"

#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "app/widgets/buffer_settler.h"
#include "core/platform/changed_tiles.h"

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent), canvas_(width(), height(), QString()) {
    // Until shown, the drawings wait (see showEvent).
    canvas_.SetDeferred(true);
}

Canvas& ImageControl::canvas() {
    FollowSize();
    return canvas_;
}

void ImageControl::FollowSize() {
    if (fixedBitmap_) return;
    // Canvas bitmaps are at least 1 x 1; compare the same way so an empty control is not
    // given a fresh bitmap on every call.
    const int w = std::max(1, qRound(width() / deviceScale_));
    const int h = std::max(1, qRound(height() / deviceScale_));
    if (canvas_.Width() != w || canvas_.Height() != h || canvas_.DeviceScale() != deviceScale_) {
        canvas_.Resize(w, h, deviceScale_);
    }
    FollowCover();
}

void ImageControl::FollowCover() {
    // A control that its bitmap or picture covers paints every pixel itself: what lies behind
    // it need not be painted first.
    const QSize bitmap = canvas_.PixelSize();
    const bool covered =
        !picture_.isNull() || (bitmap.width() >= width() && bitmap.height() >= height());
    if (testAttribute(Qt::WA_OpaquePaintEvent) != covered) {
        setAttribute(Qt::WA_OpaquePaintEvent, covered);
    }
}

void ImageControl::SetCanvasName(const QString& name) {
    Canvas renamed(canvas_.Width(), canvas_.Height(), name);
    renamed.Resize(canvas_.Width(), canvas_.Height(), canvas_.DeviceScale());
    renamed.Image() = canvas_.Image();
    renamed.SetFontName(canvas_.FontName());
    renamed.SetFontSize(canvas_.FontSize());
    renamed.SetFontColor(canvas_.FontColor());
    renamed.SetBold(canvas_.Bold());
    renamed.SetPenColor(canvas_.PenColor());
    renamed.SetPenWidth(canvas_.PenWidth());
    renamed.SetBrushColor(canvas_.BrushColor());
    renamed.SetRecording(canvas_.Recording());
    canvas_ = std::move(renamed);
    canvas_.SetDeferred(!isVisible());
}

void ImageControl::SetBitmapSize(int width, int height) {
    fixedBitmap_ = true;
    canvas_.Resize(width, height);
    FollowCover();
    update();
}

void ImageControl::SetDeviceScale(double scale) {
    if (scale <= 0 || scale == deviceScale_) return;
    deviceScale_ = scale;
    FollowSize();
    update();
}

void ImageControl::SetPicture(const QImage& picture) {
    picture_ = picture;
    inBuffer_ = QRegion();
    FollowCover();
    update();
}

void ImageControl::UpdateIfDrawn() {
    // Not on show, the canvas keeps its drawings until it is painted: at the start, the pictures
    // drawn before the windows come up and replaced before then are never drawn.
    if (!isVisible()) {
        update();
        return;
    }
    const QRegion damage = canvas_.TakeDamage();
    if (damage.isEmpty()) return;
    // Parts drawn again are copied again.
    inBuffer_ -= damage;
    if (!picture_.isNull()) {
        update();
        return;
    }
    if (ShowPrepared(damage)) return;
    // The canvas says which of its pixels changed; the window system gets only those, and the
    // parts of the buffer that may hold a picture prepared for another step get this one back
    // (unchanged elsewhere, they need not go to the window system).
    RestorePrepared(damage);
    update(damage);
}

bool ImageControl::CanPrepare() const {
    const QWindow* handle = window()->windowHandle();
    return isVisible() && !fixedBitmap_ && picture_.isNull() && backingStore() != nullptr &&
           handle != nullptr && !handle->format().hasAlpha();
}

const QImage* ImageControl::AheadPicture(int slot, QRegion* changed) const {
    const QImage& shown = std::as_const(canvas_).Image();
    const QImage* next = canvas_.AheadPicture(slot, changed);
    return next != nullptr && next->size() == shown.size() ? next : nullptr;
}

void ImageControl::PrepareAhead(int slot, bool beside) {
    if (beside && !preparations_.empty()) {
        PrepareAheadBeside(slot);
        return;
    }
    QRegion changed;
    const QImage* next = CanPrepare() ? AheadPicture(slot, &changed) : nullptr;
    if (next == nullptr) {
        RestorePrepared();
        return;
    }
    const QImage& shown = std::as_const(canvas_).Image();
    const QRegion uncovered = Uncovered();
    const QRegion region = changed & uncovered & shown.rect();
    const QRegion restore = (prepared_ - region) & uncovered;
    PaintIntoBuffer(region | restore, [&](QPainter& p) {
        CopyImage(p, shown, restore);
        CopyImage(p, *next, region);
    });
    prepared_ = region;
    preparations_ = {{region, next->cacheKey()}};
    Guard();
}

void ImageControl::PrepareAheadBeside(int slot) {
    QRegion changed;
    const QImage* next = CanPrepare() ? AheadPicture(slot, &changed) : nullptr;
    if (next == nullptr) return;
    for (const Preparation& p : preparations_) {
        if (p.key == next->cacheKey()) return;
    }
    const QRegion region =
        (changed & Uncovered() & std::as_const(canvas_).Image().rect()) - prepared_;
    if (region.isEmpty()) return;
    PaintIntoBuffer(region, [&](QPainter& p) { CopyImage(p, *next, region); });
    prepared_ |= region;
    preparations_.push_back({region, next->cacheKey()});
}

void ImageControl::Guard() {
    QWindow* handle = window()->windowHandle();
    if (guarded_ == handle) return;
    if (guarded_ != nullptr) guarded_->removeEventFilter(this);
    guarded_ = handle;
    handle->installEventFilter(this);
}

bool ImageControl::ShowPrepared(const QRegion& damage) {
    if (prepared_.isEmpty()) return false;
    QBackingStore* store = backingStore();
    QWindow* handle = window()->windowHandle();
    // The same bitmap, untouched since (a bitmap drawn on gets a new key).
    const qint64 key = std::as_const(canvas_).Image().cacheKey();
    const auto taken = std::find_if(preparations_.begin(), preparations_.end(),
                                    [key](const Preparation& p) { return p.key == key; });
    if (taken == preparations_.end() || store == nullptr || handle != guarded_ ||
        !handle->isExposed()) {
        return false;
    }
    // The buffer holds the new picture in the prepared parts and the shown one elsewhere, which
    // is the new one outside its changed parts. A picture prepared beside another one lacks the
    // changed parts the other holds: those are copied now. The other's parts outside this
    // picture's changes are not shown; they get the shown picture back before anything could
    // show them (as prepared parts do), at the latest when the next step is prepared.
    const QRegion ready = taken->parts;
    const QRegion missing = (damage - ready) & Uncovered();
    prepared_ -= damage | ready;
    preparations_.clear();
    if (const QImage* buffer = BufferImage(); preparedWithWindow_ && buffer != nullptr) {
        if (inBuffer_.isEmpty()) {
            inBufferBits_ = buffer->constBits();
            inBufferSize_ = buffer->size();
        }
        if (HoldsBuffer(*buffer)) {
            inBuffer_ += damage & ready;
            update(damage);
            return true;
        }
    }
    if (!missing.isEmpty()) {
        PaintIntoBuffer(
            missing, [&](QPainter& p) { CopyImage(p, std::as_const(canvas_).Image(), missing); });
    }
    store->flush(damage.translated(mapTo(window(), QPoint(0, 0))), handle);
    Settle(damage);
    return true;
}

void ImageControl::RestorePrepared(const QRegion& except) {
    // Covered parts hold what covers them, painted since.
    preparations_.clear();
    const QRegion parts = (std::exchange(prepared_, QRegion()) - except) & Uncovered();
    if (parts.isEmpty()) return;
    PaintIntoBuffer(parts,
                    [&](QPainter& p) { CopyImage(p, std::as_const(canvas_).Image(), parts); });
}

void ImageControl::PaintIntoBuffer(const QRegion& parts,
                                   const std::function<void(QPainter&)>& paint) {
    QBackingStore* store = backingStore();
    if (store == nullptr) return;
    const QPoint offset = mapTo(window(), QPoint(0, 0));
    inBuffer_ -= parts;
    store->beginPaint(parts.translated(offset));
    {
        QPainter p(store->paintDevice());
        p.translate(offset);
        paint(p);
    }
    store->endPaint();
}

QRegion ImageControl::Uncovered() const {
    const QWidget* top = window();
    const QPoint origin = mapTo(top, QPoint(0, 0));
    const auto area = [top, origin](const QWidget* w) {
        return QRect(w->mapTo(top, QPoint(0, 0)) - origin, w->size());
    };
    QRegion uncovered = rect();
    for (const QObject* o : children()) {
        const auto* child = qobject_cast<const QWidget*>(o);
        if (child != nullptr && !child->isWindow() && child->isVisible()) uncovered -= area(child);
    }
    // Up to the window: cut to each parent, less the siblings stacked above each (later in
    // their parent's children).
    for (const QWidget* w = this; !w->isWindow(); w = w->parentWidget()) {
        const QWidget* parent = w->parentWidget();
        uncovered &= area(parent);
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(w)) + 1; i < siblings.size();
             ++i) {
            const auto* sibling = qobject_cast<const QWidget*>(siblings.at(i));
            if (sibling != nullptr && !sibling->isWindow() && sibling->isVisible()) {
                uncovered -= area(sibling);
            }
        }
    }
    return uncovered;
}

bool ImageControl::eventFilter(QObject* watched, QEvent* event) {
    // An exposed window is shown from its buffer as it is: the shown picture goes back first.
    if (watched == guarded_ && event->type() == QEvent::Expose) {
        inBuffer_ = QRegion();
        RestorePrepared();
    }
    return QWidget::eventFilter(watched, event);
}

void ImageControl::moveEvent(QMoveEvent* event) {
    // A moved control's pixels may be moved in the buffer as they are.
    inBuffer_ = QRegion();
    RestorePrepared();
    QWidget::moveEvent(event);
}

void ImageControl::CopyImage(QPainter& p, const QImage& image, const QRegion& region) {
    // The bitmap is opaque: copied as it is, not blended over the window's pixels (the window's
    // buffer has an alpha channel, and blending goes pixel by pixel). In bands of at most
    // kBandRows rows: the toolkit hands a taller copy to its thread pool in parts, and waking
    // those threads costs more than the copy while the window system wants the same processor
    // cores for the picture.
    constexpr int kBandRows = 64;
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : region) {
        for (int top = r.top(); top <= r.bottom(); top += kBandRows) {
            const QRect band(r.left(), top, r.width(), std::min(kBandRows, r.bottom() + 1 - top));
            p.drawImage(QRectF(band), image, QRectF(band));
        }
    }
}

QRegion ImageControl::ChangedTiles(const QImage& frame, const QImage& shown, const QRect& within) {
    return ::ChangedTiles(frame, shown, within, QSize(64, 16));
}

void ImageControl::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!picture_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), picture_);
        ForgetPreparedUnder(event->region());
        return;
    }
    FollowSize();
    // Pixel for pixel, whatever the canvas's device scale; only the parts asked for, less those
    // the buffer painted into holds already.
    const QImage& image = std::as_const(canvas_).Image();
    const QRegion painted = event->region() & image.rect();
    if (!inBuffer_.isEmpty() && PaintsIntoHeldBuffer(p)) {
        CopyImage(p, image, painted - (inBuffer_ & Uncovered()));
        inBuffer_ -= painted;
    } else {
        CopyImage(p, image, painted);
    }
    // A paint into the buffer puts the shown picture over prepared parts, a paint for a grab
    // does not: either way a picture prepared there is no longer shown from the buffer, and
    // those parts get the shown picture again before anything shows them.
    ForgetPreparedUnder(painted);
    Settle(painted);
}

void ImageControl::ForgetPreparedUnder(const QRegion& painted) {
    std::erase_if(preparations_,
                  [&painted](const Preparation& p) { return p.parts.intersects(painted); });
}

const QImage* ImageControl::BufferImage() const {
    QBackingStore* store = backingStore();
    QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
    return device != nullptr && device->devType() == QInternal::Image
               ? static_cast<const QImage*>(device)
               : nullptr;
}

bool ImageControl::HoldsBuffer(const QImage& buffer) const {
    return buffer.constBits() == inBufferBits_ && buffer.size() == inBufferSize_;
}

bool ImageControl::PaintsIntoHeldBuffer(QPainter& p) const {
    const QImage* buffer = BufferImage();
    return buffer != nullptr && p.paintEngine() != nullptr &&
           p.paintEngine()->paintDevice() == buffer && HoldsBuffer(*buffer);
}

void ImageControl::Settle(const QRegion& shown) {
    // The parts just shown are settled (BufferSettler) a while after: the next picture does not
    // wait for the window system to have read them. Right after a picture that wait is the
    // window system's whole work on the other window's new parts.
    if (!fixedBitmap_ && unsettled_.isEmpty()) {
        QTimer::singleShot(BufferSettler::kDelayMs, this, &ImageControl::SettleWindowBuffer);
    }
    if (!fixedBitmap_) unsettled_ += shown;
}

void ImageControl::SettleWindowBuffer() {
    const QRegion parts = std::exchange(unsettled_, QRegion());
    if (!isVisible()) return;
    BufferSettler::Settle(window(), parts.translated(mapTo(window(), QPoint(0, 0))));
}

void ImageControl::resizeEvent(QResizeEvent* event) {
    // The whole control is painted again, the buffer's prepared parts with it.
    prepared_ = QRegion();
    preparations_.clear();
    inBuffer_ = QRegion();
    FollowSize();
    FollowCover();
    QWidget::resizeEvent(event);
}

void ImageControl::showEvent(QShowEvent* event) {
    canvas_.SetDeferred(false);
    // Shown, the control is painted whole: what its canvas changed while it was hidden needs no
    // repaint of its own later.
    canvas_.TakeDamage();
    QWidget::showEvent(event);
}

void ImageControl::hideEvent(QHideEvent* event) {
    // What shows in its place is painted over the prepared parts.
    prepared_ = QRegion();
    preparations_.clear();
    inBuffer_ = QRegion();
    canvas_.SetDeferred(true);
    QWidget::hideEvent(event);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->position().toPoint());
    QWidget::mousePressEvent(event);
}

QImage ImageControl::BuiltInLogo() {
    constexpr int kSize = 240;
    const QColor gold(222, 184, 92);
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient disc(QPointF(120, 100), 130);
    disc.setColorAt(0, QColor(36, 52, 110));
    disc.setColorAt(1, QColor(8, 12, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(QPointF(120, 120), 112, 112);
    p.setPen(QPen(gold, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(120, 120), 106, 106);

    // Leader: upright figure, one arm reaching to the partner.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(98, 62), 13, 13);
    QPainterPath leader;
    leader.moveTo(85, 80);
    leader.lineTo(111, 80);
    leader.lineTo(108, 132);
    leader.lineTo(116, 190);
    leader.lineTo(106, 190);
    leader.lineTo(98, 146);
    leader.lineTo(90, 190);
    leader.lineTo(80, 190);
    leader.lineTo(88, 132);
    leader.closeSubpath();
    p.drawPath(leader);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(108, 88), QPointF(138, 100));

    // Follower: flowing skirt, the free arm raised.
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawEllipse(QPointF(146, 70), 12, 12);
    QPainterPath follower;
    follower.moveTo(136, 86);
    follower.lineTo(156, 86);
    follower.lineTo(151, 124);
    follower.cubicTo(162, 150, 178, 172, 192, 188);
    follower.cubicTo(160, 194, 138, 194, 122, 188);
    follower.cubicTo(132, 166, 138, 146, 141, 124);
    follower.closeSubpath();
    p.drawPath(follower);
    p.setPen(QPen(gold, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(154, 90), QPointF(176, 58));

    QFont f;
    f.setPixelSize(22);
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(f);
    p.setPen(gold);
    p.drawText(QRect(0, 192, kSize, 30), Qt::AlignCenter, QStringLiteral("TRQ"));
    return img;
}
