#include "app/web/web_listen.h"

#include <QHostAddress>
#include <algorithm>

std::optional<WebListen> ParseWebListen(const QString& text) {
    WebListen listen;
    QString port = text;
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon >= 0) {
        QString address = text.left(colon);
        port = text.mid(colon + 1);
        const bool bracketed = address.startsWith(u'[') && address.endsWith(u']');
        if (bracketed) address = address.mid(1, address.size() - 2);
        const QHostAddress parsed(address);
        // An IPv6 address has colons of its own: it is written in brackets.
        if (parsed.isNull() || (parsed.protocol() == QAbstractSocket::IPv6Protocol) != bracketed) {
            return std::nullopt;
        }
        listen.address = parsed.toString();
    }
    bool ok = false;
    listen.port = port.toInt(&ok);
    const bool digitsOnly =
        !port.isEmpty() && port.size() <= 5 &&
        std::all_of(port.begin(), port.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digitsOnly || listen.port > 65535) return std::nullopt;
    return listen;
}

bool IsLoopbackHost(const QString& host) {
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}
