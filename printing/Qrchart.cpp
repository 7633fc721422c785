#include "printing/Qrchart.h"

#include "controls/Aligrid.h"
#include "engine/CalcMode.h"
#include "engine/Spread.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Language.h"
#include "platform/Version.h"
#include "printing/Quickrep.h"

#include <QFontMetricsF>

TQRPaymentChart *QRPaymentChart = nullptr;

namespace {

// A money step as the chart names it ("$1000": its digits without separators) with the user's
// currency symbol where the user's amounts put it ("1000 €"); any other step as it is.
QString MoneyStepText(const QString &step) {
    if (!step.startsWith(QLatin1Char('$')))
        return step;
    const TFormatSettings &fs = FormatSettings();
    const QString digits = step.mid(1), symbol = QString::fromStdString(fs.CurrencyString);
    switch (fs.CurrencyFormat) {
    case 1:
        return digits + symbol;
    case 2:
        return symbol + QLatin1Char(' ') + digits;
    case 3:
        return digits + QLatin1Char(' ') + symbol;
    }
    return symbol + digits;
}

const QColor Silver(192, 192, 192);

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

// A label of the chart. A fixed-size one lets a text wider than its box run past it, keeping
// its alignment: the chart loses no character of a long date or a wide amount.
TQRLabel *Label(TQRBand *band, double left, double top, double width, double height,
                TQRAlignment alignment, bool autoSize) {
    auto *label = new TQRLabel(band);
    label->SetBounds(left, top, width, height);
    label->SetAlignment(alignment);
    label->SetAutoSize(autoSize);
    label->SetClipText(false);
    return label;
}

// The report's font made smaller by whole pixels, down to 6 points, until the text fits the
// width; the 6-point font when even that is too wide.
QFont FittingFont(const QFont &base, const QString &text, double width) {
    constexpr int Smallest = (6 * 96 + 36) / 72; // 6 points in report units
    QFont font = ReportFont(base);
    while (font.pixelSize() > Smallest && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

// A horizontal rule: a black line of width 1 along the top edge of its box.
TQRShape *Rule(TQRBand *band, double left, double top) {
    auto *shape = new TQRShape(band);
    shape->SetBounds(left, top, 695, 4);
    shape->SetShape(qrsHorLine);
    return shape;
}

} // namespace

TQRPaymentChart::TQRPaymentChart(const SpreadState &spread, const TRadioGroup &rgCalculate,
                                 const TStringAlignGrid &grdLS, const QString &webAddress,
                                 QObject *parent)
    : QObject(parent), FSpread(spread), FCalculate(rgCalculate), FGrid(grdLS),
      FWebAddress(webAddress) {
    QRPaymentChart = this;
    Rep = new TQuickReport(this);
    Rep->SetOrientation(poPortrait);
    Rep->SetLeftMarginInches(0);
    Rep->SetTitleBeforeHeader(true);
    Rep->SetShowProgress(true);
    Rep->SetReportTitle(tr("of Results"));
    Rep->SetFont(DesignFont(QStringLiteral("Arial"), 8));
    Rep->SetFontColor(Qt::black);
    Rep->BeforePrint = [this](QObject *sender, bool &printReport) {
        RepBeforePrint(sender, printReport);
    };
    Rep->OnNeedData = [this](QObject *sender, bool &moreData) {
        RepNeedData(sender, moreData);
    };

    Title = new TQRBand(Rep, rbTitle, 128);
    Title->BeforePrint = [this](QObject *sender, bool &printBand) {
        TitleBeforePrint(sender, printBand);
    };
    lblTitle = Label(Title, 45, 80, 520, 32, taLeftJustify, false);
    lblTitle->SetFont(DesignFont(QStringLiteral("Arial"), 20, true));
    lblTitle->SetFontColor(Qt::black);
    QRShape3 = Rule(Title, 45, 124);

    PageHeader = new TQRBand(Rep, rbPageHeader, 83);
    PageHeader->BeforePrint = [this](QObject *sender, bool &printBand) {
        PageHeaderBeforePrint(sender, printBand);
    };
    // The captions end at their right edge, the values start at their left edge. The captions
    // are in the window-text colour on screen; on paper that is black, whatever the desktop's
    // theme.
    auto caption = [this](double right) {
        TQRLabel *l = Label(PageHeader, right - 80, 12, 80, 16, taRightJustify, true);
        l->SetFont(DesignFont(QStringLiteral("Arial"), 10));
        l->SetFontColor(Qt::black);
        return l;
    };
    auto value = [this](double left) {
        TQRLabel *l = Label(PageHeader, left, 12, 80, 16, taLeftJustify, true);
        l->SetFont(DesignFont(QStringLiteral("Arial"), 10, true));
        l->SetFontColor(Qt::black);
        return l;
    };
    lbl1 = caption(156);
    lblOne = value(161);
    lbl2 = caption(412);
    lblTwo = value(418);
    lbl3 = caption(631);
    lblThree = value(637);
    QRShape4 = Rule(PageHeader, 45, 41);
    lblX = Label(PageHeader, 64, 54, 300, 14, taCenter, false);
    lblY = Label(PageHeader, 424, 54, 300, 14, taCenter, false);

    Detail = new TQRBand(Rep, rbDetail, 24);
    struct {
        TQRShape *&Box;
        double BoxLeft, BoxWidth;
        TQRLabel *&Cell;
        double CellLeft;
    } const columns[8] = {
        {QRShape1, 45, 90, lblColumn1, 49},    {QRShape5, 136, 85, lblColumn2, 137},
        {QRShape6, 222, 85, lblColumn3, 223},  {QRShape7, 308, 85, lblColumn4, 309},
        {QRShape10, 394, 85, lblColumn5, 396}, {QRShape11, 480, 85, lblColumn6, 482},
        {QRShape8, 566, 85, lblColumn7, 568},  {QRShape9, 652, 86, lblColumn8, 654},
    };
    for (const auto &c : columns) {
        c.Box = new TQRShape(Detail);
        c.Box->SetBounds(c.BoxLeft, 0, c.BoxWidth, 22);
        c.Box->SetShape(qrsRectangle);
        c.Box->SetPenColor(Silver);
        c.Box->SetBrushColor(QColor()); // no fill
    }
    for (const auto &c : columns)
        c.Cell = Label(Detail, c.CellLeft, 4, 82, 15, taCenter, false);

    PageFooter = new TQRBand(Rep, rbPageFooter, 75);
    QRShape2 = Rule(PageFooter, 45, 2);
    lblApplicationTitle = Label(PageFooter, 45, 4, 75, 14, taLeftJustify, true);
    QRSysData1 = new TQRSysData(PageFooter);
    QRSysData1->SetBounds(314, 4, 156, 14);
    QRSysData1->SetAlignment(taCenter);
    QRSysData1->SetAutoSize(false);
    QRSysData1->SetClipText(false);
    QRSysData1->SetData(qrsDateTime);
    QRSysData1->SetText(tr("Printed at "));
    lblURL = Label(PageFooter, 740 - 118, 4, 118, 14, taRightJustify, true);
    QRLabel34 = Label(PageFooter, 45, 33, 695, 14, taLeftJustify, false);
    QRLabel34->SetCaption(
        tr("NOTE:  While effort was made to ensure the accuracy of these calculations, "
           "there is NO WARRANTY, expressed or implied, for the accuracy or"));
    QRLabel36 = Label(PageFooter, 45, 47, 692, 14, taLeftJustify, false);
    QRLabel36->SetCaption(
        tr("applicability of this information to your particular financial situation.  "
           "Please consult your own qualified advisor before making financial "
           "decisions."));
}

TQRPaymentChart::~TQRPaymentChart() {
    if (QRPaymentChart == this)
        QRPaymentChart = nullptr;
}

void TQRPaymentChart::RepBeforePrint(QObject *, bool &) {
    lblURL->SetCaption(FWebAddress);
    lblApplicationTitle->SetCaption(QStringLiteral("Quorvale Pro, ") + QuorvaleVersion);
    FNextRow = 0;
}

void TQRPaymentChart::TitleBeforePrint(QObject *, bool &) {
    if (const TCalcModeInfo *mode = CalcModeOf(FCalculate.ItemIndex()))
        lblTitle->SetCaption(EngineText(mode->ChartTitle));
}

// The values are those of the last calculation, which the grid shows: a value typed into a
// box and not yet confirmed by leaving it is not on the chart.
void TQRPaymentChart::PageHeaderBeforePrint(QObject *, bool &) {
    const TCalcModeInfo *mode = CalcModeOf(FCalculate.ItemIndex());
    if (!mode || !FSpread.LastSpread)
        return;
    const TSpreadInputs &centre = FSpread.LastSpread->Centre;
    auto value = [&centre](TVariable v) {
        switch (v) {
        case TVariable::Loan:
            return Text(CurrencyText(centre.Loan, 10, 2));
        case TVariable::Payment:
            return Text(CurrencyText(centre.Payment, 10, 2));
        case TVariable::Rate:
            return Text(GeneralText(centre.Rate, 15)) + QStringLiteral("%");
        case TVariable::Term:
            break;
        }
        return tr("%1 months").arg(Text(GeneralText(centre.Term, 15)));
    };
    auto steps = [this](TVariable v) {
        const std::string &text = v == TVariable::Loan   ? FSpread.LoanStepText
                                  : v == TVariable::Rate ? FSpread.RateStepText
                                                         : FSpread.PaymentStepText;
        return EngineText(VariableInfo(v).ChartSteps) + MoneyStepText(Text(text));
    };
    TQRLabel *const captions[3] = {lbl1, lbl2, lbl3}, *const values[3] = {lblOne, lblTwo, lblThree};
    for (int k = 0; k < 3; ++k) {
        captions[k]->SetCaption(EngineText(VariableInfo(mode->ChartValues[k]).ChartCaption));
        values[k]->SetCaption(value(mode->ChartValues[k]));
    }
    lblX->SetCaption(steps(mode->Rows));
    lblY->SetCaption(steps(mode->Columns));
}

void TQRPaymentChart::RepNeedData(QObject *, bool &MoreData) {
    const int row = FNextRow;
    TQRLabel *const cells[8] = {lblColumn1, lblColumn2, lblColumn3, lblColumn4,
                                lblColumn5, lblColumn6, lblColumn7, lblColumn8};
    for (int col = 0; col < 8; ++col) {
        const QString text = row < FGrid.RowCount() ? FGrid.Cells(col, row) : QString();
        cells[col]->SetCaption(text);
        // A cell text wider than its box is set smaller so that it stays inside the box.
        const QFont font = FittingFont(Rep->Font(), text, cells[col]->Width());
        if (font.pixelSize() < Rep->Font().pixelSize())
            cells[col]->SetFont(font);
        else
            cells[col]->SetParentFont(true);
    }
    ++FNextRow;
    MoreData = row < FGrid.RowCount();
}
