#include "app/console/programme_list_controller.h"

#include "core/competition/programme_item.h"
#include "app/console/dsp_main_form.h"
#include "ui_dsp_main_form.h"
#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"

ProgrammeListController::ProgrammeListController(DspMain& console)
    : QObject(&console), console_(console) {
    Ui::DspMain& ui = console_.form();
    connect(ui.BitBtn16, &PictureButton::mouseDown, this,
            &ProgrammeListController::BitBtn16MouseDown);
    connect(ui.Image6, &ImageControl::mouseDown, this, &ProgrammeListController::Image6MouseDown);
    connect(ui.ScrollBar1, &QScrollBar::valueChanged, this,
            &ProgrammeListController::ScrollBar1Change);
    connect(ui.BitBtn33, &QPushButton::clicked, this, &ProgrammeListController::BitBtn33Click);
    connect(ui.BitBtn18, &QPushButton::clicked, this, &ProgrammeListController::BitBtn18Click);
}

void ProgrammeListController::BitBtn16MouseDown(Qt::MouseButton button) {
    Competition& s = console_.state();
    if (button == Qt::LeftButton) {
        ProgrammeStepForward(s);
        console_.ShowProgrammeItem();
        console_.FollowProgrammeItem(true);
    } else if (button == Qt::RightButton) {
        ProgrammeStepBack(s);
        console_.ShowProgrammeItem();
        console_.FollowProgrammeItem(false);
    } else {
        console_.DrawProgrammeList();
        console_.ApplyFollowLinks(RefreshFollowLinks(s, console_.form().CheckBox2->isChecked(),
                                                     console_.form().ComboBox1->count()));
    }
}

void ProgrammeListController::Image6MouseDown(Qt::MouseButton, QPoint pos) {
    SelectProgrammeRow(console_.state(), pos.y());
    console_.ShowProgrammeItem();
    console_.FollowProgrammeItem(true);
}

void ProgrammeListController::ScrollBar1Change(int position) {
    // One step is one 20-pixel row of the list bitmap.
    console_.form().Image6->move(console_.form().Image6->x(), -20 * position);
}

void ProgrammeListController::BitBtn33Click() { console_.LoadProgramme(); }

void ProgrammeListController::BitBtn18Click() {
    // The panel's own flag: with the maintenance panel open its parent is hidden, and the list
    // must still flip.
    QWidget* list = console_.form().Panel10;
    list->setVisible(list->isHidden());
}
