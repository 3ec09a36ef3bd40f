#pragma once
// The one entry point of every audience picture: RenderView draws a view type at full size on the
// audience screen and at half size into the console preview (only the preview while the screen is
// held), switching between the normal and the wide surface. It only draws: the command that asks
// for a picture reads its files first and applies its effects after (view_data.h).

#include <functional>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"

// The windows' side of the renderer: which surface panels are visible.
class RendererHost {
  public:
    virtual ~RendererHost() = default;
    // Audience window: wide shows PanelW and hides Panel5 and Panel1; normal the reverse.
    virtual void ShowAudienceSurface(bool wide) = 0;
    // Console: wide shows PanelW and hides Panel1; normal the reverse.
    virtual void ShowPreviewSurface(bool wide) = 0;
};

struct Surfaces {
    Canvas* audienceNormal = nullptr;  // ScrForm.Image9
    Canvas* previewNormal = nullptr;   // DspMain.Image1
    Canvas* audienceWide = nullptr;    // ScrForm.ImageW
    Canvas* previewWide = nullptr;     // DspMain.ImageW
};

class Renderer {
  public:
    explicit Renderer(const Competition& state) : state_(state) {}

    void Bind(const Surfaces& surfaces, RendererHost* host);
    bool Bound() const { return surfaces_.audienceNormal != nullptr; }

    // `hallDrawn`, when given, runs once: after the audience's pass and before the preview's,
    // so the hall's picture goes to its window first (after the preview's while the screen is
    // held: the hall's picture does not change then). When the audience's pass takes a picture
    // drawn ahead, the preview takes its copy of the same round without drawing its pass
    // (Canvas::TakeAheadAlike): a view draws the same at both scales, only its geometry scaled.
    void RenderView(int type, const std::function<void()>& hallDrawn = {});
    // View `type` as RenderView would draw it from `state` (the state as it is now, or as a
    // command would leave it), drawn on copies of the surfaces it would draw on and kept with
    // them in `slot` (Canvas::KeepAhead): what the windows show is not touched, and the
    // RenderView that draws the same takes these pictures.
    void DrawAhead(int type, const Competition& state, int slot);
    // The pictures drawn ahead in `slot` brought up to the surfaces as they are
    // (Canvas::RebaseAhead).
    void RebaseAhead(int slot);

    // The two passes on the normal surfaces for pictures that are not view types (the
    // announcement screens): draw(target) runs once per pass.
    void DrawOnNormalSurfaces(const std::function<void(RenderTarget&)>& draw);

    const Surfaces& surfaces() const { return surfaces_; }

  private:
    // Both passes (the preview only while held) on the wide or the normal surfaces.
    void RunPasses(bool wide, const std::function<void(RenderTarget&)>& draw,
                   const std::function<void()>& hallDrawn = {});
    Canvas* PassCanvas(bool wide, bool audience) const;

    const Competition& state_;
    Surfaces surfaces_;
    RendererHost* host_ = nullptr;
};

// The drawing routine of a view type; a type outside 0-7 draws nothing.
void DrawViewType(int type, const Competition& s, RenderTarget& t);
