#pragma once
// The audience window on the venue screen: which screen that is, the window covering it at the
// picture's scale, the warning when there is none, following screens that come and go; and what
// the console says the venue sees: the on-air line and the marked view label.

#include <QColor>
#include <QObject>
#include <QString>
#include <array>

#include "app/console/app_start.h"
#include "core/competition/competition_state.h"
#include "core/competition/state_notifier.h"

class LabelLooks;
class QLabel;
class ScrForm;

struct VenueControls {
    QLabel* OnAirLabel;  // beside the version line
    // The view labels of the command row.
    QLabel* Label74;  // Title
    QLabel* Label75;  // Clean
    QLabel* Label76;  // Judge
    QLabel* Label77;  // Msg
    QLabel* Label78;  // Heat
    QLabel* Label79;  // Final
};

class VenueController : public QObject {
    Q_OBJECT
  public:
    // redrawAudience draws every audience surface again (after the picture's scale changed).
    VenueController(const StartOptions& options, const VenueControls& controls,
                    const Competition& state, const StateNotifier& notifier,
                    std::function<void()> redrawAudience, QObject* parent);

    void SetAudience(ScrForm* audience) { audience_ = audience; }
    int PrimaryScreenWidth() const;
    // The designed left for the screens of now; the offsets count from the value this returned
    // at start, so screens plugged in later do not shift the picture.
    int DesignedScreenLeft();
    // Puts the audience window where the configuration's left and top say.
    void Place();
    // Before the start-up draws: the audience window takes the venue screen's size, so every
    // surface is drawn once, at the scale the hall sees, and the window stays hidden until
    // ShowAfterStartUp (it is then painted once, with the start-up's last picture).
    void PrepareStartUp();
    void ShowAfterStartUp();
    bool StartingUp() const { return startingUp_; }
    bool HasVenueScreen() const { return hasScreen_; }
    // Paints ahead the on-air line as it will read once `next`'s view is drawn.
    void PaintAhead(const Competition& next, LabelLooks& looks) const;

  private:
    struct OnAirLine {
        QString text;
        QColor background;
        QColor textColour;
    };
    OnAirLine LineOf(const QString& venueView, const QString& previewView, bool held) const;
    void StateChanged(StateChanges what);
    void HighlightViewLabel(QLabel* label);
    // On stderr: the screen named by --screen is not there, and which screens are.
    void ReportMissingScreen(const std::vector<ScreenInfo>& screens) const;
    void Refresh();

    bool venueDisplay_;
    std::optional<QString> screenName_;
    ScreenList screens_;
    VenueControls c_;
    const Competition& s_;
    std::function<void()> redrawAudience_;
    ScrForm* audience_ = nullptr;
    bool hasScreen_ = true;
    bool reportedMissing_ = false;
    int designedLeft_ = 0;
    bool designedLeftSet_ = false;
    QString venueView_;
    QString previewView_;
    bool held_ = false;
    bool startingUp_ = false;
};
