#pragma once
// Looks of opaque labels painted ahead. While the console waits for the operator's next step,
// the texts and colours that step will give some labels are painted into small bitmaps; when a
// label then shows one of those looks, its repaint copies the bitmap instead of laying out and
// drawing its text again (a wrapped two-line text costs a tenth of a millisecond and more).
//
// Only labels that fill their own background are taken: their pixels depend on nothing but the
// label (its text, palette, font, size, frame, alignment and wrapping, whether it is enabled and
// its window active, its screen's resolution). A look is used only when every one of those is the
// same as when it was painted; anything else paints as usual.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QObject>
#include <QPalette>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;

// A bitmap for painting ahead what `widget` shows in `size` (widget pixels): in its window
// buffer's format, at its pixel ratio and screen resolution, so that copying it into the buffer
// gives the pixels the widget paints there. Null when the window paints into no bitmap.
QImage BufferBitmap(const QWidget& widget, const QSize& size);
// The format of the bitmap `painter` paints into, Format_Invalid when it is no bitmap: a bitmap
// painted ahead is copied only into one of its own format.
QImage::Format TargetFormat(QPainter& painter);
// `palette`'s colours of `group` in every group: a hidden twin set up with it paints, active or
// not, as the widget does in its own group.
QPalette FlatPalette(const QPalette& palette, QPalette::ColorGroup group);

class LabelLooks : public QObject {
    Q_OBJECT
  public:
    explicit LabelLooks(QObject* parent = nullptr);
    ~LabelLooks() override;

    // The steps looks are painted for: the next heat's, and the next programme item's, which
    // stays while the heats are stepped through. A label keeps the looks prepared for a step
    // since the last PrepareFor of that step (a text that depends on when the step comes is
    // prepared for more than one moment), at most kLooksPerStep of them.
    enum Step { kNextHeat, kNextItem, kSteps };
    static constexpr std::size_t kLooksPerStep = 2;
    // Which step the looks prepared from now on are for: they replace the step's looks prepared
    // before.
    void PrepareFor(Step step) {
        step_ = step;
        ++round_;
    }
    // Paints `label` as it will look with `text` (in its colours as they are, or in `background`
    // and `text colour` as SetColors gives them). Nothing for a hidden label, one that does not
    // fill its background, or one without a window buffer to match.
    void Prepare(QLabel* label, const QString& text);
    void Prepare(QLabel* label, const QString& text, const QColor& background,
                 const QColor& textColour);

    // How many repaints copied a look painted ahead.
    std::size_t Copied() const { return copied_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Everything a label's pixels depend on.
    struct Key {
        QString text;
        QPalette palette;
        QPalette::ColorGroup group = QPalette::Active;
        QFont font;
        QSize size;
        int alignment = 0;
        bool wordWrap = false;
        int margin = 0;
        int indent = 0;
        int frameStyle = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        QMargins contents;
        Qt::TextFormat format = Qt::AutoText;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        bool enabled = true;
        double pixelRatio = 1;
        int dpiX = 96;
        int dpiY = 96;
        bool operator==(const Key&) const = default;
    };
    struct Look {
        Key key;
        QImage pixels;
    };
    struct Looks {
        std::array<std::vector<Look>, kSteps> kept;
        // The PrepareFor call each step's looks were prepared after.
        std::array<std::uint64_t, kSteps> round{};
        // Paints in the label's place: a label of its own, never shown, set up like it.
        std::unique_ptr<QLabel> twin;
    };
    static Key KeyOf(const QLabel& label, const QString& text, const QPalette& palette);
    void PrepareLook(QLabel* label, const QString& text, const QPalette& palette);

    std::unordered_map<const QLabel*, Looks> looks_;
    std::size_t copied_ = 0;
    Step step_ = kNextHeat;
    std::uint64_t round_ = 0;
};
