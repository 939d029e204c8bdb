#pragma once

#include "pdpagepainter.h"

#include <QCache>
#include <QGraphicsScene>
#include <QImage>

#include <memory>

class PrintSheet;

// The pages laid side by side as they will print, page row under page row.
// The scene holds no item per page or cell: pages are painted when they come
// into view, from a small cache of page pictures, so a schedule of thousands
// of pages opens as fast as one of a single page.
class PdPrintPreviewScene : public QGraphicsScene
{
    Q_OBJECT
public:
    // Scene units per millimetre of paper.
    static constexpr qreal unitsPerMillimetre = 4.33333;

    PdPrintPreviewScene(PrintSheet &sheet, QObject *parent = nullptr);
    ~PdPrintPreviewScene() override;

    void setPageSetup(const PdPageSetup &setup);
    const PdPageSetup &pageSetup() const { return m_setup; }
    void setScale(int percent);
    void setRepeatTableHeaders(bool repeat);
    void setPrintPageNumbers(bool numbers);
    void setChartScale(PdChartScale scale);

    const PdPagePainter &pagePainter() const { return *m_painter; }
    int pageCount() const { return m_painter->pageCount(); }
    // Paper size in scene units, each side rounded.
    QSizeF paperSize() const;
    QRectF pageRect(int number) const;
    // Pages painted since the layout last changed; the rest were never drawn.
    int pagesRendered() const { return m_rendered; }

signals:
    void pagesChanged(int count);

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private:
    void relayout();
    QImage pageImage(int number, int level);

    PrintSheet &m_sheet;
    PdPageSetup m_setup;
    std::unique_ptr<PdPagePainter> m_painter;
    // Keyed by page and resolution step; costs in kilobytes.
    QCache<qint64, QImage> m_cache;
    int m_rendered = 0;
};
