#pragma once
// The web server on the console: on the maintenance panel the mirror's address as text, the
// remote's address (with its token) as a QR code for the chairman's phone, and the number of
// viewers; on the main panel, always in sight, the mirror's address with the viewers and its QR
// code for anyone's phone.

#include <QObject>

class QLabel;
class QWidget;
class RelayPublisher;
class WebServer;

class WebPanel : public QObject {
    Q_OBJECT
  public:
    // Places its labels on panel (the maintenance panel): the code right of the offsets, the text
    // below them, left of "Back".
    WebPanel(QWidget* panel, WebServer& server);
    // Both: mainPanel is the console's main panel (Panel8), beside the Ment. and PGM.txt buttons.
    WebPanel(QWidget* panel, QWidget* mainPanel, WebServer& server);

  private:
    void ShowViewers(int count);

    WebServer& server_;
    QLabel* text_;
    QLabel* mainText_ = nullptr;
};

// The relay's line on the main panel (Panel8): "中継: 送信中", or since when the relay is
// unreachable or refuses, in red, and when it is back; the tooltip says what it means. Beside the
// web's address when there is one, else in its place.
QLabel* AddRelayLine(QWidget* mainPanel, RelayPublisher& relay);
