// The banded report engine: a report definition of bands and printable controls is laid out
// page by page into page images (display lists in report units of 1/96 inch), previewed in a
// scrollable control at any zoom and printed on the program's printer.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QList>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QScrollArea>
#include <QString>
#include <functional>
#include <map>

class QLabel;
class QPainter;
class QProgressBar;
class QPushButton;
class TQuickReport;

// ---- Page images ------------------------------------------------------------------------

// One drawing step of a page. Places are in report units from the top-left corner of the
// printable area.
struct TQRDrawItem {
    enum TKind { dkFill, dkRectangle, dkLine, dkText };
    TKind Kind = dkFill;
    QRectF Rect;          // Fill and Rectangle: the area; Text: the label's box
    QPointF From, To;     // Line: its ends
    QColor Color;         // the fill, the pen or the text colour
    QColor BrushColor;    // Rectangle: its inside; invalid for a clear brush
    double PenWidth = 1;  // Rectangle and Line
    QString Text;         // Text: as printed
    QFont Font;           // Text: pixel size in report units, laid out without hinting
    QPointF Origin;       // Text: left end of its baseline
    bool Clipped = false; // Text: cut at the edges of Rect

    static TQRDrawItem FillItem(const QRectF &rect, const QColor &colour);
    static TQRDrawItem RectangleItem(const QRectF &rect, const QColor &pen, const QColor &brush,
                                     double penWidth);
    static TQRDrawItem LineItem(QPointF from, QPointF to, const QColor &colour, double penWidth);
};
using TQRPage = QList<TQRDrawItem>;

// Paints a page; the painter is set up so that one unit is one report unit and the origin
// is the printable area's top-left corner.
void PaintPage(QPainter &painter, const TQRPage &page);

// The font a report lays out and paints text with: the same advances at every size, so that
// the preview at any zoom and the print agree.
QFont ReportFont(QFont font);

// ---- The printer object -----------------------------------------------------------------

// The page in report units: the printable area, the whole paper and the unprintable margin
// left and above the printable area.
struct TQRPageMetrics {
    int PrintableWidth = 0, PrintableHeight = 0;
    int PaperWidth = 0, PaperHeight = 0;
    int OffsetX = 0, OffsetY = 0;
    bool operator==(const TQRPageMetrics &) const = default;
};

// The metrics assumed when no printer is installed (offset 5) or the printer cannot be
// queried (offset 20): a printable area of 748 x 1080 on a paper 1.05 times as large.
TQRPageMetrics FallbackPageMetrics(bool printerInstalled);

enum TQRPrinterStatus { qrIdle, qrPreparing, qrPagesReady };

class TQRProgressForm;

// One per program, shared by every report: the page metrics, the prepared pages, the captions
// and the preview hook.
class TQRPrinter {
public:
    // The metrics of the last preparation; the printer-available flag tells whether they came
    // from a printer (or a PDF file chosen as the printer) or are the fallbacks.
    const TQRPageMetrics &Metrics() const { return FMetrics; }
    bool PrinterAvailable() const { return FAvailable; }
    // Reads the metrics and the flag from the program's printer.
    void ReadMetrics();

    int PageCount() const { return FPageCount; }
    // Page n, counted from 1; an empty page outside 1..PageCount. A report whose data can be
    // read again from any record on has its pages laid out when asked for, and the last few
    // kept: the page stays valid until that many others have been asked for.
    const TQRPage &Page(int n) const;
    TQRPrinterStatus Status() const { return FStatus; }
    bool Cancelled() const { return FCancelled; }
    // The progress window's Cancel: the work under way stops at its next step.
    void Cancel() { FCancelled = true; }

    QString PreviewCaption() const { return FPreviewCaption; }
    void SetPreviewCaption(const QString &caption) { FPreviewCaption = caption; }
    QString ProgressCaption() const { return FProgressCaption; }
    void SetProgressCaption(const QString &caption) { FProgressCaption = caption; }
    // The print job's name: the report title of the last preparation.
    QString Title() const { return FTitle; }

    // Called with PreviewContext in place of the engine's own preview window.
    std::function<void(QObject *Sender)> OnPreview;
    QObject *PreviewContext = nullptr;

    // Prints every stored page on the program's printer, with a progress window and Cancel.
    // Raises EPrinter when no printer is installed or the job cannot be started or written.
    void Print();

    // The progress window while one is open (preparing or printing), else null.
    TQRProgressForm *ProgressForm() const { return FProgress; }

    // Where a page begins in the report: the part (the opening bands, the records, the
    // summary), the record, the band of that part that opens the page and the detail bands
    // printed before it.
    struct TPageStart {
        int Part = 0, Record = 0, Band = 0, Details = 0;
    };

private:
    friend class TQuickReport;
    void Release();

    TQRPageMetrics FMetrics = FallbackPageMetrics(false);
    bool FAvailable = false;
    int FPageCount = 1;
    QList<TQRPage> FPages; // every page, where the report's data cannot be read again
    // Else the report that lays the pages out, where each begins and the pages last laid out.
    TQuickReport *FSource = nullptr;
    QList<TPageStart> FStarts;
    mutable std::map<int, TQRPage> FLaidOut;
    mutable QList<int> FRecent; // the pages in FLaidOut, the last asked for at the end
    TQRPrinterStatus FStatus = qrIdle;
    bool FCancelled = false;
    bool FShowProgress = true;
    QString FPreviewCaption = QStringLiteral("Preview");
    QString FProgressCaption = QStringLiteral("Progress");
    QString FTitle;
    TQRProgressForm *FProgress = nullptr;
};

// The program's printer object.
TQRPrinter &QRPrinter();

// The progress window of preparing and printing: a text line, a bar and Cancel. It keeps the
// rest of the program from input while it is up.
class TQRProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TQRProgressForm(const QString &caption);

    QLabel *Info;
    QProgressBar *Gauge;
    QPushButton *CancelButton;

    // Sets the text and lets pending events run, so that Cancel can be pressed.
    void SetText(const QString &text);
    void SetRange(int maximum);
    // Moves the bar, when it has advanced by a twentieth of the range (at least one step).
    void SetPosition(int position);

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    int FShown = 0;
};

// ---- Report definitions -----------------------------------------------------------------

enum TQRBandType { rbTitle, rbPageHeader, rbDetail, rbSummary, rbPageFooter, rbOverlay };
enum TQRAlignment { taLeftJustify, taRightJustify, taCenter };
enum TQROrientation { poPortrait, poLandscape };

// The sides of a band's frame that are drawn, and its line.
struct TQRFrame {
    int Width = 0; // no line at 0
    QColor Color = Qt::black;
    bool DrawTop = false, DrawBottom = false, DrawLeft = false, DrawRight = false;
};

class TQRBand;

// What a printable control needs while it prints.
struct TQRPrintContext {
    TQRPage &Page;
    const TQuickReport &Report;
    int PageNumber;
    int DetailNumber; // detail bands printed so far
    int PageCount;    // the pages of the whole report; 0 while they are still being laid out
};

// A control placed on a band.
class TQRPrintable : public QObject {
    Q_OBJECT

public:
    explicit TQRPrintable(TQRBand *band);

    double Left() const { return FLeft; }
    double Top() const { return FTop; }
    double Width() const { return FWidth; }
    double Height() const { return FHeight; }
    void SetBounds(double left, double top, double width, double height);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible) { FVisible = visible; }

    // Adds the control's drawing to the page, its band's top-left corner at `at`.
    virtual void Print(TQRPrintContext &context, QPointF at) const = 0;
    // A control that shows the number of pages prints once the report is laid out, in its
    // place among the drawing of its page.
    virtual bool NeedsPageCount() const { return false; }

protected:
    double FLeft = 0, FTop = 0, FWidth = 65, FHeight = 17;
    bool FVisible = true;
};

class TQRLabel : public TQRPrintable {
    Q_OBJECT

public:
    explicit TQRLabel(TQRBand *band);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString &caption) { FCaption = caption; }
    TQRAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TQRAlignment alignment) { FAlignment = alignment; }
    // The box follows the text: a right-aligned box keeps its right edge, the others their
    // left edge.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize) { FAutoSize = autoSize; }
    // A fixed-size box cuts its text at its edges unless this is switched off; the text then
    // runs past the box, keeping its alignment.
    bool ClipText() const { return FClipText; }
    void SetClipText(bool clip) { FClipText = clip; }
    // With ParentFont the report's font is used.
    QFont Font() const { return FFont; }
    void SetFont(const QFont &font);
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor &colour);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool parentFont) { FParentFont = parentFont; }
    QColor Color() const { return FColor; }
    void SetColor(const QColor &colour) { FColor = colour; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent) { FTransparent = transparent; }

    // The text as it prints, given the page it is on.
    virtual QString PrintedText(const TQRPrintContext &context) const;
    void Print(TQRPrintContext &context, QPointF at) const override;

private:
    QString FCaption;
    TQRAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FClipText = true;
    QFont FFont;
    QColor FFontColor = Qt::black;
    bool FParentFont = true;
    QColor FColor = Qt::white;
    bool FTransparent = false;
};

enum TQRSysDataType {
    qrsTime,
    qrsDate,
    qrsDateTime,
    qrsPageNumber,
    qrsReportTitle,
    qrsDetailCount,
    qrsDetailNo,
    qrsPageOfPages // "3 of 7": the page number and the report's number of pages
};

// A label whose text is Text followed by a value of the system or the report, taken when the
// field prints. Dates and times are written in the regional short date and long time forms.
class TQRSysData : public TQRLabel {
    Q_OBJECT

public:
    explicit TQRSysData(TQRBand *band);

    TQRSysDataType Data() const { return FData; }
    void SetData(TQRSysDataType data) { FData = data; }
    QString Text() const { return Caption(); }
    void SetText(const QString &text) { SetCaption(text); }

    QString PrintedText(const TQRPrintContext &context) const override;
    bool NeedsPageCount() const override { return FData == qrsPageOfPages; }

private:
    TQRSysDataType FData = qrsTime;
};

enum TQRShapeType { qrsRectangle, qrsHorLine, qrsVertLine, qrsTopAndBottom, qrsRightAndLeft };

class TQRShape : public TQRPrintable {
    Q_OBJECT

public:
    explicit TQRShape(TQRBand *band);

    TQRShapeType Shape() const { return FShape; }
    void SetShape(TQRShapeType shape) { FShape = shape; }
    QColor PenColor() const { return FPenColor; }
    void SetPenColor(const QColor &colour) { FPenColor = colour; }
    double PenWidth() const { return FPenWidth; }
    void SetPenWidth(double width) { FPenWidth = width; }
    // Invalid for a clear brush.
    QColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(const QColor &colour) { FBrushColor = colour; }

    void Print(TQRPrintContext &context, QPointF at) const override;

private:
    TQRShapeType FShape = qrsRectangle;
    QColor FPenColor = Qt::black;
    double FPenWidth = 1;
    QColor FBrushColor = Qt::white;
};

// A horizontal strip of the report; its controls are its children, printed in the order
// they were made.
class TQRBand : public QObject {
    Q_OBJECT

public:
    TQRBand(TQuickReport *report, TQRBandType type, double height);

    TQRBandType BandType() const { return FBandType; }
    double Height() const { return FHeight; }
    void SetHeight(double height) { FHeight = height; }
    QColor Color() const { return FColor; }
    void SetColor(const QColor &colour) { FColor = colour; }
    TQRFrame Frame() const { return FFrame; }
    void SetFrame(const TQRFrame &frame) { FFrame = frame; }
    bool ForceNewPage() const { return FForceNewPage; }
    void SetForceNewPage(bool force) { FForceNewPage = force; }

    // Raised before the band prints, PrintBand preset to true; false skips the band.
    std::function<void(QObject *Sender, bool &PrintBand)> BeforePrint;

    QList<TQRPrintable *> Controls() const;

private:
    TQRBandType FBandType;
    double FHeight;
    QColor FColor = Qt::white;
    TQRFrame FFrame;
    bool FForceNewPage = false;
};

// The report: its settings, its events, preparation and preview. Its bands are its children.
class TQuickReport : public QObject {
    Q_OBJECT

public:
    explicit TQuickReport(QObject *parent = nullptr);

    // Applied to the program's printer at every preparation.
    TQROrientation Orientation() const { return FOrientation; }
    void SetOrientation(TQROrientation orientation) { FOrientation = orientation; }
    // An invalid size keeps the printer's paper.
    QPageSize PaperSize() const { return FPaperSize; }
    void SetPaperSize(const QPageSize &size) { FPaperSize = size; }
    // Extra space left of every band beyond the printer's unprintable edge.
    double LeftMarginInches() const { return FLeftMarginInches; }
    void SetLeftMarginInches(double inches) { FLeftMarginInches = inches; }
    QString ReportTitle() const { return FReportTitle; }
    void SetReportTitle(const QString &title) { FReportTitle = title; }
    // The title band prints above the page header on the first page (else below it).
    bool TitleBeforeHeader() const { return FTitleBeforeHeader; }
    void SetTitleBeforeHeader(bool before) { FTitleBeforeHeader = before; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool show) { FShowProgress = show; }
    // The base font of labels with ParentFont, pixel size in report units.
    QFont Font() const { return FFont; }
    void SetFont(const QFont &font) { FFont = font; }
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor &colour) { FFontColor = colour; }

    // Raised once at the start of a preparation, PrintReport preset to true; false stops it.
    std::function<void(QObject *Sender, bool &PrintReport)> BeforePrint;
    // Raised before each detail band: the first time with MoreData preset to true, then
    // preset to false; the band prints while the handler leaves it true.
    std::function<void(QObject *Sender, bool &MoreData)> OnNeedData;
    // Where the data can be read again from any record on: the next OnNeedData is to give
    // record Record (0 the first). Set, the preparation only counts the pages, and each page
    // is laid out when it is shown or printed, its bands' BeforePrint raised again then.
    std::function<void(QObject *Sender, int Record)> OnSeekData;

    QList<TQRBand *> Bands() const;

    // Lays the report out into the printer object's pages. False when BeforePrint stopped
    // it or the user cancelled it; the printer object then holds no pages.
    bool Prepare();
    // Prepares the report while the printer object is idle and, unless the preparation was
    // stopped, shows it through the printer object's preview hook (or the engine's own
    // preview window). The pages are released and the printer object is idle afterwards,
    // whatever happened.
    void Preview();

private:
    friend class TQRPrinter;
    class TLayout;
    // Lays out page n of a prepared report whose data can be read again.
    TQRPage LayOutPage(int n);

    TQROrientation FOrientation = poPortrait;
    QPageSize FPaperSize;
    double FLeftMarginInches = 0;
    QString FReportTitle;
    bool FTitleBeforeHeader = true;
    bool FShowProgress = true;
    QFont FFont;
    QColor FFontColor = Qt::black;
};

// ---- The preview control ----------------------------------------------------------------

enum TQRZoomMode { qrZoomFixed, qrZoomToFit, qrZoomToWidth };

// x rounded to the nearest whole number, a half going to the even neighbour.
int RoundHalfEven(double x);

class TQRPageImage;

// A scrollable area that shows one stored page at a zoom, on a white sheet with a black frame
// and shadow.
class TQRPreview : public QScrollArea {
    Q_OBJECT

public:
    explicit TQRPreview(QWidget *parent = nullptr);

    // 1-based; a number outside 1..PageCount, or the page already shown, is ignored.
    int PageNumber() const { return FPageNumber; }
    void SetPageNumber(int n);
    // In percent; setting it switches to the fixed mode.
    int Zoom() const { return FZoom; }
    void SetZoom(int zoom);
    TQRZoomMode ZoomMode() const { return FZoomMode; }
    void ZoomToFit();
    void ZoomToWidth();

    // The sheet with its frame and shadow.
    QWidget *PageImage() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Layout();

    TQRPageImage *FImage;
    int FPageNumber = 1;
    int FZoom = 100;
    TQRZoomMode FZoomMode = qrZoomFixed;
};
