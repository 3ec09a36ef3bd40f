#include "app/audience/scr_form.h"

#include <QFile>

#include "app/widgets/image_control.h"
#include "app/widgets/widget_colors.h"
#include "core/platform/data_file.h"
#include "ui_scr_form.h"

ScrForm::ScrForm(const std::string& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::ScrForm>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("ScrForm"));
    setWindowTitle(QString());
    for (ImageControl* image : findChildren<ImageControl*>()) {
        image->SetCanvasName(QStringLiteral("ScrForm.") + image->objectName());
    }
    ui->PanelW->hide();
    ui->PanelW->move(0, 0);
    ui->ImageW->move(0, 0);
    ui->Image9->move(0, 0);
    ui->Panel5->move(0, 170);
    ui->Image3->move(150, 0);
    ui->Panel2->move(8, 3);
    SetColors(ui->Panel1, Qt::black, Qt::white);

    logo_ = ImageControl::BuiltInLogo();
    const std::string path = programFolder + kPathSeparator + "_GRF.bmp";
    QImage file;
    if (IsRegularFile(path) && file.load(DecodePath(path))) {
        logo_ = file;
        hasLogoFile_ = true;
        ui->Panel2->hide();
        ui->Image1->show();
    }
    ui->Image1->SetPicture(logo_);
}

ScrForm::~ScrForm() = default;

Canvas& ScrForm::NormalSurface() { return ui->Image9->canvas(); }
Canvas& ScrForm::WideSurface() { return ui->ImageW->canvas(); }
Canvas& ScrForm::BannerSurface() { return ui->Image3->canvas(); }
Canvas& ScrForm::ClockSurface() { return ui->Image2->canvas(); }

void ScrForm::ShowWide(bool wide) {
    ui->PanelW->setVisible(wide);
    ui->Panel5->setVisible(!wide);
    ui->Panel1->setVisible(!wide);
    if (wide) ui->PanelW->raise();
}

void ScrForm::RefreshSurfaces() {
    ui->Image9->update();
    ui->ImageW->update();
    ui->Image3->update();
    ui->Image2->update();
}

void ScrForm::ShowClock(bool shown) {
    ui->Image1->setVisible(!shown);
    ui->Panel2->setVisible(shown);
}
