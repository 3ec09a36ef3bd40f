#pragma once
// The listening socket of the web server: every connection gets a RequestGuard before the HTTP
// server sees it, and past a limit of open connections a new one is answered "busy" and closed,
// so that a crowd cannot use up the program's file handles.

#include <QTcpServer>

#include "app/web/request_guard.h"

class HttpGate : public QTcpServer {
    Q_OBJECT
  public:
    HttpGate(const RequestLimits& limits, int maxConnections, QObject* parent = nullptr);

  protected:
    void incomingConnection(qintptr socketDescriptor) override;

  private:
    RequestLimits limits_;
    int maxConnections_;
    int open_ = 0;
};
