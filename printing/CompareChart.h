// The picture of a comparison of offers: the cost of each offer if its loan ends that month
// (points and fees, payments made and the balance owing) over the months, one line each in its
// own colour and dash, the break-even months marked, and the balance of each in a panel below.
// It is laid out as the report engine's drawing steps, so that the window paints the same
// steps the printout prints.
#pragma once

#include "engine/Compare.h"
#include "printing/Quickrep.h"

#include <QFont>
#include <QRectF>
#include <QString>

// The drawing steps of the picture of `c` filling `area`, its texts in `font`; with a pointed
// month (1 and on) a line marks it across both panels.
TQRPage CompareChart(const TComparison &c, const QRectF &area, const QFont &font,
                     int pointedMonth = 0);
// The months the picture runs over: to the payoff of the longest offer.
int CompareChartMonths(const TComparison &c);
// The month under the point `x` of the picture, 0 left of its panels, at most its months.
int CompareChartMonth(const TComparison &c, const QRectF &area, const QFont &font, double x);
// Each offer's values in `month` as the window shows them on pointing there: "Month 48: A cost
// $134,469.26, balance $..., B ...".
QString CompareChartValues(const TComparison &c, int month);

// The picture on a band of a report.
class TQRCompareChart : public TQRPrintable {
    Q_OBJECT

public:
    explicit TQRCompareChart(TQRBand *band);
    void SetComparison(const TComparison &c) { FComparison = c; }
    void Print(TQRPrintContext &context, QPointF at) const override;

private:
    TComparison FComparison;
};
