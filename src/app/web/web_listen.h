#pragma once
// The address the web server listens on, as the command line gives it.

#include <QString>
#include <optional>

// Where the web server listens: an IP address (empty: every interface) and a port (0: any free
// one).
struct WebListen {
    QString address;
    int port = 0;
};

// "[ADDRESS:]PORT", ADDRESS an IPv4 address or an IPv6 address in brackets; nothing when the text
// is not of that form.
std::optional<WebListen> ParseWebListen(const QString& text);

// An address of this computer only: 127.x.x.x, ::1 or "localhost" (empty, every interface, is
// not).
bool IsLoopbackHost(const QString& host);
