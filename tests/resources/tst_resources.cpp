#include "plandeckresources.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtTest>

namespace {

QJsonDocument readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonParseError error;
    QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << path << error.errorString() << "at" << error.offset;
    return doc;
}

QJsonArray catalogueColumns(const QString& table)
{
    const QJsonArray tables = readJson(QStringLiteral(":/files/schema.json")).object().value("tables").toArray();
    for (const QJsonValue& t : tables) {
        if (t.toObject().value("name").toString() == table)
            return t.toObject().value("columns").toArray();
    }
    return {};
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { plandeck::initResources(); }

    void catalogueTableShape_data();
    void catalogueTableShape();
    void catalogueDescriptorsAreWellFormed();
    void catalogueColumnAt_data();
    void catalogueColumnAt();
    void defaultLayoutHasSixBarStyles();
    void defaultLayoutColumnsNameCatalogueColumns();
    void iconLoads_data();
    void iconLoads();
    void bundleHoldsExactlyTheListedIcons();
};

void TestResources::catalogueTableShape_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("columns");
    QTest::newRow("PROJWBS") << "PROJWBS" << 7;
    QTest::newRow("TASK") << "TASK" << 59;
    QTest::newRow("TASKPRED") << "TASKPRED" << 5;
    QTest::newRow("RSRC") << "RSRC" << 6;
    QTest::newRow("TASKRSRC") << "TASKRSRC" << 25;
    QTest::newRow("ACTVTYPE") << "ACTVTYPE" << 13;
    QTest::newRow("ACTVCODE") << "ACTVCODE" << 13;
    QTest::newRow("TASKACTV") << "TASKACTV" << 6;
    QTest::newRow("UDFTYPE") << "UDFTYPE" << 5;
    QTest::newRow("UDFVALUE") << "UDFVALUE" << 7;
}

void TestResources::catalogueTableShape()
{
    QFETCH(QString, table);
    QFETCH(int, columns);
    QCOMPARE(catalogueColumns(table).size(), columns);
}

void TestResources::catalogueDescriptorsAreWellFormed()
{
    const QJsonArray tables = readJson(QStringLiteral(":/files/schema.json")).object().value("tables").toArray();
    QCOMPARE(tables.size(), 10);
    const QSet<QString> datatypes { "integer", "double", "string", "datetime" };
    const QSet<QString> allowedKeys { "id", "display", "datatype", "group", "structure", "calculated" };
    for (const QJsonValue& t : tables) {
        const QString name = t.toObject().value("name").toString();
        QSet<QString> ids;
        for (const QJsonValue& c : t.toObject().value("columns").toArray()) {
            const QJsonObject col = c.toObject();
            const QString where = name + "." + col.value("id").toString();
            for (auto it = col.begin(); it != col.end(); ++it) {
                QVERIFY2(allowedKeys.contains(it.key()), qPrintable(where + " key " + it.key()));
                QVERIFY2(it.value().isString(), qPrintable(where + " non-text " + it.key()));
            }
            QVERIFY2(datatypes.contains(col.value("datatype").toString()), qPrintable(where));
            QVERIFY2(!col.value("display").toString().isEmpty(), qPrintable(where));
            QVERIFY2(!ids.contains(col.value("id").toString()), qPrintable(where + " repeated"));
            ids.insert(col.value("id").toString());
            for (const char* flag : { "structure", "calculated" }) {
                if (col.contains(flag))
                    QCOMPARE(col.value(flag).toString(), QStringLiteral("true"));
            }
        }
    }
}

void TestResources::catalogueColumnAt_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("flag");

    QTest::newRow("activity id") << "TASK" << 5 << "task_code" << "Activity ID" << "string" << "General" << "";
    QTest::newRow("computed start") << "TASK" << 51 << "start_date" << "Start Date" << "datetime" << "Dates" << "calculated";
    QTest::newRow("last activity column") << "TASK" << 58 << "outline_level" << "Outline Level" << "string" << "Lists" << "calculated";
    QTest::newRow("activity status") << "TASK" << 53 << "status_code" << "Activity status" << "string" << "General" << "";
    QTest::newRow("wbs code builds tree") << "PROJWBS" << 2 << "wbs_short_name" << "WBS Code" << "string" << "General" << "structure";
    QTest::newRow("relationship lag") << "TASKPRED" << 4 << "lag_hr_cnt" << "Lag" << "double" << "hidden" << "";
    QTest::newRow("resource name") << "RSRC" << 4 << "rsrc_name" << "Resource Name" << "string" << "General" << "";
    QTest::newRow("assignment rate type") << "TASKRSRC" << 24 << "rate_type" << "Multiple resource rates" << "string" << "Resources" << "";
    QTest::newRow("code name") << "ACTVCODE" << 5 << "actv_code_name" << "Code Name" << "string" << "Activity Codes" << "";
    QTest::newRow("code type scope") << "ACTVTYPE" << 4 << "actv_code_type_scope" << "Scope" << "string" << "Activity Codes" << "";
    QTest::newRow("code assignment proj_id is text") << "TASKACTV" << 3 << "proj_id" << "proj_id" << "string" << "system" << "";
    QTest::newRow("udf label") << "UDFTYPE" << 3 << "udf_type_label" << "Label" << "string" << "User Defined Field" << "";
    QTest::newRow("udf number is integer") << "UDFVALUE" << 5 << "udf_number" << "udf_number" << "integer" << "User Defined Field" << "";
}

void TestResources::catalogueColumnAt()
{
    QFETCH(QString, table);
    QFETCH(int, position);
    QFETCH(QString, id);
    QFETCH(QString, display);
    QFETCH(QString, datatype);
    QFETCH(QString, group);
    QFETCH(QString, flag);

    const QJsonObject col = catalogueColumns(table).at(position).toObject();
    QCOMPARE(col.value("id").toString(), id);
    QCOMPARE(col.value("display").toString(), display);
    QCOMPARE(col.value("datatype").toString(), datatype);
    QCOMPARE(col.value("group").toString(), group);
    const int expectedFlags = flag.isEmpty() ? 0 : 1;
    QCOMPARE(int(col.contains("structure")) + int(col.contains("calculated")), expectedFlags);
    if (!flag.isEmpty())
        QCOMPARE(col.value(flag).toString(), QStringLiteral("true"));
}

void TestResources::defaultLayoutHasSixBarStyles()
{
    const QJsonDocument doc = readJson(QStringLiteral(":/files/xer_style.json"));
    QVERIFY(doc.isObject());
    const QJsonArray styles = doc.object().value("barStyles").toArray();
    QCOMPARE(styles.size(), 6);
    const QStringList names { "Task", "Milestone", "Summary", "Actual", "Baseline Task", "Baseline Milestone" };
    for (int i = 0; i < styles.size(); ++i) {
        const QJsonObject style = styles.at(i).toObject();
        QCOMPARE(style.value("styleName").toString(), names.at(i));
        QVERIFY(style.value("displayColumns").isArray());
        QVERIFY(style.value("visible").isBool());
        QCOMPARE(style.value("visible").toBool(), i < 3);
        for (const char* key : { "startPointColor", "bodyColor", "endPointColor" })
            QVERIFY2(QColor(style.value(key).toString()).isValid(), qPrintable(names.at(i) + " " + key));
    }
}

// A default column whose title the catalogue does not know would silently stay hidden.
void TestResources::defaultLayoutColumnsNameCatalogueColumns()
{
    QSet<QString> displays;
    for (const QJsonValue& c : catalogueColumns("TASK"))
        displays.insert(c.toObject().value("display").toString());
    const QJsonArray columns = readJson(QStringLiteral(":/files/xer_style.json")).object().value("columns").toArray();
    QVERIFY(!columns.isEmpty());
    for (const QJsonValue& entry : columns) {
        const QStringList parts = entry.toString().split(':');
        QCOMPARE(parts.size(), 2);
        QVERIFY2(displays.contains(parts.first()), qPrintable(parts.first()));
        QVERIFY(parts.last().toInt() > 0);
    }
}

void TestResources::iconLoads_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& path : plandeck::iconResourcePaths())
        QTest::newRow(qPrintable(path.mid(9))) << path;
}

void TestResources::iconLoads()
{
    QFETCH(QString, path);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY(image.width() >= 16);
    QCOMPARE(image.width(), image.height());
}

// A misspelt path on either side would leave an action without its icon, silently.
void TestResources::bundleHoldsExactlyTheListedIcons()
{
    QStringList bundled;
    for (const QString& name : QDir(QStringLiteral(":/images")).entryList(QDir::Files))
        bundled << QStringLiteral(":/images/") + name;
    QStringList listed = plandeck::iconResourcePaths();
    bundled.sort();
    listed.sort();
    QCOMPARE(bundled, listed);
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
