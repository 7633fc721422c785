#include "app/Schedule.h"

#include "app/Compare.h"
#include "app/Identity.h"
#include "controls/GridClipboard.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/IniFiles.h"
#include "platform/Language.h"
#include "printing/LoanChart.h"
#include "printing/Quickrep.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

TfrmSchedule *frmSchedule = nullptr;
TLoanPlan SchedulePlan;
QString ScheduleSaveFolder;

namespace {

// The saved values file's section of the schedule's options.
const char *const OptionsSection = "ScheduleOptions";
const char *const SaveFolderKey = "SaveFolder";

TPlanOptionInfo InfoOf(TPlanOption option) {
    return PlanOptions()[int(option)];
}

// The options typed in a box, in the order they stand.
constexpr TPlanOption BoxOptions[] = {TPlanOption::Points,       TPlanOption::Fees,
                                      TPlanOption::LoanDate,     TPlanOption::FirstPayment,
                                      TPlanOption::InterestOnly, TPlanOption::MonthlyExtra,
                                      TPlanOption::MonthlyFrom,  TPlanOption::MonthlyTo,
                                      TPlanOption::YearlyExtra,  TPlanOption::YearlyMonth};

// A list's table: its column heads, and the check of a cell's text (the month, then the amount
// or the rate), given the loan's term.
struct TListColumns {
    QStringList Heads;
    std::function<QString(int column, const QString &text, int term)> Check;
};

TListColumns ListColumns(TPlanOption option) {
    const bool lumps = option == TPlanOption::Lumps;
    return {{TfrmSchedule::tr("Month"),
             lumps ? TfrmSchedule::tr("Amount") : TfrmSchedule::tr("Rate %")},
            [lumps](int column, const QString &text, int term) {
                int month = 0;
                TCents cents = 0;
                double rate = 0;
                if (column == 0)
                    return ParseMonth(text, lumps ? 1 : 2, term, month);
                return lumps ? ParseAmount(text, cents) : ParseRate(text, rate);
            }};
}

// A table's cell editor whose text is checked when it is committed: a refused text leaves the
// cell as it was, and the reason is said.
class TCheckedDelegate : public QStyledItemDelegate {
public:
    TCheckedDelegate(QObject *parent, std::function<QString(int, const QString &)> check,
                     std::function<void(const QString &)> refused)
        : QStyledItemDelegate(parent), FCheck(std::move(check)), FRefused(std::move(refused)) {}

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override {
        const auto *line = qobject_cast<QLineEdit *>(editor);
        if (!line)
            return;
        const QString why = FCheck(index.column(), line->text());
        if (!why.isEmpty()) {
            FRefused(why);
            return;
        }
        model->setData(index, line->text().trimmed());
    }

private:
    std::function<QString(int, const QString &)> FCheck;
    std::function<void(const QString &)> FRefused;
};

// Insert adds a row to a list's table and Delete removes the current one.
class TListKeys : public QObject {
public:
    TListKeys(TfrmSchedule *form, TPlanOption option) : QObject(form), F(form), FOption(option) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier)
            Guard(watched, [&] { F->AddListRow(FOption); });
        else if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier)
            Guard(watched, [&] { F->RemoveListRow(FOption); });
        else
            return false;
        return true;
    }

private:
    TfrmSchedule *F;
    TPlanOption FOption;
};

// The summary's left column has at least this many lines, and half of them when more; past
// MaxSummaryRows lines the summary scrolls, leaving the room to the table.
constexpr int LeftColumnLines = 4;
constexpr int MaxSummaryRows = 8;

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

// Ctrl+C in the table copies the selected cells, as the schedule's own texts.
class TCopyKey : public QObject {
public:
    TCopyKey(TfrmSchedule *form) : QObject(form), F(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
            Guard(watched, [&] { F->CopySelection(watched); });
            return true;
        }
        return false;
    }

private:
    TfrmSchedule *F;
};

// Draws a cell's text straight onto the cell, without the general delegate's text layout (which
// measures and elides every text): the table's amounts are short and fit their columns, and a
// table of hundreds of rows then opens at once.
class TAmountDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = std::exchange(opt.text, QString());
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget); // cell and selection
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        painter->setPen(opt.palette.color(
            opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        painter->drawText(opt.rect.adjusted(margin, 0, -margin, 0), int(opt.displayAlignment),
                          text);
    }
};

} // namespace

// ---- The table model --------------------------------------------------------------------

TScheduleModel::TScheduleModel(QObject *parent) : QAbstractTableModel(parent) {}

void TScheduleModel::SetRows(std::vector<TScheduleColumn> columns, std::vector<TScheduleRow> rows) {
    beginResetModel();
    FColumns = std::move(columns);
    FRows = std::move(rows);
    endResetModel();
}

int TScheduleModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FRows.size());
}

int TScheduleModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FColumns.size());
}

QVariant TScheduleModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= FRows.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return Text(ScheduleCellText(FRows[size_t(index.row())], FColumns[size_t(index.column())]));
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant TScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        size_t(section) < FColumns.size())
        return EngineText(FColumns[size_t(section)].Heading);
    return QVariant();
}

// ---- The window -------------------------------------------------------------------------

TfrmSchedule::TfrmSchedule(const QString &programTitle, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    frmSchedule = this;
    setWindowTitle(tr("Amortization Schedule"));
    setFont(DesignFont(QStringLiteral("Arial"), 8));
    setAccessibleName(windowTitle());

    SummaryGrid = new QGridLayout;
    SummaryGrid->setHorizontalSpacing(8);
    SummaryGrid->setVerticalSpacing(2);
    SummaryGrid->setColumnMinimumWidth(1, 0);
    SummaryGrid->setColumnStretch(1, 1);
    SummaryGrid->setColumnStretch(3, 1);
    SummaryGrid->setContentsMargins(0, 0, 0, 0);
    auto *summary = new QWidget;
    summary->setLayout(SummaryGrid);
    scrSummary = new QScrollArea(this);
    scrSummary->setObjectName(QStringLiteral("scrSummary"));
    scrSummary->setWidget(summary);
    scrSummary->setWidgetResizable(true);
    scrSummary->setFrameShape(QFrame::NoFrame);
    scrSummary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrSummary->setFocusPolicy(Qt::NoFocus);

    Model = new TScheduleModel(this);
    tblSchedule = new QTableView(this);
    tblSchedule->setObjectName(QStringLiteral("tblSchedule"));
    tblSchedule->setModel(Model);
    tblSchedule->setAccessibleName(tr("Schedule"));
    tblSchedule->setAccessibleDescription(
        tr("One row a month (or a year): payment, principal, interest, balance "
           "and total interest"));
    tblSchedule->verticalHeader()->hide();
    // Rows of one height, so that a table of thousands of rows is laid out at once.
    tblSchedule->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblSchedule->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblSchedule->horizontalHeader()->setStretchLastSection(true);
    tblSchedule->horizontalHeader()->setHighlightSections(false);
    tblSchedule->setSelectionBehavior(QAbstractItemView::SelectItems);
    tblSchedule->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblSchedule->setTabKeyNavigation(false); // Tab goes on to the check box and the buttons
    tblSchedule->setWordWrap(false);
    tblSchedule->setAlternatingRowColors(true);
    tblSchedule->setItemDelegate(new TAmountDelegate(tblSchedule));
    tblSchedule->installEventFilter(new TCopyKey(this));

    chkByYear = new QCheckBox(tr("&By year"), this);
    chkByYear->setObjectName(QStringLiteral("chkByYear"));
    chkByYear->setAccessibleDescription(tr("Each 12 months summed into one row"));
    connect(chkByYear, &QCheckBox::toggled, this,
            [this] { Guard(chkByYear, [this] { chkByYearClick(chkByYear); }); });

    auto button = [this](const QString &caption, const char *name, const QString &description,
                         void (TfrmSchedule::*handler)(QObject *)) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleDescription(description);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, b, handler] { Guard(b, [&] { (this->*handler)(b); }); });
        return b;
    };
    btnCopy = button(tr("&Copy"), "btnCopy", tr("The whole table to the clipboard"),
                     &TfrmSchedule::btnCopyClick);
    btnSave = button(tr("&Save..."), "btnSave", tr("The table as a CSV file"),
                     &TfrmSchedule::btnSaveClick);
    btnPrint = button(tr("&Print"), "btnPrint", tr("Print preview of the schedule"),
                      &TfrmSchedule::btnPrintClick);
    btnCompare = button(tr("Co&mpare"), "btnCompare",
                        tr("Add to Comparison: the loan with its options as an offer"),
                        &TfrmSchedule::btnCompareClick);
    btnClose =
        button(tr("Close"), "btnClose", tr("Close the window"), &TfrmSchedule::btnCloseClick);

    Chart = new TLoanChartView(this);
    Chart->setObjectName(QStringLiteral("Chart"));

    // ---- The options
    grpOptions = new QGroupBox(tr("Options"));
    grpOptions->setObjectName(QStringLiteral("grpOptions"));
    auto *options = new QGridLayout(grpOptions);
    options->setHorizontalSpacing(6);
    auto label = [this](TPlanOption option, QWidget *buddy) {
        auto *l = new QLabel(InfoOf(option).Caption, grpOptions);
        l->setObjectName(QStringLiteral("lbl") + QLatin1String(InfoOf(option).Key));
        l->setBuddy(buddy);
        return l;
    };
    const QFontMetrics metrics(font());
    for (TPlanOption option : BoxOptions) {
        auto *box = new QLineEdit(grpOptions);
        box->setObjectName(QStringLiteral("edt") + QLatin1String(InfoOf(option).Key));
        box->setStatusTip(InfoOf(option).Hint);
        box->setAccessibleDescription(InfoOf(option).Hint);
        const bool date = option == TPlanOption::LoanDate || option == TPlanOption::FirstPayment;
        const bool month = option == TPlanOption::InterestOnly ||
                           option == TPlanOption::MonthlyFrom || option == TPlanOption::MonthlyTo ||
                           option == TPlanOption::YearlyMonth;
        // The form a date is typed in, as the user's language writes its letters.
        const QString dateForm = tr("YYYY-MM-DD");
        if (date)
            box->setPlaceholderText(dateForm);
        box->setFixedWidth(metrics.horizontalAdvance(date    ? dateForm
                                                     : month ? QStringLiteral("000000")
                                                             : QStringLiteral("000000000.00")) +
                           14);
        connect(box, &QLineEdit::textEdited, this,
                [this, box, option] { Guard(box, [&] { OptionEdited(option); }); });
        // A value left refused gives way to the one in force.
        connect(box, &QLineEdit::editingFinished, this, [this, box, option] {
            if (box->text() != PlanOptionText(SchedulePlan, option))
                box->setText(PlanOptionText(SchedulePlan, option));
            box->setPalette(QPalette());
        });
        edtOptions.insert(option, box);
    }
    auto boxAt = [&](TPlanOption option, int row, int column) {
        options->addWidget(label(option, edtOptions[option]), row, column);
        options->addWidget(edtOptions[option], row, column + 1);
    };
    boxAt(TPlanOption::Points, 0, 0);
    boxAt(TPlanOption::Fees, 0, 2);
    boxAt(TPlanOption::LoanDate, 1, 0);
    boxAt(TPlanOption::FirstPayment, 1, 2);
    boxAt(TPlanOption::InterestOnly, 2, 0);
    boxAt(TPlanOption::MonthlyExtra, 3, 0);
    boxAt(TPlanOption::MonthlyFrom, 3, 2);
    boxAt(TPlanOption::MonthlyTo, 3, 4);
    boxAt(TPlanOption::YearlyExtra, 4, 0);
    boxAt(TPlanOption::YearlyMonth, 4, 2);

    cbxEffect = new QComboBox(grpOptions);
    cbxEffect->setObjectName(QStringLiteral("cbxEffect"));
    cbxEffect->addItems({tr("shorten the loan"), tr("lower the payment")});
    cbxEffect->setStatusTip(InfoOf(TPlanOption::Effect).Hint);
    cbxEffect->setAccessibleDescription(InfoOf(TPlanOption::Effect).Hint);
    connect(cbxEffect, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FShowingOptions)
            return;
        Guard(cbxEffect, [&] {
            TakeOption(cbxEffect, TPlanOption::Effect,
                       index == 1 ? QStringLiteral("lower") : QStringLiteral("shorter"));
        });
    });
    options->addWidget(label(TPlanOption::Effect, cbxEffect), 5, 0);
    options->addWidget(cbxEffect, 5, 1, 1, 3, Qt::AlignLeft);

    auto list = [&](TPlanOption option, int column, QPushButton *&add, QPushButton *&remove) {
        const TListColumns columns = ListColumns(option);
        auto *table = new QTableWidget(0, 2, grpOptions);
        table->setObjectName(QStringLiteral("tbl") + QLatin1String(InfoOf(option).Key));
        table->setHorizontalHeaderLabels(columns.Heads);
        table->verticalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        // Both columns in full: a month, and the greatest amount.
        const int monthWidth =
            std::max(metrics.horizontalAdvance(QStringLiteral("000000")),
                     table->horizontalHeader()->fontMetrics().horizontalAdvance(columns.Heads[0])) +
            16;
        table->setColumnWidth(0, monthWidth);
        table->setMinimumWidth(
            monthWidth + metrics.horizontalAdvance(QStringLiteral("0000000000.00")) + 16 +
            2 * table->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setTabKeyNavigation(false);
        table->setStatusTip(InfoOf(option).Hint);
        table->setAccessibleName(
            QString(InfoOf(option).Caption).remove(QLatin1Char('&')).chopped(1));
        table->setAccessibleDescription(InfoOf(option).Hint);
        table->setItemDelegate(new TCheckedDelegate(
            table,
            [this, check = columns.Check](int col, const QString &text) {
                return check(col, text, FLoan.Term);
            },
            [this, table](const QString &why) { Refuse(table, why); }));
        table->installEventFilter(new TListKeys(this, option));
        connect(table, &QTableWidget::itemChanged, this, [this, table, option] {
            if (!FShowingOptions)
                Guard(table, [&] { ListEdited(option); });
        });
        auto button = [&](const QString &caption, void (TfrmSchedule::*handler)(TPlanOption)) {
            auto *b = new QPushButton(caption, grpOptions);
            b->setAutoDefault(false);
            connect(b, &QPushButton::clicked, this,
                    [this, b, handler, option] { Guard(b, [&] { (this->*handler)(option); }); });
            return b;
        };
        add = button(option == TPlanOption::Lumps ? tr("A&dd") : tr("Add"),
                     &TfrmSchedule::AddListRow);
        remove = button(option == TPlanOption::Lumps ? tr("Remo&ve") : tr("Remove"),
                        &TfrmSchedule::RemoveListRow);
        add->setObjectName(QStringLiteral("btnAdd") + QLatin1String(InfoOf(option).Key));
        remove->setObjectName(QStringLiteral("btnRemove") + QLatin1String(InfoOf(option).Key));
        auto *box = new QVBoxLayout;
        box->addWidget(label(option, table));
        box->addWidget(table, 1);
        auto *row = new QHBoxLayout;
        row->addWidget(add);
        row->addWidget(remove);
        row->addStretch(1);
        box->addLayout(row);
        options->addLayout(box, 6, column, 1, column == 0 ? 2 : 4);
        return table;
    };
    tblLumps = list(TPlanOption::Lumps, 0, btnAddLump, btnRemoveLump);
    tblRateChanges = list(TPlanOption::RateChanges, 2, btnAddRateChange, btnRemoveRateChange);
    options->setRowStretch(6, 1);
    grpOptions->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(tr("Status"));
    lblStatus->setMinimumHeight(metrics.height());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkByYear);
    buttons->addStretch(1);
    for (QPushButton *b : {btnCopy, btnSave, btnPrint, btnCompare, btnClose})
        buttons->addWidget(b);
    auto *left = new QVBoxLayout;
    left->addWidget(Chart, 2);
    left->addWidget(tblSchedule, 3);
    auto *middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    // The options scroll where the screen is too small for them beside the table.
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("scrOptions"));
    scroller->setWidget(grpOptions);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroller->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // As wide as the options and the bar that scrolls them up and down, however long their
    // words, so that they scroll sideways only on a screen too narrow for them beside the table.
    const int wide =
        grpOptions->sizeHint().width() + scroller->verticalScrollBar()->sizeHint().width();
    const QScreen *screen = QGuiApplication::primaryScreen();
    scroller->setMinimumWidth(screen ? std::min(wide, screen->availableGeometry().width() / 2)
                                     : wide);
    middle->addWidget(scroller);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scrSummary);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    layout->addWidget(lblStatus);

    // From the table through the options to the buttons under it.
    QList<QWidget *> order{tblSchedule};
    for (TPlanOption option : BoxOptions)
        order << edtOptions[option];
    order << cbxEffect << tblLumps << btnAddLump << btnRemoveLump << tblRateChanges
          << btnAddRateChange << btnRemoveRateChange << chkByYear << btnCopy << btnSave << btnPrint
          << btnCompare << btnClose;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // The hint of the option that takes the focus; the reason a value was refused stays while
    // the focus comes back to where it was typed.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && now->window() == this && !now->statusTip().isEmpty() && now != FRefusedAt)
            lblStatus->setText(now->statusTip());
        FPlanBefore = SchedulePlan;
    });

    Report = new TQRSchedule(programTitle, this);
    ShowOptions();
    // Closed by Close, Escape or the title bar: gone, remembering nothing.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
}

TfrmSchedule::~TfrmSchedule() {
    // An editor still open in a list commits as the window hides: while the window is whole.
    hide();
    if (frmSchedule == this)
        frmSchedule = nullptr;
}

void TfrmSchedule::SetSchedule(const TSchedule &schedule) {
    FSchedule = schedule;
    const std::vector<TSummaryLine> summary = ScheduleSummary(schedule);
    const int lines = int(summary.size());
    const int left = std::max(LeftColumnLines, (lines + 1) / 2);
    while (lblCaptions.size() < lines) {
        const int i = int(lblCaptions.size());
        auto *caption = new QLabel(scrSummary->widget());
        auto *value = new QLabel(scrSummary->widget());
        caption->setObjectName(QStringLiteral("lblCaption%1").arg(i));
        value->setObjectName(QStringLiteral("lblValue%1").arg(i));
        lblCaptions.append(caption);
        lblValues.append(value);
    }
    for (int i = 0; i < int(lblCaptions.size()); ++i) {
        QLabel *caption = lblCaptions[i], *value = lblValues[i];
        SummaryGrid->removeWidget(caption);
        SummaryGrid->removeWidget(value);
        const bool shown = i < lines;
        caption->setVisible(shown);
        value->setVisible(shown);
        if (!shown)
            continue;
        const int row = i < left ? i : i - left, col = i < left ? 0 : 2;
        SummaryGrid->addWidget(caption, row, col, Qt::AlignRight);
        SummaryGrid->addWidget(value, row, col + 1, Qt::AlignLeft);
        const TSummaryLine &line = summary[size_t(i)];
        caption->setText(EngineText(line.Caption));
        value->setText(EngineText(line.Value));
        QString name = caption->text();
        name.chop(1); // the colon
        value->setAccessibleName(name);
    }
    SummaryGrid->activate();
    const QSize whole = scrSummary->widget()->minimumSizeHint();
    const int shown = std::min(left, MaxSummaryRows);
    const int height =
        left > MaxSummaryRows
            ? shown * (lblValues[0]->sizeHint().height() + SummaryGrid->verticalSpacing())
            : whole.height();
    scrSummary->setFixedHeight(height);
    scrSummary->setMinimumWidth(
        whole.width() +
        (left > MaxSummaryRows ? scrSummary->verticalScrollBar()->sizeHint().width() : 0));
    Model->SetRows(ScheduleColumns(schedule), ShownRows());
    // Columns as wide as their widest text: the greatest amount, the date, or the heading.
    TScheduleRow widest;
    widest.No = std::max(int(schedule.Months.size()), schedule.Months.back().No);
    widest.Date = schedule.Months.back().Date;
    widest.Payment = std::max({schedule.Amount, schedule.TotalPayments, schedule.TotalCost});
    const QFontMetrics metrics(tblSchedule->font());
    for (int col = 0; col < Model->columnCount(); ++col) {
        TScheduleColumn column = Model->Columns()[size_t(col)];
        if (column.Kind == TColumnKind::Money)
            column.Money = &TScheduleRow::Payment;
        const int text = metrics.horizontalAdvance(Text(ScheduleCellText(widest, column)));
        const int heading = tblSchedule->horizontalHeader()->fontMetrics().horizontalAdvance(
            EngineText(column.Heading));
        tblSchedule->setColumnWidth(col, std::max(text, heading) + 24);
    }
    tblSchedule->scrollToTop();
    tblSchedule->setCurrentIndex(Model->index(0, 0));
    Chart->SetData(LoanChartData(schedule, FPlainMonths), schedule.Months,
                   ScheduleColumns(schedule));
    QStringList said;
    for (const TSummaryLine &line : summary)
        said << EngineText(line.Caption) + QLatin1Char(' ') + EngineText(line.Value);
    Chart->setAccessibleDescription(said.join(QStringLiteral("; ")));
}

void TfrmSchedule::SetLoan(const TLoan &loan) {
    FLoan = loan;
    TryPlan(SchedulePlan);
}

QString TfrmSchedule::TryPlan(const TLoanPlan &plan) {
    const TScheduleResult schedule = MakeSchedule(FLoan, plan);
    if (!schedule)
        return QString::fromLatin1(NoScheduleText(schedule.Reason));
    // The faint line: the same loan with none of its extras.
    TLoanPlan plain = plan;
    plain.MonthlyExtra = plain.YearlyExtra = 0;
    plain.Lumps.clear();
    const TScheduleResult without = MakeSchedule(FLoan, plain);
    FPlainMonths = without ? without->Months : std::vector<TScheduleRow>();
    SchedulePlan = plan;
    SetSchedule(*schedule);
    return QString();
}

// ---- The options ------------------------------------------------------------------------

QTableWidget *TfrmSchedule::ListTable(TPlanOption option) const {
    return option == TPlanOption::Lumps ? tblLumps : tblRateChanges;
}

void TfrmSchedule::ShowOptions() {
    FShowingOptions = true;
    for (TPlanOption option : BoxOptions)
        edtOptions[option]->setText(PlanOptionText(SchedulePlan, option));
    cbxEffect->setCurrentIndex(SchedulePlan.Effect == TExtraEffect::LowerPayment ? 1 : 0);
    FShowingOptions = false;
    ShowList(TPlanOption::Lumps);
    ShowList(TPlanOption::RateChanges);
}

void TfrmSchedule::ShowList(TPlanOption option) {
    FShowingOptions = true;
    QTableWidget *table = ListTable(option);
    const QStringList pairs =
        PlanOptionText(SchedulePlan, option).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    table->setRowCount(int(pairs.size()));
    for (int row = 0; row < pairs.size(); ++row)
        for (int col = 0; col < 2; ++col)
            table->setItem(row, col,
                           new QTableWidgetItem(pairs[row].section(QLatin1Char(':'), col, col)));
    FShowingOptions = false;
}

void TfrmSchedule::Refuse(QWidget *where, const QString &reason) {
    FRefusedAt = where;
    lblStatus->setText(reason);
    where->setAccessibleDescription(reason);
    QPalette marked = where->palette();
    marked.setColor(QPalette::Text, Qt::red);
    where->setPalette(marked);
}

void TfrmSchedule::TakeOption(QWidget *where, TPlanOption option, const QString &text) {
    TLoanPlan plan = SchedulePlan;
    QString why = SetPlanOption(plan, option, text, FLoan.Term);
    if (why.isEmpty())
        why = TryPlan(plan);
    if (!why.isEmpty()) {
        Refuse(where, why);
        return;
    }
    FRefusedAt = nullptr;
    where->setPalette(QPalette());
    where->setAccessibleDescription(InfoOf(option).Hint);
    lblStatus->setText(InfoOf(option).Hint);
}

void TfrmSchedule::OptionEdited(TPlanOption option) {
    QLineEdit *box = edtOptions[option];
    TakeOption(box, option, box->text());
    // The values a typed one passed through on its way ("4", "40" of "400") give way to the
    // one in force before the typing began.
    if (FRefusedAt == box && !(SchedulePlan == FPlanBefore))
        TryPlan(FPlanBefore);
}

void TfrmSchedule::ListEdited(TPlanOption option) {
    QTableWidget *table = ListTable(option);
    QStringList pairs;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *month = table->item(row, 0), *value = table->item(row, 1);
        if (month && value)
            pairs << month->text() + QLatin1Char(':') + value->text();
    }
    // Each cell was checked as it was typed; a list the term no longer holds, or one that
    // leaves the loan without a schedule, is said, and the table shows the list in force.
    TakeOption(table, option, pairs.join(QLatin1Char(' ')));
    if (FRefusedAt == table)
        ShowList(option);
}

void TfrmSchedule::AddListRow(TPlanOption option) {
    QTableWidget *table = ListTable(option);
    const bool lumps = option == TPlanOption::Lumps;
    const int first = lumps ? 1 : 2;
    if (FLoan.Term < first) {
        Refuse(table, tr("The term leaves no month for this."));
        return;
    }
    // A year after the last row's month, within the term.
    int month = lumps ? 12 : 13;
    if (const int rows = table->rowCount(); rows > 0 && table->item(rows - 1, 0))
        month = table->item(rows - 1, 0)->text().toInt() + 12;
    month = std::clamp(month, first, FLoan.Term);
    const QString value = lumps ? QStringLiteral("1000.00") : QString::number(FLoan.Rate, 'f', 3);
    FShowingOptions = true;
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(QString::number(month)));
    table->setItem(row, 1, new QTableWidgetItem(value));
    FShowingOptions = false;
    ListEdited(option);
    if (FRefusedAt == table)
        return;
    table->setFocus();
    table->setCurrentCell(row, 0);
    table->editItem(table->item(row, 0));
}

void TfrmSchedule::RemoveListRow(TPlanOption option) {
    QTableWidget *table = ListTable(option);
    const int row = table->currentRow();
    if (row < 0)
        return;
    FShowingOptions = true;
    table->removeRow(row);
    FShowingOptions = false;
    ListEdited(option);
}

bool TfrmSchedule::event(QEvent *event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        if (!tip.isEmpty())
            lblStatus->setText(tip);
        return true;
    }
    return QDialog::event(event);
}

// The table's columns in full beside the options, and room for the picture.
QSize TfrmSchedule::sizeHint() const {
    int table =
        2 * tblSchedule->frameWidth() + tblSchedule->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < Model->columnCount(); ++col)
        table += tblSchedule->columnWidth(col);
    const QSize hint = QDialog::sizeHint();
    const QMargins margins = layout()->contentsMargins();
    return QSize(std::max(hint.width(), margins.left() + table + layout()->spacing() +
                                            grpOptions->sizeHint().width() +
                                            style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                            margins.right()),
                 std::max(hint.height(), fontMetrics().height() * 44));
}

std::vector<TScheduleRow> TfrmSchedule::ShownRows() const {
    return chkByYear->isChecked() ? ScheduleByYear(FSchedule) : FSchedule.Months;
}

QList<QStringList> TfrmSchedule::TableTexts(bool selectionOnly) const {
    const int columns = Model->columnCount();
    std::map<int, std::vector<bool>> chosen; // row: its selected columns
    if (selectionOnly) {
        for (const QModelIndex &index : tblSchedule->selectionModel()->selectedIndexes()) {
            auto &cols = chosen[index.row()];
            cols.resize(size_t(columns));
            cols[size_t(index.column())] = true;
        }
    }
    QList<QStringList> texts;
    QStringList heads;
    for (int col = 0; col < columns; ++col)
        if (!selectionOnly || std::any_of(chosen.begin(), chosen.end(),
                                          [col](const auto &r) { return r.second[size_t(col)]; }))
            heads << EngineText(Model->Columns()[size_t(col)].Heading);
    texts << heads;
    const std::vector<TScheduleRow> &rows = Model->Rows();
    auto add = [&](int row, const std::vector<bool> *cols) {
        QStringList cells;
        for (int col = 0; col < columns; ++col)
            if (!cols || (*cols)[size_t(col)])
                cells << Text(ScheduleCellText(rows[size_t(row)], Model->Columns()[size_t(col)]));
        texts << cells;
    };
    if (selectionOnly)
        for (const auto &[row, cols] : chosen)
            add(row, &cols);
    else
        for (int row = 0; row < int(rows.size()); ++row)
            add(row, nullptr);
    return texts;
}

void TfrmSchedule::chkByYearClick(QObject *) {
    Model->SetRows(ScheduleColumns(FSchedule), ShownRows());
    tblSchedule->setCurrentIndex(Model->index(0, 0));
}

void TfrmSchedule::btnCopyClick(QObject *) {
    QGuiApplication::clipboard()->setMimeData(TableMimeData(TableTexts(false)));
}

void TfrmSchedule::CopySelection(QObject *) {
    if (tblSchedule->selectionModel()->hasSelection())
        QGuiApplication::clipboard()->setMimeData(TableMimeData(TableTexts(true)));
}

void TfrmSchedule::btnSaveClick(QObject *) {
    QString fileName =
        QDir(ProposedFolder({ScheduleSaveFolder,
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}))
            .filePath(chkByYear->isChecked() ? tr("Amortization Schedule by Year.csv")
                                             : tr("Amortization Schedule.csv"));
    int filter = 0;
    if (!SaveFileDialog(this, tr("Save Schedule"), {tr("CSV files (*.csv)"), tr("All files (*)")},
                        {QStringLiteral("csv"), QString()}, QFileInfo(fileName).path(), fileName,
                        filter))
        return;
    ScheduleSaveFolder = QFileInfo(fileName).absolutePath();
    const QString failure = WriteScheduleCsv(fileName, FSchedule, ShownRows());
    if (failure.isEmpty())
        return;
    // The message belongs to this window, whichever window the window manager has activated
    // as the file dialog closed; this window is active again once it is answered.
    QApplication::setActiveWindow(this);
    MessageBox(tr("The schedule could not be saved to %1:\n%2")
                   .arg(QDir::toNativeSeparators(fileName), failure),
               ProgramName, mtError, mbOK);
    raise();
    activateWindow();
}

void TfrmSchedule::btnPrintClick(QObject *) {
    QRPrinter().SetPreviewCaption(tr("Preview of Page"));
    QRPrinter().SetProgressCaption(tr("Preparing Page"));
    Report->SetSchedule(FSchedule, ShownRows(), chkByYear->isChecked());
    Report->SetPlainMonths(FPlainMonths);
    Report->Rep->Preview();
    // The preview hands the activation back to the main window; the user was here.
    raise();
    activateWindow();
}

void TfrmSchedule::btnCompareClick(QObject *) {
    ShowCompare(parentWidget(), ScheduleOffer(FSchedule, std::string()));
}

void TfrmSchedule::btnCloseClick(QObject *) {
    close();
}

// ---- Opening it -------------------------------------------------------------------------

void ShowSchedule(QWidget *owner, const std::optional<TLoan> &loan) {
    ShowSchedule(owner, loan, SchedulePlan);
}

void ShowSchedule(QWidget *owner, const std::optional<TLoan> &loan, const TLoanPlan &plan) {
    if (!loan) {
        MessageBox(TfrmSchedule::tr("No schedule: this cell holds no loan."), ProgramName,
                   mtInformation, mbOK);
        return;
    }
    const TScheduleResult schedule = MakeSchedule(*loan, plan);
    if (!schedule) {
        MessageBox(EngineText(NoScheduleText(schedule.Reason)), ProgramName, mtInformation, mbOK);
        return;
    }
    SchedulePlan = plan;
    TfrmSchedule *form = frmSchedule;
    const bool made = !form;
    if (made)
        form = new TfrmSchedule(ProgramName + QStringLiteral(", ") + ProgramVersion, owner);
    else
        form->ShowOptions(); // those of the plan, when another's
    form->SetLoan(*loan);
    if (made) {
        form->resize(form->sizeHint().boundedTo(form->screen()->availableGeometry().size()));
        // Beside the main window where the screen has room, so that the spread stays in
        // sight; else over its centre.
        if (owner) {
            const QRect main = owner->frameGeometry();
            const QRect area = owner->screen()->availableGeometry();
            QPoint place(main.right() + 8, std::max(area.top(), main.top()));
            if (place.x() + form->width() > area.right())
                place.setX(main.left() - 8 - form->width());
            if (place.x() < area.left())
                place = main.center() - QPoint(form->width() / 2, form->height() / 2);
            form->move(place);
        }
    }
    form->show();
    form->raise();
    form->activateWindow();
    form->tblSchedule->setFocus();
}

QString WriteScheduleCsv(const QString &fileName, const TSchedule &schedule,
                         const std::vector<TScheduleRow> &rows) {
    return WriteTextFile(fileName, ScheduleCsv(schedule, rows));
}

QString WriteTextFile(const QString &fileName, const std::string &text) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        return file.errorString();
    return QString();
}

// ---- Kept between runs ------------------------------------------------------------------

void ReadScheduleOptions(const TIniFile &ini) {
    TLoanPlan plan;
    for (const TPlanOptionInfo &info : PlanOptions()) {
        const std::string text = ini.ReadString(OptionsSection, info.Key, std::string());
        if (!text.empty()) // a value refused leaves the option at its default
            SetPlanOption(plan, info.Option, QString::fromStdString(text), MaxScheduleMonths);
    }
    SchedulePlan = plan;
    ScheduleSaveFolder = QString::fromStdString(ini.ReadString(OptionsSection, SaveFolderKey, {}));
}

void WriteScheduleOptions(TIniFile &ini) {
    // Only what differs from the file: a file without options keeps none while they are off.
    auto write = [&](const char *key, const std::string &value, const std::string &fallback) {
        if (ini.ReadString(OptionsSection, key, fallback) != value)
            ini.WriteString(OptionsSection, key, value);
    };
    const TLoanPlan defaults;
    for (const TPlanOptionInfo &info : PlanOptions())
        write(info.Key, PlanOptionText(SchedulePlan, info.Option).toStdString(),
              PlanOptionText(defaults, info.Option).toStdString());
    write(SaveFolderKey, ScheduleSaveFolder.toStdString(), std::string());
}
