#include "pdganttviewbarstyle.h"

#include <QJsonDocument>
#include <QtTest>

class TestBarStyle : public QObject
{
    Q_OBJECT
private slots:
    void jsonRoundTripKeepsEveryField_data();
    void jsonRoundTripKeepsEveryField();
    void readingFallsBack_data();
    void readingFallsBack();
    void invalidColourIsWrittenAsBlack();
    void travelsInAVariant();
};

namespace {

PdGanttViewBarStyle withColumns()
{
    PdGanttViewBarStyle s = PdGanttViewBarStyle::chartDefaults().at(1);
    s.displayColumns = {{1, "Activity ID"}, {2, "Activity Name"}, {132, "Duration"}};
    return s;
}

PdGanttViewBarStyle fromText(const char *json)
{
    return PdGanttViewBarStyle::fromJson(QJsonDocument::fromJson(json).object());
}

} // namespace

void TestBarStyle::jsonRoundTripKeepsEveryField_data()
{
    QTest::addColumn<PdGanttViewBarStyle>("style");
    QTest::newRow("summary with shapes at both ends") << PdGanttViewBarStyle::chartDefaults().at(1);
    QTest::newRow("document milestone") << PdGanttViewBarStyle::documentDefaults().at(1);
    QTest::newRow("hidden document actual bar") << PdGanttViewBarStyle::documentDefaults().at(3);
    QTest::newRow("texts at three positions") << withColumns();
}

void TestBarStyle::jsonRoundTripKeepsEveryField()
{
    QFETCH(PdGanttViewBarStyle, style);
    const QByteArray text = QJsonDocument(style.toJson()).toJson();
    const PdGanttViewBarStyle back = PdGanttViewBarStyle::fromJson(QJsonDocument::fromJson(text).object());
    QCOMPARE(back.displayColumns, style.displayColumns);
    QVERIFY(back == style);
}

void TestBarStyle::readingFallsBack_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<PdGanttViewBarStyle>("expected");

    QTest::newRow("empty object") << QByteArray("{}") << PdGanttViewBarStyle();

    PdGanttViewBarStyle colours;
    colours.startPointColor = QColor();
    colours.bodyColor = QColor(0xaa, 0xbb, 0xcc);
    colours.endPointColor = QColor(Qt::red);
    QTest::newRow("unparsable, short hex and svg colour names")
            << QByteArray(R"({"startPointColor":"#12345","bodyColor":"#abc","endPointColor":"red"})") << colours;

    PdGanttViewBarStyle repeated;
    repeated.displayColumns = {{2, "second"}};
    QTest::newRow("repeated text position keeps the last")
            << QByteArray(R"({"displayColumns":[{"key":2,"value":"first"},{"key":2,"value":"second"}]})") << repeated;

    PdGanttViewBarStyle noVisible;
    noVisible.styleName = "Task";
    noVisible.bodyShapeHeight = 11;
    QTest::newRow("missing visible hides the style")
            << QByteArray(R"({"styleName":"Task","bodyShapeHeight":11})") << noVisible;
}

void TestBarStyle::readingFallsBack()
{
    QFETCH(QByteArray, json);
    QFETCH(PdGanttViewBarStyle, expected);
    const PdGanttViewBarStyle s = fromText(json.constData());
    QCOMPARE(s.startPointColor.isValid(), expected.startPointColor.isValid());
    QCOMPARE(s.bodyColor, expected.bodyColor);
    QCOMPARE(s.displayColumns, expected.displayColumns);
    QVERIFY(s == expected);
}

void TestBarStyle::invalidColourIsWrittenAsBlack()
{
    PdGanttViewBarStyle s;
    s.bodyColor = QColor(0xAB, 0xCD, 0xEF);
    const QJsonObject o = s.toJson();
    QCOMPARE(o.value("startPointColor").toString(), QString("#000000"));
    QCOMPARE(o.value("bodyColor").toString(), QString("#abcdef"));
    QCOMPARE(o.value("visible").toBool(true), false);
    QCOMPARE(o.value("displayColumns").toArray().size(), 0);
}

void TestBarStyle::travelsInAVariant()
{
    PdGanttViewBarStyle::registerMetaType();
    QVERIFY(QMetaType::type("PdGanttViewBarStyle") != QMetaType::UnknownType);
    const QVariant v = QVariant::fromValue(withColumns());
    QCOMPARE(QString(v.typeName()), QString("PdGanttViewBarStyle"));
    QVERIFY(v.value<PdGanttViewBarStyle>() == withColumns());
}

QTEST_MAIN(TestBarStyle)
#include "tst_pdganttviewbarstyle.moc"
