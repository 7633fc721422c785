// The amortization schedule window: the loan a cell of the spread stands for, month by month or
// year by year, its summary, its picture, and the schedule copied, saved as CSV and printed.
// Beside the table stand the options of a real loan (points and fees, dates, interest-only
// months, extras, rate changes); every change recomputes the schedule at once. One window at
// a time, beside the main window; the options outlive it and are kept in the saved values file.
#pragma once

#include "engine/Amortize.h"
#include "printing/Qrschedule.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QList>
#include <QMap>
#include <QStringList>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableView;
class QTableWidget;
class TIniFile;
class TLoanChartView;

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
    // It scrolls when a plan's changes of payment make it taller than MaxSummaryRows lines.
    QGridLayout *SummaryGrid;
    QScrollArea *scrSummary;
    QList<QLabel *> lblCaptions, lblValues;
    QTableView *tblSchedule;
    TScheduleModel *Model;
    QCheckBox *chkByYear;
    QPushButton *btnCopy, *btnSave, *btnPrint, *btnCompare, *btnClose;
    TLoanChartView *Chart;
    // The options: a box for each single value, a table for each list, and the effect of extras
    QGroupBox *grpOptions;
    QMap<TPlanOption, QLineEdit *> edtOptions;
    QTableWidget *tblLumps, *tblRateChanges;
    QPushButton *btnAddLump, *btnRemoveLump, *btnAddRateChange, *btnRemoveRateChange;
    QComboBox *cbxEffect;
    // The hint of the option at hand, or why a value typed was refused
    QLabel *lblStatus;
    TQRSchedule *Report;

    // Shows the schedule of `loan` under the options in place of what the window showed.
    void SetLoan(const TLoan &loan);
    // The options in force in their boxes and tables.
    void ShowOptions();
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
    // A box's text typed: taken into the options and the schedule recomputed, or refused with
    // the reason, changing nothing.
    void OptionEdited(TPlanOption option);
    // A list's table changed: its rows taken as the list.
    void ListEdited(TPlanOption option);
    // Adds a row to a list's table and starts editing it; removes a list's current row.
    void AddListRow(TPlanOption option);
    void RemoveListRow(TPlanOption option);

    // The table as texts: the column heads, then every row, or only the selected cells.
    QList<QStringList> TableTexts(bool selectionOnly) const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;

private:
    // Shows the schedule of the loan under `plan`, which becomes the options in force; else
    // the reason there is none, changing nothing.
    QString TryPlan(const TLoanPlan &plan);
    void ShowList(TPlanOption option);
    void Refuse(QWidget *where, const QString &reason);
    // Takes an option's text typed at `where` into the options and shows the schedule, or
    // refuses it there with the reason.
    void TakeOption(QWidget *where, TPlanOption option, const QString &text);
    QTableWidget *ListTable(TPlanOption option) const;

    TLoan FLoan;
    TSchedule FSchedule;
    std::vector<TScheduleRow> FPlainMonths; // the same loan without its extras
    bool FShowingOptions = false;
    QWidget *FRefusedAt = nullptr; // where the last value was refused
    TLoanPlan FPlanBefore;         // the options as the focus came to where it is
};

// The one schedule window, while it is open.
extern TfrmSchedule *frmSchedule;

// The options every schedule is shown with, and the folder of the last schedule saved; they
// outlive the window.
extern TLoanPlan SchedulePlan;
extern QString ScheduleSaveFolder;

// The options and the folder from the saved values file's section of their own: a value that is
// missing or refused gives that option's default alone.
void ReadScheduleOptions(const TIniFile &ini);
// Writes there those that differ from what the file holds (a missing one counts as its
// default); raises what the file's writing raises.
void WriteScheduleOptions(TIniFile &ini);

// Opens the schedule of `loan` (a cell's loan, or nothing for a cell without one): in the
// schedule window, made if none is open, brought forward and given the focus. A loan without a
// schedule is said in a message box with the reason and opens nothing.
void ShowSchedule(QWidget *owner, const std::optional<TLoan> &loan);
// The same under `plan`, which becomes the window's options.
void ShowSchedule(QWidget *owner, const std::optional<TLoan> &loan, const TLoanPlan &plan);

// Writes `rows` as CSV to `fileName` through a temporary file beside it that replaces it once
// complete; an existing file is left as it was when writing fails. Empty on success, else why
// it failed.
QString WriteScheduleCsv(const QString &fileName, const TSchedule &schedule,
                         const std::vector<TScheduleRow> &rows);
// Writes `text` to `fileName` in the same way.
QString WriteTextFile(const QString &fileName, const std::string &text);
