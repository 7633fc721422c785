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
class TQRShape;
class TQRSysData;
class TQuickReport;

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
    // Title band: the title and the summary, a caption and a value a line (as many as the
    // schedule has lines; the band grows with them)
    TQRLabel *lblTitle;
    QList<TQRLabel *> lblCaptions, lblValues;
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
    std::vector<TScheduleRow> FRows;
    bool FByYear = false;
    QString FProgramTitle;
    size_t FNextRow = 0;
};
