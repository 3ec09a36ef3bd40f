#include "core/platform/changed_tiles.h"

#include <algorithm>
#include <cstring>
#include <vector>

QRegion ChangedTiles(const QImage& frame, const QImage& shown, const QRect& within, QSize tile) {
    const QRect area = within.isNull() ? frame.rect() : within & frame.rect();
    if (frame.size() != shown.size() || frame.format() != shown.format() || frame.depth() != 32) {
        return QRegion(area);
    }
    if (area.isEmpty()) return {};
    const int tileWidth = std::max(tile.width(), 1);
    const int tileHeight = std::max(tile.height(), 1);
    const int firstTile = area.left() / tileWidth;
    const int lastTile = area.right() / tileWidth;
    const int tiles = lastTile - firstTile + 1;
    std::vector<char> dirty(static_cast<std::size_t>(lastTile + 1));
    QRegion changed;
    for (int top = area.top() / tileHeight * tileHeight; top <= area.bottom(); top += tileHeight) {
        const int from = std::max(top, area.top());
        const int to = std::min(top + tileHeight, area.bottom() + 1);  // exclusive
        std::fill(dirty.begin(), dirty.end(), 0);
        // Each pixel is read once at most: a tile found changed is not compared again.
        int found = 0;
        for (int y = from; y < to && found < tiles; ++y) {
            const uchar* now = frame.constScanLine(y);
            const uchar* was = shown.constScanLine(y);
            for (int t = firstTile; t <= lastTile; ++t) {
                if (dirty[t] != 0) continue;
                const int left = std::max(t * tileWidth, area.left());
                const int right = std::min((t + 1) * tileWidth, area.right() + 1);
                const std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
                if (std::memcmp(now + left * 4, was + left * 4, bytes) != 0) {
                    dirty[t] = 1;
                    ++found;
                }
            }
        }
        if (found == 0) continue;
        for (int t = firstTile; t <= lastTile;) {
            if (dirty[t] == 0) {
                ++t;
                continue;
            }
            const int first = t;
            while (t <= lastTile && dirty[t] != 0) ++t;
            const int left = std::max(first * tileWidth, area.left());
            const int right = std::min(t * tileWidth, area.right() + 1);
            changed += QRect(left, from, right - left, to - from);
        }
    }
    return changed;
}

QRegion BridgedGaps(const QRegion& region, int gapArea) {
    if (region.rectCount() < 2) return region;
    // The region's rectangles come in bands from the top, each band's from the left.
    std::vector<QRect> rects(region.begin(), region.end());
    QRegion bridged;
    QRect open = rects.front();
    for (std::size_t i = 1; i < rects.size(); ++i) {
        const QRect& r = rects[i];
        const bool sameBand = r.top() == open.top() && r.height() == open.height();
        const long long gap = static_cast<long long>(r.left() - open.right() - 1) * r.height();
        if (sameBand && r.left() > open.right() && gap <= gapArea) {
            open.setRight(r.right());
            continue;
        }
        bridged += open;
        open = r;
    }
    bridged += open;
    return bridged;
}
