#include "pdganttviewbarstyle.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

namespace {

PdGanttViewBarStyle withColumns()
{
    PdGanttViewBarStyle s = PdGanttViewBarStyle::chartDefaults().at(1);
    s.displayColumns = {{1, "Activity ID"}, {2, "Activity Name"}, {132, "Duration"}};
    return s;
}

// Kept out of the class body: moc does not read raw string literals.
const char *badColours = R"({"startPointColor":"#12345","bodyColor":"#abc","endPointColor":"red"})";
const char *repeatedKey = R"({"displayColumns":[{"key":2,"value":"first"},{"key":2,"value":"second"}]})";
const char *noVisibleKey = R"({"styleName":"Task","bodyShapeHeight":11})";

} // namespace

class TestBarStyle : public QObject
{
    Q_OBJECT
private slots:
    void jsonRoundTrip_data()
    {
        QTest::addColumn<PdGanttViewBarStyle>("style");
        QTest::addColumn<PdGanttViewBarStyle>("expected");
        QTest::newRow("summary with shapes at both ends") << PdGanttViewBarStyle::chartDefaults().at(1)
                                                          << PdGanttViewBarStyle::chartDefaults().at(1);
        QTest::newRow("hidden document actual bar") << PdGanttViewBarStyle::documentDefaults().at(3)
                                                    << PdGanttViewBarStyle::documentDefaults().at(3);
        QTest::newRow("texts at three positions") << withColumns() << withColumns();
        PdGanttViewBarStyle unset;
        unset.bodyColor = QColor(0xAB, 0xCD, 0xEF);
        QTest::newRow("unset colours stay unset") << unset << unset;
    }

    void jsonRoundTrip()
    {
        QFETCH(PdGanttViewBarStyle, style);
        QFETCH(PdGanttViewBarStyle, expected);
        // Colours are written as "#rrggbb", an unset one as an empty text.
        for (const char* key : {"startPointColor", "bodyColor", "endPointColor"})
            QVERIFY(QRegularExpression("^(#[0-9a-f]{6})?$").match(style.toJson().value(key).toString()).hasMatch());
        const QByteArray text = QJsonDocument(style.toJson()).toJson();
        const PdGanttViewBarStyle back = PdGanttViewBarStyle::fromJson(QJsonDocument::fromJson(text).object());
        QVERIFY(back == expected);
    }

    void readingFallsBack_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<PdGanttViewBarStyle>("expected");
        QTest::newRow("empty object") << QByteArray("{}") << PdGanttViewBarStyle();
        PdGanttViewBarStyle colours;
        colours.bodyColor = QColor(0xaa, 0xbb, 0xcc);
        colours.endPointColor = QColor(Qt::red);
        QTest::newRow("unparsable, short hex and svg colour names")
                << QByteArray(badColours) << colours;
        PdGanttViewBarStyle repeated;
        repeated.displayColumns = {{2, "second"}};
        QTest::newRow("repeated text position keeps the last")
                << QByteArray(repeatedKey) << repeated;
        PdGanttViewBarStyle noVisible;
        noVisible.styleName = "Task";
        noVisible.bodyShapeHeight = 11;
        QTest::newRow("missing visible hides the style")
                << QByteArray(noVisibleKey) << noVisible;
    }

    void readingFallsBack()
    {
        QFETCH(QByteArray, json);
        QFETCH(PdGanttViewBarStyle, expected);
        const PdGanttViewBarStyle s = PdGanttViewBarStyle::fromJson(QJsonDocument::fromJson(json).object());
        QVERIFY(s == expected);
    }
};

QTEST_MAIN(TestBarStyle)
#include "tst_pdganttviewbarstyle.moc"
