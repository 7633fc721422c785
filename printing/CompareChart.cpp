#include "printing/CompareChart.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Each offer's line: told apart by its dash as well as its colour.
const QColor LineColours[] = {QColor(0, 0, 200), QColor(200, 0, 0), QColor(0, 130, 0),
                              QColor(150, 0, 150)};
const std::vector<double> LineDashes[] = {{}, {9, 4}, {2, 3}, {9, 3, 2, 3}};

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

QString MoneyText(TCents cents) {
    return Text(CompareText(TCompareKind::Money, double(cents)));
}

TCents BalanceAfter(const TSchedule &s, int month) {
    if (month <= 0)
        return s.Amount;
    return month > int(s.Months.size()) ? 0 : s.Months[size_t(month) - 1].Balance;
}

// The panels and the legend of a picture in its area.
struct TChartLayout {
    QRectF Legend, Cost, Balance;
    double LineHeight = 0;
};

TChartLayout Layout(const QRectF &area, const QFont &font) {
    const QFontMetricsF metrics(font);
    TChartLayout l;
    l.LineHeight = metrics.height();
    // Room at the left for the amounts of the axis (in the user's form, with cents, up to
    // millions), below each panel for its caption.
    const double left = area.left() + metrics.horizontalAdvance(MoneyText(888888888)) + 6;
    const double right = area.right() - 4;
    l.Legend = QRectF(left, area.top(), right - left, l.LineHeight + 4);
    const double panels = area.bottom() - l.Legend.bottom() - 3 * l.LineHeight - 8;
    l.Cost = QRectF(left, l.Legend.bottom() + l.LineHeight + 4, right - left,
                    std::max(10.0, panels * 0.62));
    l.Balance = QRectF(left, l.Cost.bottom() + 2 * l.LineHeight + 4, right - left,
                       std::max(10.0, area.bottom() - l.Cost.bottom() - 3 * l.LineHeight - 4));
    return l;
}

// Adds drawing steps to a page.
class TSteps {
public:
    TSteps(TQRPage &page, const QFont &font) : FPage(page), FFont(font), FMetrics(font) {}

    void Line(QPointF a, QPointF b, const QColor &colour, double width = 1) {
        FPage.append(TQRDrawItem::LineItem(a, b, colour, width));
    }
    void Frame(const QRectF &box) {
        FPage.append(TQRDrawItem::RectangleItem(box, Qt::black, QColor(), 1));
    }
    // A polyline drawn in dashes of the pattern (on, off, on, off ...), solid when empty.
    void Dashed(const std::vector<QPointF> &points, const std::vector<double> &pattern,
                const QColor &colour) {
        size_t part = 0;
        double left = pattern.empty() ? 0 : pattern[0];
        for (size_t k = 1; k < points.size(); ++k) {
            QPointF from = points[k - 1];
            const QPointF to = points[k];
            double length = std::hypot(to.x() - from.x(), to.y() - from.y());
            if (pattern.empty()) {
                Line(from, to, colour, 1.5);
                continue;
            }
            while (length > 0) {
                const double step = std::min(left, length);
                const QPointF next = from + (to - from) * (step / length);
                if (part % 2 == 0)
                    Line(from, next, colour, 1.5);
                from = next;
                length -= step;
                left -= step;
                if (left <= 0) {
                    part = (part + 1) % pattern.size();
                    left = pattern[part];
                }
            }
        }
    }
    // A text with its left (or right, or centre) at x and its top at y.
    void Label(const QString &text, double x, double y, Qt::Alignment align = Qt::AlignLeft,
               const QColor &colour = Qt::black) {
        const double width = FMetrics.horizontalAdvance(text);
        if (align & Qt::AlignRight)
            x -= width;
        else if (align & Qt::AlignHCenter)
            x -= width / 2;
        TQRDrawItem item;
        item.Kind = TQRDrawItem::dkText;
        item.Rect = QRectF(x, y, width, FMetrics.height());
        item.Color = colour;
        item.Text = text;
        item.Font = FFont;
        item.Origin = QPointF(x, y + FMetrics.ascent());
        FPage.append(item);
    }
    double Width(const QString &text) const { return FMetrics.horizontalAdvance(text); }

private:
    TQRPage &FPage;
    QFont FFont;
    QFontMetricsF FMetrics;
};

// One panel: its frame, caption, axis amounts, the years below, and a line per offer.
void Panel(TSteps &steps, const QRectF &box, const QString &caption, TCents low, TCents high,
           int months, double lineHeight, const std::vector<std::vector<TCents>> &lines) {
    steps.Label(caption, box.left(), box.top() - lineHeight - 2);
    if (high <= low)
        high = low + 100;
    auto y = [&](TCents v) {
        return box.bottom() - box.height() * double(v - low) / double(high - low);
    };
    auto x = [&](int month) {
        return box.left() + box.width() * month / std::max(months, 1);
    };
    for (int k = 0; k <= 2; ++k) {
        const TCents v = low + (high - low) * k / 2;
        steps.Label(MoneyText(v), box.left() - 4, y(v) - lineHeight / 2, Qt::AlignRight);
        if (k == 1)
            steps.Line({box.left(), y(v)}, {box.right(), y(v)}, QColor(210, 210, 210));
    }
    const int years = (months + 11) / 12;
    const int every = years <= 10 ? 1 : years <= 30 ? 5 : 10;
    for (int year = 0; year <= years; year += every) {
        const double at = x(std::min(12 * year, months));
        steps.Line({at, box.bottom()}, {at, box.bottom() + 3}, Qt::black);
        steps.Label(QString::number(year), at, box.bottom() + 3, Qt::AlignHCenter);
    }
    for (size_t k = 0; k < lines.size(); ++k) {
        std::vector<QPointF> points;
        for (int m = 0; m < int(lines[k].size()); ++m)
            points.emplace_back(x(m), y(lines[k][size_t(m)]));
        steps.Dashed(points, LineDashes[k % 4], LineColours[k % 4]);
    }
    steps.Frame(box);
}

} // namespace

int CompareChartMonths(const TComparison &c) {
    int months = 0;
    for (const TOfferCosts &o : c.Offers)
        if (o.Schedule)
            months = std::max(months, int(o.Schedule->Months.size()));
    return months;
}

TQRPage CompareChart(const TComparison &c, const QRectF &area, const QFont &font,
                     int pointedMonth) {
    TQRPage page;
    TSteps steps(page, font);
    const TChartLayout l = Layout(area, font);
    const int months = CompareChartMonths(c);
    if (months == 0)
        return page;

    // The legend: a piece of each offer's line and its name.
    double at = l.Legend.left();
    std::vector<std::vector<TCents>> costs, balances;
    TCents lowCost = 0, highCost = 0, highBalance = 0;
    bool first = true;
    for (size_t k = 0; k < c.Offers.size(); ++k) {
        const TOfferCosts &o = c.Offers[k];
        const double middle = l.Legend.top() + l.LineHeight / 2;
        steps.Dashed({{at, middle}, {at + 28, middle}}, LineDashes[k % 4], LineColours[k % 4]);
        const QString name = Text(o.Offer.Name);
        steps.Label(name, at + 32, l.Legend.top());
        at += 32 + steps.Width(name) + 16;
        costs.emplace_back();
        balances.emplace_back();
        if (!o.Schedule)
            continue;
        for (int m = 0; m <= months; ++m) {
            costs.back().push_back(CostAfter(*o.Schedule, m));
            balances.back().push_back(BalanceAfter(*o.Schedule, m));
        }
        lowCost = first ? costs.back().front() : std::min(lowCost, costs.back().front());
        highCost = std::max(highCost, o.Schedule->TotalCost);
        highBalance = std::max(highBalance, o.Schedule->Amount);
        first = false;
    }
    Panel(steps, l.Cost, TQRCompareChart::tr("Cost if the loan ends then (by year)"), lowCost,
          highCost, months, l.LineHeight, costs);
    Panel(steps, l.Balance, TQRCompareChart::tr("Balance owing"), 0, highBalance, months,
          l.LineHeight, balances);

    auto x = [&](int month) {
        return l.Cost.left() + l.Cost.width() * month / months;
    };
    // The break-even months: a dotted line down the cost panel, named at its foot.
    int row = 0;
    for (const TBreakEven &pair : c.Pairs) {
        if (!pair.Month)
            continue;
        const double bx = x(*pair.Month);
        for (double y = l.Cost.top(); y < l.Cost.bottom(); y += 6)
            steps.Line({bx, y}, {bx, std::min(y + 2, l.Cost.bottom())}, Qt::black);
        const int other = pair.Payer == pair.First ? pair.Second : pair.First;
        const QString label =
            TQRCompareChart::tr("%1 over %2 from month %3")
                .arg(Text(c.Offers[size_t(pair.Payer)].Offer.Name),
                     Text(c.Offers[size_t(other)].Offer.Name), QString::number(*pair.Month));
        const bool right = bx + 4 + steps.Width(label) <= l.Cost.right();
        steps.Label(label, right ? bx + 4 : bx - 4, l.Cost.top() + 2 + row * l.LineHeight,
                    right ? Qt::AlignLeft : Qt::AlignRight);
        ++row;
    }
    if (pointedMonth > 0 && pointedMonth <= months) {
        const double px = x(pointedMonth);
        steps.Line({px, l.Cost.top()}, {px, l.Cost.bottom()}, QColor(90, 90, 90));
        steps.Line({px, l.Balance.top()}, {px, l.Balance.bottom()}, QColor(90, 90, 90));
    }
    return page;
}

int CompareChartMonth(const TComparison &c, const QRectF &area, const QFont &font, double x) {
    const TChartLayout l = Layout(area, font);
    const int months = CompareChartMonths(c);
    if (x < l.Cost.left() || months == 0)
        return 0;
    return std::min(months, int(std::lround((x - l.Cost.left()) / l.Cost.width() * months)));
}

QString CompareChartValues(const TComparison &c, int month) {
    QString text = TQRCompareChart::tr("Month %1:").arg(month);
    for (const TOfferCosts &o : c.Offers)
        if (o.Schedule)
            text += TQRCompareChart::tr("  %1 cost %2, balance %3")
                        .arg(Text(o.Offer.Name), MoneyText(CostAfter(*o.Schedule, month)),
                             MoneyText(BalanceAfter(*o.Schedule, month)));
    return text;
}

TQRCompareChart::TQRCompareChart(TQRBand *band) : TQRPrintable(band) {}

void TQRCompareChart::Print(TQRPrintContext &context, QPointF at) const {
    const QFont font = ReportFont(context.Report.Font());
    context.Page.append(
        CompareChart(FComparison, QRectF(at.x() + FLeft, at.y() + FTop, FWidth, FHeight), font));
}
