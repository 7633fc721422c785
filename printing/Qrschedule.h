// The amortization schedule of one loan, printed: the title and the loan's summary on the first
// page, the column heads at the top of every page, one line a month (or a year), and the page
// count at the foot of every page. Its columns and summary lines are the engine's, the same the
// window and the command line show.
#pragma once

#include "engine/Amortize.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class TQRBand;
class TQRLabel;
class TQRLoanChart;
class TQRShape;
class TQRSysData;
class TQuickReport;

// ---- The options of a real loan: one table for the window, the saved values file and the page

enum class TPlanOption {
    Points,
    Fees,
    LoanDate,
    FirstPayment,
    InterestOnly,
    MonthlyExtra,
    MonthlyFrom,
    MonthlyTo,
    YearlyExtra,
    YearlyMonth,
    Lumps,
    RateChanges,
    Effect
};

struct TPlanOptionInfo {
    TPlanOption Option;
    const char *Key; // its key in the saved values file
    QString Caption; // its label in the window, with the access key
    QString Hint;    // its status hint
};
// In the language in use, made afresh at each call.
QList<TPlanOptionInfo> PlanOptions();

// An option's value as it is typed and stored: plain numbers with "." for decimals, dates as
// YYYY-MM-DD, empty for an option that is off; one-off payments as "MONTH:AMOUNT" and rate
// changes as "MONTH:RATE", separated by blanks; the effect of extras as "shorter" or "lower".
QString PlanOptionText(const TLoanPlan &plan, TPlanOption option);
// Takes an option from its text, months bounded by `term`: empty when taken, else the reason it
// is refused, the plan then unchanged.
QString SetPlanOption(TLoanPlan &plan, TPlanOption option, const QString &text, int term);

// The parts of those texts. Each gives empty and the value, or the reason the text is refused.
QString ParseAmount(const QString &text, TCents &cents);
QString ParseMonth(const QString &text, int first, int last, int &month);
QString ParseRate(const QString &text, double &rate);

// The options that are on, a line each, as the printout lists them.
std::vector<TSummaryLine> PlanSummary(const TLoanPlan &plan);

// The foot of a long printout on every page: a rule, the program's name at the left (its label
// for the report to fill), "Page n of m" in the middle and the time printed at the right.
struct TQRPageFoot {
    TQRBand *Band;
    TQRShape *Rule;
    TQRLabel *Program;
    TQRSysData *Page, *Printed;
};
TQRPageFoot AddPageFoot(TQuickReport *rep);

class TQRSchedule : public QObject {
    Q_OBJECT

public:
    // `programTitle` is printed at the left of every page's foot.
    explicit TQRSchedule(const QString &programTitle, QObject *parent = nullptr);

    // What the next preparation prints: the summary of `schedule`, then `rows` (its months, or
    // its years when `byYear`).
    void SetSchedule(const TSchedule &schedule, std::vector<TScheduleRow> rows, bool byYear);
    // The months of the same loan without its extras, drawn faint in the picture.
    void SetPlainMonths(std::vector<TScheduleRow> months);

    TQuickReport *Rep;
    TQRBand *Title, *PageHeader, *Detail, *PageFooter;
    // Title band: the title and the summary, a caption and a value a line (as many as the
    // schedule has lines; the band grows with them)
    TQRLabel *lblTitle;
    QList<TQRLabel *> lblCaptions, lblValues;
    // then the options that are on (the plan's), and the picture of the loan
    QList<TQRLabel *> lblOptionCaptions, lblOptionValues;
    TQRLoanChart *Chart;
    TQRShape *shpTitleRule;
    // Page header: the column heads over a rule (as many as the schedule has columns)
    QList<TQRLabel *> lblHeads;
    TQRShape *shpHeadRule;
    // Detail: one label a column
    QList<TQRLabel *> lblCells;
    // Page footer
    TQRShape *shpFootRule;
    TQRLabel *lblProgram;
    TQRSysData *sysPage, *sysPrinted;

    void RepBeforePrint(QObject *Sender, bool &PrintReport);
    void RepNeedData(QObject *Sender, bool &MoreData);

private:
    // At least `count` labels in `labels`, each made by `make` with its index.
    template <class Make> void Grow(QList<TQRLabel *> &labels, qsizetype count, Make make);

    TSchedule FSchedule;
    std::vector<TScheduleColumn> FColumns;
    std::vector<TScheduleRow> FRows, FPlainMonths;
    bool FByYear = false;
    QString FProgramTitle;
    size_t FNextRow = 0;
};
