#pragma once
// Checks of a picture's texts as the draw records give them: no text cell on another, no cell
// taller than the design fonts' (1.12 em at most), no text off its surface.

#include <QSize>
#include <QStringList>
#include <vector>

#include "core/platform/draw_record.h"

// The texts of the last picture drawn on a surface: those after its last clear (a rectangle or
// fill from the top left corner across the whole width), each text at each place once (a
// picture drawn again over itself counts once).
std::vector<DrawRecord> LastPictureTexts(const std::vector<DrawRecord>& records, int width);

// What is wrong with a picture's texts on a surface of this size (in the records' units), one
// line per fault. Blank texts are drawn as opaque cells too and count.
QStringList PictureFaults(const std::vector<DrawRecord>& texts, QSize surface);
