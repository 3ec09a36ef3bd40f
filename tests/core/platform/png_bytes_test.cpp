// The compact PNG encoding of a picture's parts: every picture comes back pixel for pixel, with a
// palette up to 256 colours and in true colour beyond.
#include "core/platform/png_bytes.h"

#include <QPainter>
#include <QtTest>

namespace {

// A picture of `colours` distinct colours (at least one) in `size`, repeated along its rows as
// a screen's runs of flat colour and text are.
QImage WithColours(QSize size, int colours) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int n = (y * size.width() + x) / 3 % colours;
            row[x] = qRgb(n % 7 * 30, n / 7 % 256, 255 - n % 200);
        }
    }
    return image;
}

}  // namespace

class PngBytesTest : public QObject {
    Q_OBJECT
  private slots:
    void comesBackExactly_data() {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<int>("colourType");  // 3: palette, 2: true colour
        QTest::newRow("one pixel") << WithColours({1, 1}, 1) << 3;
        QTest::newRow("odd sizes, few colours") << WithColours({7, 3}, 5) << 3;
        QTest::newRow("256 colours, a palette") << WithColours({64, 16}, 256) << 3;
        QTest::newRow("257 colours, true colour") << WithColours({64, 16}, 257) << 2;
        QImage text(200, 40, QImage::Format_RGB32);
        text.fill(QColor(0, 0, 96));
        {
            QPainter p(&text);
            p.setPen(Qt::yellow);
            p.drawText(text.rect(), Qt::AlignCenter, QStringLiteral(u"123 山田 太郎"));
        }
        QTest::newRow("text on a flat colour") << text << 3;
        QImage wide(300, 40, QImage::Format_RGB32);
        for (int x = 0; x < 300; ++x) {
            for (int y = 0; y < 40; ++y) wide.setPixel(x, y, qRgb(x % 256, y * 6, (x * y) % 256));
        }
        QTest::newRow("many colours") << wide << 2;
        QTest::newRow("another format") << WithColours({9, 4}, 3).convertToFormat(QImage::Format_RGB888)
                                        << 3;
    }
    void comesBackExactly() {
        QFETCH(QImage, picture);
        QFETCH(int, colourType);
        const QByteArray png = CompactPngBytes(picture);
        // The colour type in the header (its signature 8 bytes, the chunk's length and name 8,
        // width and height 8, the bit depth 1).
        QCOMPARE(static_cast<int>(png.at(25)), colourType);
        QImage back;
        QVERIFY(back.loadFromData(png, "PNG"));
        QCOMPARE(back.size(), picture.size());
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
    }

    void emptyPictureIsNoBytes() { QVERIFY(CompactPngBytes(QImage()).isEmpty()); }
};

QTEST_MAIN(PngBytesTest)
#include "png_bytes_test.moc"
