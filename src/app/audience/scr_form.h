#pragma once
// The audience window: the top band with logo, clock box and title banner, and the normal and
// wide drawing surfaces.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class Canvas;
namespace Ui {
class ScrForm;
}

// One piece of the audience picture, in design units of the 1024 x 768 picture: a panel's
// background (fill) or an image control's bitmap (image, drawn into rect), cut to clip.
struct PictureLayer {
    QRect rect;
    QRect clip;
    QColor fill;
    QImage image;
};

class ScrForm : public QWidget {
    Q_OBJECT
  public:
    explicit ScrForm(const std::string& programFolder, QWidget* parent = nullptr);
    ~ScrForm() override;

    Ui::ScrForm& form() { return *ui; }
    // The logo shown at the top left: _GRF.bmp of the program folder, else the built-in one.
    const QImage& Logo() const { return logo_; }
    bool HasLogoFile() const { return hasLogoFile_; }

    Canvas& NormalSurface();
    Canvas& WideSurface();
    Canvas& BannerSurface();
    Canvas& ClockSurface();

    // The wide surface covers the whole window; otherwise the band and the normal surface show.
    void ShowWide(bool wide);
    void RefreshSurfaces();
    // The surfaces on show put the picture kept in their canvases' `slot` into the window's
    // buffer (ImageControl::PrepareAhead), alone or beside the one waiting there.
    void PrepareAhead(int slot, bool beside = false);
    // Clock mode: the clock box instead of the logo.
    void ShowClock(bool shown);

    // Covers a venue screen of this geometry: the window fills it, the 1024 x 768 picture at the
    // largest size that keeps its shape, centred on black. True when the picture's scale or
    // place changed: every surface is then blank and must be drawn again.
    bool CoverScreen(const QRect& screen);
    double PictureScale() const { return scale_; }

    // The audience picture as the venue sees it, 1024 x 768, whatever the venue screen's size.
    QImage Picture();
    // The same picture as layers: cheap to take (the bitmaps are shared, not copied), so the
    // composing can run on another thread.
    std::vector<PictureLayer> PictureLayers();
    // Composes layers into the 1024 x 768 picture; safe on any thread.
    static QImage ComposePicture(const std::vector<PictureLayer>& layers);

  signals:
    // Something on the audience screen may look different: a surface was drawn again, or the
    // panels shown changed.
    void pictureChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CollectLayers(QWidget* parent, QPoint origin, const QRect& clip,
                       std::vector<PictureLayer>& out);
    QRect DesignedGeometry(const QWidget* w) const;

    struct DesignedPlace {
        QWidget* widget;
        QRect geometry;
    };

    std::unique_ptr<Ui::ScrForm> ui;
    std::vector<DesignedPlace> designed_;
    double scale_ = 1.0;
    QPoint origin_;
    QImage logo_;
    bool hasLogoFile_ = false;
};
