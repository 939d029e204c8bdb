#include "pdmodelutils.h"

#include <QHeaderView>
#include <QPainter>
#include <QPaintEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

namespace {

QStandardItemModel* tableModel(const QStringList& headers, QObject* parent)
{
    auto* model = new QStandardItemModel(2, headers.size(), parent);
    model->setHorizontalHeaderLabels(headers);
    return model;
}

// Paints every cell of a grid in a colour that encodes its column and row, so each cut image can be
// traced back to the place it came from.
class GridWidget : public QWidget
{
public:
    GridWidget(QVector<int> widths, int rowHeight, int rows)
        : widths(std::move(widths)), rowHeight(rowHeight)
    {
        resize(std::accumulate(this->widths.cbegin(), this->widths.cend(), 0), rowHeight * rows);
    }
    static QColor colourFor(int column, int row) { return QColor(column * 40 % 256, row % 256, row / 256); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        const QRect area = event->rect();
        int left = 0;
        for (int c = 0; c < widths.size(); ++c) {
            const int first = qMax(0, area.top() / rowHeight);
            const int last = qMin(height() / rowHeight - 1, area.bottom() / rowHeight);
            for (int r = first; r <= last; ++r)
                painter.fillRect(left, r * rowHeight, widths.at(c), rowHeight, colourFor(c, r));
            left += widths.at(c);
        }
    }

private:
    QVector<int> widths;
    int rowHeight;
};

} // namespace

class TestPdModelUtils : public QObject
{
    Q_OBJECT

private slots:
    void columnLookups()
    {
        QObject owner;
        QStandardItemModel* model = tableModel({"A", "B", "A"}, &owner);
        QCOMPARE(columnByName(model, "A"), 0);
        QCOMPARE(columnByName(model, "B"), 1);
        QCOMPARE(columnByName(model, "a"), -1);
        QCOMPARE(columnByName(nullptr, "A"), -1);

        model->setHeaderData(2, Qt::Horizontal, "id-2", Qt::UserRole);
        QHeaderView header(Qt::Horizontal);
        QCOMPARE(sectionByHeaderData(&header, "id-2", Qt::UserRole), -1);
        header.setModel(model);
        QCOMPARE(sectionByHeaderData(&header, "id-2", Qt::UserRole), 2);
        QHeaderView rows(Qt::Vertical);
        rows.setModel(model);
        QCOMPARE(sectionByHeaderData(&rows, "2", Qt::DisplayRole), 1);
    }

    void verticalLookup_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("returnColumn");
        QTest::addColumn<int>("lookupColumn");
        QTest::addColumn<QString>("expected");

        QTest::newRow("top-level hit") << QVariant("k2") << 1 << 0 << "v2";
        QTest::newRow("hit in a child row") << QVariant("child") << 1 << 0 << "cv";
        QTest::newRow("no hit") << QVariant("zz") << 1 << 0 << QString();
        QTest::newRow("lookup column equal to the column count") << QVariant("k2") << 1 << 2 << QString();
        QTest::newRow("negative return column") << QVariant("k2") << -1 << 0 << QString();
    }

    void verticalLookup()
    {
        QFETCH(QVariant, value);
        QFETCH(int, returnColumn);
        QFETCH(int, lookupColumn);
        QFETCH(QString, expected);
        QStandardItemModel model;
        model.appendRow({new QStandardItem("k1"), new QStandardItem("v1")});
        model.appendRow({new QStandardItem("k2"), new QStandardItem("v2")});
        model.item(0)->appendRow({new QStandardItem("child"), new QStandardItem("cv")});
        const QModelIndex hit = ::verticalLookup(&model, value, returnColumn, lookupColumn);
        QCOMPARE(hit.isValid(), !expected.isEmpty());
        QCOMPARE(hit.data().toString(), expected);
        QVERIFY(!::verticalLookup(nullptr, value, 0, 0).isValid());
    }

    // Columns A to D, B hidden, 100 pixels wide; the names or layout texts
    // applied, read back as layout texts.
    void columnLayout_data()
    {
        QTest::addColumn<bool>("asTexts");
        QTest::addColumn<QStringList>("applied");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no names changes nothing") << false << QStringList() << QStringList{"A:100", "C:100", "D:100"};
        QTest::newRow("names in reverse order") << false << QStringList{"D", "C", "B", "A"} << QStringList{"D:100", "C:100", "B:100", "A:100"};
        QTest::newRow("subset of names") << false << QStringList{"C", "A"} << QStringList{"C:100", "A:100"};
        QTest::newRow("unknown name gives its place away") << false << QStringList{"B", "nope", "A"} << QStringList{"B:100", "A:100"};
        QTest::newRow("texts give order and widths") << true << QStringList{"C:80", "A:120"} << QStringList{"C:80", "A:120"};
        QTest::newRow("text without a colon is skipped") << true << QStringList{"B", "A:50"} << QStringList{"A:50"};
        QTest::newRow("text with two colons is skipped") << true << QStringList{"B:1:2", "D:60"} << QStringList{"D:60"};
        QTest::newRow("unreadable width keeps the current width") << true << QStringList{"A:wide"} << QStringList{"A:100"};
        QTest::newRow("no usable text hides everything") << true << QStringList{"x"} << QStringList();
    }

    void columnLayout()
    {
        QFETCH(bool, asTexts);
        QFETCH(QStringList, applied);
        QFETCH(QStringList, expected);
        QTableView view;
        view.setModel(tableModel({"A", "B", "C", "D"}, &view));
        QHeaderView* header = view.horizontalHeader();
        header->setDefaultSectionSize(100);
        header->hideSection(1);
        if (asTexts)
            applyColumnLayoutTexts(header, QVariant(applied).toList());
        else
            ::setVisibleColumns(header, applied);
        QCOMPARE(columnLayoutTexts(header), expected);
        QStringList names;
        for (const QString& text : expected)
            names << text.section(QLatin1Char(':'), 0, 0);
        QCOMPARE(visibleColumnNames(header), names);
        QCOMPARE(firstVisibleColumn(header), names.isEmpty() ? -1 : columnByName(view.model(), names.first()));
    }

    void layoutTextsRoundTrip()
    {
        QTableView first;
        first.setModel(tableModel({"A", "B", "C", "D"}, &first));
        ::setVisibleColumns(first.horizontalHeader(), {"D", "B", "A"});
        first.horizontalHeader()->resizeSection(3, 53);
        const QStringList texts = columnLayoutTexts(first.horizontalHeader());
        QCOMPARE(texts.first(), QStringLiteral("D:53"));

        QTableView second;
        second.setModel(tableModel({"D", "C", "B", "A"}, &second));
        applyColumnLayoutTexts(second.horizontalHeader(), QVariant(texts).toList());
        QCOMPARE(columnLayoutTexts(second.horizontalHeader()), texts);

        setFixedSections(second.verticalHeader(), 12);
        QCOMPARE(second.verticalHeader()->sectionSize(0), 12);
    }

    void treeWalk()
    {
        QStandardItemModel model;
        QVERIFY(allIndexes(&model).isEmpty());
        auto* a = new QStandardItem("a");
        auto* a1 = new QStandardItem("a1");
        a1->appendRow(new QStandardItem("a1x"));
        a->appendRows({a1, new QStandardItem("a2")});
        model.invisibleRootItem()->appendRows({a, new QStandardItem("b")});
        QStringList walk;
        for (const QModelIndex& idx : allIndexes(&model))
            walk << QStringLiteral("%1/%2").arg(idx.data().toString()).arg(depthOf(idx));
        QCOMPARE(walk, (QStringList{"a/0", "a1/1", "a1x/2", "a2/1", "b/0"}));
    }

    void renderAcrossTiles_data()
    {
        QTest::addColumn<QVector<int>>("widths");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("yOffset");

        QTest::newRow("one tile") << QVector<int>{30, 20} << 10 << 5 << 0;
        QTest::newRow("30000 pixels of rows make two row tiles") << QVector<int>{4, 3} << 10 << 3000 << 0;
        QTest::newRow("columns exactly filling a tile") << QVector<int>{12000, 8000, 5} << 2 << 3 << 0;
        QTest::newRow("column wider than a tile") << QVector<int>{3, 20500, 2} << 2 << 2 << 0;
        QTest::newRow("offset skips the header rows") << QVector<int>{5, 5} << 4 << 6 << 8;
    }

    void renderAcrossTiles()
    {
        QFETCH(QVector<int>, widths);
        QFETCH(int, rowHeight);
        QFETCH(int, rows);
        QFETCH(int, yOffset);
        const int headerRows = yOffset / rowHeight;
        GridWidget widget(widths, rowHeight, rows + headerRows);
        const PdCellImages grid = renderToCellImages(&widget, widths, rowHeight, rows, yOffset);
        QCOMPARE(grid.size(), rows);
        for (int r = 0; r < rows; ++r) {
            QCOMPARE(grid.at(r).size(), widths.size());
            for (int c = 0; c < widths.size(); ++c) {
                const QImage& cell = grid.at(r).at(c);
                QCOMPARE(cell.size(), QSize(widths.at(c), rowHeight));
                const QColor expected = GridWidget::colourFor(c, r + headerRows);
                if (cell.pixelColor(0, 0) != expected || cell.pixelColor(cell.width() - 1, rowHeight - 1) != expected)
                    QFAIL(qPrintable(QStringLiteral("cell %1,%2 has the wrong picture").arg(r).arg(c)));
            }
        }
        QVERIFY(renderToCellImages(nullptr, widths, rowHeight, rows, 0).isEmpty());
        QVERIFY(renderToUniformCellImages(&widget, widths.first(), 0, rowHeight, rows, yOffset).isEmpty());
        const PdCellImages uniform = renderToUniformCellImages(&widget, widths.first(), 1, rowHeight, rows, yOffset);
        QCOMPARE(uniform.size(), rows);
        QCOMPARE(uniform.last().first(), grid.last().first());
    }
};

QTEST_MAIN(TestPdModelUtils)
#include "tst_pdmodelutils.moc"
