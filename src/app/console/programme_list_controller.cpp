#include "app/console/programme_list_controller.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <algorithm>

#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/scroll_bar_look.h"
#include "core/competition/programme_item.h"
#include "core/display/programme_list.h"

namespace {

// The list bitmap: the programme's rows and, below a short programme, the empty rows the panel
// shows (15), so everything the list can show at any scroll position. The control
// keeps its size; a drawing below the bitmap is left out.
int ListBitmapHeight(int items) { return 20 * (std::max(items, 15) + 1) + 1; }

// The list's canvas keeps one list drawn ahead: the next programme item's.
constexpr int kAheadSlot = 0;

}  // namespace

ProgrammeListController::ProgrammeListController(const ProgrammeListControls& controls,
                                                 const Competition& state,
                                                 OperatorCommands& commands, QObject* parent)
    : QObject(parent),
      c_(controls),
      s_(state),
      commands_(commands),
      barLook_(new ScrollBarLook(c_.ScrollBar1)) {
    connect(c_.BitBtn16, &PictureButton::mouseDown, this,
            &ProgrammeListController::BitBtn16MouseDown);
    connect(c_.Image6, &ImageControl::mouseDown, this, &ProgrammeListController::Image6MouseDown);
    connect(c_.ScrollBar1, &QScrollBar::valueChanged, this,
            &ProgrammeListController::ScrollBar1Change);
    connect(c_.BitBtn33, &QPushButton::clicked, this, &ProgrammeListController::BitBtn33Click);
    connect(c_.BitBtn18, &QPushButton::clicked, this, &ProgrammeListController::BitBtn18Click);
    connect(&commands_.Notifier(), &StateNotifier::changed, this,
            &ProgrammeListController::StateChanged);
    // The wheel anywhere over the list scrolls it, as over its scroll bar.
    c_.Image6->installEventFilter(this);
    c_.Image6->parentWidget()->installEventFilter(this);
}

bool ProgrammeListController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(c_.ScrollBar1, event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ProgrammeListController::StateChanged(StateChanges what) {
    if (what.testFlag(StateChange::Programme)) ShowProgramme();
    if (what.testFlag(StateChange::ProgrammeList)) Redraw();
    if (what.testFlag(StateChange::ProgrammeItem)) {
        c_.ScrollBar1->setValue(ProgrammeItemLabelsOf(s_).scrollPosition);
    }
}

void ProgrammeListController::BitBtn16MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        commands_.ProgrammeStep(button == Qt::LeftButton);
    } else {
        commands_.RefreshProgrammeLinks();
    }
}

void ProgrammeListController::Image6MouseDown(Qt::MouseButton, QPoint pos) {
    commands_.SelectProgrammeItemAt(pos.y());
}

void ProgrammeListController::ScrollBar1Change(int position) {
    // One step is one 20-pixel row of the list bitmap.
    c_.Image6->move(c_.Image6->x(), -20 * position);
}

void ProgrammeListController::BitBtn33Click() { commands_.ReloadProgramme(); }

void ProgrammeListController::BitBtn18Click() {
    // The panel's own flag: with the maintenance panel open its parent is hidden, and the list
    // must still flip.
    c_.Panel10->setVisible(c_.Panel10->isHidden());
}

void ProgrammeListController::ShowProgramme() {
    c_.Image6->move(4, 0);
    Redraw();
    c_.ScrollBar1->setMaximum(std::max(0, s_.ProgrammeCount - 15));
}

void ProgrammeListController::Redraw() {
    const int height = ListBitmapHeight(s_.ProgrammeCount);
    const bool fresh = c_.Image6->canvas().Height() != height || !c_.Image6->HasFixedBitmap();
    if (fresh) c_.Image6->SetBitmapSize(420, height);
    ProgrammeListInputs list = ProgrammeListInputsOf(s_);
    Canvas& canvas = c_.Image6->canvas();
    // The list as the bitmap shows it already is not drawn again (a heat step that follows the
    // item, the links' refresh), and the next item's list drawn ahead over it stays. A recording
    // has every drawing.
    if (!fresh && !canvas.Recording() && shown_ == list) return;
    // The list drawn ahead is taken if it shows the same and was drawn over the bitmap as it is.
    if (ahead_ != list || !canvas.TakeAhead(kAheadSlot)) DrawProgrammeList(list, canvas);
    ahead_.reset();
    shown_ = std::move(list);
    c_.Image6->update();
}

const QImage* ProgrammeListController::PaintAhead(const Competition& next, int* top) {
    Canvas& canvas = c_.Image6->canvas();
    if (canvas.Recording() || !c_.Image6->HasFixedBitmap() ||
        canvas.Height() != ListBitmapHeight(next.ProgrammeCount)) {
        ahead_.reset();
        return nullptr;
    }
    ProgrammeListInputs list = ProgrammeListInputsOf(next);
    // A list drawn ahead of the same inputs over the bitmap as it is stays (the heats past a
    // round's end prepare the same programme step again and again).
    if (ahead_ != list || std::as_const(canvas).AheadPicture(kAheadSlot, nullptr) == nullptr) {
        Canvas copy = canvas.AheadCopy();
        DrawProgrammeList(list, copy);
        canvas.KeepAhead(std::move(copy), kAheadSlot);
        ahead_ = std::move(list);
    }
    // Scrolled as StateChanged scrolls it to the new item.
    const QScrollBar& bar = *c_.ScrollBar1;
    const int position =
        std::clamp(ProgrammeItemLabelsOf(next).scrollPosition, bar.minimum(), bar.maximum());
    barLook_->Prepare(position);
    *top = -20 * position;
    return std::as_const(canvas).AheadPicture(kAheadSlot, nullptr);
}
