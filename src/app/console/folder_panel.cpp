#include "app/console/folder_panel.h"

#include "core/platform/data_file.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QStorageInfo>

#include "core/display/view_types.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/press_label.h"

FolderPanel::FolderPanel(DspMain& console) : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    // The drives of this machine: its mounted volumes' roots.
    ui.DriveComboBox1->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) ui.DriveComboBox1->addItem(volume.rootPath());
    }
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    ui.DirectoryListBox1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) {
        ui.DirectoryListBox1->hideColumn(column);
    }
    ui.DirectoryListBox1->setHeaderHidden(true);

    connect(ui.Label59, &PressLabel::mouseDown, this, &FolderPanel::Label59MouseDown);
    connect(ui.DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderPanel::DirectoryListBox1Change);
    connect(ui.Button22, &QPushButton::clicked, this, &FolderPanel::Button22Click);
    connect(ui.Button30, &QPushButton::clicked, this, &FolderPanel::Button30Click);
}

void FolderPanel::Label59MouseDown() {
    Ui::DspMain& ui = console_.form();
    const QString folder =
        DecodePath(console_.state().DataFolder);
    const QString drive = DriveOf(folder);
    const int row = ui.DriveComboBox1->findText(drive);
    if (row >= 0) ui.DriveComboBox1->setCurrentIndex(row);
    ShowDrive(drive);
    const QModelIndex current = model_->index(folder);
    if (current.isValid()) {
        ui.DirectoryListBox1->setCurrentIndex(current);
        ui.DirectoryListBox1->scrollTo(current);
    }
    ui.Panel4->show();
    ui.Panel4->raise();
}

QString FolderPanel::DriveOf(const QString& path) const {
    return QStorageInfo(path.isEmpty() ? QDir::rootPath() : path).rootPath();
}

void FolderPanel::ShowDrive(const QString& root) {
    Ui::DspMain& ui = console_.form();
    ui.DirectoryListBox1->setRootIndex(model_->index(root));
}

void FolderPanel::DirectoryListBox1Change() {
    // The drive box is not linked to the tree: a new drive takes effect with the next change of
    // folder in the tree.
    Ui::DspMain& ui = console_.form();
    const QString drive = ui.DriveComboBox1->currentText();
    if (drive.isEmpty()) return;
    if (DriveOf(SelectedFolder()).compare(drive, Qt::CaseInsensitive) != 0) {
        ShowDrive(drive);
        const QModelIndex root = model_->index(drive);
        QSignalBlocker block(ui.DirectoryListBox1->selectionModel());
        ui.DirectoryListBox1->setCurrentIndex(root);
    }
}

QString FolderPanel::SelectedFolder() const {
    const QModelIndex current = console_.form().DirectoryListBox1->currentIndex();
    if (!current.isValid()) {
        return DecodePath(console_.state().DataFolder);
    }
    return QDir::cleanPath(model_->filePath(current));
}

void FolderPanel::Button22Click() {
    Ui::DspMain& ui = console_.form();
    Competition& s = console_.state();
    const QString folder = SelectedFolder();
    s.DataFolder = EncodePath(folder);
    ui.Label61->setText(folder);
    ui.Panel4->hide();
    ui.Label60->hide();
    console_.DataReset();
    s.CurrentProgrammeIndex = 0;
    console_.ShowProgrammeItem();
    console_.RenderView(kViewClean);
    console_.HighlightViewLabel(ui.Label75);
    console_.DrawProgrammeList();
}

void FolderPanel::Button30Click() {
    Ui::DspMain& ui = console_.form();
    ui.Panel4->hide();
    ui.Label60->hide();
}
