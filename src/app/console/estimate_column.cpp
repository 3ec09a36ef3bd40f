#include "app/console/estimate_column.h"

#include <QEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "app/console/day_schedule.h"
#include "app/widgets/image_control.h"
#include "app/widgets/label_looks.h"
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

std::vector<EstimateColumn::Mark> EstimateColumn::MarksOf(const DayEstimate& day) {
    std::vector<Mark> marks;
    for (const ItemEstimate& e : day.items) {
        // The current item is on the floor: its row shows the list's own mark.
        if (e.item == day.items.front().item) continue;
        marks.push_back(
            {e.item, ClockOf(e.start) + QStringLiteral(u"ごろ"), e.defaultLength, e.fixed});
    }
    return marks;
}

void EstimateColumn::Estimated() {
    if (status_ != nullptr) status_->setText(schedule_.StatusText());
    std::vector<Mark> marks = MarksOf(schedule_.Day());
    if (marks == marks_) return;
    // Only the rows whose mark changed are repainted (with the list under them): late in the day
    // a step moves a few of the starts by a minute, not all of them.
    QRegion changed;
    const auto row = [this](int item) { return RowRect(item); };
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

QRect EstimateColumn::RowRect(int item) const {
    return QRect(0, list_->y() - y() + item * kRowHeight, width(), kRowHeight);
}

qint64 EstimateColumn::ListKey() const {
    auto* list = qobject_cast<ImageControl*>(list_);
    if (list == nullptr || list->ShowsPicture() || !list->isVisible()) return 0;
    const QImage& image = std::as_const(list->canvas()).Image();
    // An opaque bitmap: nothing under the list shows through it.
    return image.hasAlphaChannel() ? 0 : image.cacheKey();
}

void EstimateColumn::PaintAhead(const DayEstimate& day) {
    PaintRowsAhead(day, nullptr, list_->y());
}

void EstimateColumn::PaintAhead(const DayEstimate& day, const QImage& listBitmap, int listTop) {
    // The bitmap copied pixel for pixel, as the list paints it.
    if (listBitmap.hasAlphaChannel() || listBitmap.devicePixelRatio() != 1 ||
        devicePixelRatioF() != 1 || ListKey() == 0) {
        return;
    }
    PaintRowsAhead(day, &listBitmap, listTop);
}

void EstimateColumn::PaintRowsAhead(const DayEstimate& day, const QImage* listBitmap, int listTop) {
    const QImage blank = BufferBitmap(*this, QSize(width(), kRowHeight));
    const qint64 list = listBitmap != nullptr ? listBitmap->cacheKey() : ListKey();
    if (!isVisible() || blank.isNull() || list == 0 || list_->parentWidget() != parentWidget()) {
        return;
    }
    const QImage::Format format = blank.format();
    const int offset = listTop - y();
    std::deque<Row>& ahead = ahead_[listBitmap != nullptr ? kNewList : kSameList];
    // Rows painted over another list, or at another place, are of no more use.
    std::erase_if(ahead, [&](const Row& r) { return r.list != list || r.offset != offset; });
    // The list's bitmap, whole under the row, is all a row shows under its mark; what lies over
    // the column (the scroll bar) paints over it as usual.
    const QRect listRect = QRect(QPoint(list_->x(), listTop), list_->size()).translated(-pos());
    for (const Mark& mark : MarksOf(day)) {
        const QRect row(0, offset + mark.item * kRowHeight, width(), kRowHeight);
        // (Within the same list a mark shown already is not painted again. A row the column's
        // edge cuts is painted whole and shown in part, as a repaint clips it.)
        const QRect source = row.translated(-listRect.topLeft());
        if ((listBitmap == nullptr &&
             std::find(marks_.begin(), marks_.end(), mark) != marks_.end()) ||
            !rect().intersects(row) || !listRect.contains(row) ||
            (listBitmap != nullptr && !listBitmap->rect().contains(source)) ||
            std::any_of(ahead.begin(), ahead.end(), [&](const Row& r) {
                return r.mark == mark && r.pixels.format() == format;
            })) {
            continue;
        }
        QImage pixels = blank.copy();
        if (listBitmap != nullptr) {
            QPainter p(&pixels);
            p.drawImage(QPoint(), *listBitmap, source);
        } else {
            list_->render(&pixels, QPoint(), QRegion(source));
        }
        {
            QPainter p(&pixels);
            p.setFont(font());
            PaintMark(p, mark, 0);
        }
        // A few steps' rows: two estimates of the next step, a screenful each.
        if (ahead.size() >= 64) ahead.pop_front();
        ahead.push_back({mark, offset, list, std::move(pixels)});
    }
}

void EstimateColumn::PaintMark(QPainter& p, const Mark& mark, int top) {
    const QString& text = mark.text;
    const int w = TextWidth(text) + 6;
    const QRect box(width() - w, top + 2, w, kRowHeight - 4);
    p.fillRect(box, mark.defaultLength ? QColor(40, 40, 40, 200) : QColor(0, 40, 80, 210));
    p.setPen(mark.fixed ? QColor(255, 230, 120) : QColor(Qt::white));
    p.drawText(box, Qt::AlignCenter, text);
}

void EstimateColumn::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // Only the rows asked for: a step repaints the few whose marks changed, often far apart.
    const QRegion& painted = event->region();
    const int offset = list_->y() - y();
    const QImage::Format format = TargetFormat(p);
    const qint64 list = ahead_[kSameList].empty() && ahead_[kNewList].empty() ? 0 : ListKey();
    for (const Mark& e : marks_) {
        const int top = offset + e.item * kRowHeight;
        if (!painted.intersects(QRect(0, top, width(), kRowHeight))) continue;
        // The row painted ahead, when it is this mark's over the list as it is.
        const Row* found = nullptr;
        for (const std::deque<Row>& ahead : ahead_) {
            for (const Row& r : ahead) {
                if (r.mark == e && r.offset == offset && r.list == list && list != 0 &&
                    r.pixels.format() == format) {
                    found = &r;
                }
            }
        }
        if (found != nullptr) {
            p.drawImage(QPoint(0, top), found->pixels);
            ++copiedRows_;
        } else {
            PaintMark(p, e, top);
            ++paintedRows_;
        }
    }
}
