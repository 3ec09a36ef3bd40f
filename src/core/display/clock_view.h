#pragma once
// The analogue clock of the top band: a red dial with hour and minute hands and the time in
// digits, drawn into the audience clock image (130 x 160) and at half size into the console's
// clock preview, once per minute.

#include <QString>
#include <QTime>

#include "core/display/render_target.h"
#include "core/platform/canvas.h"

// The minute text the clock shows and compares: "HH:mm", hours 00-23.
QString ClockMinuteText(const QTime& time);

// One pass of the clock for the time hhmm ("HH:mm") at the target's scale.
void DrawClockPass(const QString& hhmm, RenderTarget& t);

// The clock for the time hhmm: the audience clock at full size, then the preview at half size.
void DrawClock(const QString& hhmm, Canvas& audienceClock, Canvas& previewClock);
