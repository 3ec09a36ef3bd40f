#pragma once
// The limits of the web server, kept apart from the network classes so that whoever starts the
// server needs none of them.

#include <QtGlobal>

// The close code of a viewer refused for the limit: "try again later" in the range of codes
// left to applications (the toolkit does not pass the registered 1013).
inline constexpr int kCloseFull = 4013;

struct RequestLimits {
    int headerBytes = 16 * 1024;
    qint64 bodyBytes = 4 * 1024;
    int targetBytes = 2048;
    int headerTimeoutMs = 10'000;  // a started request must be complete by then (408)
    int idleTimeoutMs = 120'000;   // a connection without a request is closed after this
};

struct WebLimits {
    int maxViewers = 1000;
    // Commands the remote may give: a burst of this many, then this many per second.
    int commandBurst = 5;
    double commandsPerSecond = 5.0;
    RequestLimits requests;
};
