#include "barshapes.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "pdganttviewdelegate.h"
#include "taskdrawdelegate.h"
#include "taskitem.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace mygc;

namespace {

QStringList art(const char *rows)
{
    return QString::fromLatin1(rows).split('/');
}

QStringList transposed(const QStringList &rows)
{
    QStringList out;
    for (int x = 0; x < rows.size(); ++x) {
        QString line;
        for (const QString &row : rows)
            line += row.at(x);
        out << line;
    }
    return out;
}

QStringList flipped(QStringList rows)
{
    std::reverse(rows.begin(), rows.end());
    return rows;
}

const QStringList southCone = art("###########/.#########./.#########./..#######../..#######../...#####.../"
                                  "...#####.../....###..../....###..../.....#...../.....#.....");
const QStringList northCone = art(".....#...../....###..../....###..../...#####.../...#####.../..#######../"
                                  "..#######../.#########./.#########./###########/###########");
const QStringList southPenta = art("###########/###########/###########/###########/###########/###########/"
                                   ".#########./..#######../...#####.../....###..../.....#.....");

// Paints on a white image and returns it, for reading back pixel by pixel.
QImage painted(const QSize &size, const std::function<void(QPainter *)> &paint)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paint(&p);
    }
    return image;
}

QRect paintedRect(const QImage &image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white)
                r |= QRect(x, y, 1, 1);
    return r;
}

PdGanttViewBarStyle barStyle(int height, int offset, const QColor &body)
{
    PdGanttViewBarStyle style;
    style.bodyShapeHeight = height;
    style.bodyShapeOffset = offset;
    style.bodyColor = body;
    return style;
}

QDateTime day(int d, int hour = 0)
{
    return QDateTime(QDate(2017, 3, d), QTime(hour, 0));
}

} // namespace

class TestTaskDrawDelegate : public QObject
{
    Q_OBJECT
private slots:
    void shapesPixelByPixel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("SouthCone points down, two single pixels at the bottom") << "SouthCone" << southCone;
        QTest::newRow("NorthCone points up") << "NorthCone" << northCone;
        QTest::newRow("EastCone points right") << "EastCone" << transposed(southCone);
        QTest::newRow("WestCone points left") << "WestCone" << transposed(northCone);
        QTest::newRow("Diamond, widest on its sixth line") << "Diamond" << art(".....#...../....###..../...#####.../..#######../.#########./###########/"
                ".#########./..#######../...#####.../....###..../.....#.....");
        QTest::newRow("Square, inset by one pixel") << "Square" << art(".........../.#########./.#########./.#########./.#########./.#########./"
                ".#########./.#########./.#########./.#########./...........");
        QTest::newRow("SouthPenta, flat top") << "SouthPenta" << southPenta;
        QTest::newRow("NorthPenta, flat bottom") << "NorthPenta" << flipped(southPenta);
        QTest::newRow("EastPenta, point on the right") << "EastPenta" << transposed(southPenta);
        QTest::newRow("WestPenta, point on the left") << "WestPenta" << transposed(flipped(southPenta));
        QTest::newRow("unknown name draws nothing") << "Hexagon" << QStringList(QVector<QString>(11, QString(11, '.')).toList());
    }

    // Drawn black at (2, 2) of a 15 x 15 image and read back with the margin,
    // so strays outside the box show.
    void shapesPixelByPixel()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, expected);
        const QImage image = painted(QSize(15, 15), [&](QPainter *p) {
            p->setPen(Qt::black);
            p->setBrush(Qt::black);
            drawShape(p, QRect(2, 2, 11, 11), name, 11);
        });
        QStringList actual;
        for (int y = 0; y < 15; ++y) {
            QString line;
            for (int x = 0; x < 15; ++x)
                line += image.pixelColor(x, y) == Qt::white ? '.' : '#';
            actual << line;
        }
        QStringList framed{QString(15, '.'), QString(15, '.')};
        for (const QString &row : expected)
            framed << ".." + row + "..";
        framed << QString(15, '.') << QString(15, '.');
        if (actual != framed)
            qWarning().noquote() << "\n" + actual.join('\n');
        QCOMPARE(actual, framed);
    }

    void barGeometry_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QColor>("endColor");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("to");
        QTest::addColumn<QRect>("expected");
        // Axis from 1 to 11 March, 25 pixels a day; row top 10, body offset 6.
        const QColor none;
        QTest::newRow("body, outline included") << 11 << true << none << day(2) << day(4) << QRect(25, 15, 51, 12);
        QTest::newRow("zero height is a one-pixel line") << 0 << true << none << day(2) << day(4) << QRect(25, 15, 51, 1);
        QTest::newRow("end shape centred on the finish") << 3 << true << QColor(Qt::black) << day(2) << day(4) << QRect(25, 15, 55, 10);
        QTest::newRow("hidden style draws nothing") << 11 << false << none << day(2) << day(4) << QRect();
        QTest::newRow("invalid date draws nothing") << 11 << true << none << QDateTime() << day(4) << QRect();
        QTest::newRow("finish past the axis is cut at its end") << 5 << true << none << day(9) << day(20) << QRect(200, 15, 51, 6);
        QTest::newRow("bar wholly before the axis draws nothing") << 5 << true << none << day(1).addDays(-5) << day(1).addDays(-2) << QRect();
    }

    // Drawn as style 0 and as a missing style 1, which must add nothing.
    void barGeometry()
    {
        QFETCH(int, height);
        QFETCH(bool, visible);
        QFETCH(QColor, endColor);
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, to);
        QFETCH(QRect, expected);
        PdGanttViewBarStyle style = barStyle(height, 6, QColor(150, 50, 50));
        style.endPointShape = "Square";
        style.endPointColor = endColor;
        style.visible = visible;
        GanttChart chart;
        chart.setBarStyles({style});
        DateAxis axis;
        axis.setRange(day(1), day(10, 12));
        QCOMPARE(axis.axisWidth(), 250);
        const QImage image = painted(QSize(300, 40), [&](QPainter *p) {
            TaskItem item;
            chart.drawDelegate()->drawBar(item, p, &axis, QRect(0, 10, 300, 25), 0, from, to);
            chart.drawDelegate()->drawBar(item, p, &axis, QRect(0, 10, 300, 25), 1, from, to);
        });
        QCOMPARE(paintedRect(image), expected);
    }

    void previewPainting_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("startShape");
        QTest::addColumn<QRect>("expected");
        // Preview rectangle (20, 10, 60 x 20): no -1 on the offset here.
        QTest::newRow("body cut to its height and moved down") << 5 << 3 << QString() << QRect(20, 13, 60, 5);
        QTest::newRow("no body for height 0") << 0 << 3 << QString() << QRect();
        QTest::newRow("start shape centred on the left edge, top at the offset") << 0 << 4 << QString("Diamond") << QRect(15, 14, 11, 11);
    }

    void previewPainting()
    {
        QFETCH(int, height);
        QFETCH(int, offset);
        QFETCH(QString, startShape);
        QFETCH(QRect, expected);
        PdGanttViewBarStyle style = barStyle(height, offset, Qt::blue);
        style.startPointShape = startShape;
        style.startPointColor = startShape.isEmpty() ? QColor() : QColor(Qt::black);
        const QImage image = painted(QSize(100, 40), [&](QPainter *p) {
            PdGanttViewDelegate().paintBar(p, QStyleOptionViewItem(), QRect(20, 10, 60, 20), style);
        });
        QCOMPARE(paintedRect(image), expected);
    }
};

QTEST_MAIN(TestTaskDrawDelegate)
#include "tst_taskdrawdelegate.moc"
