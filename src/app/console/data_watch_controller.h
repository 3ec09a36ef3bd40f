#pragma once
// The data folder as the console sees it while the scoring system writes it, possibly over a
// network share that drops: a one-line note names the files that could not be read (since when,
// newest first, how many) and a round whose heats now come from another file than at its last
// load; the round and the award section show when the files behind them were last changed, and
// "更新" marks Heat or Ready when those files change. Nothing on the audience screen changes by
// itself: the operator's next press takes the new data. It follows the reports of the commands'
// reads, and looks again at the files it names, which leave the note once they read well.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTime>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

#include "core/competition/competition_state.h"
#include "core/competition/state_notifier.h"
#include "core/platform/file_read_recorder.h"

class QLabel;
class QWidget;

struct DataWatchControls {
    QWidget* Panel9;    // progress control panel: the round's file times and the note
    QWidget* Panel8;    // left panel: the final file's time, in the award section's heading
    QWidget* Label7;    // that heading; read for placement only
    QWidget* BitBtn5;   // Heat; read for placement only (its mark sits on its corner)
    QWidget* BitBtn13;  // Ready; likewise
};

class DataWatchController : public QObject {
    Q_OBJECT
  public:
    DataWatchController(const DataWatchControls& controls, const Competition& state,
                        const StateNotifier& notifier, QObject* parent);

    // Compares the files behind the loaded round and the chosen final with the versions read;
    // runs on the folder's notifications and on a slow poll (network shares send none), which
    // also read the files the note names again.
    void CheckFolder();

  private:
    // A file the note names.
    struct Note {
        std::string path;
        ReadFailure failure = ReadFailure::None;  // None: readable, but no longer the one used
        std::string instead;                      // the file a round's heats come from now
        std::string round;                        // the round whose file changed (RoundKey)
        QTime since;
        quint64 order = 0;  // larger: newer
    };

    void FilesRead(const FileReport& report);
    // A command read data files: the note gains those it could not read and loses those it read.
    void NoteReads(const std::vector<FileRead>& reads);
    // A round just loaded: the versions of its files and when they changed, and whether a floor's
    // heats came from another file than at the round's last load.
    void NoteRoundLoaded(const std::vector<FileRead>& reads);
    void NoteRoundFiles(const std::vector<FileRead>& reads);
    // The files the note names for not being readable, read again: those that read well leave.
    void RecheckNotes();
    // Ready read the final file: its version and when it changed.
    void NoteFinalRead(const std::vector<FileRead>& reads);
    QLabel* NewLabel(QWidget* parent, const char* name, const QRect& geometry);
    QLabel* NewMark(QWidget* button, const char* name);
    std::string FileName(const std::string& path) const;
    std::string FinalFileName() const;
    void AddNote(const std::string& name, Note note);
    void ShowNote();
    void Watch(const std::vector<std::string>& names);
    bool Changed(const std::string& name, const FileStamp& shown) const;

    const Competition& s_;
    QLabel* heatMark_;
    QLabel* readyMark_;
    QLabel* roundStamp_;
    QLabel* finalStamp_;
    QLabel* note_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // a burst of notifications is checked once
    QTimer poll_;

    std::map<std::string, FileStamp> roundVersions_;  // the loaded round's heat files as read
    std::map<std::string, FileStamp> finalVersions_;  // final files as read (or first seen)
    std::map<std::string, Note> notes_;               // by file name
    quint64 notesAdded_ = 0;
    // Per round (RoundKey), the file of each floor its last load read.
    std::map<std::string, std::vector<std::string>> roundFiles_;
};
