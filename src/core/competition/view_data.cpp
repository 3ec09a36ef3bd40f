#include "core/competition/view_data.h"

#include "core/competition/result_list.h"
#include "core/competition/view_types.h"
#include "core/data/data_file_names.h"
#include "core/data/final_file.h"
#include "core/data/heat_files.h"
#include "core/platform/data_file.h"

void ReadFinalists(Competition& s) {
    const std::string name = FinalistsFileName(s.CurrentEvent(), s.SecondFloorFinal == 1);
    s.FinalistsLine = name.empty() ? HeatLine{} : ReadHeatLine(DataFilePath(s.DataFolder, name));
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

void ReadViewInputs(Competition& s, int type) {
    if (type == kViewFinalists) ReadFinalists(s);
    if (type == kViewFinalResult) ReadFinalResult(s);
}

void ApplyViewEffects(Competition& s, int type) {
    s.CurrentView = type;
    const bool header = type == kViewJudges || type == kViewHeat || type == kViewFinalists ||
                        (type == kViewFinalResult && s.AltResultLayout == 0);
    if (header) s.AwardReady = 0;
}
