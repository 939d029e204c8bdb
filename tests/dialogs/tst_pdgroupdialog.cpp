#include "activities.h"
#include "modaldriver.h"
#include "pdcolorcombo.h"
#include "pdcolorwidget.h"
#include "pdgroupdialog.h"
#include "pdgroupdialogdelegate.h"
#include "pdgroupedtreeview.h"
#include "pdstylecombo.h"
#include "pdstylewidget.h"
#include "plandeckresources.h"
#include "xerloader.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(PdGroupLevel)

using Delegate = PdGroupDialogDelegate;

namespace {

// The small schedule loaded as the window loads it, shown in an activities view.
struct Project
{
    Project()
    {
        plandeck::initResources();
        QFile schema(QStringLiteral(":/files/schema.json"));
        schema.open(QIODevice::ReadOnly);
        loader = std::make_unique<XERLoader>(QStringLiteral(PLANDECK_SOURCE_DIR "/tests/project/data/small.xer"),
                                             QJsonDocument::fromJson(schema.readAll()));
        loader->read();
        view.setModels(loader->model("ActivityModel"), loader->model("PROJWBS"), loader->model("ACTVTYPE"),
                       loader->model("ACTVCODE"), loader->model("PredecessorModel"), true);
    }

    std::unique_ptr<XERLoader> loader;
    Activities view;
};

PdGroupLevel level(const QString &field, const QString &interval = {}, const QColor &background = {})
{
    PdGroupLevel l;
    l.field = field;
    l.interval = interval;
    l.background = background.isValid() ? QBrush(background) : QBrush();
    return l;
}

QModelIndex cell(QTableWidget *table, int row, int column)
{
    return table->model()->index(row, column);
}

// Double-clicks a cell as a user opens its editor; returns the editor, if any.
QWidget *openEditor(QTableWidget *table, int row, int column)
{
    const QRect rect = table->visualRect(cell(table, row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    return table->indexWidget(cell(table, row, column));
}

QStringList items(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

// Enter commits and closes an editor on the next turn of the event loop.
void commit(QWidget *editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void hover(QTableWidget *table, int row, int column)
{
    QMouseEvent move(QEvent::MouseMove, table->visualRect(cell(table, row, column)).center(), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &move);
}

} // namespace

class TestPdGroupDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_project = std::make_unique<Project>();
        QVERIFY(m_project->view.activityModel());
    }

    void cleanupTestCase() { m_project.reset(); }

    void fieldChoiceSetsTheRulesOffered_data()
    {
        QTest::addColumn<PdGroupLevel>("before");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("ruleAfter");
        QTest::addColumn<QStringList>("rules");
        const QStringList depths{"All",        "To level 1", "To level 2", "To level 3", "To level 4", "To level 5",
                                 "To level 6", "To level 7", "To level 8", "To level 9", "To level 10"};
        const QStringList periods{"No Rule", "Year", "Quarter", "Month", "Week", "Day"};
        QTest::newRow("WBS code: depths, starting at all") << PdGroupLevel() << "WBS Code" << "All" << depths;
        QTest::newRow("date: periods, no rule yet") << level("WBS Code", "To level 2") << "Start Date" << ""
                                                    << periods;
        QTest::newRow("date blank in the first row still offers periods")
            << PdGroupLevel() << "Suspend Date" << "" << periods;
        QTest::newRow("plain text: no rule") << level("Start Date", "Quarter") << "Activity Name" << ""
                                             << QStringList();
        QTest::newRow("activity code: no rule") << PdGroupLevel() << "Phase" << "" << QStringList();
        QTest::newRow("same field again keeps its depth")
            << level("WBS Code", "To level 2") << "WBS Code" << "To level 2" << depths;
        QTest::newRow("no field") << level("Start Date", "Month") << "" << "" << QStringList();
    }

    void fieldChoiceSetsTheRulesOffered()
    {
        QFETCH(PdGroupLevel, before);
        QFETCH(QString, field);
        QFETCH(QString, ruleAfter);
        QFETCH(QStringList, rules);
        PdGroupDialog dialog;
        dialog.setModel(m_project->view.activityModel());
        dialog.readColumnDescriptors();
        dialog.setLevels({before});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget *table = dialog.table();

        auto *fields = qobject_cast<QComboBox *>(openEditor(table, 0, Delegate::FieldColumn));
        QVERIFY(fields);
        const QStringList offered = items(fields);
        QCOMPARE(offered.first(), QString());
        QVERIFY(std::is_sorted(offered.begin(), offered.end()));
        for (const char *system : {"ID", "Group", "task_id", "wbs_id"})
            QVERIFY2(!offered.contains(system), system);
        fields->setCurrentIndex(fields->findText(field));
        commit(fields);
        QCOMPARE(table->item(0, Delegate::FieldColumn)->text(), field);
        QCOMPARE(table->item(0, Delegate::RuleColumn)->text(), ruleAfter);

        auto *ruleEditor = qobject_cast<QComboBox *>(openEditor(table, 0, Delegate::RuleColumn));
        QCOMPARE(ruleEditor ? items(ruleEditor) : QStringList(), rules);
        if (ruleEditor) {
            ruleEditor->setCurrentIndex(rules.size() - 1);
            commit(ruleEditor);
            QCOMPARE(dialog.levels().first().interval, rules.last());
        }
    }

    void levelsComeBackCompacted_data()
    {
        QTest::addColumn<QList<PdGroupLevel>>("levels");
        QTest::addColumn<QStringList>("fields");
        const QColor red(Qt::red), green(Qt::green), blue(Qt::blue);
        QTest::newRow("no gap")
            << QList<PdGroupLevel>{level("WBS Code", "All", red), level("Start Date", "Year", green)}
            << QStringList{"WBS Code", "Start Date"};
        QTest::newRow("gap between the first and third")
            << QList<PdGroupLevel>{level("WBS Code", "All", red), level("", "", green), level("Phase", "", blue)}
            << QStringList{"WBS Code", "Phase", ""};
        QTest::newRow("only the last row")
            << QList<PdGroupLevel>{level(""), level(""), level(""), level(""), level(""),
                                   level(""), level(""), level(""), level(""), level("Phase", "", blue)}
            << QStringList{"Phase", ""};
    }

    void levelsComeBackCompacted()
    {
        QFETCH(QList<PdGroupLevel>, levels);
        QFETCH(QStringList, fields);
        PdGroupDialog dialog;
        dialog.setLevels(levels);
        const QList<PdGroupLevel> back = dialog.levels();
        QCOMPARE(back.size(), PdGroupDialog::LevelCount);
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(back.at(i).field, fields.at(i));
        // Each level keeps the rule and look of the row it was chosen in.
        for (const PdGroupLevel &chosen : levels) {
            if (!chosen.inUse())
                continue;
            const auto found = std::find_if(back.begin(), back.end(),
                                            [&](const PdGroupLevel &l) { return l.field == chosen.field; });
            QVERIFY(found != back.end());
            QCOMPARE(found->interval, chosen.interval);
            QCOMPARE(found->background, chosen.background);
        }
    }

    void formatPopupWritesTheLevelStyle()
    {
        PdGroupDialog dialog;
        const QList<PdGroupLevel> before = PdGroupLevel::defaultLevels();
        dialog.setLevels(before);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget *table = dialog.table();
        hover(table, 1, Delegate::FormatColumn);
        auto *combo = qobject_cast<PdStyleCombo *>(table->indexWidget(cell(table, 1, Delegate::FormatColumn)));
        QVERIFY(combo);
        QTest::mouseClick(combo, Qt::LeftButton, {}, combo->buttonRect().center());
        PdStyleWidget *popup = combo->popup();
        QVERIFY(popup->isVisible());
        for (const char *name : {"bold", "italic"})
            popup->findChild<QToolButton *>(name)->click();
        auto *colors = popup->findChild<PdColorWidget *>("background");
        QTest::mouseClick(colors, Qt::LeftButton, {}, PdColorWidget::swatchRect(35).center());
        popup->findChild<PdColorCombo *>("textColor")->colorSelected(Qt::red);
        popup->findChild<QPushButton *>("ok")->click();

        // Moving away and back reloads the editor without writing anything.
        hover(table, 4, Delegate::FormatColumn);
        hover(table, 1, Delegate::FormatColumn);
        const QList<PdGroupLevel> after = dialog.levels();
        QCOMPARE(after.at(1).font.weight(), 75);
        QCOMPARE(after.at(1).font.style(), QFont::StyleItalic);
        QVERIFY(!after.at(1).font.underline());
        QCOMPARE(after.at(1).background.color(), PdColorWidget::entries().at(35).color);
        QCOMPARE(after.at(1).textColor, QColor(Qt::red));
        for (int i : {0, 2, 4})
            QCOMPARE(after.at(i), before.at(i));
    }

    void okHandsTheLevelsToTheView_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }

    void okHandsTheLevelsToTheView()
    {
        QFETCH(bool, accept);
        Activities &view = m_project->view;
        view.setGroupLevels(PdGroupLevel::defaultLevels());
        const QList<PdGroupLevel> before = view.groupLevels();
        whenModal<PdGroupDialog>([accept](PdGroupDialog *dialog) {
            auto *fields = qobject_cast<QComboBox *>(openEditor(dialog->table(), 1, Delegate::FieldColumn));
            QVERIFY(fields);
            fields->setCurrentIndex(fields->findText("WBS Code"));
            commit(fields);
            accept ? dialog->accept() : dialog->reject();
        });
        QCOMPARE(PdGroupDialog::editGrouping(&view, nullptr), accept);
        const QModelIndex top = view.shownModel()->index(0, 0);
        if (!accept) {
            QCOMPARE(view.groupLevels(), before);
            QVERIFY(!view.treeView()->isGroupRow(top));
            return;
        }
        QCOMPARE(view.groupLevels().first().field, QString("WBS Code"));
        QCOMPARE(view.groupLevels().first().interval, QString("All"));
        QCOMPARE(view.groupLevels().first().background, before.at(1).background);
        QVERIFY(view.treeView()->isGroupRow(top));
    }

private:
    std::unique_ptr<Project> m_project;
};


QTEST_MAIN(TestPdGroupDialog)
#include "tst_pdgroupdialog.moc"
