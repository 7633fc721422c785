#include "printing/Qrschedule.h"

#include "platform/Forms.h"
#include "printing/Quickrep.h"

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

} // namespace

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

    Title = new TQRBand(Rep, rbTitle, SummaryTop + 18);
    lblTitle = Label(Title, 45, 8, 600, taLeftJustify);
    lblTitle->SetFont(DesignFont(QStringLiteral("Arial"), 16, true));
    lblTitle->SetFontColor(Qt::black);
    shpTitleRule = Rule(Title, SummaryTop + 4);

    PageHeader = new TQRBand(Rep, rbPageHeader, 28);
    shpHeadRule = Rule(PageHeader, 23);
    Detail = new TQRBand(Rep, rbDetail, 15);

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

template <class Make>
void TQRSchedule::Grow(QList<TQRLabel *> &labels, qsizetype count, Make make) {
    while (labels.size() < count)
        labels.append(make(int(labels.size())));
}

void TQRSchedule::RepBeforePrint(QObject *, bool &) {
    lblTitle->SetCaption(FByYear ? QStringLiteral("Amortization Schedule by Year")
                                 : QStringLiteral("Amortization Schedule"));
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
        lblCaptions[i]->SetCaption(shown ? Text(summary[size_t(i)].Caption) : QString());
        lblValues[i]->SetCaption(shown ? Text(summary[size_t(i)].Value) : QString());
        lblCaptions[i]->SetVisible(shown);
        lblValues[i]->SetVisible(shown);
    }
    shpTitleRule->SetBounds(45, SummaryTop + SummaryLineHeight * double(lines) + 4, 695, 4);
    Title->SetHeight(SummaryTop + SummaryLineHeight * double(lines) + 18);

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
        lblHeads[col]->SetCaption(shown ? Text(FColumns[size_t(col)].Heading) : QString());
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
