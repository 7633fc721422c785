#include "printing/Qrschedule.h"

#include "platform/SysUtils.h"
#include "printing/Quickrep.h"
#include "tests/support/PdfPrinter.h"
#include "tests/support/TestMain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(TLoan)
Q_DECLARE_METATYPE(TLoanPlan)

class TestQrschedule : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }

    // Printed to a PDF file and read back page by page: the summary on the first page only,
    // the column heads and "Page n of m" on every page, and every row once, in order.
    void thePagesReadBackFromThePdf_data() {
        QTest::addColumn<TLoan>("loan");
        QTest::addColumn<TLoanPlan>("plan");
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        const TLoan worked{100000, 8.75, 360, 786.70};
        QTest::newRow("360 months") << worked << TLoanPlan{} << false << 360 << 5 << 8;
        QTest::newRow("30 years") << worked << TLoanPlan{} << true << 30 << 1 << 1;
        QTest::newRow("999 months")
            << TLoan{250000, 6, 999, 1258.20} << TLoanPlan{} << false << 999 << 14 << 20;
        TLoanPlan plan; // eight columns, a summary of fifteen lines
        plan.FirstPayment = std::chrono::year(2025) / 1 / 31;
        plan.MonthlyExtra = 10000;
        plan.Fees = 200000;
        QTest::newRow("dates and extras") << worked << plan << false << 238 << 4 << 6;
    }
    void thePagesReadBackFromThePdf() {
        QFETCH(TLoan, loan);
        QFETCH(TLoanPlan, plan);
        QFETCH(bool, byYear);
        QFETCH(int, rows);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        const TScheduleResult schedule = MakeSchedule(loan, plan);
        QVERIFY(schedule);
        const QString file = FDir.filePath(QTest::currentDataTag()) + ".pdf";
        {
            PdfPrinter pdf(file);
            TQRSchedule report("Quorvale Pro, 1.6.12");
            report.SetSchedule(*schedule, byYear ? ScheduleByYear(*schedule) : schedule->Months,
                               byYear);
            QRPrinter().OnPreview = [](QObject *) {
                QRPrinter().Print();
            };
            report.Rep->Preview();
            QRPrinter().OnPreview = nullptr;
        }
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", file, "-"});
        QVERIFY(pdftotext.waitForFinished());
        QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f');
        if (pages.last().trimmed().isEmpty())
            pages.removeLast();
        const int count = int(pages.size());
        QVERIFY2(count >= minPages && count <= maxPages, qPrintable(QString::number(count)));
        const QRegularExpression heads(
            R"(No\.\s+(Date\s+)?Payment\s+Principal\s+Interest\s+(Extra\s+)?Balance\s+Total Interest)");
        const QRegularExpression row(R"(^\s*(\d+)\s+(\d+/\d+/\d{4}\s+)?\$[\d,]+\.\d\d\s)",
                                     QRegularExpression::MultilineOption);
        QList<int> numbers;
        for (int n = 1; n <= count; ++n) {
            const QString &page = pages[n - 1];
            QCOMPARE(page.count(QStringLiteral("Page %1 of %2").arg(n).arg(count)), 1);
            QCOMPARE(page.count(QRegularExpression(R"(Page \d+ of)")), 1);
            QCOMPARE(page.count(heads), 1);
            QCOMPARE(page.contains("Loan amount:"), n == 1);
            QCOMPARE(page.contains("APR:"), n == 1 && plan != TLoanPlan{});
            QCOMPARE(page.contains(byYear ? "Schedule by Year" : "Schedule"), n == 1);
            // the rows lie between the heads and the foot
            const qsizetype top = page.indexOf(heads), foot = page.indexOf("Page ");
            for (auto m = row.globalMatch(page); m.hasNext();) {
                const auto match = m.next();
                QVERIFY(match.capturedStart() > top && match.capturedStart() < foot);
                numbers << match.captured(1).toInt();
            }
        }
        QCOMPARE(numbers.size(), rows);
        for (int i = 0; i < rows; ++i)
            QCOMPARE(numbers[i], i + 1);
        QVERIFY(pages.last().contains(QRegularExpression(R"(\$0\.00\s+\$[\d,]+\.\d\d\s*\n)")));
    }
};

QUORVALE_TEST_MAIN(TestQrschedule)
#include "tst_Qrschedule.moc"
