#include "app/widgets/indicator_label.h"

#include <QLabel>

#include "app/widgets/widget_colors.h"
#include "core/competition/indicator.h"

void ShowIndicator(QLabel* label, int flag) {
    const IndicatorLook look = LookOf(flag);
    label->setText(QString::fromLatin1(look.text));
    SetColors(label, look.background, look.foreground);
}
