// Numbers at the edge of int in seqdat.csv (the reader clamps them to INT_MIN and INT_MAX) taken
// through everything that computes with an event's category and round: the programme item, the
// result list, the round load and the views with headers. Under UBSan an overflow anywhere
// aborts the test.
#include <QtTest>

#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/competition/view_types.h"
#include "core/data/entry_files.h"
#include "core/display/renderer.h"
#include "support/test_files.h"

class EdgeNumbersTest : public QObject {
    Q_OBJECT
  private slots:
    void eventNumbersAtTheEdgeOfInt_data() {
        QTest::addColumn<QByteArray>("seqdat");
        QTest::addColumn<int>("current");  // CurrentEventIndex
        QString low = "001";
        QString high = "001";
        for (int k = 0; k < 12; ++k) {
            low += ",-2147483648";
            high += ",99999999999";
        }
        // 13 bytes: a nameless event whose category is below INT_MIN, shown as the next event
        // from a ceremony and as the current one.
        QTest::newRow("13 bytes, the next event") << QByteArray(",-2147806480\n") << -1;
        QTest::newRow("13 bytes, the current event") << QByteArray(",-2147806480\n") << 0;
        QTest::newRow("every number INT_MIN") << (low + "\n").toLatin1() << 0;
        QTest::newRow("every number INT_MAX") << (high + "\n").toLatin1() << 0;
        QTest::newRow("finals on both floors in category INT_MIN")
            << QByteArray("001,-2147483648,7,1,0,0,1,-2147483648,7\n") << 0;
    }
    void eventNumbersAtTheEdgeOfInt() {
        QFETCH(QByteArray, seqdat);
        QFETCH(int, current);
        TestFolder dir;
        dir.WriteBytes("seqdat.csv", seqdat.toStdString());
        Competition s;
        s.DataFolder = dir.Path();
        s.Config.DataFont = "Sans";
        QVERIFY(LoadEvents(s.DataFolder, s));
        // A code starting with "X" keeps the current event.
        s.ProgrammeCount = 1;
        s.ProgrammeCodes[0] = "X";
        s.CurrentEventIndex = current;
        const ProgrammeItemLabels labels = ShowProgrammeItem(s);
        if (current >= 0) QCOMPARE(labels.label8, std::string("---"));
        for (bool categoryOrder : {true, false}) FillResultList(s, categoryOrder);
        s.ResultListRow = 0;
        LoadRound(s);
        Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
        RenderTarget target{&canvas, 1.0};
        for (int view : {kViewHeat, kViewFinalists, kViewFinalResult, kViewProgressMessage}) {
            DrawViewType(view, s, target);
        }
    }
};

QTEST_MAIN(EdgeNumbersTest)
#include "edge_numbers_test.moc"
