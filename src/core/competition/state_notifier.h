#pragma once
// The announcements of the competition state: every operator command says what it changed, and
// whatever shows that part of the state (the console's areas, the on-air line, the web) follows
// the announcement instead of being called one by one or looking now and then.

#include <QFlags>
#include <QObject>
#include <QString>
#include <vector>

#include "core/platform/file_read_recorder.h"

enum class StateChange : quint32 {
    View = 1u << 0,          // a view was drawn: CurrentView says which
    Announcement = 1u << 1,  // an announcement screen was drawn (CurrentView stays)
    // The operator flags shown as Yes / No on the console.
    HoldFlag = 1u << 2,
    SingleItemFlag = 1u << 3,
    ClockFlag = 1u << 4,
    LastDanceFlag = 1u << 5,
    DanceNameFlag = 1u << 6,
    ProgrammeItem = 1u << 7,     // item CurrentProgrammeIndex was made current
    ProgrammeList = 1u << 8,     // the progress list is to be drawn again
    Programme = 1u << 9,         // pgm.txt was read
    Round = 1u << 10,            // a round was loaded: its dances, heats and RoundMarks
    HeatsFigure = 1u << 11,      // the heats figure of the loaded round is to be shown again
    RoundShuffle = 1u << 12,     // CurrentRoundShuffled was looked up
    ResultRow = 1u << 13,        // the program chose ResultListRow (a final followed)
    ResultList = 1u << 14,       // the result-category list was filled, its first row chosen
    ResultListReset = 1u << 15,  // Data Reset's rows were put into the list, none chosen
    Config = 1u << 16,           // Conf.txt was read: title lines and the window's left
    Events = 1u << 17,           // seqdat.csv was read
    ScreenOffsets = 1u << 18,    // the audience window's left or top changed
    TablesReloaded = 1u << 19,   // a Data Reset has read every table again
};
Q_DECLARE_FLAGS(StateChanges, StateChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(StateChanges)

// What one command's reads of the data folder found, for the console's file note and update
// marks.
struct FileReport {
    enum class Kind {
        Tables,       // Conf.txt, Mem.csv, seqdat.csv, pgm.txt
        Round,        // the heat files of a round load (loaded or found unreadable)
        FinalResult,  // the final file that Ready read (read: drawn; else nothing drawn)
    };
    Kind kind = Kind::Tables;
    std::vector<FileRead> reads;
    bool loaded = false;      // Round: the round was read; FinalResult: the file was read
    bool unreadable = false;  // Round: a heat file could not be read, nothing changed
};

class StateNotifier : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    void Announce(StateChanges what) { emit changed(what); }
    void Report(const FileReport& report) { emit filesRead(report); }
    // A command that did nothing says why (one of the NothingDone texts).
    void Explain(const char* reason) { emit nothingDone(QString::fromUtf8(reason)); }

  signals:
    void changed(StateChanges what);
    void filesRead(const FileReport& report);
    void nothingDone(const QString& reason);
};
