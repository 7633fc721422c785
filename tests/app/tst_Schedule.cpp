#include "app/Schedule.h"

#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <cmath>

Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(std::optional<TLoan>)

namespace {

const TLoan Worked{100000, 8.75, 360, 786.70};
const TLoan NoInterest{1200, 0, 12, 100};
const TLoan RepaidEarly{1000, 12, 12, 500};

// Records as RFC 4180 reads them: fields between commas, a quoted field may hold commas,
// quotes (doubled) and line breaks, each record ends with CR LF.
QList<QStringList> ParseCsv(const QString &text, QString *fault) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && field.isEmpty()) {
            quoted = true;
        } else if (c == ',') {
            record << std::exchange(field, {});
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record << std::exchange(field, {});
            records << std::exchange(record, {});
            ++i;
        } else if (c == '\r' || c == '\n' || c == '"') {
            *fault = QStringLiteral("stray character %1 at %2").arg(c.unicode()).arg(i);
            return records;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty())
        *fault = QStringLiteral("the last record has no CR LF");
    return records;
}

// The summary as the window shows it: caption and value of each visible line.
QStringList Summary(const TfrmSchedule &w) {
    QStringList lines;
    for (int i = 0; i < w.lblCaptions.size(); ++i)
        if (w.lblCaptions[i]->isVisibleTo(&w))
            lines << w.lblCaptions[i]->text() + " " + w.lblValues[i]->text();
    return lines;
}

QStringList RowTexts(const TfrmSchedule &w, int row) {
    QStringList texts;
    for (int col = 0; col < w.Model->columnCount(); ++col)
        texts << w.Model->index(row, col).data().toString();
    return texts;
}

} // namespace

class TestSchedule : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

    // The window as ShowSchedule opens it, for `loan`.
    static TfrmSchedule &Open(const TLoan &loan, bool byYear = false) {
        ShowSchedule(nullptr, loan);
        TfrmSchedule *w = frmSchedule;
        w->chkByYear->setChecked(byYear);
        return *w;
    }

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }
    void cleanup() { delete frmSchedule; }

    void theSummaryNamesTheLoan_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<QStringList>("summary");
        QTest::newRow("100,000 at 8.75% for 360 months")
            << Worked << QStringList{"Loan amount: $100,000.00",   "Annual rate: 8.750%",
                                     "Term: 360 months",           "Monthly payment: $786.70",
                                     "Last payment: $787.67",      "Total of payments: $283,212.97",
                                     "Total interest: $183,212.97"};
        QTest::newRow("no interest: the last payment is the others'")
            << NoInterest << QStringList{"Loan amount: $1,200.00",
                                         "Annual rate: 0.000%",
                                         "Term: 12 months",
                                         "Monthly payment: $100.00",
                                         "Total of payments: $1,200.00",
                                         "Total interest: $0.00"};
        QTest::newRow("repaid before the term")
            << RepaidEarly
            << QStringList{"Loan amount: $1,000.00",        "Annual rate: 12.000%",
                           "Term: 12 months (repaid in 3)", "Monthly payment: $500.00",
                           "Last payment: $15.25",          "Total of payments: $1,015.25",
                           "Total interest: $15.25"};
    }
    void theSummaryNamesTheLoan() {
        QFETCH(TLoan, loan);
        QFETCH(QStringList, summary);
        TfrmSchedule &w = Open(Worked); // what it showed before is replaced
        ShowSchedule(nullptr, loan);
        QCOMPARE(frmSchedule, &w);
        QCOMPARE(Summary(w), summary);
        // a value is read by its caption
        QCOMPARE(w.lblValues[0]->accessibleName(), QString("Loan amount"));
    }

    void theTableShowsTheMonthsOrTheYears_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts"); // an empty text is not compared
        QTest::newRow("month 1") << Worked << false << 360 << 0
                                 << QStringList{"1",       "$786.70",    "$57.53",
                                                "$729.17", "$99,942.47", "$729.17"};
        QTest::newRow("month 360") << Worked << false << 360 << 359
                                   << QStringList{"360", "$787.67", "", "", "$0.00", "$183,212.97"};
        QTest::newRow("year 30") << Worked << true << 30 << 29
                                 << QStringList{"30", "", "", "", "$0.00", "$183,212.97"};
        QTest::newRow("no interest, month 12")
            << NoInterest << false << 12 << 11
            << QStringList{"12", "$100.00", "$100.00", "$0.00", "$0.00", "$0.00"};
        QTest::newRow("no interest, year 1")
            << NoInterest << true << 1 << 0
            << QStringList{"1", "$1,200.00", "$1,200.00", "$0.00", "$0.00", "$0.00"};
        QTest::newRow("repaid early, by year")
            << RepaidEarly << true << 1 << 0
            << QStringList{"1", "$1,015.25", "$1,000.00", "$15.25", "$0.00", "$15.25"};
    }
    void theTableShowsTheMonthsOrTheYears() {
        QFETCH(TLoan, loan);
        QFETCH(bool, byYear);
        QFETCH(int, rows);
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        TfrmSchedule &w = Open(loan);
        const QStringList yearEnd = RowTexts(w, std::min(11, w.Model->rowCount() - 1));
        w.chkByYear->setChecked(byYear);
        QCOMPARE(w.Model->rowCount(), rows);
        const QStringList shown = RowTexts(w, row);
        for (int col = 0; col < texts.size(); ++col)
            if (!texts[col].isEmpty())
                QCOMPARE(shown[col], texts[col]);
        if (byYear) // a year's balance is its last month's
            QCOMPARE(RowTexts(w, 0)[4], yearEnd[4]);
        QCOMPARE(w.Model->headerData(5, Qt::Horizontal).toString(), QString("Total Interest"));
    }

    void copyTakesTheTableOrTheSelectedCells_data() {
        QTest::addColumn<QList<QPoint>>("selected"); // (column, row); none: the Copy button
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("the Copy button: heads and every row")
            << QList<QPoint>{}
            << QStringList{"No.\tPayment\tPrincipal\tInterest\tBalance\tTotal Interest",
                           "1\t$786.70\t$57.53\t$729.17\t$99,942.47\t$729.17"}
            << 361;
        QTest::newRow("two cells of a column")
            << QList<QPoint>{{3, 0}, {3, 1}} << QStringList{"Interest", "$729.17", "$728.75"} << 3;
        QTest::newRow("two cells of a row, apart")
            << QList<QPoint>{{4, 0}, {0, 0}} << QStringList{"No.\tBalance", "1\t$99,942.47"} << 2;
    }
    void copyTakesTheTableOrTheSelectedCells() {
        QFETCH(QList<QPoint>, selected);
        QFETCH(QStringList, lines);
        QFETCH(int, lineCount);
        TfrmSchedule &w = Open(Worked);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QGuiApplication::clipboard()->clear();
        if (selected.isEmpty()) {
            w.btnCopy->click();
        } else {
            w.tblSchedule->clearSelection();
            for (QPoint p : selected)
                w.tblSchedule->selectionModel()->select(w.Model->index(p.y(), p.x()),
                                                        QItemSelectionModel::Select);
            w.tblSchedule->setFocus();
            QTest::keyClick(w.tblSchedule, Qt::Key_C, Qt::ControlModifier);
        }
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        const QStringList copied = data->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), lineCount);
        QCOMPARE(copied.mid(0, lines.size()), lines);
        // the same cells as an HTML table
        QCOMPARE(data->html().count("<tr>"), lineCount);
        QVERIFY(data->html().contains("<td>" + lines.last().section('\t', -1) + "</td>"));
    }

    void saveWritesTheShownRowsAsCsv_data() {
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("target");   // in the test's folder
        QTest::addColumn<int>("records");      // -1: no file
        QTest::addColumn<QStringList>("last"); // an empty field is not compared
        QTest::addColumn<bool>("reported");
        QTest::newRow("months") << false << int(mrOk) << "months.csv" << 361
                                << QStringList{"360", "787.67", "", "", "0.00", "183212.97"}
                                << false;
        QTest::newRow("years, a typed name gets its extension")
            << true << int(mrOk) << "years" << 31
            << QStringList{"30", "", "", "", "0.00", "183212.97"} << false;
        QTest::newRow("an existing file is replaced")
            << false << int(mrOk) << "old.csv" << 361
            << QStringList{"360", "787.67", "", "", "0.00", "183212.97"} << false;
        QTest::newRow("cancelled")
            << false << int(mrCancel) << "none.csv" << -1 << QStringList{} << false;
        QTest::newRow("a folder that is a file: said, nothing written")
            << false << int(mrOk) << "plain/none.csv" << -1 << QStringList{} << true;
    }
    void saveWritesTheShownRowsAsCsv() {
        QFETCH(bool, byYear);
        QFETCH(int, answer);
        QFETCH(QString, target);
        QFETCH(int, records);
        QFETCH(QStringList, last);
        QFETCH(bool, reported);
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QFile old(dir.filePath("old.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);

        TfrmSchedule &w = Open(Worked, byYear);
        DialogRecorder dialogs;
        dialogs.Answer(answer);
        dialogs.OnRequest([&](const TDialogRequest &r) {
            if (r.Kind == TDialogRequest::SaveFile)
                r.FileName = dir.filePath(target);
        });
        w.btnSave->click();
        QCOMPARE(dialogs.Requests().size(), reported ? 2 : 1);
        QCOMPARE(dialogs.Requests()[0].Kind, TDialogRequest::SaveFile);
        if (reported)
            QVERIFY(dialogs.Requests()[1].Text.contains(
                QDir::toNativeSeparators(dir.filePath(target))));

        const QString written =
            target.contains('.') ? dir.filePath(target) : dir.filePath(target + ".csv");
        // nothing else is left in the folder: no temporary file
        QStringList expected = before;
        if (records >= 0 && !expected.contains(QFileInfo(written).fileName()))
            expected << QFileInfo(written).fileName();
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
        if (records < 0)
            return;
        QFile file(written);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString fault;
        const QList<QStringList> csv = ParseCsv(QString::fromUtf8(file.readAll()), &fault);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(csv.size(), records);
        QCOMPARE(csv.first(), (QStringList{"No.", "Payment", "Principal", "Interest", "Balance",
                                           "Total Interest"}));
        for (int f = 0; f < last.size(); ++f)
            if (!last[f].isEmpty())
                QCOMPARE(csv.last()[f], last[f]);
        // plain numbers, two decimals, and each payment is its principal and interest
        for (const QStringList &r : csv.mid(1)) {
            QCOMPARE(r.size(), 6);
            for (const QString &amount : r.mid(1))
                QVERIFY2(QRegularExpression("^-?\\d+\\.\\d\\d$").match(amount).hasMatch(),
                         qPrintable(amount));
            QCOMPARE(std::llround(r[1].toDouble() * 100),
                     std::llround(r[2].toDouble() * 100) + std::llround(r[3].toDouble() * 100));
        }
    }

    void oneWindowReplacedByTheNextAndGoneWhenClosed() {
        TfrmSchedule &w = Open(Worked, true);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        ShowSchedule(nullptr, NoInterest);
        QCOMPARE(frmSchedule, &w);
        QCOMPARE(w.Model->rowCount(), 1); // still by year, now of the new loan
        QCOMPARE(w.windowTitle(), QString("Amortization Schedule"));
        QPointer<TfrmSchedule> closed(&w);
        QTest::keyClick(w.tblSchedule, Qt::Key_Escape);
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(frmSchedule, nullptr);
        ShowSchedule(nullptr, Worked);
        QVERIFY(!frmSchedule->chkByYear->isChecked()); // nothing remembered
        QCOMPARE(frmSchedule->Model->rowCount(), 360);
    }

    void aLoanItsPaymentsDoNotRepayIsSaidAndChangesNothing_data() {
        QTest::addColumn<std::optional<TLoan>>("loan");
        QTest::addColumn<bool>("windowOpen");
        QTest::newRow("no loan in the cell") << std::optional<TLoan>() << false;
        QTest::newRow("payment no more than the first interest")
            << std::optional<TLoan>(TLoan{100000, 12, 360, 1000}) << false;
        QTest::newRow("negative loan, window open")
            << std::optional<TLoan>(TLoan{-5000, 8.75, 360, 100}) << true;
        QTest::newRow("no payment, window open")
            << std::optional<TLoan>(TLoan{1000, 8.75, 360, 0}) << true;
    }
    void aLoanItsPaymentsDoNotRepayIsSaidAndChangesNothing() {
        QFETCH(std::optional<TLoan>, loan);
        QFETCH(bool, windowOpen);
        if (windowOpen)
            Open(RepaidEarly);
        DialogRecorder dialogs;
        ShowSchedule(nullptr, loan);
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(dialogs.Requests()[0].Title, QString("Quorvale Pro"));
        QCOMPARE(dialogs.Requests()[0].Text, QString(NoScheduleText));
        QCOMPARE(frmSchedule != nullptr, windowOpen);
        if (windowOpen)
            QCOMPARE(frmSchedule->Model->rowCount(), 3);
    }

    void everyControlIsReachedByTabAndNamed() {
        TfrmSchedule &w = Open(Worked);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_VERIFY(w.tblSchedule->hasFocus());
        QList<QWidget *> chain{w.tblSchedule};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget();
        }
        QCOMPARE(chain, (QList<QWidget *>{w.tblSchedule, w.chkByYear, w.btnCopy, w.btnSave,
                                          w.btnPrint, w.btnClose, w.tblSchedule}));
        QVERIFY(!w.tblSchedule->accessibleName().isEmpty());
        QTest::keyClick(w.tblSchedule, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(w.Model->rowCount(), 30);
    }

    void everyTextShowsInFullAndNothingOverlaps_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<bool>("byYear");
        QTest::newRow("every summary line") << Worked << false;
        QTest::newRow("by year") << Worked << true;
        QTest::newRow("great amounts") << TLoan{999999999.99, 18.5, 999, 15500000} << false;
    }
    void everyTextShowsInFullAndNothingOverlaps() {
        QFETCH(TLoan, loan);
        QFETCH(bool, byYear);
        TfrmSchedule &w = Open(loan, byYear);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList faults = LayoutFaults(&w);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        // every amount of the table shows in full in its column
        const QFontMetrics metrics(w.tblSchedule->font());
        for (int col = 1; col < w.Model->columnCount(); ++col)
            for (int row : {0, w.Model->rowCount() - 1})
                QVERIFY(metrics.horizontalAdvance(w.Model->index(row, col).data().toString()) <
                        w.tblSchedule->columnWidth(col));
    }
};

QUORVALE_TEST_MAIN(TestSchedule)
#include "tst_Schedule.moc"
