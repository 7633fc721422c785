#include "app/Schedule.h"

#include "app/Compare.h"
#include "app/Identity.h"
#include "controls/GridClipboard.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "printing/Qrschedule.h"
#include "printing/Quickrep.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

TfrmSchedule *frmSchedule = nullptr;

namespace {

// The summary's left column has at least this many lines, and half of them when more.
constexpr int LeftColumnLines = 4;

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
        return Text(FColumns[size_t(section)].Heading);
    return QVariant();
}

// ---- The window -------------------------------------------------------------------------

TfrmSchedule::TfrmSchedule(const QString &programTitle, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    frmSchedule = this;
    setWindowTitle(QStringLiteral("Amortization Schedule"));
    setFont(DesignFont(QStringLiteral("Arial"), 8));
    setAccessibleName(windowTitle());

    SummaryGrid = new QGridLayout;
    SummaryGrid->setHorizontalSpacing(8);
    SummaryGrid->setVerticalSpacing(2);
    SummaryGrid->setColumnMinimumWidth(1, 0);
    SummaryGrid->setColumnStretch(1, 1);
    SummaryGrid->setColumnStretch(3, 1);

    Model = new TScheduleModel(this);
    tblSchedule = new QTableView(this);
    tblSchedule->setObjectName(QStringLiteral("tblSchedule"));
    tblSchedule->setModel(Model);
    tblSchedule->setAccessibleName(QStringLiteral("Schedule"));
    tblSchedule->setAccessibleDescription(
        QStringLiteral("One row a month (or a year): payment, principal, interest, balance "
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

    chkByYear = new QCheckBox(QStringLiteral("&By year"), this);
    chkByYear->setObjectName(QStringLiteral("chkByYear"));
    chkByYear->setAccessibleDescription(QStringLiteral("Each 12 months summed into one row"));
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
    btnCopy =
        button(QStringLiteral("&Copy"), "btnCopy",
               QStringLiteral("The whole table to the clipboard"), &TfrmSchedule::btnCopyClick);
    btnSave = button(QStringLiteral("&Save..."), "btnSave",
                     QStringLiteral("The table as a CSV file"), &TfrmSchedule::btnSaveClick);
    btnPrint =
        button(QStringLiteral("&Print"), "btnPrint",
               QStringLiteral("Print preview of the schedule"), &TfrmSchedule::btnPrintClick);
    btnCompare = button(QStringLiteral("Co&mpare"), "btnCompare",
                        QStringLiteral("Add to Comparison: the loan with its options as an offer"),
                        &TfrmSchedule::btnCompareClick);
    btnClose = button(QStringLiteral("Close"), "btnClose", QStringLiteral("Close the window"),
                      &TfrmSchedule::btnCloseClick);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkByYear);
    buttons->addStretch(1);
    for (QPushButton *b : {btnCopy, btnSave, btnPrint, btnCompare, btnClose})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(SummaryGrid);
    layout->addWidget(tblSchedule, 1);
    layout->addLayout(buttons);

    setTabOrder(tblSchedule, chkByYear);
    setTabOrder(chkByYear, btnCopy);
    setTabOrder(btnCopy, btnSave);
    setTabOrder(btnSave, btnPrint);
    setTabOrder(btnPrint, btnCompare);
    setTabOrder(btnCompare, btnClose);

    Report = new TQRSchedule(programTitle, this);
    resize(600, 480);
    // Closed by Close, Escape or the title bar: gone, remembering nothing.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
}

TfrmSchedule::~TfrmSchedule() {
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
        auto *caption = new QLabel(this);
        auto *value = new QLabel(this);
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
        caption->setText(Text(line.Caption));
        value->setText(Text(line.Value));
        QString name = caption->text();
        name.chop(1); // the colon
        value->setAccessibleName(name);
    }
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
        const int heading =
            tblSchedule->horizontalHeader()->fontMetrics().horizontalAdvance(Text(column.Heading));
        tblSchedule->setColumnWidth(col, std::max(text, heading) + 24);
    }
    tblSchedule->scrollToTop();
    tblSchedule->setCurrentIndex(Model->index(0, 0));
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
            heads << Text(Model->Columns()[size_t(col)].Heading);
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
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(chkByYear->isChecked() ? QStringLiteral("Amortization Schedule by Year.csv")
                                             : QStringLiteral("Amortization Schedule.csv"));
    int filter = 0;
    if (!SaveFileDialog(this, QStringLiteral("Save Schedule"),
                        {QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")},
                        {QStringLiteral("csv"), QString()}, QFileInfo(fileName).path(), fileName,
                        filter))
        return;
    const QString failure = WriteScheduleCsv(fileName, FSchedule, ShownRows());
    if (!failure.isEmpty())
        MessageBox(QStringLiteral("The schedule could not be saved to %1:\n%2")
                       .arg(QDir::toNativeSeparators(fileName), failure),
                   ProgramName, mtError, mbOK);
}

void TfrmSchedule::btnPrintClick(QObject *) {
    QRPrinter().SetPreviewCaption(QStringLiteral("Preview of Page"));
    QRPrinter().SetProgressCaption(QStringLiteral("Preparing Page"));
    Report->SetSchedule(FSchedule, ShownRows(), chkByYear->isChecked());
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
    if (!loan) {
        MessageBox(QStringLiteral("No schedule: this cell holds no loan."), ProgramName,
                   mtInformation, mbOK);
        return;
    }
    const TScheduleResult schedule = MakeSchedule(*loan);
    if (!schedule) {
        MessageBox(QString::fromLatin1(NoScheduleText(schedule.Reason)), ProgramName, mtInformation,
                   mbOK);
        return;
    }
    ShowSchedule(owner, *schedule);
}

void ShowSchedule(QWidget *owner, const TSchedule &schedule) {
    TfrmSchedule *form = frmSchedule;
    if (!form) {
        form = new TfrmSchedule(ProgramName + QStringLiteral(", ") + ProgramVersion, owner);
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
    form->SetSchedule(schedule);
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
