#include "app/widgets/scroll_bar_look.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/widgets/label_looks.h"

ScrollBarLook::ScrollBarLook(QScrollBar* bar) : QObject(bar), bar_(bar) {
    bar_->installEventFilter(this);
}

ScrollBarLook::~ScrollBarLook() = default;

ScrollBarLook::Key ScrollBarLook::KeyOf(int value) const {
    return Key{.value = value,
               .minimum = bar_->minimum(),
               .maximum = bar_->maximum(),
               .pageStep = bar_->pageStep(),
               .singleStep = bar_->singleStep(),
               .orientation = static_cast<int>(bar_->orientation()),
               .inverted = bar_->invertedAppearance(),
               .size = bar_->size(),
               .palette = bar_->palette(),
               .group = bar_->palette().currentColorGroup(),
               .enabled = bar_->isEnabled(),
               .style = bar_->style(),
               .pixelRatio = bar_->devicePixelRatioF()};
}

bool ScrollBarLook::AtRest() const {
    return !bar_->underMouse() && !bar_->isSliderDown() && !bar_->hasFocus();
}

void ScrollBarLook::Prepare(int value) {
    if (!bar_->isVisible() || value < bar_->minimum() || value > bar_->maximum()) return;
    Key key = KeyOf(value);
    if (key == key_ && !pixels_.isNull()) return;
    QImage pixels = BufferBitmap(*bar_, bar_->size());
    if (pixels.isNull()) return;
    if (!twin_) {
        twin_ = std::make_unique<QScrollBar>();
        twin_->setAttribute(Qt::WA_DontShowOnScreen);
    }
    QScrollBar& t = *twin_;
    if (t.style() != key.style) return;
    t.setPalette(FlatPalette(key.palette, key.group));
    t.setOrientation(bar_->orientation());
    t.setInvertedAppearance(key.inverted);
    t.setRange(key.minimum, key.maximum);
    t.setPageStep(key.pageStep);
    t.setSingleStep(key.singleStep);
    t.setValue(value);
    t.setEnabled(key.enabled);
    t.resize(key.size);
    // Painted over black and over white: a style that leaves any pixel unpainted shows what lies
    // under the bar there, and the look would not be the bar's alone.
    QImage overWhite = pixels.copy();
    pixels.fill(Qt::black);
    overWhite.fill(Qt::white);
    t.render(&pixels, QPoint(), QRegion(), QWidget::RenderFlags());
    t.render(&overWhite, QPoint(), QRegion(), QWidget::RenderFlags());
    if (pixels != overWhite) {
        pixels_ = QImage();
        return;
    }
    key_ = std::move(key);
    pixels_ = std::move(pixels);
}

bool ScrollBarLook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || watched != bar_ || pixels_.isNull() || !AtRest() ||
        !(KeyOf(bar_->value()) == key_)) {
        return QObject::eventFilter(watched, event);
    }
    QPainter p(bar_);
    // Copied only into a bitmap of the format it was painted in: the same pixels exactly.
    if (TargetFormat(p) != pixels_.format()) return false;
    p.drawImage(QPoint(0, 0), pixels_);
    ++copied_;
    return true;
}
