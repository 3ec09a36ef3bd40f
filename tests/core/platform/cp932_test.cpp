// CP932 conversion: the characters the scoring system really writes, and cut fields.
#include "core/platform/cp932.h"

#include <QtTest>

class Cp932Test : public QObject {
    Q_OBJECT
  private slots:
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("No. 012") << QByteArray("No. 012");
        QTest::newRow("taka") << QStringLiteral(u"髙") << QByteArray("\xFB\xFC");
        QTest::newRow("saki") << QStringLiteral(u"﨑") << QByteArray("\xFA\xB1");
        QTest::newRow("circled one") << QStringLiteral(u"①") << QByteArray("\x87\x40");
        QTest::newRow("so with 5C trail") << QStringLiteral(u"ソ") << QByteArray("\x83\x5C");
        QTest::newRow("backslash") << QStringLiteral("\\") << QByteArray("\x5C");
        QTest::newRow("half-width kana") << QStringLiteral(u"ﾌﾛｱ") << QByteArray("\xCC\xDB\xB1");
        QTest::newRow("ideographic space")
            << QStringLiteral(u"決　勝") << QByteArray("\x8C\x88\x81\x40\x8F\x9F");
        QTest::newRow("full-width tilde") << QStringLiteral(u"～") << QByteArray("\x81\x60");
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::string encoded = ToCp932(text);
        QCOMPARE(QByteArray::fromStdString(encoded), bytes);
        // Twice: the second decoding comes from what the first kept.
        for (int i = 0; i < 2; ++i) QCOMPARE(FromCp932(bytes.toStdString()), text);
    }

    void literalsConvertOnce() {
        QCOMPARE(QByteArray::fromStdString(Sjis("■ 現在")),
                 QByteArray("\x81\xA1 \x8C\xBB\x8D\xDD"));
    }

    void cutFields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("dangling lead byte") << QByteArray("AB\x8C") << QStringLiteral("AB");
        QTest::newRow("only a lead byte") << QByteArray("\x81") << QString();
        QTest::newRow("lead byte after kanji")
            << QByteArray("\x8C\xBB\x8D") << QStringLiteral(u"現");
        QTest::newRow("invalid pair") << QByteArray("\x85\x20") << QStringLiteral(u"\uFFFD");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void cutFields() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        for (int i = 0; i < 2; ++i) QCOMPARE(FromCp932(bytes.toStdString()), text);
    }

    void waveDashTypedOnTheConsoleEncodes() {
        QCOMPARE(ToCp932(QStringLiteral(u"〜")), std::string("\x81\x60"));
    }

    // One "?" per character CP932 cannot hold, whatever the UTF-16 around it; the characters
    // after it survive.
    void unencodableBecomesQuestionMark_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("emoji pair") << QStringLiteral(u"a😀b") << QByteArray("a?b");
        QTest::newRow("euro") << QStringLiteral(u"Ω€") << QByteArray("\x83\xB6?");
        QTest::newRow("hangul") << QStringLiteral(u"한決") << QByteArray("?\x8C\x88");
        QTest::newRow("lone high surrogate before ascii")
            << QString(QChar(0xD83D)) + u'x' << QByteArray("?x");
        QTest::newRow("lone high surrogate before kanji")
            << QString(QChar(0xD83D)) + u'勝' << QByteArray("?\x8F\x9F");
        QTest::newRow("lone high surrogate at the end")
            << QString(QChar(0xD83D)) << QByteArray("?");
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) + u'b' << QByteArray("?b");
    }
    void unencodableBecomesQuestionMark() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(QByteArray::fromStdString(ToCp932(text)), bytes);
    }

    void anyBytesDecode() {
        std::string all;
        for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
        for (int i = 0; i < 256; ++i) {
            all.push_back(static_cast<char>(i));
            all.push_back(static_cast<char>(255 - i));
        }
        QVERIFY(!FromCp932(all).isEmpty());
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "cp932_test.moc"
