#pragma once
// An image control: a widget that shows the bitmap of its own drawing canvas at (0, 0), unscaled,
// or, once given a picture, that picture stretched over the whole control (the logos).

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/platform/canvas.h"

class QMouseEvent;
class QMoveEvent;
class QPainter;
class QWindow;
class QHideEvent;
class QPaintEvent;
class QResizeEvent;
class QShowEvent;

class ImageControl : public QWidget {
    Q_OBJECT

  public:
    explicit ImageControl(QWidget* parent = nullptr);

    // The drawing surface. Its bitmap has the control's size (a fresh one after every resize,
    // the drawing state kept) unless SetBitmapSize fixed it. The reference stays valid for the
    // control's life.
    Canvas& canvas();
    // Names the canvas (the name its draw records carry); size, bitmap and drawing state stay.
    void SetCanvasName(const QString& name);
    // Fixes the bitmap at this size, independent of the control's size (a tall list that is
    // scrolled by moving the control).
    void SetBitmapSize(int width, int height);
    bool HasFixedBitmap() const { return fixedBitmap_; }
    // Pixels of the control per drawing unit: the canvas keeps its drawing size in units and
    // renders sharp at the control's size (the audience picture on a larger venue screen).
    void SetDeviceScale(double scale);
    // Shows the picture stretched over the control instead of the canvas; a null image goes back
    // to the canvas.
    void SetPicture(const QImage& picture);
    bool ShowsPicture() const { return !picture_.isNull(); }
    // Repaints the parts of the control whose pixels the drawings since the last repaint
    // changed, as the canvas names them (the pixels on screen end up the same as with a full
    // repaint).
    void UpdateIfDrawn();
    // Puts the picture drawn ahead in the canvas's `slot` (Canvas::AheadPicture) into the
    // window's buffer where it differs from the one shown, without showing it: when a pass then
    // takes that picture, UpdateIfDrawn only hands those parts to the window system, with no
    // copy on the way. Parts covered by other widgets are left out. The shown picture comes back
    // into the buffer before anything else could show those parts (an expose of the window, a
    // repaint, another picture); nothing is prepared while the control is hidden or shows a
    // fixed bitmap or a picture, or on a window with an alpha channel.
    // `beside`: the picture goes into the buffer too, in the parts where it differs from the
    // shown one and no picture prepared before waits; when a pass takes it, only the parts
    // where the other one waits are copied (a programme step beside the next heat). As alone
    // when nothing is prepared.
    void PrepareAhead(int slot, bool beside = false);
    // A prepared picture that a pass takes is shown with the window's next repaint, not handed
    // to the window system at once: one hand-over with the rest of the window's changes (the
    // console's preview goes with the labels a step changes). That repaint copies nothing into
    // those parts, which the buffer holds already.
    void SetPreparedShownWithWindow(bool on) { preparedWithWindow_ = on; }

    // The parts of `frame` within `within` (all of it when null) that differ from `shown`, as
    // rectangles of whole tiles (64 x 16 pixels from the corner, cut to `within`); all of
    // `within` when the sizes or formats differ. (The web's pictures are compared so.)
    static QRegion ChangedTiles(const QImage& frame, const QImage& shown, const QRect& within = {});

    // An emblem of our own (a dancing couple in a gold ring), shown by the logo controls until a
    // logo bitmap replaces it.
    static QImage BuiltInLogo();

  signals:
    // A mouse press with the button and the position in control pixels.
    void mouseDown(Qt::MouseButton button, QPoint pos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // Resize events of a control that was never shown arrive late, so every use of the canvas
    // first brings the bitmap to the control's size.
    void FollowSize();
    void FollowCover();
    // See paintEvent: lets the window system confirm it has read the parts just shown.
    void SettleWindowBuffer();
    void Settle(const QRegion& shown);
    // The canvas's bitmap into `region` of the control, pixel for pixel.
    static void CopyImage(QPainter& p, const QImage& image, const QRegion& region);
    // The control's pixels that no other widget of the window covers.
    QRegion Uncovered() const;
    // Shows `damage` straight from the window's buffer if a picture prepared there is the
    // canvas's now, copying first the parts of `damage` it does not hold.
    bool ShowPrepared(const QRegion& damage);
    // PrepareAhead beside the pictures prepared already.
    void PrepareAheadBeside(int slot);
    // The shown picture back into the buffer where a prepared one waits, except in `except`.
    void RestorePrepared(const QRegion& except = {});
    // Whether a picture may wait in the window's buffer, and the one drawn ahead in `slot` over
    // the canvas's bitmap as it is (null if none, or of another size).
    bool CanPrepare() const;
    const QImage* AheadPicture(int slot, QRegion* changed) const;
    // The window's exposes restore the buffer first.
    void Guard();
    // The pictures prepared in parts that `painted` covers are shown from the buffer no more.
    void ForgetPreparedUnder(const QRegion& painted);
    // Paints `parts` (control pixels) of the window's buffer, without showing them.
    void PaintIntoBuffer(const QRegion& parts, const std::function<void(QPainter&)>& paint);
    // Whether `p` paints into the window's buffer as it was when the canvas's picture was put
    // into the parts inBuffer_ names (not into a grab, nor a buffer made anew since).
    bool PaintsIntoHeldBuffer(QPainter& p) const;
    // The window's buffer as an image (null on a platform whose buffer is not one), and whether
    // it is the one inBuffer_ was noted in.
    const QImage* BufferImage() const;
    bool HoldsBuffer(const QImage& buffer) const;

    Canvas canvas_;
    bool fixedBitmap_ = false;
    double deviceScale_ = 1.0;
    QImage picture_;
    QRegion unsettled_;  // painted from the canvas, in control pixels, not yet confirmed read
    // Where the window's buffer does not hold the shown picture (control pixels): the parts of
    // the pictures prepared there, each with its bitmap, and parts to restore.
    struct Preparation {
        QRegion parts;
        qint64 key = 0;
    };
    QRegion prepared_;
    std::vector<Preparation> preparations_;
    bool preparedWithWindow_ = false;
    // Where the window's buffer holds the canvas's picture already, to be shown by the next
    // repaint (SetPreparedShownWithWindow), and that buffer's pixels then.
    QRegion inBuffer_;
    const uchar* inBufferBits_ = nullptr;
    QSize inBufferSize_;
    QPointer<QWindow> guarded_;  // the window whose exposes first restore the buffer
};
