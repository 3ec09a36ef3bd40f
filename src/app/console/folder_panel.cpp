#include "app/console/folder_panel.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

#include "app/console/console_hooks.h"
#include "app/widgets/press_label.h"
#include "core/platform/data_file.h"

FolderPanel::FolderPanel(const FolderControls& controls, const Competition& state,
                         SettingsCommands& settings, QObject* parent)
    : QObject(parent), c_(controls), s_(state), settings_(settings) {
    // The drives of this machine: its mounted volumes' roots.
    c_.DriveComboBox1->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) c_.DriveComboBox1->addItem(volume.rootPath());
    }
    // The drive box takes a typed or pasted path too; Enter opens that folder in the tree.
    c_.DriveComboBox1->setEditable(true);
    c_.DriveComboBox1->setInsertPolicy(QComboBox::NoInsert);
    c_.DriveComboBox1->lineEdit()->setPlaceholderText(QString::fromUtf8("フォルダーのパスを入力"));
    connect(c_.DriveComboBox1->lineEdit(), &QLineEdit::returnPressed, this,
            &FolderPanel::GoToTypedFolder);

    connect(c_.Label59, &PressLabel::mouseDown, this, &FolderPanel::Label59MouseDown);
    connect(c_.Button22, &QPushButton::clicked, this, &FolderPanel::Button22Click);
    connect(c_.Button30, &QPushButton::clicked, this, &FolderPanel::Button30Click);
    c_.Label61->setText(DecodePath(s_.DataFolder));
}

void FolderPanel::EnsureTree() {
    if (model_ != nullptr) return;
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    c_.DirectoryListBox1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) {
        c_.DirectoryListBox1->hideColumn(column);
    }
    c_.DirectoryListBox1->setHeaderHidden(true);
    connect(c_.DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderPanel::DirectoryListBox1Change);
}

void FolderPanel::Label59MouseDown() { Open(std::nullopt); }

void FolderPanel::Open(const std::optional<QString>& offered) {
    GoToFolder(offered.value_or(DecodePath(s_.DataFolder)));
    c_.Panel4->show();
    c_.Panel4->raise();
}

bool FolderPanel::GoToTypedFolder() {
    const QString typed = c_.DriveComboBox1->currentText().trimmed();
    if (typed.isEmpty() || c_.DriveComboBox1->findText(typed) >= 0) return false;
    const QFileInfo info(typed);
    if (!info.isDir()) {
        c_.DriveComboBox1->lineEdit()->selectAll();
        c_.DriveComboBox1->setToolTip(QString::fromUtf8("フォルダーがありません: %1").arg(typed));
        QToolTip::showText(c_.DriveComboBox1->mapToGlobal(QPoint(0, c_.DriveComboBox1->height())),
                           c_.DriveComboBox1->toolTip(), c_.DriveComboBox1);
        return false;
    }
    GoToFolder(QDir::cleanPath(info.absoluteFilePath()));
    return true;
}

void FolderPanel::GoToFolder(const QString& folder) {
    const QString drive = DriveOf(folder);
    const int row = c_.DriveComboBox1->findText(drive);
    if (row >= 0) c_.DriveComboBox1->setCurrentIndex(row);
    ShowDrive(drive);
    const QModelIndex current = model_->index(folder);
    if (current.isValid()) {
        c_.DirectoryListBox1->setCurrentIndex(current);
        c_.DirectoryListBox1->scrollTo(current);
    }
}

QString FolderPanel::DriveOf(const QString& path) const {
    return QStorageInfo(path.isEmpty() ? QDir::rootPath() : path).rootPath();
}

void FolderPanel::ShowDrive(const QString& root) {
    EnsureTree();
    c_.DirectoryListBox1->setRootIndex(model_->index(root));
}

void FolderPanel::DirectoryListBox1Change() {
    // The drive box is not linked to the tree: a new drive takes effect with the next change of
    // folder in the tree.
    const QString drive = c_.DriveComboBox1->currentText();
    if (drive.isEmpty()) return;
    if (DriveOf(SelectedFolder()).compare(drive, Qt::CaseInsensitive) != 0) {
        ShowDrive(drive);
        const QModelIndex root = model_->index(drive);
        QSignalBlocker block(c_.DirectoryListBox1->selectionModel());
        c_.DirectoryListBox1->setCurrentIndex(root);
    }
}

QString FolderPanel::SelectedFolder() const {
    const QModelIndex current = c_.DirectoryListBox1->currentIndex();
    if (!current.isValid()) return DecodePath(s_.DataFolder);
    return QDir::cleanPath(model_->filePath(current));
}

void FolderPanel::Button22Click() {
    // A path typed without Enter counts as chosen.
    GoToTypedFolder();
    const QString folder = SelectedFolder();
    if (Hooks().rememberDataFolder) Hooks().rememberDataFolder(folder);
    c_.Label61->setText(folder);
    c_.Panel4->hide();
    c_.Label60->hide();
    settings_.ChangeDataFolder(EncodePath(folder));
}

void FolderPanel::Button30Click() {
    c_.Panel4->hide();
    c_.Label60->hide();
}
