#include "printing/Quickrep.h"

#include "platform/Forms.h"
#include "platform/Printers.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>
#include <ctime>

// ---- Page images ------------------------------------------------------------------------

QFont ReportFont(QFont font) {
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

TQRDrawItem TQRDrawItem::FillItem(const QRectF &rect, const QColor &colour) {
    TQRDrawItem item;
    item.Kind = dkFill;
    item.Rect = rect;
    item.Color = colour;
    return item;
}

TQRDrawItem TQRDrawItem::RectangleItem(const QRectF &rect, const QColor &pen, const QColor &brush,
                                       double penWidth) {
    TQRDrawItem item;
    item.Kind = dkRectangle;
    item.Rect = rect;
    item.Color = pen;
    item.BrushColor = brush;
    item.PenWidth = penWidth;
    return item;
}

TQRDrawItem TQRDrawItem::LineItem(QPointF from, QPointF to, const QColor &colour, double penWidth) {
    TQRDrawItem item;
    item.Kind = dkLine;
    item.From = from;
    item.To = to;
    item.Color = colour;
    item.PenWidth = penWidth;
    return item;
}

void PaintPage(QPainter &painter, const TQRPage &page) {
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const TQRDrawItem &item : page) {
        switch (item.Kind) {
        case TQRDrawItem::dkFill:
            painter.fillRect(item.Rect, item.Color);
            break;
        case TQRDrawItem::dkRectangle:
            painter.setPen(
                QPen(item.Color, item.PenWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(item.BrushColor.isValid() ? QBrush(item.BrushColor) : QBrush());
            painter.drawRect(item.Rect);
            break;
        case TQRDrawItem::dkLine:
            painter.setPen(QPen(item.Color, item.PenWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(item.From, item.To);
            break;
        case TQRDrawItem::dkText:
            painter.save();
            if (item.Clipped)
                painter.setClipRect(item.Rect, Qt::IntersectClip);
            painter.setFont(item.Font);
            painter.setPen(item.Color);
            painter.drawText(item.Origin, item.Text);
            painter.restore();
            break;
        }
    }
    painter.restore();
}

// ---- The printer object -----------------------------------------------------------------

TQRPageMetrics FallbackPageMetrics(bool printerInstalled) {
    TQRPageMetrics m;
    m.PrintableWidth = 748; // 7.7867 x 11.2533 inches
    m.PrintableHeight = 1080;
    m.PaperWidth = int(std::lround(m.PrintableWidth * 1.05));
    m.PaperHeight = int(std::lround(m.PrintableHeight * 1.05));
    m.OffsetX = m.OffsetY = printerInstalled ? 20 : 5;
    return m;
}

TQRPrinter &QRPrinter() {
    static TQRPrinter printer;
    return printer;
}

namespace {

// Report units are 1/96 inch whatever the screen.
constexpr double UnitsPerInch = 96;

int Units(double devicePixels, double resolution) {
    return int(std::lround(devicePixels / resolution * UnitsPerInch));
}

// A printer of the system, or a file chosen in the printer setup.
bool PrinterInstalled(const QPrinter &printer) {
    if (!printer.outputFileName().isEmpty())
        return true;
    return printer.outputFormat() == QPrinter::NativeFormat &&
           !QPrinterInfo::availablePrinters().isEmpty();
}

// Why a job could not be started on the printer.
QString StartFailure(const QPrinter &printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        QFile file(printer.outputFileName());
        const QString reason =
            printer.outputFileName().isEmpty()
                ? QCoreApplication::translate("TQRPrinter", "no file was chosen")
                : (file.open(QIODevice::Append)
                       ? QCoreApplication::translate("TQRPrinter", "unknown reason")
                       : file.errorString());
        return QCoreApplication::translate("TQRPrinter", "the file \"%1\" cannot be written (%2).")
            .arg(printer.outputFileName(), reason);
    }
    return QCoreApplication::translate("TQRPrinter", "the printer \"%1\" did not accept the job.")
        .arg(printer.printerName());
}

} // namespace

void TQRPrinter::ReadMetrics() {
    QPrinter &printer = *Printer();
    if (!PrinterInstalled(printer)) {
        FMetrics = FallbackPageMetrics(false);
        FAvailable = false;
        return;
    }
    const double resolution = printer.resolution();
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    if (!printer.isValid() || resolution <= 0 || page.isEmpty() || paper.isEmpty()) {
        FMetrics = FallbackPageMetrics(true);
        FAvailable = false;
        return;
    }
    FMetrics.PrintableWidth = Units(page.width(), resolution);
    FMetrics.PrintableHeight = Units(page.height(), resolution);
    FMetrics.PaperWidth = Units(paper.width(), resolution);
    FMetrics.PaperHeight = Units(paper.height(), resolution);
    FMetrics.OffsetX = Units(page.left() - paper.left(), resolution);
    FMetrics.OffsetY = Units(page.top() - paper.top(), resolution);
    FAvailable = true;
}

namespace {

// The pages laid out on demand that are kept: the one shown, and a few the user pages back to.
constexpr qsizetype KeptPages = 8;

} // namespace

const TQRPage &TQRPrinter::Page(int n) const {
    static const TQRPage none;
    if (!FSource)
        return n >= 1 && n <= FPages.size() ? FPages[n - 1] : none;
    if (n < 1 || n > FStarts.size())
        return none;
    FRecent.removeOne(n);
    FRecent.append(n);
    auto found = FLaidOut.find(n);
    if (found == FLaidOut.end()) {
        if (FRecent.size() > KeptPages)
            FLaidOut.erase(FRecent.takeFirst());
        found = FLaidOut.emplace(n, FSource->LayOutPage(n)).first;
    }
    return found->second;
}

void TQRPrinter::Release() {
    FPages.clear();
    FSource = nullptr;
    FStarts.clear();
    FLaidOut.clear();
    FRecent.clear();
    FPageCount = 1;
    FStatus = qrIdle;
    FCancelled = false;
}

void TQRPrinter::Print() {
    // A printer installed since the pages were prepared prints them.
    if (!FAvailable && !(FindPrinter() && Printer()->isValid()))
        throw EPrinter(QCoreApplication::translate("TQRPrinter",
                                                   "no printer is installed. Choose Print Setup to "
                                                   "print to a PDF file instead.")
                           .toStdString());
    FCancelled = false;
    QPrinter &printer = *Printer();
    TQRProgressForm progress(FProgressCaption);
    FProgress = &progress;
    struct TFinish {
        TQRPrinter &P;
        ~TFinish() {
            P.FProgress = nullptr;
            P.FCancelled = false;
        }
    } finish{*this};
    if (FShowProgress)
        progress.show();
    progress.SetRange(FPageCount);
    progress.SetText(QCoreApplication::translate("TQRPrinter", "Printing report %1").arg(FTitle));

    printer.setDocName(FTitle);
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinter(StartFailure(printer).toStdString());
    // The page images fill the printer's printable area.
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    const double sx = area.width() / std::max(1, FMetrics.PrintableWidth);
    const double sy = area.height() / std::max(1, FMetrics.PrintableHeight);
    for (int n = 1; n <= FPageCount && !FCancelled; ++n) {
        progress.SetPosition(n);
        painter.save();
        painter.scale(sx, sy);
        PaintPage(painter, Page(n));
        painter.restore();
        QCoreApplication::processEvents(); // Cancel can be pressed between pages
        if (n < FPageCount && !FCancelled && !printer.newPage()) {
            painter.end();
            throw EPrinter(
                QCoreApplication::translate("TQRPrinter", "the printer did not accept a new page.")
                    .toStdString());
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw EPrinter(StartFailure(printer).toStdString());
    CheckJobTaken(printer);
}

// ---- The progress window ----------------------------------------------------------------

TQRProgressForm::TQRProgressForm(const QString &caption)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(400, 140);
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    setCursor(Qt::WaitCursor);
    Info = new QLabel(this);
    Info->setGeometry(20, 10, 360, 20);
    Gauge = new QProgressBar(this);
    Gauge->setGeometry(20, 40, 360, 20);
    Gauge->setTextVisible(false);
    Gauge->setRange(0, 1);
    Gauge->setValue(0);
    CancelButton = new QPushButton(tr("Cancel"), this);
    // Centred where the design has it, wider where its caption needs more room.
    const int cancelWidth = std::max(60, CancelButton->sizeHint().width());
    CancelButton->setGeometry(200 - cancelWidth / 2, 75, cancelWidth, 26);
    CancelButton->setDefault(true);
    CancelButton->setCursor(Qt::ArrowCursor);
    connect(CancelButton, &QPushButton::clicked, this,
            [this] { Guard(this, [] { QRPrinter().Cancel(); }); });
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TQRProgressForm::SetText(const QString &text) {
    Info->setText(text);
    QCoreApplication::processEvents();
}

void TQRProgressForm::SetRange(int maximum) {
    Gauge->setRange(0, std::max(1, maximum));
    Gauge->setValue(0);
    FShown = 0;
}

void TQRProgressForm::SetPosition(int position) {
    const int step = std::max(1, Gauge->maximum() / 20);
    if (position - FShown >= step || position == Gauge->maximum()) {
        FShown = position;
        Gauge->setValue(position);
    }
}

// Escape is the Cancel button.
void TQRProgressForm::reject() {
    QRPrinter().Cancel();
}

// The window has no close box; it goes when the work ends.
void TQRProgressForm::closeEvent(QCloseEvent *event) {
    event->ignore();
}

// ---- Controls ---------------------------------------------------------------------------

TQRPrintable::TQRPrintable(TQRBand *band) : QObject(band) {}

void TQRPrintable::SetBounds(double left, double top, double width, double height) {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
}

TQRLabel::TQRLabel(TQRBand *band) : TQRPrintable(band), FFont(DesignFont("Arial", 8)) {}

void TQRLabel::SetFont(const QFont &font) {
    FFont = font;
    FParentFont = false;
}

void TQRLabel::SetFontColor(const QColor &colour) {
    FFontColor = colour;
    FParentFont = false;
}

QString TQRLabel::PrintedText(const TQRPrintContext &) const {
    return FCaption;
}

void TQRLabel::Print(TQRPrintContext &context, QPointF at) const {
    QString text = PrintedText(context);
    if (text.isEmpty())
        return;
    // Right-aligned text ends one blank before the edge.
    if (FAlignment == taRightJustify)
        text += QLatin1Char(' ');
    const QFont font = ReportFont(FParentFont ? context.Report.Font() : FFont);
    const QColor colour = FParentFont ? context.Report.FontColor() : FFontColor;
    const QFontMetricsF metrics(font);
    const double textWidth = metrics.horizontalAdvance(text);
    QRectF box(at.x() + FLeft, at.y() + FTop, FWidth, FHeight);
    if (FAutoSize) {
        box.setHeight(metrics.height());
        box.setWidth(textWidth);
        if (FAlignment == taRightJustify)
            box.moveRight(at.x() + FLeft + FWidth);
    }
    if (!FTransparent)
        context.Page.append(TQRDrawItem::FillItem(box, FColor));
    double x = box.left();
    if (FAlignment == taRightJustify)
        x = box.left() + box.width() - textWidth;
    else if (FAlignment == taCenter)
        x = box.left() + (box.width() - textWidth) / 2;
    TQRDrawItem item;
    item.Kind = TQRDrawItem::dkText;
    item.Rect = box;
    item.Color = colour;
    item.Text = text;
    item.Font = font;
    item.Origin = QPointF(x, box.top() + metrics.ascent());
    item.Clipped = !FAutoSize && FClipText;
    context.Page.append(item);
}

TQRSysData::TQRSysData(TQRBand *band) : TQRLabel(band) {}

QString TQRSysData::PrintedText(const TQRPrintContext &context) const {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    const TFormatSettings &fs = FormatSettings();
    auto text = [](const std::string &s) {
        return QString::fromStdString(s);
    };
    QString value;
    switch (FData) {
    case qrsTime:
        value = text(FormatDateTime(fs.LongTimeFormat, t));
        break;
    case qrsDate:
        value = text(FormatDateTime(fs.ShortDateFormat, t));
        break;
    case qrsDateTime:
        value = text(FormatDateTime(fs.ShortDateFormat, t) + " " +
                     FormatDateTime(fs.LongTimeFormat, t));
        break;
    case qrsPageNumber:
        value = QString::number(context.PageNumber);
        break;
    case qrsReportTitle:
        value = context.Report.ReportTitle();
        break;
    case qrsDetailCount:
    case qrsDetailNo:
        value = QString::number(context.DetailNumber);
        break;
    case qrsPageOfPages:
        value = tr("%1 of %2").arg(context.PageNumber).arg(context.PageCount);
        break;
    }
    return Text() + value;
}

TQRShape::TQRShape(TQRBand *band) : TQRPrintable(band) {}

void TQRShape::Print(TQRPrintContext &context, QPointF at) const {
    const QRectF box(at.x() + FLeft, at.y() + FTop, FWidth, FHeight);
    auto line = [&](QPointF from, QPointF to) {
        context.Page.append(TQRDrawItem::LineItem(from, to, FPenColor, FPenWidth));
    };
    switch (FShape) {
    case qrsRectangle:
        context.Page.append(TQRDrawItem::RectangleItem(box, FPenColor, FBrushColor, FPenWidth));
        break;
    case qrsHorLine:
        line(box.topLeft(), box.topRight());
        break;
    case qrsVertLine:
        line(box.topLeft(), box.bottomLeft());
        break;
    case qrsTopAndBottom:
        line(box.topLeft(), box.topRight());
        line(box.bottomLeft(), box.bottomRight());
        break;
    case qrsRightAndLeft:
        line(box.topLeft(), box.bottomLeft());
        line(box.topRight(), box.bottomRight());
        break;
    }
}

// ---- Bands and reports ------------------------------------------------------------------

TQRBand::TQRBand(TQuickReport *report, TQRBandType type, double height)
    : QObject(report), FBandType(type), FHeight(height) {}

QList<TQRPrintable *> TQRBand::Controls() const {
    return findChildren<TQRPrintable *>(Qt::FindDirectChildrenOnly);
}

TQuickReport::TQuickReport(QObject *parent) : QObject(parent), FFont(DesignFont("Arial", 8)) {}

QList<TQRBand *> TQuickReport::Bands() const {
    return findChildren<TQRBand *>(Qt::FindDirectChildrenOnly);
}

// One run of the layout: the current page, the current y and the footer's place. It either
// keeps every page it lays out, or only counts the pages and notes where each begins, or lays
// out one page from where it begins.
class TQuickReport::TLayout {
public:
    enum TMode { lmKeep, lmCount, lmPage };
    // The parts of a report, in the order they print.
    enum TPart { ptOpening, ptRecords, ptSummary };
    using TPageStart = TQRPrinter::TPageStart;

    TLayout(TQuickReport &report, TQRPrinter &printer, TMode mode)
        : R(report), P(printer), FMode(mode), FMargin(report.LeftMarginInches() * UnitsPerInch) {
        for (TQRBand *band : R.Bands())
            if (band->BandType() == rbPageFooter)
                FFooterHeight += band->Height();
        FFooterTop = P.FMetrics.PrintableHeight - FFooterHeight;
        // The title before or after the page header on the first page.
        const bool titleFirst = R.TitleBeforeHeader();
        for (TQRBandType type :
             {titleFirst ? rbTitle : rbPageHeader, titleFirst ? rbPageHeader : rbTitle})
            for (TQRBand *band : R.Bands())
                if (band->BandType() == type)
                    FOpening.append(band);
        for (TQRBand *band : R.Bands())
            if (band->BandType() == rbDetail)
                FDetail.append(band);
            else if (band->BandType() == rbSummary)
                FSummary.append(band);
    }

    // The whole report (lmKeep, lmCount). False when it was cancelled.
    bool Run() {
        StartPage({});
        return RunFrom({}) && !P.FCancelled;
    }

    // Page n, from where the counting run found it begins (lmPage).
    TQRPage RunPage(int n, const TPageStart &start) {
        FPageNumber = n - 1;
        StartPage(start);
        if (n > 1)
            PrintBands(rbPageHeader);
        RunFrom(start);
        return std::move(FPage);
    }

    QList<TPageStart> Starts() const { return FStarts; }

    // The controls that show the number of pages, now that it is known, each inserted where it
    // would have printed (the last first, so that the earlier places stay valid).
    void PrintDeferred() {
        for (auto d = FDeferred.crbegin(); d != FDeferred.crend(); ++d) {
            TQRPage drawn;
            TQRPrintContext context{drawn, R, d->PageNumber, d->DetailNumber, P.FPageCount};
            d->Control->Print(context, d->At);
            TQRPage &page = P.FPages[d->PageNumber - 1];
            for (qsizetype i = 0; i < drawn.size(); ++i)
                page.insert(d->Index + i, drawn[i]);
        }
        FDeferred.clear();
    }

private:
    // From a page's beginning on, to the end of the report, or of the page for lmPage. False
    // when it was cancelled.
    bool RunFrom(const TPageStart &start) {
        if (start.Part == ptOpening)
            for (qsizetype i = start.Band; i < FOpening.size() && !FDone; ++i)
                PrintBand(*FOpening[i], {ptOpening, 0, int(i), FDetails});
        int record = start.Part == ptRecords ? start.Record : 0;
        if (start.Part != ptSummary && !FDone) {
            if (FMode == lmPage && R.OnSeekData)
                R.OnSeekData(&R, record);
            bool more = record == 0;
            if (R.OnNeedData)
                R.OnNeedData(&R, more);
            for (qsizetype first = start.Part == ptRecords ? start.Band : 0; more && !FDone;
                 first = 0) {
                if (FMode != lmPage && P.FCancelled)
                    return false;
                for (qsizetype i = first; i < FDetail.size() && !FDone; ++i)
                    PrintBand(*FDetail[i], {ptRecords, record, int(i), FDetails});
                if (FDone)
                    break;
                ++record;
                more = false;
                if (R.OnNeedData)
                    R.OnNeedData(&R, more);
            }
        }
        for (qsizetype i = start.Part == ptSummary ? start.Band : 0; i < FSummary.size() && !FDone;
             ++i)
            PrintBand(*FSummary[i], {ptSummary, record, int(i), FDetails});
        if (!FDone)
            EndPage();
        return true;
    }

    void StartPage(const TPageStart &start) {
        ++FPageNumber;
        if (FMode == lmKeep)
            P.FPages.append(TQRPage());
        if (FMode != lmPage)
            P.FPageCount = FPageNumber;
        if (FMode == lmCount)
            FStarts.append(start);
        FY = 0;
        FDetails = start.Details;
        FDetailOnPage = false;
    }

    void PrintBands(TQRBandType type) {
        for (TQRBand *band : R.Bands())
            if (band->BandType() == type)
                PrintBand(*band, {});
    }

    // The page footer at the bottom; then, but for a single page, a new page with its header.
    void NewPage(const TPageStart &start) {
        EndPage();
        if (FMode == lmPage) {
            FDone = true;
            return;
        }
        StartPage(start);
        PrintBands(rbPageHeader);
    }

    void EndPage() {
        FY = FFooterTop;
        PrintBands(rbPageFooter);
    }

    TQRPage &Page() { return FMode == lmKeep ? P.FPages.last() : FPage; }

    // `at` is where the band stands in the report, where a page it opens begins.
    void PrintBand(const TQRBand &band, const TPageStart &at) {
        const TQRBandType type = band.BandType();
        if (type != rbPageHeader && type != rbPageFooter && type != rbOverlay) {
            if (FY + band.Height() >= FFooterTop || (band.ForceNewPage() && FDetailOnPage))
                NewPage(at);
            if (FDone)
                return;
        }
        bool print = true;
        if (band.BeforePrint)
            band.BeforePrint(const_cast<TQRBand *>(&band), print);
        if (!print)
            return;
        if (type == rbDetail) {
            ++FDetails;
            FDetailOnPage = true;
        }
        if (FMode != lmCount)
            Draw(band);
        FY += band.Height();
    }

    void Draw(const TQRBand &band) {
        TQRPage &page = Page();
        const QRectF area(FMargin, FY, P.FMetrics.PrintableWidth - FMargin, band.Height());
        page.append(TQRDrawItem::FillItem(area, band.Color()));
        // The number of pages is known when a page is laid out on its own.
        const int pageCount = FMode == lmPage ? P.FPageCount : 0;
        TQRPrintContext context{page, R, FPageNumber, FDetails, pageCount};
        for (const TQRPrintable *control : band.Controls()) {
            if (!control->Visible())
                continue;
            if (control->NeedsPageCount() && pageCount == 0)
                FDeferred.append({FPageNumber, page.size(), FDetails, control, area.topLeft()});
            else
                control->Print(context, area.topLeft());
        }
        const TQRFrame frame = band.Frame();
        if (frame.Width > 0) {
            auto side = [&](bool drawn, QPointF from, QPointF to) {
                if (drawn)
                    page.append(TQRDrawItem::LineItem(from, to, frame.Color, frame.Width));
            };
            side(frame.DrawTop, area.topLeft(), area.topRight());
            side(frame.DrawBottom, area.bottomLeft(), area.bottomRight());
            side(frame.DrawLeft, area.topLeft(), area.bottomLeft());
            side(frame.DrawRight, area.topRight(), area.bottomRight());
        }
    }

    struct TDeferred {
        int PageNumber;
        qsizetype Index;
        int DetailNumber;
        const TQRPrintable *Control;
        QPointF At;
    };

    TQuickReport &R;
    TQRPrinter &P;
    const TMode FMode;
    double FMargin;
    double FFooterHeight = 0;
    double FFooterTop = 0;
    QList<TQRBand *> FOpening, FDetail, FSummary;
    int FPageNumber = 0;
    double FY = 0;
    bool FDetailOnPage = false;
    int FDetails = 0;
    bool FDone = false; // lmPage: the page has ended
    TQRPage FPage;      // lmPage: the page laid out
    QList<TPageStart> FStarts;
    QList<TDeferred> FDeferred;
};

bool TQuickReport::Prepare() {
    TQRPrinter &p = QRPrinter();
    p.Release();
    FindPrinter();
    QPrinter &printer = *Printer();
    printer.setPageOrientation(FOrientation == poPortrait ? QPageLayout::Portrait
                                                          : QPageLayout::Landscape);
    if (FPaperSize.isValid())
        printer.setPageSize(FPaperSize);
    p.ReadMetrics();
    p.FTitle = FReportTitle;
    p.FPageCount = 1;
    p.FCancelled = false;
    p.FShowProgress = FShowProgress;
    p.FStatus = qrPreparing;

    // The printer object goes back to idle on every way out but a finished preparation.
    struct TUnwind {
        TQRPrinter &P;
        bool Done = false;
        ~TUnwind() {
            P.FProgress = nullptr;
            if (!Done)
                P.Release();
        }
    } unwind{p};
    TQRProgressForm progress(p.FProgressCaption);
    p.FProgress = &progress;
    if (FShowProgress) {
        progress.show();
        progress.SetText(tr("Preparing report %1").arg(FReportTitle));
    }

    bool printReport = true;
    if (BeforePrint)
        BeforePrint(this, printReport);
    if (!printReport)
        return false;

    TLayout layout(*this, p, OnSeekData ? TLayout::lmCount : TLayout::lmKeep);
    if (!layout.Run())
        return false;
    if (OnSeekData) {
        p.FSource = this;
        p.FStarts = layout.Starts();
    } else {
        layout.PrintDeferred();
    }
    p.FStatus = qrPagesReady;
    unwind.Done = true;
    return true;
}

TQRPage TQuickReport::LayOutPage(int n) {
    TQRPrinter &p = QRPrinter();
    return TLayout(*this, p, TLayout::lmPage).RunPage(n, p.FStarts.at(n - 1));
}

void TQuickReport::Preview() {
    TQRPrinter &p = QRPrinter();
    if (p.Status() != qrIdle)
        return;
    struct TRelease {
        TQRPrinter &P;
        ~TRelease() { P.Release(); }
    } release{p};
    if (!Prepare())
        return;
    if (p.OnPreview) {
        p.OnPreview(p.PreviewContext);
        return;
    }
    // The engine's own preview: the pages in a plain window.
    QDialog window(qobject_cast<QWidget *>(parent()));
    window.setWindowTitle(p.PreviewCaption());
    auto *preview = new TQRPreview(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(preview);
    window.resize(860, 640);
    window.exec();
}

// ---- The preview control ----------------------------------------------------------------

int RoundHalfEven(double x) {
    return int(std::nearbyint(x)); // the default rounding mode sends halves to even
}

// The sheet: white, framed, with a shadow, and the stored page drawn on it.
class TQRPageImage : public QWidget {
public:
    explicit TQRPageImage(TQRPreview *preview) : QWidget(preview), FPreview(preview) {}

protected:
    void paintEvent(QPaintEvent *) override {
        const TQRPrinter &p = QRPrinter();
        const TQRPageMetrics &m = p.Metrics();
        const double zoom = FPreview->Zoom() / 100.0;
        const int pw = RoundHalfEven(m.PaperWidth * zoom);
        const int ph = RoundHalfEven(m.PaperHeight * zoom);
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        painter.fillRect(QRect(2, 2, pw + 2, ph + 2), Qt::black); // the shadow
        painter.fillRect(QRect(0, 0, pw + 2, ph + 2), Qt::black); // the frame
        painter.fillRect(QRect(1, 1, pw, ph), Qt::white);
        if (p.Status() != qrPagesReady)
            return;
        // The printable area from the offset to the offset plus the printable width.
        painter.translate(RoundHalfEven(m.OffsetX * zoom) + 1, RoundHalfEven(m.OffsetY * zoom) + 1);
        painter.scale(zoom, zoom);
        painter.setClipRect(QRectF(0, 0, m.PrintableWidth, m.PrintableHeight));
        // A page laid out now runs the report's handlers, which may fail.
        const TQRPage *page = nullptr;
        Guard(FPreview, [&] { page = &p.Page(FPreview->PageNumber()); });
        if (page)
            PaintPage(painter, *page);
    }

private:
    TQRPreview *FPreview;
};

TQRPreview::TQRPreview(QWidget *parent) : QScrollArea(parent), FImage(new TQRPageImage(this)) {
    setWidget(FImage);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::NoFocus); // the keys belong to the window around it
    setBackgroundRole(QPalette::Dark);
    Layout();
}

QWidget *TQRPreview::PageImage() const {
    return FImage;
}

void TQRPreview::SetPageNumber(int n) {
    if (n == FPageNumber || n <= 0 || n > QRPrinter().PageCount())
        return;
    FPageNumber = n;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    FImage->update();
}

void TQRPreview::SetZoom(int zoom) {
    FZoom = zoom;
    FZoomMode = qrZoomFixed;
    Layout();
}

void TQRPreview::ZoomToFit() {
    const TQRPrinter &p = QRPrinter();
    if (p.PrinterAvailable()) {
        const TQRPageMetrics &m = p.Metrics();
        FZoom = std::min(RoundHalfEven(double(width()) / m.PaperWidth * 95),
                         RoundHalfEven(double(height()) / m.PaperHeight * 95));
    } else {
        FZoom = 100;
    }
    FZoomMode = qrZoomToFit;
    Layout();
}

void TQRPreview::ZoomToWidth() {
    const TQRPrinter &p = QRPrinter();
    FZoom =
        p.PrinterAvailable() ? RoundHalfEven(double(width()) / p.Metrics().PaperWidth * 98) : 100;
    FZoomMode = qrZoomToWidth;
    Layout();
}

void TQRPreview::Layout() {
    const TQRPageMetrics &m = QRPrinter().Metrics();
    FImage->resize(RoundHalfEven(m.PaperWidth * FZoom / 100.0) + 4,
                   RoundHalfEven(m.PaperHeight * FZoom / 100.0) + 4);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    FImage->update();
}

void TQRPreview::resizeEvent(QResizeEvent *event) {
    QScrollArea::resizeEvent(event);
    if (FZoomMode == qrZoomToFit)
        ZoomToFit();
    else if (FZoomMode == qrZoomToWidth)
        ZoomToWidth();
    else
        Layout();
}
