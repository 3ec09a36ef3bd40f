#pragma once
// Where two pictures of one size differ, in whole tiles: what a repaint or a viewer needs of a
// new picture.

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

// The parts of `frame` within `within` (all of it when null) that differ from `shown`, as
// rectangles of whole tiles of `tile` pixels counted from the corner, cut to `within`; all of
// `within` when the sizes or formats differ or the pixels are not of 32 bits.
QRegion ChangedTiles(const QImage& frame, const QImage& shown, const QRect& within, QSize tile);

// `region` with the gaps between neighbouring rectangles of one band (the same top and height)
// filled where a gap is at most `gapArea` pixels: fewer rectangles to repaint and send, each of
// which costs the window system as much as a few thousand pixels.
QRegion BridgedGaps(const QRegion& region, int gapArea);
