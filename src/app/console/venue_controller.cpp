#include "app/console/venue_controller.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStringList>
#include <cstdio>

#include "app/audience/scr_form.h"
#include "app/widgets/label_looks.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/operator_guide.h"
#include "core/display/clean_view.h"

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

VenueController::VenueController(const StartOptions& options, const VenueControls& controls,
                                 const Competition& state, const StateNotifier& notifier,
                                 std::function<void()> redrawAudience, QObject* parent)
    : QObject(parent),
      venueDisplay_(options.venueDisplay),
      screenName_(options.venueScreenName),
      screens_(options.screens ? options.screens : ScreenList(SystemScreens)),
      c_(controls),
      s_(state),
      redrawAudience_(std::move(redrawAudience)) {
    connect(&notifier, &StateNotifier::changed, this, &VenueController::StateChanged);
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

void VenueController::StateChanged(StateChanges what) {
    // The on-air line names what the venue sees; while the screen is held that is the frozen
    // picture, and the line names what the preview prepares beside it. The marked view label is
    // the venue's view; the result and the award keep the finalists' label before them, and an
    // announcement keeps the label of the view it covers: the line is the exact word.
    const bool held = s_.HoldScreen == 1;
    if (what.testFlag(StateChange::HoldFlag)) held_ = held;
    QString drawn;
    QLabel* label = nullptr;
    if (what.testFlag(StateChange::View)) {
        const int type = s_.CurrentView;
        drawn = ViewDescription(s_, type);
        QLabel* const labels[] = {c_.Label75, c_.Label74, c_.Label76, c_.Label78,
                                  c_.Label79, nullptr,    nullptr,    c_.Label77};
        label = type >= 0 && type < 8 ? labels[type] : nullptr;
    }
    if (what.testFlag(StateChange::Announcement)) {
        drawn = AnnouncementDescription(s_.AnnouncementKind, s_.AnnouncementText);
    }
    if (!drawn.isEmpty()) {
        held_ = held;
        previewView_ = drawn;
        if (!held_) {
            venueView_ = drawn;
            if (label != nullptr) HighlightViewLabel(label);
        }
    }
    if (what.testFlag(StateChange::ScreenOffsets)) Place();
    Refresh();
}

void VenueController::HighlightViewLabel(QLabel* label) {
    static const QColor kPanel9Background(157, 232, 157);
    for (QLabel* l : {c_.Label74, c_.Label75, c_.Label76, c_.Label77, c_.Label78, c_.Label79}) {
        if (l == label) {
            SetColors(l, QColor(255, 0, 0), Qt::white);
        } else {
            SetColors(l, kPanel9Background, kTeal);
        }
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
    if (!hasScreen_ && screenName_ && !reportedMissing_) ReportMissingScreen(screens);
    reportedMissing_ = !hasScreen_ && screenName_;
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
    if (rescaled && redrawAudience_) redrawAudience_();
    if (!startingUp_) audience_->show();
    Refresh();
}

void VenueController::PrepareStartUp() {
    if (audience_ == nullptr || !venueDisplay_) return;
    startingUp_ = true;
    const std::vector<ScreenInfo> screens = screens_();
    const int venue = ChooseVenueScreen(screens, screenName_);
    if (venue >= 0) audience_->CoverScreen(screens[venue].geometry);
}

void VenueController::ShowAfterStartUp() {
    if (!startingUp_) return;
    startingUp_ = false;
    Place();
    // Showing posts the toolkit's repaint request for the whole window; taken now, before the
    // window system has exposed it, it only marks the window for the expose's one paint, rather
    // than painting it all a second time after that.
    if (audience_->isVisible()) QCoreApplication::sendPostedEvents(audience_, QEvent::UpdateRequest);
}

void VenueController::ReportMissingScreen(const std::vector<ScreenInfo>& screens) const {
    QStringList names;
    for (const ScreenInfo& screen : screens) {
        names << QStringLiteral("%1 (%2x%3 at %4,%5%6)")
                     .arg(screen.name)
                     .arg(screen.geometry.width())
                     .arg(screen.geometry.height())
                     .arg(screen.geometry.x())
                     .arg(screen.geometry.y())
                     .arg(screen.primary ? QStringLiteral(", primary") : QString());
    }
    std::fprintf(stderr,
                 "trqdisplay: --screen %s: no screen of that name; the screens now: %s. The "
                 "audience picture goes there when it appears (trqdisplay --list-screens).\n",
                 screenName_->toLocal8Bit().constData(),
                 names.isEmpty() ? "none" : names.join(QStringLiteral(", ")).toLocal8Bit().constData());
    std::fflush(stderr);
}

void VenueController::Refresh() {
    if (!hasScreen_) {
        // The preview goes on; the line says which screen the picture waits for.
        c_.OnAirLabel->setText(screenName_ ? QString::fromUtf8("会場画面 %1 を待っています")
                                                 .arg(*screenName_)
                                           : QString::fromUtf8("会場画面なし（2 台目の画面を接続）"));
        c_.OnAirLabel->setToolTip(screenName_ ? QString::fromUtf8("--screen %1 の画面がありません。"
                                                                  "つながると、そこに表示します")
                                                    .arg(*screenName_)
                                              : QString::fromUtf8("会場用の 2 台目の画面がありません。"
                                                                  "つながると、そこに表示します"));
        SetColors(c_.OnAirLabel, QColor(255, 0, 0), Qt::white);
        return;
    }
    const OnAirLine line = LineOf(venueView_, previewView_, held_);
    c_.OnAirLabel->setText(line.text);
    c_.OnAirLabel->setToolTip(
        held_ ? QString::fromUtf8("画面ホールド中。会場: %1（そのまま）\n準備中（プレビュー）: %2\n"
                                  "Hold Scrn をもう一度押すと、準備した画面を会場に出します")
                    .arg(venueView_, previewView_)
              : QString::fromUtf8("会場の画面に今出ているもの: %1").arg(venueView_));
    SetColors(c_.OnAirLabel, line.background, line.textColour);
}

VenueController::OnAirLine VenueController::LineOf(const QString& venueView,
                                                   const QString& previewView, bool held) const {
    QString text = QString::fromUtf8(" 会場: ") + venueView;
    if (held) text += QString::fromUtf8("／準備: ") + previewView;
    return {text, held ? QColor(255, 255, 0) : QColor(0, 0, 128), held ? Qt::black : Qt::white};
}

void VenueController::PaintAhead(const Competition& next, LabelLooks& looks) const {
    if (!hasScreen_) return;
    // As StateChanged takes the view's drawing.
    const QString drawn = ViewDescription(next, next.CurrentView);
    if (drawn.isEmpty()) return;
    const bool held = next.HoldScreen == 1;
    const OnAirLine line = LineOf(held ? venueView_ : drawn, drawn, held);
    looks.Prepare(c_.OnAirLabel, line.text, line.background, line.textColour);
}
