#include "pdsheetrenderer.h"

#include "printsheet.h"

#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

// Rows painted per pass: each pass asks the sheet for a bounded stretch.
const int rowsPerBand = 512;

} // namespace

qreal PdSheetRenderer::fittingScale(const QSize &size, int maxSide, qint64 maxPixels)
{
    if (size.isEmpty())
        return 1.0;
    qreal scale = 1.0;
    const int side = std::max(size.width(), size.height());
    if (side > maxSide)
        scale = qreal(maxSide) / side;
    const qreal pixels = qreal(size.width()) * size.height() * scale * scale;
    if (pixels > maxPixels)
        scale *= std::sqrt(maxPixels / pixels);
    return scale;
}

QSize PdSheetRenderer::sheetSize(const PrintSheet &sheet)
{
    const qint64 height = sheet.headerHeight() + qint64(sheet.rowCount()) * sheet.rowHeight();
    return QSize(sheet.width(), int(std::min<qint64>(height, std::numeric_limits<int>::max())));
}

QImage PdSheetRenderer::render(const PrintSheet &sheet, qreal scale, int firstRow, int rowCount)
{
    const int rows = rowCount < 0 ? sheet.rowCount() - firstRow : std::min(rowCount, sheet.rowCount() - firstRow);
    const int width = sheet.width();
    const int rh = sheet.rowHeight();
    const int headerHeight = sheet.headerHeight();
    const QSize size(std::max(1, int(std::floor(width * scale))),
                     std::max(1, int(std::floor((headerHeight + qint64(std::max(0, rows)) * rh) * scale))));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    sheet.paintHeader(painter, 0, width);
    for (int r = 0; r < rows; r += rowsPerBand) {
        const int count = std::min(rowsPerBand, rows - r);
        painter.save();
        painter.translate(0, headerHeight - qreal(firstRow) * rh);
        painter.setClipRect(QRect(0, (firstRow + r) * rh, width, count * rh));
        sheet.paintRows(painter, firstRow + r, count, 0, width);
        painter.restore();
    }
    return image;
}

QImage PdSheetRenderer::renderCapped(const PrintSheet &sheet, QString *error, int *rowsShown, int maxSide,
                                     qint64 maxPixels)
{
    if (rowsShown)
        *rowsShown = 0;
    const QSize size = sheetSize(sheet);
    if (size.width() <= 0 || sheet.rowCount() <= 0 || sheet.rowHeight() <= 0) {
        if (error)
            *error = QStringLiteral("There is nothing to make an image of: the chart or the chosen dates are empty.");
        return QImage();
    }
    qreal scale = fittingScale(size, maxSide, maxPixels);
    int rows = sheet.rowCount();
    if (scale < minimumScale) {
        scale = std::min(minimumScale, qreal(maxSide) / size.width());
        const qreal height = std::min<qreal>(maxSide, maxPixels / (size.width() * scale));
        rows = std::clamp(int((height / scale - sheet.headerHeight()) / sheet.rowHeight()), 1, rows);
    }
    const QImage image = render(sheet, scale, 0, rows);
    if (image.isNull() && error)
        *error = QStringLiteral("The image is too large to be made.");
    if (!image.isNull() && rowsShown)
        *rowsShown = rows;
    return image;
}

bool PdSheetRenderer::savePng(const QImage &image, const QString &path, QString *error)
{
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    if (file.open(QIODevice::WriteOnly) && writer.write(image) && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("The image could not be saved to %1: %2")
                     .arg(path, writer.error() != QImageWriter::UnknownError ? writer.errorString() : file.errorString());
    return false;
}
