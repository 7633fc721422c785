// Makes the program's printer a PDF file with a chosen paper and margin while it lives, as a
// user does in the printer setup, and puts the printer back afterwards.
#pragma once

#include "platform/Printers.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QSizeF>
#include <QStandardPaths>
#include <QStringList>
#include <optional>

// The text of a PDF file's pages as pdftotext lays them out; nothing where pdftotext
// (poppler-utils) is not installed.
inline std::optional<QStringList> PdfPageTexts(const QString &file) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        return std::nullopt;
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", file, "-"});
    pdftotext.waitForFinished();
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f');
    if (pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

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
