// The floor of the key-to-picture benchmark (venue_bench): the program's two windows at their
// places and sizes, a 1024 x 768 console on the first screen and the audience window covering
// the second (its picture 1024 x 768 scaled to the screen's height, centred), and on every key
// or click nothing but a refill of both windows' pictures and their repaint, whole. What any
// program showing these windows pays at least for a new picture.
// With FLOOR_TENTH=1 in the environment it refills and repaints a tenth of each picture instead:
// what a program pays at least when a tenth of the picture changes.

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <memory>

namespace {

class Picture : public QWidget {
  public:
    Picture(QSize bitmap, QWidget* parent) : QWidget(parent), image_(bitmap, QImage::Format_RGB32) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        Refill();
    }
    void Refill() {
        shade_ = (shade_ + 40) % 256;
        if (tenth_) {
            // A tenth of the picture, a band that moves down on every key.
            band_ = (band_ + 1) % 10;
            const QRect band(0, image_.height() * band_ / 10, image_.width(), image_.height() / 10);
            QPainter(&image_).fillRect(band, QColor(0, shade_, 64));
            update(band);
            return;
        }
        image_.fill(QColor(0, shade_, 64));
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(QRect(QPoint(0, 0), image_.size()), image_);
    }

  private:
    QImage image_;
    int shade_ = 0;
    const bool tenth_ = qEnvironmentVariableIntValue("FLOOR_TENTH") == 1;
    int band_ = 0;
};

class Window : public QWidget {
  public:
    Window(const QRect& geometry, const QRect& picture, Window* other)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), other_(other) {
        setGeometry(geometry);
        QPalette black = palette();
        black.setColor(QPalette::Window, Qt::black);
        setPalette(black);
        setAutoFillBackground(true);
        picture_ = new Picture(picture.size(), this);
        picture_->setGeometry(picture);
    }
    void SetOther(Window* other) { other_ = other; }
    void Refill() { picture_->Refill(); }

  protected:
    void keyPressEvent(QKeyEvent*) override { RefillBoth(); }
    void mousePressEvent(QMouseEvent*) override { RefillBoth(); }

  private:
    void RefillBoth() {
        Refill();
        if (other_ != nullptr) other_->Refill();
    }
    Window* other_ = nullptr;
    Picture* picture_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QRect first = screens.value(0)->geometry();
    const QRect venue =
        screens.size() > 1 ? screens.at(1)->geometry() : QRect(first.right() + 1, 0, 1920, 1080);
    const int height = venue.height();
    const int width = height * 1024 / 768;
    Window console(QRect(first.topLeft(), QSize(1024, 768)), QRect(0, 0, 1024, 768), nullptr);
    Window audience(venue, QRect((venue.width() - width) / 2, 0, width, height), &console);
    console.SetOther(&audience);
    console.show();
    audience.show();
    console.activateWindow();
    return QApplication::exec();
}
