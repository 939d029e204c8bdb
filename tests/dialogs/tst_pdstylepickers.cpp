#include "pdbarshapecombo.h"
#include "pdcolorcombo.h"
#include "pdcolorwidget.h"
#include "pdendpointcombo.h"
#include "pdendpointwidget.h"
#include "pditempainter.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

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
        for (int i = 0; i < entries.size(); ++i) {
            QTest::mouseClick(&combo, Qt::LeftButton);
            QVERIFY(combo.popup()->isVisible());
            QTest::mouseClick(combo.popup(), Qt::LeftButton, {}, PdColorWidget::swatchRect(i).center());
            QVERIFY(!combo.popup()->isVisible());
            QCOMPARE(changed.count(), i + 1);
            QCOMPARE(changed.last().at(0).value<QColor>(), entries.at(i).color);
            QCOMPARE(combo.color(), entries.at(i).color);
            QCOMPARE(combo.colorWidget()->currentIndex(), i);
            // Reopened on that colour, the popup marks its last twin.
            int last = i;
            for (int j = i + 1; j < entries.size(); ++j)
                if (entries.at(j).color == entries.at(i).color)
                    last = j;
            QCOMPARE(PdColorWidget(combo.color()).currentIndex(), last);
        }
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

    // Arrow keys walk the grid's rows and columns, Enter chooses; from a
    // value no cell shows, the first arrow lands on the first cell.
    void popupKeys_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QVariant>("start");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<int>("emitted");
        const auto bar = [](int height, int offset) { return QVariant::fromValue(PdBarShape{height, offset}); };
        const auto colour = [](const QColor &c) { return QVariant(c); };
        const QList<int> enter{Qt::Key_Return}, up{Qt::Key_Up, Qt::Key_Return}, down{Qt::Key_Down, Qt::Key_Return},
            right{Qt::Key_Right, Qt::Key_Return};
        QTest::newRow("bars: up on the first preset stays there") << "bar" << bar(0, 0) << up << bar(0, 0) << 1;
        QTest::newRow("bars: down then enter picks the next")
            << "bar" << bar(11, 6) << QList<int>{Qt::Key_Down, Qt::Key_Enter} << bar(5, 3) << 1;
        QTest::newRow("bars: down on the last preset stays there") << "bar" << bar(3, 18) << down << bar(3, 18) << 1;
        QTest::newRow("bars: a body of its own survives enter") << "bar" << bar(0, 6) << enter << bar(0, 6) << 0;
        QTest::newRow("bars: a body of its own, then down, picks the first")
            << "bar" << bar(7, 2) << down << bar(0, 0) << 1;
        QTest::newRow("bars: left and right are not theirs") << "bar" << bar(11, 6) << right << bar(11, 6) << 1;
        // Eight swatches a row: Black second in the first, Blue+ last in the last.
        QTest::newRow("colours: right, then down a row")
            << "colour" << colour(Qt::black) << QList<int>{Qt::Key_Right, Qt::Key_Down, Qt::Key_Return}
            << colour("#FF6600") << 1;
        QTest::newRow("colours: left and up at the first swatch stay there")
            << "colour" << colour(QColor()) << QList<int>{Qt::Key_Left, Qt::Key_Up, Qt::Key_Return} << colour(QColor())
            << 1;
        QTest::newRow("colours: down on the last row stays there") << "colour" << colour(Qt::blue) << down
                                                                   << colour(Qt::blue) << 1;
        QTest::newRow("colours: a colour of its own survives enter") << "colour" << colour(QColor(1, 2, 3)) << enter
                                                                     << colour(QColor(1, 2, 3)) << 0;
        QTest::newRow("colours: a colour of its own, then up, picks the first")
            << "colour" << colour(QColor(1, 2, 3)) << up << colour(QColor()) << 1;
    }

    void popupKeys()
    {
        QFETCH(QString, picker);
        QFETCH(QVariant, start);
        QFETCH(QList<int>, keys);
        QFETCH(QVariant, expected);
        QFETCH(int, emitted);
        std::unique_ptr<PdPickerCombo> combo;
        std::function<QVariant()> value;
        if (picker == QLatin1String("bar")) {
            auto *bars = new PdBarShapeCombo;
            bars->setShape(start.value<PdBarShape>());
            value = [bars] { return QVariant::fromValue(bars->shape()); };
            combo.reset(bars);
        } else {
            auto *colours = new PdColorCombo;
            colours->setColor(start.value<QColor>());
            value = [colours] { return QVariant(colours->color()); };
            combo.reset(colours);
        }
        QCOMPARE(value(), start);
        QSignalSpy changed(combo.get(),
                           picker == QLatin1String("bar") ? SIGNAL(shapeChanged(int)) : SIGNAL(colorChanged(QColor)));
        combo->showPopup();
        for (int key : keys)
            QTest::keyClick(combo->popup(), Qt::Key(key));
        QCOMPARE(changed.count(), emitted);
        QCOMPARE(value(), expected);
    }
};

QTEST_MAIN(TestPdStylePickers)
#include "tst_pdstylepickers.moc"
