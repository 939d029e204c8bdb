#include "filterfixture.h"
#include "pdfilterdialogpopup.h"
#include "pdfilterproxymodel.h"
#include "pdfiltervaluemodel.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTreeView>

namespace {

// The fixture's tree shown in a view whose header is the sort/filter header, as the program does.
struct View : Fixture
{
    QTreeView tree;
    PdSortFilterHeader* header = new PdSortFilterHeader(Qt::Horizontal);
    PdSortFilterWidget controller{header, &proxy, &master};

    View()
    {
        tree.setHeader(header);
        tree.setModel(&proxy);
        header->setSortFilterWidget(&controller);
        QObject::connect(header, &PdSortFilterHeader::popUp, &controller, &PdSortFilterWidget::onAutoFilterPopUp);
        tree.resize(600, 300);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
    }
};

QModelIndex findShown(const QAbstractItemModel* model, const QString& text, const QModelIndex& parent = QModelIndex())
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == text)
            return index;
    }
    return QModelIndex();
}

// A click on an item's check box, where the view's delegate looks for it.
void clickCheckBox(QTreeView* view, const QModelIndex& index)
{
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

// Plays one step of a user on the open popup. Items are named by their path of shown texts.
void play(PdFilterDialogPopUp* popup, const QString& step)
{
    const QString verb = step.section(':', 0, 0);
    const QString arg = step.section(':', 1);
    QTreeView* view = popup->valueView();
    auto item = [&]() {
        QModelIndex at;
        for (const QString& name : arg.split('/'))
            at = findShown(view->model(), name, at);
        return at;
    };
    auto button = [&](QDialogButtonBox::StandardButton which) {
        return popup->findChild<QDialogButtonBox*>()->button(which);
    };
    if (verb == QLatin1String("click")) {
        clickCheckBox(view, item());
    } else if (verb == QLatin1String("label")) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(item()).center());
    } else if (verb == QLatin1String("space")) {
        view->setCurrentIndex(item());
        QTest::keyClick(view, Qt::Key_Space);
    } else if (verb == QLatin1String("expand")) {
        view->expandAll();
    } else if (verb == QLatin1String("search")) {
        QTest::keyClicks(popup->searchEdit(), arg);
    } else if (verb == QLatin1String("ok")) {
        QTest::mouseClick(button(QDialogButtonBox::Ok), Qt::LeftButton);
    } else if (verb == QLatin1String("cancel")) {
        QTest::mouseClick(button(QDialogButtonBox::Cancel), Qt::LeftButton);
    } else if (verb == QLatin1String("enter")) {
        QTest::keyClick(popup->searchEdit(), Qt::Key_Return);
    } else if (verb == QLatin1String("escape")) {
        QTest::keyClick(popup, Qt::Key_Escape);
    } else if (verb == QLatin1String("action")) {
        for (QAction* action : popup->actions()) {
            if (action->text() == arg)
                popup->setActiveAction(action);
        }
        QTest::keyClick(popup, Qt::Key_Return);
    } else if (verb == QLatin1String("tab")) {
        popup->tabs()->setCurrentIndex(arg.toInt());
    } else if (verb == QLatin1String("op1") || verb == QLatin1String("op2")) {
        auto* combo = popup->findChild<QComboBox*>(verb == QLatin1String("op1") ? "firstOperator" : "secondOperator");
        combo->setCurrentIndex(combo->findText(arg));
    } else if (verb == QLatin1String("value1") || verb == QLatin1String("value2")) {
        auto* edit = popup->findChild<QLineEdit*>(verb == QLatin1String("value1") ? "firstValue" : "secondValue");
        QTest::keyClicks(edit, arg);
    } else if (verb == QLatin1String("or")) {
        QTest::mouseClick(popup->findChildren<QRadioButton*>().last(), Qt::LeftButton);
    } else if (verb == QLatin1String("list")) {
        QStringList texts;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            texts.append(view->model()->index(row, 0).data().toString());
        QCOMPARE(texts.join(','), arg);
    } else if (verb == QLatin1String("expect")) {
        // expect:path=state checks an item's box, 1 checked, 0 not.
        const QString path = arg.section('=', 0, 0);
        QModelIndex at;
        for (const QString& name : path.split('/'))
            at = findShown(view->model(), name, at);
        QVERIFY2(at.isValid(), qPrintable(path));
        QCOMPARE(at.data(Qt::CheckStateRole).toInt() == Qt::Checked, arg.section('=', 1) == QLatin1String("1"));
    }
}

// Opens a column's popup from its header button and plays the steps on it while the menu runs.
void runPopUp(View& v, int column, const QStringList& steps)
{
    bool reached = false;
    QTimer poll;
    poll.setInterval(5);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* popup = qobject_cast<PdFilterDialogPopUp*>(QApplication::activePopupWidget());
        if (popup && !reached) {
            reached = true;
            const QPointer<PdFilterDialogPopUp> guard(popup);
            const QAbstractItemModelTester values(popup->valueModel(),
                                                  QAbstractItemModelTester::FailureReportingMode::QtTest);
            const QAbstractItemModelTester search(popup->searchModel(),
                                                  QAbstractItemModelTester::FailureReportingMode::QtTest);
            for (const QString& step : steps) {
                if (guard && guard->isVisible())
                    play(guard, step);
            }
            // A failed step must not leave the test waiting on an open menu.
            if (guard && guard->isVisible())
                guard->close();
        }
        if (waited.elapsed() > 5000) {
            if (QApplication::activePopupWidget())
                QApplication::activePopupWidget()->close();
            poll.stop();
        }
    });
    poll.start();
    const QRect section = v.header->sectionRect(column);
    const QPoint button = PdSortFilterWidget::buttonRect(section).center();
    QTest::mouseClick(v.header->viewport(), Qt::LeftButton, Qt::NoModifier, button);
    poll.stop();
    QVERIFY(reached);
}

} // namespace

class tst_PdSortFilterWidget : public QObject
{
    Q_OBJECT

private slots:
    void shouldApplyWhatTheUserChose_data();
    void shouldApplyWhatTheUserChose();
    void shouldCheckDatesByYearMonthAndDay();
    void shouldClearFiltersAndSort();
    void shouldIgnorePressesOutsideTheButtonOrWithoutModels();
};

void tst_PdSortFilterWidget::shouldApplyWhatTheUserChose_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("filtered");
    QTest::addColumn<int>("filterSignals");

    const QString all = QStringLiteral("G1(A1,A2),G2(A3),A4");
    QTest::newRow("values listed once each, numbers by value")
        << 2 << QStringList{"list:(Select All),1.5,20,1000000,(Blanks)", "cancel"} << all << false << 0;
    QTest::newRow("repeated values listed once")
        << 1 << QStringList{"list:(Select All),Active,Done,(Blanks)", "cancel"} << all << false << 0;
    QTest::newRow("select none then OK hides every row")
        << 1 << QStringList{"click:(Select All)", "expect:Active=0", "ok"} << "" << true << 1;
    QTest::newRow("select all again then OK removes the filter")
        << 1 << QStringList{"click:(Select All)", "click:(Select All)", "expect:Done=1", "ok"} << all << false << 1;
    QTest::newRow("space toggles a value, shown without its prefix")
        << 1 << QStringList{"space:Done", "expect:(Select All)=0", "ok"} << "G1(A1),G2(A3),A4" << true << 1;
    QTest::newRow("a click on the box or on the label toggles once")
        << 1 << QStringList{"click:Done", "label:(Blanks)", "ok"} << "G1(A1),G2(A3)" << true << 1;
    QTest::newRow("blanks can be left out") << 1 << QStringList{"space:(Blanks)", "ok"} << "G1(A1,A2),G2(A3)" << true
                                            << 1;
    QTest::newRow("search then OK keeps only what was found")
        << 0 << QStringList{"search:a1", "ok"} << "G1(A1)" << true << 1;
    QTest::newRow("search is literal") << 0 << QStringList{"search:[a", "ok"} << "" << true << 1;
    QTest::newRow("enter applies") << 1 << QStringList{"space:Done", "enter"} << "G1(A1),G2(A3),A4" << true << 1;
    QTest::newRow("escape changes nothing") << 1 << QStringList{"space:Done", "escape"} << all << false << 0;
    QTest::newRow("cancel changes nothing") << 1 << QStringList{"click:(Select All)", "cancel"} << all << false << 0;
    QTest::newRow("condition") << 4 << QStringList{"tab:1", "op1:is greater than", "value1:2", "ok"}
                               << "G1(A1),A4" << true << 1;
    QTest::newRow("two conditions joined by or")
        << 4 << QStringList{"tab:1", "op1:equals", "value1:1", "or", "op2:equals", "value2:5", "ok"} << "G1(A2),A4"
        << true << 1;
    QTest::newRow("condition in millions on a cost")
        << 2 << QStringList{"tab:1", "op1:is greater than or equal to", "value1:1000000", "ok"} << "G1(A1)" << true << 1;
    QTest::newRow("condition without a value changes nothing")
        << 4 << QStringList{"tab:1", "op1:equals", "ok"} << all << false << 0;
    QTest::newRow("sort Z to A") << 0 << QStringList{"action:Sort Z to A"} << "G2(A3),G1(A2,A1),A4" << false << 1;
}

void tst_PdSortFilterWidget::shouldApplyWhatTheUserChose()
{
    QFETCH(int, column);
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    QFETCH(bool, filtered);
    QFETCH(int, filterSignals);
    View v;
    QSignalSpy spy(&v.controller, &PdSortFilterWidget::filtered);
    runPopUp(v, column, steps);
    QCOMPARE(shown(v.proxy), expected);
    QCOMPARE(v.header->hasFilters(), filtered);
    QCOMPARE(v.proxy.hasFilters(), filtered);
    QCOMPARE(spy.count(), filterSignals);
}

void tst_PdSortFilterWidget::shouldCheckDatesByYearMonthAndDay()
{
    View v;
    runPopUp(v, 3, {"expand", "space:2026/March", "expect:2026=0", "expect:(Select All)=0", "expect:2025=1",
                    "space:2026/March", "expect:2026=1", "expect:(Select All)=1", "space:2026/March/05-03-2026",
                    "expect:2026/March=0", "ok"});
    // The day covers both activities of 5 March, whatever their time.
    QCOMPARE(shown(v.proxy), QStringLiteral("G2(A3),A4"));
    // Reopened, the checks come back by value: March repeats under each year.
    runPopUp(v, 3, {"expand", "expect:2025/March=1", "expect:2026/March=0", "expect:(Blanks)=1", "search:2025",
                    "expect:2025/March/10-03-2025=1", "ok"});
    QCOMPARE(shown(v.proxy), QStringLiteral("G2(A3)"));
}

void tst_PdSortFilterWidget::shouldClearFiltersAndSort()
{
    View v;
    runPopUp(v, 1, {"space:Done", "ok"});
    runPopUp(v, 2, {"action:Sort A to Z"});
    QCOMPARE(v.header->sortColumn(), 2);
    // "Clear" on one column ends the sort on another too.
    runPopUp(v, 1, {"expect:Done=0", "action:Clear"});
    QCOMPARE(v.header->sortColumn(), -1);
    QVERIFY(!v.header->hasFilters());
    QCOMPARE(shown(v.proxy), QStringLiteral("G1(A1,A2),G2(A3),A4"));

    runPopUp(v, 4, {"tab:1", "op1:is less than", "value1:3", "ok"});
    runPopUp(v, 0, {"action:Sort Z to A"});
    QSignalSpy spy(&v.controller, &PdSortFilterWidget::filtered);
    v.controller.clearAllFilters();
    v.controller.clearAllFilters();
    QCOMPARE(spy.count(), 1);
    QVERIFY(!v.proxy.hasFilters());
    QCOMPARE(v.proxy.sortColumn(), -1);
    QCOMPARE(shown(v.proxy), QStringLiteral("G1(A1,A2),G2(A3),A4"));
}

void tst_PdSortFilterWidget::shouldIgnorePressesOutsideTheButtonOrWithoutModels()
{
    // A popup that opens runs its own loop, which fires the check before the press returns.
    bool popupSeen = false;
    auto watch = [&popupSeen] {
        QTimer::singleShot(0, [&popupSeen] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popupSeen = true;
                popup->close();
            }
        });
    };
    auto* model = new QStandardItemModel(2, 3);
    auto* proxy = new PdFilterDialogProxyModel;
    proxy->setSourceModel(model);
    QTreeView tree;
    auto* header = new PdSortFilterHeader(Qt::Horizontal);
    tree.setHeader(header);
    tree.setModel(proxy);
    PdSortFilterWidget controller(header, proxy, model);
    connect(header, &PdSortFilterHeader::popUp, &controller, &PdSortFilterWidget::onAutoFilterPopUp);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    const QRect section = header->sectionRect(1);

    watch();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, section.center());
    QCoreApplication::processEvents();
    QVERIFY(!popupSeen);

    // A press that arrives after the project closed and its models were deleted.
    tree.setModel(nullptr);
    delete proxy;
    delete model;
    watch();
    controller.onAutoFilterPopUp(section, 1, PdSortFilterWidget::buttonRect(section).center());
    controller.clearAllFilters();
    controller.openPopUp(1);
    QCoreApplication::processEvents();
    QVERIFY(!popupSeen);
}

QTEST_MAIN(tst_PdSortFilterWidget)
#include "tst_pdsortfilterwidget.moc"
