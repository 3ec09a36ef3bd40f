#pragma once
// QR codes (libqrencode) as pictures for the console.

#include <QByteArray>
#include <QImage>

// text as a QR code, black modules of moduleSize pixels on white with the four-module quiet zone
// around them; a null image when text does not fit into a QR code. The lowest error correction:
// a code on a screen is not smudged, and fewer modules are larger ones.
QImage QrCodeImage(const QByteArray& text, int moduleSize);
