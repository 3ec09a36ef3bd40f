#include "app/web/web_socket_link.h"

#include <QCryptographicHash>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {

enum Opcode {
    kContinuation = 0x0,
    kText = 0x1,
    kBinary = 0x2,
    kClose = 0x8,
    kPing = 0x9,
    kPong = 0xA
};

enum CloseCode { kNormal = 1000, kProtocolError = 1002, kTooBig = 1009 };

// Read from the system at most this much at a time: a flood is handled in pieces.
constexpr qint64 kReadChunk = 64 * 1024;
// A control frame's payload is at most this long.
constexpr qint64 kControlBytes = 125;
// After sending a close frame, the client's answer is waited for this long.
constexpr int kCloseWaitMs = 2000;

QByteArray FrameHeader(int opcode, qint64 length) {
    QByteArray header;
    header.append(char(0x80 | opcode));
    if (length < 126) {
        header.append(char(length));
    } else if (length <= 0xFFFF) {
        header.append(char(126));
        header.append(char(length >> 8));
        header.append(char(length & 0xFF));
    } else {
        header.append(char(127));
        for (int shift = 56; shift >= 0; shift -= 8) header.append(char((length >> shift) & 0xFF));
    }
    return header;
}

}  // namespace

WebSocketLink::WebSocketLink(QTcpSocket* socket, const QByteArray& target,
                             const WebSocketLimits& limits)
    : QObject(socket),
      socket_(socket),
      target_(target),
      limits_(limits),
      pongTokens_(limits.pongBurst) {
    pongClock_.start();
    // The system keeps the rest of a flood until this much is handled.
    socket_->setReadBufferSize(kReadChunk);
    connect(socket_, &QTcpSocket::bytesWritten, this, &WebSocketLink::written);
    connect(socket_, &QTcpSocket::disconnected, this, [this] {
        ended_ = true;
        emit closed();
    });
}

QByteArray WebSocketLink::AcceptKey(const QByteArray& key) {
    return QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                    QCryptographicHash::Sha1)
        .toBase64();
}

qint64 WebSocketLink::BytesToWrite() const { return socket_->bytesToWrite(); }

void WebSocketLink::SendText(const QByteArray& utf8) { Send(kText, utf8); }

void WebSocketLink::SendBinary(const QByteArray& bytes) { Send(kBinary, bytes); }

void WebSocketLink::Send(int opcode, const QByteArray& payload) {
    if (ended_ || (closeSent_ && opcode != kClose)) return;
    socket_->write(FrameHeader(opcode, payload.size()));
    socket_->write(payload);
    // Into the system's buffer at once: the program keeps no copy for a client that reads.
    socket_->flush();
    if (socket_->bytesToWrite() > limits_.unsentBytes) Abort();
}

void WebSocketLink::Close(int code, const QByteArray& reason) {
    if (ended_ || closeSent_) return;
    QByteArray payload;
    payload.append(char((code >> 8) & 0xFF));
    payload.append(char(code & 0xFF));
    payload.append(reason.left(kControlBytes - 2));
    Send(kClose, payload);
    closeSent_ = true;
    QTimer::singleShot(kCloseWaitMs, this, &WebSocketLink::Abort);
}

void WebSocketLink::Abort() {
    ended_ = true;
    socket_->abort();
}

void WebSocketLink::Fail(int code) {
    failed_ = true;
    Close(code, {});
}

void WebSocketLink::ReadAvailable() {
    while (socket_->bytesAvailable() > 0) {
        if (failed_ || ended_) {
            // Nothing more is handled: the bytes are dropped as they come.
            socket_->skip(socket_->bytesAvailable());
            return;
        }
        input_.append(socket_->read(kReadChunk));
        while (!failed_ && !ended_ && NextFrame()) {
        }
        // What is left is the start of one frame, at most a header and the largest payload.
        input_.remove(0, inputPos_);
        inputPos_ = 0;
    }
}

bool WebSocketLink::NextFrame() {
    const auto* p = reinterpret_cast<const unsigned char*>(input_.constData()) + inputPos_;
    const qint64 available = input_.size() - inputPos_;
    if (available < 2) return false;
    const bool fin = (p[0] & 0x80) != 0;
    const int opcode = p[0] & 0x0F;
    // No extension was agreed, so the reserved bits stay clear; a client masks every frame.
    if ((p[0] & 0x70) != 0 || (p[1] & 0x80) == 0) {
        Fail(kProtocolError);
        return false;
    }
    qint64 length = p[1] & 0x7F;
    qint64 header = 2;
    if (length == 126) {
        if (available < 4) return false;
        length = (qint64(p[2]) << 8) | p[3];
        header = 4;
    } else if (length == 127) {
        if (available < 10) return false;
        if ((p[2] & 0x80) != 0) {
            Fail(kProtocolError);
            return false;
        }
        length = 0;
        for (int i = 2; i < 10; ++i) length = (length << 8) | p[i];
        header = 10;
    }
    header += 4;  // the mask

    const bool control = (opcode & 0x8) != 0;
    if (control) {
        if (!fin || length > kControlBytes ||
            (opcode != kClose && opcode != kPing && opcode != kPong)) {
            Fail(kProtocolError);
            return false;
        }
    } else {
        if (opcode != kContinuation && opcode != kText && opcode != kBinary) {
            Fail(kProtocolError);
            return false;
        }
        // A continuation belongs to a started message; a new message waits for the last to end.
        if ((opcode == kContinuation) != inMessage_) {
            Fail(kProtocolError);
            return false;
        }
        if (opcode != kContinuation) messageBytes_ = 0;
        if (length > limits_.incomingBytes || messageBytes_ + length > limits_.incomingBytes) {
            Fail(kTooBig);
            return false;
        }
    }
    if (available < header + length) return false;

    const char* payload = input_.constData() + inputPos_ + header;
    inputPos_ += header + length;
    if (control) {
        Control(opcode, payload, length, p + header - 4);
    } else {
        // Viewers have nothing to tell the server: a message is counted, then dropped.
        messageBytes_ += length;
        inMessage_ = !fin;
    }
    return true;
}

void WebSocketLink::Control(int opcode, const char* masked, qint64 length,
                            const unsigned char* mask) {
    const auto payload = [&] {
        QByteArray bytes(masked, length);
        for (qint64 i = 0; i < length; ++i) bytes[i] = char(bytes[i] ^ mask[i % 4]);
        return bytes;
    };
    switch (opcode) {
        case kPing:
            // Answered only while nothing waits for the client: a client that pings without
            // reading piles up nothing.
            if (socket_->bytesToWrite() == 0 && TakePongToken()) Send(kPong, payload());
            break;
        case kClose: {
            if (length == 1) {
                Fail(kProtocolError);
                break;
            }
            // The client's close answered with its code (a code it may send), then the
            // connection ends.
            const QByteArray bytes = payload();
            int code = length >= 2 ? (static_cast<unsigned char>(bytes[0]) << 8) |
                                         static_cast<unsigned char>(bytes[1])
                                   : kNormal;
            if (code < kNormal || code > 4999 || code == 1005 || code == 1006) code = kNormal;
            if (!closeSent_) Close(code, {});
            ended_ = true;
            socket_->disconnectFromHost();
            break;
        }
        default:
            break;  // a pong
    }
}

bool WebSocketLink::TakePongToken() {
    const double seconds = pongClock_.restart() / 1000.0;
    pongTokens_ =
        std::min<double>(limits_.pongBurst, pongTokens_ + seconds * limits_.pongsPerSecond);
    if (pongTokens_ < 1.0) return false;
    pongTokens_ -= 1.0;
    return true;
}
