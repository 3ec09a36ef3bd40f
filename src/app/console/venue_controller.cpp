#include "app/console/venue_controller.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/audience/scr_form.h"
#include "app/widgets/widget_colors.h"

namespace {

void WatchSystemScreens(QObject* context, const std::function<void()>& changed) {
    const auto watch = [context, changed](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, changed);
    };
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
    auto* app = qGuiApp;
    QObject::connect(app, &QGuiApplication::screenAdded, context, [watch, changed](QScreen* s) {
        watch(s);
        changed();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, context, changed);
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, context, changed);
}

}  // namespace

VenueController::VenueController(const StartOptions& options, const Competition& state,
                                 QLabel* onAirLabel, std::function<void()> redrawAudience,
                                 QObject* parent)
    : QObject(parent),
      venueDisplay_(options.venueDisplay),
      screenName_(options.venueScreenName),
      screens_(options.screens ? options.screens : ScreenList(SystemScreens)),
      s_(state),
      onAir_(onAirLabel),
      redrawAudience_(std::move(redrawAudience)) {
    if (!venueDisplay_) return;
    // Screens plugged in or out while running: the picture follows, nothing restarts. The call
    // is queued, so the windowing system has settled the new screen list when it runs.
    const auto changed = [this] {
        QMetaObject::invokeMethod(this, &VenueController::Place, Qt::QueuedConnection);
    };
    if (options.watchScreens) {
        options.watchScreens(changed);
    } else {
        WatchSystemScreens(this, changed);
    }
}

int VenueController::PrimaryScreenWidth() const {
    for (const ScreenInfo& screen : screens_()) {
        if (screen.primary) return screen.geometry.width();
    }
    return 1024;
}

int VenueController::DesignedScreenLeft() {
    designedLeft_ = DesignedLeft(PrimaryScreenWidth());
    designedLeftSet_ = true;
    return designedLeft_;
}

void VenueController::Place() {
    if (audience_ == nullptr) return;
    if (!venueDisplay_) {
        audience_->move(s_.Config.ScreenLeft, s_.Config.ScreenTop);
        return;
    }
    const std::vector<ScreenInfo> screens = screens_();
    const int venue = ChooseVenueScreen(screens, screenName_);
    hasScreen_ = venue >= 0;
    if (!hasScreen_) {
        // Nowhere to show it: the preview goes on, and the console says so.
        audience_->hide();
        Refresh();
        return;
    }
    // The designed offsets put the picture exactly on the venue screen; a nudge moves it by the
    // difference (in wide arithmetic: the offsets are the operator's to type).
    if (!designedLeftSet_) DesignedScreenLeft();
    const long long dx = static_cast<long long>(s_.Config.ScreenLeft) - designedLeft_;
    const long long dy = static_cast<long long>(s_.Config.ScreenTop) - kDesignedTop;
    const auto clampOffset = [](long long v) {
        return static_cast<int>(std::clamp(v, -10000LL, 10000LL));
    };
    const QRect target = screens[venue].geometry.translated(clampOffset(dx), clampOffset(dy));
    const bool rescaled = audience_->CoverScreen(target);
    audience_->show();
    if (rescaled && redrawAudience_) redrawAudience_();
    Refresh();
}

void VenueController::ShowOnAir(const QString& venueView, const QString& previewView, bool held) {
    venueView_ = venueView;
    previewView_ = previewView;
    held_ = held;
    Refresh();
}

void VenueController::Refresh() {
    if (onAir_ == nullptr) return;
    if (!hasScreen_) {
        onAir_->setText(QString::fromUtf8("会場画面なし"));
        SetColors(onAir_, QColor(255, 0, 0), Qt::white);
        return;
    }
    QString text = QString::fromUtf8(" 会場: ") + venueView_;
    if (held_) text += QString::fromUtf8("／準備: ") + previewView_;
    onAir_->setText(text);
    SetColors(onAir_, held_ ? QColor(255, 255, 0) : QColor(0, 0, 128),
              held_ ? Qt::black : Qt::white);
}
