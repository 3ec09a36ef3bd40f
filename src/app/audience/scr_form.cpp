#include "app/audience/scr_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <utility>

#include "app/audience/venue_screen.h"
#include "app/widgets/image_control.h"
#include "app/widgets/widget_colors.h"
#include "core/data/data_file_names.h"
#include "core/platform/data_file.h"
#include "ui_scr_form.h"

ScrForm::ScrForm(const std::string& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ui(std::make_unique<Ui::ScrForm>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("ScrForm"));
    setWindowTitle(QString());
    for (ImageControl* image : findChildren<ImageControl*>()) {
        image->SetCanvasName(QStringLiteral("ScrForm.") + image->objectName());
    }
    ui->PanelW->hide();
    ui->PanelW->move(0, 0);
    ui->ImageW->move(0, 0);
    ui->Image9->move(0, 0);
    ui->Panel5->move(0, 170);
    ui->Image3->move(150, 0);
    ui->Panel2->move(8, 3);
    SetColors(ui->Panel1, Qt::black, Qt::white);
    SetColors(this, Qt::black, Qt::white);
    for (QWidget* w : findChildren<QWidget*>()) designed_.push_back({w, w->geometry()});

    // The logo file of the program folder, else the built-in emblem: the hall sees what the
    // console's preview shows, never an empty box.
    logo_ = ImageControl::BuiltInLogo();
    const std::string path = programFolder + kPathSeparator + kLogoFileName;
    QImage file;
    if (IsRegularFile(path) && file.load(DecodePath(path))) {
        logo_ = file;
        hasLogoFile_ = true;
    }
    ui->Panel2->hide();
    ui->Image1->show();
    ui->Image1->SetPicture(logo_);
}

ScrForm::~ScrForm() = default;

void ScrForm::closeEvent(QCloseEvent* event) {
    // The venue must never go black by a stray close request; the console ends the program.
    event->ignore();
}

bool ScrForm::CoverScreen(const QRect& screen) {
    setGeometry(screen);
    const QRect picture = PictureRectOn(screen.size());
    const double scale = picture.width() / 1024.0;
    if (scale == scale_ && picture.topLeft() == origin_) return false;
    scale_ = scale;
    origin_ = picture.topLeft();
    const auto scaled = [scale](int v) { return qRound(v * scale); };
    for (const DesignedPlace& d : designed_) {
        const QRect& g = d.geometry;
        QRect r(scaled(g.x()), scaled(g.y()), scaled(g.width()), scaled(g.height()));
        if (d.widget->parentWidget() == this) r.translate(origin_);
        d.widget->setGeometry(r);
        if (auto* image = qobject_cast<ImageControl*>(d.widget)) image->SetDeviceScale(scale);
    }
    return true;
}

Canvas& ScrForm::NormalSurface() { return ui->Image9->canvas(); }
Canvas& ScrForm::WideSurface() { return ui->ImageW->canvas(); }
Canvas& ScrForm::BannerSurface() { return ui->Image3->canvas(); }
Canvas& ScrForm::ClockSurface() { return ui->Image2->canvas(); }

void ScrForm::ShowWide(bool wide) {
    // Shown or hidden only on a change: each change repaints the window's panels.
    for (auto [panel, shown] : {std::pair(ui->PanelW, wide), std::pair(ui->Panel5, !wide),
                                std::pair(ui->Panel1, !wide)}) {
        if (panel->isHidden() == shown) panel->setVisible(shown);
    }
    // Raising the panel that is on top already changes nothing.
    if (wide) ui->PanelW->raise();
}

void ScrForm::RefreshSurfaces() {
    for (ImageControl* surface : {ui->Image9, ui->ImageW, ui->Image3, ui->Image2}) {
        surface->UpdateIfDrawn();
    }
    // The hall's new picture goes to the window system now, ahead of the console's repaint that
    // the same command causes (labels, lists, the preview): the window system takes it in while
    // the console is painted, and the hall sees it that much sooner. Only a repaint already
    // asked for is delivered; none is asked for here. A panel just shown asks for its repaint in
    // an event of its own: that comes first, or the panel would be painted twice.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    emit pictureChanged();
}

void ScrForm::PrepareAhead(int slot, bool beside) {
    for (ImageControl* surface : {ui->Image9, ui->ImageW}) surface->PrepareAhead(slot, beside);
}

void ScrForm::ShowClock(bool shown) {
    ui->Image1->setVisible(!shown);
    ui->Panel2->setVisible(shown);
    emit pictureChanged();
}

QRect ScrForm::DesignedGeometry(const QWidget* w) const {
    for (const DesignedPlace& d : designed_) {
        if (d.widget == w) return d.geometry;
    }
    return w->geometry();
}

void ScrForm::CollectLayers(QWidget* parent, QPoint origin, const QRect& clip,
                            std::vector<PictureLayer>& out) {
    // Children in stacking order, each drawn over the ones before it.
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || w->isHidden()) continue;
        const QRect rect = DesignedGeometry(w).translated(origin);
        const QRect shown = clip & rect;
        if (shown.isEmpty()) continue;
        if (w->autoFillBackground()) out.push_back({rect, shown, BackgroundOf(w), {}});
        if (auto* image = qobject_cast<ImageControl*>(w)) {
            if (image->ShowsPicture()) {
                // The logo is the one picture this window shows, stretched over its control.
                out.push_back({rect, shown, {}, logo_});
            } else {
                const Canvas& canvas = image->canvas();
                const QRect bitmap(rect.topLeft(), QSize(canvas.Width(), canvas.Height()));
                out.push_back({bitmap, shown, {}, canvas.Image()});
            }
        }
        CollectLayers(w, rect.topLeft(), shown, out);
    }
}

std::vector<PictureLayer> ScrForm::PictureLayers() {
    std::vector<PictureLayer> layers;
    CollectLayers(this, QPoint(0, 0), QRect(0, 0, 1024, 768), layers);
    return layers;
}

QImage ScrForm::ComposePicture(const std::vector<PictureLayer>& layers) {
    QImage picture(1024, 768, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    // A venue screen larger than the design draws its bitmaps finer: they are scaled down.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PictureLayer& layer : layers) {
        p.setClipRect(layer.clip);
        if (layer.image.isNull()) {
            p.fillRect(layer.rect, layer.fill);
        } else {
            p.drawImage(QRectF(layer.rect), layer.image,
                        QRectF(0, 0, layer.image.width(), layer.image.height()));
        }
    }
    return picture;
}

QImage ScrForm::Picture() { return ComposePicture(PictureLayers()); }
