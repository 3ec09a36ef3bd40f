#include "app/rehearsal/script.h"

#include <QStringList>
#include <array>
#include <utility>

namespace {

struct ActionSpelling {
    const char* word;
    ActionKind kind;
};

constexpr std::array<ActionSpelling, 10> kActions{{
    {"click", ActionKind::Click},
    {"mousedown", ActionKind::MouseDown},
    {"enter", ActionKind::Enter},
    {"type", ActionKind::Type},
    {"select", ActionKind::Select},
    {"check", ActionKind::Check},
    {"scroll", ActionKind::Scroll},
    {"clock", ActionKind::Clock},
    {"key", ActionKind::Key},
    {"wheel", ActionKind::Wheel},
}};

struct KeySpelling {
    const char* name;
    Qt::Key key;
};

constexpr std::array<KeySpelling, 7> kKeys{{
    {"PageDown", Qt::Key_PageDown},
    {"PageUp", Qt::Key_PageUp},
    {"Right", Qt::Key_Right},
    {"Left", Qt::Key_Left},
    {"B", Qt::Key_B},
    {"Escape", Qt::Key_Escape},
    {"Return", Qt::Key_Return},
}};

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Splits off the next blank-separated word from position pos on; pos ends on the first blank
// after the word (or at the end).
QString NextWord(const QString& line, qsizetype& pos) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    const qsizetype start = pos;
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    return line.mid(start, pos - start);
}

// A decimal integer, optionally signed; nothing else on it.
std::optional<int> ParseInt(const QString& word) {
    bool ok = false;
    const int value = word.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<QTime> ParseClock(const QString& word) {
    const QStringList parts = word.split(u':');
    if (parts.size() != 2 || parts[0].isEmpty() || parts[0].size() > 2 || parts[1].size() != 2) {
        return std::nullopt;
    }
    for (const QString& p : parts) {
        for (QChar c : p) {
            if (c < u'0' || c > u'9') return std::nullopt;
        }
    }
    const QTime t(parts[0].toInt(), parts[1].toInt());
    if (!t.isValid()) return std::nullopt;
    return t;
}

std::optional<Qt::MouseButton> ParseButton(const QString& word) {
    if (word == u"left") return Qt::LeftButton;
    if (word == u"right") return Qt::RightButton;
    if (word == u"middle") return Qt::MiddleButton;
    return std::nullopt;
}

// Parses one non-blank, non-comment line into action; returns the error message or an empty
// string.
QString ParseAction(const QString& line, ScriptAction& action) {
    qsizetype pos = 0;
    const QString word = NextWord(line, pos);
    bool known = false;
    for (const ActionSpelling& a : kActions) {
        if (word == QLatin1String(a.word)) {
            action.kind = a.kind;
            known = true;
        }
    }
    if (!known) return QStringLiteral("unknown action \"%1\"").arg(word);

    if (action.kind == ActionKind::Clock) {
        const QString value = NextWord(line, pos);
        if (value.isEmpty()) return QStringLiteral("clock needs a time HH:MM");
        const std::optional<QTime> t = ParseClock(value);
        if (!t) return QStringLiteral("bad time \"%1\" (HH:MM, 00:00 to 23:59)").arg(value);
        action.time = *t;
    } else {
        action.name = NextWord(line, pos);
        if (action.kind == ActionKind::Key) {
            action.key = ScriptKey(action.name);
            if (action.key == 0) {
                QStringList names;
                for (const KeySpelling& k : kKeys) names << QLatin1String(k.name);
                return QStringLiteral("key needs one of %1, not \"%2\"")
                    .arg(names.join(QStringLiteral(", ")), action.name);
            }
        }
        if (action.name.isEmpty()) return QStringLiteral("%1 needs a control name").arg(word);
    }

    switch (action.kind) {
        case ActionKind::Type:
            // The text is everything after the one blank that ends the name, blanks kept.
            action.text = pos < line.size() ? line.mid(pos + 1) : QString();
            return {};
        case ActionKind::MouseDown: {
            const QString buttonWord = NextWord(line, pos);
            const std::optional<Qt::MouseButton> button = ParseButton(buttonWord);
            if (!button) {
                return QStringLiteral("mousedown needs left, right or middle, not \"%1\"")
                    .arg(buttonWord);
            }
            action.button = *button;
            const QString xWord = NextWord(line, pos);
            if (xWord.isEmpty()) break;
            const QString yWord = NextWord(line, pos);
            const std::optional<int> x = ParseInt(xWord);
            const std::optional<int> y = ParseInt(yWord);
            if (!x || !y) {
                return QStringLiteral("bad position \"%1 %2\" (two whole numbers X Y)")
                    .arg(xWord, yWord);
            }
            action.position = QPoint(*x, *y);
            break;
        }
        case ActionKind::Select:
        case ActionKind::Scroll:
        case ActionKind::Wheel: {
            const QString value = NextWord(line, pos);
            const std::optional<int> n = ParseInt(value);
            const bool wheel = action.kind == ActionKind::Wheel;
            if (!n || (action.kind == ActionKind::Select && *n < 0) ||
                (wheel && (*n == 0 || *n < -100 || *n > 100))) {
                return QStringLiteral("bad %1 \"%2\"")
                    .arg(action.kind == ActionKind::Select ? QStringLiteral("row")
                         : wheel ? QStringLiteral("number of notches (-100 to 100, not 0)")
                                 : QStringLiteral("position"),
                         value);
            }
            action.number = *n;
            break;
        }
        default:
            break;
    }
    const QString extra = NextWord(line, pos);
    if (!extra.isEmpty()) return QStringLiteral("unexpected \"%1\" after the action").arg(extra);
    return {};
}

}  // namespace

int ScriptKey(const QString& name) {
    for (const KeySpelling& k : kKeys) {
        if (name == QLatin1String(k.name)) return k.key;
    }
    return 0;
}

QString ActionWord(ActionKind kind) {
    for (const ActionSpelling& a : kActions) {
        if (a.kind == kind) return QLatin1String(a.word);
    }
    return {};
}

Script ParseScript(const QByteArray& content) {
    Script script;
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        qsizetype first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        if (first == line.size() || line[first] == u'#') continue;

        ScriptAction action;
        action.line = static_cast<int>(i + 1);
        const QString message = ParseAction(line, action);
        if (!message.isEmpty()) {
            script.error = ScriptError{action.line, message};
            return script;
        }
        script.actions.push_back(std::move(action));
    }
    return script;
}
