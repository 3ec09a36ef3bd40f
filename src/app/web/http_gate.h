#pragma once
// The listening socket of the web server: every connection gets a RequestGuard before the HTTP
// server sees it. Open connections are counted until their sockets go, however they end (a
// WebSocket's too): past a limit in all, or from one address, a new one is answered "busy" and
// closed, so that neither a crowd nor one client can use up the program's file handles.

#include <QHash>
#include <QString>
#include <QTcpServer>
#include <memory>

#include "app/web/web_limits.h"

class WebSocketLink;

class HttpGate : public QTcpServer {
    Q_OBJECT
  public:
    HttpGate(const WebLimits& limits, int maxConnections, QObject* parent = nullptr);

  signals:
    // A viewer's WebSocket opened.
    void webSocketOpened(WebSocketLink* link);

  protected:
    void incomingConnection(qintptr socketDescriptor) override;

  private:
    // Shared with every connection's ticket, which gives its place back when its socket goes,
    // even after the gate.
    struct Counts {
        int open = 0;
        QHash<QString, int> perAddress;
    };

    WebLimits limits_;
    int maxConnections_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};
