#include "app/widgets/widget_colors.h"

#include <QPalette>
#include <QWidget>

void SetColors(QWidget* w, const QColor& background, const QColor& text) {
    const QPalette& now = w->palette();
    if (w->autoFillBackground() && now.color(w->backgroundRole()) == background &&
        now.color(QPalette::Window) == background && now.color(w->foregroundRole()) == text &&
        now.color(QPalette::WindowText) == text) {
        return;
    }
    w->setAutoFillBackground(true);
    w->setPalette(ColoredPalette(w, background, text));
}

QPalette ColoredPalette(const QWidget* w, const QColor& background, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(w->backgroundRole(), background);
    p.setColor(QPalette::Window, background);
    p.setColor(w->foregroundRole(), text);
    p.setColor(QPalette::WindowText, text);
    return p;
}

void SetTextColor(QWidget* w, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(w->foregroundRole(), text);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    w->setPalette(p);
}

QColor BackgroundOf(const QWidget* w) { return w->palette().color(w->backgroundRole()); }
