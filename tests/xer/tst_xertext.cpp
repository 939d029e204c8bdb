#include "xertext.h"

#include <QtTest>

class TestXerText : public QObject
{
    Q_OBJECT

private slots:
    void decodesUtf8OrWindows1252_data();
    void decodesUtf8OrWindows1252();
};

void TestXerText::decodesUtf8OrWindows1252_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ASCII") << QByteArray("%R\t1\tDig") << QString("%R\t1\tDig");
    QTest::newRow("UTF-8 four-byte character") << QByteArray("a\xF0\x9F\x8F\x97z") << QString::fromUtf8("a\xF0\x9F\x8F\x97z");
    QTest::newRow("Windows-1252 currency and quotes")
        << QByteArray("\x80 \xA3 \xA5 \x93q\x94 \x96") << QString::fromUtf8("€ £ ¥ “q” –");
    QTest::newRow("bytes undefined in Windows-1252 stay C1 controls")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D");
    QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("\xC0\xAF") << QString::fromUtf8("À¯");
    QTest::newRow("UTF-8 surrogate is not UTF-8") << QByteArray("\xED\xA0\x80") << QString::fromUtf8("í\xC2\xA0€");
    QTest::newRow("sequence cut short at the end") << QByteArray("ab\xC3") << QString::fromUtf8("abÃ");
    QTest::newRow("above U+10FFFF is not UTF-8") << QByteArray("\xF4\x90\x80\x80") << QString::fromUtf8("ô\xC2\x90€€");
    QTest::newRow("UTF-8 fields among long plain runs")
        << QByteArray("%R\tM\xC3\xBCller\tFa\xC3\xA7" "ade with a long plain tail\t\t\xF0\x9F\x8F\x97\tand the end of it")
        << QString::fromUtf8("%R\tMüller\tFaçade with a long plain tail\t\t\xF0\x9F\x8F\x97\tand the end of it");
    QTest::newRow("UTF-8 byte-order mark dropped") << QByteArray("\xEF\xBB\xBF\tM\xC3\xBCller") << QString::fromUtf8("\tMüller");
    QTest::newRow("only the first byte-order mark dropped")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "A") << QString(QChar(0xFEFF)) + QLatin1Char('A');
    QTest::newRow("Windows-1252 fields") << QByteArray("%R\tM\xFCller\t\x80\t") << QString::fromUtf8("%R\tMüller\t€\t");
}

void TestXerText::decodesUtf8OrWindows1252()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(xer::decodeLine(bytes.constData(), bytes.size()), expected);

    QVector<ushort> out(bytes.size());
    std::vector<int> tabs;
    const int size = xer::decodeLine(bytes.constData(), bytes.size(), out.data(), tabs);
    QCOMPARE(QString(reinterpret_cast<const QChar *>(out.constData()), size), expected);
    QVector<int> expectedTabs;
    for (int i = 0; i < expected.size(); ++i) {
        if (expected.at(i) == '\t')
            expectedTabs << i;
    }
    QCOMPARE(QVector<int>(tabs.begin(), tabs.end()), expectedTabs);
}

QTEST_APPLESS_MAIN(TestXerText)
#include "tst_xertext.moc"
