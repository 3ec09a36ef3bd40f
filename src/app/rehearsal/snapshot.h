#pragma once
// The files a rehearsal writes after each step: both windows as pictures, the drawing operations
// of the step and the state of every named control.

#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;
class ScrForm;

// A message box that the console showed (recorded instead of shown). A question names its
// buttons, the one that is the default and the one the rehearsal answered.
struct RecordedMessage {
    QString text;
    QString caption;
    QStringList buttons;  // empty for a message with one OK button
    QString defaultButton;
    QString answer;
};

// A message with one OK button.
inline RecordedMessage PlainMessage(const QString& text, const QString& caption) {
    RecordedMessage m;
    m.text = text;
    m.caption = caption;
    return m;
}

// Every named control of both windows ("DspMain.Label61" -> class, text, tooltip, visible,
// enabled, bg, fg, geometry, and checked / selected / items / value where they apply), the messages of the
// step and the two windows' placement.
QJsonObject ControlsJson(QWidget* console, QWidget* audience,
                         const std::vector<RecordedMessage>& messages);

// "NNN-kind" with a three-digit step number (more digits past 999).
QString StepFileName(int step, const QString& kind);

// Writes NNN-audience.png (the audience picture, 1024 x 768), NNN-console.png, NNN-draw.jsonl,
// NNN-controls.json and NNN-now.json (what the web's /now.json serves after the step) into folder, taking the draw records of every canvas of both windows. Returns
// an error message or an empty string.
QString WriteStep(const QString& folder, int step, QWidget* console, ScrForm* audience,
                  const std::vector<RecordedMessage>& messages, const QByteArray& nowJson);
