// Makes the program's printer a PDF file with a chosen paper and margin while it lives, as a
// user does in the printer setup, and puts the printer back afterwards.
#pragma once

#include "platform/Printers.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QSizeF>

class PdfPrinter {
public:
    // Paper and margin in report units (1/96 inch); the default is Letter with a quarter inch.
    explicit PdfPrinter(const QString &file, QSizeF paper = {816, 1056}, double margin = 24)
        : FFormat(Printer()->outputFormat()), FFile(Printer()->outputFileName()),
          FLayout(Printer()->pageLayout()) {
        QPrinter &p = *Printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
        p.setPageSize(QPageSize(paper / 96, QPageSize::Inch, QString(), QPageSize::ExactMatch));
        p.setPageOrientation(QPageLayout::Portrait);
        const double points = margin * 72 / 96;
        p.setPageMargins(QMarginsF(points, points, points, points), QPageLayout::Point);
    }
    ~PdfPrinter() {
        Printer()->setOutputFileName(FFile);
        Printer()->setOutputFormat(FFormat);
        Printer()->setPageLayout(FLayout);
    }
    PdfPrinter(const PdfPrinter &) = delete;
    PdfPrinter &operator=(const PdfPrinter &) = delete;

private:
    QPrinter::OutputFormat FFormat;
    QString FFile;
    QPageLayout FLayout;
};
