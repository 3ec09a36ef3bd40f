#include "app/widgets/label_looks.h"

#include <QBackingStore>
#include <QEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QTextDocument>
#include <QWindow>
#include <algorithm>

#include "app/widgets/widget_colors.h"

namespace {

QImage::Format ImageFormat(const QPaintDevice* device) {
    if (device == nullptr || device->devType() != QInternal::Image) return QImage::Format_Invalid;
    return static_cast<const QImage*>(device)->format();
}

// A label that draws its text alone: no picture, no rich text with its links and selections.
bool Plain(const QLabel& label, const QString& text) {
    const Qt::TextInteractionFlags selectable =
        Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::TextEditable;
    return label.pixmap().isNull() && label.movie() == nullptr && label.picture().isNull() &&
           !(label.textInteractionFlags() & selectable) &&
           (label.textFormat() == Qt::PlainText ||
            (label.textFormat() == Qt::AutoText && !Qt::mightBeRichText(text)));
}

}  // namespace

QImage BufferBitmap(const QWidget& widget, const QSize& size) {
    QBackingStore* store = widget.window()->backingStore();
    const QImage::Format format = ImageFormat(store != nullptr ? store->paintDevice() : nullptr);
    if (format == QImage::Format_Invalid || size.isEmpty()) return {};
    const double ratio = widget.devicePixelRatioF();
    QImage bitmap((QSizeF(size) * ratio).toSize(), format);
    bitmap.setDevicePixelRatio(ratio);
    // Text sized at the widget's resolution, as on its screen.
    bitmap.setDotsPerMeterX(qRound(widget.logicalDpiX() / 0.0254));
    bitmap.setDotsPerMeterY(qRound(widget.logicalDpiY() / 0.0254));
    return bitmap;
}

QImage::Format TargetFormat(QPainter& painter) {
    return ImageFormat(painter.paintEngine()->paintDevice());
}

QPalette FlatPalette(const QPalette& palette, QPalette::ColorGroup group) {
    QPalette flat;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        flat.setBrush(QPalette::All, r, palette.brush(group, r));
    }
    return flat;
}

LabelLooks::LabelLooks(QObject* parent) : QObject(parent) {}

LabelLooks::~LabelLooks() {
    for (const auto& [label, looks] : looks_) const_cast<QLabel*>(label)->removeEventFilter(this);
}

LabelLooks::Key LabelLooks::KeyOf(const QLabel& label, const QString& text,
                                  const QPalette& palette) {
    return Key{.text = text,
               .palette = palette,
               // The group the label paints in now (palette() works it out).
               .group = label.palette().currentColorGroup(),
               .font = label.font(),
               .size = label.size(),
               .alignment = static_cast<int>(label.alignment()),
               .wordWrap = label.wordWrap(),
               .margin = label.margin(),
               .indent = label.indent(),
               .frameStyle = label.frameStyle(),
               .lineWidth = label.lineWidth(),
               .midLineWidth = label.midLineWidth(),
               .contents = label.contentsMargins(),
               .format = label.textFormat(),
               .direction = label.layoutDirection(),
               .enabled = label.isEnabled(),
               .pixelRatio = label.devicePixelRatioF(),
               .dpiX = label.logicalDpiX(),
               .dpiY = label.logicalDpiY()};
}

void LabelLooks::Prepare(QLabel* label, const QString& text) {
    PrepareLook(label, text, label->palette());
}

void LabelLooks::Prepare(QLabel* label, const QString& text, const QColor& background,
                         const QColor& textColour) {
    PrepareLook(label, text, ColoredPalette(label, background, textColour));
}

void LabelLooks::PrepareLook(QLabel* label, const QString& text, const QPalette& palette) {
    QImage pixels = BufferBitmap(*label, label->size());
    if (!label->isVisible() || !label->autoFillBackground() || pixels.isNull() ||
        !Plain(*label, text)) {
        return;
    }
    Key key = KeyOf(*label, text, palette);
    Looks& looks = looks_[label];
    std::vector<Look>& kept = looks.kept[step_];
    // The step's looks from before its last PrepareFor give way; one with the same key is kept
    // as it is rather than painted again.
    std::vector<Look> before;
    if (looks.round[step_] != round_) {
        looks.round[step_] = round_;
        before.swap(kept);
    }
    const auto same = [&](const Look& look) {
        return look.key == key && look.pixels.format() == pixels.format();
    };
    if (std::any_of(kept.begin(), kept.end(), same)) return;
    if (kept.size() == kLooksPerStep) kept.erase(kept.begin());
    if (const auto found = std::find_if(before.begin(), before.end(), same);
        found != before.end()) {
        kept.push_back(std::move(*found));
        return;
    }
    if (!looks.twin) {
        looks.twin = std::make_unique<QLabel>();
        looks.twin->setAttribute(Qt::WA_DontShowOnScreen);
        label->installEventFilter(this);
        connect(label, &QObject::destroyed, this, [this, label] { looks_.erase(label); });
    }
    // Set up as the label (a setter that changes nothing costs nothing).
    QLabel& t = *looks.twin;
    if (t.style() != label->style()) return;
    t.setPalette(FlatPalette(palette, key.group));
    t.setFont(key.font);
    t.setAutoFillBackground(true);
    t.setBackgroundRole(label->backgroundRole());
    t.setForegroundRole(label->foregroundRole());
    t.setTextFormat(key.format);
    t.setAlignment(label->alignment());
    t.setWordWrap(key.wordWrap);
    t.setMargin(key.margin);
    t.setIndent(key.indent);
    t.setFrameStyle(key.frameStyle);
    t.setLineWidth(key.lineWidth);
    t.setMidLineWidth(key.midLineWidth);
    t.setContentsMargins(key.contents);
    t.setLayoutDirection(key.direction);
    t.setEnabled(key.enabled);
    t.resize(key.size);
    t.setText(text);
    t.render(&pixels, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    kept.push_back({std::move(key), std::move(pixels)});
}

bool LabelLooks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint) return QObject::eventFilter(watched, event);
    auto* label = static_cast<QLabel*>(watched);
    const auto found = looks_.find(label);
    if (found == looks_.end() || !label->autoFillBackground() || !Plain(*label, label->text())) {
        return false;
    }
    const Key now = KeyOf(*label, label->text(), label->palette());
    for (const std::vector<Look>& step : found->second.kept) {
        for (const Look& look : step) {
            if (!(look.key == now)) continue;
            QPainter p(label);
            // Copied only into a bitmap of the format it was painted in: the same pixels exactly.
            if (TargetFormat(p) != look.pixels.format()) return false;
            p.drawImage(QPoint(0, 0), look.pixels);
            ++copied_;
            return true;
        }
    }
    return false;
}
