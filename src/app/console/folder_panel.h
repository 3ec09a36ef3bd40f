#pragma once
// The data-folder panel: opened from the folder label, a drive box and a folder tree, confirm
// (reload everything from the chosen folder) and cancel.

#include <QObject>

class DspMain;
class QFileSystemModel;

class FolderPanel : public QObject {
    Q_OBJECT
  public:
    explicit FolderPanel(DspMain& console);

    void Label59MouseDown();
    void DirectoryListBox1Change();
    void Button22Click();
    void Button30Click();

  private:
    QString SelectedFolder() const;
    QString DriveOf(const QString& path) const;
    void ShowDrive(const QString& root);

    DspMain& console_;
    QFileSystemModel* model_ = nullptr;
};
