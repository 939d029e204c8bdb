#ifndef FILTERFIXTURE_H
#define FILTERFIXTURE_H

#include "pdfilterdialogproxymodel.h"
#include "pdparentitemproxymodel.h"

#include <QAbstractItemModelTester>
#include <QJsonDocument>
#include <QStandardItemModel>
#include <QtTest>

namespace filtertest {

// Two group rows and four activities; the parent proxy makes the tree G1(A1,A2),G2(A3),A4.
struct Fixture
{
    QStandardItemModel master;
    PdParentItemProxyModel tree;
    PdFilterDialogProxyModel proxy;
    QAbstractItemModelTester treeTester{&tree, QAbstractItemModelTester::FailureReportingMode::QtTest};
    QAbstractItemModelTester proxyTester{&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest};

    Fixture()
    {
        const QList<QPair<QString, QString>> columns{{"Name", "string"},   {"Status", "string"},
                                                     {"Cost", "double"},   {"Start", "datetime"},
                                                     {"Count", "integer"}};
        master.setColumnCount(columns.size());
        for (int c = 0; c < columns.size(); ++c) {
            master.setHeaderData(c, Qt::Horizontal, columns.at(c).first);
            master.setHeaderData(c, Qt::Horizontal,
                                 QVariantMap{{"display", columns.at(c).first},
                                             {"id", c == 1 ? "status_code" : columns.at(c).first.toLower()},
                                             {"datatype", columns.at(c).second}},
                                 Qt::UserRole + 2);
        }
        const QVariant none;
        addRow({"G1", none, none, none, none});
        addRow({"G2", none, none, none, none});
        addRow({"A1", "TK_Active", 1000000.0, QDateTime(QDate(2026, 3, 5), QTime(8, 0)), 3});
        addRow({"A2", "TK_Done", 1.5, QDateTime(QDate(2026, 3, 5), QTime(17, 0)), 1});
        addRow({"A3", "TK_Active", none, QDateTime(QDate(2025, 3, 10), QTime(8, 0)), 2});
        addRow({"A4", "", 20.0, none, 5});
        tree.setSourceModel(&master);
        tree.setParentMap({{-1, {0, 1, 5}}, {0, {2, 3}}, {1, {4}}});
        proxy.setSourceModel(&tree);
    }

    void addRow(const QVariantList& cells)
    {
        QList<QStandardItem*> items;
        for (const QVariant& cell : cells) {
            auto* item = new QStandardItem;
            item->setData(cell, Qt::DisplayRole);
            items.append(item);
        }
        master.appendRow(items);
    }

    void setFilters(const QString& json)
    {
        proxy.filtersFromVariant(QJsonDocument::fromJson(json.toUtf8()).toVariant().toMap());
    }
};

inline QString shown(const QAbstractItemModel& model, const QModelIndex& parent = QModelIndex())
{
    QStringList parts;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        QString text = index.data().toString();
        if (model.rowCount(index) > 0)
            text += QLatin1Char('(') + shown(model, index) + QLatin1Char(')');
        parts.append(text);
    }
    return parts.join(QLatin1Char(','));
}

} // namespace filtertest

using namespace filtertest;

#endif // FILTERFIXTURE_H
