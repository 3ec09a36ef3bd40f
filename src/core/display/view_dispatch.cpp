#include "core/competition/view_types.h"
#include "core/display/award_view.h"
#include "core/display/clean_view.h"
#include "core/display/final_result_view.h"
#include "core/display/finalists_view.h"
#include "core/display/heat_view.h"
#include "core/display/judges_view.h"
#include "core/display/progress_message_view.h"
#include "core/display/renderer.h"
#include "core/display/welcome_view.h"

void DrawViewType(int type, const Competition& s, RenderTarget& t) {
    switch (type) {
        case kViewClean:
            ClearTarget(s, t);
            break;
        case kViewWelcome:
            DrawWelcomeView(s, t);
            break;
        case kViewJudges:
            DrawJudgesView(s, t);
            break;
        case kViewHeat:
            DrawHeatView(s, t);
            break;
        case kViewFinalists:
            DrawHeatListView(s, t);
            break;
        case kViewFinalResult:
            DrawFinalResultView(s, t);
            break;
        case kViewAward:
            DrawAwardView(s, t);
            break;
        case kViewProgressMessage:
            DrawProgressMessageView(s, t);
            break;
        default:
            break;
    }
}
