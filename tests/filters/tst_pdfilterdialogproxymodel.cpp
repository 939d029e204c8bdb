#include "filterfixture.h"
#include "pdexpression.h"

#include <QtTest>


class tst_PdFilterDialogProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void shouldShowRowsThatPassEveryFilter_data();
    void shouldShowRowsThatPassEveryFilter();
    void shouldRoundTripSavedFilters();
    void shouldKeepOneFilterKindPerColumn();
    void shouldFollowSourceChangesOnce();
    void shouldSortWithinEachParent_data();
    void shouldSortWithinEachParent();
    void shouldSortTextsByEveryCodeUnit();
};

void tst_PdFilterDialogProxyModel::shouldShowRowsThatPassEveryFilter_data()
{
    QTest::addColumn<QString>("filters");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("shownCount");

    QTest::newRow("no filter") << "{}" << "G1(A1,A2),G2(A3),A4" << 4;
    QTest::newRow("parent stays while a child passes") << R"({"patterns":{"1":["TK_Done"]}})" << "G1(A2)" << 1;
    QTest::newRow("blanks entry") << R"({"patterns":{"1":[""]}})" << "A4" << 1;
    QTest::newRow("whole number as written") << R"({"patterns":{"2":["1000000"]}})" << "G1(A1)" << 1;
    QTest::newRow("exponent text of an old layout") << R"({"patterns":{"2":["1e+06"]}})" << "G1(A1)" << 1;
    QTest::newRow("a day covers every time of it") << R"({"patterns":{"3":["2026-03-05"]}})" << "G1(A1,A2)" << 2;
    QTest::newRow("a day as the list shows it") << R"({"patterns":{"3":["05-03-2026"]}})" << "G1(A1,A2)" << 2;
    QTest::newRow("nothing checked hides every row") << R"({"patterns":{"1":["!_!_#"]}})" << "" << 0;
    QTest::newRow("blank cost fails less than") << R"({"expressions":{"2":["<","100"]}})" << "G1(A2),A4" << 2;
    QTest::newRow("condition in the old text form") << R"({"expressions":{"4":"=;5"}})" << "A4" << 1;
    QTest::newRow("or chain in the old text form")
        << R"({"expressions":{"0":"begins with;a1;OR;ends with;4"}})" << "G1(A1),A4" << 2;
    QTest::newRow("value list and condition both hold")
        << R"({"patterns":{"1":["TK_Active"]},"expressions":{"4":["<","3"]}})" << "G2(A3)" << 1;
    QTest::newRow("condition without a value is skipped") << R"({"expressions":{"4":"="}})"
                                                          << "G1(A1,A2),G2(A3),A4" << 4;
}

void tst_PdFilterDialogProxyModel::shouldShowRowsThatPassEveryFilter()
{
    QFETCH(QString, filters);
    QFETCH(QString, expected);
    QFETCH(int, shownCount);
    Fixture f;
    QSignalSpy counts(&f.proxy, &PdFilterDialogProxyModel::countsChanged);
    f.setFilters(filters);
    QCOMPARE(shown(f.proxy), expected);
    QCOMPARE(f.proxy.acceptedLeafCount(), shownCount);
    QCOMPARE(f.proxy.sourceLeafCount(), 4);
    QVERIFY(counts.count() >= 1);
}

void tst_PdFilterDialogProxyModel::shouldRoundTripSavedFilters()
{
    Fixture f;
    f.setFilters(R"({"patterns":{"3":["05-03-2026"]},"expressions":{"0":["contains","a;b","OR","ends with","1"]}})");
    const QVariantMap saved = f.proxy.filtersToVariant();
    const QByteArray json = QJsonDocument::fromVariant(saved).toJson();

    Fixture g;
    g.setFilters(QString::fromUtf8(json));
    QCOMPARE(shown(g.proxy), shown(f.proxy));
    QCOMPARE(shown(g.proxy), QStringLiteral("G1(A1)"));
    QCOMPARE(g.proxy.filtersToVariant(), saved);
    QCOMPARE(g.proxy.expressionFilter(0)->value().toString(), QStringLiteral("a;b"));
}

void tst_PdFilterDialogProxyModel::shouldKeepOneFilterKindPerColumn()
{
    Fixture f;
    f.proxy.setPatternFilter(4, {"1"});
    f.proxy.setExpressionFilter(4, PdExpression::makeExpression("is greater than", 2));
    QVERIFY(!f.proxy.hasPatternFilter(4));
    QCOMPARE(shown(f.proxy), QStringLiteral("G1(A1),A4"));
    f.proxy.setPatternFilter(4, {"2"});
    QVERIFY(!f.proxy.expressionFilter(4));
    QCOMPARE(shown(f.proxy), QStringLiteral("G2(A3)"));
    f.proxy.removeColumnFilters(4);
    QVERIFY(!f.proxy.hasFilters());
    QCOMPARE(shown(f.proxy), QStringLiteral("G1(A1,A2),G2(A3),A4"));
}

void tst_PdFilterDialogProxyModel::shouldFollowSourceChangesOnce()
{
    Fixture f;
    f.setFilters(R"({"expressions":{"4":[">=","5"]}})");
    QCOMPARE(shown(f.proxy), QStringLiteral("A4"));
    QSignalSpy counts(&f.proxy, &PdFilterDialogProxyModel::countsChanged);
    // Many writes in a burst are worked out once, after the burst.
    for (int i = 0; i < 20; ++i)
        f.master.setData(f.master.index(2, 4), 7 + i);
    QTRY_COMPARE(counts.count(), 1);
    QCOMPARE(shown(f.proxy), QStringLiteral("G1(A1),A4"));

    f.tree.setParentMap({{-1, {0, 2, 3, 4, 5}}});
    QCOMPARE(shown(f.proxy), QStringLiteral("A1,A4"));
    QCOMPARE(f.proxy.acceptedLeafCount(), 2);
}

void tst_PdFilterDialogProxyModel::shouldSortWithinEachParent_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("expected");

    QTest::newRow("cost ascending, blanks first") << 2 << int(Qt::AscendingOrder) << "G1(A2,A1),G2(A3),A4";
    QTest::newRow("cost descending") << 2 << int(Qt::DescendingOrder) << "A4,G1(A1,A2),G2(A3)";
    QTest::newRow("start keeps the time of day, ties the source order") << 3 << int(Qt::DescendingOrder)
                                                                      << "G1(A2,A1),G2(A3),A4";
    QTest::newRow("unsorted again") << -1 << int(Qt::AscendingOrder) << "G1(A1,A2),G2(A3),A4";
}

void tst_PdFilterDialogProxyModel::shouldSortWithinEachParent()
{
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QString, expected);
    Fixture f;
    f.proxy.sort(2, Qt::DescendingOrder);
    f.proxy.sort(column, Qt::SortOrder(order));
    QCOMPARE(shown(f.proxy), expected);
    // A filter keeps the order it finds.
    f.setFilters(R"({"patterns":{"1":["TK_Active","TK_Done"]}})");
    QCOMPARE(shown(f.proxy), expected.remove(QStringLiteral(",A4")).remove(QStringLiteral("A4,")));
}

void tst_PdFilterDialogProxyModel::shouldSortTextsByEveryCodeUnit()
{
    // Texts that tie on their first units, differ only past them, hold a 0 unit or units beyond
    // Latin-1; numbers in a text column come first, by value.
    const QStringList texts{"Install pipe zone 2", "Install pipe zone 10", "Install pipe", "Install",
                            QString("Inst") + QChar(0) + "all", "Instal\u00e9", "Instal\u0101", "10", "9", "",
                            "Install pipe zone 2", "nan"};
    QStandardItemModel model(texts.size(), 1);
    model.setHeaderData(0, Qt::Horizontal, QVariantMap{{"datatype", "string"}}, Qt::UserRole + 2);
    for (int row = 0; row < texts.size(); ++row)
        model.setData(model.index(row, 0), texts.at(row));
    PdFilterDialogProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&model);
    QStringList expected = texts.mid(0, 7) + QStringList{"nan", "Install pipe zone 2"};
    std::sort(expected.begin(), expected.end());
    expected = QStringList{"", "9", "10"} + expected;

    auto sortedRows = [&proxy] {
        QStringList shownTexts;
        QList<int> rows;
        for (int row = 0; row < proxy.rowCount(); ++row) {
            shownTexts.append(proxy.index(row, 0).data().toString());
            rows.append(proxy.mapToSource(proxy.index(row, 0)).row());
        }
        return qMakePair(shownTexts, rows);
    };
    proxy.sort(0, Qt::AscendingOrder);
    QCOMPARE(sortedRows().first, expected);
    QCOMPARE(sortedRows().second.indexOf(0) + 1, sortedRows().second.indexOf(10));
    proxy.sort(0, Qt::DescendingOrder);
    std::reverse(expected.begin(), expected.end());
    QCOMPARE(sortedRows().first, expected);
    // Equal texts keep the source's order either way.
    QCOMPARE(sortedRows().second.indexOf(0) + 1, sortedRows().second.indexOf(10));
}

QTEST_MAIN(tst_PdFilterDialogProxyModel)
#include "tst_pdfilterdialogproxymodel.moc"
