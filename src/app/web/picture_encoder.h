#pragma once
// Composes and encodes the audience picture on a thread of its own. The console hands over the
// picture's layers (shared bitmaps, no copy); only the newest is worked on, the ones it replaced
// before their turn are dropped. An unchanged picture is not sent again.
//
// Each new picture is a frame (numbered from 1). For the viewers it is sent as a patch: the parts
// that changed since the frame before (tiles of 64 x 16 pixels, merged into rectangles), each a
// PNG of its own. The whole picture as PNG is made when it is asked for: for every frame while
// full pictures are wanted, else for the first frame and on request (a viewer who joins).

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QRegion>
#include <optional>
#include <vector>

#include "app/audience/scr_form.h"

class PictureEncoder : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // From any thread: the picture to send next, replacing one that waits; `whole`: its whole
    // PNG too, even if it is the one sent last.
    void Request(std::vector<PictureLayer> layers, bool whole = false);
    // From any thread: the whole PNG of the newest frame (wholeEncoded).
    void RequestWhole();
    // From any thread: every new picture also as a whole PNG (encoded), or not.
    void SetWholeWanted(bool wanted);

    // A patch's bytes: "TRQP", then per rectangle its x, y, width and height (16 bits each), the
    // length of its PNG (32 bits), all big-endian, and the PNG of the picture's pixels there.
    static QByteArray Patch(const QImage& picture, const QRegion& changed);
    // The patch applied to a picture (false when the bytes are not a patch or there is no
    // picture).
    static bool ApplyPatch(const QByteArray& patch, QImage& picture);

  signals:
    // A new picture, whole, as PNG: the first one, and every one while whole pictures are
    // wanted (then also the one on air when they are asked for).
    void encoded(const QByteArray& png);
    // The whole PNG of frame `frame`.
    void wholeEncoded(quint64 frame, const QByteArray& png);
    // Frame `frame` as a patch over frame `frame - 1`.
    void patchEncoded(quint64 frame, const QByteArray& patch);

  private:
    void EncodeNewest();
    void EncodeWhole();

    QMutex mutex_;
    std::optional<std::vector<PictureLayer>> waiting_;
    bool wholeAsked_ = false;
    bool wholeWanted_ = false;
    // Encoder thread only.
    QImage last_;
    quint64 frame_ = 0;
    quint64 wholeFrame_ = 0;
    QByteArray whole_;  // the PNG of frame wholeFrame_
};
