#pragma once
// A scroll bar's look painted ahead. While the console waits for the operator's next step, the
// bar is painted as that step will leave it (another value) into a bitmap; when the bar then
// repaints with that look, it copies the bitmap instead of having the style draw its groove,
// slider and arrows again (a third of a millisecond).
//
// The look is taken only when everything the bar's pixels depend on is as painted (value,
// range, steps, size, palette and colour group, enabled, style, pixel ratio) and the bar is
// neither hovered nor pressed; and only for a bar whose style paints every pixel of it, so that
// nothing under it shows through.

#include <QImage>
#include <QObject>
#include <QPalette>
#include <QSize>
#include <memory>

class QScrollBar;
class QStyle;

class ScrollBarLook : public QObject {
    Q_OBJECT
  public:
    explicit ScrollBarLook(QScrollBar* bar);
    ~ScrollBarLook() override;

    // Paints the bar as it will look at `value` (within its range as it is).
    void Prepare(int value);
    // How many repaints copied the look.
    std::size_t Copied() const { return copied_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Key {
        int value = 0;
        int minimum = 0;
        int maximum = 0;
        int pageStep = 0;
        int singleStep = 0;
        int orientation = 0;
        bool inverted = false;
        QSize size;
        QPalette palette;
        QPalette::ColorGroup group = QPalette::Active;
        bool enabled = true;
        const QStyle* style = nullptr;
        double pixelRatio = 1;
        bool operator==(const Key&) const = default;
    };
    Key KeyOf(int value) const;
    // Whether the bar paints as its key says: not hovered, not pressed.
    bool AtRest() const;

    QScrollBar* bar_;
    std::unique_ptr<QScrollBar> twin_;
    Key key_;
    QImage pixels_;
    std::size_t copied_ = 0;
};
