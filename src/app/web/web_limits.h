#pragma once
// The limits of the web server, kept apart from the network classes so that whoever starts the
// server needs none of them. Tests shorten the times.

#include <QtGlobal>

// The close code of a viewer refused for the limit: "try again later" in the range of codes
// left to applications; the pages try again after a longer pause.
inline constexpr int kCloseFull = 4013;

struct RequestLimits {
    int headerBytes = 16 * 1024;
    qint64 bodyBytes = 4 * 1024;
    int targetBytes = 2048;
    // A request's head and body must have arrived this long after its first byte, however the
    // bytes trickle in (408).
    int requestTimeoutMs = 10'000;
    // A connection without a request is closed this long after the last one ended (or it opened).
    int idleTimeoutMs = 120'000;
};

// A viewer's WebSocket, once open.
struct WebSocketLimits {
    // The largest frame and message a viewer may send; viewers send nothing the server reads.
    int incomingBytes = 1024;
    // Pings answered: a burst of this many, then this many per second; the others get no pong.
    int pongBurst = 4;
    double pongsPerSecond = 2.0;
    // Past this many bytes queued for a viewer (what it was sent and has not taken, with the
    // control frames) the connection is closed. A viewer is sent one message at a time, so this
    // only holds back a client that makes the server answer without reading.
    qint64 unsentBytes = 8 * 1024 * 1024;
    // A viewer that has not taken a single message in this time has stopped reading.
    int stuckMs = 60'000;
};

struct WebLimits {
    int maxViewers = 1000;
    // Open connections from one address (a phone's page and its live feed need two or three).
    int connectionsPerAddress = 64;
    // Commands the remote may give: a burst of this many, then this many per second.
    int commandBurst = 5;
    double commandsPerSecond = 5.0;
    // Couples' next heats the console works out (answers already known cost nothing): a burst of
    // this many, then this many per second.
    int nextHeatBurst = 40;
    double nextHeatsPerSecond = 40.0;
    RequestLimits requests;
    WebSocketLimits webSockets;
};
