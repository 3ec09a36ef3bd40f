#pragma once
// The announcement buttons of the console: break, lunch, ceremony, wait, goodbye, check, dance
// time, award ceremony, and "Say !" with the free message typed in Edit14.

#include <QObject>
#include <array>

#include "app/console/operator_commands.h"

class PictureButton;
class QLineEdit;

struct AnnouncementControls {
    // BitBtn6 Break, BitBtn7 Lunch, BitBtn8 Event, BitBtn9 Wait, BitBtn10 Bye, BitBtn12 Check,
    // BitBtn20 D.Time, BitBtn17 Title: kinds 0 to 7 in this order.
    std::array<PictureButton*, 8> kindButtons;
    PictureButton* BitBtn11;  // Say !
    QLineEdit* Edit14;        // the free message
};

class AnnouncementsController : public QObject {
    Q_OBJECT
  public:
    AnnouncementsController(const AnnouncementControls& controls, OperatorCommands& commands,
                            QObject* parent);

    void KindButtonClick(int kind);
    void BitBtn11Click();

  private:
    AnnouncementControls c_;
    OperatorCommands& commands_;
};
