// The amortization schedule window: the loan a cell of the spread stands for, month by month or
// year by year, its summary, and the schedule copied, saved as CSV and printed. One window at
// a time, beside the main window; it remembers nothing once closed.
#pragma once

#include "engine/Amortize.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableView;
class TQRSchedule;

// The rows of a schedule as a table of texts in the schedule's columns, with their heads as its
// header.
class TScheduleModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TScheduleModel(QObject *parent = nullptr);

    void SetRows(std::vector<TScheduleColumn> columns, std::vector<TScheduleRow> rows);
    const std::vector<TScheduleColumn> &Columns() const { return FColumns; }
    const std::vector<TScheduleRow> &Rows() const { return FRows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<TScheduleColumn> FColumns;
    std::vector<TScheduleRow> FRows;
};

class TfrmSchedule : public QDialog {
    Q_OBJECT

public:
    // `programTitle` goes on the printed pages.
    explicit TfrmSchedule(const QString &programTitle, QWidget *parent = nullptr);
    ~TfrmSchedule() override;

    // The summary: a caption and a value a line, as many as the schedule's summary has (the
    // labels beyond them hidden); the first half in the left column.
    QGridLayout *SummaryGrid;
    QList<QLabel *> lblCaptions, lblValues;
    QTableView *tblSchedule;
    TScheduleModel *Model;
    QCheckBox *chkByYear;
    QPushButton *btnCopy, *btnSave, *btnPrint, *btnCompare, *btnClose;
    TQRSchedule *Report;

    // Shows `schedule` in place of what the window showed.
    void SetSchedule(const TSchedule &schedule);
    const TSchedule &Schedule() const { return FSchedule; }
    // The rows shown: the months, or the years with "By year".
    std::vector<TScheduleRow> ShownRows() const;

    void chkByYearClick(QObject *Sender);
    void btnCopyClick(QObject *Sender);
    // Ctrl+C in the table: the selected cells.
    void CopySelection(QObject *Sender);
    void btnSaveClick(QObject *Sender);
    void btnPrintClick(QObject *Sender);
    // The loan with its plan as an offer of the comparison window.
    void btnCompareClick(QObject *Sender);
    void btnCloseClick(QObject *Sender);

    // The table as texts: the column heads, then every row, or only the selected cells.
    QList<QStringList> TableTexts(bool selectionOnly) const;

private:
    TSchedule FSchedule;
};

// The one schedule window, while it is open.
extern TfrmSchedule *frmSchedule;

// Opens the schedule of `loan` (a cell's loan, or nothing for a cell without one): in the
// schedule window, made if none is open, brought forward and given the focus. A loan without a
// schedule is said in a message box with the reason and opens nothing.
void ShowSchedule(QWidget *owner, const std::optional<TLoan> &loan);
// Opens `schedule` in the schedule window in the same way.
void ShowSchedule(QWidget *owner, const TSchedule &schedule);

// Writes `rows` as CSV to `fileName` through a temporary file beside it that replaces it once
// complete; an existing file is left as it was when writing fails. Empty on success, else why
// it failed.
QString WriteScheduleCsv(const QString &fileName, const TSchedule &schedule,
                         const std::vector<TScheduleRow> &rows);
// Writes `text` to `fileName` in the same way.
QString WriteTextFile(const QString &fileName, const std::string &text);
