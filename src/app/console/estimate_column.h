#pragma once
// The estimated start beside each upcoming item of the programme list ("14:25ごろ"), drawn over
// the list's right edge and scrolled with it; clicks go through to the list. The status line
// above the list says the day's end, how far it moved and the pace.

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <deque>
#include <vector>

#include "core/competition/estimates.h"

class DaySchedule;
class QLabel;
class QPainter;

class EstimateColumn : public QWidget {
    Q_OBJECT
  public:
    // list: the list bitmap whose rows (20 pixels each) the column follows.
    EstimateColumn(const DaySchedule& schedule, QWidget* list, QLabel* status, QWidget* parent);

    // Paints ahead, over the list as it is, the rows `day` (an estimate the next step may bring)
    // changes: a repaint that then shows one of those marks copies its row.
    void PaintAhead(const DayEstimate& day);
    // The same for a step that shows the list anew: `listBitmap` (drawn ahead for the step) with
    // its top at `listTop`; every row in sight is painted.
    void PaintAhead(const DayEstimate& day, const QImage& listBitmap, int listTop);
    // How many rows repaints copied from those painted ahead, and how many they painted afresh.
    std::size_t CopiedRows() const { return copiedRows_; }
    std::size_t PaintedRows() const { return paintedRows_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One upcoming item's mark: the list's row and what it says.
    struct Mark {
        int item = 0;
        QString text;
        bool defaultLength = false;
        bool fixed = false;
        bool operator==(const Mark&) const = default;
    };
    // The rows painted ahead for a step within the list as it is, and for one that shows it anew.
    enum AheadKind { kSameList, kNewList, kAheadKinds };
    // A row painted ahead: its mark over the list bitmap as it was, at the list's place then.
    struct Row {
        Mark mark;
        int offset = 0;
        qint64 list = 0;
        QImage pixels;
    };
    static std::vector<Mark> MarksOf(const DayEstimate& day);
    void Estimated();
    // The rows of `day` over the list at `listTop`: `listBitmap` as the list will show it, or
    // the list as it is (null).
    void PaintRowsAhead(const DayEstimate& day, const QImage* listBitmap, int listTop);
    QRect RowRect(int item) const;
    void PaintMark(QPainter& p, const Mark& mark, int top);
    // What the list shows under the column (its bitmap's key), 0 when that is not known.
    qint64 ListKey() const;
    // A mark's width in the column's font: measuring shapes the text, and the day's marks are a
    // few hundred clock times met again and again.
    int TextWidth(const QString& text);

    const DaySchedule& schedule_;
    QWidget* list_;
    QLabel* status_;
    // What the column shows; a new estimate that changes none of it repaints nothing (a heat step
    // re-estimates the day, mostly to the same minutes).
    std::vector<Mark> marks_;
    QHash<QString, int> widths_;
    std::array<std::deque<Row>, kAheadKinds> ahead_;
    std::size_t copiedRows_ = 0;
    std::size_t paintedRows_ = 0;
};
