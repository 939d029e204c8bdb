#include "pdprintpreviewscene.h"

#include "printsheet.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const qreal pageGap = 20;
// Pages smaller than this on screen show as grey outlines only: a reader
// sees the page grid, and painting hundreds of unreadable pages is avoided.
const qreal smallestReadablePage = 48;

} // namespace

PdPrintPreviewScene::PdPrintPreviewScene(PrintSheet &sheet, QObject *parent)
    : QGraphicsScene(parent)
    , m_sheet(sheet)
    , m_cache(64 * 1024)
{
    setBackgroundBrush(QColor(128, 128, 128));
    relayout();
}

PdPrintPreviewScene::~PdPrintPreviewScene() = default;

void PdPrintPreviewScene::setPageSetup(const PdPageSetup &setup)
{
    m_setup = setup;
    relayout();
}

void PdPrintPreviewScene::setScale(int percent)
{
    m_setup.scalePercent = PdPageSetup::clampScale(percent);
    relayout();
}

void PdPrintPreviewScene::setRepeatTableHeaders(bool repeat)
{
    m_setup.repeatHeaders = repeat;
    relayout();
}

void PdPrintPreviewScene::setPrintPageNumbers(bool numbers)
{
    m_setup.pageNumbers = numbers;
    relayout();
}

void PdPrintPreviewScene::setChartScale(PdChartScale scale)
{
    m_setup.chartScale = scale;
    relayout();
}

QSizeF PdPrintPreviewScene::paperSize() const
{
    const QSizeF mm = m_setup.paperMillimetres();
    return QSizeF(std::round(mm.width() * unitsPerMillimetre), std::round(mm.height() * unitsPerMillimetre));
}

QRectF PdPrintPreviewScene::pageRect(int number) const
{
    const PdPagePlan &plan = m_painter->plan();
    const QSizeF paper = paperSize();
    const int columns = std::max(1, plan.pageColumns());
    return QRectF((number % columns) * (paper.width() + pageGap), (number / columns) * (paper.height() + pageGap),
                  paper.width(), paper.height());
}

void PdPrintPreviewScene::relayout()
{
    m_painter = std::make_unique<PdPagePainter>(m_sheet, m_setup);
    m_cache.clear();
    m_rendered = 0;
    const PdPagePlan &plan = m_painter->plan();
    const QSizeF paper = paperSize();
    const int columns = std::max(1, plan.pageColumns());
    const int rows = std::max(1, plan.pageRows());
    setSceneRect(QRectF(-pageGap, -pageGap, columns * (paper.width() + pageGap) + pageGap,
                        rows * (paper.height() + pageGap) + pageGap));
    update();
    emit pagesChanged(plan.pageCount());
}

QImage PdPrintPreviewScene::pageImage(int number, int level)
{
    const qint64 key = qint64(number) * 8 + level;
    if (QImage *cached = m_cache.object(key))
        return *cached;
    const qreal zoom = std::ldexp(1.0, level - 3);
    const QSize size = (paperSize() * zoom).toSize();
    auto *image = new QImage(size, QImage::Format_RGB32);
    image->fill(Qt::white);
    {
        QPainter p(image);
        p.setRenderHint(QPainter::TextAntialiasing);
        m_painter->paintPage(p, number, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    ++m_rendered;
    const QImage result = *image;
    m_cache.insert(key, image, int(image->sizeInBytes() / 1024));
    return result;
}

void PdPrintPreviewScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    painter->fillRect(rect, backgroundBrush());
    const PdPagePlan &plan = m_painter->plan();
    if (plan.pageCount() == 0)
        return;
    const QSizeF paper = paperSize();
    const qreal stepX = paper.width() + pageGap;
    const qreal stepY = paper.height() + pageGap;
    const int firstColumn = std::max(0, int(std::floor(rect.left() / stepX)));
    const int lastColumn = std::min(plan.pageColumns() - 1, int(std::floor(rect.right() / stepX)));
    const int firstRow = std::max(0, int(std::floor(rect.top() / stepY)));
    const int lastRow = std::min(plan.pageRows() - 1, int(std::floor(rect.bottom() / stepY)));
    const qreal onScreen = painter->worldTransform().mapRect(QRectF(QPointF(0, 0), paper)).height();
    // Pictures in power-of-two steps from 1/8 to 2 times the scene's size,
    // the one just above what the screen shows.
    const int level = std::clamp(int(std::ceil(std::log2(std::max(1e-3, onScreen / paper.height())))) + 3, 0, 4);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int number = row * plan.pageColumns() + column;
            const QRectF page = pageRect(number);
            painter->fillRect(page, Qt::white);
            if (onScreen >= smallestReadablePage) {
                painter->drawImage(page, pageImage(number, level));
            } else {
                painter->setPen(QColor(200, 200, 200));
                painter->drawRect(page.adjusted(paper.width() * 0.05, paper.height() * 0.05,
                                                -paper.width() * 0.05, -paper.height() * 0.05));
            }
            painter->setPen(Qt::black);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(page);
        }
    }
}
