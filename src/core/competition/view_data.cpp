#include "core/competition/view_data.h"

#include "core/competition/result_list.h"
#include "core/competition/view_types.h"
#include "core/data/data_file_names.h"
#include "core/data/final_file.h"
#include "core/data/heat_files.h"
#include "core/platform/data_file.h"
#include "core/platform/file_read_recorder.h"

bool ReadFinalists(Competition& s) {
    const std::string name = FinalistsFileName(s.CurrentEvent(), s.SecondFloorFinal == 1);
    if (name.empty()) {
        s.FinalistsLine = {};
        return true;
    }
    const FileReadRecorder reads;
    const HeatLine line = ReadHeatLine(DataFilePath(s.DataFolder, name));
    // A missing file shows no finalists; one there but not readable now must not show a part.
    const bool missing =
        !reads.Reads().empty() && reads.Reads().back().failure == ReadFailure::Missing;
    if (!reads.AllRead() && !missing) return false;
    s.FinalistsLine = line;
    return true;
}

bool ReadFinalResult(Competition& s) {
    const int category = ResultListCategory(s, s.ResultListRow);
    if (category <= 0) {
        s.LastFinalRead = {};
        return true;
    }
    // Read aside first: a file that cannot be read leaves the table and the last read as they
    // were.
    ResultTables read = s;
    if (!LoadFinalFile(s.DataFolder, category, s.Config.Mod, read)) return false;
    static_cast<ResultTables&>(s) = read;
    return true;
}

bool ReadViewInputs(Competition& s, int type) {
    if (type == kViewFinalists) return ReadFinalists(s);
    if (type == kViewFinalResult) ReadFinalResult(s);
    return true;
}

void ApplyViewEffects(Competition& s, int type) {
    s.CurrentView = type;
    const bool header = type == kViewJudges || type == kViewHeat || type == kViewFinalists ||
                        (type == kViewFinalResult && s.AltResultLayout == 0);
    if (header) s.AwardReady = 0;
}
