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

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << path << error.errorString() << "at" << error.offset;
    return doc.object();
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        plandeck::initResources();
        const QJsonArray tables = readJson(QStringLiteral(":/files/schema.json")).value("tables").toArray();
        for (const QJsonValue& t : tables)
            m_catalogue.insert(t.toObject().value("name").toString(), t.toObject().value("columns").toArray());
        QCOMPARE(tables.size(), 10);
        QCOMPARE(m_catalogue.size(), 10);
    }

    void catalogueTable_data()
    {
        QTest::addColumn<QString>("table");
        for (const char* name : { "PROJWBS", "TASK", "TASKPRED", "RSRC", "TASKRSRC", "ACTVTYPE", "ACTVCODE", "TASKACTV",
                 "UDFTYPE", "UDFVALUE" })
            QTest::newRow(name) << name;
    }

    // Every descriptor: known keys, all values text, a known datatype, a
    // display text, no repeated id, flags only ever "true".
    void catalogueTable()
    {
        QFETCH(QString, table);
        QVERIFY(!m_catalogue.value(table).isEmpty());
        const QSet<QString> datatypes { "integer", "double", "string", "datetime" };
        const QSet<QString> allowedKeys { "id", "display", "datatype", "group", "structure", "calculated" };
        QSet<QString> ids;
        for (const QJsonValue& c : m_catalogue.value(table)) {
            const QJsonObject col = c.toObject();
            const QString where = table + "." + col.value("id").toString();
            for (auto it = col.begin(); it != col.end(); ++it) {
                QVERIFY2(allowedKeys.contains(it.key()), qPrintable(where + " key " + it.key()));
                QVERIFY2(it.value().isString(), qPrintable(where + " non-text " + it.key()));
            }
            QVERIFY2(datatypes.contains(col.value("datatype").toString()), qPrintable(where));
            QVERIFY2(!col.value("display").toString().isEmpty(), qPrintable(where));
            QVERIFY2(!ids.contains(col.value("id").toString()), qPrintable(where + " repeated"));
            ids.insert(col.value("id").toString());
            for (const char* flag : { "structure", "calculated" })
                QVERIFY2(!col.contains(flag) || col.value(flag).toString() == QLatin1String("true"), qPrintable(where));
        }
    }

    void defaultLayoutHasSixBarStyles()
    {
        const QJsonArray styles = readJson(QStringLiteral(":/files/xer_style.json")).value("barStyles").toArray();
        const QStringList names { "Task", "Milestone", "Summary", "Actual", "Baseline Task", "Baseline Milestone" };
        QCOMPARE(styles.size(), names.size());
        for (int i = 0; i < styles.size(); ++i) {
            const QJsonObject style = styles.at(i).toObject();
            QCOMPARE(style.value("styleName").toString(), names.at(i));
            QVERIFY(style.value("displayColumns").isArray());
            QVERIFY(style.value("visible").isBool());
            for (const char* key : { "startPointColor", "bodyColor", "endPointColor" })
                QVERIFY2(QColor(style.value(key).toString()).isValid(), qPrintable(names.at(i) + " " + key));
        }
    }

    // A default column whose title the catalogue does not know would silently stay hidden.
    void defaultLayoutColumnsNameCatalogueColumns()
    {
        QSet<QString> displays;
        for (const QJsonValue& c : m_catalogue.value("TASK"))
            displays.insert(c.toObject().value("display").toString());
        const QJsonArray columns = readJson(QStringLiteral(":/files/xer_style.json")).value("columns").toArray();
        QVERIFY(!columns.isEmpty());
        for (const QJsonValue& entry : columns) {
            const QStringList parts = entry.toString().split(':');
            QCOMPARE(parts.size(), 2);
            QVERIFY2(displays.contains(parts.first()), qPrintable(parts.first()));
            QVERIFY(parts.last().toInt() > 0);
        }
    }

    // Every listed icon is a square image of at least 16 pixels, and the bundle
    // holds exactly those: a misspelt path on either side would leave an action
    // without its icon, silently.
    void iconsLoadAndMatchTheBundle()
    {
        QStringList listed = plandeck::iconResourcePaths();
        for (const QString& path : listed) {
            const QImage image(path);
            QVERIFY2(!image.isNull() && image.width() >= 16 && image.width() == image.height(), qPrintable(path));
        }
        QStringList bundled;
        for (const QString& name : QDir(QStringLiteral(":/images")).entryList(QDir::Files))
            bundled << QStringLiteral(":/images/") + name;
        bundled.sort();
        listed.sort();
        QCOMPARE(bundled, listed);
    }

private:
    QHash<QString, QJsonArray> m_catalogue;
};

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
