#include "core/display/renderer.h"

#include "core/competition/view_types.h"

void Renderer::Bind(const Surfaces& surfaces, RendererHost* host) {
    surfaces_ = surfaces;
    host_ = host;
}

void Renderer::RenderView(int type, const std::function<void()>& hallDrawn) {
    RunPasses(
        type == kViewHeat, [&](RenderTarget& t) { DrawViewType(type, state_, t); }, hallDrawn);
}

void Renderer::DrawOnNormalSurfaces(const std::function<void(RenderTarget&)>& draw) {
    RunPasses(false, draw);
}

Canvas* Renderer::PassCanvas(bool wide, bool audience) const {
    if (wide) return audience ? surfaces_.audienceWide : surfaces_.previewWide;
    return audience ? surfaces_.audienceNormal : surfaces_.previewNormal;
}

void Renderer::RunPasses(bool wide, const std::function<void(RenderTarget&)>& draw,
                         const std::function<void()>& hallDrawn) {
    if (!Bound()) return;
    if (host_ != nullptr) {
        if (!state_.HoldScreen) host_->ShowAudienceSurface(wide);
        host_->ShowPreviewSurface(wide);
    }
    // The audience pass is skipped while the screen is held: only the preview follows.
    for (int pass = state_.HoldScreen ? 1 : 0; pass < 2; ++pass) {
        const bool audience = pass == 0;
        RenderTarget t;
        t.canvas = PassCanvas(wide, audience);
        t.scale = audience ? 1.0 : 0.5;
        // The hall's pass drew what was drawn ahead: the same drawing of the same inputs at
        // half the size is the preview's copy of that round, taken without drawing it again.
        if (audience || state_.HoldScreen || !t.canvas->TakeAheadAlike(*PassCanvas(wide, true))) {
            CanvasPass painting(*t.canvas);
            draw(t);
        }
        if ((audience || state_.HoldScreen) && hallDrawn) hallDrawn();
    }
}

void Renderer::RebaseAhead(int slot) {
    if (!Bound()) return;
    for (Canvas* surface : {surfaces_.audienceNormal, surfaces_.audienceWide,
                            surfaces_.previewNormal, surfaces_.previewWide}) {
        if (surface != nullptr) surface->RebaseAhead(slot);
    }
}

void Renderer::DrawAhead(int type, const Competition& state, int slot) {
    if (!Bound()) return;
    const bool wide = type == kViewHeat;
    Canvas::BeginAheadRound();
    for (int pass = state.HoldScreen ? 1 : 0; pass < 2; ++pass) {
        const bool audience = pass == 0;
        Canvas& surface = *PassCanvas(wide, audience);
        Canvas copy = surface.AheadCopy();
        RenderTarget t;
        t.canvas = &copy;
        t.scale = audience ? 1.0 : 0.5;
        {
            CanvasPass painting(copy);
            DrawViewType(type, state, t);
        }
        surface.KeepAhead(std::move(copy), slot);
    }
}
