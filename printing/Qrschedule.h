// The amortization schedule of one loan, printed: the title and the loan's summary on the first
// page, the column heads at the top of every page, one line a month (or a year), and the page
// count at the foot of every page. Also the texts the schedule window shows, so that the screen
// and the paper agree.
#pragma once

#include "engine/Amortize.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class TQRBand;
class TQRLabel;
class TQRShape;
class TQRSysData;
class TQuickReport;

// One line of the summary: its caption (with a colon) and its value.
struct TSummaryLine {
    QString Caption, Value;
};

// Loan amount, annual rate (three decimals), term, monthly payment, the last payment when it
// differs from the others, total of payments and total interest, amounts in the user's currency.
QList<TSummaryLine> ScheduleSummary(const TSchedule &schedule);

// The columns of a schedule: "No.", "Payment", "Principal", "Interest", "Balance",
// "Total Interest".
const QStringList &ScheduleColumns();
// The text of a row's column as shown: the number, then amounts in the user's currency.
QString ScheduleCellText(const TScheduleRow &row, int column);

class TQRSchedule : public QObject {
    Q_OBJECT

public:
    // `programTitle` is printed at the left of every page's foot.
    explicit TQRSchedule(const QString &programTitle, QObject *parent = nullptr);

    // What the next preparation prints: the summary of `schedule`, then `rows` (its months, or
    // its years when `byYear`).
    void SetSchedule(const TSchedule &schedule, std::vector<TScheduleRow> rows, bool byYear);

    TQuickReport *Rep;
    TQRBand *Title, *PageHeader, *Detail, *PageFooter;
    // Title band: the title and the summary, a caption and a value a line
    TQRLabel *lblTitle;
    QList<TQRLabel *> lblCaptions, lblValues;
    TQRShape *shpTitleRule;
    // Page header: the column heads over a rule
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
    TSchedule FSchedule;
    std::vector<TScheduleRow> FRows;
    bool FByYear = false;
    QString FProgramTitle;
    size_t FNextRow = 0;
};
