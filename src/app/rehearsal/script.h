#pragma once
// The rehearsal script: one operator action per line (click, mousedown, enter, type, select,
// check, scroll, clock, key, wheel), "#" comments and blank lines. The whole script is read before the run
// starts, so a misspelt action or a bad number stops it before any step is written.

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QTime>
#include <optional>
#include <vector>

enum class ActionKind { Click, MouseDown, Enter, Type, Select, Check, Scroll, Clock, Key, Wheel };

struct ScriptAction {
    int line = 0;  // 1-based line of the script
    ActionKind kind = ActionKind::Click;
    QString name;                             // control, "Window.Control" or plain "Control";
                                              // key: the key's name
    QString text;                             // type: the new text, blanks kept
    Qt::MouseButton button = Qt::LeftButton;  // mousedown
    std::optional<QPoint> position;           // mousedown: X Y, else the control's centre
    int number = 0;  // select: row; scroll: position; wheel: notches, + towards the end
    int key = 0;     // key: the Qt::Key
    QTime time;                               // clock
};

struct ScriptError {
    int line = 0;
    QString message;
};

struct Script {
    std::vector<ScriptAction> actions;
    std::optional<ScriptError> error;  // the first bad line; actions then holds the lines before it
};

// Parses the script text (UTF-8; CR LF or LF line ends; a leading byte-order mark is skipped).
Script ParseScript(const QByteArray& content);

// The keys a script may press, by the names it writes them with (PageDown, PageUp, Right, Left,
// B, Escape, Return); 0 for another name.
int ScriptKey(const QString& name);

// The action word as written in a script ("click", "mousedown", ...).
QString ActionWord(ActionKind kind);
