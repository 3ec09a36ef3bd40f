#include "app/rehearsal/snapshot.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <future>

#include "app/audience/scr_form.h"
#include "app/widgets/image_control.h"
#include "core/platform/draw_record.h"
#include "core/platform/png_bytes.h"

namespace {

QJsonArray GeometryJson(const QRect& r) { return QJsonArray{r.x(), r.y(), r.width(), r.height()}; }

QString ControlText(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) return memo->toPlainText();
    return {};
}

QJsonObject ControlJson(QWidget* w, QWidget* window) {
    QJsonObject o;
    o["class"] = QLatin1String(w->metaObject()->className());
    o["text"] = ControlText(w);
    o["tooltip"] = w->toolTip();
    o["visible"] = window->isVisible() && w->isVisibleTo(window);
    o["enabled"] = w->isEnabled();
    o["bg"] = ColorName(w->palette().color(w->backgroundRole()));
    o["fg"] = ColorName(w->palette().color(w->foregroundRole()));
    o["geometry"] = GeometryJson(w->geometry());
    if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable()) {
        o["checked"] = button->isChecked();
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        o["selected"] = combo->currentIndex();
        QJsonArray items;
        for (int i = 0; i < combo->count(); ++i) items.append(combo->itemText(i));
        o["items"] = items;
    }
    if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        o["value"] = slider->value();
        o["minimum"] = slider->minimum();
        o["maximum"] = slider->maximum();
    }
    return o;
}

void AddControls(QJsonObject& controls, QWidget* window) {
    if (window == nullptr) return;
    const QString prefix = window->objectName() + u'.';
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        // Qt's own helper widgets (scroll area viewports, line edits inside combos) are not
        // controls of the form.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        controls[prefix + name] = ControlJson(w, window);
    }
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        return QStringLiteral("%1: cannot write (%2)").arg(path, file.errorString());
    }
    return {};
}

QByteArray DrawRecordsJsonl(QWidget* console, QWidget* audience) {
    QByteArray out;
    // The audience window first, then the console; each canvas's records in drawing order.
    for (QWidget* window : {audience, console}) {
        if (window == nullptr) continue;
        for (ImageControl* image : window->findChildren<ImageControl*>()) {
            for (const DrawRecord& r : image->canvas().TakeRecords()) {
                out += QJsonDocument(r.ToJson()).toJson(QJsonDocument::Compact);
                out += '\n';
            }
        }
    }
    return out;
}

}  // namespace

QJsonObject ControlsJson(QWidget* console, QWidget* audience,
                         const std::vector<RecordedMessage>& messages) {
    QJsonObject controls;
    AddControls(controls, console);
    AddControls(controls, audience);

    QJsonArray shown;
    for (const RecordedMessage& m : messages) {
        QJsonObject message{{"text", m.text}, {"caption", m.caption}};
        if (!m.buttons.isEmpty()) {
            message["buttons"] = QJsonArray::fromStringList(m.buttons);
            message["default"] = m.defaultButton;
            message["answer"] = m.answer;
        }
        shown.append(message);
    }

    QJsonObject window;
    if (console != nullptr) {
        window["console"] = QJsonObject{{"title", console->windowTitle()},
                                        {"visible", console->isVisible()},
                                        {"geometry", GeometryJson(console->geometry())}};
    }
    if (audience != nullptr) {
        window["audience"] = QJsonObject{{"visible", audience->isVisible()},
                                         {"geometry", GeometryJson(audience->geometry())}};
    }
    return QJsonObject{{"controls", controls}, {"messages", shown}, {"window", window}};
}

QString StepFileName(int step, const QString& kind) {
    return QStringLiteral("%1-%2").arg(step, 3, 10, QChar(u'0')).arg(kind);
}

QString WriteStep(const QString& folder, int step, QWidget* console, ScrForm* audience,
                  const std::vector<RecordedMessage>& messages, const QByteArray& nowJson) {
    const QDir dir(folder);
    const auto path = [&](const char* kind) {
        return dir.filePath(StepFileName(step, QLatin1String(kind)));
    };
    // The two pictures are taken here and encoded side by side while the records are written.
    auto audiencePng = std::async(std::launch::async, PngBytes, audience->Picture());
    auto consolePng = std::async(std::launch::async, PngBytes, console->grab().toImage());
    QString error = WriteFile(path("draw.jsonl"), DrawRecordsJsonl(console, audience));
    if (error.isEmpty()) {
        const QJsonObject controls = ControlsJson(console, audience, messages);
        error = WriteFile(path("controls.json"),
                          QJsonDocument(controls).toJson(QJsonDocument::Indented));
    }
    const QByteArray audienceBytes = audiencePng.get();
    const QByteArray consoleBytes = consolePng.get();
    if (error.isEmpty()) error = WriteFile(path("audience.png"), audienceBytes);
    if (error.isEmpty()) error = WriteFile(path("console.png"), consoleBytes);
    if (error.isEmpty()) error = WriteFile(path("now.json"), nowJson);
    return error;
}
