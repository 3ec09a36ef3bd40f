#pragma once
// A picture as PNG bytes, made for speed: the screens are flat colours and text, for which
// zlib's fastest level is hardly larger than its best and takes a third of the time, and three
// bytes a pixel are less to compress than four.

#include <QByteArray>
#include <QImage>

QByteArray PngBytes(const QImage& picture);

// A small part of a picture, sent to many, as small PNG bytes made fast: its rows unfiltered
// (a flat colour's runs stay runs for zlib, where the usual filters break them into
// differences), a palette when the part has 256 colours or fewer (one byte a pixel), zlib's
// default level. Smaller than zlib's best level with the usual filters, in a seventh of its
// time. Empty bytes for an empty picture.
QByteArray CompactPngBytes(const QImage& picture);
