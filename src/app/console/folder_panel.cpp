#include "app/console/folder_panel.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

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
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    c_.DirectoryListBox1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) {
        c_.DirectoryListBox1->hideColumn(column);
    }
    c_.DirectoryListBox1->setHeaderHidden(true);

    connect(c_.Label59, &PressLabel::mouseDown, this, &FolderPanel::Label59MouseDown);
    connect(c_.DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderPanel::DirectoryListBox1Change);
    connect(c_.Button22, &QPushButton::clicked, this, &FolderPanel::Button22Click);
    connect(c_.Button30, &QPushButton::clicked, this, &FolderPanel::Button30Click);
    c_.Label61->setText(DecodePath(s_.DataFolder));
}

void FolderPanel::Label59MouseDown() {
    const QString folder = DecodePath(s_.DataFolder);
    const QString drive = DriveOf(folder);
    const int row = c_.DriveComboBox1->findText(drive);
    if (row >= 0) c_.DriveComboBox1->setCurrentIndex(row);
    ShowDrive(drive);
    const QModelIndex current = model_->index(folder);
    if (current.isValid()) {
        c_.DirectoryListBox1->setCurrentIndex(current);
        c_.DirectoryListBox1->scrollTo(current);
    }
    c_.Panel4->show();
    c_.Panel4->raise();
}

QString FolderPanel::DriveOf(const QString& path) const {
    return QStorageInfo(path.isEmpty() ? QDir::rootPath() : path).rootPath();
}

void FolderPanel::ShowDrive(const QString& root) {
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
    const QString folder = SelectedFolder();
    c_.Label61->setText(folder);
    c_.Panel4->hide();
    c_.Label60->hide();
    settings_.ChangeDataFolder(EncodePath(folder));
}

void FolderPanel::Button30Click() {
    c_.Panel4->hide();
    c_.Label60->hide();
}
