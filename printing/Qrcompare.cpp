#include "printing/Qrcompare.h"

#include "platform/Forms.h"
#include "platform/Language.h"
#include "printing/CompareChart.h"
#include "printing/Qrschedule.h"
#include "printing/Quickrep.h"

#include <algorithm>

namespace {

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

constexpr double Left = 45, Right = 740, CaptionWidth = 170, LineHeight = 16, ChartHeight = 430;

} // namespace

QString PaydownTitle(const QString &offerName, bool interest) {
    return TQRCompare::tr("Paying down %1: %2")
        .arg(offerName,
             interest ? TQRCompare::tr("total interest") : TQRCompare::tr("months to payoff"));
}

TQRCompare::TQRCompare(const QString &programTitle, QObject *parent)
    : QObject(parent), FProgramTitle(programTitle) {
    Rep = new TQuickReport(this);
    Rep->SetOrientation(poPortrait);
    Rep->SetReportTitle(tr("Loan Offers Compared"));
    Rep->SetFont(DesignFont(QStringLiteral("Arial"), 8));
    Rep->SetFontColor(Qt::black);
    Rep->BeforePrint = [this](QObject *sender, bool &printReport) {
        RepBeforePrint(sender, printReport);
    };
    Rep->OnNeedData = [](QObject *, bool &moreData) {
        moreData = false;
    };

    Title = new TQRBand(Rep, rbTitle, 100);
    imgChart = new TQRCompareChart(Title);
    Paydown = new TQRBand(Rep, rbSummary, 100);
    Paydown->SetForceNewPage(true);
    Paydown->BeforePrint = [this](QObject *, bool &printBand) {
        printBand = FGrid.has_value();
    };

    const TQRPageFoot foot = AddPageFoot(Rep);
    PageFooter = foot.Band;
    lblProgram = foot.Program;
    sysPage = foot.Page;
    sysPrinted = foot.Printed;
}

void TQRCompare::SetComparison(const TComparison &c, std::optional<TPaydownGrid> grid,
                               int gridOffer) {
    FComparison = c;
    FGrid = std::move(grid);
    FGridOffer = gridOffer;
}

TQRLabel *TQRCompare::Text(TQRBand *band, const QString &text, double left, double top,
                           double width, bool rightAligned, bool bold, int points) {
    auto *label = new TQRLabel(band);
    label->SetBounds(left, top, width, 14);
    label->SetAlignment(rightAligned ? taRightJustify : taLeftJustify);
    label->SetAutoSize(true);
    label->SetCaption(text);
    label->SetFont(DesignFont(QStringLiteral("Arial"), points, bold));
    label->SetFontColor(Qt::black);
    label->SetParentFont(false);
    lblTexts.append(label);
    return label;
}

void TQRCompare::RepBeforePrint(QObject *, bool &) {
    qDeleteAll(lblTexts);
    lblTexts.clear();
    const TComparison &c = FComparison;
    const int count = int(c.Offers.size());
    Text(Title, tr("Loan Offers Compared"), Left, 8, 600, false, true, 16);

    // The rows: a caption, then each offer's value, the best of the row in bold.
    double top = 48;
    const double column = (Right - Left - CaptionWidth) / std::max(count, 1);
    auto right = [&](int k) {
        return Left + CaptionWidth + column * k;
    };
    for (int k = 0; k < count; ++k)
        Text(Title, ::Text(c.Offers[size_t(k)].Offer.Name), right(k), top, column, true, true);
    top += LineHeight;
    for (int r = 0; r < CompareRowCount; ++r) {
        const TCompareRow row = TCompareRow(r);
        if (!RowShown(c, row))
            continue;
        const std::vector<int> best = BestInRow(c, row);
        Text(Title, EngineText(CompareCaption(c, row)), Left, top, CaptionWidth, false);
        for (int k = 0; k < count; ++k) {
            const std::optional<double> v = CompareValue(c, k, row);
            const bool bold = int(best.size()) < count && std::count(best.begin(), best.end(), k);
            if (v)
                Text(Title, ::Text(CompareText(CompareRowInfo(row).Kind, *v)), right(k), top,
                     column, true, bold);
        }
        top += LineHeight;
    }
    top += LineHeight / 2;
    for (const TBreakEven &pair : c.Pairs) {
        Text(Title,
             tr("%1: %2").arg(EngineText(BreakEvenCaption(c, pair)),
                              EngineText(BreakEvenText(pair))),
             Left, top, 600, false);
        top += LineHeight;
    }
    auto names = [&](const std::vector<int> &offers) {
        QStringList list;
        for (int k : offers)
            list << ::Text(c.Offers[size_t(k)].Offer.Name);
        return list.join(QStringLiteral(", "));
    };
    // A line each, so that four names fit.
    Text(Title, tr("Best overall (lowest total cost): %1.").arg(names(c.Best)), Left, top, 690,
         false, true);
    top += LineHeight;
    Text(
        Title,
        tr("%1, cheapest: %2.")
            .arg(EngineText(CompareCaption(c, TCompareRow::CostAtYears)), names(c.CheapestAtYears)),
        Left, top, 690, false, true);
    top += LineHeight * 2;
    imgChart->SetComparison(c);
    imgChart->SetBounds(Left, top, Right - Left, ChartHeight);
    Title->SetHeight(top + ChartHeight + 8);

    // The pay-down grid of the chosen offer: months to payoff, then total interest.
    Paydown->SetHeight(0);
    if (FGrid && FGridOffer >= 0 && FGridOffer < count) {
        const TPaydownGrid &g = *FGrid;
        const double cell = (Right - Left - 80) / PaydownColumns;
        double y = 8;
        for (bool interest : {false, true}) {
            Text(Paydown, PaydownTitle(::Text(c.Offers[size_t(FGridOffer)].Offer.Name), interest),
                 Left, y, 600, false, true, 10);
            y += LineHeight * 1.5;
            Text(Paydown, tr("Extra / Rate"), Left, y, 80, false, true);
            for (int col = 0; col < PaydownColumns; ++col)
                Text(Paydown, ::Text(CompareText(TCompareKind::Percent, g.Rates[size_t(col)])),
                     Left + 80 + cell * col, y, cell, true, true);
            y += LineHeight;
            for (int r = 0; r < PaydownRows; ++r) {
                Text(Paydown, ::Text(CompareText(TCompareKind::Money, double(g.Extras[size_t(r)]))),
                     Left, y, 80, false, true);
                for (int col = 0; col < PaydownColumns; ++col) {
                    const TPaydownCell &p = g.Cells[size_t(r)][size_t(col)];
                    if (p.Repaid)
                        Text(Paydown,
                             ::Text(interest
                                        ? CompareText(TCompareKind::Money, double(p.TotalInterest))
                                        : std::to_string(p.Months)),
                             Left + 80 + cell * col, y, cell, true, col == PaydownCentreColumn);
                }
                y += LineHeight;
            }
            y += LineHeight;
        }
        Paydown->SetHeight(y);
    }
    lblProgram->SetCaption(FProgramTitle);
}
