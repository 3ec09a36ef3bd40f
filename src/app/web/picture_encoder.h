#pragma once
// Composes and encodes the audience picture on a thread of its own. The console hands over the
// picture's layers (shared bitmaps, no copy); only the newest is worked on, the ones it replaced
// before their turn are dropped. An unchanged picture is not sent again.

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <optional>
#include <vector>

#include "app/audience/scr_form.h"

class PictureEncoder : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // From any thread: the picture to send next, replacing one that waits.
    void Request(std::vector<PictureLayer> layers);

  signals:
    // A new picture as PNG.
    void encoded(const QByteArray& png);

  private:
    void EncodeNewest();

    QMutex mutex_;
    std::optional<std::vector<PictureLayer>> waiting_;
    QImage last_;
};
