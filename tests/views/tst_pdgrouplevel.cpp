#include "pdgrouplevel.h"

#include <QtTest>

class TestPdGroupLevel : public QObject
{
    Q_OBJECT
private slots:
    void textRoundTrip_data();
    void textRoundTrip();
    void partsLeftOutKeepTheBuiltInLook();
};

void TestPdGroupLevel::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("written by the view") << PdGroupLevel::toText(PdGroupLevel::defaultLevels());
    QTest::newRow("bold italic underlined, translucent")
        << "WBS Name;All;Arial:iub;r255g255b255a255;r60g83b111a128,Start Date;Quarter;Arial:;;r0g101b169a255";
    QTest::newRow("a level without a background") << "Phase;;Arial:b;r0g0b0a255;";
    QTest::newRow("no text colour") << "Phase;;Arial:b;;r1g2b3a255";
}

void TestPdGroupLevel::textRoundTrip()
{
    QFETCH(QString, text);
    const QList<PdGroupLevel> levels = PdGroupLevel::fromText(text);
    QCOMPARE(PdGroupLevel::toText(levels), PdGroupLevel::toText(PdGroupLevel::fromText(PdGroupLevel::toText(levels))));
    QCOMPARE(PdGroupLevel::fromText(PdGroupLevel::toText(levels)), levels);
    for (const PdGroupLevel &level : levels) {
        // A missing background must not come back as solid black.
        if (level.background.style() != Qt::NoBrush)
            QVERIFY(level.background.color() != QColor(Qt::black));
    }
}

void TestPdGroupLevel::partsLeftOutKeepTheBuiltInLook()
{
    // As a P6 view gives it: field and depth only.
    const QList<PdGroupLevel> levels = PdGroupLevel::fromText("WBS Code;All,Phase");
    QCOMPARE(levels.size(), 2);
    QCOMPARE(levels.at(0).field, QString("WBS Code"));
    QCOMPARE(levels.at(0).interval, QString("All"));
    QCOMPARE(levels.at(0).background.color(), QColor(60, 83, 111));
    QCOMPARE(levels.at(1).background.color(), QColor(0, 101, 169));
    QVERIFY(!levels.at(0).textColor.isValid());
    QVERIFY(levels.at(0).font.bold());
    QCOMPARE(PdGroupLevel::fontText(levels.at(0).font), QString("MS Shell Dlg 2:b"));
}

QTEST_MAIN(TestPdGroupLevel)
#include "tst_pdgrouplevel.moc"
