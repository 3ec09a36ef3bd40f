#include "app/console/data_watch_controller.h"

#include <QDateTime>
#include <QLabel>
#include <QRect>
#include <QStringList>
#include <algorithm>

#include "app/console/console_hooks.h"
#include "app/widgets/widget_colors.h"
#include "core/competition/result_list.h"
#include "core/data/data_file_names.h"
#include "core/display/clean_view.h"
#include "core/platform/data_file.h"
#include "core/platform/stable_file.h"

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

// The files of a round's load, as one key: a round is the same round when they are.
std::string RoundKey(const RoundFileNames& names) {
    return names.shuffledA + '|' + names.plainA + '|' + names.assistB + '|' + names.plainB;
}

// File names as the data folder's lookup matches them: ignoring ASCII letter case.
bool SameName(const std::string& a, const std::string& b) {
    return !a.empty() &&
           QString::fromLatin1(a).compare(QString::fromLatin1(b), Qt::CaseInsensitive) == 0;
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
    const auto check = [this] {
        RecheckNotes();
        CheckFolder();
    };
    connect(&settle_, &QTimer::timeout, this, check);
    const auto changed = [this] { settle_.start(); };
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, check);
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
    // The marks, and the files to watch: those behind the round and the final, and those the
    // note names.
    CheckFolder();
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
            notes_.erase(name);
        } else {
            Note note;
            note.path = read.path;
            note.failure = read.failure;
            AddNote(name, std::move(note));
        }
    }
    ShowNote();
}

void DataWatchController::AddNote(const std::string& name, Note note) {
    // Since the first time; the reason is the latest.
    const auto it = notes_.find(name);
    if (it != notes_.end()) {
        note.since = it->second.since;
        note.order = it->second.order;
    } else {
        note.since = Hooks().now();
        note.order = ++notesAdded_;
    }
    notes_[name] = std::move(note);
}

void DataWatchController::RecheckNotes() {
    // Only between commands: a read made while a command records its reads would count as the
    // command's.
    if (FileReadRecorder::Recording()) return;
    bool changed = false;
    for (auto it = notes_.begin(); it != notes_.end();) {
        Note& note = it->second;
        // A round's change of file stays until the round loads again.
        if (!note.round.empty()) {
            ++it;
            continue;
        }
        const FileContents read = ReadStableFile(note.path, kReadWhenSettled);
        if (read.Ok()) {
            it = notes_.erase(it);
            changed = true;
            continue;
        }
        changed = changed || read.failure != note.failure;
        note.failure = read.failure;
        ++it;
    }
    if (changed) ShowNote();
}

void DataWatchController::ShowNote() {
    std::vector<std::pair<std::string, const Note*>> newestFirst;
    for (const auto& [name, note] : notes_) newestFirst.emplace_back(name, &note);
    std::sort(newestFirst.begin(), newestFirst.end(),
              [](const auto& a, const auto& b) { return a.second->order > b.second->order; });
    QStringList files;
    for (const auto& [name, note] : newestFirst) {
        QString detail;
        if (note->failure != ReadFailure::None) detail += Reason(note->failure) + u'、';
        // A round's file gone ("H_01_2.dat を表示"), or still there but left for a file that
        // has come ("SH_01_2.dat に替わりました").
        if (!note->instead.empty()) {
            detail += (note->failure != ReadFailure::None ? QStringLiteral(u"%1 を表示、")
                                                          : QStringLiteral(u"%1 に替わりました、"))
                          .arg(DecodePath(note->instead));
        }
        detail += QStringLiteral(u"%1 から").arg(note->since.toString(QStringLiteral("HH:mm:ss")));
        files << QStringLiteral(u"%1（%2）").arg(DecodePath(name), detail);
    }
    // The label shows as much as fits; the count says how many there are, the tooltip all.
    const QString heading =
        QStringLiteral(u"読めないファイル") +
        (files.size() > 1 ? QStringLiteral(u" %1 件").arg(files.size()) : QString()) +
        QStringLiteral(u": ");
    note_->setText(heading + files.join(QStringLiteral(u"、")));
    note_->setToolTip(heading + u'\n' + files.join(u'\n'));
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
    NoteRoundFiles(reads);
}

void DataWatchController::NoteRoundFiles(const std::vector<FileRead>& reads) {
    const RoundFileNames names = RoundFilesOf(s_.CurrentEvent());
    const std::string round = RoundKey(names);
    // Each floor's file: the first read, in the load's order, of one of that floor's names.
    const std::pair<std::string, std::string> floors[] = {{names.shuffledA, names.plainA},
                                                          {names.assistB, names.plainB}};
    std::vector<std::string> used(std::size(floors));
    std::vector<bool> taken(reads.size());
    for (size_t f = 0; f < std::size(floors); ++f) {
        for (size_t r = 0; r < reads.size() && used[f].empty(); ++r) {
            const std::string name = FileName(reads[r].path);
            if (taken[r] ||
                !(SameName(name, floors[f].first) || SameName(name, floors[f].second))) {
                continue;
            }
            taken[r] = true;
            used[f] = name;
        }
    }
    // Notes on another round's files end with this load.
    std::erase_if(notes_, [&](const auto& entry) {
        return !entry.second.round.empty() && entry.second.round != round;
    });
    // The file a floor's heats came from at the round's last load is not the one read now: the
    // shuffled file or floor B's own folder has gone (or come). The load keeps its choice; the
    // note says it.
    const auto before = roundFiles_.find(round);
    if (before != roundFiles_.end()) {
        for (size_t f = 0; f < used.size(); ++f) {
            const std::string& was = before->second[f];
            if (was.empty() || used[f].empty() || SameName(was, used[f])) continue;
            Note note;
            note.path = DataFilePath(s_.DataFolder, was);
            note.failure = ProbeFile(note.path);
            note.instead = used[f];
            note.round = round;
            AddNote(was, std::move(note));
        }
    }
    roundFiles_[round] = used;
    ShowNote();
}

void DataWatchController::NoteFinalRead(const std::vector<FileRead>& reads) {
    const std::string name = FinalFileName();
    for (const FileRead& read : reads) {
        if (read.failure != ReadFailure::None || FileName(read.path) != name) continue;
        finalVersions_[name] = read.stamp;
        finalStamp_->setText(DecodePath(name) + QLatin1Char(' ') + ChangeTime(read.stamp));
    }
}

bool DataWatchController::Changed(const std::string& name, const FileStamp& shown) const {
    // A file that vanished holds nothing new: the press would find nothing to show.
    const FileStamp now = StampOf(DataFilePath(s_.DataFolder, name));
    return now.regular && now != shown;
}

void DataWatchController::CheckFolder() {
    std::vector<std::string> names;
    // The files the note names, to see them again as soon as they change.
    for (const auto& [name, note] : notes_) names.push_back(name);
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
