#include "valuetablemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// Each step is "set ROW COLUMN ROLE VALUE", "header h|v SECTION ROLE VALUE",
// "insertRows|removeRows|insertColumns|removeColumns FIRST COUNT"; a value
// "-" is the null variant. Steps return what the model's operation returned.
QString apply(QAbstractItemModel &model, const QStringList &steps)
{
    QStringList results;
    for (const QString &step : steps) {
        const QStringList p = step.split(QLatin1Char(' '));
        const auto value = [&p](int at) { return p.value(at) == QLatin1String("-") ? QVariant() : QVariant(p.value(at)); };
        bool ok = false;
        if (p[0] == QLatin1String("set"))
            ok = model.setData(model.index(p[1].toInt(), p[2].toInt()), value(4), p[3].toInt());
        else if (p[0] == QLatin1String("header"))
            ok = model.setHeaderData(p[2].toInt(), p[1] == QLatin1String("h") ? Qt::Horizontal : Qt::Vertical,
                                     value(4), p[3].toInt());
        else if (p[0] == QLatin1String("insertRows"))
            ok = model.insertRows(p[1].toInt(), p[2].toInt());
        else if (p[0] == QLatin1String("removeRows"))
            ok = model.removeRows(p[1].toInt(), p[2].toInt());
        else if (p[0] == QLatin1String("insertColumns"))
            ok = model.insertColumns(p[1].toInt(), p[2].toInt());
        else if (p[0] == QLatin1String("removeColumns"))
            ok = model.removeColumns(p[1].toInt(), p[2].toInt());
        results << (ok ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return results.join(QString());
}

QString dump(const QAbstractItemModel &model)
{
    const int roles[] = {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole, Qt::UserRole, Qt::UserRole + 2};
    auto text = [](const QVariant &v) { return v.isValid() ? v.toString() : QStringLiteral("-"); };
    QStringList out;
    for (int c = -1; c <= model.columnCount(); ++c) {
        for (int role : roles)
            out << text(model.headerData(c, Qt::Horizontal, role));
    }
    for (int r = 0; r <= model.rowCount(); ++r) {
        for (int role : roles)
            out << text(model.headerData(r, Qt::Vertical, role));
        for (int c = 0; c < model.columnCount(); ++c) {
            for (int role : roles)
                out << text(model.index(r, c).data(role));
        }
        out << QStringLiteral("|");
    }
    return out.join(QLatin1Char(','));
}

} // namespace

class tst_ValueTableModel : public QObject
{
    Q_OBJECT
private slots:
    void behavesAsStandardItemModel_data();
    void behavesAsStandardItemModel();
    void setCellIsSilent();
};

void tst_ValueTableModel::behavesAsStandardItemModel_data()
{
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("edit role is the display role")
        << QStringList{"set 0 0 2 a", "set 1 1 0 b", "set 1 1 256 u", "set 2 0 3 tip", "set 3 0 0 x"};
    QTest::newRow("null value clears a role")
        << QStringList{"set 0 0 0 a", "set 0 0 0 -", "set 1 0 3 tip", "set 1 0 3 -", "set 1 0 3 -"};
    QTest::newRow("rows inserted in the middle push cells down")
        << QStringList{"set 0 0 0 a", "set 1 1 0 b", "set 2 0 256 c", "header v 1 0 second", "insertRows 1 2",
                       "insertRows 6 1", "insertRows -1 1", "insertRows 0 0", "set 2 1 0 new"};
    QTest::newRow("rows removed pull cells up")
        << QStringList{"set 0 0 0 a", "set 1 1 0 b", "set 2 0 3 c", "header v 2 0 third", "removeRows 0 2",
                       "removeRows 0 5", "removeRows 1 1"};
    QTest::newRow("columns inserted and removed keep their cells and headers")
        << QStringList{"set 0 1 0 a", "header h 1 0 B", "header h 1 258 map", "insertColumns 1 2",
                       "set 0 1 0 n", "removeColumns 0 2", "removeColumns 1 9", "insertColumns 9 1"};
    QTest::newRow("headers per role, unknown sections refused")
        << QStringList{"header h 0 0 ID", "header h 0 257 system", "header h 1 2 edit", "header h 5 0 no",
                       "header v 0 0 row", "header v -1 0 no", "header h 0 0 -"};
}

// QStandardItemModel is the reference: the same steps must give the same
// results, cells and headers.
void tst_ValueTableModel::behavesAsStandardItemModel()
{
    QFETCH(QStringList, steps);
    QStandardItemModel reference(4, 2);
    ValueTableModel model(4, 2);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(apply(model, steps), apply(reference, steps));
    QCOMPARE(dump(model), dump(reference));
}

void tst_ValueTableModel::setCellIsSilent()
{
    ValueTableModel model(2, 2);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setCell(1, 1, QStringLiteral("name"), 42);
    model.setCell(2, 0, QStringLiteral("outside"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.index(1, 1).data(Qt::EditRole).toString(), QStringLiteral("name"));
    QCOMPARE(model.index(1, 1).data(Qt::UserRole), QVariant(42));

    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("name"), Qt::EditRole));
    QCOMPARE(changed.count(), 0);
    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("other")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), (QVector<int>{Qt::DisplayRole, Qt::EditRole}));
}

QTEST_MAIN(tst_ValueTableModel)
#include "tst_valuetablemodel.moc"
