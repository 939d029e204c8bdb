#include "pdpagepainter.h"
#include "pdsheetrenderer.h"
#include "printsheet.h"
#include "solidsheet.h"

#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage renderPage(const PdPagePainter &painter, int number)
{
    // A4 landscape at 4 pixels per millimetre.
    QImage image(1188, 840, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    painter.paintPage(p, number, QRectF(0, 0, 1188, 840));
    return image;
}

// Colours met going down one pixel column, each run counted once.
QVector<QRgb> runsDown(const QImage &image, int x)
{
    QVector<QRgb> runs;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb c = image.pixel(x, y);
        if (runs.isEmpty() || runs.constLast() != c)
            runs.append(c);
    }
    return runs;
}

} // namespace

class TestPdPagePainter : public QObject
{
    Q_OBJECT
private slots:
    void pagesShowEveryRowApart_data();
    void pagesShowEveryRowApart();
    void pdfHasThePlannedPagesInLandscape();
    void cancelledPdfLeavesNoFile();
    void tooTallForOneImageKeepsTheFirstRowsReadable();
};

void TestPdPagePainter::pagesShowEveryRowApart_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("repeat");
    QTest::newRow("full size, header repeated") << 100 << true;
    QTest::newRow("smallest scale, header repeated") << 1 << true;
    QTest::newRow("small scale, header on the first page row only") << 25 << false;
}

void TestPdPagePainter::pagesShowEveryRowApart()
{
    QFETCH(int, scale);
    QFETCH(bool, repeat);
    SolidSheet sheet;
    sheet.rows = 400;
    PdPageSetup setup;
    setup.scalePercent = scale;
    setup.repeatHeaders = repeat;
    setup.pageNumbers = false;
    const PdPagePainter painter(sheet, setup);
    const PdPagePlan &plan = painter.plan();
    QVERIFY(plan.pageCount() > 0);

    for (int pageRow = 0; pageRow < plan.pageRows(); ++pageRow) {
        const int number = pageRow * plan.pageColumns();
        const PdPagePlan::Page page = plan.page(number);
        const QVector<QRgb> runs = runsDown(renderPage(painter, number), 100);
        // White margin, the header if any, each row in its own run, white.
        QVector<QRgb> expected{qRgb(255, 255, 255)};
        if (page.header)
            expected << headerColour.rgb();
        for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r)
            expected << rowColours[r % 2].rgb();
        expected << qRgb(255, 255, 255);
        QCOMPARE(runs, expected);
    }
    // Only the rows of a page are asked for, not the sheet's.
    sheet.paintedRows = 0;
    renderPage(painter, 0);
    QCOMPARE(sheet.paintedRows, plan.page(0).rowCount);
}

void TestPdPagePainter::pdfHasThePlannedPagesInLandscape()
{
    QTemporaryDir dir;
    SolidSheet sheet;
    const PdPagePainter painter(sheet, PdPageSetup());
    QCOMPARE(painter.pageCount(), 3);
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    int calls = 0;
    const auto result = painter.savePdf(path, 0, painter.pageCount() - 1, [&](int done, int total) {
        ++calls;
        return done <= total;
    });
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.pages, 3);
    QCOMPARE(calls, 3);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QCOMPARE(pdf.count("/Type /Page\n"), 3);
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 (\\d+)[.0]* (\\d+)[.0]*\\]"));
    const auto match = box.match(QString::fromLatin1(pdf.constData(), pdf.size()));
    QVERIFY(match.hasMatch());
    QCOMPARE(match.captured(1) + 'x' + match.captured(2), QStringLiteral("842x595"));
}

void TestPdPagePainter::cancelledPdfLeavesNoFile()
{
    QTemporaryDir dir;
    SolidSheet sheet;
    sheet.rows = 1000;
    const PdPagePainter painter(sheet, PdPageSetup());
    const QString path = dir.filePath(QStringLiteral("cancelled.pdf"));
    const auto result = painter.savePdf(path, 0, painter.pageCount() - 1, [](int done, int) { return done < 2; });
    QVERIFY(result.cancelled);
    QVERIFY(!result.ok);
    QCOMPARE(result.pages, 2);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!painter.savePdf(dir.filePath(QStringLiteral("missing/x.pdf")), 0, 0).ok);
}

void TestPdPagePainter::tooTallForOneImageKeepsTheFirstRowsReadable()
{
    SolidSheet sheet;
    sheet.rows = 1000000;
    int shown = 0;
    QString error;
    const QImage image = PdSheetRenderer::renderCapped(sheet, &error, &shown);
    QVERIFY(!image.isNull());
    QVERIFY(shown > 0 && shown < sheet.rows);
    QCOMPARE(sheet.paintedRows, shown);
    QVERIFY(image.height() <= PdSheetRenderer::defaultMaxSide);
    // Rows keep their minimum scale: each is still a few pixels high.
    const qreal scale = qreal(image.width()) / sheet.width();
    QVERIFY(qAbs(scale - PdSheetRenderer::minimumScale) < 0.01);
    QCOMPARE(image.pixelColor(10, int((sheet.headerHeight() + (shown - 0.5) * 22) * scale)),
             rowColours[(shown - 1) % 2]);
}

QTEST_MAIN(TestPdPagePainter)
#include "tst_pdpagepainter.moc"
