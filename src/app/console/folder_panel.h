#pragma once
// The data-folder panel: the folder line of the console, opened from its label; a drive box and
// a folder tree, confirm (reload everything from the chosen folder) and cancel. A folder's path
// typed or pasted into the drive box (Enter) opens it in the tree.

#include <QObject>
#include <optional>

#include "app/console/settings_commands.h"

class PressLabel;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;
class QWidget;

struct FolderControls {
    PressLabel* Label59;  // ">>> ↓ 該当データフォルダ "
    QLabel* Label60;      // "←( 支援ｼｽﾃﾑ同期中 )"
    QLabel* Label61;      // the folder path
    QWidget* Panel4;
    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QPushButton* Button22;  // confirm
    QPushButton* Button30;  // cancel
};

class FolderPanel : public QObject {
    Q_OBJECT
  public:
    FolderPanel(const FolderControls& controls, const Competition& state,
                SettingsCommands& settings, QObject* parent);

    void Label59MouseDown();
    // The panel opened at `folder` when given (the one used last), else at the data folder.
    void Open(const std::optional<QString>& folder);
    void DirectoryListBox1Change();
    void Button22Click();
    void Button30Click();

    // The folder tree's model: it reads the root folder and looks up each folder's icon, which
    // the start-up need not wait for. Made once the start-up is done, or when the panel is used
    // before.
    void EnsureTree();

  private:
    // A path typed into the drive box: its folder chosen in the tree. False when it names none.
    bool GoToTypedFolder();
    void GoToFolder(const QString& folder);
    QString SelectedFolder() const;
    QString DriveOf(const QString& path) const;
    void ShowDrive(const QString& root);

    FolderControls c_;
    const Competition& s_;
    SettingsCommands& settings_;
    QFileSystemModel* model_ = nullptr;
};
