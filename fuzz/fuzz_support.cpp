#include "fuzz_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/competition/view_data.h"
#include "core/competition/view_types.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/programme_file.h"
#include "core/display/award_view.h"
#include "core/display/clock_view.h"
#include "core/display/final_result_view.h"
#include "core/display/message_screen.h"
#include "core/display/programme_list.h"
#include "core/display/renderer.h"
#include "core/display/title_banner.h"
#include "core/platform/canvas.h"
#include "core/platform/font_substitution.h"
#include "core/platform/stable_file.h"

namespace {

// Far more steps than any round of the table has: a step that never ends is a fault too.
constexpr int kMaxHeatSteps = kHeatRows * kDances * 4;
// The heat view is drawn for the first steps of a round and at its end; the steps between run
// the same drawing on further rows.
constexpr int kDrawnHeatSteps = 12;

struct Scratch {
    QTemporaryDir dir{QDir::tempPath() + "/trq-fuzz-XXXXXX"};
    std::string path;
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

QString DemoPath(const std::string& name) {
    return QStringLiteral(TRQ_DEMO_DIR "/") + QString::fromStdString(name);
}

QString ScratchPath(const std::string& name) {
    return QString::fromStdString(TheScratch().path + "/" + name);
}

void CopyDemoFolder() {
    Scratch& s = TheScratch();
    if (!s.dir.isValid()) FuzzFailure("scratch folder", __FILE__, __LINE__);
    s.path = QDir(s.dir.path()).canonicalPath().toStdString();
    QDirIterator it(QStringLiteral(TRQ_DEMO_DIR), QDir::Files, QDirIterator::Subdirectories);
    const QDir demo(QStringLiteral(TRQ_DEMO_DIR));
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QString::fromStdString(s.path) + "/" + demo.relativeFilePath(from);
        QDir().mkpath(QFileInfo(to).path());
        if (!QFile::copy(from, to)) FuzzFailure("copy of the demo folder", __FILE__, __LINE__);
    }
}

// The surfaces of both windows at their designed sizes. They live for the whole run, as the
// windows' do, so each drawing inherits the canvas state the one before left.
struct Screens {
    Canvas audienceNormal{1024, 600, "ScrForm.Image9"};
    Canvas previewNormal{512, 300, "DspMain.Image1"};
    Canvas audienceWide{1024, 768, "ScrForm.ImageW"};
    Canvas previewWide{512, 384, "DspMain.ImageW"};
    Canvas audienceBanner{860, 170, "ScrForm.Image3"};
    Canvas previewBanner{430, 84, "DspMain.Image2"};
    Canvas audienceClock{130, 160, "ScrForm.Image2"};
    Canvas previewClock{65, 80, "DspMain.Image3"};
    Canvas resultList{400, 164, "DspMain.Image5"};
    Canvas programmeList{420, 4000, "DspMain.Image6"};
};

Screens& TheScreens() {
    static Screens screens;
    return screens;
}

Renderer BoundRenderer(const Competition& s) {
    Screens& c = TheScreens();
    Renderer r(s);
    r.Bind({&c.audienceNormal, &c.previewNormal, &c.audienceWide, &c.previewWide}, nullptr);
    return r;
}

}  // namespace

void StepRound(Competition& s, bool drawn) {
    const RoundLoad load = LoadRound(s);
    if (!load.loaded) return;
    if (drawn) DrawView(s, kViewHeat);
    int steps = 0;
    for (; steps < kMaxHeatSteps && NextHeat(s).redraw; ++steps) {
        if (drawn && steps < kDrawnHeatSteps) DrawView(s, kViewHeat);
    }
    FUZZ_CHECK(steps < kMaxHeatSteps);
    if (drawn) DrawView(s, kViewHeat);
    for (steps = 0; steps < kMaxHeatSteps && PreviousHeat(s).redraw; ++steps) {
    }
    FUZZ_CHECK(steps < kMaxHeatSteps);
    if (drawn) DrawView(s, kViewFinalists);
}

void FuzzFailure(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::fflush(stderr);
    std::abort();
}

void InitFuzzing() {
    static int argc = 1;
    static char name[] = "trq_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    InstallFontSubstitutions();
    CopyDemoFolder();
}

const std::string& ScratchFolder() { return TheScratch().path; }

void WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) FuzzFailure("scratch file", __FILE__, __LINE__);
    if (size > 0 && std::fwrite(data, 1, size, f) != size) {
        FuzzFailure("scratch file write", __FILE__, __LINE__);
    }
    std::fclose(f);
    // Each input is a whole file of its own, whatever the one before held (an empty file after
    // one with content would be taken for one being rewritten).
    ForgetFile(path);
}

void RestoreDemoFile(const std::string& name) {
    QFile::remove(ScratchPath(name));
    if (QFile::exists(DemoPath(name)) && !QFile::copy(DemoPath(name), ScratchPath(name))) {
        FuzzFailure("restoring a demo file", __FILE__, __LINE__);
    }
}

const Competition& DemoCompetition() {
    static const std::unique_ptr<Competition> demo = [] {
        auto s = std::make_unique<Competition>();
        s->ProgramFolder = ScratchFolder();
        s->DataFolder = ScratchFolder();
        LoadDisplayConfig(s->DataFolder, *s);
        LoadEntries(s->DataFolder, *s);
        LoadEvents(s->DataFolder, *s);
        ReadProgramme(s->DataFolder, *s);
        FillResultList(*s, false);
        return s;
    }();
    return *demo;
}

void WalkProgramme(Competition& s, int drawnRounds) {
    s.CurrentProgrammeIndex = 0;
    int items = 0;
    do {
        ShowProgrammeItem(s);
        // With the heat view up, the follow reloads the round as the console does.
        s.CurrentView = kViewHeat;
        PlanFollowProgrammeItem(s, true, true);
        StepRound(s, items < drawnRounds);
        ++items;
    } while (items <= kProgrammeRows && ProgrammeStepForward(s));
    FUZZ_CHECK(items <= kProgrammeRows + 1);
    while (ProgrammeStepBack(s)) {
        ShowProgrammeItem(s);
        PlanFollowProgrammeItem(s, false, false);
    }
}

void DrawView(Competition& s, int type) {
    // As a command shows a view: what it needs read first, its effects after.
    ReadViewInputs(s, type);
    BoundRenderer(s).RenderView(type);
    ApplyViewEffects(s, type);
}

void RunAwardSequence(Competition& s, RevealOrder order) {
    s.Reveal = order;
    DrawView(s, kViewFinalResult);
    s.AwardReady = 1;
    s.HeatIndex = 0;
    // One press more than the rows read, so a sequence that runs past its end shows.
    const int presses = std::clamp(s.ResultRowCount, 0, kResultRows) + 1;
    for (int step = 0; step < presses; ++step) {
        DrawView(s, kViewAward);
        if (InvalidAwardNumber(s)) break;
        s.HeatIndex += 1;
    }
    DrawResultList(s, TheScreens().resultList);
}

void ShowFinals(Competition& s, int maxFinals) {
    constexpr RevealOrder kOrders[] = {RevealOrder::Together, RevealOrder::Upward,
                                       RevealOrder::Downward};
    int shown = 0;
    for (int k = 0; k < s.EventCount && k < kEventRows && shown < maxFinals; ++k) {
        if (!s.EventTable[k].IsFinal()) continue;
        s.CurrentEventIndex = k;
        for (const int floorB : {0, 1}) {
            s.SecondFloorFinal = floorB;
            DrawView(s, kViewFinalists);
        }
        FillResultList(s, false);
        s.ResultListRow = ResultListRowOf(s, s.EventTable[k].Category(), kResultListRows);
        s.AltResultLayout = shown % 2;
        RunAwardSequence(s, kOrders[shown % 3]);
        ++shown;
    }
}

void DrawEverything(Competition& s) {
    Screens& c = TheScreens();
    for (int type = kViewClean; type <= kViewProgressMessage; ++type) DrawView(s, type);
    Renderer renderer = BoundRenderer(s);
    ShowMessageScreen(s, renderer, kMessageFree, s.EventNameAt(0));
    DrawTitleBanner(s, c.audienceBanner, c.previewBanner);
    DrawClock(ClockMinuteText(QTime(23, 59)), c.audienceClock, c.previewClock);
    DrawProgrammeList(s, c.programmeList);
    DrawResultList(s, c.resultList);
}

int CountLineEnds(const uint8_t* data, size_t size) {
    return static_cast<int>(std::count(data, data + size, uint8_t{'\n'}));
}
