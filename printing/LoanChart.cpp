#include "printing/LoanChart.h"

#include "engine/Spread.h"
#include "platform/Language.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace {

const QColor BalanceColour(0, 70, 160);
const QColor PlainColour(165, 190, 230);
const QColor InterestColour(200, 90, 0);
const QColor PrincipalBarColour(90, 140, 210);
const QColor InterestBarColour(240, 160, 80);
const QColor AxisColour(128, 128, 128);
const QColor TextColour(0, 0, 0);

QString Money(double v) {
    return QString::fromStdString(CurrencyText(v, 15, 0));
}

// The swatches of the legend, in order; the faint line only when the extras change the loan.
struct TLegendItem {
    QColor Colour;
    bool Line;
    QString Text;
};

std::vector<TLegendItem> Legend(const TLoanChartData &data) {
    std::vector<TLegendItem> items{{BalanceColour, true, TLoanChartView::tr("Balance")}};
    if (data.PlainBalance != data.Balance)
        items.push_back({PlainColour, true, TLoanChartView::tr("Balance without extras")});
    items.push_back({InterestColour, true, TLoanChartView::tr("Interest paid so far")});
    items.push_back({PrincipalBarColour, false, TLoanChartView::tr("Principal a year")});
    items.push_back({InterestBarColour, false, TLoanChartView::tr("Interest a year")});
    return items;
}

// The places of the picture's parts inside its box, the same for painting and pointing.
struct TChartLayout {
    bool Fits = false;
    double LineHeight = 0, Swatch = 0, Gap = 0;
    std::vector<QPointF> LegendPlaces; // the top-left corner of each legend item
    QRectF Lines, Bars;                // the two plots; they share their left and right edges
    double LabelRight = 0;             // the axis texts end here
    double Months = 0;                 // the months across the plots
    double LinesTop = 0, BarsTop = 0;  // the greatest values of the plots
};

double MaxYear(const TLoanChartData &data) {
    double most = 0;
    for (const auto &year : data.Years)
        most = std::max(most, year.Principal + year.Interest);
    return most;
}

double LinesTop(const TLoanChartData &data) {
    double most = data.Amount;
    for (const auto *series : {&data.Balance, &data.PlainBalance, &data.InterestSoFar})
        if (!series->empty())
            most = std::max(most, *std::max_element(series->begin(), series->end()));
    return most;
}

TChartLayout Layout(const QRectF &box, const QFont &font, const TLoanChartData &data) {
    TChartLayout l;
    const QFontMetricsF metrics(font);
    l.LineHeight = metrics.height();
    l.Swatch = l.LineHeight;
    l.Gap = metrics.horizontalAdvance(QStringLiteral("  "));
    l.Months = double(std::max(data.Balance.size(), data.PlainBalance.size()));
    l.LinesTop = LinesTop(data);
    l.BarsTop = MaxYear(data);
    if (l.Months < 1 || l.LinesTop <= 0)
        return l;

    // The legend flows into as many lines as the width needs.
    double x = box.left(), y = box.top();
    for (const TLegendItem &item : Legend(data)) {
        const double width = l.Swatch + l.Gap / 2 + metrics.horizontalAdvance(item.Text);
        if (width > box.width())
            return l;
        if (x > box.left() && x + width > box.right()) {
            x = box.left();
            y += l.LineHeight;
        }
        l.LegendPlaces.emplace_back(x, y);
        x += width + l.Gap;
    }
    const double legendBottom = y + l.LineHeight;

    const double labels = std::max({metrics.horizontalAdvance(Money(l.LinesTop)),
                                    metrics.horizontalAdvance(Money(l.BarsTop)),
                                    metrics.horizontalAdvance(TLoanChartView::tr("Year"))});
    l.LabelRight = box.left() + labels;
    const double left = l.LabelRight + l.Gap / 2;
    // Room on the right for half of the last year's number, centred under its place.
    const double right =
        box.right() -
        metrics.horizontalAdvance(QString::number(int(std::ceil(l.Months / 12)))) / 2 - 1;
    // Half a line above each plot for the top label, and a line below for the years.
    const double top = legendBottom + l.LineHeight / 2;
    const double bottom = box.bottom() - l.LineHeight - 1;
    const double between = l.LineHeight * 1.25;
    const double plots = bottom - top - between;
    if (right - left < 3 * l.Gap || plots < 3 * l.LineHeight)
        return l;
    const double linesHeight = std::round(plots * 0.62);
    l.Lines = QRectF(left, top, right - left, linesHeight);
    l.Bars = QRectF(left, top + linesHeight + between, right - left, plots - linesHeight);
    l.Fits = true;
    return l;
}

double XOf(const TChartLayout &l, double month) {
    return l.Lines.left() + l.Lines.width() * month / l.Months;
}

double YOf(const QRectF &plot, double top, double value) {
    return plot.bottom() - plot.height() * std::clamp(value / top, 0.0, 1.0);
}

void Line(TChartCanvas &canvas, QPointF from, QPointF to, const QColor &colour) {
    canvas.Polyline({from, to}, colour, 1);
}

// A text whose middle stands at height `y`, ending at `right`.
void RightText(TChartCanvas &canvas, double right, double y, const QString &text) {
    const QFontMetricsF metrics(canvas.Font());
    canvas.Text(QPointF(right - metrics.horizontalAdvance(text),
                        y + (metrics.ascent() - metrics.descent()) / 2),
                text, TextColour);
}

// The axes of a plot and its greatest value; the lines' plot also its nought (under the bars'
// plot stand the years).
void Axes(TChartCanvas &canvas, const TChartLayout &l, const QRectF &plot, double top) {
    Line(canvas, plot.bottomLeft(), plot.bottomRight(), AxisColour);
    Line(canvas, plot.bottomLeft(), plot.topLeft(), AxisColour);
    RightText(canvas, l.LabelRight, plot.top(), Money(top));
    if (plot == l.Lines)
        RightText(canvas, l.LabelRight, plot.bottom(), Money(0));
}

// A line's points, at most about two to a unit of width: more would draw nothing more.
std::vector<QPointF> Series(const TChartLayout &l, double start,
                            const std::vector<double> &values) {
    std::vector<QPointF> points;
    points.reserve(std::min(values.size() + 1, size_t(l.Lines.width() * 2) + 2));
    points.emplace_back(XOf(l, 0), YOf(l.Lines, l.LinesTop, start));
    for (size_t m = 0; m < values.size(); ++m) {
        const QPointF point(XOf(l, double(m + 1)), YOf(l.Lines, l.LinesTop, values[m]));
        if (point.x() - points.back().x() >= 0.5 || m + 1 == values.size())
            points.push_back(point);
    }
    return points;
}

// The years under their bars, every so many so that their numbers keep apart.
void YearNumbers(TChartCanvas &canvas, const TChartLayout &l, double baseline) {
    const QFontMetricsF metrics(canvas.Font());
    const int years = int(std::ceil(l.Months / 12));
    const double yearWidth = l.Lines.width() * 12 / l.Months;
    const double widest = metrics.horizontalAdvance(QString::number(years)) + l.Gap;
    int step = 10000;
    for (int factor : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000})
        if (factor * yearWidth >= widest) {
            step = factor;
            break;
        }
    for (int year = step; year <= years; year += step) {
        const QString text = QString::number(year);
        const double x = XOf(l, (12.0 * (year - 1) + std::min(12.0 * year, l.Months)) / 2);
        canvas.Text(QPointF(x - metrics.horizontalAdvance(text) / 2, baseline), text, TextColour);
    }
    const QString year = TLoanChartView::tr("Year");
    canvas.Text(QPointF(l.LabelRight - metrics.horizontalAdvance(year), baseline), year,
                TextColour);
}

} // namespace

TLoanChartData LoanChartData(const TSchedule &schedule, const std::vector<TScheduleRow> &plain) {
    TLoanChartData data;
    data.Amount = Money(schedule.Amount);
    for (size_t m = 0; m < schedule.Months.size(); ++m) {
        const TScheduleRow &row = schedule.Months[m];
        data.Balance.push_back(Money(row.Balance));
        data.InterestSoFar.push_back(Money(row.TotalInterest));
        if (m % 12 == 0)
            data.Years.emplace_back();
        data.Years.back().Principal += Money(row.Principal + row.Extra);
        data.Years.back().Interest += Money(row.Interest);
    }
    for (const TScheduleRow &row : plain)
        data.PlainBalance.push_back(Money(row.Balance));
    return data;
}

void PaintLoanChart(TChartCanvas &canvas, const QRectF &box, const TLoanChartData &data) {
    const TChartLayout l = Layout(box, canvas.Font(), data);
    if (!l.Fits)
        return;
    const QFontMetricsF metrics(canvas.Font());
    const std::vector<TLegendItem> legend = Legend(data);
    for (size_t i = 0; i < legend.size(); ++i) {
        const QPointF at = l.LegendPlaces[i];
        const double middle = at.y() + l.LineHeight / 2;
        if (legend[i].Line)
            canvas.Polyline({{at.x(), middle}, {at.x() + l.Swatch, middle}}, legend[i].Colour, 2);
        else
            canvas.Fill(QRectF(at.x() + l.Swatch / 4, at.y() + l.LineHeight / 4, l.Swatch / 2,
                               l.LineHeight / 2),
                        legend[i].Colour);
        canvas.Text(QPointF(at.x() + l.Swatch + l.Gap / 2, at.y() + metrics.ascent()),
                    legend[i].Text, TextColour);
    }

    Axes(canvas, l, l.Lines, l.LinesTop);
    if (data.PlainBalance != data.Balance)
        canvas.Polyline(Series(l, data.Amount, data.PlainBalance), PlainColour, 1.5);
    canvas.Polyline(Series(l, 0, data.InterestSoFar), InterestColour, 1.5);
    canvas.Polyline(Series(l, data.Amount, data.Balance), BalanceColour, 2);

    if (l.BarsTop > 0) {
        Axes(canvas, l, l.Bars, l.BarsTop);
        for (size_t year = 0; year < data.Years.size(); ++year) {
            const double from = XOf(l, 12.0 * double(year));
            const double to = XOf(l, std::min(12.0 * double(year + 1), l.Months));
            const double width = std::max(1.0, (to - from) * 0.7);
            const double left = (from + to - width) / 2;
            const auto &y = data.Years[year];
            const double principalTop = YOf(l.Bars, l.BarsTop, y.Principal);
            const double interestTop = YOf(l.Bars, l.BarsTop, y.Principal + y.Interest);
            canvas.Fill(QRectF(left, principalTop, width, l.Bars.bottom() - principalTop),
                        PrincipalBarColour);
            canvas.Fill(QRectF(left, interestTop, width, principalTop - interestTop),
                        InterestBarColour);
        }
    }
    YearNumbers(canvas, l, l.Bars.bottom() + metrics.ascent() + 1);
}

int LoanChartMonthAt(const QRectF &box, const QFont &font, const TLoanChartData &data,
                     QPointF point) {
    const TChartLayout l = Layout(box, font, data);
    if (!l.Fits || point.x() < l.Lines.left() || point.x() > l.Lines.right() ||
        point.y() < l.Lines.top() || point.y() > l.Bars.bottom() || data.Balance.empty())
        return 0;
    const double month = std::ceil((point.x() - l.Lines.left()) / l.Lines.width() * l.Months);
    return int(std::clamp(month, 1.0, double(data.Balance.size())));
}

// ---- Canvases ---------------------------------------------------------------------------

TPainterCanvas::TPainterCanvas(QPainter &painter, const QFont &font)
    : FPainter(painter), FFont(font) {
    FPainter.setFont(font);
}

void TPainterCanvas::Fill(const QRectF &box, const QColor &colour) {
    FPainter.fillRect(box, colour);
}

void TPainterCanvas::Polyline(const std::vector<QPointF> &points, const QColor &colour,
                              double width) {
    FPainter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    FPainter.drawPolyline(points.data(), int(points.size()));
}

void TPainterCanvas::Text(QPointF origin, const QString &text, const QColor &colour) {
    FPainter.setPen(colour);
    FPainter.drawText(origin, text);
}

TPageCanvas::TPageCanvas(TQRPage &page, const QFont &font) : FPage(page), FFont(font) {}

void TPageCanvas::Fill(const QRectF &box, const QColor &colour) {
    FPage.append(TQRDrawItem::FillItem(box, colour));
}

void TPageCanvas::Polyline(const std::vector<QPointF> &points, const QColor &colour, double width) {
    for (size_t i = 1; i < points.size(); ++i)
        FPage.append(TQRDrawItem::LineItem(points[i - 1], points[i], colour, width));
}

void TPageCanvas::Text(QPointF origin, const QString &text, const QColor &colour) {
    const QFontMetricsF metrics(FFont);
    TQRDrawItem item;
    item.Kind = TQRDrawItem::dkText;
    item.Rect = QRectF(origin.x(), origin.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                       metrics.height());
    item.Color = colour;
    item.Text = text;
    item.Font = FFont;
    item.Origin = origin;
    FPage.append(item);
}

// ---- On the screen ----------------------------------------------------------------------

TLoanChartView::TLoanChartView(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Picture of the loan"));
}

void TLoanChartView::SetData(TLoanChartData data, std::vector<TScheduleRow> months,
                             std::vector<TScheduleColumn> columns) {
    FData = std::move(data);
    FMonths = std::move(months);
    FColumns = std::move(columns);
    update();
}

QString TLoanChartView::MonthTip(int month) const {
    if (month < 1 || size_t(month) > FMonths.size())
        return QString();
    QStringList lines;
    for (const TScheduleColumn &column : FColumns)
        lines << EngineText(column.Heading) + QStringLiteral(" ") +
                     QString::fromStdString(ScheduleCellText(FMonths[size_t(month - 1)], column));
    return lines.join(QLatin1Char('\n'));
}

QSize TLoanChartView::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(QLatin1Char('0')) * 60, metrics.height() * 16);
}

QSize TLoanChartView::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(QLatin1Char('0')) * 30, metrics.height() * 9);
}

void TLoanChartView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setRenderHint(QPainter::Antialiasing);
    TPainterCanvas canvas(painter, font());
    PaintLoanChart(canvas, QRectF(rect()).adjusted(4, 4, -4, -4), FData);
}

bool TLoanChartView::event(QEvent *event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QRectF box = QRectF(rect()).adjusted(4, 4, -4, -4);
    const int month = LoanChartMonthAt(box, font(), FData, help->pos());
    if (month == 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // The tip stays while the pointer is over the same month's strip.
    const int x = help->pos().x();
    QToolTip::showText(help->globalPos(), MonthTip(month), this, QRect(x - 1, 0, 3, height()));
    return true;
}

// ---- On paper ---------------------------------------------------------------------------

TQRLoanChart::TQRLoanChart(TQRBand *band) : TQRPrintable(band) {}

void TQRLoanChart::Print(TQRPrintContext &context, QPointF at) const {
    TPageCanvas canvas(context.Page, ReportFont(context.Report.Font()));
    PaintLoanChart(canvas, QRectF(at.x() + FLeft, at.y() + FTop, FWidth, FHeight), FData);
}
