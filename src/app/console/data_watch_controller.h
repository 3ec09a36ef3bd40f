#pragma once
// The data folder as the console sees it while the scoring system writes it, possibly over a
// network share that drops: a one-line note names the files that could not be read (since when),
// the round and the award section show when the files behind them were last changed, and "更新"
// marks Heat or Ready when those files change. Nothing on the audience screen changes by itself:
// the operator's next press takes the new data.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTime>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/competition/competition_state.h"
#include "core/competition/progress.h"
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
    DataWatchController(const DataWatchControls& controls, Competition& state, QObject* parent);

    // An operation read data files: the note gains those it could not read and loses those it
    // read.
    void NoteReads(const FileReadRecorder& reads);
    // The round load of Heat and the event chooser; nothing changes when a heat file cannot be
    // read.
    RoundLoad LoadRound();
    // A round load (or its attempt) that a programme move or the hold's release made.
    void NoteRoundLoad(const FileReadRecorder& reads, bool loaded, bool unreadable);
    // Ready's picture: when the chosen category's final file can be read, draw() runs and the award
    // section shows the file's time; else the file is noted and nothing is drawn (false).
    bool ShowFinalResult(const std::function<void()>& draw);
    // False before a round was read and after the round asked for could not be read: the heat
    // view would show other heats, or none, under the current event's header.
    bool HeatViewReady() const { return roundReady_; }

    // Compares the files behind the loaded round and the chosen final with the versions read;
    // runs on the folder's notifications and on a slow poll (network shares send none).
    void CheckFolder();

  private:
    struct Unread {
        ReadFailure failure;
        QTime since;
    };

    QLabel* NewLabel(QWidget* parent, const char* name, const QRect& geometry);
    QLabel* NewMark(QWidget* button, const char* name);
    std::string FileName(const std::string& path) const;
    std::string FinalFileName() const;
    void ShowNote();
    void Watch(const std::vector<std::string>& names);
    bool Changed(const std::string& name, const FileStamp& shown) const;

    Competition& s_;
    QLabel* heatMark_;
    QLabel* readyMark_;
    QLabel* roundStamp_;
    QLabel* finalStamp_;
    QLabel* note_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // a burst of notifications is checked once
    QTimer poll_;

    bool roundReady_ = false;
    std::map<std::string, FileStamp> roundVersions_;  // the loaded round's heat files as read
    std::map<std::string, FileStamp> finalVersions_;  // final files as read (or first seen)
    std::map<std::string, Unread> unread_;
};
