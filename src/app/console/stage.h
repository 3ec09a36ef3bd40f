#pragma once
// The drawing surfaces of both windows: the audience window's and the console's previews, the
// title banner and the clock, and the console memo that a new picture clears. It draws from the
// state and changes nothing in it.

#include <QString>
#include <string>

#include "core/competition/competition_state.h"
#include "core/display/renderer.h"

class ImageControl;
class QPlainTextEdit;
class QWidget;
class ScrForm;

struct StageControls {
    QWidget* Panel1 = nullptr;       // the preview's normal panel
    QWidget* PanelW = nullptr;       // the preview's wide panel
    ImageControl* Image1 = nullptr;  // the preview, normal surface
    ImageControl* ImageW = nullptr;  // the preview, wide surface
    ImageControl* Image2 = nullptr;  // the title banner's preview
    ImageControl* Image3 = nullptr;  // the clock's preview
    QPlainTextEdit* Memo1 = nullptr;
};

class Stage : private RendererHost {
  public:
    Stage(const StageControls& controls, const Competition& state);

    void AttachAudience(ScrForm* audience) { audience_ = audience; }
    bool HasAudience() const { return audience_ != nullptr; }
    // Binds the renderer to both windows' surfaces; nothing is drawn before.
    void Bind();
    bool Bound() const { return renderer_.Bound(); }

    // View `type` on the audience screen and the preview (the preview only while held); a new
    // picture other than the result and the award clears the memo.
    void DrawView(int type);
    // View `type` from `state`, drawn ahead on copies of the surfaces and kept in `slot`,
    // nothing shown: the DrawView that draws the same takes the pictures (Renderer::DrawAhead).
    void DrawAhead(int type, const Competition& state, int slot);
    // The pictures kept in `slot` brought up to the surfaces as they are (Renderer::RebaseAhead).
    void RebaseAhead(int slot);
    // The pictures kept in `slot` go into their windows' buffers, the hall's and the preview's,
    // not shown: a step that takes them then only hands their changed parts to the window
    // system. `beside`: in the parts where no picture prepared before waits (the programme step
    // beside the next heat).
    void PrepareAhead(int slot, bool beside = false);
    void DrawAnnouncement(int kind, const std::string& text);
    void DrawTitleBanner();
    void DrawClock(const QString& hhmm);
    void AppendMemoLine(const QString& line);
    // Prepares the texts of the views whose first showing draws many texts never drawn before
    // (the judges), on scratch canvases of the surfaces' sizes: their measures and glyphs are
    // then at hand, and what the surfaces show is not touched.
    void WarmUp();

  private:
    void ShowAudienceSurface(bool wide) override;
    void ShowPreviewSurface(bool wide) override;

    StageControls c_;
    const Competition& s_;
    Renderer renderer_;
    ScrForm* audience_ = nullptr;
};
