#pragma once
// The estimated start beside each upcoming item of the programme list ("14:25ごろ"), drawn over
// the list's right edge and scrolled with it; clicks go through to the list. The status line
// above the list says the day's end, how far it moved and the pace.

#include <QHash>
#include <QString>
#include <QWidget>
#include <vector>

class DaySchedule;
class QLabel;

class EstimateColumn : public QWidget {
    Q_OBJECT
  public:
    // list: the list bitmap whose rows (20 pixels each) the column follows.
    EstimateColumn(const DaySchedule& schedule, QWidget* list, QLabel* status, QWidget* parent);

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
    void Estimated();
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
};
