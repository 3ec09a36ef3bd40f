#pragma once
// The award section of the console: the result-category list with its order choice and stepping
// button, and the small result preview.

#include <QObject>

class DspMain;

class AwardController : public QObject {
    Q_OBJECT
  public:
    explicit AwardController(DspMain& console);

    void FillResultList();
    void FillDataResetRows();
    void RadioButtonClick();
    void BitBtn21MouseDown(Qt::MouseButton button);
    void ComboBox1Change(int row);
    void ClearResultPreview();

  private:
    void SetRows(const std::vector<std::string>& rows);

    DspMain& console_;
};
