#include "display/renderer.h"
#include "display/view_types.h"
#include "display/welcome_view.h"

void DrawViewType(int type, Competition& s, RenderTarget& t) {
    switch (type) {
        case kViewClean:
            ClearTarget(s, t);
            break;
        case kViewWelcome:
            DrawWelcomeView(s, t);
            break;
        default:
            break;
    }
}
