#include "app/console/data_watch_controller.h"

#include <QDateTime>
#include <QLabel>
#include <QRect>
#include <QStringList>

#include "app/console/console_hooks.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/result_list.h"
#include "core/data/data_file_names.h"
#include "core/display/clean_view.h"
#include "core/platform/data_file.h"

namespace {

const QColor kPanelColor(157, 232, 157);
const QColor kRed(255, 0, 0);
constexpr int kSettleMs = 300;
// Network shares send no notifications: a few stats every few seconds see the changes there.
constexpr int kPollMs = 3000;

// The heat files a round's load may read.
std::vector<std::string> WatchedRoundFiles(const EventRecord& r) {
    const RoundFileNames names = RoundFilesOf(r);
    std::vector<std::string> out{names.shuffledA, names.plainA};
    if (r.HasFloorB()) {
        out.push_back(names.assistB);
        out.push_back(names.plainB);
    }
    return out;
}

QString ChangeTime(const FileStamp& stamp) {
    return QDateTime::fromMSecsSinceEpoch(stamp.modifiedNs / 1000000)
        .time()
        .toString(QStringLiteral("HH:mm:ss"));
}

QString Reason(ReadFailure failure) {
    switch (failure) {
        case ReadFailure::Missing:
            return QStringLiteral(u"ありません");
        case ReadFailure::NotRegular:
            return QStringLiteral(u"ファイルではありません");
        case ReadFailure::Unsettled:
            return QStringLiteral(u"書込み中");
        case ReadFailure::Empty:
            return QStringLiteral(u"空です");
        case ReadFailure::TooLarge:
            return QStringLiteral(u"大きすぎます");
        case ReadFailure::Unreadable:
        case ReadFailure::None:
            break;
    }
    return QStringLiteral(u"読めません");
}

}  // namespace

DataWatchController::DataWatchController(const DataWatchControls& c, const Competition& state,
                                         const StateNotifier& notifier, QObject* parent)
    : QObject(parent), s_(state) {
    heatMark_ = NewMark(c.BitBtn5, "HeatUpdateMark");
    readyMark_ = NewMark(c.BitBtn13, "ReadyUpdateMark");
    // Right of "Dance D ?", one line per floor.
    roundStamp_ = NewLabel(c.Panel9, "RoundFileStamp", QRect(300, 213, 216, 32));
    SetColors(roundStamp_, kPanelColor, kTeal);
    // At the right end of the award section's heading.
    const QRect heading = c.Label7->geometry();
    finalStamp_ =
        NewLabel(c.Panel8, "FinalFileStamp",
                 QRect(heading.right() - 126, heading.y() + 3, 124, heading.height() - 6));
    SetColors(finalStamp_, kTeal, Qt::white);
    finalStamp_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Across the progress panel, under the dance switches.
    note_ = NewLabel(c.Panel9, "FileNote", QRect(4, 245, 512, 16));
    SetColors(note_, kPanelColor, kRed);
    note_->hide();

    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &DataWatchController::CheckFolder);
    const auto changed = [this] { settle_.start(); };
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &DataWatchController::CheckFolder);
    poll_.start();
    connect(&notifier, &StateNotifier::filesRead, this, &DataWatchController::FilesRead);
}

void DataWatchController::FilesRead(const FileReport& report) {
    NoteReads(report.reads);
    switch (report.kind) {
        case FileReport::Kind::Tables:
            break;
        case FileReport::Kind::Round:
            if (report.loaded) NoteRoundLoaded(report.reads);
            break;
        case FileReport::Kind::FinalResult:
            if (report.loaded) NoteFinalRead(report.reads);
            break;
    }
}

QLabel* DataWatchController::NewLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    QFont font = label->font();
    font.setPointSize(8);
    font.setBold(true);
    label->setFont(font);
    label->raise();
    return label;
}

QLabel* DataWatchController::NewMark(QWidget* button, const char* name) {
    // On the button's top right corner, as a badge.
    const QRect b = button->geometry();
    QLabel* mark = NewLabel(button->parentWidget(), name, QRect(b.right() - 24, b.y() - 4, 28, 14));
    mark->setText(QStringLiteral(u"更新"));
    mark->setAlignment(Qt::AlignCenter);
    SetColors(mark, kRed, Qt::white);
    mark->hide();
    return mark;
}

std::string DataWatchController::FileName(const std::string& path) const {
    const std::string folder = s_.DataFolder + kPathSeparator;
    return path.starts_with(folder) ? path.substr(folder.size()) : path;
}

std::string DataWatchController::FinalFileName() const {
    const int category = ResultListCategory(s_, s_.ResultListRow);
    return category > 0 ? ::FinalFileName(category) : std::string();
}

void DataWatchController::NoteReads(const std::vector<FileRead>& reads) {
    for (const FileRead& read : reads) {
        const std::string name = FileName(read.path);
        if (read.failure == ReadFailure::None) {
            unread_.erase(name);
        } else {
            // Since the first time it could not be read; the reason is the latest.
            const auto [it, first] = unread_.try_emplace(name, Unread{read.failure, Hooks().now()});
            it->second.failure = read.failure;
        }
    }
    ShowNote();
}

void DataWatchController::ShowNote() {
    QStringList files;
    for (const auto& [name, unread] : unread_) {
        files << QStringLiteral(u"%1（%2、%3 から）")
                     .arg(DecodePath(name), Reason(unread.failure),
                          unread.since.toString(QStringLiteral("HH:mm:ss")));
    }
    const QString text = QStringLiteral(u"読めないファイル: ") + files.join(QStringLiteral(u"、"));
    note_->setText(text);
    note_->setToolTip(text);
    note_->setVisible(!files.isEmpty());
}

void DataWatchController::NoteRoundLoaded(const std::vector<FileRead>& reads) {
    roundVersions_.clear();
    for (const std::string& name : WatchedRoundFiles(s_.CurrentEvent())) {
        roundVersions_[name] = StampOf(DataFilePath(s_.DataFolder, name));
    }
    QStringList times;
    for (const FileRead& read : reads) {
        const std::string name = FileName(read.path);
        roundVersions_[name] = read.stamp;  // the version read, whatever came after it
        const QString line = DecodePath(name) + QLatin1Char(' ') + ChangeTime(read.stamp);
        if (!times.contains(line)) times << line;
    }
    roundStamp_->setText(times.join(QLatin1Char('\n')));
    CheckFolder();
}

void DataWatchController::NoteFinalRead(const std::vector<FileRead>& reads) {
    const std::string name = FinalFileName();
    for (const FileRead& read : reads) {
        if (read.failure != ReadFailure::None || FileName(read.path) != name) continue;
        finalVersions_[name] = read.stamp;
        finalStamp_->setText(DecodePath(name) + QLatin1Char(' ') + ChangeTime(read.stamp));
    }
    CheckFolder();
}

bool DataWatchController::Changed(const std::string& name, const FileStamp& shown) const {
    // A file that vanished holds nothing new: the press would find nothing to show.
    const FileStamp now = StampOf(DataFilePath(s_.DataFolder, name));
    return now.regular && now != shown;
}

void DataWatchController::CheckFolder() {
    std::vector<std::string> names;
    bool heatChanged = false;
    for (const auto& [name, shown] : roundVersions_) {
        names.push_back(name);
        heatChanged = heatChanged || Changed(name, shown);
    }
    bool readyChanged = false;
    const std::string finalName = FinalFileName();
    if (!finalName.empty()) {
        names.push_back(finalName);
        const auto it = finalVersions_.find(finalName);
        if (it == finalVersions_.end()) {
            // Not read yet: what is there now is the version the operator has not seen changed.
            finalVersions_[finalName] = StampOf(DataFilePath(s_.DataFolder, finalName));
        } else {
            readyChanged = Changed(finalName, it->second);
        }
    }
    heatMark_->setVisible(heatChanged);
    readyMark_->setVisible(readyChanged);
    Watch(names);
}

void DataWatchController::Watch(const std::vector<std::string>& names) {
    // The folder (and Assist) for files that appear or are replaced, the files for their writes.
    QStringList wanted;
    const std::string assist = s_.DataFolder + kPathSeparator + "Assist";
    for (const std::string& folder : {s_.DataFolder, assist}) {
        if (IsDirectory(folder)) wanted << DecodePath(folder);
    }
    for (const std::string& name : names) {
        const std::string path = DataFilePath(s_.DataFolder, name);
        if (IsRegularFile(path)) wanted << DecodePath(path);
    }
    QStringList stale = watcher_.files() + watcher_.directories();
    QStringList added;
    for (const QString& path : wanted) {
        if (!stale.removeOne(path)) added << path;
    }
    if (!stale.isEmpty()) watcher_.removePaths(stale);
    if (!added.isEmpty()) watcher_.addPaths(added);
}
