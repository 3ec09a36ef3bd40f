#pragma once
// The audience window on the venue screen: which screen that is, the window covering it at the
// picture's scale, the warning when there is none, following screens that come and go, and the
// console's on-air line saying what the venue sees.

#include <QObject>
#include <QString>

#include "app/console/app_start.h"
#include "core/competition/competition_state.h"

class QLabel;
class ScrForm;

class VenueController : public QObject {
    Q_OBJECT
  public:
    // redrawAudience draws every audience surface again (after the picture's scale changed).
    VenueController(const StartOptions& options, const Competition& state, QLabel* onAirLabel,
                    std::function<void()> redrawAudience, QObject* parent);

    void SetAudience(ScrForm* audience) { audience_ = audience; }
    int PrimaryScreenWidth() const;
    // The designed left for the screens of now; the offsets count from the value this returned
    // at start, so screens plugged in later do not shift the picture.
    int DesignedScreenLeft();
    // Puts the audience window where the configuration's left and top say.
    void Place();
    // What the venue and the preview show now (view names), for the on-air line.
    void ShowOnAir(const QString& venueView, const QString& previewView, bool held);
    bool HasVenueScreen() const { return hasScreen_; }

  private:
    void Refresh();

    bool venueDisplay_;
    std::optional<QString> screenName_;
    ScreenList screens_;
    const Competition& s_;
    QLabel* onAir_;
    std::function<void()> redrawAudience_;
    ScrForm* audience_ = nullptr;
    bool hasScreen_ = true;
    int designedLeft_ = 0;
    bool designedLeftSet_ = false;
    QString venueView_;
    QString previewView_;
    bool held_ = false;
};
