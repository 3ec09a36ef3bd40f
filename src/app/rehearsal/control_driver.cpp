#include "app/rehearsal/control_driver.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWheelEvent>
#include <utility>

#include "app/widgets/image_control.h"

namespace {

bool IsControlName(const QString& name) {
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QWidget* FindIn(QWidget* window, const QString& name) {
    if (window == nullptr || !IsControlName(name)) return nullptr;
    return window->findChild<QWidget*>(name);
}

// What the operator could reach: the window is up and the control and all its parents show.
bool Reachable(QWidget* w) { return w->window()->isVisible() && w->isVisibleTo(w->window()); }

// A press and a release of one mouse button at pos (control pixels), as a person's click.
void SendClick(QWidget* target, Qt::MouseButton button, QPoint pos) {
    QPointer<QWidget> w(target);
    const QPointF local(pos);
    const auto event = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent e(type, local, QPointF(w->mapTo(w->window(), pos)),
                      QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    event(QEvent::MouseButtonPress, button);
    // The press may have closed or deleted the control; then there is nothing to release on.
    if (w) event(QEvent::MouseButtonRelease, Qt::NoButton);
}

void SendKey(QWidget* target, int key, const QString& text) {
    QPointer<QWidget> w(target);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &press);
    if (!w) return;
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &release);
}

// Where a person clicks a check box or radio button: on its indicator, which a click on a
// wide control's empty right part would miss.
QPoint IndicatorCentre(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QStyle::SubElement element = qobject_cast<QRadioButton*>(button)
                                           ? QStyle::SE_RadioButtonIndicator
                                           : QStyle::SE_CheckBoxIndicator;
    const QRect r = button->style()->subElementRect(element, &option, button);
    return r.isValid() && button->rect().contains(r.center()) ? r.center()
                                                              : button->rect().center();
}

QPoint ClickPoint(QWidget* w) {
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        return IndicatorCentre(static_cast<QAbstractButton*>(w));
    }
    return w->rect().center();
}

QString KindError(const ScriptAction& a, QWidget* w, const char* wanted) {
    return QStringLiteral("%1: %2 is a %3, not %4")
        .arg(ActionWord(a.kind), a.name, QLatin1String(w->metaObject()->className()),
             QLatin1String(wanted));
}

}  // namespace

ControlDriver::ControlDriver(QWidget* console, QWidget* audience,
                             std::function<void(QTime)> setTime, std::function<void()> tick)
    : console_(console),
      audience_(audience),
      setTime_(std::move(setTime)),
      tick_(std::move(tick)) {}

QWidget* ControlDriver::FindControl(const QString& name) const {
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0) {
        const QString window = name.left(dot);
        const QString control = name.mid(dot + 1);
        if (console_ != nullptr && window == console_->objectName()) {
            return FindIn(console_, control);
        }
        if (audience_ != nullptr && window == audience_->objectName()) {
            return FindIn(audience_, control);
        }
        return nullptr;
    }
    if (QWidget* w = FindIn(console_, name)) return w;
    return FindIn(audience_, name);
}

QString ControlDriver::Perform(const ScriptAction& a) {
    if (a.kind == ActionKind::Clock) {
        setTime_(a.time);
        tick_();
        return {};
    }
    if (a.kind == ActionKind::Key) {
        // The key goes where a keyboard's would: the control with the focus, else the active
        // window, else the console.
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) target = QApplication::activeWindow();
        if (target == nullptr) target = console_;
        const QString text = a.key == Qt::Key_B        ? QStringLiteral("b")
                             : a.key == Qt::Key_Return ? QStringLiteral("\r")
                             : a.key == Qt::Key_Escape ? QString(QChar(0x1b))
                                                       : QString();
        SendKey(target, a.key, text);
        return {};
    }

    QWidget* w = FindControl(a.name);
    if (w == nullptr) return QStringLiteral("unknown control \"%1\"").arg(a.name);
    if (!Reachable(w)) {
        return QStringLiteral("%1: %2 is not visible on its window")
            .arg(ActionWord(a.kind), a.name);
    }

    switch (a.kind) {
        case ActionKind::Click:
            if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w)) {
                return KindError(a, w, "a button or label");
            }
            SendClick(w, Qt::LeftButton, ClickPoint(w));
            return {};
        case ActionKind::MouseDown: {
            if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w) &&
                !qobject_cast<ImageControl*>(w)) {
                return KindError(a, w, "a button, label or image");
            }
            const QPoint pos = a.position.value_or(w->rect().center());
            if (!w->rect().contains(pos)) {
                return QStringLiteral("mousedown: %1 %2 lies outside %3 (%4 x %5)")
                    .arg(pos.x())
                    .arg(pos.y())
                    .arg(a.name)
                    .arg(w->width())
                    .arg(w->height());
            }
            SendClick(w, a.button, pos);
            return {};
        }
        case ActionKind::Enter:
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
                w = combo->lineEdit();
            }
            if (!qobject_cast<QLineEdit*>(w)) return KindError(a, w, "an edit");
            SendKey(w, Qt::Key_Return, QStringLiteral("\r"));
            return {};
        case ActionKind::Type:
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
                combo->setEditText(a.text);
            } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                edit->setText(a.text);
            } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
                memo->setPlainText(a.text);
            } else {
                return KindError(a, w, "an edit");
            }
            return {};
        case ActionKind::Select: {
            auto* combo = qobject_cast<QComboBox*>(w);
            if (combo == nullptr) return KindError(a, w, "a combo box");
            if (a.number >= combo->count()) {
                return QStringLiteral("select: %1 has %2 rows (0 to %3), no row %4")
                    .arg(a.name)
                    .arg(combo->count())
                    .arg(combo->count() - 1)
                    .arg(a.number);
            }
            combo->setCurrentIndex(a.number);
            // The console reacts to the operator's choice, not to programmatic changes.
            emit combo->activated(a.number);
            return {};
        }
        case ActionKind::Check:
            if (!qobject_cast<QCheckBox*>(w) && !qobject_cast<QRadioButton*>(w)) {
                return KindError(a, w, "a check box or radio button");
            }
            SendClick(w, Qt::LeftButton, ClickPoint(w));
            return {};
        case ActionKind::Scroll: {
            auto* bar = qobject_cast<QAbstractSlider*>(w);
            if (bar == nullptr) return KindError(a, w, "a scroll bar");
            if (a.number < bar->minimum() || a.number > bar->maximum()) {
                return QStringLiteral("scroll: %1 moves from %2 to %3, not to %4")
                    .arg(a.name)
                    .arg(bar->minimum())
                    .arg(bar->maximum())
                    .arg(a.number);
            }
            bar->setValue(a.number);
            return {};
        }
        case ActionKind::Wheel: {
            // One notch is 120 eighths of a degree; a positive count turns towards the end of
            // a list, as the wheel turned towards the operator does.
            const QPointF centre(w->rect().center());
            QWheelEvent wheel(centre, QPointF(w->mapToGlobal(w->rect().center())), QPoint(),
                              QPoint(0, -120 * a.number), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(w, &wheel);
            return {};
        }
        case ActionKind::Clock:
        case ActionKind::Key:
            break;
    }
    return {};
}
