#pragma once
// The audience window: the top band with logo, clock box and title banner, and the normal and
// wide drawing surfaces.

#include <QImage>
#include <QWidget>
#include <memory>
#include <string>

class Canvas;
namespace Ui {
class ScrForm;
}

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
    // Clock mode: the clock box instead of the logo.
    void ShowClock(bool shown);

  private:
    std::unique_ptr<Ui::ScrForm> ui;
    QImage logo_;
    bool hasLogoFile_ = false;
};
