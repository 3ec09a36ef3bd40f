// Every view of a competition with names of real length (seven-character judges' names with
// notes, long couple names and clubs, ten finalists, ten result rows, one-digit back numbers on
// two floors), in both result layouts, drawn for the hall (at the design size and at a 1920 x 1080
// venue screen's scale) and for the preview: no text covers another, none is taller than the
// design fonts', none leaves its surface; numbers in a grid column share their right edge; the
// result's header names the category of the result shown.
#include <QtTest>
#include <map>
#include <set>

#include "core/competition/view_types.h"
#include "core/display/message_screen.h"
#include "core/display/renderer.h"
#include "core/platform/cp932.h"
#include "support/picture_checks.h"

namespace {

const char* const kJudgeNames[] = {"勅使河原 真由美", "長谷川 多恵子", "森田 修",
                                   "宇佐美 由紀夫",   "小笠原 健太郎", "佐々木 一郎",
                                   "五十嵐 美智子",   "東海林 さおり"};
const char* const kNotes[] = {"ＪＢＤＦ東部", "日本ダンススポーツ連盟 公認審判員", "東京都",
                              "ＷＤＳＦ国際", "神奈川県連盟"};
const char* const kCouples[] = {"勅使河原 翔 / 長谷部 彩花", "小笠原 健太郎 / 五十嵐 美智子",
                                "森 翔 / 林 葵", "宇佐美 慎之介 / 東海林 さおり"};
const char* const kClubs[] = {"宇都宮ダンススポーツ連盟", "全日本ダンススポーツ連盟東京都支部",
                              "ＤＳ青山", "川崎ダンス同好会"};

// Category 1 runs on floor A (event 1, one floor; event 2, floor B beside it: category 2); the
// result list's row 0 is category 3, whose final is not the current event.
Competition LongNames(int altLayout) {
    Competition s;
    s.AltResultLayout = altLayout;
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    s.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s.Config.TopFont = Sjis("AR P隷書体M");
    s.Config.WelcomeTitleLines = {
        Sjis("第５０回 全日本ダンススポーツ選手権大会 兼 東日本ブロック予選"), Sjis("ようこそ"),
        Sjis("競技開始 午前９時３０分")};
    const char* const names[] = {"アマチュア Ｂ級スタンダード選手権 兼 ブロック予選",
                                 "シニア Ｃ級ラテンアメリカン オープン",
                                 "ジュニア ラテン 小学生の部 チャンピオンシップ"};
    for (int c = 0; c < 3; ++c) {
        s.CategoryCodes[c] = "C" + std::to_string(c + 1);
        s.CategoryNames[c] = Sjis(names[c]);
        s.CategoryShortNames[c] =
            Sjis(c == 1 ? "シニアＣ級ラテンアメリカン" : "アマＢ級スタンダード");
    }
    s.CategoryCount = 3;
    s.JudgeCount = 15;
    for (int j = 0; j < 15; ++j) {
        s.JudgeCodes[j] = std::string(1, char('A' + j));
        s.JudgeNames[j] = Sjis(kJudgeNames[j % 8]);
        s.JudgeNotes[j] = Sjis(kNotes[j % 5]);
    }
    for (int n = 0; n < kCoupleRows; ++n) {
        s.CoupleNames[n] = Sjis(kCouples[n % 4]);
        s.CoupleAffiliations[n] = Sjis(kClubs[n % 4]);
    }
    s.EventNames[0] = Sjis("001 アマチュア Ｂ級スタンダード");
    s.EventTable[0] = EventRecord({.category = 1, .round = 7, .heats = 2});
    s.EventNames[1] = Sjis("002 アマチュア Ｂ級スタンダード 準決勝");
    s.EventTable[1] = EventRecord(
        {.category = 1, .round = 6, .floorBEvent = 3, .floorBCategory = 2, .floorBRound = 6});
    s.EventCount = 2;
    s.ProgrammeCount = 2;
    s.ProgrammeCodes = {"001", "002"};
    s.ProgrammeTexts[0] = Sjis("アマチュア Ｂ級スタンダード選手権 兼 ブロック予選 決勝");
    s.ProgrammeTexts[1] = Sjis("表彰式 （１２：００～１２：３０）");
    for (int d = 0; d < 5; ++d) s.RoundDances[d] = DanceNames()[d];
    s.DanceCount = 5;
    s.DanceNameShown = 1;
    // Heats of one-digit and three-digit numbers: floor A rows 0-2, floor B rows 3-4.
    for (int row = 0; row < 5; ++row) {
        for (int k = 0; k < (row % 2 == 0 ? 12 : 20); ++k) {
            s.HeatTable[row][k] = k % 3 == 0 ? 1 + k / 3 : 100 + 7 * k + row;
        }
    }
    s.HeatRowsA = s.FloorARowsLoaded = s.FloorBFirstRow = 3;
    s.HeatRowsB = s.FloorBRowsLoaded = 2;
    s.HeatsPerDance = 3;
    s.HeatCount = 3;
    s.HeatIndex = 0;
    for (int k = 0; k < 10; ++k) s.FinalistsLine.numbers[k] = k == 0 ? 7 : 110 + k;
    s.FinalistsLine.count = 10;
    for (int i = 0; i < kResultRows; ++i) {
        s.ResultTable[i] = {Sjis((std::to_string(i + 1) + "位").c_str()), std::to_string(i + 1),
                            Sjis(kCouples[i % 4]), Sjis(kClubs[i % 4])};
    }
    s.ResultRowCount = kResultRows;
    s.ResultListCategories[0] = 2;
    s.ResultListRow = 0;
    s.HeatIndex = 0;
    return s;
}

struct Pass {
    const char* name;
    QSize size;          // the surface in its drawing units
    double scale;        // design units to drawing units
    double deviceScale;  // pixels per drawing unit
};

// The audience at the design size and on a 1920 x 1080 screen, and the preview.
const Pass kPasses[] = {{"audience", {1024, 768}, 1.0, 1.0},
                        {"audience at 1920 x 1080", {1024, 768}, 1.0, 1.40625},
                        {"preview", {512, 384}, 0.5, 1.0}};

// One picture drawn onto a surface of its own; the texts of it.
template <class Draw>
std::vector<DrawRecord> Picture(const Pass& pass, Draw draw) {
    Canvas canvas(pass.size.width(), pass.size.height(), QStringLiteral("ScrForm.ImageW"));
    canvas.Resize(pass.size.width(), pass.size.height(), pass.deviceScale);
    canvas.SetRecording(true);
    RenderTarget t{&canvas, pass.scale};
    draw(t);
    return LastPictureTexts(canvas.TakeRecords(), pass.size.width());
}

}  // namespace

class LongNamesTest : public QObject {
    Q_OBJECT
  private slots:
    void everyView_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("altLayout");
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("secondFloor");
        QTest::addColumn<int>("singleItem");
        for (int alt : {0, 1}) {
            const char* layout = alt == 1 ? "alternate" : "standard";
            for (int view = kViewClean; view <= kViewProgressMessage; ++view) {
                QTest::addRow("view %d, %s", view, layout) << view << alt << 0 << 0 << 0;
            }
            QTest::addRow("award on the result, %s", layout) << -kViewAward << alt << 0 << 0 << 0;
        }
        QTest::newRow("heats on two floors") << int(kViewHeat) << 0 << 1 << 0 << 0;
        QTest::newRow("finalists of floor B") << int(kViewFinalists) << 0 << 1 << 1 << 0;
        QTest::newRow("the current item alone") << int(kViewProgressMessage) << 0 << 0 << 0 << 1;
    }
    void everyView() {
        QFETCH(int, view);
        QFETCH(int, altLayout);
        QFETCH(int, event);
        QFETCH(int, secondFloor);
        QFETCH(int, singleItem);
        Competition s = LongNames(altLayout);
        s.CurrentEventIndex = event;
        s.SecondFloorFinal = secondFloor;
        s.SingleItemMode = singleItem;
        for (const Pass& pass : kPasses) {
            const auto texts = Picture(pass, [&](RenderTarget& t) {
                // The award draws over the result's frame.
                if (view < 0) DrawViewType(kViewFinalResult, s, t);
                DrawViewType(std::abs(view), s, t);
            });
            QVERIFY(view == kViewClean || !texts.empty());
            const QStringList faults = PictureFaults(texts, pass.size);
            QVERIFY2(faults.isEmpty(),
                     qPrintable(QLatin1String(pass.name) + ": " + faults.join(QLatin1Char('\n'))));
        }
    }

    void announcements() {
        const Competition s = LongNames(0);
        const std::string text =
            Sjis("本日の表彰式は全ての競技が終わった後、メインフロアにて行います");
        for (const Pass& pass : kPasses) {
            for (int kind : {kMessageBreak, kMessageGoodbye, kMessageFree}) {
                const auto texts =
                    Picture(pass, [&](RenderTarget& t) { DrawMessageScreen(s, t, kind, text); });
                QVERIFY2(PictureFaults(texts, pass.size).isEmpty(), pass.name);
            }
        }
    }

    // "%3d": one-digit and three-digit numbers of a column end at the same pixel.
    void gridColumnsRightAligned() {
        Competition s = LongNames(0);
        for (int event : {0, 1}) {
            s.CurrentEventIndex = event;
            const int x0 = event == 0 ? 30 : 160;
            const int dx = event == 0 ? 98 : 85;
            for (const Pass& pass : kPasses) {
                const auto texts =
                    Picture(pass, [&](RenderTarget& t) { DrawViewType(kViewHeat, s, t); });
                std::map<int, std::set<int>> rightEdges;  // by column
                int numbers = 0;
                for (const DrawRecord& r : texts) {
                    bool digits = false;
                    r.text.toInt(&digits);
                    if (!digits || r.y < 150 * pass.scale) continue;
                    const int column = (r.x - int(x0 * pass.scale)) / int(dx * pass.scale);
                    rightEdges[column].insert(r.x + r.w);
                    ++numbers;
                }
                QVERIFY(numbers >= 20);
                for (const auto& [column, edges] : rightEdges) {
                    QVERIFY2(edges.size() == 1, qPrintable(QStringLiteral("%1, event %2, column %3")
                                                               .arg(pass.name)
                                                               .arg(event)
                                                               .arg(column)));
                }
            }
        }
    }

    // The result's header names the category of the result shown (row 0: category 3), not the
    // current event's (category 1); with no row chosen, the current event's.
    void resultHeaderNamesTheResultsCategory() {
        for (int row : {0, -1}) {
            Competition s = LongNames(0);
            s.CurrentEventIndex = 0;
            s.ResultListRow = row;
            const auto texts =
                Picture(kPasses[0], [&](RenderTarget& t) { DrawViewType(kViewFinalResult, s, t); });
            const QString expected = FromCp932(s.CategoryNames[row == 0 ? 2 : 0]);
            const bool named = std::any_of(texts.begin(), texts.end(), [&](const DrawRecord& r) {
                return r.y < 60 && r.text.trimmed() == expected;
            });
            QVERIFY2(named, qPrintable(expected));
        }
    }
};

QTEST_MAIN(LongNamesTest)
#include "long_names_test.moc"
