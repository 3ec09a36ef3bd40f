// The announcement screens: each kind's text and place at both scales, the free message and its
// byte limit, and the two passes with the hold.
#include "core/display/message_screen.h"

#include <QtTest>

#include "core/competition/view_types.h"
#include "core/display/progress_message_view.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

const QString kMsgFont = QStringLiteral(u"HG丸ｺﾞｼｯｸM-PRO");

struct FakeHost : RendererHost {
    QStringList calls;
    void ShowAudienceSurface(bool wide) override { calls << (wide ? "audience wide" : "audience"); }
    void ShowPreviewSurface(bool wide) override { calls << (wide ? "preview wide" : "preview"); }
};

// The size FitMessageFont chooses for a text, on a canvas of its own.
int FittedSize(const QString& text, double scale) {
    Canvas probe(10, 10, QStringLiteral("probe"));
    probe.SetFontName(kMsgFont);
    RenderTarget t{&probe, scale};
    FitMessageFont(t, text);
    return probe.FontSize();
}

}  // namespace

class MessageScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void screen_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("freeText");
        QTest::addColumn<QStringList>("lines");  // at 280, or at 200 and 350
        const auto row = [](const char* name, int kind, const QString& free, QStringList lines) {
            QTest::newRow(name) << kind << free << lines;
        };
        // "\u3000" is the ideographic space; the blanks differ from text to text.
        row("0 break", 0, {}, {u"■■■\u3000 休\u3000憩\u3000 ■■■"_s});
        row("1 lunch", 1, {}, {u"■■■   昼休み\u3000 ■■■"_s});
        row("2 ceremony", 2, {}, {u"■■■ セレモニー ■■■"_s});
        row("3 wait", 3, {}, {u"■■■\u3000少しお待ち下さい\u3000■■■"_s});
        row("4 goodbye", 4, {}, {u"■■■\u3000さよなら  ■■■"_s, u"気を付けてお帰り下さい"_s});
        row("5 check", 5, {}, {u"■■■\u3000運用調整中\u3000 ■■■"_s});
        row("6 dance time", 6, {}, {u"■■■ ダンスタイム ■■■"_s});
        row("7 award ceremony", 7, {}, {u"■■■ 表彰式 ■■■"_s});
        row("9 start text", 9, u"※ 任意のメッセージが出力可能"_s,
            {u"※ 任意のメッセージが出力可能"_s});
        row("9 empty: heading and rule only", 9, {}, {});
        row("9 a character CP932 lacks", 9, u"休憩😀中"_s, {u"休憩?中"_s});
        row("9 over 127 bytes", 9, QString(70, u'漢'), {QString(63, u'漢')});
        row("8 is no kind", 8, u"x"_s, {});
    }

    void screen() {
        QFETCH(int, kind);
        QFETCH(QString, freeText);
        QFETCH(QStringList, lines);
        const QList<int> ys = lines.size() == 2 ? QList{200, 350} : QList{280};
        for (double scale : {1.0, 0.5}) {
            Competition s;
            s.Config.MsgFont = ToCp932(kMsgFont);
            Canvas canvas(int(1024 * scale), int(600 * scale), QStringLiteral("ScrForm.Image9"));
            canvas.SetRecording(true);
            RenderTarget t{&canvas, scale};
            DrawMessageScreen(s, t, kind, ToCp932(freeText));
            const auto records = canvas.TakeRecords();
            const auto at = [scale](int x, int y) {
                return QPoint(int(x * scale), int(y * scale));
            };

            QCOMPARE(records.front().op, QStringLiteral("rectangle"));
            const auto rules = RecordsOf(records, "line");
            QCOMPARE(rules.size(), size_t(1));
            QCOMPARE(rules[0].points, (std::vector{at(20, 80), at(999, 80)}));
            QCOMPARE(rules[0].pen, QColor(Qt::white));

            const auto texts = RecordsOf(records, "text");
            QCOMPARE(int(texts.size()), 1 + lines.size());
            QCOMPARE(texts[0].text, u"■ 現在"_s);
            QCOMPARE(QPoint(texts[0].x, texts[0].y), at(20, 33));
            QCOMPARE(texts[0].size, int(26 * scale));
            QCOMPARE(texts[0].color, QColor(255, 255, 0));
            for (int i = 0; i < lines.size(); ++i) {
                const DrawRecord& r = texts[1 + i];
                QCOMPARE(r.text, lines[i]);
                QCOMPARE(QPair(r.font, r.color), QPair(kMsgFont, QColor(Qt::white)));
                QCOMPARE(r.size, FittedSize(lines[i], scale));
                QCOMPARE(QPoint(r.x, r.y), QPoint(int(500 * scale - r.w / 2), int(ys[i] * scale)));
            }
        }
    }

    void cut_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("kept");  // bytes
        const QByteArray kanji = QByteArray::fromStdString(Sjis("漢"));
        QTest::newRow("127 bytes stay") << QByteArray(127, 'a') << 127;
        QTest::newRow("128 single bytes") << QByteArray(128, 'a') << 127;
        QTest::newRow("double-byte across the limit") << QByteArray(126, 'a') + kanji << 126;
        QTest::newRow("double-byte ending on the limit") << QByteArray(125, 'a') + kanji << 127;
        QTest::newRow("64 double-byte characters") << kanji.repeated(64) << 126;
        QTest::newRow("dangling lead byte") << QByteArray("AB\x8C") << 2;
        QTest::newRow("empty") << QByteArray() << 0;
    }

    void cut() {
        QFETCH(QByteArray, text);
        QFETCH(int, kept);
        QCOMPARE(QByteArray::fromStdString(CutMessageText(text.toStdString())), text.left(kept));
    }

    // Both normal surfaces, or the preview only while held; the audience panels stay as they are
    // while held.
    void passesAndHold_data() {
        QTest::addColumn<int>("hold");
        QTest::newRow("shown") << 0;
        QTest::newRow("held") << 1;
    }

    void passesAndHold() {
        QFETCH(int, hold);
        Competition s;
        Canvas audience(1024, 600, "ScrForm.Image9"), preview(512, 300, "DspMain.Image1");
        Canvas audienceWide(1024, 768, "ScrForm.ImageW"), previewWide(512, 384, "DspMain.ImageW");
        FakeHost host;
        Renderer renderer(s);
        renderer.Bind({&audience, &preview, &audienceWide, &previewWide}, &host);
        for (Canvas* c : {&audience, &preview, &audienceWide, &previewWide}) c->SetRecording(true);
        s.HoldScreen = hold;

        ShowMessageScreen(s, renderer, kMessageBreak, std::string());

        const QStringList expected =
            hold ? QStringList{"preview"} : QStringList{"audience", "preview"};
        QCOMPARE(host.calls, expected);
        QCOMPARE(audience.Records().empty(), hold == 1);
        QVERIFY(FindText(preview.Records(), u"■■■\u3000 休\u3000憩\u3000 ■■■"_s) != nullptr);
        QVERIFY(audienceWide.Records().empty() && previewWide.Records().empty());
    }
};

QTEST_MAIN(MessageScreenTest)
#include "message_screen_test.moc"
