#include "pddateindex.h"
#include "pdindex.h"
#include "pdmodelutils.h"

#include <QStandardItemModel>
#include <QtTest>

#include <algorithm>

namespace {

// One row per given tuple of cells; a null variant leaves the cell empty.
QStandardItemModel* makeModel(const QList<QVariantList>& rows, QObject* parent)
{
    auto* model = new QStandardItemModel(parent);
    for (const QVariantList& cells : rows) {
        QList<QStandardItem*> items;
        for (const QVariant& value : cells) {
            auto* item = new QStandardItem;
            if (value.isValid())
                item->setData(value, Qt::DisplayRole);
            items << item;
        }
        model->appendRow(items);
    }
    return model;
}

QList<QVariantList> column(const QVariantList& values)
{
    QList<QVariantList> rows;
    for (const QVariant& v : values)
        rows << QVariantList{v};
    return rows;
}

QString rowsText(const QVector<int>& set)
{
    QVector<int> rows = set;
    std::sort(rows.begin(), rows.end());
    QStringList parts;
    for (int r : rows)
        parts << QString::number(r);
    return parts.join(QLatin1Char(','));
}

// "key=display[rows]<parent" for every key in key order.
QString dump(const PdIndex& index)
{
    QStringList parts;
    for (auto it = index.map.cbegin(); it != index.map.cend(); ++it) {
        QString part = QStringLiteral("%1=%2[%3]").arg(it.key().toString(), it->display.toString(), rowsText(it->rows));
        if (it->parentKey.isValid())
            part += QLatin1Char('<') + it->parentKey.toString();
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

int depthOfKey(const PdIndex& index, QVariant key)
{
    int depth = 0;
    while (index.map.value(key).parentKey.isValid() && depth <= index.map.size()) {
        key = index.map.value(key).parentKey;
        ++depth;
    }
    return depth;
}

QSet<int> allRows(const PdIndex& index)
{
    QSet<int> rows;
    for (const PdIndexEntry& e : index.map) {
        for (int r : e.rows) {
            if (rows.contains(r))
                QTest::qFail("a row stands under two keys", __FILE__, __LINE__);
            rows.insert(r);
        }
    }
    return rows;
}

// WBS W1 > W2 > W3 plus W4 on top; activities 0..5 sit at every level.
struct Wbs
{
    QObject owner;
    QStandardItemModel* structure = makeModel(
        {{"W1", QVariant(), "Site"}, {"W2", "W1", "Civil"}, {"W3", "W2", "Piles"}, {"W4", QVariant(), "Roof"}},
        &owner);
    QStandardItemModel* activities = makeModel(column({"W1", "W2", "W3", "W3", "W4", QVariant()}), &owner);

    PdIndex index() const
    {
        PdIndex idx(activities, 0);
        idx.buildStructure(structure, 0, 1, 2);
        idx.group(Qt::DisplayRole);
        return idx;
    }
};

} // namespace

class TestPdIndex : public QObject
{
    Q_OBJECT

private slots:
    void keyOrderIsConsistent()
    {
        // QMap needs a strict weak ordering even when numbers, texts and dates share one map.
        const QVariantList keys{QVariant(), 3, 3.5, "3", "03", "12xA", "3xA", "a", "A", "", QDate(2020, 1, 2),
                                QDateTime(QDate(2020, 1, 2), QTime(1, 0)), -1, "-1", qulonglong(7), true, "1e5", "nan",
                                qQNaN(), -qQNaN(), qInf(), -qInf(), QDateTime(), QDate()};
        for (const QVariant& a : keys) {
            QVERIFY(!pdVariantLess(a, a));
            for (const QVariant& b : keys) {
                QVERIFY(!(pdVariantLess(a, b) && pdVariantLess(b, a)));
                const bool abEqual = !pdVariantLess(a, b) && !pdVariantLess(b, a);
                for (const QVariant& c : keys) {
                    if (pdVariantLess(a, b) && pdVariantLess(b, c))
                        QVERIFY(pdVariantLess(a, c));
                    const bool bcEqual = !pdVariantLess(b, c) && !pdVariantLess(c, b);
                    if (abEqual && bcEqual)
                        QVERIFY(!pdVariantLess(a, c) && !pdVariantLess(c, a));
                }
            }
        }
        QVERIFY(pdVariantLess(9, "10"));
        QVERIFY(pdVariantLess("B", "a"));
        QVERIFY(pdVariantLess(QDate(2020, 1, 1), QDateTime(QDate(2020, 1, 1), QTime(0, 1))));
    }

    void grouping_data()
    {
        QTest::addColumn<QList<QVariantList>>("structure");
        QTest::addColumn<QVariantList>("activities");
        QTest::addColumn<QString>("expected");
        const QList<QVariantList> none;
        QTest::newRow("no structure: empty cell belongs to no group") << none << QVariantList{"b", QVariant(), "a", "b"} << "a=a[2] b=b[0,3]";
        QTest::newRow("no structure: numbers order numerically") << none << QVariantList{10, 9, 100} << "9=9[1] 10=10[0] 100=100[2]";
        QTest::newRow("no structure: numbers sit beside their texts, apart")
            << none << QVariantList{"1", 2, "01", 1} << "1=1[3] 01=01[2] 1=1[0] 2=2[1]";
        QTest::newRow("parents link children")
            << QList<QVariantList>{{"P", QVariant(), "Parent"}, {"C", "P", "Child"}} << QVariantList{"C", "P"}
            << "C=Child[0]<P P=Parent[1]";
        QTest::newRow("key equal to its parent is ignored")
            << QList<QVariantList>{{"P", "P", "Self"}} << QVariantList{"P"} << "P=P[0]";
        QTest::newRow("child listed before its parent stays on top")
            << QList<QVariantList>{{"C", "P", "Child"}, {"P", QVariant(), "Parent"}} << QVariantList{}
            << "C=Child[] P=Parent[]";
        QTest::newRow("key the structure never listed shows itself")
            << QList<QVariantList>{{"P", QVariant(), "Parent"}} << QVariantList{"X"} << "P=Parent[] X=X[0]";
        QTest::newRow("a repeated node moves to its new parent")
            << QList<QVariantList>{{"A", QVariant(), "a"}, {"B", QVariant(), "b"}, {"C", "A", "c"}, {"C", "B", "c2"}}
            << QVariantList{} << "A=a[] B=b[] C=c2[]<B";
    }

    void grouping()
    {
        QFETCH(QList<QVariantList>, structure);
        QFETCH(QVariantList, activities);
        QFETCH(QString, expected);
        QObject owner;
        PdIndex index(makeModel(column(activities), &owner), 0);
        if (!structure.isEmpty())
            index.buildStructure(makeModel(structure, &owner), 0, 1, 2);
        index.group(Qt::DisplayRole);
        QCOMPARE(dump(index), expected);
        for (auto it = index.children.cbegin(); it != index.children.cend(); ++it) {
            for (const QVariant& child : it.value())
                QCOMPARE(index.map.value(child).parentKey.toString(), it.key());
        }
    }

    void limitLevels_data()
    {
        QTest::addColumn<int>("maxLevel");
        QTest::addColumn<QString>("expected");

        QTest::newRow("one level keeps top keys with their subtrees")
            << 1 << "W1=Site[0,1,2,3] W4=Roof[4]";
        QTest::newRow("two levels") << 2 << "W1=Site[0] W2=Civil[1,2,3]<W1 W4=Roof[4]";
        QTest::newRow("deeper than the tree changes nothing")
            << 5 << "W1=Site[0] W2=Civil[1]<W1 W3=Piles[2,3]<W2 W4=Roof[4]";
    }

    void limitLevels()
    {
        QFETCH(int, maxLevel);
        QFETCH(QString, expected);
        Wbs wbs;
        PdIndex index = wbs.index();
        const QSet<int> before = allRows(index);
        index.limitLevels(maxLevel);
        QCOMPARE(dump(index), expected);
        QCOMPARE(allRows(index), before);
        for (auto it = index.map.cbegin(); it != index.map.cend(); ++it)
            QVERIFY(depthOfKey(index, it.key()) < maxLevel);
    }

    void combine_data()
    {
        QTest::addColumn<QVariantList>("aValues");
        QTest::addColumn<bool>("structuredB");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty a gives an empty result") << QVariantList() << false << QString();
        QTest::newRow("flat b skips empty combinations")
            << QVariantList{12, 12, 3} << false << "3=3[] 12=12[] 12xA=Ab[0]<12 12xB=Bb[1]<12 3xA=Ab[2]<3";
        QTest::newRow("structured b keeps every combination")
            << QVariantList{12, 12, 3} << true
            << "3=3[] 12=12[] 12xA=Ab[0]<12 12xB=Bb[1]<12xA 3xA=Ab[2]<3 3xB=Bb[]<3xA";
        QTest::newRow("leaf meeting no key of a flat b keeps nothing")
            << QVariantList{12, 12, 3, 4} << false
            << "3=3[] 4=4[] 12=12[] 12xA=Ab[0]<12 12xB=Bb[1]<12 3xA=Ab[2]<3";
    }

    void combine()
    {
        QFETCH(QVariantList, aValues);
        QFETCH(bool, structuredB);
        QFETCH(QString, expected);
        QObject owner;
        PdIndex a(makeModel(column(aValues), &owner), 0);
        a.group(Qt::DisplayRole);
        // b: rows 0 and 2 in A, row 1 in B; row 3 in nothing.
        PdIndex b(makeModel(column({"A", "B", "A", QVariant()}), &owner), 0);
        b.buildStructure(makeModel({{"A", QVariant(), "Ab"}, {"B", structuredB ? QVariant("A") : QVariant(), "Bb"}}, &owner),
                         0, 1, 2);
        b.group(Qt::DisplayRole);
        const QString aBefore = dump(a);
        const PdIndex result = PdIndex::combine(a, b);
        QCOMPARE(dump(result), expected);
        QCOMPARE(dump(a), aBefore);
    }

    void combineKeepsEveryRowOnce()
    {
        // WBS crossed with a flat index, then with another: every grouped row ends in exactly one leaf.
        Wbs wbs;
        QStandardItemModel* phases = makeModel(column({"x", "y", "x", "y", "x", "x"}), &wbs.owner);
        QStandardItemModel* owners = makeModel(column({1, 1, 2, 2, 1, 2}), &wbs.owner);
        PdIndex second(phases, 0);
        second.group(Qt::DisplayRole);
        PdIndex third(owners, 0);
        third.group(Qt::DisplayRole);
        const PdIndex result = ::combine(::combine(wbs.index(), second), third);

        QMap<int, int> seen;
        for (auto it = result.map.cbegin(); it != result.map.cend(); ++it) {
            for (int row : it->rows)
                ++seen[row];
            if (it->parentKey.isValid())
                QVERIFY2(result.map.contains(it->parentKey), qPrintable(it.key().toString()));
        }
        QCOMPARE(seen.keys(), (QList<int>{0, 1, 2, 3, 4}));
        for (int count : seen)
            QCOMPARE(count, 1);
        QCOMPARE(rowsText(result.map.value("W3xxx2").rows), QStringLiteral("2"));
        QCOMPARE(result.map.value("W3xyx2").parentKey.toString(), QStringLiteral("W3xy"));
    }

    void dateKeys_data()
    {
        QTest::addColumn<QString>("period");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<QVariant>("display");

        const QDate march(2023, 3, 15);
        QTest::newRow("year") << "Year" << QVariant(march) << QVariant(2023) << QVariant(2023);
        QTest::newRow("quarter end month") << "Quarter" << QVariant(march) << QVariant(1) << QVariant("Q1");
        QTest::newRow("quarter start month") << "Quarter" << QVariant(QDate(2023, 4, 1)) << QVariant(2) << QVariant("Q2");
        QTest::newRow("ISO week 53 in the old year")
            << "Week" << QVariant(QDate(2020, 12, 31)) << QVariant(53) << QVariant("Week 53");
        QTest::newRow("ISO week 53 reaching into the new year")
            << "Week" << QVariant(QDate(2021, 1, 3)) << QVariant(53) << QVariant("Week 53");
        QTest::newRow("ISO week 1 starting in the old year")
            << "Week" << QVariant(QDate(2024, 12, 30)) << QVariant(1) << QVariant("Week 1");
        QTest::newRow("month with a leading zero") << "Month" << QVariant(march) << QVariant("03") << QVariant("March");
        QTest::newRow("two-digit month") << "Month" << QVariant(QDate(2023, 11, 2)) << QVariant(11) << QVariant("November");
        QTest::newRow("day keeps the date")
            << "Day" << QVariant(QDateTime(march, QTime(8, 0))) << QVariant(march) << QVariant("15 March");
        QTest::newRow("text parsed with the format") << "Year" << QVariant("01.02.2022") << QVariant(2022) << QVariant(2022);
        QTest::newRow("unparsable text is no key") << "Month" << QVariant("soon") << QVariant() << QVariant();
        const QDateTime moment(march, QTime(9, 30));
        QTest::newRow("no rule keeps the cell") << "No Rule" << QVariant(moment) << QVariant(moment) << QVariant(moment);
    }

    void dateKeys()
    {
        QFETCH(QString, period);
        QFETCH(QVariant, value);
        QFETCH(QVariant, key);
        QFETCH(QVariant, display);
        QObject owner;
        PdDateIndex index(makeModel(column({value}), &owner), 0);
        index.period = period;
        const QVariant actual = index.keyFor(index.model->index(0, 0), Qt::DisplayRole);
        QCOMPARE(actual, key);
        QCOMPARE(actual.type(), key.type());
        QCOMPARE(index.displayFor(actual), display);
    }

    void dateFilterTree()
    {
        QObject owner;
        const QVariantList dates{QDate(2023, 3, 1), QDate(2024, 3, 9), QDate(2023, 3, 1), QDate(2023, 10, 5), "bad"};
        QStandardItemModel* model = makeModel(column(dates), &owner);
        PdDateIndex years(model, 0);
        years.period = "Year";
        years.group(Qt::DisplayRole);
        PdDateIndex months(model, 0);
        months.group(Qt::DisplayRole);
        QCOMPARE(dump(months), QStringLiteral("03=March[0,1,2] 10=October[3]"));

        PdIndex tree = ::combine(years, months);
        tree.keepOneRowPerDate();
        QStandardItemModel items;
        tree.fillItemModel(&items, true);
        QStringList shown;
        for (const QModelIndex& idx : allIndexes(&items))
            shown << QStringLiteral("%1%2").arg(idx.data().toString(), idx.data(Qt::CheckStateRole) == Qt::Checked ? "" : "?");
        QCOMPARE(shown, (QStringList{"2023", "March", "2023-03-01", "October", "2023-10-05", "2024", "March", "2024-03-09"}));
    }
};

QTEST_GUILESS_MAIN(TestPdIndex)
#include "tst_pdindex.moc"
