#pragma once
// Which screen is the venue display and where the audience picture goes on it. The designed
// placement (left = primary screen width - 4, top = -30) put the picture of a framed window on the
// display right of the primary one; here the window has no frame, so the same values mean "exactly
// on the venue screen" and a changed value moves the picture by the difference.

#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct ScreenInfo {
    QString name;
    QRect geometry;
    bool primary = false;
};

using ScreenList = std::function<std::vector<ScreenInfo>()>;

// The screens the windowing system has now.
std::vector<ScreenInfo> SystemScreens();

// The venue screen: the one of the given name when there is one; else the screen whose left edge
// touches the primary screen's right edge; else the first screen that is not the primary. -1 when
// there is none (a single screen, or a name no screen has).
int ChooseVenueScreen(const std::vector<ScreenInfo>& screens, const std::optional<QString>& name);

// The 1024 x 768 picture at the largest scale that keeps its shape on a screen of this size,
// centred (black bars on the sides or above and below): its rectangle relative to the screen's
// top-left corner.
QRect PictureRectOn(const QSize& screen);

// The designed left and top of the audience window for a primary screen of this width: at these
// values the picture sits exactly on the venue screen.
int DesignedLeft(int primaryWidth);
inline constexpr int kDesignedTop = -30;
