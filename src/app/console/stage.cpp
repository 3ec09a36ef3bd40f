#include "app/console/stage.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "app/audience/scr_form.h"
#include "app/widgets/image_control.h"
#include "core/competition/view_types.h"
#include "core/display/clock_view.h"
#include "core/display/message_screen.h"
#include "core/display/title_banner.h"

Stage::Stage(const StageControls& controls, const Competition& state)
    : c_(controls), s_(state), renderer_(state) {
    // The previews' pictures prepared for a step go to the window system with the console's
    // other changes of that step, after the hall's.
    for (ImageControl* preview : {c_.Image1, c_.ImageW}) preview->SetPreparedShownWithWindow(true);
}

void Stage::Bind() {
    if (audience_ == nullptr) return;
    renderer_.Bind({&audience_->NormalSurface(), &c_.Image1->canvas(), &audience_->WideSurface(),
                    &c_.ImageW->canvas()},
                   this);
}

void Stage::DrawView(int type) {
    if (!Bound()) return;
    // The hall's picture goes to its window before the preview is drawn.
    renderer_.RenderView(type, [this] { audience_->RefreshSurfaces(); });
    // Clearing an empty memo still lays out its document again.
    if (type != kViewFinalResult && type != kViewAward && !c_.Memo1->document()->isEmpty()) {
        c_.Memo1->clear();
    }
    c_.Image1->UpdateIfDrawn();
    c_.ImageW->UpdateIfDrawn();
}

void Stage::DrawAhead(int type, const Competition& state, int slot) {
    if (Bound()) renderer_.DrawAhead(type, state, slot);
}

void Stage::RebaseAhead(int slot) {
    if (Bound()) renderer_.RebaseAhead(slot);
}

void Stage::PrepareAhead(int slot, bool beside) {
    if (audience_ != nullptr) audience_->PrepareAhead(slot, beside);
    for (ImageControl* preview : {c_.Image1, c_.ImageW}) preview->PrepareAhead(slot, beside);
}

void Stage::DrawAnnouncement(int kind, const std::string& text) {
    if (!Bound()) return;
    ShowMessageScreen(s_, renderer_, kind, text);
    c_.Image1->UpdateIfDrawn();
    audience_->RefreshSurfaces();
}

void Stage::DrawTitleBanner() {
    if (audience_ == nullptr) return;
    ::DrawTitleBanner(s_, audience_->BannerSurface(), c_.Image2->canvas());
    c_.Image2->update();
    audience_->RefreshSurfaces();
}

void Stage::DrawClock(const QString& hhmm) {
    if (audience_ == nullptr) return;
    ::DrawClock(hhmm, audience_->ClockSurface(), c_.Image3->canvas());
    c_.Image3->update();
    audience_->RefreshSurfaces();
}

void Stage::WarmUp() {
    if (!Bound()) return;
    const Surfaces& surfaces = renderer_.surfaces();
    for (const bool audience : {true, false}) {
        const Canvas& real = audience ? *surfaces.audienceNormal : *surfaces.previewNormal;
        Canvas scratch(real.Width(), real.Height(), QString());
        scratch.Resize(real.Width(), real.Height(), real.DeviceScale());
        scratch.SetWarmingOnly(true);
        RenderTarget t{&scratch, audience ? 1.0 : 0.5};
        const CanvasPass painting(scratch);
        DrawViewType(kViewJudges, s_, t);
    }
}

void Stage::AppendMemoLine(const QString& line) { c_.Memo1->appendPlainText(line); }

void Stage::ShowAudienceSurface(bool wide) { audience_->ShowWide(wide); }

void Stage::ShowPreviewSurface(bool wide) {
    if (c_.Panel1->isHidden() == !wide) c_.Panel1->setVisible(!wide);
    if (c_.PanelW->isHidden() == wide) c_.PanelW->setVisible(wide);
}
