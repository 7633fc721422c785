// The picture of a loan: its balance month by month (with the extra payments, and faint as it
// would run without them), the interest paid so far, and a bar per year splitting what was paid
// into principal and interest. One painter draws it, through a canvas, on the screen and on
// the printed page alike, fitting whatever rectangle it is given.
#pragma once

#include "engine/Amortize.h"
#include "printing/Quickrep.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

// What the picture shows, in currency units.
struct TLoanChartData {
    double Amount = 0;
    std::vector<double> Balance;       // after each month; Balance[0] is after month 1
    std::vector<double> PlainBalance;  // the same loan without its extras
    std::vector<double> InterestSoFar; // after each month
    struct TYear {
        double Principal = 0, Interest = 0; // extras count as principal
    };
    std::vector<TYear> Years;
};

// The picture's data from a schedule's months and those of the same loan without extras.
TLoanChartData LoanChartData(const TSchedule &schedule, const std::vector<TScheduleRow> &plain);

// Where the painter draws: lines, filled boxes and single-line texts.
class TChartCanvas {
public:
    virtual ~TChartCanvas() = default;
    virtual void Fill(const QRectF &box, const QColor &colour) = 0;
    virtual void Polyline(const std::vector<QPointF> &points, const QColor &colour,
                          double width) = 0;
    // The text with the left end of its baseline at `origin`.
    virtual void Text(QPointF origin, const QString &text, const QColor &colour) = 0;
    virtual const QFont &Font() const = 0;
};

// Paints on a QPainter.
class TPainterCanvas : public TChartCanvas {
public:
    TPainterCanvas(QPainter &painter, const QFont &font);
    void Fill(const QRectF &box, const QColor &colour) override;
    void Polyline(const std::vector<QPointF> &points, const QColor &colour, double width) override;
    void Text(QPointF origin, const QString &text, const QColor &colour) override;
    const QFont &Font() const override { return FFont; }

private:
    QPainter &FPainter;
    QFont FFont;
};

// Adds the drawing to a report page.
class TPageCanvas : public TChartCanvas {
public:
    TPageCanvas(TQRPage &page, const QFont &font);
    void Fill(const QRectF &box, const QColor &colour) override;
    void Polyline(const std::vector<QPointF> &points, const QColor &colour, double width) override;
    void Text(QPointF origin, const QString &text, const QColor &colour) override;
    const QFont &Font() const override { return FFont; }

private:
    TQRPage &FPage;
    QFont FFont;
};

// Draws the picture inside `box`; all of it stays inside. A box too small for the axes and
// the legend gets nothing.
void PaintLoanChart(TChartCanvas &canvas, const QRectF &box, const TLoanChartData &data);

// The month (1..months of the schedule) a point of the picture painted in `box` stands for;
// 0 off the plot.
int LoanChartMonthAt(const QRectF &box, const QFont &font, const TLoanChartData &data,
                     QPointF point);

// The picture in a window: pointing at it shows that month's row as a tool tip.
class TLoanChartView : public QWidget {
    Q_OBJECT

public:
    explicit TLoanChartView(QWidget *parent = nullptr);

    void SetData(TLoanChartData data, std::vector<TScheduleRow> months,
                 std::vector<TScheduleColumn> columns);
    const TLoanChartData &Data() const { return FData; }
    // The text of a month's row, as the pointer shows it.
    QString MonthTip(int month) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    TLoanChartData FData;
    std::vector<TScheduleRow> FMonths;
    std::vector<TScheduleColumn> FColumns;
};

// The picture on a report band.
class TQRLoanChart : public TQRPrintable {
    Q_OBJECT

public:
    explicit TQRLoanChart(TQRBand *band);
    void SetData(TLoanChartData data) { FData = std::move(data); }
    void Print(TQRPrintContext &context, QPointF at) const override;

private:
    TLoanChartData FData;
};
