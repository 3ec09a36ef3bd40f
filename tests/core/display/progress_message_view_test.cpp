#include "core/display/progress_message_view.h"

#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

const QColor kYellow(255, 255, 0);
const QColor kCyan(0, 255, 255);
const QString kMsgFont = QStringLiteral(u"HG丸ｺﾞｼｯｸM-PRO");

// One line of pgm.txt as the tables hold it.
struct ProgrammeLine {
    int kind;
    const char* code;
    const char* codeB;
    const char* text;
    const char* textB;
};

Competition MessageState(std::initializer_list<ProgrammeLine> items) {
    Competition s;
    s.Config.MsgFont = ToCp932(kMsgFont);
    int i = 0;
    for (const ProgrammeLine& item : items) {
        s.ProgrammeNonCompetition[i] = item.kind;
        s.ProgrammeCodes[i] = Sjis(item.code);
        s.ProgrammeCodesB[i] = Sjis(item.codeB);
        s.ProgrammeTexts[i] = Sjis(item.text);
        s.ProgrammeTextsB[i] = Sjis(item.textB);
        ++i;
    }
    s.ProgrammeCount = i;
    return s;
}

std::vector<DrawRecord> Draw(const Competition& s, double scale) {
    Canvas canvas(1024, 600, QStringLiteral("ScrForm.Image9"));
    canvas.SetRecording(true);
    RenderTarget t{&canvas, scale};
    DrawProgressMessageView(s, t);
    return canvas.TakeRecords();
}

std::vector<DrawRecord> Texts(const std::vector<DrawRecord>& records) {
    return RecordsOf(records, "text");
}

// A text centred on x 500 with its top at design y.
void VerifyCentred(const DrawRecord& r, int y, double scale) {
    QCOMPARE(r.x, int(500 * scale - r.w / 2));
    QCOMPARE(r.y, int(y * scale));
}

// The size FitMessageFont must choose: the first of 40, 38, ... 22 (scaled) below 900 units.
int ExpectedFit(Canvas& canvas, double scale, const QString& text) {
    for (int n = 40; n >= 22; n -= 2) {
        canvas.SetFontSize(int(n * scale));
        if (canvas.TextWidth(text) < 900 * scale) return int(n * scale);
    }
    return int(22 * scale);
}

const char* kJrLatinSemi = "ジュニア ラテン 準決勝";

}  // namespace

class ProgressMessageViewTest : public QObject {
    Q_OBJECT

  private slots:
    void fitMessageFont_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("1.0") << 1.0 << QList<int>{40, 38, 36, 34, 32, 30, 28, 26, 24, 22};
        QTest::newRow("0.5") << 0.5 << QList<int>{20, 19, 18, 17, 16, 15, 14, 13, 12, 11};
    }

    // Growing texts step through every size in turn; a chosen size fits 900 units (unless it is
    // the smallest) and the size tried before it does not.
    void fitMessageFont() {
        QFETCH(double, scale);
        QFETCH(QList<int>, sizes);
        QList<int> seen;
        Canvas canvas(512, 300, QStringLiteral("DspMain.Image1"));
        canvas.SetFontName(kMsgFont);
        RenderTarget t{&canvas, scale};
        for (int repeat = 10; repeat <= 60; ++repeat) {
            const QString text(repeat, QChar(u'式'));
            FitMessageFont(t, text);
            const int size = canvas.FontSize();
            if (!seen.contains(size)) seen << size;
            QVERIFY(size == sizes.back() || canvas.TextWidth(text) < 900 * scale);
            if (size == sizes.front()) continue;
            canvas.SetFontSize(sizes[sizes.indexOf(size) - 1]);
            QVERIFY(canvas.TextWidth(text) >= 900 * scale);
        }
        QCOMPARE(seen, sizes);
    }

    void splitRoundApplies_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("split");
        QTest::addColumn<QString>("textB");
        QTest::addColumn<bool>("applies");
        QTest::newRow("competition, split chosen") << 0 << true << QString() << true;
        QTest::newRow("standard chosen") << 0 << false << QString() << false;
        QTest::newRow("non-competition item") << 1 << true << QString() << false;
        QTest::newRow("second floor text") << 0 << true << QStringLiteral(u"B 決勝") << false;
        QTest::newRow("blank second floor text") << 0 << true << QStringLiteral(" \t ") << true;
        QTest::newRow("ideographic space is a text") << 0 << true << QStringLiteral(u"　") << false;
    }

    void splitRoundApplies() {
        QFETCH(int, kind);
        QFETCH(bool, split);
        QFETCH(QString, textB);
        QFETCH(bool, applies);
        Competition s = MessageState({{kind, "12", "", kJrLatinSemi, ""}});
        s.ProgrammeTextsB[0] = ToCp932(textB);
        s.RoundSplit = split;
        QCOMPARE(SplitRoundApplies(s, 0), applies);
        QCOMPARE(SplitRoundApplies(s, 1), split);  // an empty item is a competition item
        QCOMPARE(SplitRoundApplies(s, 5000), split);
    }

    void twoItemLayout_data() {
        QTest::addColumn<bool>("split");
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("ys");  // design y of each text
        // Programme: 0 competition, 1 two floors, 2 ceremony, 3 ideographic spaces only.
        QTest::newRow("standard, current and next")
            << false << 0 << QStringList{u"■ 現在"_s,
                                         u"■ 次  "_s,
                                         "No. 12",
                                         "No. 13  / 14",
                                         u"ジュニア ラテン 準決勝"_s,
                                         u"シニア 決勝"_s,
                                         u"ジュニア 決勝"_s}
            << QList<int>{33, 293, 25, 285, 110, 370, 440};
        QTest::newRow("split at the last blank")
            << true << 0
            << QStringList{u"■ 現在"_s,          u"■ 次  "_s, "No. 12",         "No. 13  / 14",
                           u"ジュニア ラテン"_s, u"準決勝"_s, u"シニア 決勝"_s, u"ジュニア 決勝"_s}
            << QList<int>{33, 293, 25, 285, 110, 180, 370, 440};
        QTest::newRow("ceremony: no number, never split")
            << true << 2
            << QStringList{u"■ 現在"_s, u"■ 次  "_s, "No. 16", u"表彰式 休憩"_s,
                           u"ジュニア　準決勝"_s}
            << QList<int>{33, 293, 285, 110, 370};
        QTest::newRow("last item: no next block")
            << true << 3 << QStringList{u"■ 現在"_s, "No. 16", u"ジュニア　準決勝"_s}
            << QList<int>{33, 25, 110};
    }

    void twoItemLayout() {
        QFETCH(bool, split);
        QFETCH(int, current);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, ys);
        for (double scale : {1.0, 0.5}) {
            Competition s = MessageState({{0, "12", "", kJrLatinSemi, ""},
                                          {0, "13", "14", "シニア 決勝", "ジュニア 決勝"},
                                          {1, "", "", "表彰式 休憩", ""},
                                          {0, "16", "", "ジュニア　準決勝", ""}});
            s.RoundSplit = split;
            s.CurrentProgrammeIndex = current;
            const auto records = Draw(s, scale);
            QCOMPARE(records.front().op, QStringLiteral("rectangle"));
            std::vector<DrawRecord> drawn;
            for (const DrawRecord& r : Texts(records)) {
                if (!r.text.isEmpty()) drawn.push_back(r);
            }
            QStringList drawnTexts;
            for (const DrawRecord& r : drawn) drawnTexts << r.text;
            QCOMPARE(drawnTexts, texts);

            const bool hasNext = texts.contains(u"■ 次  "_s);
            for (size_t i = 0; i < drawn.size(); ++i) {
                const DrawRecord& r = drawn[i];
                QCOMPARE(r.font, kMsgFont);
                QCOMPARE(r.y, int(ys[int(i)] * scale));
                if (r.text.startsWith(u"■"_s)) {
                    QCOMPARE(r.size, int(26 * scale));
                    QCOMPARE(r.color, kYellow);
                    QCOMPARE(r.x, int(20 * scale));
                } else if (r.text.startsWith(QLatin1String("No. "))) {
                    QCOMPARE(r.size, int(36 * scale));
                    QCOMPARE(r.color, kCyan);
                    QCOMPARE(r.x, int(220 * scale));
                } else {
                    QCOMPARE(r.color, QColor(Qt::white));
                    VerifyCentred(r, ys[int(i)], scale);
                    Canvas probe(10, 10, QStringLiteral("probe"));
                    probe.SetFontName(kMsgFont);
                    QCOMPARE(r.size, ExpectedFit(probe, scale, r.text));
                }
            }

            const auto lines = RecordsOf(records, "line");
            QCOMPARE(int(lines.size()), hasNext ? 2 : 1);
            for (size_t i = 0; i < lines.size(); ++i) {
                const int y = int((i == 0 ? 80 : 340) * scale);
                QCOMPARE(lines[i].pen, QColor(Qt::white));
                QCOMPARE(lines[i].points[0], QPoint(int(20 * scale), y));
                QCOMPARE(lines[i].points[1], QPoint(int(999 * scale), y));
            }
        }
    }

    void singleItemLayout_data() {
        QTest::addColumn<bool>("split");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("textB");
        QTest::addColumn<QStringList>("lines");  // drawn at 150, then 250
        QTest::addColumn<bool>("sharedSize");
        const QString longText = u"全日本ジュニア ラテンアメリカン オープン選手権 決勝"_s;
        QTest::newRow("one text") << false << 0 << u"休憩"_s << QString() << QStringList{u"休憩"_s}
                                  << true;
        QTest::newRow("two floors share the wider one's size, first wider")
            << false << 0 << longText << u"B 決勝"_s << QStringList{longText, u"B 決勝"_s} << true;
        QTest::newRow("two floors share the wider one's size, second wider")
            << false << 0 << u"A 決勝"_s << longText << QStringList{u"A 決勝"_s, longText} << true;
        QTest::newRow("split: each line its own size")
            << true << 0 << longText << QString()
            << QStringList{u"全日本ジュニア ラテンアメリカン オープン選手権"_s, u"決勝"_s} << false;
        QTest::newRow("no blank: one line") << true << 0 << u"ジュニア　決勝"_s << QString()
                                            << QStringList{u"ジュニア　決勝"_s} << true;
    }

    void singleItemLayout() {
        QFETCH(bool, split);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, textB);
        QFETCH(QStringList, lines);
        QFETCH(bool, sharedSize);
        for (double scale : {1.0, 0.5}) {
            Competition s = MessageState({{kind, "31", "", "", ""}, {0, "32", "", "x", ""}});
            s.ProgrammeTexts[0] = ToCp932(text);
            s.ProgrammeTextsB[0] = ToCp932(textB);
            s.SingleItemMode = 1;
            s.RoundSplit = split;
            const auto records = Draw(s, scale);
            const auto texts = Texts(records);
            QCOMPARE(texts[0].text, u"■ 現在"_s);
            QCOMPARE(QPoint(texts[0].x, texts[0].y), QPoint(int(20 * scale), int(33 * scale)));
            QCOMPARE(texts[1].text, QStringLiteral("No. 31"));
            QCOMPARE(QPoint(texts[1].x, texts[1].y), QPoint(int(220 * scale), int(25 * scale)));
            QCOMPARE(texts[1].size, int(36 * scale));
            QCOMPARE(int(texts.size()), 2 + lines.size());
            Canvas probe(10, 10, QStringLiteral("probe"));
            probe.SetFontName(kMsgFont);
            QString wider = lines[0];
            if (lines.size() > 1) {
                probe.SetFontSize(int(36 * scale));
                if (probe.TextWidth(lines[1]) >= probe.TextWidth(lines[0])) wider = lines[1];
            }
            for (int i = 0; i < lines.size(); ++i) {
                const DrawRecord& r = texts[2 + i];
                QCOMPARE(r.text, lines[i]);
                QCOMPARE(r.color, QColor(Qt::white));
                VerifyCentred(r, i == 0 ? 150 : 250, scale);
                QCOMPARE(r.size, ExpectedFit(probe, scale, sharedSize ? wider : lines[i]));
            }
            if (lines.size() == 2 && !sharedSize) QVERIFY(texts[2].size != texts[3].size);
            const auto rules = RecordsOf(records, "line");
            QCOMPARE(rules.size(), size_t(1));
            QCOMPARE(rules[0].points[0].y(), int(80 * scale));
        }
    }

    void ceremonyItemDrawsOnlyItsTitle() {
        for (double scale : {1.0, 0.5}) {
            Competition s = MessageState({{3, "41", "", "表彰式", "B"}});
            s.SingleItemMode = 1;
            s.RoundSplit = true;
            const auto texts = Texts(Draw(s, scale));
            QCOMPARE(texts.size(), size_t(2));
            QCOMPARE(texts[0].text, u"■ 現在"_s);
            const DrawRecord& r = texts[1];
            QCOMPARE(r.text, u"表 彰 式"_s);
            QCOMPARE(r.color, kCyan);
            QCOMPARE(r.size, int(72 * scale));
            VerifyCentred(r, 250, scale);
        }
    }

    // An empty item counts as a competition item: its number text is "No. " alone.
    void emptyOrMissingItemShowsAnEmptyNumber() {
        for (int index : {0, -3, 100, 199}) {
            Competition s = MessageState({});
            s.Config.MsgFont = ToCp932(kMsgFont);
            s.ProgrammeCount = index == 0 ? 0 : 100;
            s.CurrentProgrammeIndex = index;
            const auto texts = Texts(Draw(s, 0.5));
            QVERIFY(FindText(texts, QStringLiteral("No. ")) != nullptr);
            QCOMPARE(FindText(texts, u"■ 次  "_s) != nullptr, index == -3);
        }
    }

    // The last ASCII blank counts, and only whole characters are looked at; a CP932 text cut in
    // the middle of a character does not break the split.
    void splitBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("leading and trailing blanks trimmed")
            << QByteArray(("  " + Sjis("ラテン 決勝") + " \r").c_str())
            << QStringList{u"ラテン"_s, u"決勝"_s};
        QTest::newRow("two blanks: line 1 keeps the first")
            << QByteArray(Sjis("A  決勝").c_str()) << QStringList{u"A "_s, u"決勝"_s};
        QTest::newRow("dangling lead byte")
            << QByteArray(Sjis("ラテン 決").c_str()) + '\x8C' << QStringList{u"ラテン"_s, u"決"_s};
    }

    void splitBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        Competition s = MessageState({{0, "12", "", "", ""}});
        s.ProgrammeTexts[0] = bytes.toStdString();
        s.RoundSplit = true;
        const auto texts = Texts(Draw(s, 1.0));
        QStringList drawn;
        for (size_t i = 2; i < texts.size(); ++i) drawn << texts[i].text;
        QCOMPARE(drawn, lines);
    }
};

QTEST_MAIN(ProgressMessageViewTest)
#include "progress_message_view_test.moc"
