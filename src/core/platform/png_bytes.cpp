#include "core/platform/png_bytes.h"

#include <QBuffer>
#include <QHash>
#include <QImageWriter>

#include <array>

namespace {

QByteArray Encode(const QImage& picture, int quality) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(quality);
    writer.write(picture.convertToFormat(QImage::Format_RGB888));
    return png;
}

// The CRC of PNG's chunks (ISO 3309, the one of zlib and Ethernet).
quint32 Crc32(const char* data, qsizetype size, quint32 crc = 0) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (qsizetype i = 0; i < size; ++i) {
        crc = table[(crc ^ static_cast<quint8>(data[i])) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void AppendBigEndian(QByteArray& out, quint32 v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char (&type)[5], const QByteArray& data) {
    AppendBigEndian(out, static_cast<quint32>(data.size()));
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    AppendBigEndian(out, Crc32(out.constData() + typeAt, data.size() + 4));
}

// The picture's colours in the order met, when there are 256 or fewer.
bool PaletteOf(const QImage& image, QList<QRgb>& colours, QHash<QRgb, uchar>& index) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb last = 0;
        bool lastKnown = false;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x] | 0xFF000000u;
            if (lastKnown && c == last) continue;
            if (!index.contains(c)) {
                if (colours.size() == 256) return false;
                index.insert(c, static_cast<uchar>(colours.size()));
                colours.append(c);
            }
            last = c;
            lastKnown = true;
        }
    }
    return true;
}

}  // namespace

QByteArray PngBytes(const QImage& picture) { return Encode(picture, 80); }

QByteArray CompactPngBytes(const QImage& picture) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
    const QImage image = picture.format() == QImage::Format_RGB32
                             ? picture
                             : picture.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    QList<QRgb> colours;
    QHash<QRgb, uchar> index;
    const bool palette = PaletteOf(image, colours, index);
    const qsizetype rowBytes = 1 + static_cast<qsizetype>(width) * (palette ? 1 : 3);

    // The rows, each behind its filter byte, 0: none.
    QByteArray rows(rowBytes * height, Qt::Uninitialized);
    char* out = rows.data();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        *out++ = 0;
        if (palette) {
            QRgb last = row[0] | 0xFF000000u;
            uchar at = index.value(last);
            for (int x = 0; x < width; ++x) {
                const QRgb c = row[x] | 0xFF000000u;
                if (c != last) {
                    last = c;
                    at = index.value(c);
                }
                *out++ = static_cast<char>(at);
            }
        } else {
            for (int x = 0; x < width; ++x) {
                *out++ = static_cast<char>(qRed(row[x]));
                *out++ = static_cast<char>(qGreen(row[x]));
                *out++ = static_cast<char>(qBlue(row[x]));
            }
        }
    }

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendBigEndian(header, static_cast<quint32>(width));
    AppendBigEndian(header, static_cast<quint32>(height));
    // Eight bits, palette (3) or true colour (2), deflate, adaptive filtering, no interlace.
    const char rest[5] = {8, static_cast<char>(palette ? 3 : 2), 0, 0, 0};
    header.append(rest, 5);
    AppendChunk(png, "IHDR", header);
    if (palette) {
        QByteArray table;
        table.reserve(colours.size() * 3);
        for (const QRgb c : std::as_const(colours)) {
            table.append(static_cast<char>(qRed(c)));
            table.append(static_cast<char>(qGreen(c)));
            table.append(static_cast<char>(qBlue(c)));
        }
        AppendChunk(png, "PLTE", table);
    }
    // qCompress gives a zlib stream behind four bytes of the length: the stream is PNG's data.
    AppendChunk(png, "IDAT", qCompress(rows, 6).sliced(4));
    AppendChunk(png, "IEND", {});
    return png;
}
