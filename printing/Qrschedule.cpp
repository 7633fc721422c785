#include "printing/Qrschedule.h"

#include "engine/Spread.h"
#include "platform/Forms.h"
#include "platform/Language.h"
#include "printing/LoanChart.h"
#include "printing/Quickrep.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>

namespace {

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

// The page's columns: the number, then the others sharing the width to the right margin.
constexpr double FirstColumnRight = 95, LastColumnRight = 740;
// The summary's first line and the space of a line.
constexpr double SummaryTop = 52, SummaryLineHeight = 16;

double ColumnRight(int column, int columns) {
    return column == 0
               ? FirstColumnRight
               : FirstColumnRight + (LastColumnRight - FirstColumnRight) * column / (columns - 1);
}

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

// The options' lines on the page: one for points and fees, each date, interest-only months,
// each extra, the one-off payments, the rate changes and the effect of extras.
constexpr int OptionLines = 9;
// The picture's height on the first page.
constexpr double ChartHeight = 280;

// A month's number; empty for none.
QString MonthText(int month) {
    return month > 0 ? QString::number(month) : QString();
}

QString CentsText(TCents cents) {
    if (cents == 0)
        return QString();
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

QString CentsMoney(TCents cents) {
    return Text(CurrencyText(Money(cents), 15, 2));
}

void AddLine(std::vector<TSummaryLine> &lines, const std::pair<QString, QString> &line) {
    lines.push_back({{"%1", {line.first.toStdString()}}, {"%1", {line.second.toStdString()}}});
}

// A plain number: at most `decimals` decimals, trailing zeros dropped.
QString PlainNumber(double v, int decimals) {
    QString text = QString::number(v, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString DateText(const std::optional<std::chrono::year_month_day> &date) {
    return date ? Text(IsoDate(*date)) : QString();
}

// A plain non-negative number with at most `decimals` decimals, no greater than `most`.
QString ParseNumber(const QString &text, int decimals, double most, double &value) {
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('-')))
        return TQRSchedule::tr("%1 is negative; it may not be less than 0.").arg(t);
    static const QRegularExpression number(QStringLiteral(R"(^\d+(\.\d*)?$|^\.\d+$)"));
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    if (!number.match(t).hasMatch() || (point >= 0 && t.size() - point - 1 > decimals))
        return TQRSchedule::tr("\"%1\" is not a number with at most %2 decimals.")
            .arg(t, QString::number(decimals));
    value = t.toDouble();
    if (value > most)
        return TQRSchedule::tr("%1 is more than %2.").arg(t, PlainNumber(most, decimals));
    return QString();
}

QString ParseDate(const QString &text, std::optional<std::chrono::year_month_day> &date) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        date.reset();
        return QString();
    }
    static const QRegularExpression form(QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})$)"));
    const auto match = form.match(t);
    if (!match.hasMatch())
        return TQRSchedule::tr("\"%1\" is not a date: type it as YYYY-MM-DD.").arg(t);
    const std::chrono::year_month_day day{std::chrono::year(match.captured(1).toInt()),
                                          std::chrono::month(match.captured(2).toUInt()),
                                          std::chrono::day(match.captured(3).toUInt())};
    if (!day.ok() || int(day.year()) < 1)
        return TQRSchedule::tr("%1 is not a day of the calendar.").arg(t);
    date = day;
    return QString();
}

// The pairs of a list text, "A:B A:B"; false when one is not such a pair.
bool Pairs(const QString &text, QList<QStringList> &pairs) {
    for (const QString &pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(QLatin1Char(':'));
        if (parts.size() != 2)
            return false;
        pairs << parts;
    }
    return true;
}

QString RefusedList(const QString &text, const QString &reason) {
    return TQRSchedule::tr("\"%1\": %2").arg(text, reason);
}

} // namespace

QString ParseAmount(const QString &text, TCents &cents) {
    double value = 0;
    const QString why = ParseNumber(text, 2, 9999999999.99, value);
    if (why.isEmpty())
        cents = std::llround(value * 100);
    return why;
}

QString ParseMonth(const QString &text, int first, int last, int &month) {
    const QString t = text.trimmed();
    static const QRegularExpression digits(QStringLiteral(R"(^-?\d+$)"));
    if (!digits.match(t).hasMatch())
        return TQRSchedule::tr("\"%1\" is not a month: type its number, %2 to %3.")
            .arg(t, QString::number(first), QString::number(last));
    const long long value = t.size() > 9 ? last + 1LL : t.toLongLong();
    if (value > last)
        return last < first
                   ? TQRSchedule::tr("The term leaves no month for this.")
                   : TQRSchedule::tr("Month %1 is beyond the term: the months are %2 to %3.")
                         .arg(t, QString::number(first), QString::number(last));
    if (value < first)
        return TQRSchedule::tr("Month %1 is before month %2.").arg(t, QString::number(first));
    month = int(value);
    return QString();
}

QString ParseRate(const QString &text, double &rate) {
    return ParseNumber(text, 3, 100, rate);
}

QList<TPlanOptionInfo> PlanOptions() {
    using O = TPlanOption;
    return {
        {O::Points, "Points", TQRSchedule::tr("Poi&nts:"),
         TQRSchedule::tr("Points paid when the loan is made: 1 point is 1% of the amount")},
        {O::Fees, "Fees", TQRSchedule::tr("F&ees:"),
         TQRSchedule::tr("Fees paid when the loan is made; they enter the APR")},
        {O::LoanDate, "LoanDate", TQRSchedule::tr("&Loan date:"),
         TQRSchedule::tr("The day the loan is made, as YYYY-MM-DD; empty: a month before the "
                         "first payment")},
        {O::FirstPayment, "FirstPayment", TQRSchedule::tr("Fi&rst payment:"),
         TQRSchedule::tr("The day of the first payment, as YYYY-MM-DD; empty: months are "
                         "numbered")},
        {O::InterestOnly, "InterestOnly", TQRSchedule::tr("&Interest only:"),
         TQRSchedule::tr("The first months that pay only their interest")},
        {O::MonthlyExtra, "MonthlyExtra", TQRSchedule::tr("&Monthly extra:"),
         TQRSchedule::tr("Paid to principal each month, with the payment")},
        {O::MonthlyFrom, "MonthlyFrom", TQRSchedule::tr("&from month"),
         TQRSchedule::tr("The first month with the monthly extra")},
        {O::MonthlyTo, "MonthlyTo", TQRSchedule::tr("&to"),
         TQRSchedule::tr("The last month with the monthly extra; empty: to the end")},
        {O::YearlyExtra, "YearlyExtra", TQRSchedule::tr("&Yearly extra:"),
         TQRSchedule::tr("Paid to principal once a year")},
        {O::YearlyMonth, "YearlyMonth", TQRSchedule::tr("in mont&h"),
         TQRSchedule::tr("The month of each loan year (with dates: of each calendar year), 1 to "
                         "12")},
        {O::Lumps, "Lumps", TQRSchedule::tr("&One-off payments:"),
         TQRSchedule::tr("Payments to principal in a month: Insert adds one, F2 edits, Delete "
                         "removes")},
        {O::RateChanges, "RateChanges", TQRSchedule::tr("R&ate changes:"),
         TQRSchedule::tr("A new annual rate from a month on; the payment is recast: Insert adds "
                         "one, F2 edits, Delete removes")},
        {O::Effect, "Effect", TQRSchedule::tr("E&xtras:"),
         TQRSchedule::tr("Whether extra payments end the loan sooner or lower the payment")},
    };
}

QString PlanOptionText(const TLoanPlan &plan, TPlanOption option) {
    QStringList pairs;
    switch (option) {
    case TPlanOption::Points:
        return plan.Points == 0 ? QString() : PlainNumber(plan.Points, 3);
    case TPlanOption::Fees:
        return CentsText(plan.Fees);
    case TPlanOption::LoanDate:
        return DateText(plan.LoanDate);
    case TPlanOption::FirstPayment:
        return DateText(plan.FirstPayment);
    case TPlanOption::InterestOnly:
        return MonthText(plan.InterestOnly);
    case TPlanOption::MonthlyExtra:
        return CentsText(plan.MonthlyExtra);
    case TPlanOption::MonthlyFrom:
        return MonthText(plan.MonthlyFrom);
    case TPlanOption::MonthlyTo:
        return MonthText(plan.MonthlyTo);
    case TPlanOption::YearlyExtra:
        return CentsText(plan.YearlyExtra);
    case TPlanOption::YearlyMonth:
        return MonthText(plan.YearlyMonth);
    case TPlanOption::Lumps:
        for (const TLump &lump : plan.Lumps)
            pairs << QStringLiteral("%1:%2").arg(lump.Month).arg(CentsText(lump.Amount));
        return pairs.join(QLatin1Char(' '));
    case TPlanOption::RateChanges:
        for (const TRateChange &change : plan.RateChanges)
            pairs << QStringLiteral("%1:%2").arg(change.Month).arg(PlainNumber(change.Rate, 3));
        return pairs.join(QLatin1Char(' '));
    case TPlanOption::Effect:
        return plan.Effect == TExtraEffect::LowerPayment ? QStringLiteral("lower")
                                                         : QStringLiteral("shorter");
    }
    return QString();
}

QString SetPlanOption(TLoanPlan &plan, TPlanOption option, const QString &text, int term) {
    TLoanPlan p = plan;
    QString why;
    const QString t = text.trimmed();
    // An empty amount or month is the option switched off.
    auto amount = [&](TCents &cents) {
        if (t.isEmpty())
            cents = 0;
        else
            why = ParseAmount(t, cents);
    };
    switch (option) {
    case TPlanOption::Points:
        if (t.isEmpty())
            p.Points = 0;
        else
            why = ParseNumber(t, 3, 100, p.Points);
        break;
    case TPlanOption::Fees:
        amount(p.Fees);
        break;
    case TPlanOption::LoanDate:
    case TPlanOption::FirstPayment: {
        auto &date = option == TPlanOption::LoanDate ? p.LoanDate : p.FirstPayment;
        why = ParseDate(t, date);
        if (why.isEmpty() && p.LoanDate && p.FirstPayment &&
            std::chrono::sys_days(*p.LoanDate) >= std::chrono::sys_days(*p.FirstPayment))
            why = TQRSchedule::tr("The first payment comes after the loan date (%1).")
                      .arg(DateText(p.LoanDate));
        break;
    }
    case TPlanOption::InterestOnly:
        if (t.isEmpty())
            p.InterestOnly = 0;
        else
            why = ParseMonth(t, 0, term - 1, p.InterestOnly);
        break;
    case TPlanOption::MonthlyExtra:
        amount(p.MonthlyExtra);
        break;
    case TPlanOption::MonthlyFrom:
        if (t.isEmpty())
            p.MonthlyFrom = 1;
        else
            why = ParseMonth(t, 1, p.MonthlyTo > 0 ? p.MonthlyTo : term, p.MonthlyFrom);
        break;
    case TPlanOption::MonthlyTo:
        if (t.isEmpty())
            p.MonthlyTo = 0;
        else
            why = ParseMonth(t, p.MonthlyFrom, term, p.MonthlyTo);
        break;
    case TPlanOption::YearlyExtra:
        amount(p.YearlyExtra);
        break;
    case TPlanOption::YearlyMonth:
        if (t.isEmpty())
            p.YearlyMonth = 12;
        else if (!ParseMonth(t, 1, 12, p.YearlyMonth).isEmpty())
            why = TQRSchedule::tr("\"%1\" is not a month of the year, 1 to 12.").arg(t);
        break;
    case TPlanOption::Lumps:
    case TPlanOption::RateChanges: {
        const bool lumps = option == TPlanOption::Lumps;
        QList<QStringList> pairs;
        if (!Pairs(t, pairs))
            return RefusedList(t, lumps ? TQRSchedule::tr("type each payment as MONTH:AMOUNT.")
                                        : TQRSchedule::tr("type each change as MONTH:RATE."));
        p.Lumps.clear();
        p.RateChanges.clear();
        for (const QStringList &pair : pairs) {
            int month = 0;
            TCents cents = 0;
            double rate = 0;
            why = ParseMonth(pair[0], lumps ? 1 : 2, term, month);
            if (why.isEmpty())
                why = lumps ? ParseAmount(pair[1], cents) : ParseRate(pair[1], rate);
            if (!why.isEmpty())
                return RefusedList(pair.join(QLatin1Char(':')), why);
            if (lumps)
                p.Lumps.push_back({month, cents});
            else
                p.RateChanges.push_back({month, rate});
        }
        if (lumps)
            p.RateChanges = plan.RateChanges;
        else
            p.Lumps = plan.Lumps;
        break;
    }
    case TPlanOption::Effect:
        if (t == QLatin1String("lower"))
            p.Effect = TExtraEffect::LowerPayment;
        else if (t == QLatin1String("shorter"))
            p.Effect = TExtraEffect::ShorterLoan;
        else
            why = TQRSchedule::tr("\"%1\" is neither \"shorter\" nor \"lower\".").arg(t);
        break;
    }
    if (why.isEmpty())
        plan = p;
    return why;
}

std::vector<TSummaryLine> PlanSummary(const TLoanPlan &plan) {
    std::vector<TSummaryLine> lines;
    QStringList costs;
    if (plan.Points != 0)
        costs << TQRSchedule::tr("%1 points").arg(Text(FixedText(plan.Points, 15, 3)));
    if (plan.Fees != 0)
        costs << CentsMoney(plan.Fees);
    if (!costs.isEmpty())
        AddLine(lines, {TQRSchedule::tr("Points and fees:"), costs.join(TQRSchedule::tr(" and "))});
    if (plan.LoanDate)
        AddLine(lines, {TQRSchedule::tr("Loan date:"), DateText(plan.LoanDate)});
    if (plan.FirstPayment)
        AddLine(lines, {TQRSchedule::tr("First payment:"), DateText(plan.FirstPayment)});
    if (plan.InterestOnly > 0)
        AddLine(lines, {TQRSchedule::tr("Interest only:"),
                        TQRSchedule::tr("months 1 to %1").arg(plan.InterestOnly)});
    if (plan.MonthlyExtra > 0)
        AddLine(lines, {TQRSchedule::tr("Monthly extra:"),
                        plan.MonthlyTo > 0 ? TQRSchedule::tr("%1 in months %2 to %3")
                                                 .arg(CentsMoney(plan.MonthlyExtra))
                                                 .arg(plan.MonthlyFrom)
                                                 .arg(plan.MonthlyTo)
                                           : TQRSchedule::tr("%1 from month %2")
                                                 .arg(CentsMoney(plan.MonthlyExtra))
                                                 .arg(plan.MonthlyFrom)});
    if (plan.YearlyExtra > 0)
        AddLine(lines, {TQRSchedule::tr("Yearly extra:"), TQRSchedule::tr("%1 in month %2")
                                                              .arg(CentsMoney(plan.YearlyExtra))
                                                              .arg(plan.YearlyMonth)});
    // Long lists are cut after their first entries, so that a line keeps to the page.
    constexpr int Shown = 4;
    auto more = [](QStringList &items, qsizetype count) {
        if (count > Shown)
            items << TQRSchedule::tr("and %1 more").arg(count - Shown);
    };
    if (!plan.Lumps.empty()) {
        QStringList items;
        for (const TLump &lump : plan.Lumps)
            if (items.size() < Shown)
                items << TQRSchedule::tr("%1 in month %2")
                             .arg(CentsMoney(lump.Amount))
                             .arg(lump.Month);
        more(items, qsizetype(plan.Lumps.size()));
        AddLine(lines, {TQRSchedule::tr("One-off payments:"), items.join(QStringLiteral("; "))});
    }
    if (!plan.RateChanges.empty()) {
        QStringList items;
        for (const TRateChange &change : plan.RateChanges)
            if (items.size() < Shown)
                items << TQRSchedule::tr("%1% from month %2")
                             .arg(Text(FixedText(change.Rate, 15, 3)))
                             .arg(change.Month);
        more(items, qsizetype(plan.RateChanges.size()));
        AddLine(lines, {TQRSchedule::tr("Rate changes:"), items.join(QStringLiteral("; "))});
    }
    if (plan.MonthlyExtra > 0 || plan.YearlyExtra > 0 || !plan.Lumps.empty())
        AddLine(lines, {TQRSchedule::tr("Extras:"), plan.Effect == TExtraEffect::LowerPayment
                                                        ? TQRSchedule::tr("lower the payment")
                                                        : TQRSchedule::tr("shorten the loan")});
    return lines;
}

TQRSchedule::TQRSchedule(const QString &programTitle, QObject *parent)
    : QObject(parent), FProgramTitle(programTitle) {
    Rep = new TQuickReport(this);
    Rep->SetOrientation(poPortrait);
    Rep->SetTitleBeforeHeader(true);
    Rep->SetReportTitle(tr("Amortization Schedule"));
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

    Title = new TQRBand(Rep, rbTitle, SummaryTop + 18);
    lblTitle = Label(Title, 45, 8, 600, taLeftJustify);
    lblTitle->SetFont(DesignFont(QStringLiteral("Arial"), 16, true));
    lblTitle->SetFontColor(Qt::black);
    // Placed when the report is prepared, under the summary's lines.
    for (int i = 0; i < OptionLines; ++i) {
        TQRLabel *caption = Label(Title, 50, 0, 150, taRightJustify);
        TQRLabel *value = Label(Title, 206, 0, 534, taLeftJustify);
        for (TQRLabel *l : {caption, value}) {
            l->SetFont(DesignFont(QStringLiteral("Arial"), 9, l == value));
            l->SetFontColor(Qt::black);
        }
        lblOptionCaptions.append(caption);
        lblOptionValues.append(value);
    }
    Chart = new TQRLoanChart(Title);
    shpTitleRule = Rule(Title, SummaryTop + 4);

    PageHeader = new TQRBand(Rep, rbPageHeader, 28);
    shpHeadRule = Rule(PageHeader, 23);
    Detail = new TQRBand(Rep, rbDetail, 15);

    const TQRPageFoot foot = AddPageFoot(Rep);
    PageFooter = foot.Band;
    shpFootRule = foot.Rule;
    lblProgram = foot.Program;
    sysPage = foot.Page;
    sysPrinted = foot.Printed;
}

TQRPageFoot AddPageFoot(TQuickReport *rep) {
    TQRPageFoot foot;
    foot.Band = new TQRBand(rep, rbPageFooter, 36);
    foot.Rule = Rule(foot.Band, 6);
    foot.Program = Label(foot.Band, 45, 12, 200, taLeftJustify);
    foot.Page = new TQRSysData(foot.Band);
    foot.Page->SetBounds(292, 12, 200, 14);
    foot.Page->SetAlignment(taCenter);
    foot.Page->SetAutoSize(false);
    foot.Page->SetClipText(false);
    foot.Page->SetData(qrsPageOfPages);
    foot.Page->SetText(QCoreApplication::translate("TQRSchedule", "Page "));
    foot.Printed = new TQRSysData(foot.Band);
    foot.Printed->SetBounds(540, 12, 200, 14);
    foot.Printed->SetAlignment(taRightJustify);
    foot.Printed->SetData(qrsDateTime);
    foot.Printed->SetText(QCoreApplication::translate("TQRSchedule", "Printed at "));
    return foot;
}

void TQRSchedule::SetSchedule(const TSchedule &schedule, std::vector<TScheduleRow> rows,
                              bool byYear) {
    FSchedule = schedule;
    FRows = std::move(rows);
    FByYear = byYear;
}

void TQRSchedule::SetPlainMonths(std::vector<TScheduleRow> months) {
    FPlainMonths = std::move(months);
}

template <class Make>
void TQRSchedule::Grow(QList<TQRLabel *> &labels, qsizetype count, Make make) {
    while (labels.size() < count)
        labels.append(make(int(labels.size())));
}

void TQRSchedule::RepBeforePrint(QObject *, bool &) {
    lblTitle->SetCaption(FByYear ? tr("Amortization Schedule by Year")
                                 : tr("Amortization Schedule"));
    const std::vector<TSummaryLine> summary = ScheduleSummary(FSchedule);
    const qsizetype lines = qsizetype(summary.size());
    auto summaryLabel = [this](bool value) {
        return [this, value](int i) {
            const double top = SummaryTop + SummaryLineHeight * i;
            TQRLabel *l = value ? Label(Title, 206, top, 150, taLeftJustify)
                                : Label(Title, 50, top, 150, taRightJustify);
            l->SetFont(DesignFont(QStringLiteral("Arial"), 10, value));
            l->SetFontColor(Qt::black);
            return l;
        };
    };
    Grow(lblCaptions, lines, summaryLabel(false));
    Grow(lblValues, lines, summaryLabel(true));
    for (qsizetype i = 0; i < lblCaptions.size(); ++i) {
        const bool shown = i < lines;
        lblCaptions[i]->SetCaption(shown ? EngineText(summary[size_t(i)].Caption) : QString());
        lblValues[i]->SetCaption(shown ? EngineText(summary[size_t(i)].Value) : QString());
        lblCaptions[i]->SetVisible(shown);
        lblValues[i]->SetVisible(shown);
    }
    // The options that are on, then the picture, then the rule over the table.
    double top = SummaryTop + SummaryLineHeight * double(lines) + 8;
    const std::vector<TSummaryLine> options = PlanSummary(FSchedule.Plan);
    for (int i = 0; i < OptionLines; ++i) {
        const bool shown = size_t(i) < options.size();
        lblOptionCaptions[i]->SetCaption(shown ? EngineText(options[size_t(i)].Caption)
                                               : QString());
        lblOptionValues[i]->SetCaption(shown ? EngineText(options[size_t(i)].Value) : QString());
        lblOptionCaptions[i]->SetBounds(50, top, 150, 14);
        lblOptionValues[i]->SetBounds(206, top, 534, 14);
        if (shown)
            top += 15;
    }
    Chart->SetData(LoanChartData(FSchedule, FPlainMonths));
    Chart->SetBounds(45, top + 8, 695, ChartHeight);
    top += 8 + ChartHeight + 8;
    shpTitleRule->SetBounds(45, top, 695, 4);
    Title->SetHeight(top + 14);

    FColumns = ScheduleColumns(FSchedule);
    const int columns = int(FColumns.size());
    Grow(lblHeads, columns, [this](int) {
        TQRLabel *head = Label(PageHeader, 0, 6, 100, taRightJustify);
        head->SetFont(DesignFont(QStringLiteral("Arial"), 8, true));
        head->SetFontColor(Qt::black);
        return head;
    });
    Grow(lblCells, columns, [this](int) { return Label(Detail, 0, 1, 100, taRightJustify); });
    for (int col = 0; col < int(lblHeads.size()); ++col) {
        const bool shown = col < columns;
        lblHeads[col]->SetCaption(shown ? EngineText(FColumns[size_t(col)].Heading) : QString());
        for (TQRLabel *l : {lblHeads[col], lblCells[col]}) {
            l->SetVisible(shown);
            if (shown)
                l->SetBounds(ColumnRight(col, columns) - 100, l == lblHeads[col] ? 6 : 1, 100, 14);
        }
    }
    lblProgram->SetCaption(FProgramTitle);
    FNextRow = 0;
}

void TQRSchedule::RepNeedData(QObject *, bool &MoreData) {
    MoreData = FNextRow < FRows.size();
    if (!MoreData)
        return;
    const TScheduleRow &row = FRows[FNextRow++];
    for (size_t col = 0; col < FColumns.size(); ++col)
        lblCells[int(col)]->SetCaption(Text(ScheduleCellText(row, FColumns[col])));
}
