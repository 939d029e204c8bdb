#include "pdsnipdialog.h"

#include "pdsheetrenderer.h"
#include "pdsnipgraphicsscene.h"
#include "viewprintsheet.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The overview is for placing the handles: wide enough to pick a day, tall
// enough for the scale and the first rows, never the size of the chart.
const int overviewMaxWidth = 8000;
const int overviewMaxHeight = 2400;

} // namespace

PdSnipDialog::PdSnipDialog(mygc::GanttChart *chart, QWidget *parent)
    : QDialog(parent)
    , m_chart(chart)
    , m_sheet(std::make_unique<ViewPrintSheet>(nullptr, chart))
{
    setWindowTitle(QStringLiteral("Snip settings"));
    const int width = m_sheet->width();
    m_overviewScale = width > overviewMaxWidth ? qreal(overviewMaxWidth) / width : 1.0;
    const int rh = m_sheet->rowHeight();
    const int rows = rh > 0 ? std::clamp(int((overviewMaxHeight / m_overviewScale - m_sheet->headerHeight()) / rh), 0,
                                         m_sheet->rowCount())
                            : 0;
    const QImage overview = width > 0 ? PdSheetRenderer::render(*m_sheet, m_overviewScale, 0, rows) : QImage();
    m_scene = new PdSnipGraphicsScene(overview, this);

    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("gvSnip"));
    m_view->setMouseTracking(true);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *zoomIn = new QPushButton(QStringLiteral("Zoom In"), this);
    zoomIn->setObjectName(QStringLiteral("btnZoomIn"));
    auto *zoomOut = new QPushButton(QStringLiteral("Zoom Out"), this);
    zoomOut->setObjectName(QStringLiteral("btnZoomOut"));
    auto *savePng = new QPushButton(QStringLiteral("Save to PNG"), this);
    savePng->setObjectName(QStringLiteral("btnSaveToPng"));
    auto *saveClipboard = new QPushButton(QStringLiteral("Save to clipboard"), this);
    saveClipboard->setObjectName(QStringLiteral("btnSaveToClipboard"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(zoomIn);
    buttons->addWidget(zoomOut);
    buttons->addStretch(1);
    buttons->addWidget(savePng);
    buttons->addWidget(saveClipboard);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(zoomIn, &QPushButton::clicked, this, &PdSnipDialog::zoomInClicked);
    connect(zoomOut, &QPushButton::clicked, this, &PdSnipDialog::zoomOutClicked);
    connect(savePng, &QPushButton::clicked, this, &PdSnipDialog::saveToPngClicked);
    connect(saveClipboard, &QPushButton::clicked, this, &PdSnipDialog::saveToClipboardClicked);
    connect(m_scene, &PdSnipGraphicsScene::cursorUpdated, this, &PdSnipDialog::setSplitCursor);

    setMouseTracking(true);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 0.8);
}

PdSnipDialog::~PdSnipDialog() = default;

qreal PdSnipDialog::zoom() const
{
    return m_view->transform().m11();
}

void PdSnipDialog::zoomBy(qreal factor)
{
    const qreal target = std::clamp(zoom() * factor, minimumZoom, maximumZoom);
    m_view->scale(target / zoom(), target / zoom());
}

void PdSnipDialog::zoomInClicked()
{
    zoomBy(1.5);
}

void PdSnipDialog::zoomOutClicked()
{
    zoomBy(2.0 / 3.0);
}

QImage PdSnipDialog::makeImage(QString *error, QString *note) const
{
    const int from = m_sheet->chartFrom() + int(std::floor(m_scene->leftX() / m_overviewScale));
    const int to = m_sheet->chartFrom() + int(std::ceil(m_scene->rightX() / m_overviewScale));
    ViewPrintSheet slice(nullptr, m_chart);
    slice.setChartRange(from, std::min(to, m_sheet->chartTo()));
    int rows = 0;
    const QImage image = PdSheetRenderer::renderCapped(slice, error, &rows);
    if (note)
        *note = image.isNull() || rows >= slice.rowCount()
                    ? QString()
                    : QStringLiteral("\nThe chart is too tall for one image: it holds the first %1 of %2 rows.")
                          .arg(rows)
                          .arg(slice.rowCount());
    return image;
}

QString PdSnipDialog::saveImage(const QString &path, QString *error, QString *note) const
{
    QString name = path;
    if (!name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        name += QStringLiteral(".png");
    const QImage image = makeImage(error, note);
    if (image.isNull())
        return QString();
    if (!PdSheetRenderer::savePng(image, name, error))
        return QString();
    return name;
}

bool PdSnipDialog::copyImage(QString *error, QString *note) const
{
    const QImage image = makeImage(error, note);
    if (image.isNull())
        return false;
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void PdSnipDialog::saveToPngClicked()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path = m_chooser ? m_chooser(this)
                                   : QFileDialog::getSaveFileName(this, QStringLiteral("Save image"), pictures,
                                                                  QStringLiteral("PNG (*.png)"));
    if (path.isEmpty())
        return;
    QString error;
    QString note;
    const QString written = saveImage(path, &error, &note);
    if (written.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Image"), error);
    else
        QMessageBox::information(this, QStringLiteral("Image"), QStringLiteral("Image was saved to ") + written + note);
}

void PdSnipDialog::saveToClipboardClicked()
{
    QString error;
    QString note;
    if (copyImage(&error, &note))
        QMessageBox::information(this, QStringLiteral("Image"), QStringLiteral("Image was copied to clipboard") + note);
    else
        QMessageBox::warning(this, QStringLiteral("Image"), error);
}

void PdSnipDialog::setSplitCursor(bool split)
{
    m_view->viewport()->setCursor(split ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void PdSnipDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Both handles in sight at first: the overview's whole width, from its top.
    QTimer::singleShot(0, this, [this] {
        const qreal width = std::max(1, m_scene->sceneWidth());
        const qreal fit = std::clamp((m_view->viewport()->width() - 4) / width, minimumZoom, 1.0);
        m_view->setTransform(QTransform::fromScale(fit, fit));
        m_view->ensureVisible(0, 0, 1, 1);
    });
}

void PdSnipDialog::mouseMoveEvent(QMouseEvent *event)
{
    setSplitCursor(false);
    QDialog::mouseMoveEvent(event);
}
