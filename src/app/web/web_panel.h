#pragma once
// The web server on the console's maintenance panel: the mirror's address as text, the remote's
// address (with its token) as a QR code for the chairman's phone, and the number of viewers.

#include <QObject>

class QLabel;
class QWidget;
class WebServer;

class WebPanel : public QObject {
    Q_OBJECT
  public:
    // Places its labels on panel (the maintenance panel): the code right of the offsets, the text
    // below them, left of "Back".
    WebPanel(QWidget* panel, WebServer& server);

  private:
    void ShowViewers(int count);

    WebServer& server_;
    QLabel* text_;
};
