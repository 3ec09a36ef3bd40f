// The current programme item: the event it makes current, the progress panel's texts, the moves
// through the programme, what follows a move, and the result-category list.
#include "core/competition/programme_item.h"

#include <QtTest>
#include <initializer_list>
#include <memory>

#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

void SetEvent(Competition& s, int i, const char* name, const EventFields& fields) {
    s.EventNames[i] = Sjis(name);
    s.EventTable[i] = EventRecord(fields);
}

void SetItem(Competition& s, int i, int nonCompetition, const char* code, const char* text,
             const char* textB = "") {
    s.ProgrammeNonCompetition[i] = nonCompetition;
    s.ProgrammeCodes[i] = code;
    s.ProgrammeTexts[i] = Sjis(text);
    s.ProgrammeTextsB[i] = Sjis(textB);
}

// Categories 1-3 (2 with a redance), six events and seven programme items.
std::unique_ptr<Competition> MakeCompetition() {
    auto s = std::make_unique<Competition>();
    const char* codes[] = {"SA", "LA", "SB"};
    const char* names[] = {"スタンダードＡ級", "ラテンＡ級", "スタンダードＢ級"};
    for (int i = 0; i < 3; ++i) {
        s->CategoryCodes[i] = codes[i];
        s->CategoryNames[i] = Sjis(names[i]);
    }
    s->CategoryRedance[1] = 1;
    s->CategoryCount = 3;
    //                         cat rnd heats up  -  B   catB rndB heatsB upB
    SetEvent(*s, 0, "001 ＳＡ決勝", {.category = 1, .round = 7, .heats = 1});
    SetEvent(*s, 1, "ABC 余興", {.category = 2, .round = 1, .heats = 2, .couplesPassing = 12});
    SetEvent(*s, 2, "03x", {.category = 2, .round = 1, .heats = 9, .couplesPassing = 9});
    SetEvent(*s, 3, "003 ＬＡ２次",
             {.category = 2,
              .round = 2,
              .heats = 4,
              .couplesPassing = 12,
              .floorBEvent = 7,
              .floorBCategory = 3,
              .floorBRound = 7,
              .floorBHeats = 1,
              .floorBCouplesPassing = 6});
    SetEvent(*s, 4, "3  重複", {.category = 1, .round = 1, .heats = 1, .couplesPassing = 1});
    SetEvent(*s, 5, "12 ", {.category = 1, .round = 6, .heats = 2, .couplesPassing = 6});
    s->EventCount = 6;
    SetItem(*s, 0, 1, "", "開会式");
    SetItem(*s, 1, 0, "1", "ＳＡ 決勝");
    SetItem(*s, 2, 0, "003", "ＬＡ リダンス", "ＳＢ 決勝");
    SetItem(*s, 3, 0, "X", "続き");
    SetItem(*s, 4, 0, "099", "未登録");
    SetItem(*s, 5, 0, "ABC", "余興");
    SetItem(*s, 6, 0, "12", "ＳＡ 準決勝");
    s->ProgrammeCount = 7;
    return s;
}

QStringList Decoded(std::initializer_list<std::string> texts) {
    QStringList out;
    for (const std::string& t : texts) out << FromCp932(t);
    return out;
}

QStringList Groups(const ProgrammeItemLabels& l) {
    if (!l.groupsShown) return {};
    return Decoded({l.label8, l.label4, l.label9, l.label18, l.label10, l.label11, l.label26,
                    l.label12, l.label13});
}

const QStringList kUnmatchedGroups{"---", "---", "-", "/ -H", "-", "---", "---", "-", "-"};

}  // namespace

class ProgrammeItemTest : public QObject {
    Q_OBJECT
  private slots:
    void leadingEventNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("zero padded") << "001 Standard" << 1;
        QTest::newRow("short code") << "1" << 1;
        QTest::newRow("blank inside the three") << "12 Latin" << 12;
        QTest::newRow("four digits read three") << "1234" << 123;
        QTest::newRow("letters") << "ABC" << -1;
        QTest::newRow("digits then letter") << "03x" << -1;
        QTest::newRow("blanks only") << "   9" << -1;
        QTest::newRow("blank before") << " 7 Waltz" << 7;
        QTest::newRow("empty") << "" << -1;
    }
    void leadingEventNumber() {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(LeadingEventNumber(text.toStdString()), number);
    }

    void showProgrammeItem_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("before");  // CurrentEventIndex before the item is shown
        QTest::addColumn<int>("event");
        QTest::addColumn<bool>("secondFloor");
        QTest::addColumn<bool>("finalEnabled");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QStringList>("top");  // Label70, Label71, Label67, Label68
        QTest::addColumn<QStringList>("groups");

        QTest::newRow("non-competition")
            << 0 << 3 << -1 << false << false << 0 << QStringList{" --- ", "", " 開会式", ""}
            << QStringList{};
        QTest::newRow("one-floor final")
            << 1 << -1 << 0 << false << true << 0 << QStringList{"001", " --- ", " ＳＡ 決勝", ""}
            << QStringList{"SA", "決　勝", "1", "/ 1H", "-", "---", "---", "-", "-"};
        // "03x" is skipped, and the later "3  " loses to the first match.
        QTest::newRow("two floors, redance")
            << 2 << -1 << 3 << true << false << 1
            << QStringList{"003", "  7", " ＬＡ リダンス", " ＳＢ 決勝"}
            << QStringList{"LA", "リダンス", "4", "/ 4H", "12", "SB", "決　勝", "1", "6"};
        QTest::newRow("X keeps the event")
            << 3 << 3 << 3 << true << false << 2 << QStringList{"003", "  7", " 続き", " "}
            << QStringList{"LA", "リダンス", "4", "/ 4H", "12", "SB", "決　勝", "1", "6"};
        QTest::newRow("X after a non-competition item")
            << 3 << -1 << -1 << false << false << 2 << QStringList{"", " --- ", " 続き", ""}
            << QStringList{};
        QTest::newRow("unmatched") << 4 << 0 << 6 << false << false << 3
                                   << QStringList{"", " --- ", " 未登録", ""} << kUnmatchedGroups;
        QTest::newRow("code and name not numbers")
            << 5 << 0 << 6 << false << false << 4 << QStringList{"", " --- ", " 余興", ""}
            << kUnmatchedGroups;
        QTest::newRow("semi-final")
            << 6 << 0 << 5 << false << false << 5 << QStringList{"12", " --- ", " ＳＡ 準決勝", ""}
            << QStringList{"SA", "準決勝", "2", "/ 2H", "6", "---", "---", "-", "-"};
    }
    void showProgrammeItem() {
        QFETCH(int, item);
        QFETCH(int, before);
        QFETCH(int, event);
        QFETCH(bool, secondFloor);
        QFETCH(bool, finalEnabled);
        QFETCH(int, scroll);
        QFETCH(QStringList, top);
        QFETCH(QStringList, groups);
        auto s = MakeCompetition();
        s->CurrentProgrammeIndex = item;
        s->CurrentEventIndex = before;
        const ProgrammeItemLabels l = ShowProgrammeItem(*s);
        QVERIFY(l.shown);
        QCOMPARE(s->CurrentEventIndex, event);
        QCOMPARE(l.secondFloor, secondFloor);
        QCOMPARE(l.finalEnabled, finalEnabled);
        QCOMPARE(l.scrollPosition, scroll);
        QCOMPARE(Decoded({l.label70, l.label71, l.label67, l.label68}), top);
        QCOMPARE(Groups(l), groups);
    }

    // With all 100 event rows in use an unmatched item points past the table and reads as empty.
    void unmatchedWithFullEventTable() {
        auto s = MakeCompetition();
        for (int i = s->EventCount; i < kEventRows; ++i)
            SetEvent(*s, i, "500 満席", {.category = 3, .round = 7, .heats = 1});
        s->EventCount = kEventRows;
        s->CurrentProgrammeIndex = 4;
        const ProgrammeItemLabels l = ShowProgrammeItem(*s);
        QCOMPARE(s->CurrentEventIndex, kEventRows);
        QCOMPARE(Groups(l), kUnmatchedGroups);
        QVERIFY(!l.finalEnabled);
        QCOMPARE(QString::fromStdString(l.label70), QString());
    }

    void itemPastTheProgrammeChangesNothing() {
        auto s = MakeCompetition();
        s->CurrentEventIndex = 3;
        SelectProgrammeRow(*s, 20 * 50 + 7);
        QCOMPARE(s->CurrentProgrammeIndex, 50);
        QVERIFY(!ShowProgrammeItem(*s).shown);
        QCOMPARE(s->CurrentEventIndex, 3);
        // With all 100 items in use, the row under the last item is still an empty one.
        s->ProgrammeCount = kProgrammeRows;
        SelectProgrammeRow(*s, 20 * kProgrammeRows + 3);
        QVERIFY(!ShowProgrammeItem(*s).shown);
        QCOMPARE(s->CurrentEventIndex, 3);
    }

    void programmeMoves_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("moved");
        QTest::newRow("forward") << 3 << 1 << true << 2 << true;
        QTest::newRow("forward on the last item") << 3 << 2 << true << 2 << false;
        QTest::newRow("forward in an empty programme") << 0 << 0 << true << 0 << false;
        QTest::newRow("back") << 3 << 2 << false << 1 << true;
        QTest::newRow("back on the first item") << 3 << 0 << false << 0 << false;
    }
    void programmeMoves() {
        QFETCH(int, count);
        QFETCH(int, start);
        QFETCH(bool, forward);
        QFETCH(int, index);
        QFETCH(bool, moved);
        Competition s;
        s.ProgrammeCount = count;
        s.CurrentProgrammeIndex = start;
        QCOMPARE(forward ? ProgrammeStepForward(s) : ProgrammeStepBack(s), moved);
        QCOMPARE(s.CurrentProgrammeIndex, index);
    }

    void selectProgrammeRow_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("index");
        QTest::newRow("last pixel of row 0") << 19 << 0;
        QTest::newRow("last row") << 1999 << 99;
        QTest::newRow("first row past a full table") << 2000 << 100;
        QTest::newRow("bottom of the bitmap") << 3999 << 199;
        QTest::newRow("above") << -25 << 0;
    }
    void selectProgrammeRow() {
        QFETCH(int, y);
        QFETCH(int, index);
        Competition s;
        SelectProgrammeRow(s, y);
        QCOMPARE(s.CurrentProgrammeIndex, index);
    }

    void followProgrammeItem_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("viewBefore");
        QTest::addColumn<bool>("linkChecked");
        QTest::addColumn<int>("listRows");
        QTest::addColumn<int>("viewAfter");
        QTest::addColumn<bool>("switchToMessage");
        QTest::addColumn<bool>("reloadRound");
        QTest::addColumn<bool>("shuffleShown");
        QTest::addColumn<int>("resultRow");

        QTest::newRow("forward onto a non-competition item")
            << 0 << true << 3 << true << 3 << 7 << true << false << false << -1;
        QTest::newRow("back onto a non-competition item")
            << 0 << false << 3 << true << 3 << 3 << false << false << false << -1;
        QTest::newRow("final selects its category")
            << 1 << true << 0 << true << 3 << 0 << false << false << false << 2;
        QTest::newRow("link unchecked")
            << 1 << true << 0 << false << 3 << 0 << false << false << false << -1;
        QTest::newRow("category beyond the list rows")
            << 1 << true << 0 << true << 2 << 0 << false << false << false << -1;
        QTest::newRow("heat view reloads, shuffled file")
            << 2 << false << 3 << true << 3 << 3 << false << true << true << -1;
        QTest::newRow("semi-final leaves the list")
            << 6 << true << 3 << true << 3 << 3 << false << true << false << -1;
    }
    void followProgrammeItem() {
        QFETCH(int, item);
        QFETCH(bool, forward);
        QFETCH(int, viewBefore);
        QFETCH(bool, linkChecked);
        QFETCH(int, listRows);
        QFETCH(int, viewAfter);
        QFETCH(bool, switchToMessage);
        QFETCH(bool, reloadRound);
        QFETCH(bool, shuffleShown);
        QFETCH(int, resultRow);
        TestFolder folder;
        folder.WriteCp932("SH_02_2.dat", "   1   2\n   3   4\n");
        folder.WriteCp932("H_03_7.dat", "   5\n");  // floor B of item 2
        folder.WriteCp932("H_01_6.dat", "   6\n");  // item 6
        auto s = MakeCompetition();
        s->DataFolder = folder.Path();
        s->ResultListCategories = {};
        s->ResultListCategories[0] = 2;
        s->ResultListCategories[1] = 1;
        s->ResultListCategories[2] = 0;  // category 1 is the third row
        s->CurrentView = viewBefore;
        s->CurrentProgrammeIndex = item;
        ShowProgrammeItem(*s);
        const FollowActions a = PlanFollowProgrammeItem(*s, forward, linkChecked);
        QCOMPARE(s->CurrentView, viewAfter);
        QCOMPARE(a.switchToMessage, switchToMessage);
        QCOMPARE(a.reloadRound, reloadRound);
        QCOMPARE(a.hasEvent, s->CurrentEventIndex >= 0);
        QCOMPARE(a.shuffleShown, shuffleShown);
        QCOMPARE(a.resultCategory > 0 ? ResultListRowOf(*s, a.resultCategory, listRows) : -1,
                 resultRow);
        if (a.hasEvent) {
            // Set after the reload, which leaves the floor-B numbers there for a two-floor event.
            QCOMPARE(s->HeatFileCategory, s->CurrentEvent().Category());
            QCOMPARE(s->HeatFileRound, s->CurrentEvent().Round());
        }
    }

    void fillResultListInCategoryOrder() {
        auto s = MakeCompetition();
        s->ResultListCategories.fill(7);
        const auto rows = FillResultList(*s, true);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0], "#01 SA   " + Sjis("スタンダードＡ級"));
        QCOMPARE(rows[2], "#03 SB   " + Sjis("スタンダードＢ級"));
        QCOMPARE(s->ResultListCategories[1], 1);
        QCOMPARE(s->ResultListCategories[2], 2);
        QCOMPARE(s->ResultListCategories[3], 0);
    }

    void fillResultListInOrderOfFinals() {
        auto s = MakeCompetition();
        // Event 5: a final whose floor-B event is also a final gives two rows.
        SetEvent(*s, 5, "12",
                 {.category = 2,
                  .round = 7,
                  .heats = 1,
                  .floorBEvent = 113,
                  .floorBCategory = 1,
                  .floorBRound = 7});
        const auto rows = FillResultList(*s, false);
        QCOMPARE(rows.size(), size_t(4));
        QCOMPARE(rows[0], Sjis("001 ＳＡ決勝") + "SA  " + Sjis("スタンダードＡ級"));
        QCOMPARE(rows[1], "7    SB  " + Sjis("スタンダードＢ級"));
        QCOMPARE(rows[2], "12  LA  " + Sjis("ラテンＡ級"));
        QCOMPARE(rows[3], "113  SA  " + Sjis("スタンダードＡ級"));
        const std::array<int, 5> mapped{0, 2, 1, 0, 0};
        for (int r = 0; r < 5; ++r) QCOMPARE(s->ResultListCategories[r], mapped[r]);
    }

    void resultListKeepsFortyRows() {
        auto s = MakeCompetition();
        for (int i = 0; i < kEventRows; ++i)
            SetEvent(*s, i, "100",
                     {.category = 3,
                      .round = 7,
                      .heats = 1,
                      .floorBEvent = 200,
                      .floorBCategory = 2,
                      .floorBRound = 7});
        s->EventCount = kEventRows;
        const auto rows = FillResultList(*s, false);
        QCOMPARE(rows.size(), size_t(kResultListRows));
        QCOMPARE(s->ResultListCategories[kResultListRows - 1], 1);
    }

    void dataResetRows() {
        auto s = MakeCompetition();
        s->CategoryCodes[1] = "LATIN1";
        s->ResultListCategories[0] = 9;
        const auto rows = DataResetResultRows(*s);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0], "SA   " + Sjis("スタンダードＡ級"));
        QCOMPARE(rows[1], "LATIN1 " + Sjis("ラテンＡ級"));
        QCOMPARE(s->ResultListCategories[0], 9);
    }
};

QTEST_MAIN(ProgrammeItemTest)
#include "programme_item_test.moc"
