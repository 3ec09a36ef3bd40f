#pragma once
// The progress list on the console: programme moves with BitBtn16 and the mouse, scrolling,
// rereading pgm.txt, and showing or hiding the list over the award section. The list follows the
// programme and its current item as the commands announce them.

#include <QObject>
#include <QPoint>
#include <optional>

#include "app/console/operator_commands.h"
#include "core/display/programme_list.h"

class ImageControl;
class QImage;
class PictureButton;
class QScrollBar;
class ScrollBarLook;
class QWidget;

struct ProgrammeListControls {
    PictureButton* BitBtn16;  // programme (+/-)
    ImageControl* Image6;     // the list bitmap
    QScrollBar* ScrollBar1;
    PictureButton* BitBtn33;  // PGM.txt
    PictureButton* BitBtn18;  // <-Award
    QWidget* Panel10;         // the list's panel over the award section
};

class ProgrammeListController : public QObject {
    Q_OBJECT
  public:
    ProgrammeListController(const ProgrammeListControls& controls, const Competition& state,
                            OperatorCommands& commands, QObject* parent);

    void BitBtn16MouseDown(Qt::MouseButton button);
    void Image6MouseDown(Qt::MouseButton button, QPoint pos);
    void ScrollBar1Change(int position);
    void BitBtn33Click();
    void BitBtn18Click();
    // Draws ahead the list as `next` will show it (a programme step's state), for the step to
    // take instead of drawing it. The bitmap drawn ahead (null when none is kept), and in `top`
    // the list's place then.
    const QImage* PaintAhead(const Competition& next, int* top);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StateChanged(StateChanges what);
    // A new programme: the list bitmap drawn anew and the scroll range for its items.
    void ShowProgramme();
    void Redraw();

    ProgrammeListControls c_;
    const Competition& s_;
    OperatorCommands& commands_;
    // What the list drawn ahead shows.
    std::optional<ProgrammeListInputs> ahead_;
    // What the list's bitmap shows.
    std::optional<ProgrammeListInputs> shown_;
    // The scroll bar as the next item leaves it, painted ahead.
    ScrollBarLook* barLook_;
};
