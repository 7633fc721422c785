#include "printing/Qrschedule.h"

#include "engine/Spread.h"
#include "platform/Forms.h"
#include "printing/Quickrep.h"

namespace {

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

QString Money(double v) {
    return Text(CurrencyText(v, 15, 2));
}

// The right edges of the six columns on the page.
constexpr double ColumnRights[6] = {95, 225, 355, 485, 615, 740};
// The summary's lines: at most seven (the last payment only when it differs).
constexpr int SummaryLines = 7;

TQRLabel *Label(TQRBand *band, double left, double top, double width, TQRAlignment alignment) {
    auto *label = new TQRLabel(band);
    label->SetBounds(left, top, width, 14);
    label->SetAlignment(alignment);
    label->SetAutoSize(true);
    return label;
}

TQRShape *Rule(TQRBand *band, double top) {
    auto *shape = new TQRShape(band);
    shape->SetBounds(45, top, 695, 4);
    shape->SetShape(qrsHorLine);
    return shape;
}

} // namespace

QList<TSummaryLine> ScheduleSummary(const TSchedule &schedule) {
    const TLoan &loan = schedule.Loan;
    const int months = int(schedule.Months.size());
    QString term = QStringLiteral("%1 months").arg(loan.Term);
    if (months != loan.Term)
        term += QStringLiteral(" (repaid in %1)").arg(months);
    QList<TSummaryLine> lines{
        {QStringLiteral("Loan amount:"), Money(loan.Loan)},
        {QStringLiteral("Annual rate:"), Text(FixedText(loan.Rate, 15, 3)) + QStringLiteral("%")},
        {QStringLiteral("Term:"), term},
        {QStringLiteral("Monthly payment:"), Money(loan.Payment)},
    };
    // Amounts in whole cents: a last payment that prints as the others is not a different one.
    if (ToCents(schedule.LastPayment) != ToCents(loan.Payment))
        lines.append({QStringLiteral("Last payment:"), Money(schedule.LastPayment)});
    lines.append({QStringLiteral("Total of payments:"), Money(schedule.TotalPayments)});
    lines.append({QStringLiteral("Total interest:"), Money(schedule.TotalInterest)});
    return lines;
}

const QStringList &ScheduleColumns() {
    static const QStringList columns{QStringLiteral("No."),       QStringLiteral("Payment"),
                                     QStringLiteral("Principal"), QStringLiteral("Interest"),
                                     QStringLiteral("Balance"),   QStringLiteral("Total Interest")};
    return columns;
}

QString ScheduleCellText(const TScheduleRow &row, int column) {
    switch (column) {
    case 0:
        return QString::number(row.No);
    case 1:
        return Money(row.Payment);
    case 2:
        return Money(row.Principal);
    case 3:
        return Money(row.Interest);
    case 4:
        return Money(row.Balance);
    case 5:
        return Money(row.TotalInterest);
    default:
        return QString();
    }
}

TQRSchedule::TQRSchedule(const QString &programTitle, QObject *parent)
    : QObject(parent), FProgramTitle(programTitle) {
    Rep = new TQuickReport(this);
    Rep->SetOrientation(poPortrait);
    Rep->SetTitleBeforeHeader(true);
    Rep->SetReportTitle(QStringLiteral("Amortization Schedule"));
    Rep->SetFont(DesignFont(QStringLiteral("Arial"), 8));
    Rep->SetFontColor(Qt::black);
    Rep->BeforePrint = [this](QObject *sender, bool &printReport) {
        RepBeforePrint(sender, printReport);
    };
    Rep->OnNeedData = [this](QObject *sender, bool &moreData) {
        RepNeedData(sender, moreData);
    };
    Rep->OnSeekData = [this](QObject *, int record) {
        FNextRow = size_t(record);
    };

    Title = new TQRBand(Rep, rbTitle, 56 + 16 * SummaryLines + 14);
    lblTitle = Label(Title, 45, 8, 600, taLeftJustify);
    lblTitle->SetFont(DesignFont(QStringLiteral("Arial"), 16, true));
    lblTitle->SetFontColor(Qt::black);
    for (int i = 0; i < SummaryLines; ++i) {
        const double top = 52 + 16 * i;
        TQRLabel *caption = Label(Title, 200 - 150, top, 150, taRightJustify);
        TQRLabel *value = Label(Title, 206, top, 150, taLeftJustify);
        for (TQRLabel *l : {caption, value}) {
            l->SetFont(DesignFont(QStringLiteral("Arial"), 10, l == value));
            l->SetFontColor(Qt::black);
        }
        lblCaptions.append(caption);
        lblValues.append(value);
    }
    shpTitleRule = Rule(Title, 56 + 16 * SummaryLines);

    PageHeader = new TQRBand(Rep, rbPageHeader, 28);
    for (int col = 0; col < 6; ++col) {
        TQRLabel *head = Label(PageHeader, ColumnRights[col] - 100, 6, 100, taRightJustify);
        head->SetCaption(ScheduleColumns()[col]);
        head->SetFont(DesignFont(QStringLiteral("Arial"), 8, true));
        head->SetFontColor(Qt::black);
        lblHeads.append(head);
    }
    shpHeadRule = Rule(PageHeader, 23);

    Detail = new TQRBand(Rep, rbDetail, 15);
    for (int col = 0; col < 6; ++col)
        lblCells.append(Label(Detail, ColumnRights[col] - 100, 1, 100, taRightJustify));

    PageFooter = new TQRBand(Rep, rbPageFooter, 36);
    shpFootRule = Rule(PageFooter, 6);
    lblProgram = Label(PageFooter, 45, 12, 200, taLeftJustify);
    sysPage = new TQRSysData(PageFooter);
    sysPage->SetBounds(292, 12, 200, 14);
    sysPage->SetAlignment(taCenter);
    sysPage->SetAutoSize(false);
    sysPage->SetClipText(false);
    sysPage->SetData(qrsPageOfPages);
    sysPage->SetText(QStringLiteral("Page "));
    sysPrinted = new TQRSysData(PageFooter);
    sysPrinted->SetBounds(540, 12, 200, 14);
    sysPrinted->SetAlignment(taRightJustify);
    sysPrinted->SetData(qrsDateTime);
    sysPrinted->SetText(QStringLiteral("Printed at "));
}

void TQRSchedule::SetSchedule(const TSchedule &schedule, std::vector<TScheduleRow> rows,
                              bool byYear) {
    FSchedule = schedule;
    FRows = std::move(rows);
    FByYear = byYear;
}

void TQRSchedule::RepBeforePrint(QObject *, bool &) {
    lblTitle->SetCaption(FByYear ? QStringLiteral("Amortization Schedule by Year")
                                 : QStringLiteral("Amortization Schedule"));
    const QList<TSummaryLine> summary = ScheduleSummary(FSchedule);
    for (int i = 0; i < SummaryLines; ++i) {
        lblCaptions[i]->SetCaption(summary.value(i).Caption);
        lblValues[i]->SetCaption(summary.value(i).Value);
    }
    lblProgram->SetCaption(FProgramTitle);
    FNextRow = 0;
}

void TQRSchedule::RepNeedData(QObject *, bool &MoreData) {
    MoreData = FNextRow < FRows.size();
    if (!MoreData)
        return;
    const TScheduleRow &row = FRows[FNextRow++];
    for (int col = 0; col < 6; ++col)
        lblCells[col]->SetCaption(ScheduleCellText(row, col));
}
