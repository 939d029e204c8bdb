#include "pdbarshapecombo.h"
#include "pdcolorcombo.h"
#include "pdcolorwidget.h"
#include "pdendpointcombo.h"
#include "pdendpointwidget.h"
#include "pditempainter.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(PdBarShape)

// Every choice is made the way a user makes it: open the combo, click the
// choice in its popup.
class TestPdStylePickers : public QObject
{
    Q_OBJECT
private slots:
    void everyColourRoundTripsThroughItsSwatch()
    {
        PdColorCombo combo;
        combo.resize(120, 28);
        QSignalSpy changed(&combo, &PdColorCombo::colorChanged);
        const auto &entries = PdColorWidget::entries();
        QCOMPARE(entries.size(), 56);
        for (int i = 0; i < entries.size(); ++i) {
            QTest::mouseClick(&combo, Qt::LeftButton);
            QVERIFY(combo.popup()->isVisible());
            QTest::mouseClick(combo.popup(), Qt::LeftButton, {}, PdColorWidget::swatchRect(i).center());
            QVERIFY(!combo.popup()->isVisible());
            QCOMPARE(changed.count(), i + 1);
            QCOMPARE(changed.last().at(0).value<QColor>(), entries.at(i).color);
            QCOMPARE(combo.color(), entries.at(i).color);
            // Reopened on that colour, the popup marks its last twin.
            int last = i;
            for (int j = i + 1; j < entries.size(); ++j)
                if (entries.at(j).color == entries.at(i).color)
                    last = j;
            QCOMPARE(PdColorWidget(combo.color()).currentIndex(), last);
        }
        QCOMPARE(PdColorWidget(QColor("#993366")).currentIndex(), 41);
        QVERIFY(!PdColorWidget(QColor()).color().isValid());
    }

    void everyEndShapeRoundTripsThroughItsPicker_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("none") << QString();
        for (const char *name : {"Circle", "Square", "Diamond", "SouthPenta", "NorthPenta", "EastPenta",
                                 "WestPenta", "SouthCone", "NorthCone", "EastCone", "WestCone"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyEndShapeRoundTripsThroughItsPicker()
    {
        QFETCH(QString, name);
        PdEndPointCombo combo;
        combo.resize(120, 28);
        combo.setShapeName(QStringLiteral("Circle"));
        QSignalSpy changed(&combo, &PdEndPointCombo::endpointChanged);
        int choice = -1;
        for (int i = 0; i < PdEndPointWidget::choices().size(); ++i)
            if (PdItemPainter::shapeName(PdEndPointWidget::choices().at(i).code) == name)
                choice = i;
        QVERIFY(choice >= 0);
        if (!name.isEmpty())
            QCOMPARE(PdEndPointWidget::choices().at(choice).name, name);

        QTest::mouseClick(&combo, Qt::LeftButton);
        auto *popup = combo.endPointWidget();
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->cellRect(choice).center());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(combo.shapeName(), name);
        QCOMPARE(PdItemPainter::shapeName(changed.last().at(0).toInt()), name);

        PdEndPointCombo reloaded;
        reloaded.setShapeName(name);
        QCOMPARE(reloaded.code(), combo.code());
        QCOMPARE(reloaded.endPointWidget()->currentCode(), combo.code());
    }

    void everyBarPresetRoundTripsThroughItsPicker()
    {
        PdBarShapeCombo combo;
        combo.resize(120, 28);
        QSignalSpy changed(&combo, &PdBarShapeCombo::shapeChanged);
        const auto &presets = PdBarShapeWidget::presets();
        for (int i = 0; i < presets.size(); ++i) {
            QTest::mouseClick(&combo, Qt::LeftButton);
            auto *popup = combo.barShapeWidget();
            QTest::mouseClick(popup, Qt::LeftButton, {},
                              QPoint(popup->width() / 2, i * PdBarShapeWidget::RowHeight + 11));
            QCOMPARE(changed.count(), i + 1);
            QCOMPARE(changed.last().at(0).toInt(), i);
            QCOMPARE(combo.shape(), presets.at(i));

            PdBarShapeCombo reloaded;
            reloaded.setShape(presets.at(i));
            QCOMPARE(reloaded.currentIndex(), i);
        }
    }

    void barPopupKeys_data()
    {
        QTest::addColumn<PdBarShape>("start");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<PdBarShape>("expected");
        QTest::addColumn<int>("emitted");
        QTest::newRow("up on the first preset stays there")
            << PdBarShape{0, 0} << QList<int>{Qt::Key_Up, Qt::Key_Return} << PdBarShape{0, 0} << 1;
        QTest::newRow("down then enter picks the next")
            << PdBarShape{11, 6} << QList<int>{Qt::Key_Down, Qt::Key_Enter} << PdBarShape{5, 3} << 1;
        QTest::newRow("down on the last preset stays there")
            << PdBarShape{3, 18} << QList<int>{Qt::Key_Down, Qt::Key_Return} << PdBarShape{3, 18} << 1;
        QTest::newRow("a body of its own survives enter")
            << PdBarShape{0, 6} << QList<int>{Qt::Key_Return} << PdBarShape{0, 6} << 0;
        QTest::newRow("a body of its own, then down, picks the first")
            << PdBarShape{7, 2} << QList<int>{Qt::Key_Down, Qt::Key_Return} << PdBarShape{0, 0} << 1;
    }

    void barPopupKeys()
    {
        QFETCH(PdBarShape, start);
        QFETCH(QList<int>, keys);
        QFETCH(PdBarShape, expected);
        QFETCH(int, emitted);
        PdBarShapeCombo combo;
        combo.setShape(start);
        QCOMPARE(combo.shape(), start);
        QSignalSpy changed(&combo, &PdBarShapeCombo::shapeChanged);
        combo.showPopup();
        for (int key : keys)
            QTest::keyClick(combo.barShapeWidget(), Qt::Key(key));
        QCOMPARE(changed.count(), emitted);
        QCOMPARE(combo.shape(), expected);
    }
};

QTEST_MAIN(TestPdStylePickers)
#include "tst_pdstylepickers.moc"
