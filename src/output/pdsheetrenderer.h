#pragma once

#include <QImage>
#include <QString>

class PrintSheet;

// A whole sheet (header and every row) as one image, painted band by band
// straight from the sheet. Big sheets come out scaled down so that neither
// side passes `maxSide` and the image stays within `maxPixels`; but not
// below `minimumScale`, where rows would shrink to slivers: a sheet taller
// than that keeps only its first rows.
class PdSheetRenderer
{
public:
    static constexpr int defaultMaxSide = 20000;
    static constexpr qint64 defaultMaxPixels = 64LL * 1024 * 1024;
    static constexpr qreal minimumScale = 0.125;

    // Scale at which the sheet fits the caps (1.0 when it fits as it is).
    static qreal fittingScale(const QSize &size, int maxSide = defaultMaxSide, qint64 maxPixels = defaultMaxPixels);
    static QSize sheetSize(const PrintSheet &sheet);
    // Rows from firstRow on, at most rowCount of them (-1: all), at `scale`.
    static QImage render(const PrintSheet &sheet, qreal scale, int firstRow = 0, int rowCount = -1);
    // The sheet within the caps; a null image and a reason when the sheet is
    // empty or the image cannot be made. `rowsShown` tells how many rows
    // made it in.
    static QImage renderCapped(const PrintSheet &sheet, QString *error, int *rowsShown = nullptr,
                               int maxSide = defaultMaxSide, qint64 maxPixels = defaultMaxPixels);
    // Writes a PNG file whole or not at all; the reason on failure.
    static bool savePng(const QImage &image, const QString &path, QString *error);
};
