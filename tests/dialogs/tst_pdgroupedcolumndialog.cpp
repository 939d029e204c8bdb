#include "pdgroupedcolumndialog.h"

#include <QAbstractItemModelTester>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

struct ColumnSpec
{
    const char *title;
    const char *group;
    bool hidden;
};

// Two user fields share a title, as they may in a real schedule.
const ColumnSpec Columns[] = {{"ID", "system", false},        {"Activity ID", "General", false},
                              {"Start", "Dates", true},        {"Finish", "Dates", false},
                              {"Budget", "Units", true},       {"Site", "User Defined", true},
                              {"Site", "User Defined", true},  {"Name", "General", false}};

QString availableText(const QStandardItemModel *model)
{
    QStringList groups;
    for (int g = 0; g < model->rowCount(); ++g) {
        const QStandardItem *group = model->item(g);
        QStringList entries;
        for (int row = 0; row < group->rowCount(); ++row)
            entries << group->child(row)->text();
        groups << group->text() + '(' + entries.join(' ') + ')';
    }
    return groups.join(' ');
}

QString chosenText(const QStandardItemModel *model)
{
    QStringList entries;
    for (int row = 0; row < model->rowCount(); ++row)
        entries << model->item(row)->text();
    return entries.join('|');
}

} // namespace

class TestPdGroupedColumnDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fillsFromTheHeaderWithoutSystemColumns();
    void moves_data();
    void moves();
    void sameTitledColumnsAreBothShown();

private:
    // Steps: "A:Group" or "A:Group/row" selects in the available tree, "C:row"
    // in the chosen list; ">", "<", "^", "v" press the arrow buttons.
    void run(const QString &steps);

    QStandardItemModel *m_model = nullptr;
    QTreeView *m_view = nullptr;
    PdGroupedColumnDialog *m_dialog = nullptr;
    QList<QAbstractItemModelTester *> m_testers;
};

void TestPdGroupedColumnDialog::init()
{
    m_model = new QStandardItemModel(0, int(std::size(Columns)));
    m_view = new QTreeView;
    m_view->setModel(m_model);
    for (int c = 0; c < int(std::size(Columns)); ++c) {
        m_model->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(Columns[c].title), Qt::DisplayRole);
        m_model->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(Columns[c].group), Qt::UserRole + 1);
        m_view->header()->setSectionHidden(c, Columns[c].hidden);
    }
    m_dialog = new PdGroupedColumnDialog(m_view->header());
    m_dialog->excludeGroup(QStringLiteral("system"), true);
    for (QAbstractItemModel *model : {m_dialog->availableModel(), m_dialog->chosenModel()})
        m_testers << new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestPdGroupedColumnDialog::cleanup()
{
    qDeleteAll(m_testers);
    m_testers.clear();
    delete m_dialog;
    delete m_view;
    delete m_model;
}

void TestPdGroupedColumnDialog::run(const QString &steps)
{
    auto *available = m_dialog->findChild<QTreeView *>(QStringLiteral("lwAvaiable"));
    auto *chosen = m_dialog->findChild<QListView *>(QStringLiteral("lwChosen"));
    const QHash<QString, const char *> buttons{{">", "tbRight"}, {"<", "tbLeft"}, {"^", "tbUp"}, {"v", "tbDown"}};
    for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (buttons.contains(step)) {
            QTest::mouseClick(m_dialog->findChild<QToolButton *>(QLatin1String(buttons.value(step))), Qt::LeftButton);
        } else if (step.startsWith("C:")) {
            const QModelIndex index = chosen->model()->index(step.midRef(2).toInt(), 0);
            chosen->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        } else {
            const QStringList path = step.mid(2).replace('_', ' ').split('/');
            const QStandardItemModel *model = m_dialog->availableModel();
            QModelIndex index = model->findItems(path.first()).value(0)->index();
            if (path.size() > 1)
                index = model->index(path.at(1).toInt(), 0, index);
            available->selectionModel()->setCurrentIndex(index, QItemSelectionModel::Select);
        }
    }
}

void TestPdGroupedColumnDialog::fillsFromTheHeaderWithoutSystemColumns()
{
    m_view->header()->moveSection(m_view->header()->visualIndex(7), 1);
    m_dialog->excludeGroup(QStringLiteral("system"), true);
    QCOMPARE(availableText(m_dialog->availableModel()), QStringLiteral("Dates(Start) Units(Budget) User Defined(Site Site)"));
    QCOMPARE(chosenText(m_dialog->chosenModel()), QStringLiteral("Name|Activity ID|Finish"));

    m_dialog->excludeGroup(QStringLiteral("system"), false);
    QCOMPARE(chosenText(m_dialog->chosenModel()), QStringLiteral("ID|Name|Activity ID|Finish"));
}

void TestPdGroupedColumnDialog::moves_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("available");
    QTest::addColumn<QString>("chosen");

    const QString available = "Dates(Start) Units(Budget) User Defined(Site Site)";
    const QString chosen = "Activity ID|Finish|Name";
    QTest::newRow("right appends the column") << "A:Dates/0 >" << "Dates() Units(Budget) User Defined(Site Site)"
                                              << "Activity ID|Finish|Name|Start";
    QTest::newRow("a group moves whole, its entry stays")
        << "A:User_Defined >" << "Dates(Start) Units(Budget) User Defined()" << "Activity ID|Finish|Name|Site|Site";
    QTest::newRow("left returns it in header order") << "C:1 <" << "Dates(Start Finish) Units(Budget) User Defined(Site Site)"
                                                     << "Activity ID|Name";
    QTest::newRow("left brings back a missing group")
        << "C:2 <" << "Dates(Start) General(Name) Units(Budget) User Defined(Site Site)" << "Activity ID|Finish";
    QTest::newRow("round trip") << "A:Units/0 > C:3 <" << available << chosen;
    QTest::newRow("up") << "C:2 ^" << available << "Activity ID|Name|Finish";
    QTest::newRow("down twice follows the entry") << "C:0 v v" << available << "Finish|Name|Activity ID";
    QTest::newRow("up on the first row") << "C:0 ^" << available << chosen;
    QTest::newRow("down on the last row") << "C:2 v" << available << chosen;
    QTest::newRow("nothing chosen")
        << "C:0 < C:0 < C:0 <" << "Dates(Start Finish) General(Activity ID Name) Units(Budget) User Defined(Site Site)"
        << "";
}

void TestPdGroupedColumnDialog::moves()
{
    QFETCH(QString, steps);
    QFETCH(QString, available);
    QFETCH(QString, chosen);

    run(steps);

    QCOMPARE(availableText(m_dialog->availableModel()), available);
    QCOMPARE(chosenText(m_dialog->chosenModel()), chosen);
    const auto *buttons = m_dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->isEnabled(), !chosen.isEmpty());
}

void TestPdGroupedColumnDialog::sameTitledColumnsAreBothShown()
{
    run("A:User_Defined/1 > A:User_Defined/0 > C:2 <");
    QCOMPARE(m_dialog->chosenColumns(), (QVector<int>{1, 3, 6, 5}));

    m_dialog->applyChosenColumns();
    const QHeaderView *header = m_view->header();
    QVector<int> shown;
    for (int visual = 0; visual < header->count(); ++visual) {
        if (!header->isSectionHidden(header->logicalIndex(visual)))
            shown << header->logicalIndex(visual);
    }
    QCOMPARE(shown, (QVector<int>{1, 3, 6, 5}));
}

QTEST_MAIN(TestPdGroupedColumnDialog)
#include "tst_pdgroupedcolumndialog.moc"
