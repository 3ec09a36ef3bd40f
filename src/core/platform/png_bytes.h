#pragma once
// A picture as PNG bytes, made for speed: the screens are flat colours and text, for which
// zlib's fastest level is hardly larger than its best and takes a third of the time, and three
// bytes a pixel are less to compress than four.

#include <QByteArray>
#include <QImage>

QByteArray PngBytes(const QImage& picture);
// The same at zlib's best, for small parts of a picture sent to many.
QByteArray SmallestPngBytes(const QImage& picture);
