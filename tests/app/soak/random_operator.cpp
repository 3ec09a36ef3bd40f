#include "random_operator.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/press_label.h"

namespace {

// EXIT ends the process on the spot; everything else is fair.
const QString kExit = QStringLiteral("BitBtn30");

// What an operator types into the console's edits: numbers (at the edges of int too), colours,
// texts in Japanese, nothing at all, and a line far longer than any field.
QString TextAt(int i) {
    static const std::array<QString, 16> texts = {
        QString(),
        QStringLiteral("0"),
        QStringLiteral("1"),
        QStringLiteral("-1"),
        QStringLiteral("12"),
        QStringLiteral("350"),
        QStringLiteral("-2147483648"),
        QStringLiteral("2147483647"),
        QStringLiteral("99999999999"),
        QStringLiteral("abc"),
        QStringLiteral("FF8000"),
        QStringLiteral("004000"),
        QString::fromUtf8("第１回　テスト大会"),
        QString::fromUtf8("表彰式 ①髙﨑"),
        QStringLiteral(" 7 "),
        QString(300, QChar(0x3042)),
    };
    return texts[static_cast<size_t>(i) % texts.size()];
}

bool Operable(QWidget* w) {
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == kExit) return false;
    return w->window()->isVisible() && w->isVisibleTo(w->window()) && w->isEnabled();
}

bool TakesActions(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->count() > 0;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<PressLabel*>(w) ||
           qobject_cast<ImageControl*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QAbstractSlider*>(w);
}

}  // namespace

RandomOperator::RandomOperator(QWidget* console, QWidget* audience, std::mt19937::result_type seed)
    : console_(console), audience_(audience), rng_(seed) {}

int RandomOperator::Below(int n) {
    return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_);
}

QString RandomOperator::TypedText() { return TextAt(Below(1000)); }

QString RandomOperator::NextLine() {
    QWidget* typed = std::exchange(typedInto_, nullptr);
    if (typed != nullptr && Operable(typed) && Below(2) == 0) {
        return QStringLiteral("enter ") + typed->window()->objectName() + u'.' +
               typed->objectName();
    }
    std::vector<QWidget*> controls;
    for (QWidget* window : {console_, audience_}) {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (TakesActions(w) && Operable(w)) controls.push_back(w);
        }
    }
    // One slot more for the clock, which is no control.
    const int pick = Below(static_cast<int>(controls.size()) + 1);
    if (pick == static_cast<int>(controls.size())) {
        return QStringLiteral("clock %1:%2")
            .arg(Below(24), 2, 10, QLatin1Char('0'))
            .arg(Below(60), 2, 10, QLatin1Char('0'));
    }
    return LineFor(controls[static_cast<size_t>(pick)]);
}

QString RandomOperator::LineFor(QWidget* w) {
    const QString name = w->window()->objectName() + u'.' + w->objectName();
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        return QStringLiteral("check ") + name;
    }
    if (qobject_cast<PictureButton*>(w) || qobject_cast<PressLabel*>(w)) {
        static const char* const kButtons[] = {"left", "left", "right", "middle"};
        return QStringLiteral("mousedown %1 %2").arg(name, QLatin1String(kButtons[Below(4)]));
    }
    if (qobject_cast<QAbstractButton*>(w)) return QStringLiteral("click ") + name;
    if (qobject_cast<ImageControl*>(w)) {
        return QStringLiteral("mousedown %1 %2 %3 %4")
            .arg(name, QLatin1String(Below(3) == 0 ? "right" : "left"))
            .arg(Below(w->width()))
            .arg(Below(w->height()));
    }
    if (qobject_cast<QLineEdit*>(w)) {
        if (Below(2) == 0) return QStringLiteral("enter ") + name;
        typedInto_ = w;
        return QStringLiteral("type %1 %2").arg(name, TypedText());
    }
    if (qobject_cast<QPlainTextEdit*>(w))
        return QStringLiteral("type %1 %2").arg(name, TypedText());
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        return QStringLiteral("select %1 %2").arg(name).arg(Below(combo->count()));
    }
    auto* bar = qobject_cast<QAbstractSlider*>(w);
    return QStringLiteral("scroll %1 %2")
        .arg(name)
        .arg(bar->minimum() + Below(bar->maximum() - bar->minimum() + 1));
}
