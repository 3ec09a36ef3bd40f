#include "app/console/announcements_controller.h"

#include <QLineEdit>

#include "app/widgets/picture_button.h"
#include "core/display/message_screen.h"
#include "core/platform/cp932.h"

AnnouncementsController::AnnouncementsController(const AnnouncementControls& controls,
                                                 OperatorCommands& commands, QObject* parent)
    : QObject(parent), c_(controls), commands_(commands) {
    for (int kind = 0; kind < static_cast<int>(c_.kindButtons.size()); ++kind) {
        connect(c_.kindButtons[kind], &QPushButton::clicked, this,
                [this, kind] { KindButtonClick(kind); });
    }
    connect(c_.BitBtn11, &QPushButton::clicked, this, &AnnouncementsController::BitBtn11Click);
}

void AnnouncementsController::KindButtonClick(int kind) { commands_.Announce(kind, {}); }

void AnnouncementsController::BitBtn11Click() {
    commands_.Announce(kMessageFree, ToCp932(c_.Edit14->text()));
}
