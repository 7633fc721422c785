#include "app/Schedule.h"

#include "app/Main.h"
#include "platform/SysUtils.h"
#include "printing/LoanChart.h"
#include "tests/support/Desktop.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/Row.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>

Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(std::optional<TLoan>)
Q_DECLARE_METATYPE(TLoanPlan)

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

// The summary's lines as shown.
QStringList Summary(const TfrmSchedule &w) {
    QStringList lines;
    for (int i = 0; i < w.lblCaptions.size(); ++i)
        if (w.lblCaptions[i]->isVisibleTo(&w))
            lines << w.lblCaptions[i]->text() + " " + w.lblValues[i]->text();
    return lines;
}

// Every option's stored text, "Key=text".
QStringList OptionTexts(const TLoanPlan &plan) {
    QStringList texts;
    for (const TPlanOptionInfo &info : PlanOptions())
        texts << QString(info.Key) + "=" + PlanOptionText(plan, info.Option);
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
    void cleanup() {
        delete frmSchedule;
        SchedulePlan = {};
        ScheduleSaveFolder.clear();
    }

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
        QWidget *owner = nullptr; // the window active as the message comes
        dialogs.OnRequest([&](const TDialogRequest &r) {
            if (r.Kind == TDialogRequest::SaveFile)
                r.FileName = dir.filePath(target);
            else
                owner = QApplication::activeWindow();
        });
        TfrmSchedule &w = Open(Worked, byYear);
        w.btnSave->click();
        const bool failed = target.startsWith("plain/");
        QCOMPARE(dialogs.Requests().size(), failed ? 2 : 1);
        if (failed) {
            QVERIFY(dialogs.Requests()[1].Text.contains(
                QDir::toNativeSeparators(dir.filePath(target))));
            QCOMPARE(owner, &w); // the message is the schedule window's
        }
        // the next Save starts in the folder chosen
        if (records >= 0) {
            dialogs.Clear();
            dialogs.Answer(mrCancel);
            w.btnSave->click();
            QCOMPARE(dialogs.Requests()[0].Directory,
                     QFileInfo(dir.filePath(target)).absolutePath());
        }
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
        Row("no loan in the cell", std::optional<TLoan>(), false,
            "No schedule: this cell holds no loan.");
        QTest::newRow("payment no more than the first interest")
            << std::optional<TLoan>(TLoan{100000, 12, 360, 1000}) << false
            << NoScheduleText(TNoSchedule::ShortPayment);
        QTest::newRow("negative loan, window open")
            << std::optional<TLoan>(TLoan{-5000, 8.75, 360, 100}) << true
            << NoScheduleText(TNoSchedule::NoLoan);
        QTest::newRow("no payment, window open")
            << std::optional<TLoan>(TLoan{1000, 8.75, 360, 0}) << true
            << NoScheduleText(TNoSchedule::ShortPayment);
        Row("a billion at no interest over 1.27E6 months",
            std::optional<TLoan>(TLoan{1e9, 0, 1270000, 787.4}), false,
            NoScheduleText(TNoSchedule::TooLong));
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

    // Typed into its box, an option changes the schedule, its summary and its picture at once;
    // a bad one is refused there with the reason and changes nothing, and the box shows the
    // value in force again once left.
    void everyOptionRecomputesAtOnceOrIsRefusedWhereTyped_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("line");   // a summary line then
        QTest::addColumn<QString>("reason"); // in the status line when refused
        Row("100.00 a month", "edtMonthlyExtra", "100", "Total interest: $110,882.68", "");
        Row("1,000.00 each year", "edtYearlyExtra", "1000.00", "Total interest: $120,409.72", "");
        Row("60 months interest only", "edtInterestOnly", "60", "Total interest: $190,396.29", "");
        Row("2,000.00 fees", "edtFees", "2000", "APRC: 9.353%", "");
        Row("2 points", "edtPoints", "2", "APR: 8.974%", "");
        Row("interest only for the whole term", "edtInterestOnly", "360",
            "Total interest: $183,212.97", "beyond the term");
        Row("a day that does not exist", "edtLoanDate", "2026-02-30", "Total interest: $183,212.97",
            "not a day of the calendar");
        Row("a negative extra", "edtYearlyExtra", "-1000", "Total interest: $183,212.97",
            "negative");
    }
    void everyOptionRecomputesAtOnceOrIsRefusedWhereTyped() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, line);
        QFETCH(QString, reason);
        TfrmSchedule &w = Open(Worked, false, true);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *edit = w.findChild<QLineEdit *>(box);
        QVERIFY(edit && edit->isVisible());
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QVERIFY(!w.lblStatus->text().isEmpty()); // its hint
        const QString picture = w.Chart->accessibleDescription();
        QCOMPARE(w.Chart->MonthTip(360).split('\n').mid(0, 2),
                 (QStringList{"No. 360", "Payment $787.67"})); // pointing at the last month
        QTest::keyClicks(edit, typed); // "3", "36" on the way to "360" are taken, then undone
        QVERIFY2(Summary(w).contains(line), qPrintable(Summary(w).join("; ")));
        QCOMPARE(w.Chart->accessibleDescription() == picture, !reason.isEmpty());
        if (reason.isEmpty()) {
            QVERIFY(SchedulePlan != TLoanPlan{});
            return;
        }
        QVERIFY2(w.lblStatus->text().contains(reason), qPrintable(w.lblStatus->text()));
        QCOMPARE(edit->text(), typed);
        QVERIFY(SchedulePlan == TLoanPlan{});
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), PlanOptionText(TLoanPlan{}, PlanOptions()[0].Option));
    }

    // The one-off payments and the rate changes: Insert adds a row, F2 edits a cell, Delete
    // removes the row; a cell typed wrong is refused with the reason.
    void theListsAreEditedByTheKeyboard() {
        TfrmSchedule &w = Open(Worked, false, true);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto edit = [&](QTableWidget *table, int col, const QString &text) {
            table->setFocus();
            QTRY_VERIFY(table->hasFocus());
            table->setCurrentCell(table->rowCount() - 1, col);
            QTest::keyClick(table, Qt::Key_F2);
            QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
            QWidget *editor = QApplication::focusWidget();
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(editor, text);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(table->hasFocus()); // the editor commits and closes
        };
        auto interest = [&] {
            return Summary(w).filter("Total interest:").value(0);
        };
        w.tblLumps->setFocus();
        QTRY_VERIFY(w.tblLumps->hasFocus());
        QTest::keyClick(w.tblLumps, Qt::Key_Insert); // the new row's month is being edited
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(QApplication::focusWidget() &&
                    !qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        QCOMPARE(w.tblLumps->rowCount(), 1);
        edit(w.tblLumps, 1, "10000");
        QCOMPARE(interest(), QString("Total interest: $109,744.82"));
        edit(w.tblLumps, 0, "361");
        QVERIFY2(w.lblStatus->text().contains("beyond the term"), qPrintable(w.lblStatus->text()));
        QCOMPARE(w.tblLumps->item(0, 0)->text(), QString("12"));
        QCOMPARE(interest(), QString("Total interest: $109,744.82"));
        w.cbxEffect->setFocus();
        QTest::keyClick(w.cbxEffect, Qt::Key_Down);
        QCOMPARE(interest(), QString("Total interest: $165,637.67"));
        QTest::keyClick(w.cbxEffect, Qt::Key_Up);
        w.tblLumps->setFocus();
        QTest::keyClick(w.tblLumps, Qt::Key_Delete);
        QCOMPARE(w.tblLumps->rowCount(), 0);
        QCOMPARE(interest(), QString("Total interest: $183,212.97"));

        w.tblRateChanges->setFocus();
        QTest::keyClick(w.tblRateChanges, Qt::Key_Insert);
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(QApplication::focusWidget() &&
                    !qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        edit(w.tblRateChanges, 1, "6.5");
        edit(w.tblRateChanges, 0, "61");
        QCOMPARE(interest(), QString("Total interest: $141,031.17"));
        QCOMPARE(PlanOptionText(SchedulePlan, TPlanOption::RateChanges), QString("61:6.5"));
    }

    // Kept in the saved values file when the program closes and read at its next start; a
    // stored value that is bad gives that option's default alone, without a message.
    void theOptionsComeBackAtTheNextStart_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("read"); // each compared
        Row("nothing stored", QByteArray(),
            QStringList{"Points=", "MonthlyFrom=1", "YearlyMonth=12", "Lumps=", "Effect=shorter"});
        Row("each kept",
            QByteArray("Points=1.5\nLoanDate=2026-01-15\nFirstPayment=2026-02-01\n"
                       "MonthlyExtra=100.00\nMonthlyFrom=13\nMonthlyTo=24\n"
                       "Lumps=12:10000.00 24:5.00\nRateChanges=61:6.5\nEffect=lower\n"),
            QStringList{"Points=1.5", "LoanDate=2026-01-15", "FirstPayment=2026-02-01",
                        "MonthlyExtra=100.00", "MonthlyFrom=13", "MonthlyTo=24",
                        "Lumps=12:10000.00 24:5.00", "RateChanges=61:6.5", "Effect=lower"});
        Row("bad values give way alone",
            QByteArray("Points=abc\nLoanDate=2026-02-30\nInterestOnly=-3\n"
                       "MonthlyExtra=100\nLumps=12:5 x\nRateChanges=61:6.5\n"
                       "YearlyMonth=13\nEffect=sideways\n"),
            QStringList{"Points=", "LoanDate=", "InterestOnly=", "MonthlyExtra=100.00",
                        "Lumps=", "RateChanges=61:6.5", "YearlyMonth=12", "Effect=shorter"});
        Row("an extra that ends before it begins",
            QByteArray("MonthlyFrom=24\nMonthlyTo=12\nFirstPayment=2026-01-01\n"
                       "LoanDate=2026-01-01\n"),
            QStringList{"MonthlyFrom=24", "MonthlyTo=", "LoanDate=2026-01-01", "FirstPayment="});
    }
    void theOptionsComeBackAtTheNextStart() {
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, read);
        QTemporaryDir folder;
        {
            QFile ini(folder.filePath("Vormex.Ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[LastValues]\nTerm=360\n[ScheduleOptions]\n" + stored);
        }
        DialogRecorder dialogs;
        TLoanPlan changed;
        {
            TfrmMain f(folder.path());
            for (const QString &text : read)
                QVERIFY2(OptionTexts(SchedulePlan).contains(text),
                         qPrintable(OptionTexts(SchedulePlan).join(' ')));
            // changed in the window, kept at the close
            TfrmSchedule &w = Open(Worked);
            for (const QString &text : read)
                if (const auto *box = w.findChild<QLineEdit *>("edt" + text.section('=', 0, 0)))
                    QCOMPARE(box->text(), text.section('=', 1));
            QLineEdit *box = w.edtOptions[TPlanOption::YearlyExtra];
            box->setFocus();
            QTest::keyClicks(box, "5");
            changed = SchedulePlan;
            QCOMPARE(changed.YearlyExtra, 500);
            f.DrawForThanks = [] {
                return 9;
            };
            f.close();
        }
        QCOMPARE(dialogs.Texts(), QStringList{});
        SchedulePlan = {};
        TfrmMain again(folder.path());
        QCOMPARE(OptionTexts(SchedulePlan), OptionTexts(changed));
    }

    void everyControlIsReachedByKeysAndEscapeCloses() {
        TfrmSchedule &w = Open(Worked, false, true);
        QTRY_VERIFY(w.tblSchedule->hasFocus());
        // Tab goes once round every control and back to the table.
        QList<QWidget *> chain;
        do {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget();
        } while (chain.last() != w.tblSchedule && chain.size() < 40);
        QList<QWidget *> controls = w.findChildren<QWidget *>();
        controls.removeIf(
            [](QWidget *c) { return c->focusPolicy() & Qt::TabFocus ? !c->isVisible() : true; });
        QCOMPARE(QSet<QWidget *>(chain.begin(), chain.end()),
                 QSet<QWidget *>(controls.begin(), controls.end()));
        QCOMPARE(chain.size(), controls.size());
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
        QTest::addColumn<TLoanPlan>("plan");
        QTest::newRow("every summary line") << Worked << false << TLoanPlan{};
        QTest::newRow("by year") << Worked << true << TLoanPlan{};
        Row("great amounts", TLoan{999999999.99, 18.5, 999, 15500000}, false, TLoanPlan{});
        // 30 changes of payment: the summary scrolls and leaves the room to the table
        TLoanPlan lowered;
        lowered.YearlyExtra = 10000;
        lowered.Effect = TExtraEffect::LowerPayment;
        QTest::newRow("a payment lowered every year") << Worked << false << lowered;
    }
    void everyTextShowsInFullAndNothingOverlaps() {
        QFETCH(TLoan, loan);
        QFETCH(bool, byYear);
        QFETCH(TLoanPlan, plan);
        SchedulePlan = plan;
        TfrmSchedule &w = Open(loan, byYear, true);
        QVERIFY(w.scrSummary->height() < w.tblSchedule->height());
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

QUORVALE_DESKTOP_TEST_MAIN(TestSchedule)
#include "tst_Schedule.moc"
