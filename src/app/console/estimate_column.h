#pragma once
// The estimated start beside each upcoming item of the programme list ("14:25ごろ"), drawn over
// the list's right edge and scrolled with it; clicks go through to the list. The status line
// above the list says the day's end, how far it moved and the pace.

#include <QWidget>

class DaySchedule;
class QLabel;

class EstimateColumn : public QWidget {
    Q_OBJECT
  public:
    // list: the list bitmap whose rows (20 pixels each) the column follows.
    EstimateColumn(const DaySchedule& schedule, QWidget* list, QLabel* status, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Estimated();

    const DaySchedule& schedule_;
    QWidget* list_;
    QLabel* status_;
};
