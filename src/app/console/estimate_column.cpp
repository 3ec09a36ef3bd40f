#include "app/console/estimate_column.h"

#include <QEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

#include "app/console/day_schedule.h"
#include "core/competition/now_json.h"

namespace {

constexpr int kRowHeight = 20;

}  // namespace

EstimateColumn::EstimateColumn(const DaySchedule& schedule, QWidget* list, QLabel* status,
                               QWidget* parent)
    : QWidget(parent), schedule_(schedule), list_(list), status_(status) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    connect(&schedule_, &DaySchedule::estimated, this, &EstimateColumn::Estimated);
    // The list scrolls by moving its bitmap: follow it.
    list_->installEventFilter(this);
}

void EstimateColumn::Estimated() {
    if (status_ != nullptr) status_->setText(schedule_.StatusText());
    std::vector<Mark> marks;
    const auto& items = schedule_.Day().items;
    for (const ItemEstimate& e : items) {
        // The current item is on the floor: its row shows the list's own mark.
        if (e.item == items.front().item) continue;
        marks.push_back({e.item, ClockOf(e.start) + QStringLiteral(u"ごろ"), e.defaultLength, e.fixed});
    }
    if (marks == marks_) return;
    // Only the rows whose mark changed are repainted (with the list under them): late in the day
    // a step moves a few of the starts by a minute, not all of them.
    QRegion changed;
    const auto row = [this](int item) {
        return QRect(0, list_->y() - y() + item * kRowHeight, width(), kRowHeight);
    };
    // Both lists run in item order.
    size_t i = 0;
    size_t j = 0;
    while (i < marks_.size() || j < marks.size()) {
        if (j == marks.size() || (i < marks_.size() && marks_[i].item < marks[j].item)) {
            changed += row(marks_[i++].item);
        } else if (i == marks_.size() || marks[j].item < marks_[i].item) {
            changed += row(marks[j++].item);
        } else {
            if (marks_[i] != marks[j]) changed += row(marks[j].item);
            ++i;
            ++j;
        }
    }
    marks_ = std::move(marks);
    update(changed & rect());
}

int EstimateColumn::TextWidth(const QString& text) {
    const auto known = widths_.constFind(text);
    if (known != widths_.cend()) return *known;
    // Bounded: a day has at most 1,440 clock times, each with its suffix.
    if (widths_.size() >= 4096) widths_.clear();
    const int width = QFontMetrics(font()).horizontalAdvance(text);
    widths_.insert(text, width);
    return width;
}

void EstimateColumn::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) widths_.clear();
    QWidget::changeEvent(event);
}

bool EstimateColumn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::Move) update();
    return QWidget::eventFilter(watched, event);
}

void EstimateColumn::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // Only the rows asked for: a step repaints the few whose marks changed, often far apart.
    const QRegion& painted = event->region();
    const int offset = list_->y() - y();
    for (const Mark& e : marks_) {
        const int top = offset + e.item * kRowHeight;
        if (!painted.intersects(QRect(0, top, width(), kRowHeight))) continue;
        const QString& text = e.text;
        const int w = TextWidth(text) + 6;
        const QRect box(width() - w, top + 2, w, kRowHeight - 4);
        p.fillRect(box, e.defaultLength ? QColor(40, 40, 40, 200) : QColor(0, 40, 80, 210));
        p.setPen(e.fixed ? QColor(255, 230, 120) : QColor(Qt::white));
        p.drawText(box, Qt::AlignCenter, text);
    }
}
