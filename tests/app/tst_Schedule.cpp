#include "app/Schedule.h"

#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
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

// The window as ShowSchedule opens it, for `loan`.
TfrmSchedule &Open(const TLoan &loan, bool byYear = false, bool shown = false) {
    ShowSchedule(nullptr, loan);
    frmSchedule->chkByYear->setChecked(byYear);
    if (shown) {
        frmSchedule->show();
        frmSchedule->activateWindow();
    }
    return *frmSchedule;
}

QStringList RowTexts(const TfrmSchedule &w, int row) {
    QStringList texts;
    for (int col = 0; col < w.Model->columnCount(); ++col)
        texts << w.Model->index(row, col).data().toString();
    return texts;
}

// Compares the texts that are not empty in `expected`.
bool Matches(const QStringList &shown, const QStringList &expected) {
    for (int i = 0; i < expected.size(); ++i)
        if (!expected[i].isEmpty() && shown.value(i) != expected[i])
            return false;
    return true;
}

} // namespace

class TestSchedule : public QObject {
    Q_OBJECT

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }
    void cleanup() { delete frmSchedule; }

    void theWindowShowsTheLoanByMonthOrByYear_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts");   // an empty text is not compared
        QTest::addColumn<QStringList>("summary"); // none: not compared
        QTest::newRow("month 1")
            << Worked << false << 360 << 0
            << QStringList{"1", "$786.70", "$57.53", "$729.17", "$99,942.47", "$729.17"}
            << QStringList{"Loan amount: $100,000.00",   "Annual rate: 8.750%",
                           "Term: 360 months",           "Monthly payment: $786.70",
                           "Last payment: $787.67",      "Total of payments: $283,212.97",
                           "Total interest: $183,212.97"};
        QTest::newRow("month 360")
            << Worked << false << 360 << 359
            << QStringList{"360", "$787.67", "", "", "$0.00", "$183,212.97"} << QStringList{};
        QTest::newRow("year 30") << Worked << true << 30 << 29
                                 << QStringList{"30", "", "", "", "$0.00", "$183,212.97"}
                                 << QStringList{};
        QTest::newRow("no interest, year 1")
            << NoInterest << true << 1 << 0
            << QStringList{"1", "$1,200.00", "$1,200.00", "$0.00", "$0.00", "$0.00"}
            << QStringList{"Loan amount: $1,200.00",
                           "Annual rate: 0.000%",
                           "Term: 12 months",
                           "Monthly payment: $100.00",
                           "Total of payments: $1,200.00",
                           "Total interest: $0.00"};
        QTest::newRow("repaid early, by year")
            << RepaidEarly << true << 1 << 0
            << QStringList{"1", "$1,015.25", "$1,000.00", "$15.25", "$0.00", "$15.25"}
            << QStringList{"Loan amount: $1,000.00",        "Annual rate: 12.000%",
                           "Term: 12 months (repaid in 3)", "Monthly payment: $500.00",
                           "Last payment: $15.25",          "Total of payments: $1,015.25",
                           "Total interest: $15.25"};
    }
    void theWindowShowsTheLoanByMonthOrByYear() {
        QFETCH(TLoan, loan);
        QFETCH(bool, byYear);
        QFETCH(int, rows);
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, summary);
        TfrmSchedule &w = Open(RepaidEarly); // what it showed before is replaced
        ShowSchedule(nullptr, loan);
        QCOMPARE(frmSchedule, &w);
        const QString yearEndBalance = RowTexts(w, std::min(11, w.Model->rowCount() - 1))[4];
        w.chkByYear->setChecked(byYear);
        QCOMPARE(w.Model->rowCount(), rows);
        QVERIFY2(Matches(RowTexts(w, row), texts), qPrintable(RowTexts(w, row).join(' ')));
        if (byYear) // a year's balance is its last month's
            QCOMPARE(RowTexts(w, 0)[4], yearEndBalance);
        QStringList lines;
        for (int i = 0; i < w.lblCaptions.size(); ++i)
            if (w.lblCaptions[i]->isVisibleTo(&w))
                lines << w.lblCaptions[i]->text() + " " + w.lblValues[i]->text();
        if (!summary.isEmpty())
            QCOMPARE(lines, summary);
        QCOMPARE(w.lblValues[0]->accessibleName() + ":", w.lblCaptions[0]->text());
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
        TfrmSchedule &w = Open(Worked, false, true);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QGuiApplication::clipboard()->clear();
        if (selected.isEmpty())
            w.btnCopy->click();
        w.tblSchedule->clearSelection();
        for (QPoint p : selected)
            w.tblSchedule->selectionModel()->select(w.Model->index(p.y(), p.x()),
                                                    QItemSelectionModel::Select);
        if (!selected.isEmpty())
            QTest::keyClick(w.tblSchedule, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        const QStringList copied = data->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), lineCount);
        QCOMPARE(copied.mid(0, lines.size()), lines);
        QCOMPARE(data->html().count("<tr>"), lineCount); // the same cells as an HTML table
        QVERIFY(data->html().contains("<td>" + lines.last().section('\t', -1) + "</td>"));
    }

    void saveWritesTheShownRowsAsCsv_data() {
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("target");   // in a folder holding "plain" and "old.csv"
        QTest::addColumn<int>("records");      // -1: no file
        QTest::addColumn<QStringList>("last"); // an empty field is not compared
        QTest::newRow("months, replacing a file")
            << false << int(mrOk) << "old.csv" << 361
            << QStringList{"360", "787.67", "", "", "0.00", "183212.97"};
        QTest::newRow("years, a typed name gets its extension")
            << true << int(mrOk) << "years" << 31
            << QStringList{"30", "", "", "", "0.00", "183212.97"};
        QTest::newRow("cancelled") << false << int(mrCancel) << "none.csv" << -1 << QStringList{};
        QTest::newRow("a folder that is a file: said, nothing written")
            << false << int(mrOk) << "plain/none.csv" << -1 << QStringList{};
    }
    void saveWritesTheShownRowsAsCsv() {
        QFETCH(bool, byYear);
        QFETCH(int, answer);
        QFETCH(QString, target);
        QFETCH(int, records);
        QFETCH(QStringList, last);
        QTemporaryDir dir;
        for (const auto &[name, size] : {std::pair{"plain", 0}, std::pair{"old.csv", 100000}}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size);
        }
        DialogRecorder dialogs;
        dialogs.Answer(answer);
        dialogs.OnRequest([&](const TDialogRequest &r) {
            if (r.Kind == TDialogRequest::SaveFile)
                r.FileName = dir.filePath(target);
        });
        Open(Worked, byYear).btnSave->click();
        const bool failed = target.startsWith("plain/");
        QCOMPARE(dialogs.Requests().size(), failed ? 2 : 1);
        if (failed)
            QVERIFY(dialogs.Requests()[1].Text.contains(
                QDir::toNativeSeparators(dir.filePath(target))));
        const QString written = target.contains('.') ? target : target + ".csv";
        QStringList expected{"old.csv", "plain"}; // and no temporary file left
        if (records >= 0 && !expected.contains(written))
            expected.prepend(written);
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
        if (records < 0)
            return;
        QFile file(dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.endsWith("\r\n"));
        const QStringList lines = text.chopped(2).split("\r\n");
        QCOMPARE(lines.size(), records);
        QCOMPARE(lines[0], QString("No.,Payment,Principal,Interest,Balance,Total Interest"));
        QVERIFY2(Matches(lines.last().split(','), last), qPrintable(lines.last()));
        // plain numbers, two decimals, and each payment is its principal and interest
        const QRegularExpression record(R"(^\d+(,-?\d+\.\d\d){5}$)");
        for (const QString &line : lines.mid(1)) {
            QVERIFY2(record.match(line).hasMatch(), qPrintable(line));
            const QStringList r = line.split(',');
            QCOMPARE(std::llround(r[1].toDouble() * 100),
                     std::llround(r[2].toDouble() * 100) + std::llround(r[3].toDouble() * 100));
        }
    }

    void aLoanWithoutScheduleSaysWhyAndChangesNothing_data() {
        QTest::addColumn<std::optional<TLoan>>("loan");
        QTest::addColumn<bool>("windowOpen");
        QTest::addColumn<QString>("text");
        QTest::newRow("no loan in the cell")
            << std::optional<TLoan>() << false << "No schedule: this cell holds no loan.";
        QTest::newRow("payment no more than the first interest")
            << std::optional<TLoan>(TLoan{100000, 12, 360, 1000}) << false
            << NoScheduleText(TNoSchedule::ShortPayment);
        QTest::newRow("negative loan, window open")
            << std::optional<TLoan>(TLoan{-5000, 8.75, 360, 100}) << true
            << NoScheduleText(TNoSchedule::NoLoan);
        QTest::newRow("no payment, window open")
            << std::optional<TLoan>(TLoan{1000, 8.75, 360, 0}) << true
            << NoScheduleText(TNoSchedule::ShortPayment);
        QTest::newRow("a billion at no interest over 1.27E6 months")
            << std::optional<TLoan>(TLoan{1e9, 0, 1270000, 787.4}) << false
            << NoScheduleText(TNoSchedule::TooLong);
    }
    void aLoanWithoutScheduleSaysWhyAndChangesNothing() {
        QFETCH(std::optional<TLoan>, loan);
        QFETCH(bool, windowOpen);
        QFETCH(QString, text);
        if (windowOpen)
            Open(RepaidEarly);
        DialogRecorder dialogs;
        ShowSchedule(nullptr, loan);
        QCOMPARE(dialogs.Texts(), QStringList{text});
        QCOMPARE(frmSchedule != nullptr, windowOpen);
        if (windowOpen)
            QCOMPARE(frmSchedule->Model->rowCount(), 3);
    }

    void everyControlIsReachedByKeysAndEscapeCloses() {
        TfrmSchedule &w = Open(Worked, false, true);
        QTRY_VERIFY(w.tblSchedule->hasFocus());
        QList<QWidget *> chain{w.tblSchedule};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget();
        }
        QCOMPARE(chain, (QList<QWidget *>{w.tblSchedule, w.chkByYear, w.btnCopy, w.btnSave,
                                          w.btnPrint, w.btnCompare, w.btnClose, w.tblSchedule}));
        QVERIFY(!w.tblSchedule->accessibleName().isEmpty());
        QTest::keyClick(w.tblSchedule, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(w.Model->rowCount(), 30);
        ShowSchedule(nullptr, NoInterest);
        QCOMPARE(w.Model->rowCount(), 1); // still by year, now of the new loan
        QTest::keyClick(w.tblSchedule, Qt::Key_Escape);
        QTRY_COMPARE(frmSchedule, nullptr);
        ShowSchedule(nullptr, Worked); // nothing remembered
        QCOMPARE(frmSchedule->Model->rowCount(), 360);
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
        TfrmSchedule &w = Open(loan, byYear, true);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList faults = LayoutFaults(&w);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        const QFontMetrics metrics(w.tblSchedule->font()); // every amount shows in full
        for (int col = 1; col < w.Model->columnCount(); ++col)
            for (int row : {0, w.Model->rowCount() - 1})
                QVERIFY(metrics.horizontalAdvance(w.Model->index(row, col).data().toString()) <
                        w.tblSchedule->columnWidth(col));
    }
};

QUORVALE_TEST_MAIN(TestSchedule)
#include "tst_Schedule.moc"
