#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>

class PdSnipGraphicsScene;
class QGraphicsView;
class ViewPrintSheet;
namespace mygc {
class GanttChart;
}

// Cuts a stretch of dates out of the whole chart, with its scale on top, and
// saves it as a PNG file or puts it on the clipboard.
class PdSnipDialog : public QDialog
{
    Q_OBJECT
public:
    using FileChooser = std::function<QString(QWidget *parent)>;
    // Zoom of the overview stays between these.
    static constexpr qreal minimumZoom = 0.05;
    static constexpr qreal maximumZoom = 16.0;

    explicit PdSnipDialog(mygc::GanttChart *chart, QWidget *parent = nullptr);
    ~PdSnipDialog() override;

    PdSnipGraphicsScene *scene() const { return m_scene; }
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // Scale of the overview against the chart.
    qreal overviewScale() const { return m_overviewScale; }
    qreal zoom() const;

    // The chosen slice as an image; null with a reason when there is none.
    // `note` tells when the chart was too tall to go in whole.
    QImage makeImage(QString *error, QString *note = nullptr) const;
    // Writes the slice to `path` (".png" added when missing); the reason on
    // failure. Returns the name written.
    QString saveImage(const QString &path, QString *error, QString *note = nullptr) const;
    bool copyImage(QString *error, QString *note = nullptr) const;

public slots:
    void zoomInClicked();
    void zoomOutClicked();
    void saveToPngClicked();
    void saveToClipboardClicked();
    void setSplitCursor(bool split);

protected:
    void showEvent(QShowEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void zoomBy(qreal factor);

    mygc::GanttChart *m_chart;
    std::unique_ptr<ViewPrintSheet> m_sheet;
    PdSnipGraphicsScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
    qreal m_overviewScale = 1.0;
    FileChooser m_chooser;
};
