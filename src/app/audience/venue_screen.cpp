#include "app/audience/venue_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

std::vector<ScreenInfo> SystemScreens() {
    std::vector<ScreenInfo> out;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        out.push_back({screen->name(), screen->geometry(), screen == primary});
    }
    return out;
}

int ChooseVenueScreen(const std::vector<ScreenInfo>& screens, const std::optional<QString>& name) {
    const int count = static_cast<int>(screens.size());
    if (name) {
        for (int i = 0; i < count; ++i) {
            if (screens[i].name == *name) return i;
        }
        return -1;
    }
    const auto primary = std::find_if(screens.begin(), screens.end(),
                                      [](const ScreenInfo& s) { return s.primary; });
    if (primary != screens.end()) {
        const QRect& p = primary->geometry;
        for (int i = 0; i < count; ++i) {
            const QRect& g = screens[i].geometry;
            const bool overlapsVertically = g.top() <= p.bottom() && g.bottom() >= p.top();
            if (!screens[i].primary && g.left() == p.right() + 1 && overlapsVertically) return i;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (!screens[i].primary) return i;
    }
    return -1;
}

QRect PictureRectOn(const QSize& screen) {
    // Whole pixels: the wider of the two fits decides, the other side gets the bars.
    int width = screen.width();
    int height = width * 3 / 4;
    if (height > screen.height()) {
        height = screen.height();
        width = height * 4 / 3;
    }
    return QRect((screen.width() - width) / 2, (screen.height() - height) / 2, width, height);
}

int DesignedLeft(int primaryWidth) { return primaryWidth - 4; }
