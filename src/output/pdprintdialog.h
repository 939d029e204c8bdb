#pragma once

#include "pdpagepainter.h"

#include <QDialog>

#include <functional>

class PdPageSelectorButton;
class PdPrintPreviewScene;
class PrintSheet;
class QCheckBox;
class QComboBox;
class QGraphicsView;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

// Print settings beside a preview of the pages; prints page by page to a
// printer or to a PDF file.
class PdPrintDialog : public QDialog
{
    Q_OBJECT
public:
    // Asks for the PDF file's name; empty for none. Tests replace it.
    using FileChooser = std::function<QString(QWidget *parent)>;

    PdPrintDialog(PrintSheet &sheet, QWidget *parent = nullptr);
    ~PdPrintDialog() override;

    PdPrintPreviewScene *scene() const { return m_scene; }
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // Above this many pages a print asks first, showing the count.
    static constexpr int confirmAbove = 100;

public slots:
    void updatePage();
    void setScale();
    void setScale(int percent);
    void setSpinboxScale(int percent);
    void resetScale();
    void print();
    void savePdf();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updatePageRange(int count);
    bool confirmPageCount(int pages);
    PdPagePainter::Result runWithProgress(const QString &title,
                                          const std::function<PdPagePainter::Result(const PdPagePainter::Progress &)> &job,
                                          int pages);
    QString defaultPdfName() const;
    int defaultScale() const;
    void showScale(int percent);

    const PrintSheet &m_sheet;
    PdPrintPreviewScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
    QComboBox *m_printers = nullptr;
    QComboBox *m_pageSizes = nullptr;
    PdPageSelectorButton *m_vertical = nullptr;
    PdPageSelectorButton *m_horizontal = nullptr;
    QSlider *m_slider = nullptr;
    QSpinBox *m_spin = nullptr;
    QComboBox *m_timeScale = nullptr;
    QCheckBox *m_repeat = nullptr;
    QCheckBox *m_numbers = nullptr;
    QSpinBox *m_fromPage = nullptr;
    QSpinBox *m_toPage = nullptr;
    QLabel *m_pageCount = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_printButton = nullptr;
    FileChooser m_chooser;
    bool m_fitted = false;
};
