// The pictures of the demo day as the hall and the preview show them, step by step through both
// demo rehearsals: no text cell covers another, none is taller than the design fonts', none leaves
// its surface; and the result's header names the category of the result shown.
#include <QtTest>
#include <map>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/rehearsal/control_driver.h"
#include "app/rehearsal/script.h"
#include "app/widgets/image_control.h"
#include "core/competition/result_list.h"
#include "core/competition/view_types.h"
#include "core/platform/cp932.h"
#include "core/platform/data_file.h"
#include "support/picture_checks.h"

namespace {

QString DemoFile(const char* name) {
    return qEnvironmentVariable("TRQ_SOURCE_DIR") + QStringLiteral("/data/demo/") +
           QLatin1String(name);
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT
  private slots:
    void demoDay_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("alternate");
        QTest::newRow("standard layouts") << DemoFile("rehearsal.txt") << false;
        QTest::newRow("alternate result layouts") << DemoFile("rehearsal-alt.txt") << true;
    }

    void demoDay() {
        QFETCH(QString, script);
        QFETCH(bool, alternate);
        Hooks().showMessage = [](const QString&, const QString&) {};
        StartOptions options;
        options.dataFolder = EncodePath(DemoFile(""));
        options.markerPath = alternate ? EncodePath(script) : "/nonexistent/Tamik";
        AppWindows windows = CreateWindows(options);
        windows.console->show();
        windows.console->FormActivate();

        struct Surface {
            Canvas* canvas;
            QSize size;
            std::vector<DrawRecord> picture;  // the records since its last clear
        };
        const auto image = [&](const char* name) {
            return &windows.console->findChild<ImageControl*>(QLatin1String(name))->canvas();
        };
        std::vector<Surface> surfaces{
            {&windows.audience->NormalSurface(), QSize(1024, 600), {}},
            {&windows.audience->WideSurface(), QSize(1024, 768), {}},
            {image("Image1"), QSize(512, 300), {}},
            {image("ImageW"), QSize(512, 384), {}},
        };
        for (Surface& s : surfaces) s.canvas->SetRecording(true);

        QFile file(script);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const Script actions = ParseScript(file.readAll());
        QVERIFY(!actions.error);
        ControlDriver driver(
            windows.console.get(), windows.audience.get(), [](QTime) {}, [] {});
        const Competition& state = *windows.state;
        int results = 0;
        for (const ScriptAction& action : actions.actions) {
            if (action.name == "BitBtn30") continue;
            QVERIFY2(driver.Perform(action).isEmpty(), qPrintable(action.name));
            for (Surface& s : surfaces) {
                for (DrawRecord& r : s.canvas->TakeRecords()) s.picture.push_back(std::move(r));
                const std::vector<DrawRecord> texts = LastPictureTexts(s.picture, s.size.width());
                const QStringList faults = PictureFaults(texts, s.size);
                const QString where =
                    QStringLiteral("line %1, %2: ").arg(action.line).arg(s.canvas->Name());
                QVERIFY2(faults.isEmpty(), qPrintable(where + faults.join(QLatin1Char('\n'))));
            }
            // The standard result names the category of the result on the screen.
            if (state.CurrentView == kViewFinalResult && !alternate) {
                const int category = ResultListCategory(state, state.ResultListRow);
                const QString name = FromCp932(state.CategoryNameAt(category - 1));
                const auto texts = LastPictureTexts(surfaces[0].picture, 1024);
                const bool named = std::any_of(texts.begin(), texts.end(), [&](const auto& r) {
                    return r.y < 60 && r.text.trimmed() == name;
                });
                QVERIFY2(named, qPrintable(name));
                ++results;
            }
        }
        QVERIFY(alternate || results > 5);
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
