// The floor of the start-up measurement (venue_bench): a Qt program of a few lines that shows one
// black window over the venue screen, the second one. What any Qt program pays to show a picture.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setStyleSheet(QStringLiteral("background: black"));
    const QList<QScreen*> screens = QGuiApplication::screens();
    window.setGeometry(screens.value(screens.size() > 1 ? 1 : 0)->geometry());
    window.show();
    return QApplication::exec();
}
